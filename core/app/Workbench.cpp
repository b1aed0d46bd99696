#include "app/Workbench.h"

#include "PickList.h"
#include "PickListPage.h"
#include "PickListPath.h"
#include "PickListText.h"
#include "ProgressExport.h"
#include "SparesTable.h"
#include "app/AppMessages.h"
#include "app/CommandTable.h"
#include "base/AppIdentity.h"
#include "boardfile/BoardFileMessages.h"
#include "keeping/KeepingMessages.h"

#include <ctime>
#include <set>
#include <sys/stat.h>

namespace kavelto {

namespace {

// Each package name of the table once, in order.
std::vector<std::string> PackageNames(const PartTable& table) {
    std::set<std::string> names;
    for (const PartRecord& part : table.parts())
        names.insert(std::string(part.package));
    return {names.begin(), names.end()};
}

// The local date, as the sheets' cover shows it.
std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[16];
    if (!localtime_r(&now, &local) || std::strftime(text, sizeof text, "%Y-%m-%d", &local) == 0)
        return {};
    return text;
}

bool FileExists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

// The spares rule's table with these cells; the table as left goes on to be read.
TableEdit SparesTableEdit(TableCells cells) {
    return {"Spares per item", SparesColumns(), std::move(cells), CommandId::SparesRuleEdited};
}

// Asks again with the same command, once the user has put things right.
Prompt RetryPrompt(UserMessage message, CommandId command) {
    return {std::move(message), MessageAnswer::Retry, command};
}

} // namespace

Workbench::Workbench(WorkbenchSetup setup)
    : setup_(std::move(setup)), store_(setup_.stateFolder), pinOne_(setup_.pinOneTable) {
    packageShapes_.correct(pinOne_.corrections());
}

Result<void> Workbench::loadColumnMap(const std::string& path) {
    return session_.loadColumnMap(path);
}

// A command that can be undone leaves a step when it changed marks or calibration.
Outcome Workbench::run(CommandId id, const CommandInputs& inputs) {
    const CommandRow& command = Command(id);
    if (!command.undoable)
        return kept((this->*command.handler)(inputs));
    UndoStep before = session_.undoState();
    Outcome outcome = (this->*command.handler)(inputs);
    history_.record(std::move(before), session_.undoState());
    return kept(std::move(outcome));
}

Outcome Workbench::answer(const Prompt& prompt, MessageAnswer given, const CommandInputs& inputs) {
    if (given != prompt.answer)
        return {};
    return run(prompt.next, inputs);
}

// Every change reaches the kept session; a write that failed is told once. A face that came back
// with its own picture has the window open it.
Outcome Workbench::kept(Outcome outcome) {
    if (session_.view().bitmapPath != shownPicture_) {
        shownPicture_ = session_.view().bitmapPath;
        outcome.pictureChanged = true;
    }
    // Both counts only grow, so their sum moves whenever either does.
    store_.keep(session_.keptRevision() + pinOneRevision_, [this] {
        KeptSession kept = session_.keptState();
        kept.pinOne = keptPinOne();
        return kept;
    });
    if (std::optional<UserMessage> failure = store_.takeFailure())
        outcome.messages.push_back(*std::move(failure));
    return outcome;
}

std::optional<std::string> Workbench::restoreCaption() const {
    const std::optional<KeptSession> offered = store_.offered();
    if (!offered)
        return std::nullopt;
    return RestoreCaption(*offered);
}

std::string Workbench::windowTitle() const {
    return WindowTitle(placementPath_, session_.view().bitmapPath);
}

// A file exported again offers the marks kept for it before by designator, when at least half of
// them name a part of it still, and no session of this very content is offered.
void Workbench::offerByDesignators() {
    std::optional<KeptSession> kept = store_.keptForOtherContent();
    if (!kept || store_.offered() ||
        2 * static_cast<std::size_t>(session_.knownMarks(kept->marks)) < kept->marks.size())
        return;
    byDesignators_ = std::move(kept);
}

std::optional<std::string> Workbench::designatorsCaption() const {
    if (!byDesignators_)
        return std::nullopt;
    return DesignatorsCaption(*byDesignators_);
}

std::optional<std::string> Workbench::earlierCaption() const {
    if (store_.history().empty())
        return std::nullopt;
    return std::string(kRestoreEarlierTitle);
}

