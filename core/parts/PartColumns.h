#pragma once

#include "parts/PartRecord.h"

#include <array>
#include <string>

namespace kavelto {

// The columns of the part list, in their order on screen.
enum class PartColumn { Placed, Item, PartId, Value, Package, Layer, Rotation, X, Y };

inline constexpr int kPartColumnCount = 9;

enum class ColumnAlignment { Left, Centre, Right };

struct ColumnHeader {
    const char* title;
    ColumnAlignment alignment;
    int width; // pixels
};

inline constexpr std::array<ColumnHeader, kPartColumnCount> kPartColumnHeaders = {{
    {"Placed", ColumnAlignment::Left, 50},
    {"Item#", ColumnAlignment::Left, 50},
    {"Part ID", ColumnAlignment::Left, 80},
    {"Value", ColumnAlignment::Left, 250},
    {"Package", ColumnAlignment::Left, 120},
    {"Layer", ColumnAlignment::Centre, 50},
    {"Rotation", ColumnAlignment::Centre, 60},
    {"X", ColumnAlignment::Right, 90},
    {"Y", ColumnAlignment::Right, 90},
}};

// The designator as shown: its whole text as read, so that parts whose designators share their
// letters and number (UART_EN201, UART_EN202) stay apart.
std::string DesignatorText(const PartRecord& part);

// The bytes the part list shows for part in column, given the item number of its row.
// Numbers never depend on the process locale: the decimal mark is always a point.
std::string PartColumnText(const PartRecord& part, int itemNumber, PartColumn column);

} // namespace kavelto
