#include "FaceSorting.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace kavelto {

namespace {

// strncmp compares as unsigned bytes and stops at the first NUL; the bound keeps a record
// whose text lacks its NUL inside its own field.
template <std::size_t N> int CompareText(const char (&a)[N], const char (&b)[N]) {
    return std::strncmp(a, b, N);
}

int CompareNumber(unsigned a, unsigned b) {
    return (a > b) - (a < b);
}

template <typename First, typename... Rest>
int FirstDifference(const First& first, const Rest&... rest) {
    const int result = first();
    if constexpr (sizeof...(Rest) == 0) {
        return result;
    } else {
        return result != 0 ? result : FirstDifference(rest...);
    }
}

// Negative, zero or positive as a's key is below, equal to or above b's.
int CompareKeys(const PartRecord& a, const PartRecord& b, SortMode mode) {
    const auto package = [&] { return CompareText(a.package, b.package); };
    const auto prefix = [&] { return CompareText(a.prefix, b.prefix); };
    const auto value = [&] { return CompareText(a.value, b.value); };
    const auto partId = [&] { return CompareNumber(a.partId, b.partId); };
    switch (mode) {
    case SortMode::PackagePrefixValuePartId:
        return FirstDifference(package, prefix, value, partId);
    case SortMode::PrefixPackageValuePartId:
        return FirstDifference(prefix, package, value, partId);
    case SortMode::PrefixPartId:
        break;
    }
    return FirstDifference(prefix, partId);
}

int ValidCount(int count) {
    return std::clamp(count, 0, kMaxParts);
}

} // namespace

bool IsSortedBefore(const PartRecord& a, const PartRecord& b, SortMode mode) {
    return CompareKeys(a, b, mode) <= 0;
}

void FilterAndSortFace(const PartTable& table, Face face, SortMode mode, FaceList& list) {
    const int partCount = ValidCount(table.partCount);
    list.faceCount = 0;
    for (int i = 0; i < partCount; ++i) {
        if (IsOnFace(table.parts[i].layer, face))
            list.indexes[list.faceCount++] = i;
    }
    // Ties go by descending table position: the order that inserting the parts one by one in
    // table order, each in front of its equals, would give, without that quadratic cost.
    const auto before = [&](int i, int j) {
        const int keys = CompareKeys(table.parts[i], table.parts[j], mode);
        return keys != 0 ? keys < 0 : i > j;
    };
    std::sort(list.indexes.begin(), list.indexes.begin() + list.faceCount, before);
}

void NumberItems(const PartTable& table, const FaceList& list, ItemNumbers& itemNumbers) {
    const int faceCount = ValidCount(list.faceCount);
    int item = 0;
    for (int row = 0; row < faceCount; ++row) {
        const PartRecord& part = table.parts[list.indexes[row]];
        if (row == 0 || !IsSameKind(part, table.parts[list.indexes[row - 1]]))
            ++item;
        itemNumbers[row] = item;
    }
}

} // namespace kavelto