bool Workbench::ReadFields(const CommandInputs& inputs, Outcome& outcome) {
    if (session_.readPcbCount(inputs.pcbCountText))
        return true;
    outcome.messages.push_back(CountRefusal(setup_.programName));
    outcome.focusPcbCount = true;
    return false;
}

// ---- the pointer and the find field

Outcome Workbench::press(const PicturePoint& point) {
    return kept(Outcome(session_.pressOnPicture(point)));
}

Outcome Workbench::drag(const PicturePoint& point) {
    return kept(Outcome(session_.dragOnPicture(point)));
}

Outcome Workbench::zoomOverview(int wx, int wy, int steps) {
    return Outcome(session_.zoomOverview(wx, wy, steps));
}

Outcome Workbench::panOverview(int dx, int dy) {
    return Outcome(session_.panOverview(dx, dy));
}

void Workbench::release(const PicturePoint& point) {
    session_.releaseOnPicture(point);
}

Outcome Workbench::findPart(const std::string& text) {
    const std::optional<SessionUpdate> update = session_.findPart(text);
    if (!update) {
        Outcome outcome;
        outcome.findFailed = true;
        return outcome;
    }
    return kept(Outcome(*update));
}

void Workbench::setHighlightedRow(std::optional<int> row) {
    session_.setHighlightedRow(row);
}

// ---- placement file and face list

// Loading starts afresh; the session kept for the file is offered for restoring. A board that
// another window keeps, or a folder where nothing can be kept, is said to be so before anything
// is placed here, and so is a kept session found damaged.
Outcome Workbench::OnLoadPkpFile(const CommandInputs& inputs) {
    Outcome outcome(session_.loadPlacementFile(inputs.chosenFile));
    history_.clear();
    placementPath_.reset();
    byDesignators_.reset();
    if (std::optional<UserMessage> mismatches = session_.bomMismatchNotice())
        outcome.messages.push_back(*std::move(mismatches));
    if (!inputs.chosenFile || session_.table().partCount() == 0) {
        store_.closeFile();
        return outcome;
    }
    placementPath_ = inputs.chosenFile;
    boardPackages_.reset();
    if (setup_.noStateFolder)
        outcome.messages.push_back(NoStateFolderMessage());
    if (const Result<void> opened = store_.openFile(*inputs.chosenFile); !opened)
        outcome.messages.push_back(opened.failure());
    for (UserMessage& damaged : store_.takeDamaged())
        outcome.messages.push_back(std::move(damaged));
    offerByDesignators();
    // The design tool's board file of the same name, beside it, makes the outlines exact.
    boardShapes_.clear();
    if (const std::string board = BoardFileBeside(*inputs.chosenFile); FileExists(board))
        loadBoardFile(board, outcome);
    return outcome;
}

Outcome Workbench::OnTop(const CommandInputs&) {
    return Outcome(session_.changeFace(Face::Top));
}

Outcome Workbench::OnBottom(const CommandInputs&) {
    return Outcome(session_.changeFace(Face::Bottom));
}

// A refused count does not stop the new order.
Outcome Workbench::OnSortChange(const CommandInputs& inputs) {
    Outcome outcome;
    ReadFields(inputs, outcome);
    outcome.take(session_.changeSort(inputs.sortEntry));
    return outcome;
}

// ---- board view and calibration

// The calibrations of the steps before named pixels of another picture.
Outcome Workbench::OnLoadBitmap(const CommandInputs& inputs) {
    Outcome outcome(session_.loadBitmap(inputs.chosenFile));
    history_.clear();
    outcome.pictureChanged = true;
    return outcome;
}

Outcome Workbench::OnRotL(const CommandInputs&) {
    return Outcome(session_.rotateLeft());
}

Outcome Workbench::OnRotR(const CommandInputs&) {
    return Outcome(session_.rotateRight());
}

Outcome Workbench::OnFlip(const CommandInputs&) {
    return Outcome(session_.flip());
}

Outcome Workbench::OnZoomIn(const CommandInputs&) {
    return Outcome(session_.zoomIn());
}

Outcome Workbench::OnZoomOut(const CommandInputs&) {
    return Outcome(session_.zoomOut());
}

Outcome Workbench::OnCal1(const CommandInputs&) {
    return Outcome(session_.cal1());
}

Outcome Workbench::OnCal2(const CommandInputs&) {
    return Outcome(session_.cal2());
}

Outcome Workbench::OnAddCalPoint(const CommandInputs&) {
    return Outcome(session_.addCalPoint());
}

