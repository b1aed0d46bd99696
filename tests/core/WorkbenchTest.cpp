#include "WorkbenchRig.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <sstream>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace kavelto {
namespace {

using namespace std::string_literals;
using Id = CommandId;

constexpr char kHeader[] = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
constexpr char kRefusal[] = "kavelto: Please enter a positive integer.|";

// The flags of an outcome, what it asks of the window besides its messages, each named with "+"
// when raised and "-" when not, between spaces.
std::string Flags(const Outcome& o) {
    const auto flag = [](const char* name, bool raised) {
        return name + std::string(raised ? "+ " : "- ");
    };
    return " " + flag("focus", o.focusPcbCount) + flag("close", o.closeWindow) +
           flag("refresh", o.update.refreshFields) +
           flag("soon", o.update.repaint == Repaint::Soon) +
           flag("now", o.update.repaint == Repaint::Now) + flag("find", o.openFindField) +
           flag("clip", o.clipboardText.has_value()) + flag("open", o.open.has_value()) +
           flag("prompt", o.prompt.has_value()) + flag("choice", o.choice.has_value()) +
           flag("table", o.tableEdit.has_value()) + flag("sheets", o.sheets.has_value()) +
           flag("about", o.window == SmallWindow::About) +
           flag("keymap", o.window == SmallWindow::Keymap);
}

// A command on a fresh rig, after another on the rig's defaults, and what its outcome holds: the
// messages as Texts gives them, the flags named as Flags names them, and the designators placed
// afterwards. Only the flags a row names are judged, so that each row states the rule it is
// about; a name Flags does not know fails. "@" in the file, the messages and the folder for pages
// stands for the rig's folder; a file there leaves no folder for pages.
struct CommandRow {
    const char* name;
    CommandId command;
    std::string told = "";
    const char* flags = "";
    const char* placed = "";
    const char* count = "1";
    bool focus = true;
    std::optional<std::string> file = std::nullopt; // none: the choice cancelled
    std::optional<CommandId> before = std::nullopt;
    const char* pages = "@";
};

const CommandRow kCommandRows[] = {
    {"a count that is no positive integer", Id::SortChange, kRefusal, "focus+ refresh+", "", "-"},
    {"a good count", Id::SortChange, "", "focus-", "", "3"},
    {"Ok while a control has the focus places", Id::Ok, "", "close-", "R1"},
    {"Ok without focus and no count", Id::Ok, kRefusal, "focus+ close-", "", "", false},
    {"Ok without focus closes on a good count", Id::Ok, "", "close+", "", "2", false},
    {"restore with nothing offered", Id::RestoreSession, "", "soon- now-", "R1", "1", true,
     std::nullopt, Id::PlaceUnplace},
    {"unplace all asks first", Id::UnplaceAll, "", "prompt+", "R1", "1", true, std::nullopt,
     Id::PlaceUnplace},
    {"the logo", Id::LogoClick, "", "prompt+"},
    {"need help without a manual", Id::NeedHelp, "", "prompt+ open-"},
    {"find", Id::FindPart, "", "find+"},
    {"the kind's spots", Id::ShowKindSpots, "", "soon+"},
    {"about", Id::About, "", "about+"},
    {"shortcuts", Id::Shortcuts, "", "keymap+"},
    {"a cancelled load", Id::LoadPkpFile, "", "refresh+"},
    {"the spares rule", Id::EditSparesRule, "", "table+"},
    {"earlier sessions where none was kept", Id::RestoreEarlierSession, "", "choice-"},
    {"the pick list", Id::PickList, "", "clip+ open+", "", "3"},
    {"the pick list without a folder for its page", Id::PickList, "Error: Can't create html file|",
     "clip+ open-", "", "1", true, std::nullopt, std::nullopt, "@/parts.csv"},
    {"the sheets", Id::PrintSheets, "", "sheets+ open+", "", "4"},
    {"the sheets without a folder for their page", Id::PrintSheets,
     "Error: Can't write the sheets file|", "sheets- open-", "", "1", true, std::nullopt,
     std::nullopt, "@/parts.csv"},
    {"pin 1 of a package that gives none", Id::PinOneOfPackage, "", "choice-"},
    {"a cancelled progress export", Id::ExportProgress},
    {"a board file that isn't there", Id::LoadBoardFile,
     "Error: Can't read board file @/none.kicad_pcb|", "", "", "1", true, "@/none.kicad_pcb"},
    {"a placement file as the board file", Id::LoadBoardFile,
     "Error: Not a KiCad board file (.kicad_pcb)|", "", "", "1", true, "@/parts.csv"},
    {"progress into a folder that isn't there", Id::ExportProgress,
     "Error: Can't write progress file|", "", "", "1", true, "@/none/progress.csv"},
    {"a placement file as the progress file", Id::ImportProgress,
     "Error: No row naming the columns Designator, Face and Placed in the first 40 lines of "
     "progress file|",
     "", "", "1", true, "@/parts.csv"},
    {"a cancelled progress import", Id::ImportProgress},
    {"a cancelled BOM", Id::LoadBom},
};

TEST(Workbench, EachCommandsOutcome) {
    for (const CommandRow& row : kCommandRows) {
        SCOPED_TRACE(row.name);
        WorkbenchRig rig;
        if (row.before)
            rig.run(*row.before);
        WorkbenchRig::writePagesIn(rig.here(row.pages));
        CommandInputs inputs = WorkbenchRig::Fields(row.count, row.focus);
        if (row.file)
            inputs.chosenFile = rig.here(*row.file);
        const Outcome outcome = rig.workbench.run(row.command, inputs);
        EXPECT_EQ(Texts(outcome), rig.here(row.told));
        std::istringstream flags(row.flags);
        for (std::string flag; flags >> flag;)
            EXPECT_NE(Flags(outcome).find(" " + flag + " "), std::string::npos) << flag;
        EXPECT_EQ(rig.placedNames(), row.placed);
    }
}

// A list that highlights no row, as the window tells it with -1, locates nothing.
TEST(Workbench, LocatesNothingWithoutAHighlightedRow) {
    WorkbenchRig rig;
    const std::optional<int> selected = rig.workbench.session().selection().row;
    rig.workbench.setHighlightedRow(-1);
    rig.run(Id::LocateSelectedPart);
    EXPECT_EQ(std::make_tuple(rig.workbench.session().selection().row,
                              rig.workbench.session().view().marker.has_value()),
              std::make_tuple(selected, false));
}

// Each nudge moves the pressed point one picture pixel its way, on a picture shown upright.
TEST(Workbench, NudgesThePressedPointOnePixelEachWay) {
    const struct {
        CommandId command;
        int x, y;
    } rows[] = {{Id::NudgeLeft, 199, 300},
                {Id::NudgeRight, 201, 300},
                {Id::NudgeUp, 200, 299},
                {Id::NudgeDown, 200, 301}};
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.command));
        WorkbenchRig rig;
        rig.showPicture();
        rig.workbench.press({true, 200, 300});
        rig.run(row.command);
        const std::optional<Marker> marker = rig.workbench.session().view().marker;
        ASSERT_TRUE(marker.has_value());
        EXPECT_EQ(std::make_pair(marker->at.x, marker->at.y), std::make_pair(row.x, row.y));
    }
}

