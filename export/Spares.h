#pragma once

#include "PickList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// How many parts beyond the boards' need to gather of an item: a share of the need, rounded
// up, and at least a minimum. Small parts get lost on the bench more often than large ones.
struct SparesShare {
    int percent;
    int minimum;
};

// The share of the packages up to a chip size (its rank, see ChipSize.h), or without a size
// the share of every package that no row before reaches.
struct SparesRow {
    std::optional<int> upTo;
    SparesShare share;
};

// 10 %, at least 2, up to 0402; 5 %, at least 1, for every other package.
std::vector<SparesRow> DefaultSparesRows();

// The rows in growing size, a row without a size only last. The first row that reaches a
// package gives its share; a package that no row reaches gets no spares.
struct SparesRule {
    std::vector<SparesRow> rows = DefaultSparesRows();
};

// The boards' need of the item and its spares; nothing to gather for no boards.
std::int64_t ToGather(const PickListItem& item, const SparesRule& rule);

// Sets each item's count to gather.
void AddSpares(std::vector<PickListItem>& items, const SparesRule& rule);

} // namespace kavelto
