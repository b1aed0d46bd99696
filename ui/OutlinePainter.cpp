#include "OutlinePainter.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace kavelto {

namespace {

const QColor kSelectedOutline(255, 250, 155);
const QColor kKindToPlace(0, 200, 255);
const QColor kKindPlaced(200, 120, 255);
const QColor kPinOne(255, 60, 60);
const QColor kDone(60, 220, 90);
constexpr int kDoneFillAlpha = 80;
constexpr double kDoneDotRadius = 3.0;
constexpr qreal kOutlineWidth = 2.0;
constexpr double kMarkShare = 0.2;
constexpr double kLeastMark = 2.0;
constexpr double kLargestMark = 8.0;
constexpr double kLeastPadOnWindow = 4.0;
constexpr int kPadFillAlpha = 90;

double Length(const QPointF& a, const QPointF& b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

} // namespace

QPointF OutlinePainter::toWindow(const PlanePoint& picture) const {
    const ViewPoint at = view_.toWindow({picture.x, picture.y});
    return {at.x, at.y};
}

void OutlinePainter::paint(QPainter& painter, const std::vector<DrawnOutline>& outlines) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const DrawnOutline& drawn : outlines)
        paintOne(painter, drawn);
    painter.restore();
}

void OutlinePainter::paintOne(QPainter& painter, const DrawnOutline& drawn) const {
    if (drawn.background) {
        paintDone(painter, drawn.outline);
        return;
    }
    const QColor colour =
        drawn.selected ? kSelectedOutline : (drawn.placed ? kKindPlaced : kKindToPlace);
    if (drawn.outline.corners) {
        QPolygonF body;
        for (const PlanePoint& corner : *drawn.outline.corners)
            body << toWindow(corner);
        painter.setPen(QPen(colour, kOutlineWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(body);
    }
    paintPads(painter, drawn.outline, colour);
    paintMark(painter, drawn.outline, drawn.selected ? kPinOne : colour);
}

// A part done is a dim filled body, or a dim dot where its body is not known.
void OutlinePainter::paintDone(QPainter& painter, const PictureOutline& outline) const {
    QColor fill = kDone;
    fill.setAlpha(kDoneFillAlpha);
    painter.setPen(QPen(fill, 1.0));
    painter.setBrush(fill);
    if (outline.corners) {
        QPolygonF body;
        for (const PlanePoint& corner : *outline.corners)
            body << toWindow(corner);
        painter.drawPolygon(body);
    } else if (outline.origin) {
        painter.drawEllipse(toWindow(*outline.origin), kDoneDotRadius, kDoneDotRadius);
    }
}

void OutlinePainter::paintPads(QPainter& painter, const PictureOutline& outline,
                               const QColor& colour) const {
    std::vector<QPolygonF> pads;
    for (const std::vector<PlanePoint>& pad : outline.pads) {
        QPolygonF polygon;
        for (const PlanePoint& point : pad)
            polygon << toWindow(point);
        const QRectF box = polygon.boundingRect();
        if (std::min(box.width(), box.height()) < kLeastPadOnWindow)
            return;
        pads.push_back(polygon);
    }
    QColor fill = colour;
    fill.setAlpha(kPadFillAlpha);
    painter.setPen(QPen(colour, 1.0));
    painter.setBrush(fill);
    for (const QPolygonF& pad : pads)
        painter.drawPolygon(pad);
}

double OutlinePainter::markRadius(const PictureOutline& outline) const {
    if (!outline.corners)
        return kLeastMark * 2;
    const std::array<PlanePoint, 4>& c = *outline.corners;
    const double side =
        std::min(Length(toWindow(c[0]), toWindow(c[1])), Length(toWindow(c[1]), toWindow(c[2])));
    return std::clamp(side * kMarkShare, kLeastMark, kLargestMark);
}

void OutlinePainter::paintMark(QPainter& painter, const PictureOutline& outline,
                               const QColor& colour) const {
    if (!outline.pinOne || outline.mark == PinOneMark::None)
        return;
    const QPointF at = toWindow(*outline.pinOne);
    const double radius = markRadius(outline);
    switch (outline.mark) {
    case PinOneMark::Dot:
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(at, radius, radius);
        break;
    case PinOneMark::CathodeBar:
        painter.setPen(QPen(colour, radius, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(toWindow(outline.bar[0]), toWindow(outline.bar[1]));
        break;
    case PinOneMark::Plus:
        painter.setPen(QPen(colour, std::max(1.5, radius / 2)));
        painter.drawLine(at - QPointF(radius, 0), at + QPointF(radius, 0));
        painter.drawLine(at - QPointF(0, radius), at + QPointF(0, radius));
        break;
    case PinOneMark::None:
        break;
    }
}

} // namespace kavelto
