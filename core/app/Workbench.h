#pragma once

#include "Spares.h"
#include "app/CommandInputs.h"
#include "app/Outcome.h"
#include "app/PinOneTable.h"
#include "base/Result.h"
#include "boardfile/BoardShapes.h"
#include "keeping/SessionStore.h"
#include "packages/OutlinesToDraw.h"
#include "session/AssemblySession.h"

#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// What the workbench needs of its surroundings, given once by the window.
struct WorkbenchSetup {
    std::string programName; // the caption of the count's refusal
    // Where "Need help ?" looks for the manual, in order.
    std::vector<std::string> manualPaths;
    // Where running sessions are kept; empty keeps nothing.
    std::string stateFolder;
    // Set when no folder for them could be found: each load then says that nothing is kept.
    bool noStateFolder = false;
    // The file of the user's pin 1 corrections; empty keeps them for this run only.
    std::string pinOneTable{};
};

// The application: one assembly session with what it needs around it, keeping it on disk,
// exporting the pick list and finding the manual. Every command is one call that returns
// what the window must show or do; nothing here shows anything itself.
class Workbench {
public:
    explicit Workbench(WorkbenchSetup setup);

    // Reads the column layout of placement files; the session must not go on after a failure.
    Result<void> loadColumnMap(const std::string& path);

    // Runs a command with what the controls hold.
    Outcome run(CommandId id, const CommandInputs& inputs);
    // The answer the user gave to a command's prompt: goes on when it is the awaited one.
    Outcome answer(const Prompt& prompt, MessageAnswer given, const CommandInputs& inputs);

    // The pointer on the board view, in picture pixels.
    Outcome press(const PicturePoint& point);
    Outcome drag(const PicturePoint& point);
    void release(const PicturePoint& point);
    // Ctrl and the wheel at a point of the board view, and a drag with the middle button.
    Outcome zoomOverview(int wx, int wy, int steps);
    Outcome panOverview(int dx, int dy);
    // The designator typed into the find field.
    Outcome findPart(const std::string& text);
    // The list's own highlight, which the user changes in the list itself.
    void setHighlightedRow(std::optional<int> row);

    const AssemblySession& session() const { return session_; }
    AssemblySession& session() { return session_; }
    std::vector<std::string> designators() const { return session_.designators(); }

    // The restore entry's caption, while a kept session is offered.
    std::optional<std::string> restoreCaption() const;
    // The entry of the sessions kept before, while there is one to choose.
    std::optional<std::string> earlierCaption() const;
    // "Restore session by designators (37 of 146 placed, 14:02)", while a session kept for the
    // file before it was exported again is offered.
    std::optional<std::string> designatorsCaption() const;
    bool showKindSpots() const { return showKindSpots_; }
    // "Pin 1 of <package>...", while the selected part's pin 1 comes from its package name.
    std::optional<std::string> pinOneCaption() const;
    // Whether every placed part of the face is drawn, dim, under the rest.
    bool showPlacedParts() const { return showPlacedParts_; }
    // Whether a new kind of part is announced in a banner over the picture instead of a box.
    bool announceInPicture() const { return announceInPicture_; }
    // The title bar, naming the files loaded.
    std::string windowTitle() const;
    // The exact shapes of the board file loaded with the placement file, by designator.
    const ExactShapes& exactShapes() const { return boardShapes_.shapes(); }
    // The outlines the views draw: while they are shown, the placed parts of the face; then,
    // while the marker stands on the part located, the part's own and, while the kind's spots
    // are shown, the other parts of its kind.
    std::vector<DrawnOutline> outlinesToDraw() const;
    // Whether the pick list adds a count to gather with spares.
    bool sparesPerItem() const { return sparesPerItem_; }
    // "Spares per item (10 %, at least 2 up to 0402; 5 %, at least 1 otherwise)".
    std::optional<std::string> sparesCaption() const;
    // The spares rule as the settings keep it, and taken back from them: a line that gives no
    // rule leaves the rule as it is.
    std::string sparesRuleLine() const;
    void restoreSparesRule(const std::string& line);
    // Whether the selected part is left off the board, for the toggle's check mark.
    bool selectedNotFitted() const;

