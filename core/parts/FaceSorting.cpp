#include "parts/FaceSorting.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kavelto {

namespace {

// A part's key texts under the mode, in the order they compare; the part number comes last.
std::array<std::string_view, 3> KeyTexts(const PartRecord& part, SortMode mode) {
    const std::string_view package = part.package;
    const std::string_view prefix = part.prefix;
    const std::string_view value = part.value;
    switch (mode) {
    case SortMode::PackagePrefixValuePartId:
        return {package, prefix, value};
    case SortMode::PrefixPackageValuePartId:
        return {prefix, package, value};
    case SortMode::PrefixPartId:
        break;
    }
    return {prefix, std::string_view(), std::string_view()};
}

// Negative, zero or positive as a's key is below, equal to or above b's. Texts compare as
// unsigned bytes, the way char_traits<char> compares them.
int CompareKeys(const PartRecord& a, const PartRecord& b, SortMode mode) {
    const std::array<std::string_view, 3> ofA = KeyTexts(a, mode);
    const std::array<std::string_view, 3> ofB = KeyTexts(b, mode);
    for (std::size_t i = 0; i < ofA.size(); ++i) {
        if (const int texts = ofA[i].compare(ofB[i]))
            return texts;
    }
    return (a.partId > b.partId) - (a.partId < b.partId);
}

int ValidCount(int count) {
    return std::clamp(count, 0, kMaxParts);
}

// A text's first eight bytes, zeros after its end, as one number that orders as they do. A
// record's texts hold no NUL, so a last byte that is not zero says the text fills all eight.
std::uint64_t Head(std::string_view text) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i)
        head = head << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    return head;
}

// A part's sort key in a few bytes side by side: the heads of its key texts, its number and its
// table position. Sorting these rather than positions in the table keeps each comparison off
// the table's large records.
struct SortKey {
    std::uint64_t heads[3];
    unsigned partId;
    int index;
};

SortKey KeyOf(const PartRecord& part, int index, SortMode mode) {
    const std::array<std::string_view, 3> texts = KeyTexts(part, mode);
    return {{Head(texts[0]), Head(texts[1]), Head(texts[2])}, part.partId, index};
}

} // namespace

bool IsSortedBefore(const PartRecord& a, const PartRecord& b, SortMode mode) {
    return CompareKeys(a, b, mode) <= 0;
}

void FilterAndSortFace(const PartTable& table, Face face, SortMode mode, FaceList& list) {
    const int partCount = ValidCount(table.partCount());
    list.faceCount = 0;
    for (int i = 0; i < partCount; ++i) {
        if (IsOnFace(table.part(i).layer, face))
            list.indexes[list.faceCount++] = i;
    }
    std::vector<SortKey> keys;
    keys.reserve(std::size_t(list.faceCount));
    for (int row = 0; row < list.faceCount; ++row)
        keys.push_back(KeyOf(table.part(list.indexes[row]), list.indexes[row], mode));
    // Ties go by descending table position: the order that inserting the parts one by one in
    // table order, each in front of its equals, would give, without that quadratic cost.
    const auto before = [&](const SortKey& a, const SortKey& b) {
        for (std::size_t field = 0; field < 3; ++field) {
            if (a.heads[field] != b.heads[field])
                return a.heads[field] < b.heads[field];
            // Equal heads that fill all eight bytes may go on differently: the records decide.
            if ((a.heads[field] & 0xFF) != 0) {
                const int whole = CompareKeys(table.part(a.index), table.part(b.index), mode);
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
        const PartRecord& part = table.part(list.indexes[row]);
        if (row == 0 || !IsSameKind(part, table.part(list.indexes[row - 1])))
            ++item;
        itemNumbers[row] = item;
    }
}

} // namespace kavelto
