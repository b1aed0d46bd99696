#pragma once

#include "geometry/PixelRect.h"
#include "geometry/ViewTransform.h"

#include <optional>

namespace kavelto {

// The magnifier and the fine moves of the pressed point: the magnifier shows the picture around
// the marker in the picture's own proportions, marks the marker with a crosshair, and converts
// presses on it back to picture pixels; the arrow keys move the point by single picture pixels
// in the directions of the screen.

// The rectangle of the turned picture that the magnifier shows around the marker: zoomBoxSize
// along the pane's longer side, the other side in the pane's proportion, so that round pads stay
// round.
PixelRect MagnifierArea(const ViewTransform& board, PixelPoint marker, int zoomBoxSize,
                        PixelSize pane);

// The magnifier's transform: that area over the whole pane; nothing for a pane without area.
std::optional<ViewTransform> MagnifierTransform(const ViewTransform& board, PixelPoint marker,
                                                int zoomBoxSize, PixelSize pane);

// Where the crosshair crosses on the pane: the middle of the marker's picture pixel.
ViewPoint CrosshairPoint(const ViewTransform& magnifier, PixelPoint marker);

// The picture pixel one screen pixel away from at in the direction (dx, dy) of the screen
// (each -1, 0 or 1), through the view's turn and mirror.
PixelPoint NudgedPoint(const ViewTransform& board, PixelPoint at, int dx, int dy);

} // namespace kavelto
