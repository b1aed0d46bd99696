#include "placement/PlacementMessages.h"

namespace kavelto {

std::string NoNameRowMessage(int searchLines, const std::string& requiredNames) {
    return "No column names found in the first " + std::to_string(searchLines) +
           " lines of part file: looked for a line naming the " + requiredNames + " columns";
}

std::string NoPositionMessage(int lineNumber) {
    return "No number for X or Y in line " + std::to_string(lineNumber) + " of part file";
}

std::string PartsLeftOutMessage(int maxParts, int partsInFile) {
    return "Only the first " + std::to_string(maxParts) + " parts of " +
           std::to_string(partsInFile) + " were loaded";
}

} // namespace kavelto
