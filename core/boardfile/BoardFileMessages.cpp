#include "boardfile/BoardFileMessages.h"

namespace kavelto {

std::string CannotReadBoardFile(const std::string& path) {
    return "Can't read board file " + path;
}

std::string PositionsDifferMessage(const std::vector<std::string>& lines) {
    std::string text = "These parts lie elsewhere in the board file than in the placement file:";
    for (const std::string& line : lines)
        text += "\n" + line;
    return text;
}

} // namespace kavelto
