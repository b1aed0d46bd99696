#include "app/CommandTable.h"

#include "app/Workbench.h"
#include "keeping/KeepingMessages.h"

#include <algorithm>

namespace kavelto {

namespace {

using W = Workbench;
constexpr KeyScope kAny = KeyScope::AnyModifiers;
constexpr KeyScope kKeypad = KeyScope::KeypadOnly;

CommandRow& Command(std::vector<CommandRow>& rows, CommandId id) {
    return *std::find_if(rows.begin(), rows.end(),
                         [id](const CommandRow& row) { return row.id == id; });
}

std::vector<CommandRow> MakeTable() {
    std::vector<CommandRow> rows = {
        // The right-click menu, in its order.
        {CommandId::About, &W::OnAbout, {}, "", "&About Kavelto...", MenuPlace::Entry},
        {CommandId::RestoreSession,
         &W::OnRestoreSession,
         {},
         "",
         "Restore session",
         MenuPlace::AfterSeparator},
        {CommandId::FindPart,
         &W::OnFindPart,
         {{Key::F, KeyScope::Control}},
         "",
         "Find part...",
         MenuPlace::Entry,
         "Ctrl+F"},
        {CommandId::ShowKindSpots,
         &W::OnShowKindSpots,
         {},
         "",
         "Show all parts of this kind",
         MenuPlace::Entry},
        {CommandId::AddCalPoint,
         &W::OnAddCalPoint,
         {{Key::Insert, KeyScope::Plain}},
         "Add Cal Point",
         "Add calibration point",
         MenuPlace::Entry,
         "Ins"},
        {CommandId::RemoveLastCalPoint,
         &W::OnRemoveLastCalPoint,
         {},
         "",
         "Remove last calibration point",
         MenuPlace::Entry},
        // A gesture on the picture, listed with the keys.
        {CommandId::IdentifyPart,
         &W::OnIdentifyPart,
         {},
         "",
         "Select the part pressed on",
         MenuPlace::None,
         "Ctrl+press on the picture"},
        // The keys of the shortcut picture.
        {CommandId::PlaceUnplace, &W::OnPlaceUnplace, {{Key::Return, kAny}}, "Place / Unplace"},
        {CommandId::PageUp, &W::OnPageUp, {{Key::PageUp, kAny}}, "Prev Page"},
        {CommandId::PageDown, &W::OnPageDown, {{Key::PageDown, kAny}}, "Next Page"},
        {CommandId::End, &W::OnEnd, {{Key::End, kAny}}, "Last Part"},
        {CommandId::Home, &W::OnHome, {{Key::Home, kAny}}, "First Part"},
        {CommandId::Up, &W::OnUp, {{Key::Up, kAny}}, "Prev Part"},
        {CommandId::Down, &W::OnDown, {{Key::Down, kAny}}, "Next Part"},
        {CommandId::NextUnplaced, &W::OnNextUnplaced, {{Key::Delete, kAny}}, "Next Unplaced"},
        {CommandId::RotR, &W::OnRotR, {{Key::Asterisk, kKeypad}}, "Rot Right"},
        {CommandId::ZoomIn, &W::OnZoomIn, {{Key::Plus, kKeypad}}, "Zoom In"},
        {CommandId::ZoomOut, &W::OnZoomOut, {{Key::Minus, kKeypad}}, "Zoom Out"},
        {CommandId::RotL, &W::OnRotL, {{Key::Slash, kKeypad}}, "Rot Left"},
        // The controls of the window.
        {CommandId::LoadBitmap, &W::OnLoadBitmap},
        {CommandId::LoadPkpFile, &W::OnLoadPkpFile},
        {CommandId::Flip, &W::OnFlip},
        {CommandId::Cal1, &W::OnCal1},
        {CommandId::Cal2, &W::OnCal2},
        {CommandId::Top, &W::OnTop},
        {CommandId::Bottom, &W::OnBottom},
        {CommandId::SortChange, &W::OnSortChange},
        {CommandId::LocateSelectedPart, &W::LocateSelectedPart},
        {CommandId::UnplaceAll, &W::OnUnplaceAll},
        {CommandId::PickList, &W::OnPickList},
        {CommandId::LogoClick, &W::OnLogoClick},
        {CommandId::Shortcuts, &W::OnShortcuts},
        {CommandId::NeedHelp, &W::OnNeedHelp},
        {CommandId::Ok, &W::OnOk},
        // What a command goes on with after its question.
        {CommandId::UnplaceAllConfirmed, &W::OnUnplaceAllConfirmed},
        {CommandId::VisitMakerSite, &W::OnVisitMakerSite},
        // The sessions kept before, listed to choose from.
        {CommandId::RestoreEarlierSession,
         &W::OnRestoreEarlierSession,
         {},
         "",
         kRestoreEarlierTitle,
         MenuPlace::Entry},
        {CommandId::RestoreChosenSession, &W::OnRestoreChosenSession},
        // The marks of the file before it was exported again, by designator.
        {CommandId::RestoreByDesignators,
         &W::OnRestoreByDesignators,
         {},
         "",
         "Restore session by designators",
         MenuPlace::Entry},
        // The board file's exact outlines, from the right-click menu.
        {CommandId::LoadBoardFile,
         &W::OnLoadBoardFile,
         {},
         "",
         "Load board file",
         MenuPlace::Entry},
        {CommandId::ShowPlacedParts,
         &W::OnShowPlacedParts,
         {},
         "",
         "Show placed parts",
         MenuPlace::Entry},
        {CommandId::PinOneOfPackage,
         &W::OnPinOneOfPackage,
         {},
         "",
         "Pin 1 of the package...",
         MenuPlace::Entry},
        {CommandId::PinOneChosen, &W::OnPinOneChosen},
        // Beside the window's own commands, in the right-click menu.
        {CommandId::Undo,
         &W::OnUndo,
         {{Key::Z, KeyScope::Control}},
         "",
         "Undo",
         MenuPlace::AfterSeparator,
         "Ctrl+Z"},
        {CommandId::Redo,
         &W::OnRedo,
         {{Key::Z, KeyScope::ControlShift}},
         "",
         "Redo",
         MenuPlace::Entry,
         "Ctrl+Shift+Z"},
        {CommandId::AnnounceInPicture,
         &W::OnAnnounceInPicture,
         {},
         "",
         "Announce new kinds in the picture",
         MenuPlace::AfterSeparator},
        // The pressed point moved by one picture pixel, in the directions of the screen.
        {CommandId::NudgeLeft,
         &W::OnNudgeLeft,
         {{Key::Left, KeyScope::Alt}},
         "",
         "Move the pressed point by one picture pixel",
         MenuPlace::None,
         "Alt+arrow keys"},
        {CommandId::NudgeRight, &W::OnNudgeRight, {{Key::Right, KeyScope::Alt}}},
        {CommandId::NudgeUp, &W::OnNudgeUp, {{Key::Up, KeyScope::Alt}}},
        {CommandId::NudgeDown, &W::OnNudgeDown, {{Key::Down, KeyScope::Alt}}},
        // The board view fitted whole again after Ctrl+wheel enlarged it.
        {CommandId::WholePicture,
         &W::OnWholePicture,
         {{Key::Zero, KeyScope::Control}},
         "",
         "Whole picture again",
         MenuPlace::None,
         "Ctrl+0"},
        // The bill of materials, at the end of the right-click menu.
        {CommandId::LoadBom, &W::OnLoadBom, {}, "", "Load BOM...", MenuPlace::AfterSeparator},
        {CommandId::ToggleNotFitted,
         &W::OnToggleNotFitted,
         {},
         "",
         "Not fitted (DNP)",
         MenuPlace::Entry},
        {CommandId::ExportProgress,
         &W::OnExportProgress,
         {},
         "",
         "Export progress...",
         MenuPlace::Entry},
        {CommandId::ImportProgress,
         &W::OnImportProgress,
         {},
         "",
         "Import progress...",
         MenuPlace::Entry},
        {CommandId::PrintSheets, &W::OnPrintSheets, {}, "", "Print sheets...", MenuPlace::Entry},
        {CommandId::SparesPerItem,
         &W::OnSparesPerItem,
         {},
         "",
         "Spares per item",
         MenuPlace::Entry},
        {CommandId::EditSparesRule,
         &W::OnEditSparesRule,
         {},
         "",
         "Spares rule...",
         MenuPlace::Entry},
        {CommandId::SparesRuleEdited, &W::OnSparesRuleEdited},
    };
    Command(rows, CommandId::RestoreSession).currentTitle = &W::restoreCaption;
    Command(rows, CommandId::RestoreEarlierSession).currentTitle = &W::earlierCaption;
    Command(rows, CommandId::RestoreByDesignators).currentTitle = &W::designatorsCaption;
    CommandRow& spots = Command(rows, CommandId::ShowKindSpots);
    spots.checked = &W::showKindSpots;
    spots.settingsKey = "showKindSpots";
    Command(rows, CommandId::PinOneOfPackage).currentTitle = &W::pinOneCaption;
    CommandRow& placed = Command(rows, CommandId::ShowPlacedParts);
    placed.checked = &W::showPlacedParts;
    placed.settingsKey = "showPlacedParts";
    CommandRow& announce = Command(rows, CommandId::AnnounceInPicture);
    announce.checked = &W::announceInPicture;
    announce.settingsKey = "announceInPicture";
    for (const CommandId id :
         {CommandId::PlaceUnplace, CommandId::Ok, CommandId::UnplaceAllConfirmed, CommandId::Cal1,
          CommandId::Cal2, CommandId::AddCalPoint, CommandId::RemoveLastCalPoint,
          CommandId::ImportProgress})
        Command(rows, id).undoable = true;
    Command(rows, CommandId::LoadPkpFile).asks = FileChoice::Placement;
    Command(rows, CommandId::LoadBitmap).asks = FileChoice::Picture;
    Command(rows, CommandId::LoadBoardFile).asks = FileChoice::BoardFile;
    Command(rows, CommandId::LoadBom).asks = FileChoice::Bom;
    Command(rows, CommandId::ExportProgress).asks = FileChoice::Progress;
    Command(rows, CommandId::ImportProgress).asks = FileChoice::ProgressToRead;
    Command(rows, CommandId::ToggleNotFitted).checked = &W::selectedNotFitted;
    CommandRow& spares = Command(rows, CommandId::SparesPerItem);
    spares.checked = &W::sparesPerItem;
    spares.settingsKey = "sparesPerItem";
    spares.currentTitle = &W::sparesCaption;
    CommandRow& rule = Command(rows, CommandId::EditSparesRule);
    rule.settingsKey = "sparesRule";
    rule.settingText = &W::sparesRuleLine;
    rule.restoreSetting = &W::restoreSparesRule;
    return rows;
}

} // namespace

bool Matches(const KeyBinding& binding, const KeyPress& press) {
    if (binding.key != press.key)
        return false;
    switch (binding.scope) {
    case KeyScope::AnyModifiers:
        return true;
    case KeyScope::KeypadOnly:
        return press.keypad;
    case KeyScope::Plain:
        return !press.shift && !press.control && !press.alt;
    case KeyScope::Control:
        return press.control && !press.shift && !press.alt;
    case KeyScope::ControlShift:
        return press.control && press.shift && !press.alt;
    case KeyScope::Alt:
        return press.alt && !press.control && !press.shift;
    }
    return false;
}

const std::vector<CommandRow>& CommandTable() {
    static const std::vector<CommandRow> table = MakeTable();
    return table;
}

const CommandRow& Command(CommandId id) {
    const std::vector<CommandRow>& table = CommandTable();
    return *std::find_if(table.begin(), table.end(),
                         [id](const CommandRow& row) { return row.id == id; });
}

// A binding that names its modifiers goes before one that takes the key whatever is held: Alt+Up
// moves the pressed point, Up with anything else moves the selection.
const CommandRow* CommandForKey(const KeyPress& press) {
    for (const bool anyModifiers : {false, true})
        for (const CommandRow& row : CommandTable())
            for (const KeyBinding& binding : row.keys)
                if ((binding.scope == KeyScope::AnyModifiers) == anyModifiers &&
                    Matches(binding, press))
                    return &row;
    return nullptr;
}

const std::vector<const char*>& FileFilters(FileChoice choice) {
    static const std::vector<const char*> placement = {
        "Placement files (*.pkp *.txt *.csv *.pos *.mnt *.mnb)", "PKP (*.pkp)", "TXT (*.txt)",
        "All files (*)"};
    static const std::vector<const char*> picture = {"Pictures (*.bmp *.jpg *.jpeg *.png)",
                                                     "BMP (*.bmp)", "JPEG (*.jpg *.jpeg)"};
    static const std::vector<const char*> board = {"KiCad board files (*.kicad_pcb)",
                                                   "All files (*)"};
    static const std::vector<const char*> bom = {"Bills of materials (*.csv *.txt *.tsv)",
                                                 "All files (*)"};
    static const std::vector<const char*> progress = {"Progress (*.csv)"};
    static const std::vector<const char*> progressToRead = {"Progress (*.csv *.txt *.tsv)",
                                                            "All files (*)"};
    static const std::vector<const char*> none;
    switch (choice) {
    case FileChoice::Placement:
        return placement;
    case FileChoice::Picture:
        return picture;
    case FileChoice::BoardFile:
        return board;
    case FileChoice::Bom:
        return bom;
    case FileChoice::Progress:
        return progress;
    case FileChoice::ProgressToRead:
        return progressToRead;
    case FileChoice::None:
        break;
    }
    return none;
}

bool ChoosesFileToWrite(FileChoice choice) {
    return choice == FileChoice::Progress;
}

} // namespace kavelto
