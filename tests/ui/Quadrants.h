#pragma once

// A picture of four plain quadrants, red, green, white and blue clockwise from its top left:
// any reduction keeps them apart, and every turn and mirror of it puts another one at its top
// left or another order around it.

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPoint>
#include <QStringList>

#include <cstdlib>
#include <utility>

inline const std::pair<const char*, QColor> kQuadrants[] = {
    {"red", Qt::red}, {"green", Qt::green}, {"white", Qt::white}, {"blue", Qt::blue}};

inline QImage Quadrants(const QSize& size) {
    QImage picture(size, QImage::Format_RGB32);
    QPainter painter(&picture);
    const int w = size.width() / 2, h = size.height() / 2;
    const QPoint corners[] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    for (int i = 0; i < 4; ++i)
        painter.fillRect(QRect(corners[i], QSize(w, h)), kQuadrants[i].second);
    return picture;
}

// The names of the quadrants' colours near which the image's pixels at the points lie, or the
// colour seen, joined by blanks.
inline QString Colours(const QImage& image, const QList<QPoint>& points) {
    QStringList names;
    for (const QPoint& point : points) {
        const QColor c = image.pixelColor(point);
        names << c.name();
        for (const auto& [name, q] : kQuadrants)
            if (std::abs(c.red() - q.red()) < 40 && std::abs(c.green() - q.green()) < 40 &&
                std::abs(c.blue() - q.blue()) < 40)
                names.last() = QLatin1String(name);
    }
    return names.join(' ');
}

// The middles of a rectangle's quarters, clockwise from its top left.
inline QList<QPoint> QuarterMiddles(const QRect& area) {
    const int x = area.width() / 4, y = area.height() / 4;
    const QPoint at = area.topLeft();
    return {at + QPoint(x, y), at + QPoint(3 * x, y), at + QPoint(3 * x, 3 * y),
            at + QPoint(x, 3 * y)};
}
