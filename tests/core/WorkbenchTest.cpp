#include "app/Workbench.h"
#include "TempFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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

constexpr char kParts[] = "Ref,Val,Package,PosX,PosY,Rot,Side\n"
                          "R1,1k,0603,10,20,0,top\n"
                          "R2,1k,0603,30,40,0,top\n"
                          "C1,1u,0805,50,60,0,bottom\n";

constexpr char kColumns[] = "1\n,\n1,5,6,3,4,7,2\n";

// A workbench that keeps nothing, its manual looked for at two paths that tests create, with
// three parts loaded under the columns Ref,Val,Package,PosX,PosY,Rot,Side and row 0 highlighted.
struct WorkbenchRig {
    std::string folder = MakeFolder();
    std::string firstManual = folder + "/first.pdf";
    std::string secondManual = folder + "/second.pdf";
    TempFile parts{kParts};
    Workbench workbench;
    Outcome loaded;

    // Sessions are kept in stateFolder, an empty one keeping nothing; the parts are those of
    // partsPath, else the rig's own, read with the column layout given.
    // The user's pin 1 corrections are kept in pinOneTable, an empty one keeping none.
    explicit WorkbenchRig(const std::string& stateFolder = "", const std::string& partsPath = "",
                          const char* columns = kColumns, const std::string& pinOneTable = "")
        : workbench({"kavelto", {firstManual, secondManual}, stateFolder, false, pinOneTable}) {
        EXPECT_TRUE(workbench.loadColumnMap(TempFile(columns).path()).ok());
        loaded = load(partsPath.empty() ? parts.path() : partsPath);
        workbench.setHighlightedRow(0); // as a click in the list does
    }
    ~WorkbenchRig() { std::filesystem::remove_all(folder); }

    static std::string MakeFolder() {
        char pattern[] = "/tmp/kavelto-workbench-XXXXXX";
        return mkdtemp(pattern);
    }
    static CommandInputs Fields(const std::string& pcbCount, bool focus = true) {
        CommandInputs inputs;
        inputs.pcbCountText = pcbCount;
        inputs.controlHasFocus = focus;
        return inputs;
    }
    Outcome run(CommandId id, const std::string& pcbCount = "1", bool focus = true) {
        return workbench.run(id, Fields(pcbCount, focus));
    }
    // The command on the file chosen, or with the choice cancelled.
    Outcome runOn(CommandId id, std::optional<std::string> file,
                  const std::string& pcbCount = "1") {
        CommandInputs inputs = Fields(pcbCount);
        inputs.chosenFile = std::move(file);
        return workbench.run(id, inputs);
    }
    Outcome load(const std::string& path) { return runOn(CommandId::LoadPkpFile, path); }
    // The command with the entry chosen from the list it offered.
    Outcome choose(CommandId id, int entry) {
        CommandInputs inputs = Fields("1");
        inputs.chosenEntry = entry;
        return workbench.run(id, inputs);
    }
    // Pages and sheets go under the rig's folder, into the user's own folder there, returned.
    std::string writePagesHere() const {
        setenv("TMPDIR", folder.c_str(), 1);
        unsetenv("XDG_RUNTIME_DIR");
        return folder + "/kavelto-" + std::to_string(geteuid());
    }
    int placed() const {
        int count = 0;
        for (int i = 0; i < workbench.session().table().partCount(); ++i)
            count += workbench.session().table().part(i).placed;
        return count;
    }
    // The designators placed, in table order.
    std::string placedNames() const {
        std::string names;
        for (const PartRecord& part : workbench.session().table().parts())
            if (part.placed)
                names += (names.empty() ? "" : " ") + std::string(part.designator);
        return names;
    }
    // A 1200 x 1000 picture under the rig's parts, its board view 600 x 500.
    void showPicture() {
        runOn(CommandId::LoadBitmap, parts.path()); // any file: its size is told below
        workbench.session().setFrameSize(600, 500);
        workbench.session().pictureOpened(1200, 1000);
    }
    // A click in the list on the part's row.
    void locate(const std::string& designator) {
        const AssemblySession& session = workbench.session();
        for (int row = 0; row < session.faceList().faceCount; ++row)
            if (session.table().part(session.faceList().indexes[row]).designator == designator)
                workbench.setHighlightedRow(row);
        run(CommandId::LocateSelectedPart);
    }
    // R1 (board 10, 20) pressed at pixel (100, 400) for Cal 1, R2 (30, 40) at (600, 900) for
    // Cal 2.
    void calibrateOnR1AndR2() {
        locate("R1");
        workbench.press({true, 100, 400});
        run(CommandId::Cal1);
        locate("R2");
        workbench.press({true, 600, 900});
        run(CommandId::Cal2);
    }
    // The session file a store keeps in the state folder.
    static std::string KeptFile(const std::string& state) {
        for (const auto& entry : std::filesystem::directory_iterator(state))
            if (entry.path().extension() == ".session")
                return entry.path().string();
        return "";
    }
};

std::string Texts(const Outcome& outcome) {
    std::string texts;
    for (const UserMessage& message : outcome.messages)
        texts += message.caption + ": " + message.text + "|";
    return texts;
}

TEST(Workbench, RefusesACountThatIsNoPositiveIntegerAndFocusesItsField) {
    WorkbenchRig rig;
    const Outcome outcome = rig.run(CommandId::SortChange, "-");
    EXPECT_EQ(Texts(outcome), "kavelto: Please enter a positive integer.|");
    EXPECT_EQ(outcome.messages.at(0).icon, MessageIcon::Exclamation);
    EXPECT_TRUE(outcome.focusPcbCount);
    EXPECT_TRUE(outcome.update.refreshFields); // the new order is taken all the same
    EXPECT_FALSE(rig.run(CommandId::SortChange, "3").focusPcbCount);
    EXPECT_EQ(rig.workbench.session().pcbCount(), 3u);
}

