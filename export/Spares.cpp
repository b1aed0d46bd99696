#include "Spares.h"

#include <algorithm>

namespace kavelto {

namespace {

// Imperial sizes as written, and the metric sizes of IPC land pattern names (RESC1005X40N is
// an 0402 resistor, CAPC0603X33N an 0201 capacitor).
constexpr const char* kSmallSizes[] = {"01005", "0201", "0402", "C0402X", "C0603X", "C1005X"};

} // namespace

bool IsSmallPackage(const std::string& package) {
    return std::any_of(std::begin(kSmallSizes), std::end(kSmallSizes),
                       [&](const char* size) { return package.find(size) != std::string::npos; });
}

std::int64_t ToGather(const PickListItem& item, const SparesRule& rule) {
    if (item.totalCount <= 0)
        return 0;
    const SparesShare& share = IsSmallPackage(item.package) ? rule.small : rule.other;
    const std::int64_t byShare = (item.totalCount * share.percent + 99) / 100;
    return item.totalCount + std::max<std::int64_t>(byShare, share.minimum);
}

void AddSpares(std::vector<PickListItem>& items, const SparesRule& rule) {
    for (PickListItem& item : items)
        item.toGather = ToGather(item, rule);
}

} // namespace kavelto
