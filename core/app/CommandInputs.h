#pragma once

#include "base/TableCells.h"
#include "geometry/ViewGeometry.h"

#include <optional>
#include <string>

namespace kavelto {

// What the window's controls hold when a command runs.
struct CommandInputs {
    std::string pcbCountText;
    int sortEntry = 0;
    // The file the user chose for a command that asks for one; nothing when cancelled.
    std::optional<std::string> chosenFile;
    // Whether any control has the keyboard focus: the OK command then places instead of closing.
    bool controlHasFocus = true;
    // Where the pointer pressed on the picture, for a command run by a press.
    PicturePoint point{};
    // The entry the user chose from the list a command offered, counted from 0.
    std::optional<int> chosenEntry;
    // The table the user left, for the command that goes on from an offered one; nothing when
    // cancelled.
    std::optional<TableCells> editedTable;
};

} // namespace kavelto
