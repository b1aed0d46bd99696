#pragma once

#include "geometry/ViewTransform.h"
#include "packages/OutlinesToDraw.h"

#include <QImage>
#include <QPainter>

#include <string>
#include <unordered_map>

namespace kavelto {

// Outlines drawn once each into a small picture of their own, then only placed on the window.
// Drawing an antialiased outline with its pads and mark costs microseconds, placing its picture
// a tenth of one; and a step to the next part leaves most outlines of its kind looking as they
// did. A picture is kept under the outline's shape on the window to a quarter of a pixel and
// drawn with the shape's corner on the nearest half pixel, so parts of one package turned alike
// share it.
class OutlineSprites {
public:
    // Draws the outlines in their order through the view, leaving out those off the painter's
    // device.
    void paint(QPainter& painter, const ViewTransform& view,
               const std::vector<DrawnOutline>& outlines);

private:
    struct Placement {
        QRect area;    // the outline's picture on the window
        QPointF shift; // from where the outline lies to where its picture draws it
        std::string key;
    };
    static Placement placementOf(const ViewTransform& view, const DrawnOutline& drawn);
    const QImage& sprite(const ViewTransform& view, const DrawnOutline& drawn,
                         const Placement& placement);

    std::unordered_map<std::string, QImage> sprites_;
    qint64 keptPixels_ = 0;
};

} // namespace kavelto
