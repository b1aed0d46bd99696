#pragma once

#include "geometry/PixelRect.h"

// Picture point (100, 50) of a 1200 x 600 picture in the frame at (10, 20) of 600 x 400, in
// every turn and mirror, worked out by hand. Upright or turned half, the picture is drawn
// 600 x 300 at 2 picture pixels per window pixel; turned a quarter, 200 x 400 at 3. Mirroring
// first takes x to 1200 - 100 = 1100; the quarter turn clockwise takes (x, y) to (600 - y, x),
// the half turn to (1200 - x, 600 - y), three quarters to (y, 1200 - x).
struct ViewTransformRow {
    const char* name;
    int turn;
    bool mirrored;
    double windowX; // where the picture point lands, before any rounding
    double windowY;
};

inline constexpr kavelto::PixelSize kRowPicture{1200, 600};
inline constexpr kavelto::PixelRect kRowFrame{10, 20, 600, 400};
inline constexpr double kRowPictureX = 100.0;
inline constexpr double kRowPictureY = 50.0;

inline constexpr ViewTransformRow kViewTransformRows[] = {
    {"upright: (100, 50) / 2", 0, false, 10 + 50.0, 20 + 25.0},
    {"upright mirrored: (1100, 50) / 2", 0, true, 10 + 550.0, 20 + 25.0},
    {"quarter: (550, 100) / 3", 90, false, 10 + 550.0 / 3, 20 + 100.0 / 3},
    {"quarter mirrored: (550, 1100) / 3", 90, true, 10 + 550.0 / 3, 20 + 1100.0 / 3},
    {"half: (1100, 550) / 2", 180, false, 10 + 550.0, 20 + 275.0},
    {"half mirrored: (100, 550) / 2", 180, true, 10 + 50.0, 20 + 275.0},
    {"three quarters: (50, 1100) / 3", 270, false, 10 + 50.0 / 3, 20 + 1100.0 / 3},
    {"three quarters mirrored: (50, 100) / 3", 270, true, 10 + 50.0 / 3, 20 + 100.0 / 3},
};
