#include "geometry/OverviewZoom.h"

#include "geometry/ViewGeometry.h"

#include <algorithm>

namespace kavelto {

namespace {

// Keeps the frame covered: the origin stays within the part of the turned picture that can be
// at the frame's top-left.
void ClampOrigin(ViewState& view, const ViewTransform& board) {
    const PixelSize turned = board.turnedSize();
    const ViewPoint perPixel = board.perWindowPixel();
    const double spareX = std::max(0.0, turned.width - view.frameSize.width * perPixel.x);
    const double spareY = std::max(0.0, turned.height - view.frameSize.height * perPixel.y);
    view.overviewLeft = std::clamp(view.overviewLeft, 0.0, spareX);
    view.overviewTop = std::clamp(view.overviewTop, 0.0, spareY);
}

} // namespace

void ZoomOverviewAt(ViewState& view, double factor, double wx, double wy) {
    const std::optional<ViewTransform> before = BoardTransform(view);
    if (!before || !(factor > 0.0))
        return;
    const ViewPoint under = before->toTurned(before->toPicture({wx, wy}));
    const ViewPoint perPixel = before->perWindowPixel();
    const double zoom = std::clamp(view.overviewZoom * factor, 1.0, kMaxOverviewZoom);
    const double change = view.overviewZoom / zoom;
    view.overviewZoom = zoom;
    view.overviewLeft = under.x - wx * perPixel.x * change;
    view.overviewTop = under.y - wy * perPixel.y * change;
    if (zoom <= 1.0) {
        ResetOverviewZoom(view);
        return;
    }
    ClampOrigin(view, *BoardTransform(view));
}

void PanOverview(ViewState& view, double dx, double dy) {
    const std::optional<ViewTransform> board = BoardTransform(view);
    if (!board || view.overviewZoom <= 1.0)
        return;
    view.overviewLeft -= dx * board->perWindowPixel().x;
    view.overviewTop -= dy * board->perWindowPixel().y;
    ClampOrigin(view, *board);
}

void ResetOverviewZoom(ViewState& view) {
    view.overviewZoom = 1.0;
    view.overviewLeft = 0.0;
    view.overviewTop = 0.0;
}

} // namespace kavelto
