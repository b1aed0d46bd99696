#pragma once

#include "base/UserMessage.h"

#include <string>
#include <vector>

namespace kavelto {

// Every text the board file layer tells the user, word for word, in one place.
inline constexpr const char* kNotABoardFile = "Not a KiCad board file (.kicad_pcb)";

std::string CannotReadBoardFile(const std::string& path);

// The one box that lists the parts whose board file position differs from the placement
// file's, one a line.
UserMessage PositionsDifferBox(const std::vector<std::string>& lines);

} // namespace kavelto