// Load Bitmap always has the window open its picture, as the file may have changed; any other
// command only when it changed the picture shown.
TEST(Workbench, TellsTheWindowWhenThePictureShownChanged) {
    WorkbenchRig rig;
    const struct {
        const char* name;
        std::optional<std::string> picture; // Load Bitmap of it, else a step down the list
        bool changed;
    } steps[] = {
        {"a picture loaded", rig.parts, true},
        {"a step down", std::nullopt, false},
        {"the same picture again", rig.parts, true},
        {"another step down", std::nullopt, false},
    };
    for (const auto& step : steps) {
        const Outcome outcome =
            step.picture ? rig.runOn(Id::LoadBitmap, step.picture) : rig.run(Id::Down);
        EXPECT_EQ(outcome.pictureChanged, step.changed) << step.name;
    }
    // A face calibrated before comes back with its own picture.
    rig.showPicture();
    rig.calibrateOnR1AndR2();
    rig.run(Id::Bottom);
    rig.runOn(Id::LoadBitmap, rig.folder + "/bottom.jpg");
    EXPECT_TRUE(rig.run(Id::Top).pictureChanged);
    EXPECT_FALSE(rig.run(Id::Down).pictureChanged);
}

// The part on the list's first row is as much the selected part as any other.
TEST(WorkbenchOutlines, OffersPinOneForThePartOnTheFirstRow) {
    const TempFile parts(std::string(kHeader) + "U1,MCU,SOIC-8_3.9x4.9mm_P1.27mm,20,30,0,top\n");
    WorkbenchRig rig("", parts.path());
    rig.locate("U1");
    EXPECT_EQ(rig.workbench.pinOneCaption(),
              std::optional<std::string>("Pin 1 of SOIC-8_3.9x4.9mm_P1.27mm..."));
}

// The count's refusal is a warning; a count taken holds for the session.
TEST(Workbench, WarnsOfACountRefusedAndTakesAGoodOne) {
    WorkbenchRig rig;
    EXPECT_EQ(rig.run(Id::SortChange, "-").messages.at(0).icon, MessageIcon::Exclamation);
    rig.run(Id::SortChange, "3");
    EXPECT_EQ(rig.workbench.session().pcbCount(), 3u);
}

// Each setting's command turns it on, and again off.
TEST(Workbench, TogglesItsSettings) {
    const struct {
        const char* name;
        CommandId command;
        bool (Workbench::*setting)() const;
    } rows[] = {
        {"the kind's spots", Id::ShowKindSpots, &Workbench::showKindSpots},
        {"placed parts", Id::ShowPlacedParts, &Workbench::showPlacedParts},
        {"the banner", Id::AnnounceInPicture, &Workbench::announceInPicture},
        {"spares", Id::SparesPerItem, &Workbench::sparesPerItem},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WorkbenchRig rig;
        EXPECT_FALSE((rig.workbench.*row.setting)());
        rig.run(row.command);
        EXPECT_TRUE((rig.workbench.*row.setting)());
        rig.run(row.command);
        EXPECT_FALSE((rig.workbench.*row.setting)());
    }
}

// The question comes first; only Ok clears the marks.
TEST(Workbench, UnplaceAllGoesOnOnlyOnOk) {
    WorkbenchRig rig;
    rig.run(Id::PlaceUnplace);
    const std::optional<Prompt> asked = rig.run(Id::UnplaceAll).prompt;
    ASSERT_TRUE(asked);
    EXPECT_EQ(std::tie(asked->message.text, asked->message.caption, asked->message.buttons),
              std::make_tuple("Unplace all components on both sides ?"s, "Please confirm"s,
                              MessageButtons::OkCancel));
    rig.workbench.answer(*asked, MessageAnswer::Cancel, {});
    EXPECT_EQ(rig.placedNames(), "R1");
    rig.workbench.answer(*asked, MessageAnswer::Ok, {});
    EXPECT_EQ(rig.placedNames(), "");
}

