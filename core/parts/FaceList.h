#pragma once

#include "parts/PartTable.h"

#include <array>

namespace kavelto {

// The parts of the current face in list order: row r shows parts[indexes[r]].
struct FaceList {
    std::array<int, kMaxParts> indexes{};
    int faceCount = 0;
};

} // namespace kavelto
