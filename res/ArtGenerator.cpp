// Draws the program's pictures and writes them as PNG files into the directory named on the
// command line. The build runs it, so the pictures live in the source tree as code that can be
// reviewed and changed rather than as binary files.

#include "ArtFont.h"
#include "base/AppIdentity.h"

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <array>
#include <cstdio>

namespace {

QImage BlankImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// ---- Program icon: a green board with the pads of one part and the crosshair that points
// the user at the spot where it goes. Drawn on a 32-unit grid and scaled to the wanted size.

void DrawBoard(QPainter& painter) {
    painter.setPen(QPen(QColor(10, 70, 25), 1.5));
    painter.setBrush(QColor(30, 140, 55));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 3, 3);
}

// The two pads of a chip part, left and right of the spot the crosshair marks.
void DrawPads(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(235, 190, 60));
    painter.drawRect(QRectF(4, 10, 7, 12));
    painter.drawRect(QRectF(21, 10, 7, 12));
}

void DrawCrosshair(QPainter& painter) {
    painter.setPen(QPen(QColor(230, 20, 20), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(16, 16), 6, 6);
    painter.drawLine(QPointF(16, 3), QPointF(16, 13));
    painter.drawLine(QPointF(16, 19), QPointF(16, 29));
    painter.drawLine(QPointF(3, 16), QPointF(13, 16));
    painter.drawLine(QPointF(19, 16), QPointF(29, 16));
}

QImage IconPicture(int size) {
    QImage image = BlankImage(size, size);
    QPainter painter(&image);
    // Smoothing turns the few pixels of the small icon into a blur; hard edges stay readable.
    painter.setRenderHint(QPainter::Antialiasing, size >= 32);
    painter.scale(size / 32.0, size / 32.0);
    DrawBoard(painter);
    DrawPads(painter);
    DrawCrosshair(painter);
    return image;
}

// ---- The maker's logo: the name in white capitals on a blue plate, underlined in amber.

// The largest heavy font no bigger than maxPixelSize whose rendering of text fits the width.
QFont FittingFont(const QString& text, int maxPixelSize, int width) {
    int pixelSize = maxPixelSize;
    QFont font = ArtFont(pixelSize, QFont::Black);
    while (pixelSize > 6 && QFontMetrics(font).horizontalAdvance(text) > width) {
        font.setPixelSize(--pixelSize);
    }
    return font;
}

QImage LogoPicture() {
    const QString name = QString::fromLatin1(kavelto::kMakerName);
    QImage image = BlankImage(85, 28);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 45, 120));
    painter.drawRoundedRect(QRectF(0, 0, 85, 28), 4, 4);
    painter.setBrush(QColor(245, 170, 30));
    painter.drawRect(QRectF(6, 22, 73, 2));
    painter.setPen(Qt::white);
    painter.setFont(FittingFont(name, 18, 77));
    painter.drawText(QRectF(0, 1, 85, 21), Qt::AlignCenter, name);
    return image;
}

bool Save(const QImage& image, const QDir& directory, const char* name) {
    const QString path = directory.filePath(QString::fromLatin1(name));
    if (image.save(path, "PNG")) {
        return true;
    }
    std::fprintf(stderr, "kavelto_artgen: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kavelto_artgen OUTPUT_DIRECTORY\n");
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    const bool saved = Save(IconPicture(32), directory, "icon32.png") &&
                       Save(IconPicture(16), directory, "icon16.png") &&
                       Save(LogoPicture(), directory, "logo.png");
    return saved ? 0 : 1;
}
