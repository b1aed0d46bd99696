#pragma once

#include "app/CommandId.h"
#include "app/CommandInputs.h"
#include "app/KeyBinding.h"
#include "app/Outcome.h"

#include <optional>
#include <string>
#include <vector>

namespace kavelto {

class Workbench;

// Whether a command is an entry of the right-click menu, and after a separator.
enum class MenuPlace { None, Entry, AfterSeparator };

// The file a command asks the user for before it runs: one to read, or, for Progress, one to write.
enum class FileChoice { None, Placement, Picture, BoardFile, Bom, Progress, ProgressToRead };

// One command: how the user reaches it (its control, keys and menu entry), how the shortcut
// picture and the list of keys name it, and the handler that runs it. The key filter, the
// right-click menu and the shortcut picture are all made from these rows, so a new command is
// one row and its handler.
struct CommandRow {
    CommandId id;
    Outcome (Workbench::*handler)(const CommandInputs&);
    std::vector<KeyBinding> keys = {};
    const char* keypadLegend = ""; // the red legend of its key on the shortcut picture
    // What it does, as its right-click menu entry and the list of keys beside the shortcut
    // picture name it.
    const char* title = "";
    MenuPlace menu = MenuPlace::None;
    // How the menu and the list of keys name its key or gesture; empty for the commands that
    // the shortcut picture shows or that have no key.
    const char* keyText = "";
    FileChoice asks = FileChoice::None;
    // Set for an entry shown only while it applies, with the title it then has.
    std::optional<std::string> (Workbench::*currentTitle)() const = nullptr;
    // Set for an entry that is checked or not.
    bool (Workbench::*checked)() const = nullptr;
    // Where a checked entry's state, or the setting an entry edits, is kept between runs.
    const char* settingsKey = "";
    // Set for an entry that edits a setting kept as text: how the workbench gives it and takes
    // it back at the next run.
    std::string (Workbench::*settingText)() const = nullptr;
    void (Workbench::*restoreSetting)(const std::string& text) = nullptr;
    // Whether what it changes of the marks and the calibration can be undone.
    bool undoable = false;
};

// Every command, the right-click menu's entries in their order.
const std::vector<CommandRow>& CommandTable();

// The row of a command.
const CommandRow& Command(CommandId id);

// The command a key press runs, if any.
const CommandRow* CommandForKey(const KeyPress& press);

// The file choosers' filters, "Name (*.ext)" entries, the first preselected.
const std::vector<const char*>& FileFilters(FileChoice choice);

// Whether the command writes the file chosen, so the user is asked where to save it.
bool ChoosesFileToWrite(FileChoice choice);

} // namespace kavelto
