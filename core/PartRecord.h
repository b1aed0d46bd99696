#pragma once

#include <cstdint>
#include <cstring>

namespace kavelto {

// One component of the placement file. Texts are NUL-terminated bytes exactly as read.
struct PartRecord {
    char prefix[6];       // leading designator letters, at most 5
    std::uint16_t partId; // designator number, low 16 bits
    char layer;           // 'b' or 'B' marks the bottom face
    float x;
    float y;
    char value[51];
    char package[21];
    std::int16_t rotation; // shown only, never computed with
    std::uint8_t placed;   // 0 or 1
};

// Two parts are of the same kind, and so of one item, when package and value are equal byte
// for byte.
inline bool IsSameKind(const PartRecord& a, const PartRecord& b) {
    return std::strcmp(a.package, b.package) == 0 && std::strcmp(a.value, b.value) == 0;
}

} // namespace kavelto
