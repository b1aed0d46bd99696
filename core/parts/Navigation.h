#pragma once

#include "parts/FaceList.h"
#include "parts/PartTable.h"

#include <optional>
#include <vector>

namespace kavelto {

enum class NavigationKey { PageUp, PageDown, End, Home, Up, Down };

inline constexpr int kPageRows = 8;

// The row a navigation key moves the selection to, or nothing when the key does nothing.
// A selected row left over from a longer list is taken as the list's last row, so the
// result is always a row that exists.
std::optional<int> NavigationTarget(NavigationKey key, int selectedRow, int faceCount);

// The first row from startRow on whose part is not placed, if any, passing over the parts whose
// table position passedOver flags (parts left off the board). The search does not wrap around.
std::optional<int> FindNextUnplaced(const PartTable& table, const FaceList& faceList, int startRow,
                                    const std::vector<bool>& passedOver = {});

} // namespace kavelto
