#include "app/CommandTable.h"
#include "app/Workbench.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace kavelto {
namespace {

// How many rows of the command table the test holds for.
template <typename Test> std::size_t RowsWhere(Test test) {
    const std::vector<CommandRow>& table = CommandTable();
    return static_cast<std::size_t>(std::count_if(table.begin(), table.end(), test));
}

// Each key as the user presses it, and the command it must run (written out from the window's
// key table), or nothing.
struct KeyRow {
    const char* name;
    KeyPress press;
    std::optional<CommandId> runs;
};

KeyPress With(Key key, bool keypad, bool shift = false, bool control = false, bool alt = false) {
    return {key, keypad, shift, control, alt};
}

const KeyRow kKeys[] = {
    {"Enter", With(Key::Return, false), CommandId::PlaceUnplace},
    {"keypad Enter", With(Key::Return, true), CommandId::PlaceUnplace},
    {"Shift+Enter", With(Key::Return, false, true), CommandId::PlaceUnplace},
    {"PgUp", With(Key::PageUp, false), CommandId::PageUp},
    {"keypad PgDn", With(Key::PageDown, true), CommandId::PageDown},
    {"Home", With(Key::Home, false), CommandId::Home},
    {"Ctrl+End", With(Key::End, false, false, true), CommandId::End},
    {"Up", With(Key::Up, false), CommandId::Up},
    {"keypad Down", With(Key::Down, true), CommandId::Down},
    {"Shift+Del", With(Key::Delete, false, true), CommandId::NextUnplaced},
    {"keypad asterisk", With(Key::Asterisk, true), CommandId::RotR},
    {"main asterisk", With(Key::Asterisk, false), std::nullopt},
    {"keypad plus", With(Key::Plus, true), CommandId::ZoomIn},
    {"main plus", With(Key::Plus, false), std::nullopt},
    {"keypad minus", With(Key::Minus, true), CommandId::ZoomOut},
    {"main minus", With(Key::Minus, false), std::nullopt},
    {"keypad slash", With(Key::Slash, true), CommandId::RotL},
    {"main slash", With(Key::Slash, false), std::nullopt},
    {"Ins", With(Key::Insert, false), CommandId::AddCalPoint},
    {"keypad Ins", With(Key::Insert, true), CommandId::AddCalPoint},
    {"Shift+Ins (paste)", With(Key::Insert, false, true), std::nullopt},
    {"Ctrl+Ins (copy)", With(Key::Insert, false, false, true), std::nullopt},
    {"Alt+Ins", With(Key::Insert, false, false, false, true), std::nullopt},
    {"Ctrl+F", With(Key::F, false, false, true), CommandId::FindPart},
    {"F", With(Key::F, false), std::nullopt},
    {"Ctrl+Shift+F", With(Key::F, false, true, true), std::nullopt},
    {"Ctrl+Alt+F", With(Key::F, false, false, true, true), std::nullopt},
    {"Ctrl+Z", With(Key::Z, false, false, true), CommandId::Undo},
    {"Ctrl+Shift+Z", With(Key::Z, false, true, true), CommandId::Redo},
    {"Z", With(Key::Z, false), std::nullopt},
    {"Shift+Z", With(Key::Z, false, true), std::nullopt},
    {"Ctrl+Alt+Z", With(Key::Z, false, false, true, true), std::nullopt},
    {"Alt+Left", With(Key::Left, false, false, false, true), CommandId::NudgeLeft},
    {"Alt+Right", With(Key::Right, false, false, false, true), CommandId::NudgeRight},
    {"Alt+Up", With(Key::Up, false, false, false, true), CommandId::NudgeUp},
    {"keypad Alt+Down", With(Key::Down, true, false, false, true), CommandId::NudgeDown},
    {"Left", With(Key::Left, false), std::nullopt},
    {"Ctrl+Alt+Left", With(Key::Left, false, false, true, true), std::nullopt},
    {"Ctrl+Alt+Up", With(Key::Up, false, false, true, true), CommandId::Up},
    {"Shift+Alt+Down", With(Key::Down, false, true, false, true), CommandId::Down},
    {"Ctrl+0", With(Key::Zero, false, false, true), CommandId::WholePicture},
    {"0", With(Key::Zero, false), std::nullopt},
};

class KeyTest : public testing::TestWithParam<KeyRow> {};

TEST_P(KeyTest, RunsItsCommand) {
    const KeyRow& row = GetParam();
    const CommandRow* command = CommandForKey(row.press);
    EXPECT_EQ(command ? std::optional(command->id) : std::nullopt, row.runs);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyTest, testing::ValuesIn(kKeys), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

TEST(CommandTable, HasOneRowForEachCommandAndOneCommandForEachKey) {
    std::set<CommandId> ids;
    std::set<std::pair<Key, KeyScope>> keys;
    for (const CommandRow& row : CommandTable()) {
        EXPECT_TRUE(ids.insert(row.id).second) << static_cast<int>(row.id);
        EXPECT_NE(row.handler, nullptr) << static_cast<int>(row.id);
        EXPECT_EQ(&Command(row.id), &row);
        for (const KeyBinding& binding : row.keys)
            EXPECT_TRUE(keys.insert({binding.key, binding.scope}).second);
    }
    EXPECT_EQ(ids.size(), 59u);
}

// The right-click menu in its order, the separator before the restore entry, the keys named.
TEST(CommandTable, MakesTheMenuInItsOrder) {
    std::vector<std::string> menu;
    for (const CommandRow& row : CommandTable()) {
        if (row.menu == MenuPlace::AfterSeparator)
            menu.push_back("-");
        if (row.menu != MenuPlace::None)
            menu.push_back(std::string(row.title) + (*row.keyText ? "\t" : "") + row.keyText);
    }
    EXPECT_EQ(menu, (std::vector<std::string>{"&About Kavelto...",
                                              "-",
                                              "Restore session",
                                              "Find part...\tCtrl+F",
                                              "Show all parts of this kind",
                                              "Add calibration point\tIns",
                                              "Remove last calibration point",
                                              "Restore an earlier session...",
                                              "Restore session by designators",
                                              "Load board file",
                                              "Show placed parts",
                                              "Pin 1 of the package...",
                                              "-",
                                              "Undo\tCtrl+Z",
                                              "Redo\tCtrl+Shift+Z",
                                              "-",
                                              "Announce new kinds in the picture",
                                              "-",
                                              "Load BOM...",
                                              "Not fitted (DNP)",
                                              "Export progress...",
                                              "Import progress...",
                                              "Print sheets...",
                                              "Spares per item",
                                              "Spares rule..."}));
}

// The red legends of the keypad picture.
TEST(CommandTable, NamesEachKeypadKeysCommand) {
    const std::pair<CommandId, const char*> legends[] = {
        {CommandId::RotL, "Rot Left"},
        {CommandId::RotR, "Rot Right"},
        {CommandId::ZoomOut, "Zoom Out"},
        {CommandId::ZoomIn, "Zoom In"},
        {CommandId::Home, "First Part"},
        {CommandId::Up, "Prev Part"},
        {CommandId::PageUp, "Prev Page"},
        {CommandId::End, "Last Part"},
        {CommandId::Down, "Next Part"},
        {CommandId::PageDown, "Next Page"},
        {CommandId::PlaceUnplace, "Place / Unplace"},
        {CommandId::AddCalPoint, "Add Cal Point"},
        {CommandId::NextUnplaced, "Next Unplaced"},
    };
    for (const auto& [id, legend] : legends)
        EXPECT_STREQ(Command(id).keypadLegend, legend) << legend;
}

// Each command that asks for a file, the kind it asks for and the filter its dialog opens on.
TEST(CommandTable, AsksForTheFileOfEachLoad) {
    const struct {
        CommandId command;
        FileChoice choice;
        const char* firstFilter;
    } rows[] = {
        {CommandId::LoadPkpFile, FileChoice::Placement,
         "Placement files (*.pkp *.txt *.csv *.pos *.mnt *.mnb)"},
        {CommandId::LoadBitmap, FileChoice::Picture, "Pictures (*.bmp *.jpg *.jpeg *.png)"},
        {CommandId::LoadBoardFile, FileChoice::BoardFile, "KiCad board files (*.kicad_pcb)"},
        {CommandId::LoadBom, FileChoice::Bom, "Bills of materials (*.csv *.txt *.tsv)"},
        {CommandId::ExportProgress, FileChoice::Progress, "Progress (*.csv)"},
        {CommandId::ImportProgress, FileChoice::ProgressToRead, "Progress (*.csv *.txt *.tsv)"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Command(row.command).asks, row.choice) << row.firstFilter;
        ASSERT_FALSE(FileFilters(row.choice).empty()) << row.firstFilter;
        EXPECT_STREQ(FileFilters(row.choice).front(), row.firstFilter);
    }
    EXPECT_STREQ(FileFilters(FileChoice::Placement).back(), "All files (*)");
    EXPECT_TRUE(FileFilters(FileChoice::None).empty());
    EXPECT_EQ(Command(CommandId::About).asks, FileChoice::None);
}

// Only the progress export writes the file it asks for; every other choice opens one.
TEST(CommandTable, AsksWhereToSaveOnlyTheFileItWrites) {
    EXPECT_EQ(Command(CommandId::ExportProgress).asks, FileChoice::Progress);
    for (const FileChoice choice :
         {FileChoice::Placement, FileChoice::Picture, FileChoice::BoardFile, FileChoice::Bom})
        EXPECT_FALSE(ChoosesFileToWrite(choice));
    EXPECT_TRUE(ChoosesFileToWrite(FileChoice::Progress));
}

// What each checked entry and the rule it edits are kept under between runs: a key dropped or
// renamed forgets the user's choice at the next start.
TEST(CommandTable, KeepsEachSettingUnderItsKey) {
    const std::pair<CommandId, const char*> rows[] = {
        {CommandId::ShowKindSpots, "showKindSpots"},
        {CommandId::ShowPlacedParts, "showPlacedParts"},
        {CommandId::AnnounceInPicture, "announceInPicture"},
        {CommandId::SparesPerItem, "sparesPerItem"},
        {CommandId::EditSparesRule, "sparesRule"},
    };
    for (const auto& [id, key] : rows)
        EXPECT_STREQ(Command(id).settingsKey, key) << key;
    EXPECT_EQ(RowsWhere([](const CommandRow& row) { return *row.settingsKey != '\0'; }),
              std::size(rows));
}

// Each checked entry shows the setting it turns, or the state of the selected part it turns.
TEST(CommandTable, ChecksEachEntryByWhatItTurns) {
    const std::pair<CommandId, bool (Workbench::*)() const> rows[] = {
        {CommandId::ShowKindSpots, &Workbench::showKindSpots},
        {CommandId::ShowPlacedParts, &Workbench::showPlacedParts},
        {CommandId::AnnounceInPicture, &Workbench::announceInPicture},
        {CommandId::SparesPerItem, &Workbench::sparesPerItem},
        {CommandId::ToggleNotFitted, &Workbench::selectedNotFitted},
    };
    for (const auto& [id, setting] : rows)
        EXPECT_TRUE(Command(id).checked == setting) << static_cast<int>(id);
    EXPECT_EQ(RowsWhere([](const CommandRow& row) { return row.checked != nullptr; }),
              std::size(rows));
}

// The spares rule's entry shows the rule in force; no other entry shows a setting's text.
TEST(CommandTable, ShowsTheSparesRuleInItsEntry) {
    EXPECT_TRUE(Command(CommandId::EditSparesRule).settingText == &Workbench::sparesRuleLine);
    EXPECT_EQ(RowsWhere([](const CommandRow& row) { return row.settingText != nullptr; }), 1u);
}

} // namespace
} // namespace kavelto
