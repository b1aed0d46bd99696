#pragma once

#include "packages/PackageRule.h"

#include <vector>

namespace kavelto {

// Every package family the parser knows, the first match winning: library names first, then
// the standard land-pattern names, then the short names other tools write.
const std::vector<PackageRule>& PackageRules();

} // namespace kavelto
