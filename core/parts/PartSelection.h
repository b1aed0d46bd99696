#pragma once

#include <optional>

namespace kavelto {

// Where a part lies on the board, in the placement file's units.
struct BoardPosition {
    float x;
    float y;
};

// The selected list row and a copy of its part's board position. The two live apart: a
// calibration takes the position and forgets it, so that its next point comes from a part
// chosen afresh, while the row stays selected.
struct PartSelection {
    std::optional<int> row;            // none until a row of a list is selected
    std::optional<BoardPosition> part; // none until chosen, and after a calibration took it

    void clearPart() { part.reset(); }
};

} // namespace kavelto
