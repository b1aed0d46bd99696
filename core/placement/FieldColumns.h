#pragma once

#include "placement/FieldCode.h"

#include <array>
#include <cstddef>

namespace kavelto {

inline constexpr int kNoColumn = -1;

// The column position of each field code, or kNoColumn for a field no column holds.
class FieldColumns {
public:
    FieldColumns() { columns_.fill(kNoColumn); }

    int operator[](FieldCode code) const { return columns_[Index(code)]; }
    int& operator[](FieldCode code) { return columns_[Index(code)]; }

private:
    static std::size_t Index(FieldCode code) { return static_cast<std::size_t>(code); }

    std::array<int, kFieldCodeCount> columns_;
};

} // namespace kavelto