// The view's buttons in turn, from the upright, unmirrored view with a zoom box of 100 and a
// point pressed at pixel (200, 300): the turn, the mirror, the zoom box and the pressed point
// afterwards. 100 / 1.3 is 76.9, 100 x 1.3 is 130. Alt and an arrow key move the pressed point
// one picture pixel the arrow's way, on the upright picture.
TEST(Workbench, ViewButtonsTurnMirrorZoomAndNudge) {
    const struct {
        const char* name;
        std::vector<CommandId> buttons;
        std::tuple<int, bool, int, int, int> view; // degrees, mirrored, zoom box, point x and y
    } rows[] = {
        {"Rot L", {Id::RotL}, {270, false, 100, 200, 300}},
        {"Rot R", {Id::RotR}, {90, false, 100, 200, 300}},
        {"Rot L twice", {Id::RotL, Id::RotL}, {180, false, 100, 200, 300}},
        {"Rot R four times", {Id::RotR, Id::RotR, Id::RotR, Id::RotR}, {0, false, 100, 200, 300}},
        {"Flip", {Id::Flip}, {0, true, 100, 200, 300}},
        {"Flip twice", {Id::Flip, Id::Flip}, {0, false, 100, 200, 300}},
        {"Zoom in", {Id::ZoomIn}, {0, false, 76, 200, 300}},
        {"Zoom out", {Id::ZoomOut}, {0, false, 130, 200, 300}},
        {"Alt+Left", {Id::NudgeLeft}, {0, false, 100, 199, 300}},
        {"Alt+Up", {Id::NudgeUp}, {0, false, 100, 200, 299}},
        {"Alt+Right", {Id::NudgeRight}, {0, false, 100, 201, 300}},
        {"Alt+Down", {Id::NudgeDown}, {0, false, 100, 200, 301}},
        {"each way once",
         {Id::NudgeLeft, Id::NudgeUp, Id::NudgeRight, Id::NudgeDown},
         {0, false, 100, 200, 300}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WorkbenchRig rig;
        rig.showPicture();
        rig.workbench.press({true, 200, 300});
        for (const CommandId button : row.buttons)
            rig.run(button);
        const ViewState& view = rig.workbench.session().view();
        ASSERT_TRUE(view.marker);
        EXPECT_EQ(std::make_tuple(view.viewRotation, view.mirrored, view.zoomBoxSize,
                                  view.marker->at.x, view.marker->at.y),
                  row.view);
    }
}

TEST(Workbench, TheLogoOffersTheMakersSite) {
    WorkbenchRig rig;
    const std::optional<Prompt> asked = rig.run(Id::LogoClick).prompt;
    ASSERT_TRUE(asked);
    EXPECT_EQ(std::tie(asked->message.caption, asked->message.buttons),
              std::make_tuple("QUANDEL"s, MessageButtons::YesNo));
    EXPECT_FALSE(rig.workbench.answer(*asked, MessageAnswer::No, {}).open);
    const Outcome visit = rig.workbench.answer(*asked, MessageAnswer::Yes, {});
    ASSERT_TRUE(visit.open);
    EXPECT_EQ(std::tie(visit.open->target, visit.open->isUrl),
              std::make_tuple("http://www.quandel.example"s, true));
}

// The first manual that exists opens; without any, Retry looks again.
TEST(Workbench, NeedHelpOpensTheFirstManualThatExists) {
    WorkbenchRig rig;
    const std::optional<Prompt> none = rig.run(Id::NeedHelp).prompt;
    ASSERT_TRUE(none);
    EXPECT_EQ(std::tie(none->message.text, none->message.buttons, none->answer, none->next),
              std::make_tuple("Can't open KaveltoManual.pdf..."s, MessageButtons::RetryCancel,
                              MessageAnswer::Retry, Id::NeedHelp));
    const std::string manual = WorkbenchRig::Write(rig.folder + "/second.pdf", "%PDF");
    const std::optional<OpenRequest> opened = rig.run(Id::NeedHelp).open;
    ASSERT_TRUE(opened && opened->onFailure);
    // A manual that no program takes is named whole, for the user to open by hand.
    const Prompt& failed = *opened->onFailure;
    EXPECT_EQ(std::tie(opened->target, opened->isUrl, failed.next, failed.message.text,
                       failed.message.buttons),
              std::make_tuple(manual, false, Id::NeedHelp,
                              "Can't open KaveltoManual.pdf...\n\nNo program opened " + manual +
                                  "\nOpen it with a PDF viewer.",
                              MessageButtons::RetryCancel));
    const std::string first = WorkbenchRig::Write(rig.folder + "/first.pdf", "%PDF");
    EXPECT_EQ(rig.run(Id::NeedHelp).open->target, first);
}

// The page goes into the user's own folder, which is opened; where no browser takes it, a box
// names the page whole.
TEST(Workbench, PickListOpensItsPage) {
    WorkbenchRig rig;
    const std::string page = rig.pages() + "/picklst.html";
    const std::optional<OpenRequest> open = rig.run(Id::PickList, "3").open;
    ASSERT_TRUE(open && open->tellOnFailure);
    EXPECT_EQ(std::tie(open->target, open->isUrl, open->tellOnFailure->text,
                       open->tellOnFailure->buttons),
              std::make_tuple(page, false,
                              "No browser opened the pick list page.\n\nIt is at " + page +
                                  "\nand the list is on the clipboard.",
                              MessageButtons::Ok));
}

constexpr char kPickListHead[] =
    "Picking List for TOP SIDE \n\nITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/total";

// The list on the clipboard, byte for byte, after a BOM and the spares setting pressed so many
// times. With a BOM the list names each item's part numbers and designators, without its parts
// left off the board.
TEST(Workbench, PickListGathersTheItemsOfTheFace) {
    const struct {
        const char* name;
        const char* count;
        std::string bom; // none when empty
        int sparesPresses;
        std::string list; // after the head
    } rows[] = {
        {"as it always was while no BOM is loaded", "3", "", 0,
         "\n-------\t-------\t-----\t-----\t-----\n1\t0603\t1k\t2\t6\nEND\n\n\n\n"},
        {"with a BOM", "2",
         "Ref,Manufacturer,MPN,LCSC,DNP\nR1,Yageo,RC0603FR-071KL,C21190,\n"
         "R2,Yageo,RC0603FR-071KL,C21190,DNP\nC1,Samsung,CL10A105KB8NNNC,C15849,\n",
         0,
         "\tMANUFACTURER\tMPN\tSUPPLIER #\tDESIGNATORS\n"
         "-------\t-------\t-----\t-----\t-----\t-----\t-----\t-----\t-----\n"
         "1\t0603\t1k\t1\t2\tYageo\tRC0603FR-071KL\tC21190\tR1\nEND\n\n\n\n"},
        {"spares add a count to gather", "10", "", 1,
         "\tTO GATHER\n-------\t-------\t-----\t-----\t-----\t-----\n1\t0603\t1k\t2\t20\t21\n"
         "END\n\n\n\n"},
        {"spares set again take the column away", "10", "", 2,
         "\n-------\t-------\t-----\t-----\t-----\n1\t0603\t1k\t2\t20\nEND\n\n\n\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WorkbenchRig rig;
        if (!row.bom.empty())
            rig.runOn(Id::LoadBom, WorkbenchRig::Write(rig.folder + "/bom.csv", row.bom));
        for (int press = 0; press < row.sparesPresses; ++press)
            rig.run(Id::SparesPerItem);
        EXPECT_EQ(rig.run(Id::PickList, row.count).clipboardText, kPickListHead + row.list);
    }
}

// The title bar names the files loaded, without their folders, before the caption. A cancelled
// load leaves nothing loaded.
TEST(Workbench, TheTitleNamesTheFilesLoaded) {
    const std::string caption = "Kavelto, offered by QUANDEL (www.quandel.example) - version 1.2";
    WorkbenchRig rig;
    EXPECT_EQ(rig.workbench.windowTitle(), "parts.csv \u2014 " + caption);
    rig.runOn(Id::LoadBitmap, "/boards/top side/coldfire-top.jpg");
    EXPECT_EQ(rig.workbench.windowTitle(), "parts.csv, coldfire-top.jpg \u2014 " + caption);
    rig.runOn(Id::LoadPkpFile, std::nullopt);
    EXPECT_EQ(rig.workbench.windowTitle(), "coldfire-top.jpg \u2014 " + caption);
    EXPECT_EQ(std::make_tuple(rig.workbench.session().pkpText(), rig.workbench.restoreCaption()),
              std::make_tuple("no pkp loaded"s, std::optional<std::string>()));
    rig.runOn(Id::LoadBitmap, std::nullopt);
    EXPECT_EQ(rig.workbench.windowTitle(), caption);
}

TEST(Workbench, FindPartSaysWhenNoPartHasTheDesignator) {
    WorkbenchRig rig;
    EXPECT_TRUE(rig.workbench.findPart("R9").findFailed);
    EXPECT_FALSE(rig.workbench.findPart("c1").findFailed);
    EXPECT_EQ(rig.workbench.session().face(), Face::Bottom);
}

TEST(Workbench, AColumnLayoutThatCannotBeReadIsAnError) {
    Workbench workbench{{"kavelto", {}, ""}};
    const Result<void> loaded = workbench.loadColumnMap("/nonexistent/Kavelto.ini");
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(std::tie(loaded.failure().caption, loaded.failure().text),
              std::make_tuple("Error"s, "Can't find Kavelto.ini file"s));
}

// A folder where nothing can be kept is told by the load, before anything is placed, and once.
TEST(Workbench, TellsAFolderThatCantKeepAtTheLoadOnce) {
    const WorkbenchRig files;
    const std::string state = files.parts + "/state"; // under a file: no write can succeed
    WorkbenchRig rig(state);
    const std::string told = Texts(rig.loaded);
    EXPECT_EQ(told.rfind("Error: Can't keep the session in " + state, 0), 0u) << told;
    EXPECT_EQ(Texts(rig.run(Id::PlaceUnplace)), "");
    EXPECT_EQ(Texts(rig.run(Id::Down)), "");
}

// Without a folder to keep sessions in, each load says that nothing is kept, before anything is
// placed.
TEST(Workbench, TellsAtEachLoadThatNoFolderKeepsTheSession) {
    const WorkbenchRig files;
    Workbench workbench({"kavelto", {}, "", true});
    ASSERT_TRUE(workbench.loadColumnMap(TempFile(kColumns).path()).ok());
    CommandInputs inputs = WorkbenchRig::Fields("1");
    inputs.chosenFile = files.parts;
    const std::string told = "Error: Can't keep the session: neither XDG_STATE_HOME nor HOME "
                             "names a folder, and the user has no home folder. Nothing of this "
                             "board is kept.|";
    EXPECT_EQ(Texts(workbench.run(Id::LoadPkpFile, inputs)), told);
    workbench.setHighlightedRow(0);
    EXPECT_EQ(Texts(workbench.run(Id::PlaceUnplace, inputs)), "");
    EXPECT_EQ(Texts(workbench.run(Id::LoadPkpFile, inputs)), told);
    // A load that reads no part, or is cancelled, has nothing to keep and says nothing of it.
    inputs.chosenFile = WorkbenchRig::Write(files.folder + "/none.csv", "# nothing\n");
    EXPECT_EQ(Texts(workbench.run(Id::LoadPkpFile, inputs)), "Error: No parts found in part file|");
    inputs.chosenFile.reset();
    EXPECT_EQ(Texts(workbench.run(Id::LoadPkpFile, inputs)), "");
}

// A load that reads no part leaves the file before it, and what was kept of it, alone: the
// commands after it keep nothing over that file's session.
TEST(Workbench, AFailedLoadKeepsNothingOverTheFileBefore) {
    const WorkbenchRig files;
    const std::string state = files.folder + "/state";
    {
        WorkbenchRig first(state, files.parts);
        first.run(Id::PlaceUnplace); // R1
        first.load(WorkbenchRig::Write(files.folder + "/none.csv", "# nothing\n"));
        first.run(Id::Top);
    }
    WorkbenchRig again(state, files.parts);
    again.run(Id::RestoreSession);
    EXPECT_EQ(again.placedNames(), "R1");
}

// A session that can't be written where it is kept is told by the first command after the write
// failed: the load itself never waits for the disk.
TEST(Workbench, TellsASessionThatCantBeWrittenAtTheNextCommand) {
    const WorkbenchRig files;
    const std::string state = files.folder + "/state";
    { const WorkbenchRig first(state, files.parts); } // its last write done as it goes
    const std::string kept = WorkbenchRig::KeptFile(state);
    std::filesystem::remove(kept);
    std::filesystem::create_directory(kept); // in the way of the kept file, and no session
    WorkbenchRig second(state, files.parts);
    EXPECT_EQ(Texts(second.loaded),
              "Error: The kept session " + kept + " is damaged and was not used|");
    // The write waits a moment for a newer one; a command that changes nothing asks meanwhile.
    std::string told;
    for (int tries = 0; told.empty() && tries < 1000; ++tries) {
        usleep(5000);
        told = Texts(second.run(Id::Top));
    }
    EXPECT_EQ(told, "Error: Can't keep the session in " + kept + ": Is a directory|");
}

// The sessions kept before are listed newest first, each with its time and counts, and the one
// chosen is restored, the marks before it kept as a session of their own; without any, the entry
// is not shown (nor anything offered, as a row of the command table says).
TEST(Workbench, RestoresTheSessionChosenFromThoseKeptBefore) {
    const WorkbenchRig files;
    WorkbenchRig rig(files.folder + "/state", files.parts);
    // The counts of the entries listed, each after its time.
    const auto listed = [&rig] {
        std::vector<std::string> counts;
        for (const std::string& entry :
             rig.run(Id::RestoreEarlierSession).choice.value_or(Choice{}).entries)
            counts.push_back(entry.substr(entry.find(": ")));
        return counts;
    };
    EXPECT_EQ(rig.workbench.earlierCaption(), std::nullopt);
    rig.run(Id::PlaceUnplace); // R1
    rig.load(files.parts);
    rig.workbench.setHighlightedRow(0);
    rig.run(Id::PlaceUnplace);
    rig.run(Id::PlaceUnplace); // R1 and R2
    rig.load(files.parts);
    EXPECT_EQ(rig.workbench.earlierCaption(), "Restore an earlier session...");
    const std::optional<Choice> choice = rig.run(Id::RestoreEarlierSession).choice;
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(std::make_tuple(choice->title, listed(), choice->next),
              std::make_tuple("Restore an earlier session..."s,
                              std::vector<std::string>{": 2 of 2 placed", ": 1 of 2 placed"},
                              Id::RestoreChosenSession));
    EXPECT_EQ(choice->entries.front().size(), "2026-12-07 14:02: 2 of 2 placed"s.size());
    rig.choose(Id::RestoreChosenSession, 1);
    EXPECT_EQ(rig.placedNames(), "R1");
    rig.choose(Id::RestoreChosenSession, 7); // beyond the list: nothing
    EXPECT_EQ(rig.placedNames(), "R1");
    // The load's session had nothing placed and was not listed, so entry 0 is still R1 and R2;
    // restoring it lists R1's marks, newest.
    rig.choose(Id::RestoreChosenSession, 0);
    EXPECT_EQ(
        std::make_pair(rig.placedNames(), listed()),
        std::make_pair("R1 R2"s, std::vector<std::string>{": 1 of 2 placed", ": 2 of 2 placed",
                                                          ": 1 of 2 placed"}));
}

// A placement file exported again offers the marks kept for it by designator and face, when at
// least half of them name parts of it still: R1, R2 and R3 (or R1 and R2) were placed on the top
// face of R1 to R4, each 1k 0603, and C1 on the bottom. The marks of parts gone and of parts
// changed are told. Restoring takes the offer away; nothing is restored where nothing is offered,
// or after a load of nothing dropped the offer.
TEST(Workbench, RestoresTheMarksOfAFileExportedAgainByDesignator) {
    const auto told = [](const std::string& what) {
        return "Error: The marks were restored by designator.\n\n" + what + ".|";
    };
    const std::string changedR2 =
        told("Placed under another value or package, to be looked at: R2 (1k, 0603 now 2k, 0603)");
    const auto goneOnly = [&told](const char* names) {
        return told("No longer in the file, not restored: "s + names);
    };
    const std::string board = "R1,1k,0603,10,20,0,top\nR2,1k,0603,30,40,0,top\n"
                              "R3,1k,0603,50,60,0,top\nR4,1k,0603,70,80,0,top\n"
                              "C1,1u,0805,50,60,0,bottom\n";
    // The board's lines with the first text from replaced by to.
    const auto changed = [&board](const std::string& from, const std::string& to) {
        return std::string(board).replace(board.find(from), from.size(), to);
    };
    const std::string added = changed("C1", "R5,1k,0603,90,20,0,top\nC1");
    const struct {
        const char* name;
        std::string lines;  // after the header
        const char* placed; // in the file's order
        std::string told = "";
        bool offered = true;
        bool loadOfNothing = false; // between the offer and the restore
        const char* names = kHeader;
        int placedBefore = 3; // from R1 on
    } cases[] = {
        {"a value changed", changed("R2,1k", "R2,2k"), "R1 R2 R3", changedR2},
        {"the lines in another order",
         "C1,1u,0805,50,60,0,bottom\nR4,1k,0603,70,80,0,top\nR3,1k,0603,50,60,0,top\n"
         "R2,1k,0603,30,40,0,top\nR1,1k,0603,10,20,0,top\n",
         "R3 R2 R1"},
        {"the columns in another order",
         "top,R1,10,20,0,0603,1k\ntop,R2,30,40,0,0603,1k\ntop,R3,50,60,0,0603,1k\n"
         "top,R4,70,80,0,0603,1k\nbottom,C1,50,60,0,0805,1u\n",
         "R1 R2 R3", "", true, false, "Side,Ref,PosX,PosY,Rot,Package,Val\n"},
        {"a part removed", changed("R3,1k,0603,50,60,0,top\n", ""), "R1 R2", goneOnly("R3")},
        {"a part added", added, "R1 R2 R3"},
        {"a part renamed", changed("R2,", "R20,"), "R1 R3", goneOnly("R2")},
        {"a part moved to the other face", changed("40,0,top", "40,0,bottom"), "R1 R3",
         goneOnly("R2")},
        {"most parts renamed",
         changed("R1,1k,0603,10,20,0,top\nR2,", "R10,1k,0603,10,20,0,top\nR20,"), "", "", false},
        {"a load of nothing after the offer", added, "", "", true, true},
        {"half the marks name parts still", changed("R2,", "R20,"), "R1", goneOnly("R2"), true,
         false, kHeader, 2},
    };
    // Columns read by their names, as a file exported again may order them otherwise.
    const char* byNames = "0\n-\nauto\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const WorkbenchRig files;
        const std::string state = files.folder + "/state";
        const std::string file = WorkbenchRig::Write(files.folder + "/board.csv", kHeader + board);
        {
            WorkbenchRig first(state, file, byNames);
            for (int part = 0; part < c.placedBefore; ++part)
                first.run(Id::PlaceUnplace);
        }
        WorkbenchRig::Write(file, c.names + c.lines);
        WorkbenchRig again(state, file, byNames);
        EXPECT_EQ(again.workbench.restoreCaption(), std::nullopt);
        EXPECT_EQ(again.workbench.designatorsCaption().value_or("none").substr(0, 47),
                  c.offered ? "Restore session by designators (" + std::to_string(c.placedBefore) +
                                  " of 4 placed, "
                            : "none");
        if (c.loadOfNothing)
            again.runOn(Id::LoadPkpFile, std::nullopt);
        EXPECT_EQ(Texts(again.run(Id::RestoreByDesignators)), c.told);
        EXPECT_EQ(again.placedNames(), c.placed);
        EXPECT_EQ(again.workbench.designatorsCaption(), std::nullopt);
    }
}

// A session's message comes after what the command said before it.
TEST(Outcome, TakesTheSessionsMessageAfterItsOwn) {
    Outcome outcome;
    outcome.messages.push_back(ErrorMessage("first"));
    SessionUpdate update;
    update.message = ErrorMessage("second");
    update.reveal = 4;
    outcome.take(update);
    EXPECT_EQ(Texts(outcome), "Error: first|Error: second|");
    EXPECT_EQ(outcome.update.reveal, 4);
    EXPECT_FALSE(outcome.update.message);
}

// A board file of the design tool beside the placement file, of the same name, is loaded with
// it: every part of the demo board takes its exact shape, and no position differs.
TEST(Workbench, LoadsTheBoardFileBesideThePlacementFile) {
    WorkbenchRig rig("", DEMO_DIR "/coldfire.csv");
    EXPECT_EQ(Texts(rig.loaded), "");
    EXPECT_EQ(rig.workbench.exactShapes().size(), 160u);
    rig.load(rig.parts); // another placement file forgets them
    EXPECT_TRUE(rig.workbench.exactShapes().empty());
}

// Each outline drawn, in drawing order: "s" when selected, "p" placed, "b" in the background, and
// the middle of its corners in picture pixels, to a thousandth.
std::string Drawn(const Workbench& workbench) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(3);
    for (const DrawnOutline& drawn : workbench.outlinesToDraw()) {
        PlanePoint middle{0, 0};
        for (const PlanePoint& corner : drawn.outline.corners.value())
            middle = {middle.x + corner.x / 4, middle.y + corner.y / 4};
        text << (drawn.selected ? "s" : "") << (drawn.placed ? "p" : "")
             << (drawn.background ? "b" : "") << ' ' << middle.x << ' ' << middle.y << ';';
    }
    return text.str();
}

