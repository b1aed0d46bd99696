#include "parts/Navigation.h"

#include <algorithm>

namespace kavelto {

namespace {

int Requested(NavigationKey key, int selectedRow, int faceCount) {
    const int last = faceCount - 1;
    switch (key) {
    case NavigationKey::PageUp:
        return selectedRow <= 0 ? kNoRow : std::max(selectedRow - kPageRows, 0);
    case NavigationKey::PageDown:
        return selectedRow >= last ? kNoRow : std::min(selectedRow + kPageRows, last);
    case NavigationKey::End:
        return faceCount == 0 ? kNoRow : last;
    case NavigationKey::Home:
        return faceCount == 0 ? kNoRow : 0;
    case NavigationKey::Up:
        return selectedRow <= 0 ? kNoRow : selectedRow - 1;
    case NavigationKey::Down:
        return selectedRow >= last ? kNoRow : selectedRow + 1;
    }
    return kNoRow;
}

} // namespace

int NavigationTarget(NavigationKey key, int selectedRow, int faceCount) {
    if (faceCount <= 0)
        return kNoRow;
    const int target = Requested(key, selectedRow, faceCount);
    return target == kNoRow ? kNoRow : std::min(target, faceCount - 1);
}

int FindNextUnplaced(const PartTable& table, const FaceList& faceList, int startRow) {
    const int count = std::min(faceList.faceCount, kMaxParts);
    for (int row = std::max(startRow, 0); row < count; ++row) {
        if (!table.parts[static_cast<std::size_t>(faceList.indexes[static_cast<std::size_t>(row)])]
                 .placed)
            return row;
    }
    return kNoRow;
}

} // namespace kavelto
