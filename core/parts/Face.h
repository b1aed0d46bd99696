#pragma once

namespace kavelto {

enum class Face { Top = 0, Bottom = 1 };

// 'b' and 'B' mark the bottom face; every other layer character, NUL included, the top.
inline bool IsOnFace(char layer, Face face) {
    const bool bottom = layer == 'b' || layer == 'B';
    return bottom == (face == Face::Bottom);
}

} // namespace kavelto