// Outlines are drawn only for a part located under a calibration: the part first, then with
// the kind's spots the others of its kind, each on the pixel its calibration point was pressed.
// The parts done show under everything, also while a pressed point stands alone.
TEST(WorkbenchOutlines, FollowTheLocatedPartAndItsKind) {
    WorkbenchRig rig;
    rig.showPicture();
    rig.locate("R1");
    EXPECT_EQ(Drawn(rig.workbench), ""); // nothing to map through yet
    rig.calibrateOnR1AndR2();
    rig.locate("R1");
    EXPECT_EQ(Drawn(rig.workbench), "s 100.000 400.000;");
    rig.workbench.press({true, 300, 300});
    EXPECT_EQ(Drawn(rig.workbench), ""); // a pressed point is boxed alone
    rig.run(Id::ShowKindSpots);
    rig.locate("R2");
    rig.run(Id::PlaceUnplace);
    rig.locate("R1");
    EXPECT_EQ(Drawn(rig.workbench), "s 100.000 400.000;p 600.000 900.000;");
    rig.run(Id::ShowPlacedParts);
    rig.workbench.press({true, 300, 300});
    EXPECT_EQ(Drawn(rig.workbench), "pb 600.000 900.000;");
    EXPECT_NEAR(rig.workbench.outlinesToDraw().at(0).outline.origin.value().y, 900, 1e-6);
    rig.locate("R1");
    EXPECT_EQ(Drawn(rig.workbench), "pb 600.000 900.000;s 100.000 400.000;p 600.000 900.000;");
    rig.run(Id::ShowPlacedParts);
    EXPECT_EQ(Drawn(rig.workbench), "s 100.000 400.000;p 600.000 900.000;");
}

