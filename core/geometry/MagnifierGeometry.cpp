#include "geometry/MagnifierGeometry.h"

#include "geometry/Truncate.h"

#include <algorithm>
#include <cmath>

namespace kavelto {

namespace {

// The area's size: zoomBoxSize on the pane's longer side, at least one pixel on the other.
PixelSize AreaSize(int zoomBoxSize, PixelSize pane) {
    if (pane.width >= pane.height)
        return {zoomBoxSize,
                std::max(1, static_cast<int>(std::lround(static_cast<double>(zoomBoxSize) *
                                                         pane.height / pane.width)))};
    return {std::max(1, static_cast<int>(std::lround(static_cast<double>(zoomBoxSize) * pane.width /
                                                     pane.height))),
            zoomBoxSize};
}

ViewPoint PixelMiddle(PixelPoint pixel) {
    return {pixel.x + 0.5, pixel.y + 0.5};
}

int Sign(double value) {
    return (value > 0.0) - (value < 0.0);
}

} // namespace

PixelRect MagnifierArea(const ViewTransform& board, PixelPoint marker, int zoomBoxSize,
                        PixelSize pane) {
    const PixelSize size = AreaSize(zoomBoxSize, pane);
    const ViewPoint centre = board.toTurned(PixelMiddle(marker));
    return {TruncToInt(std::floor(centre.x - size.width / 2.0)),
            TruncToInt(std::floor(centre.y - size.height / 2.0)), size.width, size.height};
}

std::optional<ViewTransform> MagnifierTransform(const ViewTransform& board, PixelPoint marker,
                                                int zoomBoxSize, PixelSize pane) {
    if (pane.width <= 0 || pane.height <= 0)
        return std::nullopt;
    return board.zoomed(MagnifierArea(board, marker, zoomBoxSize, pane),
                        {0, 0, pane.width, pane.height});
}

ViewPoint CrosshairPoint(const ViewTransform& magnifier, PixelPoint marker) {
    return magnifier.toWindow(PixelMiddle(marker));
}

PixelPoint NudgedPoint(const ViewTransform& board, PixelPoint at, int dx, int dy) {
    const ViewPoint window = board.toWindow(PixelMiddle(at));
    const ViewPoint moved = board.toPicture({window.x + dx, window.y + dy});
    const ViewPoint from = PixelMiddle(at);
    return {at.x + Sign(moved.x - from.x), at.y + Sign(moved.y - from.y)};
}

} // namespace kavelto
