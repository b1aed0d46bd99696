#include "boardfile/BoardShapes.h"

#include "boardfile/FootprintShape.h"
#include "boardfile/KicadBoardReader.h"
#include "packages/PackageParser.h"
#include "packages/PartOutline.h"
#include "parts/Face.h"

#include <cmath>
#include <iomanip>
#include <map>
#include <sstream>

namespace kavelto {

namespace {

// Positions farther apart than this, in millimetres, are told to the user.
constexpr double kLargestPositionDifference = 0.05;

// The board file's position as the placement file writes it: Y growing upwards, and a bottom
// part's X seen from below where the file does so.
PlanePoint AsPlacementFileWrites(const BoardFootprint& footprint, bool bottomSeenFromBelow) {
    const bool negateX = footprint.bottom && bottomSeenFromBelow;
    return {negateX ? -footprint.x : footprint.x, -footprint.y};
}

std::string DifferenceLine(const PartRecord& part, const PlanePoint& board) {
    std::ostringstream line;
    line.imbue(std::locale::classic());
    line << std::fixed << std::setprecision(3) << part.designator << ": board file " << board.x
         << ", " << board.y << "; placement file " << part.x << ", " << part.y;
    return line.str();
}

} // namespace

Result<std::vector<std::string>> BoardShapes::load(const std::string& path,
                                                   const PartTable& table) {
    const Result<std::vector<BoardFootprint>> read = ReadKicadBoardFile(path);
    if (!read)
        return read.failure();
    std::map<std::string, const BoardFootprint*> byDesignator;
    for (const BoardFootprint& footprint : read.value())
        byDesignator.emplace(footprint.designator, &footprint);
    const bool seenFromBelow = BottomSeenFromBelow(table);
    ExactShapes shapes;
    std::vector<std::string> differences;
    for (const PartRecord& part : table.parts()) {
        const auto found = byDesignator.find(part.designator);
        if (found == byDesignator.end())
            continue;
        const BoardFootprint& footprint = *found->second;
        const PartKind kind = ShapeFromPackage(part.package, part.designator).kind;
        shapes.emplace(part.designator, ShapeFromFootprint(footprint, kind));
        const PlanePoint board = AsPlacementFileWrites(footprint, seenFromBelow);
        if (std::hypot(board.x - part.x, board.y - part.y) > kLargestPositionDifference)
            differences.push_back(DifferenceLine(part, board));
    }
    shapes_ = std::move(shapes);
    return differences;
}

std::string BoardFileBeside(const std::string& placementPath) {
    const std::size_t slash = placementPath.find_last_of('/');
    const std::size_t dot = placementPath.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? placementPath.substr(0, dot) : placementPath) + ".kicad_pcb";
}

} // namespace kavelto
