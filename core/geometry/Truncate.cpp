#include "geometry/Truncate.h"

#include <cmath>
#include <limits>

namespace kavelto {

int TruncToInt(double v) {
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    // One past each end is exact in a double, and everything strictly between them truncates
    // into the range.
    constexpr double kAboveMax = static_cast<double>(kMax) + 1.0;
    constexpr double kBelowMin = static_cast<double>(kMin) - 1.0;
    if (std::isnan(v))
        return 0;
    if (v >= kAboveMax)
        return kMax;
    if (v <= kBelowMin)
        return kMin;
    return static_cast<int>(v);
}

} // namespace kavelto