    // Command handlers, named after the event that runs them.
    Outcome OnLoadPkpFile(const CommandInputs& inputs);
    Outcome OnTop(const CommandInputs& inputs);
    Outcome OnBottom(const CommandInputs& inputs);
    Outcome OnSortChange(const CommandInputs& inputs);
    Outcome OnLoadBitmap(const CommandInputs& inputs);
    Outcome OnRotL(const CommandInputs& inputs);
    Outcome OnRotR(const CommandInputs& inputs);
    Outcome OnFlip(const CommandInputs& inputs);
    Outcome OnZoomIn(const CommandInputs& inputs);
    Outcome OnZoomOut(const CommandInputs& inputs);
    Outcome OnCal1(const CommandInputs& inputs);
    Outcome OnCal2(const CommandInputs& inputs);
    Outcome OnAddCalPoint(const CommandInputs& inputs);
    Outcome OnRemoveLastCalPoint(const CommandInputs& inputs);
    Outcome LocateSelectedPart(const CommandInputs& inputs);
    Outcome OnPlaceUnplace(const CommandInputs& inputs);
    Outcome OnNextUnplaced(const CommandInputs& inputs);
    Outcome OnUnplaceAll(const CommandInputs& inputs);
    Outcome OnUnplaceAllConfirmed(const CommandInputs& inputs);
    Outcome OnPageUp(const CommandInputs& inputs);
    Outcome OnPageDown(const CommandInputs& inputs);
    Outcome OnHome(const CommandInputs& inputs);
    Outcome OnEnd(const CommandInputs& inputs);
    Outcome OnUp(const CommandInputs& inputs);
    Outcome OnDown(const CommandInputs& inputs);
    Outcome OnPickList(const CommandInputs& inputs);
    Outcome OnLogoClick(const CommandInputs& inputs);
    Outcome OnVisitMakerSite(const CommandInputs& inputs);
    Outcome OnShortcuts(const CommandInputs& inputs);
    Outcome OnNeedHelp(const CommandInputs& inputs);
    Outcome OnAbout(const CommandInputs& inputs);
    Outcome OnOk(const CommandInputs& inputs);
    Outcome OnRestoreSession(const CommandInputs& inputs);
    Outcome OnRestoreEarlierSession(const CommandInputs& inputs);
    Outcome OnRestoreChosenSession(const CommandInputs& inputs);
    Outcome OnRestoreByDesignators(const CommandInputs& inputs);
    Outcome OnFindPart(const CommandInputs& inputs);
    Outcome OnShowKindSpots(const CommandInputs& inputs);
    Outcome OnIdentifyPart(const CommandInputs& inputs);
    Outcome OnUndo(const CommandInputs& inputs);
    Outcome OnRedo(const CommandInputs& inputs);
    Outcome OnAnnounceInPicture(const CommandInputs& inputs);
    Outcome OnNudgeLeft(const CommandInputs& inputs);
    Outcome OnNudgeRight(const CommandInputs& inputs);
    Outcome OnNudgeUp(const CommandInputs& inputs);
    Outcome OnNudgeDown(const CommandInputs& inputs);
    Outcome OnWholePicture(const CommandInputs& inputs);
    Outcome OnLoadBoardFile(const CommandInputs& inputs);
    Outcome OnShowPlacedParts(const CommandInputs& inputs);
    Outcome OnPinOneOfPackage(const CommandInputs& inputs);
    Outcome OnPinOneChosen(const CommandInputs& inputs);
    Outcome OnLoadBom(const CommandInputs& inputs);
    Outcome OnToggleNotFitted(const CommandInputs& inputs);
    Outcome OnExportProgress(const CommandInputs& inputs);
    Outcome OnImportProgress(const CommandInputs& inputs);
    Outcome OnSparesPerItem(const CommandInputs& inputs);
    Outcome OnPrintSheets(const CommandInputs& inputs);
    Outcome OnEditSparesRule(const CommandInputs& inputs);
    Outcome OnSparesRuleEdited(const CommandInputs& inputs);

private:
    // Takes the count field's text; on a refusal the outcome says so and focuses the field.
    bool ReadFields(const CommandInputs& inputs, Outcome& outcome);
    // The items of the face shown as the pick list groups them, with spares when they are set.
    std::vector<PickListItem> pickListItems() const;
    Outcome navigate(NavigationKey key);
    Outcome kept(Outcome outcome);
    Outcome returnTo(const std::optional<UndoStep>& step);
    Outcome restore(const KeptSession& kept);
    void offerByDesignators();
    // Loads the board file's shapes for the parts loaded; differing positions in one box.
    void loadBoardFile(const std::string& path, Outcome& outcome);
    // The selected part, while a row of the face is selected.
    const PartRecord* selectedPart() const;
    // The corrections of the board's packages, to keep with the session, and back.
    std::vector<KeptPinOne> keptPinOne() const;
    void restorePinOne(const std::vector<KeptPinOne>& kept, Outcome& outcome);

    WorkbenchSetup setup_;
    AssemblySession session_;
    SessionStore store_;
    bool showKindSpots_ = false;
    bool showPlacedParts_ = false;
    bool announceInPicture_ = false;
    UndoHistory history_;
    // The picture the window was last told to open.
    std::optional<std::string> shownPicture_;
    // The placement file whose parts are listed.
    std::optional<std::string> placementPath_;
    std::optional<KeptSession> byDesignators_; // offered since the load
    BoardShapes boardShapes_;
    // Read as the outlines are asked for, which changes nothing that is seen.
    mutable PackageShapeMemo packageShapes_;
    PinOneTable pinOne_;
    std::uint64_t pinOneRevision_ = 0; // moves with every correction, to keep it
    // The package names of the parts loaded, taken when the session is first kept with a
    // correction set: it is kept at every step, and only their corrections go with it.
    mutable std::optional<std::vector<std::string>> boardPackages_;
    bool sparesPerItem_ = false;
    SparesRule sparesRule_;
};

} // namespace kavelto