// Without a calibration the parts done have nowhere to be drawn.
TEST(WorkbenchOutlines, NoneWithoutACalibration) {
    WorkbenchRig rig;
    rig.showPicture();
    rig.run(Id::ShowPlacedParts);
    rig.locate("R1");
    rig.run(Id::PlaceUnplace);
    EXPECT_EQ(std::make_tuple(rig.placedNames(), Drawn(rig.workbench)), std::make_tuple("R1", ""));
}

// R1 and R2 as the rig's, and U1 with a pin 1 between them.
constexpr char kPartsWithPinOne[] = "Ref,Val,Package,PosX,PosY,Rot,Side\n"
                                    "R1,1k,0603,10,20,0,top\nR2,1k,0603,30,40,0,top\n"
                                    "U1,MCU,SOIC-8_3.9x4.9mm_P1.27mm,20,30,0,top\n";

// "Pin 1 of <package>..." turns the mark of every part of the package, and the next run, of this
// board or another, reads the correction from the user's table. A name without a pin 1 offers
// nothing to correct.
TEST(WorkbenchOutlines, PinOneOfAPackageIsCorrectedOnceForEveryBoard) {
    const TempFile parts(kPartsWithPinOne);
    const WorkbenchRig files;
    const std::string table = files.folder + "/config/pin1.txt";
    WorkbenchRig rig("", parts.path(), kColumns, table);
    rig.locateCalibrated("U1");
    const PlanePoint before = rig.pinOne().value();
    EXPECT_EQ(rig.workbench.pinOneCaption(),
              std::optional<std::string>("Pin 1 of SOIC-8_3.9x4.9mm_P1.27mm..."));
    const Outcome offered = rig.run(Id::PinOneOfPackage);
    ASSERT_TRUE(offered.choice);
    EXPECT_EQ(std::make_tuple(offered.choice->entries.size(), offered.choice->entries[4]),
              std::make_tuple(6u, "Hide it"s));
    EXPECT_EQ(Texts(rig.choose(offered.choice->next, 2)), "");
    // Turned a half about the body's middle, which lies on the part's pixel (350, 650).
    const PlanePoint turned = rig.pinOne().value();
    EXPECT_NEAR(turned.x, 700 - before.x, 1e-6);
    EXPECT_NEAR(turned.y, 1300 - before.y, 1e-6);
    WorkbenchRig next("", parts.path(), kColumns, table);
    next.locateCalibrated("U1");
    const PlanePoint again = next.pinOne().value();
    EXPECT_NEAR(again.x, turned.x, 1e-6);
    EXPECT_NEAR(again.y, turned.y, 1e-6);
    next.choose(Id::PinOneChosen, 4);
    EXPECT_FALSE(next.pinOne());
    EXPECT_EQ(next.run(Id::PinOneOfPackage).choice->entries[4], "Show it again");
    next.locate("R1");
    EXPECT_EQ(next.workbench.pinOneCaption(), std::nullopt); // an 0603 resistor has no pin 1
}

