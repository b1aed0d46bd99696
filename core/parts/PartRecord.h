#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kavelto {

// Room for the longest text a record keeps, 255 bytes, and its NUL.
inline constexpr std::size_t kPartTextSize = 256;

// One component of the placement file. Texts are NUL-terminated bytes exactly as read.
struct PartRecord {
    char designator[kPartTextSize]; // the whole designator, as every view shows it
    char prefix[6];                 // leading designator letters, at most 5: a sort key
    std::uint16_t partId;           // designator number, low 16 bits: a sort key
    char layer;                     // 'b' or 'B' marks the bottom face
    float x;
    float y;
    char value[kPartTextSize];
    char package[kPartTextSize];
    std::int16_t rotation; // shown only, never computed with
    std::uint8_t placed;   // 0 or 1
};

// Two parts are of the same kind, and so of one item, when package and value are equal byte
// for byte.
inline bool IsSameKind(const PartRecord& a, const PartRecord& b) {
    return std::strcmp(a.package, b.package) == 0 && std::strcmp(a.value, b.value) == 0;
}

} // namespace kavelto