// The OK command places while a control has the focus, else closes once the fields read well.
TEST(Workbench, OkPlacesWithAFocusElseClosesOnAGoodCount) {
    WorkbenchRig rig;
    EXPECT_FALSE(rig.run(CommandId::Ok, "1", true).closeWindow);
    EXPECT_EQ(rig.placed(), 1);
    const Outcome refused = rig.run(CommandId::Ok, "", false);
    EXPECT_FALSE(refused.closeWindow);
    EXPECT_EQ(Texts(refused), "kavelto: Please enter a positive integer.|");
    EXPECT_TRUE(rig.run(CommandId::Ok, "2", false).closeWindow);
    EXPECT_EQ(rig.placed(), 1);
}

// The question comes first; only Ok clears the marks.
TEST(Workbench, UnplaceAllAsksFirstAndGoesOnOnlyOnOk) {
    WorkbenchRig rig;
    rig.run(CommandId::PlaceUnplace);
    const Outcome asked = rig.run(CommandId::UnplaceAll);
    EXPECT_EQ(rig.placed(), 1);
    ASSERT_TRUE(asked.prompt);
    const UserMessage& box = asked.prompt->message;
    EXPECT_EQ(std::tie(box.text, box.caption, box.buttons),
              std::make_tuple("Unplace all components on both sides ?"s, "Please confirm"s,
                              MessageButtons::OkCancel));
    rig.workbench.answer(*asked.prompt, MessageAnswer::Cancel, {});
    EXPECT_EQ(rig.placed(), 1);
    rig.workbench.answer(*asked.prompt, MessageAnswer::Ok, {});
    EXPECT_EQ(rig.placed(), 0);
}

// The view's buttons in turn, from the upright, unmirrored view with a zoom box of 100: the
// turn, the mirror and the zoom box afterwards. 100 / 1.3 is 76.9, 100 x 1.3 is 130.
TEST(Workbench, ViewButtonsTurnMirrorAndZoom) {
    using Id = CommandId;
    const struct {
        const char* name;
        std::vector<CommandId> buttons;
        std::tuple<int, bool, int> view; // turn in degrees, mirrored, zoom box
    } rows[] = {
        {"Rot L", {Id::RotL}, {270, false, 100}},
        {"Rot R", {Id::RotR}, {90, false, 100}},
        {"Rot L twice", {Id::RotL, Id::RotL}, {180, false, 100}},
        {"Rot R four times", {Id::RotR, Id::RotR, Id::RotR, Id::RotR}, {0, false, 100}},
        {"Flip", {Id::Flip}, {0, true, 100}},
        {"Flip twice", {Id::Flip, Id::Flip}, {0, false, 100}},
        {"Zoom in", {Id::ZoomIn}, {0, false, 76}},
        {"Zoom out", {Id::ZoomOut}, {0, false, 130}},
    };
    for (const auto& row : rows) {
        WorkbenchRig rig;
        for (const CommandId button : row.buttons)
            rig.run(button);
        const ViewState& view = rig.workbench.session().view();
        EXPECT_EQ(std::make_tuple(view.viewRotation, view.mirrored, view.zoomBoxSize), row.view)
            << row.name;
    }
}

TEST(Workbench, TheLogoOffersTheMakersSite) {
    WorkbenchRig rig;
    const Outcome asked = rig.run(CommandId::LogoClick);
    ASSERT_TRUE(asked.prompt);
    EXPECT_EQ(std::tie(asked.prompt->message.caption, asked.prompt->message.buttons),
              std::make_tuple("QUANDEL"s, MessageButtons::YesNo));
    EXPECT_FALSE(rig.workbench.answer(*asked.prompt, MessageAnswer::No, {}).open);
    const Outcome visit = rig.workbench.answer(*asked.prompt, MessageAnswer::Yes, {});
    ASSERT_TRUE(visit.open);
    EXPECT_EQ(std::tie(visit.open->target, visit.open->isUrl),
              std::make_tuple("http://www.quandel.example"s, true));
}

// The first manual that exists opens; without any, Retry looks again.
TEST(Workbench, NeedHelpOpensTheFirstManualThatExists) {
    WorkbenchRig rig;
    const Outcome none = rig.run(CommandId::NeedHelp);
    ASSERT_TRUE(none.prompt);
    EXPECT_FALSE(none.open);
    EXPECT_EQ(std::tie(none.prompt->message.text, none.prompt->message.buttons, none.prompt->answer,
                       none.prompt->next),
              std::make_tuple("Can't open KaveltoManual.pdf..."s, MessageButtons::RetryCancel,
                              MessageAnswer::Retry, CommandId::NeedHelp));
    std::ofstream(rig.secondManual) << "%PDF";
    const Outcome second = rig.run(CommandId::NeedHelp);
    ASSERT_TRUE(second.open && second.open->onFailure);
    // A manual that no program takes is named whole, for the user to open by hand.
    const Prompt& failed = *second.open->onFailure;
    EXPECT_EQ(std::tie(second.open->target, second.open->isUrl, failed.next, failed.message.text,
                       failed.message.buttons),
              std::make_tuple(rig.secondManual, false, CommandId::NeedHelp,
                              "Can't open KaveltoManual.pdf...\n\nNo program opened " +
                                  rig.secondManual + "\nOpen it with a PDF viewer.",
                              MessageButtons::RetryCancel));
    std::ofstream(rig.firstManual) << "%PDF";
    EXPECT_EQ(rig.run(CommandId::NeedHelp).open->target, rig.firstManual);
}

