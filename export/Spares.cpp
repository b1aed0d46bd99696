#include "Spares.h"

#include "ChipSize.h"

#include <algorithm>

namespace kavelto {

namespace {

const SparesShare* ShareFor(const std::string& package, const SparesRule& rule) {
    const std::optional<int> size = ChipSizeRank(package);
    for (const SparesRow& row : rule.rows)
        if (!row.upTo || (size && *size <= *row.upTo))
            return &row.share;
    return nullptr;
}

} // namespace

std::vector<SparesRow> DefaultSparesRows() {
    return {{ChipSizeRank("0402"), {10, 2}}, {std::nullopt, {5, 1}}};
}

std::int64_t ToGather(const PickListItem& item, const SparesRule& rule) {
    if (item.totalCount <= 0)
        return 0;
    const SparesShare* share = ShareFor(item.package, rule);
    if (!share)
        return item.totalCount;
    const std::int64_t byShare = (item.totalCount * share->percent + 99) / 100;
    return item.totalCount + std::max<std::int64_t>(byShare, share->minimum);
}

void AddSpares(std::vector<PickListItem>& items, const SparesRule& rule) {
    for (PickListItem& item : items)
        item.toGather = ToGather(item, rule);
}

} // namespace kavelto
