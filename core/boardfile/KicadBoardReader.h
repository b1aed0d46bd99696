#pragma once

#include "base/Result.h"
#include "boardfile/BoardFootprint.h"

#include <string>
#include <string_view>
#include <vector>

namespace kavelto {

// Every footprint of a board file of the design tool (its S-expression form, versions 6 to 9),
// in file order, or why the text is none.
Result<std::vector<BoardFootprint>> ReadKicadBoard(std::string_view text);

// The same, read from a file.
Result<std::vector<BoardFootprint>> ReadKicadBoardFile(const std::string& path);

} // namespace kavelto
