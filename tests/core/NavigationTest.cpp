#include "Navigation.h"

#include <gtest/gtest.h>

#include <memory>

namespace kavelto {
namespace {

struct NavigationCase {
    NavigationKey key;
    int selectedRow;
    int faceCount;
    int target;
};

TEST(Navigation, KeysStayOnRowsThatExist) {
    const NavigationCase cases[] = {
        {NavigationKey::Up, 0, 10, kNoRow},
        {NavigationKey::Up, 4, 10, 3},
        {NavigationKey::Down, 9, 10, kNoRow},
        {NavigationKey::Down, 4, 10, 5},
        {NavigationKey::PageUp, 0, 10, kNoRow},
        {NavigationKey::PageUp, 5, 10, 0},
        {NavigationKey::PageUp, 9, 10, 1},
        {NavigationKey::PageDown, 7, 10, 9},
        {NavigationKey::PageDown, 1, 10, 9},
        {NavigationKey::PageDown, 0, 20, 8},
        {NavigationKey::PageDown, 9, 10, kNoRow},
        {NavigationKey::Home, 6, 10, 0},
        {NavigationKey::End, 2, 10, 9},
        // An empty list: every key does nothing, whatever row is remembered.
        {NavigationKey::Up, 0, 0, kNoRow},
        {NavigationKey::Up, 5, 0, kNoRow},
        {NavigationKey::PageUp, 5, 0, kNoRow},
        {NavigationKey::Down, 0, 0, kNoRow},
        {NavigationKey::Home, 3, 0, kNoRow},
        {NavigationKey::End, 3, 0, kNoRow},
        // A row remembered from a longer list counts as the last row that exists.
        {NavigationKey::Up, 40, 3, 2},
        {NavigationKey::PageUp, 40, 3, 2},
        {NavigationKey::Down, 40, 3, kNoRow},
        {NavigationKey::Home, 40, 3, 0},
    };
    for (const NavigationCase& c : cases) {
        EXPECT_EQ(NavigationTarget(c.key, c.selectedRow, c.faceCount), c.target)
            << "key " << static_cast<int>(c.key) << " from " << c.selectedRow << " of "
            << c.faceCount;
    }
}

TEST(Navigation, NextUnplacedScansForwardWithoutWrapping) {
    auto table = std::make_unique<PartTable>();
    auto list = std::make_unique<FaceList>();
    const int placed[] = {1, 0, 1, 1, 0, 1};
    table->partCount = 6;
    list->faceCount = 6;
    for (int row = 0; row < 6; ++row) {
        // Rows list the table backwards, so the scan must go through the face list.
        list->indexes[static_cast<std::size_t>(row)] = 5 - row;
        table->parts[static_cast<std::size_t>(5 - row)].placed =
            static_cast<std::uint8_t>(placed[row]);
    }
    EXPECT_EQ(FindNextUnplaced(*table, *list, 0), 1);
    EXPECT_EQ(FindNextUnplaced(*table, *list, 2), 4);
    EXPECT_EQ(FindNextUnplaced(*table, *list, 5), kNoRow);
    EXPECT_EQ(FindNextUnplaced(*table, *list, 6), kNoRow);
    EXPECT_EQ(FindNextUnplaced(*table, *list, 60), kNoRow);
    list->faceCount = 0;
    EXPECT_EQ(FindNextUnplaced(*table, *list, 0), kNoRow);
}

} // namespace
} // namespace kavelto