// The list goes to the clipboard and the page into the user's own folder, which is opened.
TEST(Workbench, PickListFillsTheClipboardAndOpensThePage) {
    WorkbenchRig rig;
    const std::string page = rig.writePagesHere() + "/picklst.html";
    const Outcome outcome = rig.run(CommandId::PickList, "3");
    ASSERT_TRUE(outcome.clipboardText && outcome.open);
    // Byte for byte the list it always was, while no BOM is loaded.
    EXPECT_EQ(*outcome.clipboardText,
              "Picking List for TOP SIDE \n\nITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/total\n"
              "-------\t-------\t-----\t-----\t-----\n1\t0603\t1k\t2\t6\nEND\n\n\n\n");
    // Where no browser takes it, a box names the page whole.
    ASSERT_TRUE(outcome.open->tellOnFailure);
    EXPECT_EQ(std::tie(outcome.open->target, outcome.open->isUrl, outcome.open->tellOnFailure->text,
                       outcome.open->tellOnFailure->buttons),
              std::make_tuple(page, false,
                              "No browser opened the pick list page.\n\nIt is at " + page +
                                  "\nand the list is on the clipboard.",
                              MessageButtons::Ok));
    EXPECT_TRUE(outcome.messages.empty());
}

// The title bar names the files loaded, without their folders, before the caption.
TEST(Workbench, TheTitleNamesTheFilesLoaded) {
    const std::string caption = "Kavelto, offered by QUANDEL (www.quandel.example) - version 1.2";
    WorkbenchRig rig;
    const std::string parts = rig.parts.path().substr(rig.parts.path().rfind('/') + 1);
    EXPECT_EQ(rig.workbench.windowTitle(), parts + " \u2014 " + caption);
    rig.runOn(CommandId::LoadBitmap, "/boards/top side/coldfire-top.jpg");
    EXPECT_EQ(rig.workbench.windowTitle(), parts + ", coldfire-top.jpg \u2014 " + caption);
    rig.runOn(CommandId::LoadPkpFile, std::nullopt); // cancelled: nothing is listed
    EXPECT_EQ(rig.workbench.windowTitle(), "coldfire-top.jpg \u2014 " + caption);
    rig.runOn(CommandId::LoadBitmap, std::nullopt);
    EXPECT_EQ(rig.workbench.windowTitle(), caption);
}

// Without a folder of the user's own the page is not written, and nothing is opened.
TEST(Workbench, PickListSaysWhenThePageCannotBeWritten) {
    WorkbenchRig rig;
    const std::string notAFolder = rig.folder + "/file";
    std::ofstream(notAFolder) << "x";
    setenv("TMPDIR", notAFolder.c_str(), 1);
    unsetenv("XDG_RUNTIME_DIR");
    const Outcome outcome = rig.run(CommandId::PickList);
    EXPECT_TRUE(outcome.clipboardText);
    EXPECT_FALSE(outcome.open);
    EXPECT_EQ(Texts(outcome), "Error: Can't create html file|");
}

TEST(Workbench, RestoreWithoutAnOfferChangesNothing) {
    WorkbenchRig rig;
    rig.run(CommandId::PlaceUnplace);
    const Outcome outcome = rig.run(CommandId::RestoreSession);
    EXPECT_EQ(std::make_tuple(outcome.messages.size(), outcome.update.repaint, rig.placed()),
              std::make_tuple(0u, Repaint::None, 1));
}

TEST(Workbench, FindPartSaysWhenNoPartHasTheDesignator) {
    WorkbenchRig rig;
    EXPECT_TRUE(rig.run(CommandId::FindPart).openFindField);
    EXPECT_TRUE(rig.workbench.findPart("R9").findFailed);
    EXPECT_FALSE(rig.workbench.findPart("c1").findFailed);
    EXPECT_EQ(rig.workbench.session().face(), Face::Bottom);
}

TEST(Workbench, TogglesTheKindSpotsAndOpensTheSmallWindows) {
    WorkbenchRig rig;
    EXPECT_EQ(rig.run(CommandId::ShowKindSpots).update.repaint, Repaint::Soon);
    EXPECT_TRUE(rig.workbench.showKindSpots());
    rig.run(CommandId::ShowKindSpots);
    EXPECT_FALSE(rig.workbench.showKindSpots());
    EXPECT_EQ(
        std::make_pair(rig.run(CommandId::About).window, rig.run(CommandId::Shortcuts).window),
        std::make_pair(SmallWindow::About, SmallWindow::Keymap));
}

TEST(Workbench, ACancelledLoadLeavesNothingLoaded) {
    WorkbenchRig rig;
    EXPECT_TRUE(rig.run(CommandId::LoadPkpFile).update.refreshFields);
    EXPECT_EQ(std::make_tuple(rig.workbench.session().pkpText(), rig.workbench.restoreCaption()),
              std::make_tuple("no pkp loaded"s, std::optional<std::string>()));
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
    WorkbenchRig probe;
    const std::string file = probe.folder + "/file";
    std::ofstream(file) << "x";
    const std::string state = file + "/state"; // under a file: no write can succeed
    WorkbenchRig rig(state);
    const std::string told = Texts(rig.loaded);
    EXPECT_EQ(told.rfind("Error: Can't keep the session in " + state, 0), 0u) << told;
    EXPECT_EQ(Texts(rig.run(CommandId::PlaceUnplace)), "");
    EXPECT_EQ(Texts(rig.run(CommandId::Down)), "");
}