// The corrections of the board's packages are kept with its session: restored where another
// user's table has none for the package, they are written to that table.
TEST(WorkbenchOutlines, PinOneCorrectionsComeBackWithTheKeptSession) {
    const TempFile parts(kPartsWithPinOne);
    const WorkbenchRig files;
    const std::string folder = files.folder;
    {
        WorkbenchRig mine(folder + "/state", parts.path(), kColumns, folder + "/mine.txt");
        mine.locateCalibrated("U1");
        mine.choose(Id::PinOneChosen, 2);
    }
    WorkbenchRig::Write(folder + "/theirs.txt", "1 0 0\tQFN-32\n");
    WorkbenchRig theirs(folder + "/state", parts.path(), kColumns, folder + "/theirs.txt");
    ASSERT_TRUE(theirs.workbench.restoreCaption());
    theirs.run(Id::RestoreSession);
    std::ifstream in(folder + "/theirs.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "1 0 0\tQFN-32\n2 0 0\tSOIC-8_3.9x4.9mm_P1.27mm\n");
}

TEST(Workbench, ListsThePartsTheBoardFilePlacesElsewhereInOneBox) {
    WorkbenchRig rig;
    const TempFile board(R"((kicad_pcb (version 20221018)
      (footprint "R_0603_1608Metric" (layer "F.Cu") (at 10 -20)
        (property "Reference" "R1") (pad "1" smd rect (at -0.8 0) (size 0.8 0.9) (layers "F.Cu")))
      (footprint "R_0603_1608Metric" (layer "F.Cu") (at 30.1 -40)
        (property "Reference" "R2") (pad "1" smd rect (at -0.8 0) (size 0.8 0.9) (layers "F.Cu")))
      (footprint "R_0603_1608Metric" (layer "F.Cu") (at 30.04 -40)
        (property "Reference" "R9") (pad "1" smd rect (at -0.8 0) (size 0.8 0.9) (layers "F.Cu")))))");
    EXPECT_EQ(Texts(rig.runOn(Id::LoadBoardFile, board.path())),
              "Board file: Parts placed elsewhere in the board file than in the placement "
              "file:\nR2: board file 30.100, 40.000; placement file 30.000, 40.000|");
    EXPECT_EQ(rig.workbench.exactShapes().size(), 2u);
}

// Ctrl+0 shows the whole picture again after the wheel enlarged it.
TEST(Workbench, ShowsTheWholePictureAgain) {
    WorkbenchRig rig;
    rig.showPicture();
    rig.workbench.zoomOverview(300, 250, 3);
    EXPECT_GT(rig.workbench.session().view().overviewZoom, 1.0);
    rig.run(Id::WholePicture);
    EXPECT_EQ(rig.workbench.session().view().overviewZoom, 1.0);
}

// The undo history through the commands: each step the user takes, with the designators
// placed and the row selected afterwards, written out by hand. R1 and R2 are rows 0 and 1 of
// the top face, C1 the bottom's only part.
struct UndoRow {
    const char* step;
    CommandId command;
    const char* placed;
    int row;
};

