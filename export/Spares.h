#pragma once

#include "PickList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavelto {

// How many parts beyond the boards' need to gather of an item: a share of the need, rounded
// up, and at least a minimum. Small parts get lost on the bench more often than large ones.
struct SparesShare {
    int percent;
    int minimum;
};

struct SparesRule {
    SparesShare small{10, 2}; // packages of size 0402 and smaller
    SparesShare other{5, 1};
};

// Whether a package names a size of 0402 (1005 metric) or smaller, as the tools write sizes:
// "0402", "R_0201_0603Metric", "C0402", "RESC1005X40N".
bool IsSmallPackage(const std::string& package);

// The boards' need of the item and its spares; nothing to gather for no boards.
std::int64_t ToGather(const PickListItem& item, const SparesRule& rule);

// Sets each item's count to gather.
void AddSpares(std::vector<PickListItem>& items, const SparesRule& rule);

} // namespace kavelto