// Without a folder to keep sessions in, each load says that nothing is kept, before anything is
// placed.
TEST(Workbench, TellsAtEachLoadThatNoFolderKeepsTheSession) {
    WorkbenchRig files;
    Workbench workbench({"kavelto", {}, "", true});
    ASSERT_TRUE(workbench.loadColumnMap(TempFile(kColumns).path()).ok());
    CommandInputs inputs = WorkbenchRig::Fields("1");
    inputs.chosenFile = files.parts.path();
    const std::string told = "Error: Can't keep the session: neither XDG_STATE_HOME nor HOME "
                             "names a folder, and the user has no home folder. Nothing of this "
                             "board is kept.|";
    EXPECT_EQ(Texts(workbench.run(CommandId::LoadPkpFile, inputs)), told);
    workbench.setHighlightedRow(0);
    EXPECT_EQ(Texts(workbench.run(CommandId::PlaceUnplace, inputs)), "");
    EXPECT_EQ(Texts(workbench.run(CommandId::LoadPkpFile, inputs)), told);
}

// A session that can't be written where it is kept is told by the first command after the write
// failed: the load itself never waits for the disk.
TEST(Workbench, TellsASessionThatCantBeWrittenAtTheNextCommand) {
    WorkbenchRig files;
    const std::string state = files.folder + "/state";
    { const WorkbenchRig first(state, files.parts.path()); } // its last write done as it goes
    const std::string kept = WorkbenchRig::KeptFile(state);
    std::filesystem::remove(kept);
    std::filesystem::create_directory(kept); // in the way of the kept file, and no session
    WorkbenchRig second(state, files.parts.path());
    EXPECT_EQ(Texts(second.loaded),
              "Error: The kept session " + kept + " is damaged and was not used|");
    // The write waits a moment for a newer one; a command that changes nothing asks meanwhile.
    std::string told;
    for (int tries = 0; told.empty() && tries < 1000; ++tries) {
        usleep(5000);
        told = Texts(second.run(CommandId::Top));
    }
    EXPECT_EQ(told, "Error: Can't keep the session in " + kept + ": Is a directory|");
}

// The sessions kept before are listed newest first, each with its time and counts, and the one
// chosen is restored; without any, the entry is not shown.
TEST(Workbench, RestoresTheSessionChosenFromThoseKeptBefore) {
    WorkbenchRig files;
    const std::string state = files.folder + "/state";
    WorkbenchRig rig(state, files.parts.path());
    EXPECT_EQ(rig.workbench.earlierCaption(), std::nullopt);
    EXPECT_FALSE(rig.run(CommandId::RestoreEarlierSession).choice.has_value());
    rig.run(CommandId::PlaceUnplace); // R1
    rig.load(files.parts.path());
    rig.workbench.setHighlightedRow(0);
    rig.run(CommandId::PlaceUnplace);
    rig.run(CommandId::PlaceUnplace); // R1 and R2
    rig.load(files.parts.path());
    EXPECT_EQ(rig.workbench.earlierCaption(), "Restore an earlier session...");
    const std::optional<Choice> choice = rig.run(CommandId::RestoreEarlierSession).choice;
    ASSERT_TRUE(choice.has_value());
    std::vector<std::string> counts;
    for (const std::string& entry : choice->entries)
        counts.push_back(entry.substr(entry.find(": ")));
    EXPECT_EQ(std::make_tuple(choice->title, counts, choice->next),
              std::make_tuple(std::string("Restore an earlier session..."),
                              std::vector<std::string>{": 2 of 2 placed", ": 1 of 2 placed"},
                              CommandId::RestoreChosenSession));
    EXPECT_EQ(choice->entries.front().size(),
              std::string("2026-12-07 14:02: 2 of 2 placed").size());
    rig.choose(CommandId::RestoreChosenSession, 1);
    EXPECT_EQ(rig.placed(), 1);
    rig.choose(CommandId::RestoreChosenSession, 7); // beyond the list: nothing
    EXPECT_EQ(rig.placed(), 1);
}

