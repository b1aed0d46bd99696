#pragma once

#include <cstdint>

namespace kavelto {

// One calibration pair: a part's board position and the picture pixel the user pressed on it.
struct CalPoint {
    float boardX;
    float boardY;
    std::int32_t pixelX;
    std::int32_t pixelY;
};

} // namespace kavelto
