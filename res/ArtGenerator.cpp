// Draws the program's pictures and writes them as PNG files into the directory named on the
// command line. The build runs it, so the pictures live in the source tree as code that can be
// reviewed and changed rather than as binary files.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <array>
#include <cstdio>

namespace {

const QColor kLegendInk(0, 0, 0);
const QColor kActionInk(204, 0, 0);

QFont ArtFont(int pixelSize, QFont::Weight weight) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

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
    const QString name = QStringLiteral("QUANDEL");
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

// ---- The shortcut picture: a numeric keypad, each key with its usual legend in black and,
// where the main window gives the key a job, that job in red.

enum class Arrow { None, Up, Down, Left, Right };

struct KeyCap {
    int column;
    int row;
    int columns;
    int rows;
    const char* legend;
    const char* secondLegend;
    Arrow arrow;
    const char* action;
};

const std::array<KeyCap, 17> kKeypad{{
    {0, 0, 1, 1, "Num Lock", "", Arrow::None, ""},
    {1, 0, 1, 1, "/", "", Arrow::None, "Rot Left"},
    {2, 0, 1, 1, "*", "", Arrow::None, "Rot Right"},
    {3, 0, 1, 1, "\u2212", "", Arrow::None, "Zoom Out"},
    {0, 1, 1, 1, "7", "Home", Arrow::None, "First Part"},
    {1, 1, 1, 1, "8", "", Arrow::Up, "Prev Part"},
    {2, 1, 1, 1, "9", "PgUp", Arrow::None, "Prev Page"},
    {3, 1, 1, 2, "+", "", Arrow::None, "Zoom In"},
    {0, 2, 1, 1, "4", "", Arrow::Left, ""},
    {1, 2, 1, 1, "5", "", Arrow::None, ""},
    {2, 2, 1, 1, "6", "", Arrow::Right, ""},
    {0, 3, 1, 1, "1", "End", Arrow::None, "Last Part"},
    {1, 3, 1, 1, "2", "", Arrow::Down, "Next Part"},
    {2, 3, 1, 1, "3", "PgDn", Arrow::None, "Next Page"},
    {3, 3, 1, 2, "Enter", "", Arrow::None, "Place / Unplace"},
    {0, 4, 2, 1, "0", "Ins", Arrow::None, "Add Cal Point"},
    {2, 4, 1, 1, ".", "Del", Arrow::None, "Next Unplaced"},
}};

constexpr int kKeymapWidth = 273;
constexpr int kKeymapHeight = 325;
constexpr int kMargin = 4;
constexpr int kGap = 3;
constexpr int kKeyWidth = (kKeymapWidth - 2 * kMargin - 3 * kGap) / 4;
constexpr int kKeyHeight = (kKeymapHeight - 2 * kMargin - 4 * kGap) / 5;
constexpr int kPadding = 5;
constexpr int kLegendHeight = 16;
constexpr int kSecondLegendHeight = 11;

QRectF KeyRect(const KeyCap& key) {
    return QRectF(kMargin + key.column * (kKeyWidth + kGap),
                  kMargin + key.row * (kKeyHeight + kGap),
                  key.columns * kKeyWidth + (key.columns - 1) * kGap,
                  key.rows * kKeyHeight + (key.rows - 1) * kGap);
}

void DrawKeyBody(QPainter& painter, const QRectF& rect) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(110, 110, 110));
    painter.drawRoundedRect(rect.adjusted(1, 2, 0, 0), 4, 4);
    painter.setPen(QPen(QColor(70, 70, 70), 1));
    painter.setBrush(QColor(248, 248, 244));
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -1.5, -2.5), 4, 4);
}

// An arrow pointing up, drawn centred on the origin; the other directions turn it.
QPainterPath UpArrow() {
    QPainterPath path;
    path.addPolygon(QPolygonF({QPointF(0, -5), QPointF(4.5, 0), QPointF(1.5, 0), QPointF(1.5, 5),
                               QPointF(-1.5, 5), QPointF(-1.5, 0), QPointF(-4.5, 0)}));
    path.closeSubpath();
    return path;
}

double ArrowTurn(Arrow arrow) {
    switch (arrow) {
    case Arrow::Right:
        return 90;
    case Arrow::Down:
        return 180;
    case Arrow::Left:
        return 270;
    default:
        return 0;
    }
}

void DrawArrow(QPainter& painter, Arrow arrow, const QPointF& centre) {
    painter.save();
    painter.translate(centre);
    painter.rotate(ArrowTurn(arrow));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLegendInk);
    painter.drawPath(UpArrow());
    painter.restore();
}

// A single sign is printed large with its second legend below it; a word (Num Lock, Enter)
// has no second legend and may take two lines in a smaller face.
void DrawLegends(QPainter& painter, const KeyCap& key, const QRectF& inner) {
    const QString legend = QString::fromUtf8(key.legend);
    painter.setPen(kLegendInk);
    if (legend.size() > 1) {
        painter.setFont(ArtFont(11, QFont::Bold));
        painter.drawText(
            QRectF(inner.left(), inner.top(), inner.width(), kLegendHeight + kSecondLegendHeight),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, legend);
        return;
    }
    painter.setFont(ArtFont(15, QFont::Bold));
    const QRectF legendRect(inner.left(), inner.top(), inner.width(), kLegendHeight);
    painter.drawText(legendRect, Qt::AlignLeft | Qt::AlignVCenter, legend);

    const QRectF secondRect(inner.left(), legendRect.bottom(), inner.width(), kSecondLegendHeight);
    if (key.arrow != Arrow::None) {
        DrawArrow(painter, key.arrow, QPointF(secondRect.left() + 6, secondRect.center().y()));
    } else {
        painter.setFont(ArtFont(9, QFont::Normal));
        painter.drawText(secondRect, Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromUtf8(key.secondLegend));
    }
}

void DrawAction(QPainter& painter, const KeyCap& key, const QRectF& inner) {
    const QRectF actionRect(inner.left(), inner.top() + kLegendHeight + kSecondLegendHeight,
                            inner.width(), inner.height() - kLegendHeight - kSecondLegendHeight);
    painter.setPen(kActionInk);
    painter.setFont(ArtFont(10, QFont::Bold));
    painter.drawText(actionRect, Qt::AlignCenter | Qt::TextWordWrap, QString::fromUtf8(key.action));
}

QImage KeymapPicture() {
    QImage image(kKeymapWidth, kKeymapHeight, QImage::Format_ARGB32);
    image.fill(QColor(190, 190, 190));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const KeyCap& key : kKeypad) {
        const QRectF rect = KeyRect(key);
        DrawKeyBody(painter, rect);
        const QRectF inner = rect.adjusted(kPadding, kPadding - 1, -kPadding, -kPadding);
        DrawLegends(painter, key, inner);
        DrawAction(painter, key, inner);
    }
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
                       Save(LogoPicture(), directory, "logo.png") &&
                       Save(KeymapPicture(), directory, "keymap.png");
    return saved ? 0 : 1;
}
