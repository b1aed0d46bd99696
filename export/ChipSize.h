#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavelto {

// The size of a chip part as a rank among the standard sizes, 01005 the smallest, so that sizes
// compare as numbers; read from a package name as the tools write it: "0402", "C0402",
// "R_0402_1005Metric" (imperial first, the metric size marked), "RESC1005X40N" (an IPC land
// pattern, metric). Nothing for a package that names no chip size ("SOT23", "LQFP-48").
std::optional<int> ChipSizeRank(std::string_view package);

// The imperial name of a rank, "0402".
std::string ChipSizeName(int rank);

} // namespace kavelto
