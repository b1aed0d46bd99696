#include "parts/Navigation.h"

#include <algorithm>

namespace kavelto {

namespace {

std::optional<int> Requested(NavigationKey key, int selectedRow, int faceCount) {
    const int last = faceCount - 1;
    switch (key) {
    case NavigationKey::PageUp:
        return selectedRow <= 0 ? std::nullopt
                                : std::optional<int>(std::max(selectedRow - kPageRows, 0));
    case NavigationKey::PageDown:
        return selectedRow >= last ? std::nullopt
                                   : std::optional<int>(std::min(selectedRow + kPageRows, last));
    case NavigationKey::End:
        return last;
    case NavigationKey::Home:
        return 0;
    case NavigationKey::Up:
        return selectedRow <= 0 ? std::nullopt : std::optional<int>(selectedRow - 1);
    case NavigationKey::Down:
        return selectedRow >= last ? std::nullopt : std::optional<int>(selectedRow + 1);
    }
    return std::nullopt;
}

} // namespace

std::optional<int> NavigationTarget(NavigationKey key, int selectedRow, int faceCount) {
    if (faceCount <= 0)
        return std::nullopt;
    const std::optional<int> target = Requested(key, selectedRow, faceCount);
    if (!target)
        return std::nullopt;
    return std::min(*target, faceCount - 1);
}

std::optional<int> FindNextUnplaced(const PartTable& table, const FaceList& faceList, int startRow,
                                    const std::vector<bool>& passedOver) {
    const int count = std::min(faceList.faceCount, kMaxParts);
    for (int row = std::max(startRow, 0); row < count; ++row) {
        const int part = faceList.indexes[static_cast<std::size_t>(row)];
        const bool passed = static_cast<std::size_t>(part) < passedOver.size() &&
                            passedOver[static_cast<std::size_t>(part)];
        if (!passed && !table.part(part).placed)
            return row;
    }
    return std::nullopt;
}

} // namespace kavelto