// A placement file exported again offers the marks kept for it by designator and face, when at
// least half of them name parts of it still: R1, R2 and R3 were placed on the top face of R1 to
// R4, each 1k 0603, and C1 on the bottom. The marks of parts gone and of parts changed are told.
TEST(Workbench, RestoresTheMarksOfAFileExportedAgainByDesignator) {
    const std::string changedR2 = "The marks were restored by designator.\n\nPlaced under another "
                                  "value or package, to be looked at: R2 (1k, 0603 now 2k, 0603).";
    const auto goneOnly = [](const char* names) {
        return "The marks were restored by designator.\n\nNo longer in the file, not restored: " +
               std::string(names) + ".";
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
        std::string lines; // after the header
        std::vector<std::string> placed;
        std::string told; // "-" when nothing is offered, "cancelled" for a cancelled load after it
        const char* names = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
    } cases[] = {
        {"a value changed", changed("R2,1k", "R2,2k"), {"R1", "R2", "R3"}, changedR2},
        {"the lines in another order",
         "C1,1u,0805,50,60,0,bottom\nR4,1k,0603,70,80,0,top\nR3,1k,0603,50,60,0,top\n"
         "R2,1k,0603,30,40,0,top\nR1,1k,0603,10,20,0,top\n",
         {"R1", "R2", "R3"},
         ""},
        {"the columns in another order",
         "top,R1,10,20,0,0603,1k\ntop,R2,30,40,0,0603,1k\ntop,R3,50,60,0,0603,1k\n"
         "top,R4,70,80,0,0603,1k\nbottom,C1,50,60,0,0805,1u\n",
         {"R1", "R2", "R3"},
         "",
         "Side,Ref,PosX,PosY,Rot,Package,Val\n"},
        {"a part removed", changed("R3,1k,0603,50,60,0,top\n", ""), {"R1", "R2"}, goneOnly("R3")},
        {"a part added", added, {"R1", "R2", "R3"}, ""},
        {"a part renamed", changed("R2,", "R20,"), {"R1", "R3"}, goneOnly("R2")},
        {"a part moved to the other face",
         changed("40,0,top", "40,0,bottom"),
         {"R1", "R3"},
         goneOnly("R2")},
        {"most parts renamed",
         changed("R1,1k,0603,10,20,0,top\nR2,", "R10,1k,0603,10,20,0,top\nR20,"),
         {},
         "-"},
        {"a load after the offer, of nothing, that drops it", added, {}, "cancelled"},
    };
    // Columns read by their names, as a file exported again may order them otherwise.
    const char* byNames = "0\n-\nauto\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WorkbenchRig files;
        const std::string state = files.folder + "/state";
        const std::string file = files.folder + "/board.csv";
        std::ofstream(file) << "Ref,Val,Package,PosX,PosY,Rot,Side\n" << board;
        {
            WorkbenchRig first(state, file, byNames);
            for (int part = 0; part < 3; ++part)
                first.run(CommandId::PlaceUnplace);
        }
        std::ofstream(file, std::ios::trunc) << c.names << c.lines;
        WorkbenchRig again(state, file, byNames);
        EXPECT_EQ(again.workbench.restoreCaption(), std::nullopt);
        const std::optional<std::string> caption = again.workbench.designatorsCaption();
        if (c.told == "-") {
            EXPECT_EQ(caption, std::nullopt);
            continue;
        }
        ASSERT_TRUE(caption.has_value());
        EXPECT_EQ(caption->rfind("Restore session by designators (3 of 4 placed, ", 0), 0u);
        if (c.told == "cancelled") {
            again.runOn(CommandId::LoadPkpFile, std::nullopt);
            EXPECT_EQ(again.workbench.designatorsCaption(), std::nullopt);
            continue;
        }
        const Outcome restored = again.run(CommandId::RestoreByDesignators);
        std::vector<std::string> placed;
        for (const PartRecord& part : again.workbench.session().table().parts())
            if (part.placed)
                placed.push_back(part.designator);
        std::sort(placed.begin(), placed.end());
        EXPECT_EQ(placed, c.placed);
        EXPECT_EQ(Texts(restored), c.told.empty() ? "" : "Error: " + c.told + "|");
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
    rig.load(rig.parts.path()); // another placement file forgets them
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
    rig.run(CommandId::ShowKindSpots);
    rig.locate("R2");
    rig.run(CommandId::PlaceUnplace);
    rig.locate("R1");
    EXPECT_EQ(Drawn(rig.workbench), "s 100.000 400.000;p 600.000 900.000;");
    rig.run(CommandId::ShowPlacedParts);
    EXPECT_TRUE(rig.workbench.showPlacedParts());
    rig.workbench.press({true, 300, 300});
    EXPECT_EQ(Drawn(rig.workbench), "pb 600.000 900.000;");
    EXPECT_NEAR(rig.workbench.outlinesToDraw().at(0).outline.origin.value().y, 900, 1e-6);
    rig.locate("R1");
    EXPECT_EQ(Drawn(rig.workbench), "pb 600.000 900.000;s 100.000 400.000;p 600.000 900.000;");
    rig.run(CommandId::ShowPlacedParts);
    EXPECT_EQ(Drawn(rig.workbench), "s 100.000 400.000;p 600.000 900.000;");
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
    const auto pinOneOfU1 = [&](WorkbenchRig& rig) {
        rig.showPicture();
        rig.calibrateOnR1AndR2();
        rig.locate("U1");
        return rig.workbench.outlinesToDraw().at(0).outline.pinOne.value();
    };
    WorkbenchRig rig("", parts.path(), kColumns, table);
    const PlanePoint before = pinOneOfU1(rig);
    EXPECT_EQ(rig.workbench.pinOneCaption(),
              std::optional<std::string>("Pin 1 of SOIC-8_3.9x4.9mm_P1.27mm..."));
    const Outcome offered = rig.run(CommandId::PinOneOfPackage);
    ASSERT_TRUE(offered.choice);
    EXPECT_EQ(std::make_tuple(offered.choice->entries.size(), offered.choice->entries[4]),
              std::make_tuple(6u, "Hide it"s));
    EXPECT_EQ(Texts(rig.choose(offered.choice->next, 2)), "");
    // Turned a half about the body's middle, which lies on the part's pixel (350, 650).
    const PlanePoint turned = rig.workbench.outlinesToDraw().at(0).outline.pinOne.value();
    EXPECT_NEAR(turned.x, 700 - before.x, 1e-6);
    EXPECT_NEAR(turned.y, 1300 - before.y, 1e-6);
    WorkbenchRig next("", parts.path(), kColumns, table);
    const PlanePoint again = pinOneOfU1(next);
    EXPECT_NEAR(again.x, turned.x, 1e-6);
    EXPECT_NEAR(again.y, turned.y, 1e-6);
    next.choose(CommandId::PinOneChosen, 4);
    EXPECT_FALSE(next.workbench.outlinesToDraw().at(0).outline.pinOne);
    EXPECT_EQ(next.run(CommandId::PinOneOfPackage).choice->entries[4], "Show it again");
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
        mine.showPicture();
        mine.calibrateOnR1AndR2();
        mine.locate("U1");
        mine.choose(CommandId::PinOneChosen, 2);
    }
    const auto read = [](const std::string& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::ofstream(folder + "/theirs.txt") << "1 0 0\tQFN-32\n";
    WorkbenchRig theirs(folder + "/state", parts.path(), kColumns, folder + "/theirs.txt");
    ASSERT_TRUE(theirs.workbench.restoreCaption());
    theirs.run(CommandId::RestoreSession);
    EXPECT_EQ(read(folder + "/theirs.txt"), "1 0 0\tQFN-32\n2 0 0\tSOIC-8_3.9x4.9mm_P1.27mm\n");
}