Outcome Workbench::OnRemoveLastCalPoint(const CommandInputs&) {
    return Outcome(session_.removeLastCalPoint());
}

Outcome Workbench::LocateSelectedPart(const CommandInputs&) {
    return Outcome(session_.LocateSelectedPart());
}

// ---- placing and moving through the list

// The new kind's notice goes into the picture's banner, when the user chose that, instead of a
// box.
Outcome Workbench::OnPlaceUnplace(const CommandInputs&) {
    SessionUpdate update = session_.placeUnplace();
    Outcome outcome;
    if (announceInPicture_ && update.message) {
        outcome.banner = BannerText(*update.message);
        update.message.reset();
    }
    outcome.take(std::move(update));
    return outcome;
}

Outcome Workbench::OnNextUnplaced(const CommandInputs&) {
    return Outcome(session_.nextUnplaced());
}

Outcome Workbench::OnUnplaceAll(const CommandInputs&) {
    Outcome outcome;
    outcome.prompt =
        Prompt{UnplaceAllQuestion(), MessageAnswer::Ok, CommandId::UnplaceAllConfirmed};
    return outcome;
}

// The marks cleared can be restored: the kept session moves aside at the next change.
Outcome Workbench::OnUnplaceAllConfirmed(const CommandInputs&) {
    store_.startAfresh();
    return Outcome(session_.unplaceAll());
}

Outcome Workbench::navigate(NavigationKey key) {
    return Outcome(session_.navigate(key));
}

Outcome Workbench::OnPageUp(const CommandInputs&) {
    return navigate(NavigationKey::PageUp);
}

Outcome Workbench::OnPageDown(const CommandInputs&) {
    return navigate(NavigationKey::PageDown);
}

Outcome Workbench::OnHome(const CommandInputs&) {
    return navigate(NavigationKey::Home);
}

Outcome Workbench::OnEnd(const CommandInputs&) {
    return navigate(NavigationKey::End);
}

Outcome Workbench::OnUp(const CommandInputs&) {
    return navigate(NavigationKey::Up);
}

Outcome Workbench::OnDown(const CommandInputs&) {
    return navigate(NavigationKey::Down);
}

// Confirming the window places while any control has the focus; only without focus does it
// close the window, after the fields read well.
Outcome Workbench::OnOk(const CommandInputs& inputs) {
    if (inputs.controlHasFocus)
        return OnPlaceUnplace(inputs);
    Outcome outcome;
    outcome.closeWindow = ReadFields(inputs, outcome);
    return outcome;
}

// ---- pick list

// The list goes to the clipboard whatever becomes of the page.
Outcome Workbench::OnPickList(const CommandInputs& inputs) {
    Outcome outcome;
    ReadFields(inputs, outcome);
    const std::vector<PickListItem> items = pickListItems();
    const PickListColumns columns{sparesPerItem_, session_.bom().hasBom()};
    outcome.clipboardText = PickListText(items, session_.face(), columns);
    const std::string path = GetPickListPath();
    const Result<void> written =
        WritePickListPage(path, PickListPage(items, session_.face(), kMakerSite, columns));
    if (written)
        outcome.open = OpenRequest{path, false, std::nullopt, PageNotOpened(path)};
    else
        outcome.messages.push_back(written.failure());
    return outcome;
}

std::vector<PickListItem> Workbench::pickListItems() const {
    std::vector<PickListItem> items =
        GroupPickList(session_.table(), session_.faceList(), session_.pcbCount(), &session_.bom());
    if (sparesPerItem_)
        AddSpares(items, sparesRule_);
    return items;
}

// The sheets go beside the pick list's page, in the user's own folder.
Outcome Workbench::OnPrintSheets(const CommandInputs& inputs) {
    Outcome outcome;
    ReadFields(inputs, outcome);
    const std::string path = GetExportPath("sheets.pdf");
    if (path.empty()) {
        outcome.messages.push_back(SheetsNotWritten());
        return outcome;
    }
    SheetsRequest sheets;
    sheets.path = path;
    sheets.placementPath = session_.placementPath();
    sheets.date = TodayText();
    sheets.face = session_.face();
    sheets.pcbCount = session_.pcbCount();
    sheets.spares = sparesPerItem_;
    sheets.items = pickListItems();
    sheets.picture = PictureForSheets(session_, sheets.items);
    outcome.sheets = std::move(sheets);
    outcome.open = OpenRequest{path, false, std::nullopt, SheetsNotOpened(path)};
    return outcome;
}

