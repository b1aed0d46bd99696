#pragma once

#include <string>
#include <vector>

namespace kavelto {

// A small table as the user edits it: rows of cells, each cell's text as typed (UTF-8).
using TableCells = std::vector<std::vector<std::string>>;

} // namespace kavelto
