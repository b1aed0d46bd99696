#pragma once

namespace kavelto {

// The selected list row and a copy of its part's board position. Both coordinates 0 mean
// that no part is chosen for calibration.
struct PartSelection {
    int selectedRow = 0;
    float selectedX = 0.0f;
    float selectedY = 0.0f;

    bool hasPart() const { return !(selectedX == 0.0f && selectedY == 0.0f); }
    void clearPart() { selectedX = selectedY = 0.0f; }
};

} // namespace kavelto
