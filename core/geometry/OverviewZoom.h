#pragma once

#include "geometry/ViewState.h"

namespace kavelto {

// The board view enlarged beyond its fit, to press more precisely: zoomed about the pointer,
// panned, and back to the whole picture. Every press rule goes through BoardTransform() and so
// holds at any enlargement. The enlarged picture always covers as much of the frame as it can.

inline constexpr double kMaxOverviewZoom = 16.0;

// Enlarges the view by factor (below 1 reduces it, never below the fit) about the window point
// (wx, wy) of the board view: the picture point under it stays under it.
void ZoomOverviewAt(ViewState& view, double factor, double wx, double wy);

// Moves the enlarged picture by (dx, dy) window pixels, as a drag moves it.
void PanOverview(ViewState& view, double dx, double dy);

// The whole picture fitted again.
void ResetOverviewZoom(ViewState& view);

} // namespace kavelto
