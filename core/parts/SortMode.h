#pragma once

namespace kavelto {

// The orders of the part list, in the order of the "Sort by" entries.
enum class SortMode {
    PackagePrefixValuePartId = 0,
    PrefixPackageValuePartId = 1,
    PrefixPartId = 2,
};

inline constexpr int kSortModeCount = 3;

} // namespace kavelto