// ---- help and the small windows

Outcome Workbench::OnLogoClick(const CommandInputs&) {
    Outcome outcome;
    outcome.prompt = Prompt{MakerSiteQuestion(), MessageAnswer::Yes, CommandId::VisitMakerSite};
    return outcome;
}

Outcome Workbench::OnVisitMakerSite(const CommandInputs&) {
    Outcome outcome;
    outcome.open =
        OpenRequest{std::string("http://") + kMakerSite, true, std::nullopt, std::nullopt};
    return outcome;
}

Outcome Workbench::OnShortcuts(const CommandInputs&) {
    Outcome outcome;
    outcome.window = SmallWindow::Keymap;
    return outcome;
}

Outcome Workbench::OnAbout(const CommandInputs&) {
    Outcome outcome;
    outcome.window = SmallWindow::About;
    return outcome;
}

// The first manual that exists is opened; Retry looks again once the user has put one in place,
// or a program to open it.
Outcome Workbench::OnNeedHelp(const CommandInputs&) {
    Outcome outcome;
    for (const std::string& path : setup_.manualPaths) {
        if (FileExists(path)) {
            outcome.open = OpenRequest{
                path, false, RetryPrompt(ManualNotOpened(path), CommandId::NeedHelp), std::nullopt};
            return outcome;
        }
    }
    outcome.prompt = RetryPrompt(ManualMissing(), CommandId::NeedHelp);
    return outcome;
}

// ---- additions of the right-click menu

Outcome Workbench::OnRestoreSession(const CommandInputs&) {
    const std::optional<KeptSession> offered = store_.offered();
    if (!offered)
        return {};
    return restore(*offered);
}

// The sessions kept, newest first, each with its time and counts.
Outcome Workbench::OnRestoreEarlierSession(const CommandInputs&) {
    Outcome outcome;
    Choice choice{kRestoreEarlierTitle, {}, CommandId::RestoreChosenSession};
    for (const KeptSession& kept : store_.history())
        choice.entries.push_back(HistoryEntry(kept));
    if (!choice.entries.empty())
        outcome.choice = std::move(choice);
    return outcome;
}

Outcome Workbench::OnRestoreChosenSession(const CommandInputs& inputs) {
    const std::vector<KeptSession> history = store_.history();
    if (!inputs.chosenEntry || *inputs.chosenEntry < 0 ||
        *inputs.chosenEntry >= static_cast<int>(history.size()))
        return {};
    return restore(history[static_cast<std::size_t>(*inputs.chosenEntry)]);
}

Outcome Workbench::OnRestoreByDesignators(const CommandInputs&) {
    if (!byDesignators_)
        return {};
    const KeptSession kept = *std::exchange(byDesignators_, std::nullopt);
    store_.startAfresh();
    history_.clear();
    Outcome outcome(session_.restoreByDesignators(kept));
    outcome.pictureChanged = true;
    return outcome;
}

// The state before the restore is kept as a session of its own, so the restore can be undone.
Outcome Workbench::restore(const KeptSession& kept) {
    store_.startAfresh();
    history_.clear();
    Outcome outcome(session_.restore(kept));
    restorePinOne(kept.pinOne, outcome);
    outcome.pictureChanged = true;
    return outcome;
}

Outcome Workbench::OnFindPart(const CommandInputs&) {
    Outcome outcome;
    outcome.openFindField = true;
    return outcome;
}

Outcome Workbench::OnShowKindSpots(const CommandInputs&) {
    showKindSpots_ = !showKindSpots_;
    Outcome outcome;
    outcome.update.repaint = Repaint::Soon;
    return outcome;
}

Outcome Workbench::OnLoadBom(const CommandInputs& inputs) {
    return Outcome(session_.loadBom(inputs.chosenFile));
}

Outcome Workbench::OnToggleNotFitted(const CommandInputs&) {
    return Outcome(session_.toggleNotFitted());
}

// Both faces, in the placement file's order.
Outcome Workbench::OnExportProgress(const CommandInputs& inputs) {
    Outcome outcome;
    if (!inputs.chosenFile)
        return outcome;
    const Result<void> written = WriteProgressFile(
        *inputs.chosenFile, ProgressCsv(session_.table(), session_.bom(), session_.placedAt()));
    if (!written)
        outcome.messages.push_back(written.failure());
    return outcome;
}

