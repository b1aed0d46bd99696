// Draws the program's pictures and writes them as PNG files into the directory named on the
// command line. The build runs it, so the pictures live in the source tree as code that can be
// reviewed and changed rather than as binary files.

#include "ArtFont.h"
#include "base/AppIdentity.h"

#include <QColor>
#include <QDir>
#include <QFile>
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
// the user at the spot where it goes. The design is one list of shapes on a 32-unit grid, drawn
// both into the PNG files of each size and into the scalable SVG file, so the two never part.

struct IconShape {
    enum class Kind { RoundedRect, Rect, Circle, Line };
    Kind kind;
    QRectF box;    // a line runs from the box's top left to its bottom right
    QColor fill;   // invalid: not filled
    QColor stroke; // invalid: no outline
    double strokeWidth;
    double cornerRadius;
};

constexpr int kIconGrid = 32;

// The board, the two pads of a chip part left and right of the spot, then the crosshair.
const std::array<IconShape, 8> kIconShapes{{
    {IconShape::Kind::RoundedRect, QRectF(1.5, 1.5, 29, 29), QColor(30, 140, 55),
     QColor(10, 70, 25), 1.5, 3},
    {IconShape::Kind::Rect, QRectF(4, 10, 7, 12), QColor(235, 190, 60), QColor(), 0, 0},
    {IconShape::Kind::Rect, QRectF(21, 10, 7, 12), QColor(235, 190, 60), QColor(), 0, 0},
    {IconShape::Kind::Circle, QRectF(10, 10, 12, 12), QColor(), QColor(230, 20, 20), 2, 0},
    {IconShape::Kind::Line, QRectF(QPointF(16, 3), QPointF(16, 13)), QColor(), QColor(230, 20, 20),
     2, 0},
    {IconShape::Kind::Line, QRectF(QPointF(16, 19), QPointF(16, 29)), QColor(), QColor(230, 20, 20),
     2, 0},
    {IconShape::Kind::Line, QRectF(QPointF(3, 16), QPointF(13, 16)), QColor(), QColor(230, 20, 20),
     2, 0},
    {IconShape::Kind::Line, QRectF(QPointF(19, 16), QPointF(29, 16)), QColor(), QColor(230, 20, 20),
     2, 0},
}};

void PaintShape(QPainter& painter, const IconShape& shape) {
    painter.setPen(shape.stroke.isValid() ? QPen(shape.stroke, shape.strokeWidth)
                                          : QPen(Qt::NoPen));
    painter.setBrush(shape.fill.isValid() ? QBrush(shape.fill) : QBrush(Qt::NoBrush));
    switch (shape.kind) {
    case IconShape::Kind::RoundedRect:
        painter.drawRoundedRect(shape.box, shape.cornerRadius, shape.cornerRadius);
        break;
    case IconShape::Kind::Rect:
        painter.drawRect(shape.box);
        break;
    case IconShape::Kind::Circle:
        painter.drawEllipse(shape.box);
        break;
    case IconShape::Kind::Line:
        painter.drawLine(shape.box.topLeft(), shape.box.bottomRight());
        break;
    }
}

QImage IconPicture(int size) {
    QImage image = BlankImage(size, size);
    QPainter painter(&image);
    // Smoothing turns the few pixels of the small icon into a blur; hard edges stay readable.
    painter.setRenderHint(QPainter::Antialiasing, size >= 32);
    painter.scale(size / double(kIconGrid), size / double(kIconGrid));
    for (const IconShape& shape : kIconShapes)
        PaintShape(painter, shape);
    return image;
}

QString SvgNumber(double value) {
    return QString::number(value);
}

QString SvgPaint(const QColor& color) {
    return color.isValid() ? color.name() : QStringLiteral("none");
}

// The element of one shape; lines and outlines end square, as the painter draws them.
QString SvgElement(const IconShape& shape) {
    const QRectF& box = shape.box;
    QString geometry;
    switch (shape.kind) {
    case IconShape::Kind::RoundedRect:
    case IconShape::Kind::Rect:
        geometry = QStringLiteral("rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"")
                       .arg(SvgNumber(box.x()), SvgNumber(box.y()), SvgNumber(box.width()),
                            SvgNumber(box.height()), SvgNumber(shape.cornerRadius));
        break;
    case IconShape::Kind::Circle:
        geometry = QStringLiteral("circle cx=\"%1\" cy=\"%2\" r=\"%3\"")
                       .arg(SvgNumber(box.center().x()), SvgNumber(box.center().y()),
                            SvgNumber(box.width() / 2));
        break;
    case IconShape::Kind::Line:
        geometry = QStringLiteral("line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\"")
                       .arg(SvgNumber(box.left()), SvgNumber(box.top()), SvgNumber(box.right()),
                            SvgNumber(box.bottom()));
        break;
    }
    return QStringLiteral("  <%1 fill=\"%2\" stroke=\"%3\" stroke-width=\"%4\" "
                          "stroke-linecap=\"square\"/>\n")
        .arg(geometry, SvgPaint(shape.fill), SvgPaint(shape.stroke), SvgNumber(shape.strokeWidth));
}

QByteArray IconSvg() {
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" "
                                 "height=\"%1\" viewBox=\"0 0 %1 %1\">\n")
                      .arg(kIconGrid);
    for (const IconShape& shape : kIconShapes)
        svg += SvgElement(shape);
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
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

bool Refuse(const QString& path) {
    std::fprintf(stderr, "kavelto_artgen: cannot write %s\n", qPrintable(path));
    return false;
}

bool Save(const QImage& image, const QDir& directory, const QString& name) {
    const QString path = directory.filePath(name);
    return image.save(path, "PNG") || Refuse(path);
}

bool Save(const QByteArray& text, const QDir& directory, const QString& name) {
    const QString path = directory.filePath(name);
    QFile file(path);
    return (file.open(QIODevice::WriteOnly) && file.write(text) == text.size()) || Refuse(path);
}

// The icon at every size the desktop's icon theme asks for, named iconSIZE.png.
bool SaveIcons(const QDir& directory) {
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        if (!Save(IconPicture(size), directory, QStringLiteral("icon%1.png").arg(size)))
            return false;
    }
    return Save(IconSvg(), directory, QStringLiteral("icon.svg"));
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kavelto_artgen OUTPUT_DIRECTORY\n");
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    const bool saved =
        SaveIcons(directory) && Save(LogoPicture(), directory, QStringLiteral("logo.png"));
    return saved ? 0 : 1;
}
