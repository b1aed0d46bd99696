#include "FaceSorting.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

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

// A text's first eight bytes, up to its NUL, as one number that orders as they do.
template <std::size_t N> std::uint64_t Head(const char (&text)[N]) {
    std::uint64_t head = 0;
    bool ended = false;
    for (std::size_t i = 0; i < 8; ++i) {
        ended = ended || i >= N || text[i] == '\0';
        head = head << 8 | (ended ? 0u : static_cast<unsigned char>(text[i]));
    }
    return head;
}

// A part's sort key in a few bytes side by side: the heads of its key texts in the order's
// field order, its number and its table position. Sorting these rather than positions in the
// table keeps each comparison off the table's large records.
struct SortKey {
    std::uint64_t heads[3];
    unsigned partId;
    int index;
};

SortKey KeyOf(const PartRecord& part, int index, SortMode mode) {
    switch (mode) {
    case SortMode::PackagePrefixValuePartId:
        return {{Head(part.package), Head(part.prefix), Head(part.value)}, part.partId, index};
    case SortMode::PrefixPackageValuePartId:
        return {{Head(part.prefix), Head(part.package), Head(part.value)}, part.partId, index};
    case SortMode::PrefixPartId:
        break;
    }
    return {{Head(part.prefix), 0, 0}, part.partId, index};
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
    std::vector<SortKey> keys;
    keys.reserve(std::size_t(list.faceCount));
    for (int row = 0; row < list.faceCount; ++row)
        keys.push_back(KeyOf(table.parts[list.indexes[row]], list.indexes[row], mode));
    // Ties go by descending table position: the order that inserting the parts one by one in
    // table order, each in front of its equals, would give, without that quadratic cost.
    const auto before = [&](const SortKey& a, const SortKey& b) {
        for (std::size_t field = 0; field < 3; ++field) {
            if (a.heads[field] != b.heads[field])
                return a.heads[field] < b.heads[field];
            // Equal heads that fill all eight bytes may go on differently: the records decide.
            if ((a.heads[field] & 0xFF) != 0) {
                const int whole = CompareKeys(table.parts[a.index], table.parts[b.index], mode);
                return whole != 0 ? whole < 0 : a.index > b.index;
            }
        }
        return a.partId != b.partId ? a.partId < b.partId : a.index > b.index;
    };
    std::sort(keys.begin(), keys.end(), before);
    for (int row = 0; row < list.faceCount; ++row)
        list.indexes[row] = keys[std::size_t(row)].index;
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
