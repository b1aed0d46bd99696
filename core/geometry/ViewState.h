#pragma once

#include "geometry/PixelRect.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kavelto {

// What the marker point stands for, and so which pen boxes it.
enum class MarkerMode { UserPoint = 1, PartLocated = 2 };

// The point the box and the magnifier show, in picture pixels.
struct Marker {
    PixelPoint at;
    MarkerMode mode;
};

// The board view's state. Picture coordinates are pixels of the file as stored, before the
// view mirrors and turns it, so the marker follows the picture through every turn. Everything
// the board view draws and every press it converts follows from these fields alone.
struct ViewState {
    std::optional<std::string> bitmapPath; // the picture file chosen, if any
    // The chosen picture's size as stored, from its header once it is opened; 0 x 0 when the
    // file can't be read or decoded.
    std::optional<PixelSize> pictureSize;
    PixelSize frameSize{0, 0};     // the board view's size, as the window last laid it out
    std::int32_t viewRotation = 0; // clockwise degrees: 0, 90, 180 or 270
    bool mirrored = false;         // mirrored left-right before turning
    std::optional<Marker> marker;
    std::int32_t zoomBoxSize = 100; // side of the marker box and the magnified square
    // The board view's own enlargement: 1 fits the whole picture; above, the turned picture's
    // point (overviewLeft, overviewTop) lies at the frame's top-left.
    double overviewZoom = 1.0;
    double overviewLeft = 0.0;
    double overviewTop = 0.0;
    bool dragging = false;
};

} // namespace kavelto