// A table that can't be written says so, and the correction holds for this run.
TEST(WorkbenchOutlines, SaysSoWhenThePinOneTableCannotBeWritten) {
    const TempFile blocker("not a folder");
    PinOneTable table(blocker.path() + "/pin1.txt");
    const Result<void> kept = table.set("SOT-23", {1, false, false});
    ASSERT_FALSE(kept.ok());
    EXPECT_EQ(kept.failure().text.rfind("Can't keep the pin 1 corrections in " + blocker.path(), 0),
              0u);
    EXPECT_EQ(table.corrections().of("SOT-23").quarterTurns, 1);
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
    EXPECT_EQ(Texts(rig.runOn(CommandId::LoadBoardFile, board.path())),
              "Board file: Parts placed elsewhere in the board file than in the placement "
              "file:\nR2: board file 30.100, 40.000; placement file 30.000, 40.000|");
    EXPECT_EQ(rig.workbench.exactShapes().size(), 2u);
}

// Each command on a file it cannot use says why; a cancelled choice says nothing.
TEST(Workbench, SaysWhyAChosenFileCannotBeUsed) {
    WorkbenchRig rig;
    const struct {
        CommandId command;
        std::optional<std::string> file;
        std::string told;
    } rows[] = {
        {CommandId::LoadBoardFile, rig.folder + "/none.kicad_pcb",
         "Error: Can't read board file " + rig.folder + "/none.kicad_pcb|"},
        {CommandId::LoadBoardFile, rig.parts.path(), "Error: Not a KiCad board file (.kicad_pcb)|"},
        {CommandId::ExportProgress, rig.folder + "/none/progress.csv",
         "Error: Can't write progress file|"},
        {CommandId::ImportProgress, rig.parts.path(), // a placement file, not a progress file
         "Error: No row naming the columns Designator, Face and Placed in the first 40 lines of "
         "progress file|"},
        {CommandId::ImportProgress, std::nullopt, ""},
        {CommandId::LoadBom, std::nullopt, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file.value_or("cancelled"));
        EXPECT_EQ(Texts(rig.runOn(row.command, row.file)), row.told);
    }
    EXPECT_EQ(rig.placed(), 0);
}

} // namespace
} // namespace kavelto