// The marks of a progress file go by designator and face, so a file of another export of the
// board, or of a colleague's run, marks the same parts.
Outcome Workbench::OnImportProgress(const CommandInputs& inputs) {
    Outcome outcome;
    if (!inputs.chosenFile)
        return outcome;
    const Result<std::vector<ProgressMark>> read = ReadProgressFile(*inputs.chosenFile);
    if (!read) {
        outcome.messages.push_back(read.failure());
        return outcome;
    }
    return Outcome(session_.markPlaced(read.value()));
}

Outcome Workbench::OnSparesPerItem(const CommandInputs&) {
    sparesPerItem_ = !sparesPerItem_;
    return {};
}

std::vector<DrawnOutline> Workbench::outlinesToDraw() const {
    std::vector<DrawnOutline> outlines;
    if (showPlacedParts_)
        outlines = PlacedOutlines(session_.table(), session_.faceList(), session_.calibration(),
                                  boardShapes_.shapes(), packageShapes_);
    // A point the user pressed is boxed alone.
    const std::optional<Marker>& marker = session_.view().marker;
    if (!marker || marker->mode != MarkerMode::PartLocated)
        return outlines;
    std::vector<DrawnOutline> located = OutlinesToDraw(
        session_.table(), session_.faceList(), session_.selection().row, session_.calibration(),
        showKindSpots_, boardShapes_.shapes(), packageShapes_);
    outlines.insert(outlines.end(), located.begin(), located.end());
    return outlines;
}

std::optional<std::string> Workbench::sparesCaption() const {
    return "Spares per item (" + SparesRuleSummary(sparesRule_) + ")";
}

std::string Workbench::sparesRuleLine() const {
    return SparesRuleLine(sparesRule_);
}

void Workbench::restoreSparesRule(const std::string& line) {
    if (std::optional<SparesRule> rule = ParseSparesRuleLine(line))
        sparesRule_ = std::move(*rule);
}

Outcome Workbench::OnEditSparesRule(const CommandInputs&) {
    Outcome outcome;
    outcome.tableEdit = SparesTableEdit(SparesCells(sparesRule_));
    return outcome;
}

// A table that gives no rule is told and offered again as the user left it, to put right.
Outcome Workbench::OnSparesRuleEdited(const CommandInputs& inputs) {
    Outcome outcome;
    if (!inputs.editedTable)
        return outcome;
    Result<SparesRule> rule = ReadSparesTable(*inputs.editedTable);
    if (rule) {
        sparesRule_ = std::move(rule).value();
        return outcome;
    }
    outcome.messages.push_back(rule.failure());
    outcome.tableEdit = SparesTableEdit(*inputs.editedTable);
    return outcome;
}

bool Workbench::selectedNotFitted() const {
    const std::optional<int> row = session_.selection().row;
    return row && *row < session_.faceList().faceCount && session_.isNotFittedAtRow(*row);
}

// A press with Control held selects the part that lies there.
Outcome Workbench::OnIdentifyPart(const CommandInputs& inputs) {
    return Outcome(session_.identifyPartAt(inputs.point));
}

// ---- undo

Outcome Workbench::OnUndo(const CommandInputs&) {
    return returnTo(history_.undo(session_.undoState()));
}

Outcome Workbench::OnRedo(const CommandInputs&) {
    return returnTo(history_.redo(session_.undoState()));
}

Outcome Workbench::returnTo(const std::optional<UndoStep>& step) {
    if (!step)
        return {};
    return Outcome(session_.returnTo(*step));
}

Outcome Workbench::OnAnnounceInPicture(const CommandInputs&) {
    announceInPicture_ = !announceInPicture_;
    return {};
}

// ---- the pressed point, one picture pixel at a time

Outcome Workbench::OnNudgeLeft(const CommandInputs&) {
    return Outcome(session_.nudgeMarker(-1, 0));
}

Outcome Workbench::OnNudgeRight(const CommandInputs&) {
    return Outcome(session_.nudgeMarker(1, 0));
}

Outcome Workbench::OnNudgeUp(const CommandInputs&) {
    return Outcome(session_.nudgeMarker(0, -1));
}

Outcome Workbench::OnNudgeDown(const CommandInputs&) {
    return Outcome(session_.nudgeMarker(0, 1));
}

Outcome Workbench::OnWholePicture(const CommandInputs&) {
    return Outcome(session_.resetOverviewZoom());
}

