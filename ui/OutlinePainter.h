#pragma once

#include "geometry/ViewTransform.h"
#include "packages/OutlinesToDraw.h"

#include <QPainter>

namespace kavelto {

// Draws part outlines and their pin 1 marks through a view's transform: the body's outline, a
// filled dot at pin 1, a bar at a cathode, a "+" at a positive pin. Sizes of the marks follow
// the body on the window, within limits that keep them visible and small.
class OutlinePainter {
public:
    explicit OutlinePainter(const ViewTransform& view) : view_(view) {}

    void paint(QPainter& painter, const std::vector<DrawnOutline>& outlines) const;

private:
    QPointF toWindow(const PlanePoint& picture) const;
    void paintOne(QPainter& painter, const DrawnOutline& drawn) const;
    void paintDone(QPainter& painter, const PictureOutline& outline) const;
    // The pads, only once the view shows the smallest of them at least a few pixels wide.
    void paintPads(QPainter& painter, const PictureOutline& outline, const QColor& colour) const;
    void paintMark(QPainter& painter, const PictureOutline& outline, const QColor& colour) const;
    // A mark's radius on the window: a fifth of the body's shorter side, 2 to 8 pixels.
    double markRadius(const PictureOutline& outline) const;

    const ViewTransform& view_;
};

} // namespace kavelto
