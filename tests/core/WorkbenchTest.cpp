#include "app/Workbench.h"
#include "TempFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <tuple>
#include <unistd.h>

namespace kavelto {
namespace {

constexpr char kParts[] = "Ref,Val,Package,PosX,PosY,Rot,Side\n"
                          "R1,1k,0603,10,20,0,top\n"
                          "R2,1k,0603,30,40,0,top\n"
                          "C1,1u,0805,50,60,0,bottom\n";

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
    // partsPath, else the rig's own.
    explicit WorkbenchRig(const std::string& stateFolder = "", const std::string& partsPath = "")
        : workbench({"kavelto", {firstManual, secondManual}, stateFolder}) {
        EXPECT_TRUE(workbench.loadColumnMap(TempFile("1\n,\n1,5,6,3,4,7,2\n").path()).ok());
        loaded = load(partsPath.empty() ? parts.path() : partsPath);
        workbench.setHighlightedRow(0); // as a click in the list does
    }
    Outcome load(const std::string& path) {
        CommandInputs inputs = Fields("1");
        inputs.chosenFile = path;
        return workbench.run(CommandId::LoadPkpFile, inputs);
    }
    ~WorkbenchRig() { std::system(("rm -rf '" + folder + "'").c_str()); }

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
    int placed() const {
        int count = 0;
        for (int i = 0; i < workbench.session().table().partCount(); ++i)
            count += workbench.session().table().part(i).placed;
        return count;
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
    EXPECT_EQ(asked.prompt->message.text, "Unplace all components on both sides ?");
    EXPECT_EQ(asked.prompt->message.caption, "Please confirm");
    EXPECT_EQ(asked.prompt->message.buttons, MessageButtons::OkCancel);
    rig.workbench.answer(*asked.prompt, MessageAnswer::Cancel, {});
    EXPECT_EQ(rig.placed(), 1);
    rig.workbench.answer(*asked.prompt, MessageAnswer::Ok, {});
    EXPECT_EQ(rig.placed(), 0);
}

TEST(Workbench, TheLogoOffersTheMakersSite) {
    WorkbenchRig rig;
    const Outcome asked = rig.run(CommandId::LogoClick);
    ASSERT_TRUE(asked.prompt);
    EXPECT_EQ(asked.prompt->message.caption, "QUANDEL");
    EXPECT_EQ(asked.prompt->message.buttons, MessageButtons::YesNo);
    EXPECT_FALSE(rig.workbench.answer(*asked.prompt, MessageAnswer::No, {}).open);
    const Outcome visit = rig.workbench.answer(*asked.prompt, MessageAnswer::Yes, {});
    ASSERT_TRUE(visit.open);
    EXPECT_EQ(visit.open->target, "http://www.quandel.example");
    EXPECT_TRUE(visit.open->isUrl);
}

// The first manual that exists opens; without any, Retry looks again.
TEST(Workbench, NeedHelpOpensTheFirstManualThatExists) {
    WorkbenchRig rig;
    const Outcome none = rig.run(CommandId::NeedHelp);
    ASSERT_TRUE(none.prompt);
    EXPECT_FALSE(none.open);
    EXPECT_EQ(none.prompt->message.text, "Can't open KaveltoManual.pdf...");
    EXPECT_EQ(none.prompt->message.buttons, MessageButtons::RetryCancel);
    EXPECT_EQ(none.prompt->answer, MessageAnswer::Retry);
    EXPECT_EQ(none.prompt->next, CommandId::NeedHelp);
    std::ofstream(rig.secondManual) << "%PDF";
    const Outcome second = rig.run(CommandId::NeedHelp);
    ASSERT_TRUE(second.open && second.open->onFailure);
    EXPECT_EQ(second.open->target, rig.secondManual);
    EXPECT_FALSE(second.open->isUrl);
    EXPECT_EQ(second.open->onFailure->next, CommandId::NeedHelp);
    std::ofstream(rig.firstManual) << "%PDF";
    EXPECT_EQ(rig.run(CommandId::NeedHelp).open->target, rig.firstManual);
}

// The list goes to the clipboard and the page into the user's own folder, which is opened.
TEST(Workbench, PickListFillsTheClipboardAndOpensThePage) {
    WorkbenchRig rig;
    setenv("TMPDIR", rig.folder.c_str(), 1);
    unsetenv("XDG_RUNTIME_DIR");
    const Outcome outcome = rig.run(CommandId::PickList, "3");
    ASSERT_TRUE(outcome.clipboardText && outcome.open);
    // Byte for byte the list it always was, while no BOM is loaded.
    EXPECT_EQ(*outcome.clipboardText,
              "Picking List for TOP SIDE \n\nITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/total\n"
              "-------\t-------\t-----\t-----\t-----\n1\t0603\t1k\t2\t6\nEND\n\n\n\n");
    const std::string page = rig.folder + "/kavelto-" + std::to_string(geteuid()) + "/picklst.html";
    EXPECT_EQ(outcome.open->target, page);
    EXPECT_FALSE(outcome.open->isUrl);
    EXPECT_TRUE(outcome.messages.empty());
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
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(outcome.update.repaint, Repaint::None);
    EXPECT_EQ(rig.placed(), 1);
}

TEST(Workbench, FindPartSaysWhenNoPartHasTheDesignator) {
    WorkbenchRig rig;
    EXPECT_TRUE(rig.run(CommandId::FindPart).openFindField);
    EXPECT_TRUE(rig.workbench.findPart("R9").findFailed);
    const Outcome found = rig.workbench.findPart("c1");
    EXPECT_FALSE(found.findFailed);
    EXPECT_EQ(rig.workbench.session().face(), Face::Bottom);
}

TEST(Workbench, TogglesTheKindSpotsAndOpensTheSmallWindows) {
    WorkbenchRig rig;
    EXPECT_EQ(rig.run(CommandId::ShowKindSpots).update.repaint, Repaint::Soon);
    EXPECT_TRUE(rig.workbench.showKindSpots());
    rig.run(CommandId::ShowKindSpots);
    EXPECT_FALSE(rig.workbench.showKindSpots());
    EXPECT_EQ(rig.run(CommandId::About).window, SmallWindow::About);
    EXPECT_EQ(rig.run(CommandId::Shortcuts).window, SmallWindow::Keymap);
}

TEST(Workbench, ACancelledLoadLeavesNothingLoaded) {
    WorkbenchRig rig;
    const Outcome outcome = rig.run(CommandId::LoadPkpFile);
    EXPECT_TRUE(outcome.update.refreshFields);
    EXPECT_EQ(rig.workbench.session().pkpText(), "no pkp loaded");
    EXPECT_EQ(rig.workbench.restoreCaption(), std::nullopt);
}

TEST(Workbench, AColumnLayoutThatCannotBeReadIsAnError) {
    Workbench workbench{{"kavelto", {}, ""}};
    const Result<void> loaded = workbench.loadColumnMap("/nonexistent/Kavelto.ini");
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.failure().caption, "Error");
    EXPECT_EQ(loaded.failure().text, "Can't find Kavelto.ini file");
}

// A second workbench on the board says at once that it keeps nothing; once the first is gone, a
// new one offers what the first kept.
TEST(Workbench, KeepsABoardInOneWindowAndOffersItBack) {
    WorkbenchRig files;
    const std::string state = files.folder + "/state";
    WorkbenchRig keeper(state, files.parts.path());
    EXPECT_TRUE(keeper.loaded.messages.empty());
    keeper.run(CommandId::PlaceUnplace);
    {
        WorkbenchRig second(state, files.parts.path());
        EXPECT_EQ(Texts(second.loaded),
                  "Kavelto: This board is open in another window: this window keeps nothing of "
                  "it.|");
        EXPECT_EQ(second.workbench.restoreCaption(), std::nullopt);
    }
    keeper.load(keeper.parts.path()); // another file: the board is let go
    WorkbenchRig next(state, files.parts.path());
    EXPECT_TRUE(next.loaded.messages.empty());
    ASSERT_TRUE(next.workbench.restoreCaption());
    EXPECT_EQ(next.workbench.restoreCaption()->rfind("Restore session (1 of 2 placed, ", 0), 0u);
}

// A write that fails is told once, in the outcome of a command that kept.
TEST(Workbench, TellsAFailedKeepOnce) {
    WorkbenchRig probe;
    const std::string file = probe.folder + "/file";
    std::ofstream(file) << "x";
    const std::string state = file + "/state"; // under a file: no write can succeed
    WorkbenchRig rig(state);
    std::string told = Texts(rig.loaded);
    // The writer works on a thread of its own: its failure comes in time.
    for (int tries = 0; tries < 400 && told.empty(); ++tries) {
        usleep(5000);
        told = Texts(rig.run(tries % 2 ? CommandId::Up : CommandId::Down));
    }
    EXPECT_EQ(told.rfind("Error: Can't keep the session in " + state, 0), 0u) << told;
    EXPECT_EQ(Texts(rig.run(CommandId::PlaceUnplace)), "");
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

// Load BOM asks for its file and joins it; a placement file loaded again is joined again and
// its mismatches told after the load's own messages. The toggle's check follows the selection.
TEST(Workbench, LoadsABomAndTogglesTheSelectedPart) {
    WorkbenchRig rig;
    const TempFile bom("Designator,Qty,DNP\n\"R1,R2\",2,\nC1,1,DNP\nC9,1,\n");
    CommandInputs inputs = WorkbenchRig::Fields("1");
    inputs.chosenFile = bom.path();
    EXPECT_EQ(Texts(rig.workbench.run(CommandId::LoadBom, inputs)),
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
    inputs.chosenFile.reset(); // the choice cancelled
    EXPECT_TRUE(rig.workbench.run(CommandId::LoadBom, inputs).messages.empty());
}

// With a BOM the list names each item's part numbers and designators, without its parts left
// off the board.
TEST(Workbench, PickListWithABomNamesPartNumbers) {
    WorkbenchRig rig;
    setenv("TMPDIR", rig.folder.c_str(), 1);
    unsetenv("XDG_RUNTIME_DIR");
    const TempFile bom("Ref,Manufacturer,MPN,LCSC,DNP\nR1,Yageo,RC0603FR-071KL,C21190,\n"
                       "R2,Yageo,RC0603FR-071KL,C21190,DNP\nC1,Samsung,CL10A105KB8NNNC,C15849,\n");
    CommandInputs inputs = WorkbenchRig::Fields("2");
    inputs.chosenFile = bom.path();
    rig.workbench.run(CommandId::LoadBom, inputs);
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
    CommandInputs inputs = WorkbenchRig::Fields("1");
    inputs.chosenFile = rig.folder + "/progress.csv";
    EXPECT_TRUE(rig.workbench.run(CommandId::ExportProgress, inputs).messages.empty());
    std::ifstream in(*inputs.chosenFile);
    std::string lines[4];
    for (std::string& line : lines)
        std::getline(in, line);
    EXPECT_EQ(lines[0], "Designator,Face,Value,Package,Placed,Time placed");
    EXPECT_EQ(lines[1].substr(0, 21), "R1,top,1k,0603,yes,20"); // placed now, at a time
    EXPECT_EQ(lines[2] + "|" + lines[3], "R2,top,1k,0603,no,|C1,bottom,1u,0805,no,");
    inputs.chosenFile = rig.folder + "/none/progress.csv";
    EXPECT_EQ(Texts(rig.workbench.run(CommandId::ExportProgress, inputs)),
              "Error: Can't write progress file|");
}

// The setting adds the count to gather; set again, it takes the column away.
TEST(Workbench, SparesPerItemAddsACountToGather) {
    WorkbenchRig rig;
    setenv("TMPDIR", rig.folder.c_str(), 1);
    unsetenv("XDG_RUNTIME_DIR");
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
    setenv("TMPDIR", rig.folder.c_str(), 1);
    unsetenv("XDG_RUNTIME_DIR");
    const Outcome outcome = rig.run(CommandId::PrintSheets, "4");
    ASSERT_TRUE(outcome.sheets && outcome.open);
    const std::string path = rig.folder + "/kavelto-" + std::to_string(geteuid()) + "/sheets.pdf";
    EXPECT_EQ(std::make_tuple(outcome.sheets->path, outcome.open->target,
                              outcome.sheets->placementPath, outcome.sheets->pcbCount,
                              outcome.sheets->items.size(), outcome.sheets->items[0].designators),
              std::make_tuple(path, path, rig.parts.path(), 4u, std::size_t(1),
                              std::vector<std::string>{"R1", "R2"}));
}

} // namespace
} // namespace kavelto
