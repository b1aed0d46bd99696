#include "KeymapPicture.h"

#include "ArtFont.h"
#include "app/CommandTable.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <array>
#include <optional>

namespace kavelto {

namespace {

const QColor kLegendInk(0, 0, 0);
const QColor kActionInk(204, 0, 0);

// The red legend of the command that the keypad's key runs.
const char* KeypadLegend(Key key) {
    for (const CommandRow& row : CommandTable())
        for (const KeyBinding& binding : row.keys)
            if (binding.key == key && binding.scope != KeyScope::Control)
                return row.keypadLegend;
    return "";
}

enum class Arrow { None, Up, Down, Left, Right };

struct KeyCap {
    int column;
    int row;
    int columns;
    int rows;
    const char* legend;
    const char* secondLegend;
    Arrow arrow;
    std::optional<Key> key; // the key as commands are bound to it
};

const std::array<KeyCap, 17> kKeypad{{
    {0, 0, 1, 1, "Num Lock", "", Arrow::None, std::nullopt},
    {1, 0, 1, 1, "/", "", Arrow::None, Key::Slash},
    {2, 0, 1, 1, "*", "", Arrow::None, Key::Asterisk},
    {3, 0, 1, 1, "\u2212", "", Arrow::None, Key::Minus},
    {0, 1, 1, 1, "7", "Home", Arrow::None, Key::Home},
    {1, 1, 1, 1, "8", "", Arrow::Up, Key::Up},
    {2, 1, 1, 1, "9", "PgUp", Arrow::None, Key::PageUp},
    {3, 1, 1, 2, "+", "", Arrow::None, Key::Plus},
    {0, 2, 1, 1, "4", "", Arrow::Left, std::nullopt},
    {1, 2, 1, 1, "5", "", Arrow::None, std::nullopt},
    {2, 2, 1, 1, "6", "", Arrow::Right, std::nullopt},
    {0, 3, 1, 1, "1", "End", Arrow::None, Key::End},
    {1, 3, 1, 1, "2", "", Arrow::Down, Key::Down},
    {2, 3, 1, 1, "3", "PgDn", Arrow::None, Key::PageDown},
    {3, 3, 1, 2, "Enter", "", Arrow::None, Key::Return},
    {0, 4, 2, 1, "0", "Ins", Arrow::None, Key::Insert},
    {2, 4, 1, 1, ".", "Del", Arrow::None, Key::Delete},
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
    if (!key.key)
        return;
    const QRectF actionRect(inner.left(), inner.top() + kLegendHeight + kSecondLegendHeight,
                            inner.width(), inner.height() - kLegendHeight - kSecondLegendHeight);
    painter.setPen(kActionInk);
    painter.setFont(ArtFont(10, QFont::Bold));
    painter.drawText(actionRect, Qt::AlignCenter | Qt::TextWordWrap,
                     QString::fromUtf8(KeypadLegend(*key.key)));
}

} // namespace

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

} // namespace kavelto
