#include "boardfile/BoardFileMessages.h"

namespace kavelto {

namespace {

// A box holds this many lines of parts; the rest are counted.
constexpr std::size_t kMostListedParts = 30;

} // namespace

std::string CannotReadBoardFile(const std::string& path) {
    return "Can't read board file " + path;
}

UserMessage PositionsDifferBox(const std::vector<std::string>& lines) {
    std::string text = "Parts placed elsewhere in the board file than in the placement file:";
    for (std::size_t i = 0; i < lines.size() && i < kMostListedParts; ++i)
        text += "\n" + lines[i];
    if (lines.size() > kMostListedParts)
        text += "\nand " + std::to_string(lines.size() - kMostListedParts) + " more";
    return {text, "Board file", MessageButtons::Ok, MessageIcon::Information};
}

} // namespace kavelto
