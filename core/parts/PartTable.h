#pragma once

#include "parts/PartRecord.h"

#include <array>

namespace kavelto {

inline constexpr int kMaxParts = 5000;

// Every component of the loaded placement file. Records at and beyond partCount may hold what
// an earlier load left; nothing reads them.
struct PartTable {
    std::array<PartRecord, kMaxParts> parts{};
    int partCount = 0;
};

} // namespace kavelto
