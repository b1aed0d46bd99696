#pragma once

#include "base/Result.h"
#include "base/UserMessage.h"
#include "parts/PartTable.h"
#include "placement/ColumnMap.h"

#include <optional>
#include <string>

namespace kavelto {

// What a load of a placement file gives: a table of its own, and what the user is told
// though the load succeeded.
struct PlacementParts {
    PartTable table;
    std::optional<UserMessage> notice; // the parts left out of a file longer than a table
};

// Reads the placement file at path into a new table, under the column layout of map. A line ends
// with a line feed, a carriage return and line feed, or a lone carriage return. Lines of only
// blanks, quotes, separators and control bytes, and lines that start with '#' (or with the
// comment mark of a place text file) after the header lines, carry no part; on the first malformed
// line among the first kMaxParts parts the whole load fails, and so does a file without a part. A
// file of more parts loads its first kMaxParts, and the notice counts the parts of the whole file.
Result<PlacementParts> ReadPlacementFile(const std::string& path, const ColumnMap& map);

} // namespace kavelto
