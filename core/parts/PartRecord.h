#pragma once

#include "parts/PartText.h"
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kavelto {

// The most leading designator letters kept as a sort key.
inline constexpr std::size_t kMaxPrefixLength = 5;

// One component of the placement file. Texts are bytes exactly as read, up to their first NUL.
struct PartRecord {
    PartText designator;       // the whole designator, as every view shows it
    PartText prefix;           // leading designator letters, at most 5: a sort key
    std::uint16_t partId = 0;  // designator number, low 16 bits: a sort key
    std::optional<char> layer; // the layer column's first byte, when it has one
    float x = 0.0f;
    float y = 0.0f;
    PartText value;
    PartText package;
    std::int16_t rotation = 0; // shown only, never computed with
    bool placed = false;
};

// Two parts are of the same kind, and so of one item, when package and value are equal byte
// for byte.
inline bool IsSameKind(const PartRecord& a, const PartRecord& b) {
    return a.package == b.package && a.value == b.value;
}

} // namespace kavelto
