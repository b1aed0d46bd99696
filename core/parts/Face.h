#pragma once

#include <optional>

namespace kavelto {

enum class Face { Top = 0, Bottom = 1 };

// The face's name as the exported files and printed sheets write it.
inline const char* FaceName(Face face) {
    return face == Face::Top ? "top" : "bottom";
}

// 'b' and 'B' mark the bottom face; every other layer character, and no layer at all, the top.
inline bool IsOnFace(std::optional<char> layer, Face face) {
    const bool bottom = layer == 'b' || layer == 'B';
    return bottom == (face == Face::Bottom);
}

} // namespace kavelto
