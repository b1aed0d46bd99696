#include "PartListObserver.h"
#include "SessionRig.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kavelto {
namespace {

const std::string kHeader = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
const char* const kNoPart = "Select a part first";

// One package, value and prefix: rows follow the numbers. With R1 at pixel (100, 400), R2 at
// (600, 900) makes a direct pair of 0.1 board unit per pixel that locates R3 at (350, 650); R4 at
// (200, 900) makes a swapped pair that locates R5 at (150, 650). R10 is the bottom face's part.
const std::string kCalParts =
    kHeader + "R1,1k,0603,10,20,0,top\nR2,1k,0603,60,70,0,top\nR3,1k,0603,35,45,0,top\n"
              "R4,1k,0603,60,30,0,top\nR5,1k,0603,35,25,0,top\nR6,1k,0603,0,0,0,top\n"
              "R7,1k,0603,10,90,0,top\nR8,1k,0603,80,20,0,top\nR9,1k,0603,60,25,0,top\n"
              "R10,1k,0603,35,45,0,bottom\n";

// Q1 to Q6; sorted by prefix and number, items 1, 1, 1, 2, 3, 4.
const std::string kKinds =
    kHeader + "Q1,BC847,SOT23,1,1,0,top\nQ2,BC847,SOT23,2,1,0,top\nQ3,BC847,SOT23,3,1,0,top\n"
              "Q4,BC857,SOT23,4,1,0,top\nQ5,LM358,SOIC8,5,1,0,top\nQ6,BC847,SOT23,6,1,0,top\n";

// The text of the update's message box, or "" when it shows none.
std::string Said(const SessionUpdate& u) {
    return u.message ? u.message->text : "";
}

std::pair<int, int> Marker(const AssemblySession& s) {
    return {s.view().markerX, s.view().markerY};
}

// Selecting a part in the list, pressing on the picture, then a calibration button.
struct CalStep {
    int row;            // clicked in the list first, or kNoRow
    PicturePoint press; // on the drawn picture before the button, if inside
    SessionUpdate (AssemblySession::*button)();
};
constexpr auto kCal1Button = &AssemblySession::cal1, kCal2Button = &AssemblySession::cal2,
               kAddButton = &AssemblySession::addCalPoint;
const CalStep kCal1{0, {true, 100, 400}, kCal1Button}, kOk2{1, {true, 600, 900}, kCal2Button},
    kFlip2{3, {true, 200, 900}, kCal2Button}; // R2: the direct pair; R4: the swapped pair

// The session rig with calibration steps.
struct Rig : SessionRig {
    void showCalParts() {
        loadText(kCalParts);
        showPicture("board.jpg");
    }
    SessionUpdate cal(const CalStep& step) {
        if (step.row != kNoRow)
            click(step.row);
        if (step.press.inside)
            session.pressOnPicture(step.press);
        return (session.*step.button)();
    }
    void calibrate() { // with the direct pair
        showCalParts();
        EXPECT_EQ(Said(calibratePair()), "");
    }
};

// A new file's first row is located before the calibration in force is reset.
TEST(AssemblySession, ALoadStartsTheAssemblyAfresh) {
    Rig rig;
    AssemblySession& s = rig.session;
    rig.calibrate();
    rig.click(2);
    const SessionUpdate u = rig.loadText(kHeader + "C1,1k,0603,3,4,0,top\nC2,1k,0603,5,6,0,top\n");
    EXPECT_EQ(std::make_tuple(s.pkpText(), Marker(s), u.reveal, s.calibration().state),
              std::make_tuple("2 parts loaded", std::make_pair(30, 240), 0, CalState::None));
    s.loadPlacementFile(std::nullopt); // the choice cancelled
    EXPECT_EQ(std::make_tuple(s.pkpText(), s.faceList().faceCount),
              std::make_tuple("no pkp loaded", 0));
}

// Moving the selection locates the part; clicking the face shown does nothing at all, not even
// refresh the fields; another face resets the calibration.
TEST(AssemblySession, CalibrationInForceLocatesEachSelectionMove) {
    Rig rig;
    AssemblySession& s = rig.session;
    rig.calibrate();
    s.navigate(NavigationKey::Down); // from R2 to R3
    EXPECT_EQ(Marker(s), std::make_pair(350, 650));
    const SessionUpdate same = s.changeFace(Face::Top);
    EXPECT_EQ(std::tie(same.reveal, same.refreshFields), std::make_tuple(kNoRow, false));
    EXPECT_EQ(s.changeSort(1).reveal, 0); // the list rebuilt: row 0 selected and located
    EXPECT_EQ(Marker(s), std::make_pair(100, 400));
    s.changeFace(Face::Bottom);
    EXPECT_EQ(s.calibration().state, CalState::None);
}

// What the session adds to the calibration's own rules: the selection each button consumes, the
// fields to refresh, the first line of its box, and the parts located afterwards: a probe row is
// clicked after the steps. R3 lies on the line of R1 and R2. Another picture, turned: R1 at
// (100, 400), R8 at (800, 540), R2 at (500, 1000), R5 at (340, 500), so R3 at (300, 700); its
// pairs with R1 all fail the scale test or share a coordinate, and still count as points.
TEST(AssemblySession, CalibrationButtons) {
    const CalStep add7{6, {true, 100, 1100}, kAddButton}, onLine{2, {true, 350, 650}, kAddButton},
        t8{7, {true, 800, 540}, kCal2Button}, t2{1, {true, 500, 1000}, kAddButton},
        t5{4, {true, 340, 500}, kAddButton},
        remove{kNoRow, {}, &AssemblySession::removeLastCalPoint},
        unselected1{kNoRow, {true, 100, 400}, kCal1Button},
        unselected2{kNoRow, {true, 600, 900}, kCal2Button};
    const char *const ok = "Calibrated, ok", *const ok3 = "Calibrated, ok (3 points)",
                      *const notAdded =
                          "Calibration point not added: no map fits it with the other points.";
    const struct {
        const char* name;
        std::vector<CalStep> steps;
        const char* said; // the first line of the last step's box
        const char* field;
        bool refreshFields;
        int probeRow = kNoRow;
        std::pair<int, int> located = {};
    } cases[] = {
        {"Cal 1 on the load's row", {unselected1}, kNoPart, "Not calibrated", false},
        {"Cal 2, no new part", {kCal1, unselected2}, kNoPart, "Waiting for point 2", false},
        {"direct pair", {kCal1, kOk2}, "", ok, true, 2, {350, 650}},
        {"swapped pair", {kCal1, kFlip2}, "", "Calibrated, flipped", true, 4, {150, 650}},
        {"a third point", {kCal1, kOk2, add7}, "Calibrated on 3 points.", ok3, true},
        {"on the pair's line", {kCal1, kOk2, onLine}, notAdded, ok, true},
        {"removing one", {kCal1, t8, t2, t5, remove}, "", ok3, true, 2, {300, 700}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.showCalParts();
        SessionUpdate u;
        for (const CalStep& step : c.steps)
            u = rig.cal(step);
        EXPECT_EQ(Said(u).substr(0, Said(u).find('\n')), c.said);
        EXPECT_EQ(std::make_tuple(rig.session.calibrationText(), u.refreshFields),
                  std::make_tuple(c.field, c.refreshFields));
        if (c.probeRow != kNoRow) {
            rig.click(c.probeRow);
            EXPECT_EQ(Marker(rig.session), c.located);
        }
    }
}

TEST(AssemblySession, LoadBitmapForgetsThePointOfThePreviousPicture) {
    Rig rig;
    AssemblySession& s = rig.session;
    rig.calibrate();
    rig.cal({6, {true, 100, 1100}, kAddButton}); // an added point, forgotten with the calibration
    rig.click(0);
    EXPECT_TRUE(s.loadBitmap("other.jpg").refreshFields);
    EXPECT_EQ(s.calibrationText(), "Not calibrated");
    s.recordPaint(1200, 1000, kDrawn);
    EXPECT_EQ(Said(rig.cal({0, {}, kCal1Button})), "Select a point on the bitmap first");
}

// Each case first draws another picture, then loads its own. A press that counts starts a drag
// that may leave the picture and keeps the part chosen for Cal 1; a drag without one does
// nothing.
TEST(AssemblySession, PressCountsOnlyOnADrawnPicture) {
    const struct {
        const char* name;
        std::optional<FitResult> paint; // after Load Bitmap
        bool inside;
        bool counts;
    } cases[] = {
        {"no paint since Load Bitmap", std::nullopt, true, false},
        {"not drawable", FitResult{1200, 1000, 0, 0, 0, false}, true, false},
        {"beside the picture", kDrawn, false, false},
        {"on the drawn picture", kDrawn, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        AssemblySession& s = rig.session;
        rig.showCalParts();
        s.loadBitmap("b.jpg");
        if (c.paint)
            s.recordPaint(1200, 1000, *c.paint);
        rig.click(3);
        s.pressOnPicture({c.inside, 150.5f, 80.2f});
        s.dragOnPicture({false, -30.7f, 1700.9f});
        s.releaseOnPicture({false, 1500.2f, -3.9f});
        s.dragOnPicture({true, 10, 10}); // after the release: nothing
        EXPECT_EQ(std::make_tuple(s.view().markerMode, Marker(s), s.selection().selectedRow),
                  std::make_tuple(c.counts ? MarkerMode::UserPoint : MarkerMode::None,
                                  c.counts ? std::make_pair(1500, -3) : std::make_pair(0, 0), 3));
    }
}

// On kKinds sorted by prefix and number, with no row highlighted.
TEST(AssemblySession, EnterPlacesAndStepsToTheNextUnplacedPart) {
    const std::string newPart = "New part !\n\nItem# ";
    const struct {
        const char* name;
        std::vector<int> clicks; // the row clicked before each Enter, or kNoRow
        int row;                 // selected afterwards
        std::optional<int> highlight;
        std::vector<int> placed;
        std::string said; // by the last Enter
    } cases[] = {
        {"same kind follows", {0}, 1, 1, {0}, ""},
        {"differs only in value", {2}, 3, 3, {2}, newPart + "2\nBC857, SOT23"},
        {"Enter on a placed row", {2, 2}, 2, 2, {}, ""},
        {"same kind with placed rows between", {3, kNoRow, 2}, 5, 5, {2, 3, 4}, ""},
        {"no highlighted row", {kNoRow}, 0, std::nullopt, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        AssemblySession& s = rig.session;
        rig.loadText(kKinds);
        s.changeSort(2);
        s.setHighlightedRow(std::nullopt);
        SessionUpdate u;
        for (const int row : c.clicks)
            u = rig.enter(row);
        EXPECT_EQ(std::make_tuple(s.selection().selectedRow, s.highlightedRow(),
                                  s.keptState().placed, Said(u)), // placed rows in file order
                  std::make_tuple(c.row, c.highlight, c.placed, c.said));
    }
}

TEST(AssemblySession, NavigationKeysMoveTheSelectionOnRowsThatExist) {
    using Key = NavigationKey;
    Rig rig;
    AssemblySession& s = rig.session;
    std::string parts = kHeader; // Q1 to Q20
    for (int i = 1; i <= 20; ++i)
        parts += "Q" + std::to_string(i) + ",1k,0603," + std::to_string(i) + ",1,0,top\n";
    rig.loadText(parts);
    rig.click(5);
    EXPECT_EQ(s.navigate(Key::PageDown).reveal, 13);
    EXPECT_EQ(s.navigate(Key::PageDown).reveal, 19); // a page short of the end: the last row
    EXPECT_EQ(s.navigate(Key::PageDown).reveal, kNoRow);
    EXPECT_EQ(s.selection().selectedRow, 19);
    s.changeFace(Face::Bottom); // no rows, and none of the other face's may be stepped on
    for (const Key key : {Key::PageUp, Key::PageDown, Key::End, Key::Home, Key::Up, Key::Down})
        EXPECT_EQ(s.navigate(key).reveal, kNoRow) << static_cast<int>(key);
    s.placeUnplace();
    EXPECT_EQ(s.keptState().placed, std::vector<int>{});
}

// Logs the calls; with each notice that the list is about to change, what the session shows:
// part count, face count, pkp text and row 0's prefix.
struct RecordingObserver : PartListObserver {
    explicit RecordingObserver(const AssemblySession& s) : session(s) {}
    void faceListAboutToChange() override {
        const int rows = session.faceList().faceCount;
        log += "about to change (" + std::to_string(session.table().partCount) + ", " +
               std::to_string(rows) + ", " + session.pkpText() + ", " +
               (rows ? session.partAtRow(0).prefix : "") + "); ";
    }
    void faceListChanged() override { log += "changed; "; }
    void placedChanged(int first, int last) override {
        log += "placed " + std::to_string(first) + "-" + std::to_string(last) + "; ";
    }
    const AssemblySession& session;
    std::string log;
};

// Marks survive changes of face and order, and Unplace All clears both faces.
TEST(AssemblySession, PlacedMarksAndTheListObserver) {
    Rig rig;
    AssemblySession& s = rig.session;
    RecordingObserver observer(s);
    s.setObserver(&observer);
    rig.loadText(kCalParts);
    rig.enter(1);
    s.changeSort(2);
    s.changeFace(Face::Bottom);
    rig.enter(0);
    s.changeFace(Face::Top);
    EXPECT_EQ(s.keptState().placed, (std::vector<int>{1, 9}));
    rig.click(5);
    s.unplaceAll();
    EXPECT_EQ(s.keptState().placed, std::vector<int>{});
    rig.loadText(kHeader + "X1,1k,0603,1,2,0,top\nX2,1k\n"); // overwrites R1's record, then fails
    EXPECT_EQ(observer.log, "about to change (0, 0, no pkp loaded, ); changed; placed 1-1; "
                            "about to change (10, 9, 10 parts loaded, R); changed; "
                            "about to change (10, 9, 10 parts loaded, R); changed; placed 0-0; "
                            "about to change (10, 1, 10 parts loaded, R); changed; placed 0-8; "
                            "about to change (10, 9, 10 parts loaded, R); changed; ");
}

} // namespace
} // namespace kavelto