const UndoRow kUndoSteps[] = {
    {"Enter places R1", Id::PlaceUnplace, "R1", 1},
    {"Enter places R2", Id::PlaceUnplace, "R1 R2", 1},
    {"undo gives R2 back", Id::Undo, "R1", 1},
    {"undo gives R1 back", Id::Undo, "", 0},
    {"undo with no step left", Id::Undo, "", 0},
    {"redo places R1 again", Id::Redo, "R1", 1},
    {"Enter after an undo", Id::PlaceUnplace, "R1 R2", 1},
    {"the new step forgets the redo", Id::Redo, "R1 R2", 1},
    {"Enter on a placed row unplaces", Id::PlaceUnplace, "R1", 1},
    {"undo of the unplace", Id::Undo, "R1 R2", 1},
    {"unplace all", Id::UnplaceAllConfirmed, "", 1},
    {"undo of unplace all", Id::Undo, "R1 R2", 1},
    {"redo of unplace all", Id::Redo, "", 1},
    {"Bottom", Id::Bottom, "", 0},
    {"Enter places C1", Id::PlaceUnplace, "C1", 0},
    {"undo on the bottom", Id::Undo, "", 0},
    {"Top is no step", Id::Top, "", 0},
    {"redo goes back to the bottom", Id::Redo, "C1", 0},
};

TEST(WorkbenchUndo, UndoesAndRedoesPlacingStepByStep) {
    WorkbenchRig rig;
    for (const UndoRow& row : kUndoSteps) {
        SCOPED_TRACE(row.step);
        rig.workbench.setHighlightedRow(rig.workbench.session().selection().row);
        rig.run(row.command);
        EXPECT_EQ(rig.placedNames(), row.placed);
        EXPECT_EQ(rig.workbench.session().selection().row, std::optional<int>(row.row));
    }
    EXPECT_EQ(rig.workbench.session().face(), Face::Bottom);
}

// A calibration step comes back with its state; a command that changed nothing is no step. A
// new picture or placement file forgets every step.
TEST(WorkbenchUndo, UndoesCalibrationStepsAndForgetsThemWithANewPicture) {
    WorkbenchRig rig;
    rig.showPicture();
    const AssemblySession& session = rig.workbench.session();
    rig.locate("R1");
    rig.workbench.press({true, 100, 400});
    rig.run(Id::Cal1);
    EXPECT_EQ(session.calibration().state, CalState::WaitingPoint2);
    rig.run(Id::Cal1); // the same again: no step
    rig.run(Id::Undo);
    EXPECT_EQ(session.calibration().state, CalState::None);
    rig.run(Id::Redo);
    EXPECT_EQ(session.calibration().state, CalState::WaitingPoint2);
    rig.runOn(Id::LoadBitmap, rig.parts);
    rig.run(Id::Undo);
    EXPECT_EQ(session.calibration().state, CalState::None);
    rig.workbench.setHighlightedRow(0);
    rig.run(Id::PlaceUnplace);
    rig.load(rig.parts);
    rig.run(Id::Undo);
    EXPECT_EQ(rig.placedNames(), "");
}

// With the setting on, the new kind goes to the banner instead of a box; off, the box as ever.
TEST(WorkbenchAnnounce, TheBannerTakesTheNewKindsNoticeWhenChosen) {
    WorkbenchRig rig;
    const TempFile kinds("Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,10,20,0,top\n"
                         "C2,1u,0805,30,40,0,top\nC3,1u,0805,50,60,0,top\n");
    rig.load(kinds.path());
    rig.workbench.setHighlightedRow(0);
    const Outcome boxed = rig.run(Id::PlaceUnplace);
    EXPECT_EQ(Texts(boxed), "Placement: New part !\n\nItem# 2\n1u, 0805|");
    EXPECT_FALSE(boxed.banner);
    rig.run(Id::AnnounceInPicture);
    rig.run(Id::Undo);
    rig.workbench.setHighlightedRow(0);
    const Outcome bannered = rig.run(Id::PlaceUnplace);
    EXPECT_EQ(Texts(bannered), "");
    EXPECT_EQ(bannered.banner, std::optional<std::string>("New part !   Item# 2   1u, 0805"));
}

// Load BOM asks for its file and joins it; a placement file loaded again is joined again and
// its mismatches told after the load's own messages. The toggle's check follows the selection.
TEST(Workbench, LoadsABomAndTogglesTheSelectedPart) {
    WorkbenchRig rig;
    const TempFile bom("Designator,Qty,DNP\n\"R1,R2\",2,\nC1,1,DNP\nC9,1,\n");
    const std::string mismatches = "BOM: In the BOM but not in the placement file: C9; in the "
                                   "placement file but not in the BOM: none.|";
    EXPECT_EQ(Texts(rig.runOn(Id::LoadBom, bom.path())), mismatches);
    EXPECT_EQ(Texts(rig.load(rig.parts)), mismatches);
    rig.workbench.setHighlightedRow(0);
    rig.run(Id::LocateSelectedPart);
    EXPECT_FALSE(rig.workbench.selectedNotFitted());
    rig.run(Id::ToggleNotFitted);
    EXPECT_TRUE(rig.workbench.selectedNotFitted());
    EXPECT_EQ(Texts(rig.run(Id::PlaceUnplace)).substr(0, 12), "Placement: R");
    EXPECT_EQ(rig.placedNames(), "");
}

// The progress goes to the file chosen.
TEST(Workbench, ExportsTheProgress) {
    WorkbenchRig rig;
    rig.run(Id::PlaceUnplace);
    const std::string progress = rig.folder + "/progress.csv";
    EXPECT_TRUE(rig.runOn(Id::ExportProgress, progress).messages.empty());
    std::ifstream in(progress);
    std::string lines[4];
    for (std::string& line : lines)
        std::getline(in, line);
    EXPECT_EQ(lines[0], "Designator,Face,Value,Package,Placed,Time placed");
    EXPECT_EQ(lines[1].substr(0, 21), "R1,top,1k,0603,yes,20"); // placed now, at a time
    EXPECT_EQ(lines[2] + "|" + lines[3], "R2,top,1k,0603,no,|C1,bottom,1u,0805,no,");
}

// A colleague's progress file marks the same parts in a placement file exported again with its
// lines in another order; the marks are kept, and one undo takes them all back.
TEST(Workbench, ImportsTheProgressOfAnotherExportByDesignator) {
    WorkbenchRig colleague;
    colleague.run(Id::PlaceUnplace); // R1
    colleague.run(Id::Bottom);
    colleague.workbench.setHighlightedRow(0);
    colleague.run(Id::PlaceUnplace); // C1
    const std::string progress = colleague.folder + "/progress.csv";
    colleague.runOn(Id::ExportProgress, progress);

    const WorkbenchRig files;
    const std::string board =
        WorkbenchRig::Write(files.folder + "/board.csv",
                            "Ref,Val,Package,PosX,PosY,Rot,Side\nC1,1u,0805,50,60,0,bottom\n"
                            "R2,1k,0603,30,40,0,top\nR1,1k,0603,10,20,0,top\n");
    WorkbenchRig rig(files.folder + "/state", board);
    EXPECT_EQ(Texts(rig.runOn(Id::ImportProgress, progress)), "");
    EXPECT_EQ(rig.placedNames(), "C1 R1");
    rig.run(Id::Undo);
    EXPECT_EQ(rig.placedNames(), "");
    rig.run(Id::Redo);
    EXPECT_EQ(rig.placedNames(), "C1 R1");
    rig.load(rig.parts); // lets the board go, its session kept
    const WorkbenchRig next(files.folder + "/state", board);
    EXPECT_EQ(next.workbench.restoreCaption().value_or("").rfind(
                  "Restore session (1 + 1 of 2 + 1 placed, ", 0),
              0u);
}

