#include "app/Workbench.h"

#include "PickList.h"
#include "PickListPage.h"
#include "PickListPath.h"
#include "PickListText.h"
#include "ProgressExport.h"
#include "Spares.h"
#include "app/AppMessages.h"
#include "app/CommandTable.h"
#include "base/AppIdentity.h"
#include "keeping/KeepingMessages.h"

#include <ctime>
#include <sys/stat.h>

namespace kavelto {

namespace {

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

// Asks again with the same command, once the user has put things right.
Prompt RetryPrompt(UserMessage message, CommandId command) {
    return {std::move(message), MessageAnswer::Retry, command};
}

} // namespace

Workbench::Workbench(WorkbenchSetup setup) : setup_(std::move(setup)), store_(setup_.stateFolder) {}

Result<void> Workbench::loadColumnMap(const std::string& path) {
    return session_.loadColumnMap(path);
}

Outcome Workbench::run(CommandId id, const CommandInputs& inputs) {
    return kept((this->*Command(id).handler)(inputs));
}

Outcome Workbench::answer(const Prompt& prompt, MessageAnswer given, const CommandInputs& inputs) {
    if (given != prompt.answer)
        return {};
    return run(prompt.next, inputs);
}

// Every change reaches the kept session; a write that failed is told once.
Outcome Workbench::kept(Outcome outcome) {
    store_.keep(session_.keptRevision(), [this] { return session_.keptState(); });
    if (std::optional<UserMessage> failure = store_.takeFailure())
        outcome.messages.push_back(*std::move(failure));
    return outcome;
}

std::optional<std::string> Workbench::restoreCaption() const {
    const std::optional<KeptSession>& offered = store_.offered();
    if (!offered)
        return std::nullopt;
    return RestoreCaption(*offered);
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
// another window keeps is said to be so before anything is placed here.
Outcome Workbench::OnLoadPkpFile(const CommandInputs& inputs) {
    Outcome outcome(session_.loadPlacementFile(inputs.chosenFile));
    if (std::optional<UserMessage> mismatches = session_.bomMismatchNotice())
        outcome.messages.push_back(*std::move(mismatches));
    if (!inputs.chosenFile || session_.table().partCount() == 0) {
        store_.closeFile();
        return outcome;
    }
    if (const Result<void> opened = store_.openFile(*inputs.chosenFile); !opened)
        outcome.messages.push_back(opened.failure());
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

Outcome Workbench::OnLoadBitmap(const CommandInputs& inputs) {
    Outcome outcome(session_.loadBitmap(inputs.chosenFile));
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

Outcome Workbench::OnPlaceUnplace(const CommandInputs&) {
    return Outcome(session_.placeUnplace());
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
        outcome.open = OpenRequest{path, false, std::nullopt};
    else
        outcome.messages.push_back(written.failure());
    return outcome;
}

std::vector<PickListItem> Workbench::pickListItems() const {
    std::vector<PickListItem> items =
        GroupPickList(session_.table(), session_.faceList(), session_.pcbCount(), &session_.bom());
    if (sparesPerItem_)
        AddSpares(items, SparesRule());
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
    outcome.sheets = std::move(sheets);
    outcome.open = OpenRequest{path, false, std::nullopt};
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
    outcome.open = OpenRequest{std::string("http://") + kMakerSite, true, std::nullopt};
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

// The first manual that exists is opened; Retry looks again once the user has put one in place.
Outcome Workbench::OnNeedHelp(const CommandInputs&) {
    Outcome outcome;
    const Prompt retry = RetryPrompt(ManualMissing(), CommandId::NeedHelp);
    for (const std::string& path : setup_.manualPaths) {
        if (FileExists(path)) {
            outcome.open = OpenRequest{path, false, retry};
            return outcome;
        }
    }
    outcome.prompt = retry;
    return outcome;
}

// ---- additions of the right-click menu

Outcome Workbench::OnRestoreSession(const CommandInputs&) {
    const std::optional<KeptSession> offered = store_.offered();
    if (!offered)
        return {};
    store_.startAfresh();
    Outcome outcome(session_.restore(*offered));
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

Outcome Workbench::OnSparesPerItem(const CommandInputs&) {
    sparesPerItem_ = !sparesPerItem_;
    return {};
}

bool Workbench::selectedNotFitted() const {
    const std::optional<int> row = session_.selection().row;
    return row && *row < session_.faceList().faceCount && session_.isNotFittedAtRow(*row);
}

// A press with Control held selects the part that lies there.
Outcome Workbench::OnIdentifyPart(const CommandInputs& inputs) {
    return Outcome(session_.identifyPartAt(inputs.point));
}

} // namespace kavelto
