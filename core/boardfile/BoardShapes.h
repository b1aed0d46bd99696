#pragma once

#include "base/Result.h"
#include "packages/PackageShape.h"
#include "parts/PartTable.h"

#include <string>
#include <vector>

namespace kavelto {

// The exact shapes of the loaded board file, joined with the placement file's parts by
// designator.
class BoardShapes {
public:
    // Reads the board file and takes the shape of every footprint whose designator a part of
    // the table has. Gives the parts whose positions in the two files differ by more than
    // 0.05 mm, one a line; a file that can't be read leaves the shapes as they were.
    Result<std::vector<std::string>> load(const std::string& path, const PartTable& table);
    void clear() { shapes_.clear(); }
    const ExactShapes& shapes() const { return shapes_; }

private:
    ExactShapes shapes_;
};

// The board file of the design tool that shares the placement file's name, beside it:
// "board.csv" or "board-top.pos" finds "board.kicad_pcb" or "board-top.kicad_pcb".
std::string BoardFileBeside(const std::string& placementPath);

} // namespace kavelto