namespace kavelto {
namespace {

// The undo history through the commands: each step the user takes, with the designators
// placed and the row selected afterwards, written out by hand. R1 and R2 are rows 0 and 1 of
// the top face, C1 the bottom's only part.
// Alt and an arrow key move the pressed point one picture pixel the arrow's way, on the
// upright picture.
TEST(Workbench, NudgesThePressedPointOnePixelEachWay) {
    WorkbenchRig rig;
    rig.showPicture();
    rig.workbench.press({true, 200, 300});
    const struct {
        CommandId command;
        int x;
        int y;
    } steps[] = {{CommandId::NudgeLeft, 199, 300},
                 {CommandId::NudgeUp, 199, 299},
                 {CommandId::NudgeRight, 200, 299},
                 {CommandId::NudgeDown, 200, 300}};
    for (const auto& step : steps) {
        rig.run(step.command);
        const std::optional<Marker>& marker = rig.workbench.session().view().marker;
        ASSERT_TRUE(marker);
        EXPECT_EQ(std::make_pair(marker->at.x, marker->at.y), std::make_pair(step.x, step.y))
            << static_cast<int>(step.command);
    }
}

// Ctrl+0 shows the whole picture again after the wheel enlarged it.
TEST(Workbench, ShowsTheWholePictureAgain) {
    WorkbenchRig rig;
    rig.showPicture();
    rig.workbench.zoomOverview(300, 250, 3);
    EXPECT_GT(rig.workbench.session().view().overviewZoom, 1.0);
    rig.run(CommandId::WholePicture);
    EXPECT_EQ(rig.workbench.session().view().overviewZoom, 1.0);
}

struct UndoRow {
    const char* step;
    CommandId command;
    const char* placed;
    int row;
};

const UndoRow kUndoSteps[] = {
    {"Enter places R1", CommandId::PlaceUnplace, "R1", 1},
    {"Enter places R2", CommandId::PlaceUnplace, "R1 R2", 1},
    {"undo gives R2 back", CommandId::Undo, "R1", 1},
    {"undo gives R1 back", CommandId::Undo, "", 0},
    {"undo with no step left", CommandId::Undo, "", 0},
    {"redo places R1 again", CommandId::Redo, "R1", 1},
    {"Enter after an undo", CommandId::PlaceUnplace, "R1 R2", 1},
    {"the new step forgets the redo", CommandId::Redo, "R1 R2", 1},
    {"Enter on a placed row unplaces", CommandId::PlaceUnplace, "R1", 1},
    {"undo of the unplace", CommandId::Undo, "R1 R2", 1},
    {"unplace all", CommandId::UnplaceAllConfirmed, "", 1},
    {"undo of unplace all", CommandId::Undo, "R1 R2", 1},
    {"redo of unplace all", CommandId::Redo, "", 1},
    {"Bottom", CommandId::Bottom, "", 0},
    {"Enter places C1", CommandId::PlaceUnplace, "C1", 0},
    {"undo on the bottom", CommandId::Undo, "", 0},
    {"Top is no step", CommandId::Top, "", 0},
    {"redo goes back to the bottom", CommandId::Redo, "C1", 0},
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
    rig.run(CommandId::Cal1);
    EXPECT_EQ(session.calibration().state, CalState::WaitingPoint2);
    rig.run(CommandId::Cal1); // the same again: no step
    rig.run(CommandId::Undo);
    EXPECT_EQ(session.calibration().state, CalState::None);
    rig.run(CommandId::Redo);
    EXPECT_EQ(session.calibration().state, CalState::WaitingPoint2);
    rig.runOn(CommandId::LoadBitmap, rig.parts.path());
    rig.run(CommandId::Undo);
    EXPECT_EQ(session.calibration().state, CalState::None);
    rig.workbench.setHighlightedRow(0);
    rig.run(CommandId::PlaceUnplace);
    rig.load(rig.parts.path());
    rig.run(CommandId::Undo);
    EXPECT_EQ(rig.placedNames(), "");
}

// With the setting on, the new kind goes to the banner instead of a box; off, the box as ever.
TEST(WorkbenchAnnounce, TheBannerTakesTheNewKindsNoticeWhenChosen) {
    WorkbenchRig rig;
    const char* const csv = "Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,10,20,0,top\n"
                            "C2,1u,0805,30,40,0,top\nC3,1u,0805,50,60,0,top\n";
    const TempFile kinds(csv);
    rig.load(kinds.path());
    rig.workbench.setHighlightedRow(0);
    const Outcome boxed = rig.run(CommandId::PlaceUnplace);
    EXPECT_EQ(Texts(boxed), "Placement: New part !\n\nItem# 2\n1u, 0805|");
    EXPECT_FALSE(boxed.banner);
    EXPECT_FALSE(rig.workbench.announceInPicture());
    rig.run(CommandId::AnnounceInPicture);
    EXPECT_TRUE(rig.workbench.announceInPicture());
    rig.run(CommandId::Undo);
    rig.workbench.setHighlightedRow(0);
    const Outcome bannered = rig.run(CommandId::PlaceUnplace);
    EXPECT_EQ(Texts(bannered), "");
    EXPECT_EQ(bannered.banner, std::optional<std::string>("New part !   Item# 2   1u, 0805"));
    rig.run(CommandId::AnnounceInPicture);
    EXPECT_FALSE(rig.workbench.announceInPicture());
}

// Load BOM asks for its file and joins it; a placement file loaded again is joined again and
// its mismatches told after the load's own messages. The toggle's check follows the selection.
TEST(Workbench, LoadsABomAndTogglesTheSelectedPart) {
    WorkbenchRig rig;
    const TempFile bom("Designator,Qty,DNP\n\"R1,R2\",2,\nC1,1,DNP\nC9,1,\n");
    EXPECT_EQ(Texts(rig.runOn(CommandId::LoadBom, bom.path())),
              "BOM: In the BOM but not in the placement file: C9; in the placement file but not "
              "in the BOM: none.|");
    EXPECT_EQ(Texts(rig.load(rig.parts.path())),
              "BOM: In the BOM but not in the placement file: C9; in the placement file but not "
              "in the BOM: none.|");
    rig.workbench.setHighlightedRow(0);
    rig.run(CommandId::LocateSelectedPart);
    EXPECT_FALSE(rig.workbench.selectedNotFitted());
    rig.run(CommandId::ToggleNotFitted);
    EXPECT_TRUE(rig.workbench.selectedNotFitted());
    EXPECT_EQ(Texts(rig.run(CommandId::PlaceUnplace)).substr(0, 12), "Placement: R");
    EXPECT_EQ(rig.placed(), 0);
}

// With a BOM the list names each item's part numbers and designators, without its parts left
// off the board.
TEST(Workbench, PickListWithABomNamesPartNumbers) {
    WorkbenchRig rig;
    rig.writePagesHere();
    const TempFile bom("Ref,Manufacturer,MPN,LCSC,DNP\nR1,Yageo,RC0603FR-071KL,C21190,\n"
                       "R2,Yageo,RC0603FR-071KL,C21190,DNP\nC1,Samsung,CL10A105KB8NNNC,C15849,\n");
    rig.runOn(CommandId::LoadBom, bom.path(), "2");
    EXPECT_EQ(*rig.run(CommandId::PickList, "2").clipboardText,
              "Picking List for TOP SIDE \n\nITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/total\t"
              "MANUFACTURER\tMPN\tSUPPLIER #\tDESIGNATORS\n"
              "-------\t-------\t-----\t-----\t-----\t-----\t-----\t-----\t-----\n"
              "1\t0603\t1k\t1\t2\tYageo\tRC0603FR-071KL\tC21190\tR1\nEND\n\n\n\n");
}

// The progress goes to the file chosen; a cancelled choice writes nothing.
TEST(Workbench, ExportsTheProgress) {
    WorkbenchRig rig;
    rig.run(CommandId::PlaceUnplace);
    const std::string progress = rig.folder + "/progress.csv";
    EXPECT_TRUE(rig.runOn(CommandId::ExportProgress, progress).messages.empty());
    std::ifstream in(progress);
    std::string lines[4];
    for (std::string& line : lines)
        std::getline(in, line);
    EXPECT_EQ(lines[0], "Designator,Face,Value,Package,Placed,Time placed");
    EXPECT_EQ(lines[1].substr(0, 21), "R1,top,1k,0603,yes,20"); // placed now, at a time
    EXPECT_EQ(lines[2] + "|" + lines[3], "R2,top,1k,0603,no,|C1,bottom,1u,0805,no,");
}

// A colleague's progress file marks the same parts in a placement file exported again with its
// lines in another order; the marks are kept, and one undo takes them all back. A file that is
// no progress file, or a cancelled choice, changes nothing.
TEST(Workbench, ImportsTheProgressOfAnotherExportByDesignator) {
    WorkbenchRig colleague;
    colleague.run(CommandId::PlaceUnplace); // R1
    colleague.run(CommandId::Bottom);
    colleague.workbench.setHighlightedRow(0);
    colleague.run(CommandId::PlaceUnplace); // C1
    const std::string progress = colleague.folder + "/progress.csv";
    colleague.runOn(CommandId::ExportProgress, progress);

    WorkbenchRig files;
    const std::string board = files.folder + "/board.csv";
    std::ofstream(board) << "Ref,Val,Package,PosX,PosY,Rot,Side\nC1,1u,0805,50,60,0,bottom\n"
                            "R2,1k,0603,30,40,0,top\nR1,1k,0603,10,20,0,top\n";
    WorkbenchRig rig(files.folder + "/state", board);
    EXPECT_EQ(Texts(rig.runOn(CommandId::ImportProgress, progress)), "");
    EXPECT_EQ(rig.placedNames(), "C1 R1");
    rig.run(CommandId::Undo);
    EXPECT_EQ(rig.placedNames(), "");
    rig.run(CommandId::Redo);
    EXPECT_EQ(rig.placedNames(), "C1 R1");
    rig.load(rig.parts.path()); // lets the board go, its session kept
    WorkbenchRig next(files.folder + "/state", board);
    EXPECT_EQ(next.workbench.restoreCaption().value_or("").rfind(
                  "Restore session (1 + 1 of 2 + 1 placed, ", 0),
              0u);
}

// The setting adds the count to gather; set again, it takes the column away.
TEST(Workbench, SparesPerItemAddsACountToGather) {
    WorkbenchRig rig;
    rig.writePagesHere();
    rig.run(CommandId::SparesPerItem);
    EXPECT_TRUE(rig.workbench.sparesPerItem());
    EXPECT_EQ(rig.run(CommandId::PickList, "10").clipboardText->substr(70),
              "\tTO GATHER\n-------\t-------\t-----\t-----\t-----\t-----\n1\t0603\t1k\t2\t20\t21\n"
              "END\n\n\n\n");
    rig.run(CommandId::SparesPerItem);
    EXPECT_EQ(rig.run(CommandId::PickList, "10").clipboardText->find("GATHER"), std::string::npos);
}

// The sheets of the face shown go beside the pick list's page, and are opened once written.
TEST(Workbench, PrintSheetsAsksTheWindowForThePdf) {
    WorkbenchRig rig;
    const std::string path = rig.writePagesHere() + "/sheets.pdf";
    const Outcome outcome = rig.run(CommandId::PrintSheets, "4");
    ASSERT_TRUE(outcome.sheets && outcome.open);
    EXPECT_EQ(std::make_tuple(outcome.sheets->path, outcome.open->target,
                              outcome.sheets->placementPath, outcome.sheets->pcbCount,
                              outcome.sheets->items.size(), outcome.sheets->items[0].designators),
              std::make_tuple(path, path, rig.parts.path(), 4u, std::size_t(1),
                              std::vector<std::string>{"R1", "R2"}));
}

// While calibrated, the sheets carry the picture and each item's spots in picture pixels,
// numbered as its designators: Cal 1 puts R1 (10, 20) at (100, 400) and Cal 2 R2 (30, 40) at
// (600, 900), 25 pixels a millimetre, so R3 (20, 30) lies halfway at (350, 650).
TEST(Workbench, PrintSheetsLocatesTheSpotsOfEachItem) {
    WorkbenchRig rig;
    rig.writePagesHere();
    const TempFile kinds("Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,10,20,0,top\n"
                         "R2,1k,0603,30,40,0,top\nR3,1k,0603,20,30,0,top\n"
                         "C1,1u,0805,30,20,0,top\n");
    rig.load(kinds.path());
    EXPECT_FALSE(rig.run(CommandId::PrintSheets).sheets->picture); // no picture yet
    rig.showPicture();
    EXPECT_FALSE(rig.run(CommandId::PrintSheets).sheets->picture); // not calibrated
    rig.calibrateOnR1AndR2();
    rig.run(CommandId::RotR);
    const std::optional<SheetsPicture> sheets = rig.run(CommandId::PrintSheets).sheets->picture;
    ASSERT_TRUE(sheets);
    EXPECT_EQ(std::make_tuple(sheets->path, sheets->size.width, sheets->size.height,
                              sheets->viewRotation, sheets->mirrored),
              std::make_tuple(rig.parts.path(), 1200, 1000, 90, false));
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
    rig.writePagesHere();
    const Outcome offered = rig.run(CommandId::EditSparesRule);
    ASSERT_TRUE(offered.tableEdit);
    EXPECT_EQ(std::make_tuple(offered.tableEdit->title, offered.tableEdit->columns,
                              offered.tableEdit->rows, offered.tableEdit->next),
              std::make_tuple(std::string("Spares per item"),
                              std::vector<std::string>{"Up to package size", "Percent", "Minimum"},
                              TableCells{{"0402", "10", "2"}, {"", "5", "1"}},
                              CommandId::SparesRuleEdited));
    CommandInputs inputs = WorkbenchRig::Fields("10");
    inputs.editedTable = TableCells{{"0402", "10", "2"}, {"0201", "5", "1"}};
    const Outcome refused = rig.workbench.run(CommandId::SparesRuleEdited, inputs);
    EXPECT_EQ(Texts(refused),
              "Spares per item: Row 2: the size must be larger than the rows' above.|");
    ASSERT_TRUE(refused.tableEdit);
    EXPECT_EQ(refused.tableEdit->rows, *inputs.editedTable);
    inputs.editedTable = TableCells{{"0603", "30", "0"}, {"", "0", "0"}};
    EXPECT_FALSE(rig.workbench.run(CommandId::SparesRuleEdited, inputs).tableEdit);
    EXPECT_EQ(rig.workbench.sparesCaption(),
              "Spares per item (30 %, at least 0 up to 0603; 0 %, at least 0 otherwise)");
    rig.run(CommandId::SparesPerItem);
    // Two 0603 parts on ten boards: 20 and 30 % of them.
    EXPECT_EQ(rig.run(CommandId::PickList, "10").clipboardText->substr(70),
              "\tTO GATHER\n-------\t-------\t-----\t-----\t-----\t-----\n1\t0603\t1k\t2\t20\t26\n"
              "END\n\n\n\n");
    inputs.editedTable.reset(); // cancelled
    EXPECT_FALSE(rig.workbench.run(CommandId::SparesRuleEdited, inputs).tableEdit);
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
