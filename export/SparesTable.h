#pragma once

#include "Spares.h"
#include "base/Result.h"
#include "base/TableCells.h"

#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// The spares rule as a small table to edit: one row of the rule a row, its cells up to which
// package size (empty for every other package), percentage and minimum.
std::vector<std::string> SparesColumns();
TableCells SparesCells(const SparesRule& rule);

// The rule the table as the user left it gives, or the first fault found, row by row. A row
// left wholly blank is passed over; the size may be written as any package name that names a
// chip size ("0402", "R_0402_1005Metric"), the percentage with its "%".
Result<SparesRule> ReadSparesTable(const TableCells& cells);

// The rule as one line of the settings, "0402,10,2;,5,1", and read back from it: nothing for a
// line that gives no valid rule.
std::string SparesRuleLine(const SparesRule& rule);
std::optional<SparesRule> ParseSparesRuleLine(const std::string& line);

// "10 %, at least 2 up to 0402; 5 %, at least 1 otherwise", as the menu entry names the rule.
std::string SparesRuleSummary(const SparesRule& rule);

} // namespace kavelto
