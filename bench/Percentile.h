#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// The sample below which the given fraction of samples lie; 0 for no samples.
inline double Percentile(std::vector<double> samples, double fraction) {
    if (samples.empty())
        return 0.0;
    const auto at = samples.begin() + static_cast<std::ptrdiff_t>(fraction * (samples.size() - 1));
    std::nth_element(samples.begin(), at, samples.end());
    return *at;
}