// ---- the board file, the placed parts and pin 1

Outcome Workbench::OnShowPlacedParts(const CommandInputs&) {
    showPlacedParts_ = !showPlacedParts_;
    Outcome outcome;
    outcome.update.repaint = Repaint::Soon;
    return outcome;
}

const PartRecord* Workbench::selectedPart() const {
    const std::optional<int> row = session_.selection().row;
    if (!row || *row < 0 || *row >= session_.faceList().faceCount)
        return nullptr;
    return &session_.partAtRow(*row);
}

// Only where the package name gives pin 1, or gave it before the user hid it: a part of the board
// file has its own.
std::optional<std::string> Workbench::pinOneCaption() const {
    const PartRecord* part = selectedPart();
    if (!part || boardShapes_.shapes().count(std::string(part->designator)) != 0)
        return std::nullopt;
    if (!packageShapes_.uncorrectedShapeOf(part->package, part->designator).pinOne)
        return std::nullopt;
    return "Pin 1 of " + std::string(part->package) + "...";
}

Outcome Workbench::OnPinOneOfPackage(const CommandInputs&) {
    Outcome outcome;
    if (const std::optional<std::string> caption = pinOneCaption()) {
        const bool hidden = pinOne_.corrections().of(std::string(selectedPart()->package)).hidden;
        outcome.choice =
            Choice{*caption,
                   {"Turn a quarter clockwise", "Turn a quarter anticlockwise", "Turn a half",
                    "Mirror left to right", hidden ? "Show it again" : "Hide it",
                    "As the package name gives it"},
                   CommandId::PinOneChosen};
    }
    return outcome;
}

std::vector<KeptPinOne> Workbench::keptPinOne() const {
    std::vector<KeptPinOne> kept;
    const PinOneCorrections& corrections = pinOne_.corrections();
    if (corrections.empty())
        return kept;
    if (!boardPackages_)
        boardPackages_ = PackageNames(session_.table());
    for (const std::string& package : *boardPackages_) {
        const PinOneCorrection correction = corrections.of(package);
        if (correction != PinOneCorrection{})
            kept.push_back(
                {package, correction.quarterTurns, correction.mirrored, correction.hidden});
    }
    return kept;
}

// The session's corrections come back where the user's table has none for the package: another
// user's or another machine's session brings its own.
void Workbench::restorePinOne(const std::vector<KeptPinOne>& kept, Outcome& outcome) {
    for (const KeptPinOne& pinOne : kept) {
        if (pinOne_.corrections().of(pinOne.package) != PinOneCorrection{})
            continue;
        const Result<void> set =
            pinOne_.set(pinOne.package, {pinOne.quarterTurns, pinOne.mirrored, pinOne.hidden});
        if (!set) {
            outcome.messages.push_back(set.failure());
            break;
        }
    }
    packageShapes_.correct(pinOne_.corrections());
}

// The step chosen holds for every part of the package, on this board and the next.
Outcome Workbench::OnPinOneChosen(const CommandInputs& inputs) {
    Outcome outcome;
    const PartRecord* part = selectedPart();
    const int entry = inputs.chosenEntry.value_or(-1);
    if (!part || entry < 0 || entry > static_cast<int>(PinOneStep::Reset))
        return outcome;
    const std::string package(part->package);
    const PinOneCorrection now =
        Followed(pinOne_.corrections().of(package), static_cast<PinOneStep>(entry));
    if (const Result<void> kept = pinOne_.set(package, now); !kept)
        outcome.messages.push_back(kept.failure());
    packageShapes_.correct(pinOne_.corrections());
    ++pinOneRevision_;
    outcome.update.repaint = Repaint::Soon;
    return outcome;
}

Outcome Workbench::OnLoadBoardFile(const CommandInputs& inputs) {
    Outcome outcome;
    if (inputs.chosenFile)
        loadBoardFile(*inputs.chosenFile, outcome);
    return outcome;
}

void Workbench::loadBoardFile(const std::string& path, Outcome& outcome) {
    const Result<std::vector<std::string>> loaded = boardShapes_.load(path, session_.table());
    if (!loaded) {
        outcome.messages.push_back(loaded.failure());
        return;
    }
    if (!loaded.value().empty())
        outcome.messages.push_back(PositionsDifferBox(loaded.value()));
    outcome.update.repaint = Repaint::Soon;
}

} // namespace kavelto
