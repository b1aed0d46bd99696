#pragma once

#include "base/Result.h"
#include "bom/BomState.h"
#include "parts/PartTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavelto {

// The progress of a board as CSV, for a record of the run or for a colleague to go on with: a
// name row "Designator,Face,Value,Package,Placed,Time placed", then each part in table order,
// both faces, placed "yes", "no" or "DNP" for a part left off the board, and the time it was
// placed as UTC ("2026-12-07T16:55:02Z"), empty when unknown. placedAt holds seconds since the
// epoch by table position, 0 for unknown. Cells with a comma, a quote or a line end are quoted.
std::string ProgressCsv(const PartTable& table, const BomState& bom,
                        const std::vector<std::int64_t>& placedAt);

// Replaces the file at path with the text as a whole.
Result<void> WriteProgressFile(const std::string& path, const std::string& text);

} // namespace kavelto
