#pragma once

#include "parts/PartColumns.h"

#include <Qt>

#include <array>

namespace kavelto {

// How the part list shows each of its columns, in the order of PartColumn.
struct PartListColumn {
    const char* title;
    Qt::Alignment alignment;
    int width; // pixels
};

inline constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
inline constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

inline constexpr std::array<PartListColumn, kPartColumnCount> kPartListColumns = {{
    {"Placed", kLeft, 50},
    {"Item#", kLeft, 50},
    {"Part ID", kLeft, 80},
    {"Value", kLeft, 250},
    {"Package", kLeft, 120},
    {"Layer", Qt::AlignCenter, 50},
    {"Rotation", Qt::AlignCenter, 60},
    {"X", kRight, 90},
    {"Y", kRight, 90},
}};

// The columns the bill of materials adds after the part's own, shown while any row fills them.
enum class BomColumn { Mpn, Supplier };
inline constexpr int kBomColumnCount = 2;
inline constexpr std::array<PartListColumn, kBomColumnCount> kBomListColumns = {{
    {"MPN", kLeft, 160},
    {"Supplier #", kLeft, 110},
}};

// The column of the part list that shows a field of its BOM line, if any.
inline constexpr int kListColumnCount = kPartColumnCount + kBomColumnCount;

} // namespace kavelto
