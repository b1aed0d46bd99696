#include "KeptFields.h"
#include "SessionRig.h"
#include "keeping/KeptSession.h"
#include "parts/PartListObserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kavelto {
namespace {

// One package, value and prefix: rows follow the numbers. With R1 at pixel (100, 400), R2 at
// (600, 900) makes a direct pair of 0.1 board unit per pixel that locates R3 at (350, 650); R4 at
// (200, 900) makes a swapped pair that locates R5 at (150, 650). R10 is the bottom face's part.
const std::string kCalParts =
    kHeader + "R1,1k,0603,10,20,0,top\nR2,1k,0603,60,70,0,top\nR3,1k,0603,35,45,0,top\n"
              "R4,1k,0603,60,30,0,top\nR5,1k,0603,35,25,0,top\nR7,1k,0603,10,90,0,top\n"
              "R8,1k,0603,80,20,0,top\nR10,1k,0603,35,45,0,bottom\n";

// The marker's point, or (-1, -1) while there is none.
std::pair<int, int> Marker(const AssemblySession& s) {
    const std::optional<kavelto::Marker>& marker = s.view().marker;
    return marker ? std::make_pair(marker->at.x, marker->at.y) : std::make_pair(-1, -1);
}

// Selecting a part in the list, pressing on the picture, then a calibration button.
struct CalStep {
    std::optional<int> row; // clicked in the list first, if any
    PicturePoint press;     // on the drawn picture before the button, if inside
    SessionUpdate (AssemblySession::*button)();
};

// With nothing to act on a command changes nothing and asks for no paint: a part identified on
// a picture not calibrated, the marker nudged while there is none, not fitted toggled on a face
// without parts.
TEST(AssemblySession, CommandsWithNothingToActOnChangeNothing) {
    const auto none = [](AssemblySession&) {};
    const struct {
        const char* name;
        void (*before)(AssemblySession&);
        SessionUpdate (*command)(AssemblySession&);
    } rows[] = {
        {"identify before a calibration", none,
         [](AssemblySession& s) {
             return s.identifyPartAt({true, 100, 400});
         }},
        {"nudge without a marker", none, [](AssemblySession& s) { return s.nudgeMarker(0, -1); }},
        {"not fitted on an empty face", [](AssemblySession& s) { s.changeFace(Face::Bottom); },
         [](AssemblySession& s) { return s.toggleNotFitted(); }},
    };
    for (const auto& row : rows) {
        SessionRig rig;
        rig.loadText(kHeader + "R1,1k,0603,10,20,0,top\n");
        rig.showPicture("board.jpg");
        row.before(rig.session);
        const std::string before = Described(rig.session.keptState());
        const SessionUpdate update = row.command(rig.session);
        EXPECT_EQ(std::make_tuple(update.repaint, Described(rig.session.keptState())),
                  std::make_tuple(Repaint::None, before))
            << row.name;
    }
}

// Moving the selection locates the part; clicking the face shown does nothing at all, not even
// refresh the fields. A new file's first row is located before the calibration in force is
// reset; a cancelled choice leaves no list. Another face resets the calibration: findPart.
TEST(AssemblySession, CalibrationInForceLocatesEachSelectionMoveUntilALoad) {
    SessionRig rig;
    AssemblySession& s = rig.session;
    rig.loadText(kCalParts);
    rig.showPicture("board.jpg");
    rig.calibratePair();
    s.navigate(NavigationKey::Down); // from R2 to R3
    EXPECT_EQ(Marker(s), std::make_pair(350, 650));
    EXPECT_FALSE(s.changeFace(Face::Top).refreshFields);
    EXPECT_EQ(s.changeSort(1).reveal, 0); // the list rebuilt: row 0 selected and located
    const SessionUpdate u = rig.loadText(kHeader + "C1,1k,0603,3,4,0,top\nC2,1k,0603,5,6,0,top\n");
    EXPECT_EQ(std::make_tuple(s.pkpText(), Marker(s), u.reveal, s.calibration().state),
              std::make_tuple("2 parts loaded", std::make_pair(30, 240), 0, CalState::None));
    s.loadPlacementFile(std::nullopt); // the choice cancelled
    EXPECT_EQ(std::make_tuple(s.pkpText(), s.faceList().faceCount),
              std::make_tuple("no pkp loaded", 0));
}

// What the session adds to the calibration's own rules: the selection each button consumes, the
// first line of its box, and the parts located afterwards: a probe row is
// clicked after the steps. R3 lies on the line of R1 and R2. Another picture, turned: R1 at
// (100, 400), R8 at (800, 540), R2 at (500, 1000), R5 at (340, 500), so R3 at (300, 700); its
// pairs with R1 all fail the scale test or share a coordinate, and still count as points.
TEST(AssemblySession, CalibrationButtons) {
    constexpr auto cal1 = &AssemblySession::cal1, cal2 = &AssemblySession::cal2,
                   add = &AssemblySession::addCalPoint;
    const CalStep first{0, {true, 100, 400}, cal1}, ok2{1, {true, 600, 900}, cal2},
        flip2{3, {true, 200, 900}, cal2}, add7{5, {true, 100, 1100}, add},
        onLine{2, {true, 350, 650}, add}, t8{6, {true, 800, 540}, cal2},
        t2{1, {true, 500, 1000}, add}, t5{4, {true, 340, 500}, add},
        remove{std::nullopt, {}, &AssemblySession::removeLastCalPoint},
        unselected{std::nullopt, {true, 100, 400}, cal1};
    const char* const ok3 = "Calibrated, ok (3 points)";
    const struct {
        const char* name;
        std::vector<CalStep> steps;
        const char* said; // the first line of the last step's box, up to a colon
        const char* field;
        std::optional<int> probeRow = std::nullopt;
        std::pair<int, int> located = {};
    } cases[] = {
        {"Cal 1 on the load's row", {unselected}, "Select a part first", "Not calibrated"},
        {"swapped pair", {first, flip2}, "", "Calibrated, flipped", 4, {150, 650}},
        {"a third point", {first, ok2, add7}, "Calibrated on 3 points.", ok3},
        {"on the line", {first, ok2, onLine}, "Calibration point not added", "Calibrated, ok"},
        {"removing one", {first, t8, t2, t5, remove}, "", ok3, 2, {300, 700}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SessionRig rig;
        rig.loadText(kCalParts);
        rig.showPicture("board.jpg");
        SessionUpdate u;
        for (const CalStep& step : c.steps) {
            if (step.row)
                rig.click(*step.row);
            rig.session.pressOnPicture(step.press); // one not inside is not made
            u = (rig.session.*step.button)();
        }
        EXPECT_EQ(Said(u).substr(0, Said(u).find_first_of(":\n")), c.said);
        EXPECT_EQ(rig.session.calibrationText(), c.field);
        if (c.probeRow) {
            rig.click(*c.probeRow);
            EXPECT_EQ(Marker(rig.session), c.located);
        }
    }
}

// After Load Bitmap only a press on the picture opened since counts, not the point pressed on
// the picture before, nor its release. One that counts starts a drag that may leave the picture
// and keeps the part chosen for Cal 1 (the empty message); a drag without one does nothing.
TEST(AssemblySession, PressCountsOnlyOnAPictureOpenedSinceLoadBitmap) {
    for (const bool opened : {false, true}) {
        SCOPED_TRACE(opened ? "on the picture opened since" : "not opened since Load Bitmap");
        SessionRig rig;
        AssemblySession& s = rig.session;
        rig.loadText(kCalParts);
        rig.showPicture("board.jpg");
        s.pressOnPicture({true, 600, 900}); // a press on the picture before, still held
        s.loadBitmap("b.jpg");
        if (opened)
            s.pictureOpened(1200, 1000);
        rig.click(3);
        s.pressOnPicture({true, 150.5f, 80.2f});
        s.releaseOnPicture({false, 1500.2f, -3.9f});
        s.dragOnPicture({true, 10, 10}); // after the release: nothing
        EXPECT_EQ(Marker(s), opened ? std::make_pair(1500, -3) : std::make_pair(-1, -1));
        EXPECT_EQ(Said(s.cal1()), opened ? "" : "Select a point on the bitmap first");
    }
}

// A press counts on a picture of known size that the frame has room to draw, and nowhere else;
// no paint is needed. Each row starts from a 1200 x 1000 picture opened in a 600 x 500 frame.
TEST(AssemblySession, PressRulesFromThePictureAndFrameSizes) {
    const struct {
        const char* name;
        void (*change)(AssemblySession&);
        bool inside;
        std::pair<int, int> marker;
    } rows[] = {
        {"drawn", [](AssemblySession&) {}, true, {150, 80}},
        {"off the picture", [](AssemblySession&) {}, false, {-1, -1}},
        {"not opened yet", [](AssemblySession& s) { s.loadBitmap("other.jpg"); }, true, {-1, -1}},
        {"no picture chosen",
         [](AssemblySession& s) { s.loadBitmap(std::nullopt); },
         true,
         {-1, -1}},
        {"a file that can't be read",
         [](AssemblySession& s) { s.pictureOpened(0, 0); },
         true,
         {-1, -1}},
        {"a picture of no width", // one pixel wide, it would be drawn 1.25 wide
         [](AssemblySession& s) { s.pictureOpened(0, 400); },
         true,
         {-1, -1}},
        {"a frame without area",
         [](AssemblySession& s) { s.setFrameSize(0, 500); },
         true,
         {-1, -1}},
        // 600 x 500 fits a picture 1 pixel wide and 100000 high into 0.006 pixels of width.
        {"a fit without a drawn pixel",
         [](AssemblySession& s) { s.pictureOpened(1, 100000); },
         true,
         {-1, -1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SessionRig rig;
        rig.showPicture("board.jpg");
        row.change(rig.session);
        const SessionUpdate u = rig.session.pressOnPicture({row.inside, 150.5f, 80.2f});
        EXPECT_EQ(Marker(rig.session), row.marker);
        EXPECT_EQ(u.repaint, row.marker.first < 0 ? Repaint::None : Repaint::Now);
    }
}

// The list's highlight on the selected row goes with a press that counts, and stays with one
// off the picture.
TEST(AssemblySession, APressOnThePictureClearsTheSelectedRowsHighlight) {
    for (const bool inside : {true, false}) {
        SessionRig rig;
        rig.loadText(kCalParts);
        rig.showPicture("board.jpg");
        rig.click(2);
        rig.session.pressOnPicture({inside, 150, 80});
        EXPECT_EQ(rig.session.highlightedRow(), inside ? std::nullopt : std::optional<int>(2))
            << (inside ? "inside" : "outside");
    }
}

// A picture found undecodable while a press on it is held has no points any more: the drag and
// the release leave the marker where the press put it, and the release ends the drag.
TEST(AssemblySession, DragEndsOnAPictureFoundUndecodable) {
    SessionRig rig;
    AssemblySession& s = rig.session;
    rig.showPicture("board.jpg");
    s.pressOnPicture({true, 100, 200});
    s.pictureOpened(0, 0);
    EXPECT_EQ(s.dragOnPicture({true, 10, 10}).repaint, Repaint::None);
    s.releaseOnPicture({false, 0, 0});
    EXPECT_EQ(std::make_tuple(Marker(s), s.view().dragging),
              std::make_tuple(std::make_pair(100, 200), false));
}

// On kKinds sorted by prefix and number, with no row highlighted.
TEST(AssemblySession, EnterPlacesAndStepsToTheNextUnplacedPart) {
    const struct {
        const char* name;
        std::vector<std::optional<int>> clicks; // the row clicked before each Enter, if any
        int row;                                // selected afterwards
        std::vector<int> placed;
        std::string said; // by the last Enter
    } cases[] = {
        {"differs only in value", {2}, 3, {2}, "New part !\n\nItem# 2\nBC857, SOT23"},
        {"Enter on a placed row", {2, 2}, 2, {}, ""},
        {"same kind with placed rows between", {3, std::nullopt, 2}, 5, {2, 3, 4}, ""},
        {"no highlighted row", {std::nullopt}, 0, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SessionRig rig;
        AssemblySession& s = rig.session;
        rig.loadText(kKinds);
        s.changeSort(2);
        s.setHighlightedRow(std::nullopt);
        SessionUpdate u;
        for (const std::optional<int> row : c.clicks)
            u = rig.enter(row);
        EXPECT_EQ(std::make_tuple(s.selection().row, s.keptState().placed, Said(u)),
                  std::make_tuple(c.row, c.placed, c.said)); // placed rows in file order
    }
}

TEST(AssemblySession, NavigationKeysMoveTheSelectionOnRowsThatExist) {
    using Key = NavigationKey;
    SessionRig rig;
    AssemblySession& s = rig.session;
    rig.loadText(kKinds); // six rows on top, none on the bottom
    // From the row clicked, the row each key reveals; none where the key would lead off the list.
    const struct {
        int from;
        Key key;
        std::optional<int> to;
    } moves[] = {
        {1, Key::PageDown, 5}, // a page short of the end: the last row
        {0, Key::PageUp, std::nullopt},
        {0, Key::Up, std::nullopt},
        {0, Key::Down, 1},
        {0, Key::End, 5},
        {5, Key::PageDown, std::nullopt},
        {5, Key::Down, std::nullopt},
        {5, Key::Up, 4},
        {5, Key::PageUp, 0},
        {5, Key::Home, 0},
    };
    for (const auto& move : moves) {
        rig.click(move.from);
        EXPECT_EQ(s.navigate(move.key).reveal, move.to)
            << move.from << ", key " << static_cast<int>(move.key);
    }
    s.changeFace(Face::Bottom); // no rows, and none of the other face's may be stepped on
    for (const Key key : {Key::PageUp, Key::PageDown, Key::End, Key::Home, Key::Up, Key::Down})
        EXPECT_EQ(s.navigate(key).reveal, std::nullopt) << static_cast<int>(key);
    s.placeUnplace();
    EXPECT_EQ(s.keptState().placed, std::vector<int>{});
}

// Logs the list's changes: '<' with the count of the session's table and the prefix of the
// part on row 0 when the list is about to change, '>' with the count when it has changed; and
// apart, the rows whose marks changed.
struct RecordingObserver : PartListObserver {
    explicit RecordingObserver(const AssemblySession& s) : session(s) {}
    void faceListAboutToChange() override {
        log.append("<").append(std::to_string(session.table().partCount()));
        log.append(session.faceList().faceCount ? session.partAtRow(0).prefix : "");
    }
    void faceListChanged() override {
        log.append(">").append(std::to_string(session.table().partCount()));
    }
    void placedChanged(int first, int last) override {
        placed.append("[" + std::to_string(first) + "-" + std::to_string(last) + "]");
    }
    const AssemblySession& session;
    std::string log;
    std::string placed; // the rows whose marks changed, "[first-last]" each time
};

// Unplace All clears both faces. A load is read aside: the list is told once it is over, still
// showing the table before, and a load that fails leaves an empty table, with none of the parts
// read before the malformed line.
TEST(AssemblySession, UnplaceAllAndTheListObserver) {
    SessionRig rig;
    AssemblySession& s = rig.session;
    RecordingObserver observer(s);
    s.setObserver(&observer);
    rig.loadText(kCalParts);
    rig.enter(1);
    s.changeFace(Face::Bottom);
    rig.enter(0);
    s.unplaceAll();
    EXPECT_EQ(s.keptState().placed, std::vector<int>{});
    const SessionUpdate u = rig.loadText(kHeader + "X1,1k,0603,1,2,0,top\nX2,1k\n");
    EXPECT_EQ(observer.log, "<0>8<8R>8<8R>0");
    EXPECT_EQ(
        std::make_tuple(Said(u), s.pkpText(), s.table().parts().size(), s.faceList().faceCount),
        std::make_tuple("Not enough fields per line", "no parts found", 0u, 0));
}

// Enter tells the row it placed, and a part marked not fitted its own row; Unplace all, a return
// to an undo step and marks read from a progress file every row of the face. A face without
// parts selects no row.
TEST(AssemblySession, TellsTheRowsWhoseMarksChangedAndSelectsNoRowOnAnEmptyFace) {
    SessionRig rig;
    rig.loadText(kKinds);
    RecordingObserver observer(rig.session);
    rig.session.setObserver(&observer);
    const UndoStep start = rig.session.undoState();
    rig.enter(2);
    rig.session.toggleNotFitted();
    rig.session.unplaceAll();
    rig.session.returnTo(start);
    rig.session.markPlaced({{"Q1", Face::Top, 0}});
    rig.session.markPlaced({{"Q1", Face::Top, 0}}); // placed already: no row changes
    EXPECT_EQ(observer.placed, "[2-2][3-3][0-5][0-5][0-5]");
    rig.session.changeFace(Face::Bottom);
    EXPECT_EQ(rig.session.selection().row, std::nullopt);
    // Kept so, the session comes back.
    EXPECT_TRUE(ParseKeptSession(KeptSessionText(rig.session.keptState())).has_value());
}

// The PCB count's field is read to its 31st character: a count there is read, one beyond it
// is not, and a refused count leaves the one before.
TEST(AssemblySession, ReadsThePcbCountsFieldToIts31stCharacter) {
    const struct {
        std::string text;
        bool read;
        std::uint32_t count;
    } rows[] = {
        {"12", true, 12},
        {std::string(30, ' ') + "7", true, 7},
        {std::string(31, ' ') + "7", false, 1},
        {"x", false, 1},
    };
    for (const auto& row : rows) {
        SessionRig rig;
        EXPECT_EQ(rig.session.readPcbCount(row.text), row.read) << row.text.size();
        EXPECT_EQ(rig.session.pcbCount(), row.count) << row.text.size();
    }
}

// Enter has the fields read anew whichever way it goes: placing, unplacing, or refusing a part
// the BOM leaves off.
TEST(AssemblySession, EnterRefreshesTheFieldsEachWay) {
    const TempFile bom("Designator,Qty,DNP\nQ2,1,DNP\n");
    SessionRig rig;
    rig.loadText(kKinds);
    rig.session.changeSort(2);
    rig.session.loadBom(bom.path());
    EXPECT_TRUE(rig.enter(0).refreshFields);
    EXPECT_TRUE(rig.enter(0).refreshFields); // unplaced again
    EXPECT_TRUE(rig.enter(1).refreshFields); // Q2, left off
    EXPECT_EQ(rig.session.keptState().placed, std::vector<int>{});
}

// Every event that rebuilds or changes the list's rows tells the list before and after it, once.
TEST(AssemblySession, TellsTheListAroundEachChangeOfItsRows) {
    const TempFile bom("Designator,Qty,DNP\nQ1,1,DNP\n");
    const struct {
        const char* name;
        std::function<void(AssemblySession&)> event;
    } rows[] = {
        {"a sort change", [](AssemblySession& s) { s.changeSort(1); }},
        {"a face change", [](AssemblySession& s) { s.changeFace(Face::Bottom); }},
        {"a BOM", [&bom](AssemblySession& s) { s.loadBom(bom.path()); }},
        {"a restore", [](AssemblySession& s) { s.restore(s.keptState()); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SessionRig rig;
        rig.loadText(kKinds);
        RecordingObserver observer(rig.session);
        rig.session.setObserver(&observer);
        row.event(rig.session);
        EXPECT_EQ(observer.log.substr(0, 3) + observer.log.substr(observer.log.size() - 2),
                  "<6Q>6");
        EXPECT_EQ(std::count(observer.log.begin(), observer.log.end(), '<'), 1);
    }
}

// Each change of what is kept asks for the session to be written again; a press on the picture
// and a pan of the overview keep nothing. From R1 selected on a shown picture.
TEST(AssemblySession, AsksForAWriteOnEachChangeOfWhatIsKept) {
    const TempFile bom("Designator,Qty,DNP\nR1,1,DNP\n");
    using S = AssemblySession;
    const struct {
        const char* name;
        std::function<void(S&)> event;
        bool kept;
        std::function<void(SessionRig&)> before = [](SessionRig&) {};
    } rows[] = {
        {"a placement file", [](S& s) { s.loadPlacementFile(s.placementPath()); }, true},
        {"a BOM", [&bom](S& s) { s.loadBom(bom.path()); }, true},
        {"a part left off", [](S& s) { s.toggleNotFitted(); }, true},
        {"the other face", [](S& s) { s.changeFace(Face::Bottom); }, true},
        {"another order", [](S& s) { s.changeSort(1); }, true},
        {"the first order again", [](S& s) { s.changeSort(0); }, true,
         [](SessionRig& rig) { rig.session.changeSort(2); }},
        {"another picture", [](S& s) { s.loadBitmap("other.jpg"); }, true},
        {"a turn left", [](S& s) { s.rotateLeft(); }, true},
        {"a turn right", [](S& s) { s.rotateRight(); }, true},
        {"a mirror", [](S& s) { s.flip(); }, true},
        {"a zoom in", [](S& s) { s.zoomIn(); }, true},
        {"a zoom out", [](S& s) { s.zoomOut(); }, true},
        {"a part placed", [](S& s) { s.placeUnplace(); }, true},
        {"a part unplaced", [](S& s) { s.placeUnplace(); }, true,
         [](SessionRig& rig) {
             rig.enter(0);
             rig.click(0);
         }},
        {"all unplaced", [](S& s) { s.unplaceAll(); }, true},
        {"another row", [](S& s) { s.navigate(NavigationKey::Down); }, true},
        {"Cal 1",
         [](S& s) {
             s.pressOnPicture({true, 100, 400});
             s.cal1();
         },
         true},
        {"a restore", [](S& s) { s.restore(s.keptState()); }, true},
        {"a press alone",
         [](S& s) {
             s.pressOnPicture({true, 100, 400});
         },
         false},
        {"a pan of the overview", [](S& s) { s.panOverview(5, 5); }, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SessionRig rig;
        rig.loadText(kCalParts);
        rig.showPicture("board.jpg");
        rig.click(0);
        row.before(rig);
        const std::uint64_t before = rig.session.keptRevision();
        row.event(rig.session);
        EXPECT_EQ(rig.session.keptRevision() != before, row.kept);
    }
}

// A restore brings back the marks kept and only those: parts placed since are unplaced again.
TEST(AssemblySession, RestoreTakesOffTheMarksPlacedSince) {
    SessionRig rig;
    AssemblySession& s = rig.session;
    rig.loadText(kKinds);
    s.changeSort(2); // rows in file order
    rig.enter(0);
    const KeptSession kept = s.keptState();
    rig.enter(3);
    rig.enter(5);
    s.restore(kept);
    EXPECT_EQ(s.keptState().placed, std::vector<int>{0});
}

// Marks that name no part of the table, from a file kept for a longer one, are passed over.
TEST(AssemblySession, RestorePassesOverMarksNamingNoPart) {
    SessionRig rig;
    AssemblySession& s = rig.session;
    rig.loadText(kKinds);
    KeptSession kept = s.keptState();
    kept.placed = {-1, 2, 6, 4999};
    s.restore(kept);
    EXPECT_EQ(s.keptState().placed, std::vector<int>{2});
}

// A file that gives no part says so in a box, and the field still reads "no parts found".
TEST(AssemblySession, AFileWithoutPartsSaysSo) {
    SessionRig rig;
    const SessionUpdate u = rig.loadText(kHeader + ",,,,,,\n\x1A\n");
    EXPECT_EQ(std::make_tuple(Said(u), rig.session.pkpText(), rig.session.faceList().faceCount),
              std::make_tuple("No parts found in part file", "no parts found", 0));
}

// A file longer than a table loads its first 5000 parts and says how many it holds.
TEST(AssemblySession, ALongFileLoadsItsFirst5000PartsAndSaysSo) {
    SessionRig rig;
    std::string csv = kHeader;
    for (int i = 1; i <= 5003; ++i)
        csv += "R" + std::to_string(i) + ",1k,0603,1,2,0,top\n";
    const SessionUpdate u = rig.loadText(csv);
    EXPECT_EQ(std::make_tuple(Said(u), rig.session.pkpText(), rig.session.faceList().faceCount),
              std::make_tuple("Only the first 5000 parts of 5003 were loaded", "5000 parts loaded",
                              5000));
}

// The other parts of the selected part's kind, where the calibration puts them: every part here
// lies on the line through the two calibration parts, at the share of the way between their
// pixels that it lies between their positions.
TEST(AssemblySession, SpotsTheOtherPartsOfTheSelectedKind) {
    SessionRig rig;
    rig.loadText(kHeader + "C1,1u,0603,10,20,0,top\nC2,1u,0603,30,40,0,top\n"
                           "C3,1u,0603,20,30,0,top\nR1,10k,0603,15,25,0,top\n"
                           "R2,10k,0603,25,35,0,top\n");
    rig.showPicture("picture.bmp");
    const auto spots = [&rig](int row) {
        rig.click(row);
        std::string text;
        for (const AssemblySession::Spot& spot : rig.session.spotsOfSelectedKind())
            text += std::to_string((spot.pixel.x + 2) / 5 * 5) + "," +
                    std::to_string((spot.pixel.y + 2) / 5 * 5) + (spot.placed ? " placed " : " ");
        return text;
    };
    EXPECT_EQ(spots(0), ""); // nowhere before a calibration
    rig.calibratePair();     // C1 (10, 20) at (100, 400), C2 (30, 40) at (600, 900)
    rig.enter(2);            // C3 placed
    EXPECT_EQ(spots(0), "600,900 350,650 placed ");
    EXPECT_EQ(spots(2), "100,400 600,900 ");
    EXPECT_EQ(spots(3), "475,775 ");
}

} // namespace
} // namespace kavelto
