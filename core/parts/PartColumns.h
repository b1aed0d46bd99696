#pragma once

#include "parts/PartRecord.h"

#include <string>

namespace kavelto {

// The columns of the part list, in their order on screen.
enum class PartColumn { Placed, Item, PartId, Value, Package, Layer, Rotation, X, Y };

inline constexpr int kPartColumnCount = 9;

// The designator as shown: its whole text as read, so that parts whose designators share their
// letters and number (UART_EN201, UART_EN202) stay apart.
std::string DesignatorText(const PartRecord& part);

// The bytes the part list shows for part in column, given the item number of its row.
// Numbers never depend on the process locale: the decimal mark is always a point.
std::string PartColumnText(const PartRecord& part, int itemNumber, PartColumn column);

} // namespace kavelto
