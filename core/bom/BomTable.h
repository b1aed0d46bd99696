#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// One line of a bill of materials: one part, or a group of parts of one kind. Texts are the
// cells' bytes as read; a column the file lacks leaves its text empty.
struct BomLine {
    std::vector<std::string> designators;
    std::optional<int> quantity; // only when the file has a quantity column with a number
    std::string value;
    std::string footprint;
    std::string manufacturer;
    std::string mpn;
    std::string supplier; // the supplier numbers of every supplier column, ", " between them
    std::string description;
    bool notFitted = false;
    int lineNumber = 0; // in the file, from 1, for messages
};

// The lines of a bill of materials in file order.
struct BomTable {
    std::vector<BomLine> lines;
};

} // namespace kavelto