// The sheets of the face shown go beside the pick list's page, and are opened once written.
TEST(Workbench, PrintSheetsAsksTheWindowForThePdf) {
    WorkbenchRig rig;
    const std::string path = rig.pages() + "/sheets.pdf";
    const Outcome outcome = rig.run(Id::PrintSheets, "4");
    ASSERT_TRUE(outcome.sheets && outcome.open);
    EXPECT_EQ(std::make_tuple(outcome.sheets->path, outcome.open->target,
                              outcome.sheets->placementPath, outcome.sheets->pcbCount,
                              outcome.sheets->items.size(), outcome.sheets->items[0].designators),
              std::make_tuple(path, path, rig.parts, 4u, std::size_t(1),
                              std::vector<std::string>{"R1", "R2"}));
    // Dated as "2026-12-08": digits with dashes between year, month and day.
    const std::string& date = outcome.sheets->date;
    ASSERT_EQ(date.size(), 10u);
    for (std::size_t i = 0; i < date.size(); ++i)
        EXPECT_EQ(i == 4 || i == 7 ? date[i] == '-'
                                   : std::isdigit(static_cast<unsigned char>(date[i])) != 0,
                  true)
            << date;
}

// While calibrated, the sheets carry the picture and each item's spots in picture pixels,
// numbered as its designators: Cal 1 puts R1 (10, 20) at (100, 400) and Cal 2 R2 (30, 40) at
// (600, 900), 25 pixels a millimetre, so R3 (20, 30) lies halfway at (350, 650).
TEST(Workbench, PrintSheetsLocatesTheSpotsOfEachItem) {
    WorkbenchRig rig;
    const TempFile kinds("Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,10,20,0,top\n"
                         "R2,1k,0603,30,40,0,top\nR3,1k,0603,20,30,0,top\n"
                         "C1,1u,0805,30,20,0,top\n");
    rig.load(kinds.path());
    EXPECT_FALSE(rig.run(Id::PrintSheets).sheets->picture); // no picture yet
    rig.showPicture();
    EXPECT_FALSE(rig.run(Id::PrintSheets).sheets->picture); // not calibrated
    rig.calibrateOnR1AndR2();
    rig.run(Id::RotR);
    const std::optional<SheetsPicture> sheets = rig.run(Id::PrintSheets).sheets->picture;
    ASSERT_TRUE(sheets);
    EXPECT_EQ(std::make_tuple(sheets->path, sheets->size.width, sheets->size.height,
                              sheets->viewRotation, sheets->mirrored),
              std::make_tuple(rig.parts, 1200, 1000, 90, false));
    const std::vector<std::vector<std::tuple<int, int, int>>> expected = {
        {{1, 100, 400}, {2, 600, 900}, {3, 350, 650}}, {{1, 600, 400}}};
    std::vector<std::vector<std::tuple<int, int, int>>> spots;
    for (const std::vector<SheetSpot>& item : sheets->spots) {
        spots.emplace_back();
        for (const SheetSpot& spot : item)
            spots.back().emplace_back(spot.number, spot.pixel.x, spot.pixel.y);
    }
    EXPECT_EQ(spots, expected);
}

// The rule's table is offered as the rule stands; a table that gives no rule is told and offered
// again as left; one that does changes what the pick list gathers and how the entry names it.
TEST(Workbench, SparesRuleIsEditedAsATable) {
    WorkbenchRig rig;
    const Outcome offered = rig.run(Id::EditSparesRule);
    ASSERT_TRUE(offered.tableEdit);
    EXPECT_EQ(std::make_tuple(offered.tableEdit->title, offered.tableEdit->columns,
                              offered.tableEdit->rows, offered.tableEdit->next),
              std::make_tuple("Spares per item"s,
                              std::vector<std::string>{"Up to package size", "Percent", "Minimum"},
                              TableCells{{"0402", "10", "2"}, {"", "5", "1"}},
                              Id::SparesRuleEdited));
    CommandInputs inputs = WorkbenchRig::Fields("10");
    inputs.editedTable = TableCells{{"0402", "10", "2"}, {"0201", "5", "1"}};
    const Outcome refused = rig.workbench.run(Id::SparesRuleEdited, inputs);
    EXPECT_EQ(Texts(refused),
              "Spares per item: Row 2: the size must be larger than the rows' above.|");
    ASSERT_TRUE(refused.tableEdit);
    EXPECT_EQ(refused.tableEdit->rows, *inputs.editedTable);
    inputs.editedTable = TableCells{{"0603", "30", "0"}, {"", "0", "0"}};
    EXPECT_FALSE(rig.workbench.run(Id::SparesRuleEdited, inputs).tableEdit);
    EXPECT_EQ(rig.workbench.sparesCaption(),
              "Spares per item (30 %, at least 0 up to 0603; 0 %, at least 0 otherwise)");
    rig.run(Id::SparesPerItem);
    // Two 0603 parts on ten boards: 20 and 30 % of them.
    EXPECT_EQ(rig.run(Id::PickList, "10").clipboardText,
              kPickListHead + "\tTO GATHER\n-------\t-------\t-----\t-----\t-----\t-----\n"
                              "1\t0603\t1k\t2\t20\t26\nEND\n\n\n\n"s);
    inputs.editedTable.reset(); // cancelled
    EXPECT_FALSE(rig.workbench.run(Id::SparesRuleEdited, inputs).tableEdit);
    EXPECT_EQ(rig.workbench.sparesRuleLine(), "0603,30,0;,0,0");
}

// The settings give the rule back; a line that gives none leaves the rule as it stands.
TEST(Workbench, SparesRuleComesBackFromTheSettings) {
    WorkbenchRig rig;
    rig.workbench.restoreSparesRule("0201,20,4;1206,5,1");
    EXPECT_EQ(rig.workbench.sparesRuleLine(), "0201,20,4;1206,5,1");
    rig.workbench.restoreSparesRule("0201,20");
    EXPECT_EQ(rig.workbench.sparesRuleLine(), "0201,20,4;1206,5,1");
}

} // namespace
} // namespace kavelto
