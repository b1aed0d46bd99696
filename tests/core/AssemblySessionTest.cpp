#include "AssemblySession.h"
#include "PartListObserver.h"
#include "TempFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kavelto {

void PrintTo(const UserMessage& m, std::ostream* os) {
    *os << '"' << m.text << "\" captioned \"" << m.caption << "\", buttons "
        << static_cast<int>(m.buttons) << ", icon " << static_cast<int>(m.icon);
}

namespace {

// Columns Ref,Val,Package,PosX,PosY,Rot,Side after one header line.
const std::string kColumns = "1\n,\n1,5,6,3,4,7,2\n";
const std::string kHeader = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
const char* const kNoPoint = "Select a point on the bitmap first";
const char* const kNoPart = "Select a part first";
const char* const kSameX = "Components with same X !";
const char* const kAlignedY = "Aligned positions on Y !";
const char* const kFieldsMissing = "Not enough fields per line";
const char* const kImpossible = "Calibration impossible, check your selections";
constexpr CalState kNone = CalState::None, kWait = CalState::WaitingPoint2,
                   kOk = CalState::CalibratedOk, kFlipped = CalState::CalibratedFlipped;
constexpr FitResult kDrawn{1200, 1000, 600, 500, 2.0f, true};
constexpr FitResult kNotDrawn{1200, 1000, 0, 0, 0.0f, false};

struct Part {
    std::string ref;
    float x = 1;
    float y = 1;
    std::string value = "1k";
    std::string package = "0603";
    std::string side = "top";
};

// A placement file whose rotation column holds each part's line number, counted from 1.
std::string Csv(const std::vector<Part>& parts) {
    std::ostringstream text;
    text << kHeader;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const Part& p = parts[i];
        text << p.ref << ',' << p.value << ',' << p.package << ',' << p.x << ',' << p.y << ','
             << i + 1 << ',' << p.side << '\n';
    }
    return text.str();
}

// One package, value and prefix: rows follow the numbers. With R1 at pixel (100, 400), R2 at
// (600, 900) makes a direct pair of 0.1 board unit per pixel that locates R3 at (350, 650); R4 at
// (200, 900) makes a swapped pair that locates R5 at (150, 650). R10 is the bottom face's part.
const std::vector<Part> kCalParts = {{"R1", 10, 20}, {"R2", 60, 70},
                                     {"R3", 35, 45}, {"R4", 60, 30},
                                     {"R5", 35, 25}, {"R6", 0, 0},
                                     {"R7", 10, 90}, {"R8", 80, 20},
                                     {"R9", 60, 25}, {"R10", 35, 45, "1k", "0603", "bottom"}};

// Rows Q1 to Q6, each at x = its number; items 1, 1, 1, 2, 3, 4.
const std::vector<Part> kKinds = {{"Q1", 1, 1, "BC847", "SOT23"}, {"Q2", 2, 1, "BC847", "SOT23"},
                                  {"Q3", 3, 1, "BC847", "SOT23"}, {"Q4", 4, 1, "BC857", "SOT23"},
                                  {"Q5", 5, 1, "LM358", "SOIC8"}, {"Q6", 6, 1, "BC847", "SOT23"}};

std::vector<Part> Numbered(int count) { // Q1 to Q<count>, each at x = its number
    std::vector<Part> parts;
    for (int i = 1; i <= count; ++i)
        parts.push_back({"Q" + std::to_string(i), static_cast<float>(i)});
    return parts;
}

struct Press {
    float x;
    float y;
};

// Selecting a part in the list, pressing on the picture, then Cal 1 or Cal 2.
struct CalStep {
    int row;                    // clicked in the list first, or kNoRow
    std::optional<Press> press; // on the drawn picture before the button
    int button; // Cal 1, Cal 2, 3 Add calibration point, 4 Remove last calibration point
};
const CalStep kCal1{0, Press{100, 400}, 1};
const CalStep kOk2{1, Press{600, 900}, 2};        // R2: the direct pair
const CalStep kFlip2{3, Press{200, 900}, 2};      // R4: the swapped pair
const CalStep kSameX2{6, Press{600, 900}, 2};     // R7
const CalStep kSameY2{7, Press{600, 900}, 2};     // R8
const CalStep kAlignX2{1, Press{100.9f, 900}, 2}; // pixel x 100 once truncated
const CalStep kAlignY2{1, Press{600, 400}, 2};
const CalStep kSkew2{8, Press{600, 900}, 2}; // R9: A = C = 0.1, B = D = 0.01
const CalStep kAgain1{kNoRow, std::nullopt, 1};
const CalStep kAgain2{kNoRow, std::nullopt, 2};

std::optional<UserMessage> Error(const char* text) {
    return text ? std::optional(ErrorMessage(text)) : std::nullopt;
}

UserMessage NewPart(const std::string& text) {
    return {text, "Placement", MessageButtons::Ok, MessageIcon::None};
}

std::pair<int, int> Marker(const AssemblySession& s) {
    return {s.view().markerX, s.view().markerY};
}

// A session under the column layout above, with the list click and picture actions of the user.
struct Rig {
    Rig() {
        TempFile config(kColumns);
        std::string message;
        EXPECT_TRUE(session.loadColumnMap(config.path(), message)) << message;
    }
    SessionUpdate load(const std::string& csv) {
        TempFile file(csv);
        return session.loadPlacementFile(file.path());
    }
    SessionUpdate click(int row) {
        session.setHighlightedRow(row);
        return session.LocateSelectedPart();
    }
    void showPicture() {
        session.loadBitmap("board.jpg");
        session.recordPaint(1200, 1000, kDrawn);
    }
    SessionUpdate cal(const CalStep& step) {
        if (step.row != kNoRow)
            click(step.row);
        if (step.press)
            session.pressOnPicture({true, step.press->x, step.press->y});
        switch (step.button) {
        case 1:
            return session.cal1();
        case 2:
            return session.cal2();
        case 3:
            return session.addCalPoint();
        default:
            return session.removeLastCalPoint();
        }
    }
    // The calibration parts on a drawn picture, calibrated with the direct pair.
    void calibrate() {
        load(Csv(kCalParts));
        showPicture();
        cal(kCal1);
        EXPECT_EQ(cal(kOk2).message, std::nullopt);
    }
    // Sorted by prefix and number, no row highlighted.
    void loadKinds() {
        load(Csv(kKinds));
        session.changeSort(2);
        session.setHighlightedRow(std::nullopt);
    }
    SessionUpdate enter(int row) {
        if (row != kNoRow)
            session.setHighlightedRow(row);
        return session.placeUnplace();
    }
    std::vector<int> placedRows() const {
        std::vector<int> rows;
        for (int r = 0; r < session.faceList().faceCount; ++r)
            if (session.partAtRow(r).placed)
                rows.push_back(r);
        return rows;
    }
    AssemblySession session;
};

// Each load follows a calibration in force and a click on row 2, located at (350, 650).
TEST(AssemblySession, LoadOutcomesStartTheAssemblyAfresh) {
    std::string error100 = kHeader, many = kHeader;
    for (int i = 0; i < 99; ++i)
        error100 += "R1,1k,0603,1,2,0,top\n";
    error100 += "R100,1k\n";
    for (int i = 0; i < 6000; ++i)
        many += "R1,1k,0603,1,2,0,top\n";
    const std::string shorter = Csv({{"C1", 3, 4}, {"C2", 5, 6}});
    const struct {
        const char* name;
        std::optional<std::string> file; // nullopt: the choice was cancelled
        const char* pkpText;
        const char* error;
        int count;
        std::pair<int, int> marker; // the first row is located before the reset
    } cases[] = {
        {"a shorter file", shorter, "2 parts loaded", nullptr, 2, {30, 240}},
        {"an error on line 100", error100, "no parts found", kFieldsMissing, 0, {350, 650}},
        {"header lines only", kHeader, "no parts found", nullptr, 0, {350, 650}},
        {"cancelled", std::nullopt, "no pkp loaded", nullptr, 0, {350, 650}},
        {"6000 lines", many, "5000 parts loaded", nullptr, 5000, {10, 220}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        AssemblySession& s = rig.session;
        rig.calibrate();
        rig.click(2);
        const SessionUpdate u = c.file ? rig.load(*c.file) : s.loadPlacementFile(std::nullopt);
        EXPECT_EQ(u.message, Error(c.error));
        EXPECT_EQ(s.pkpText(), c.pkpText);
        EXPECT_EQ(s.table().partCount, c.count);
        EXPECT_EQ(s.faceList().faceCount, c.count);
        EXPECT_EQ(s.partsPerFaceText(), std::to_string(c.count) + " parts/face");
        EXPECT_EQ(Marker(s), c.marker);
        EXPECT_EQ(s.selection().selectedRow, c.count ? 0 : 2);
        EXPECT_EQ(u.reveal, c.count ? 0 : kNoRow);
        EXPECT_TRUE(u.refreshFields);
        EXPECT_EQ(s.calibration().state, kNone);
        EXPECT_FALSE(s.selection().hasPart());
        EXPECT_EQ(s.highlightedRow(), std::nullopt);
    }
}

TEST(AssemblySession, RebuildSortsNumbersItemsAndSelectsRow0) {
    const std::vector<Part> kinds = {
        {"R1", 1, 1, "1k", "0805"}, {"R2"}, {"C1", 1, 1, "1k", "0805"}};
    const struct {
        const char* name;
        std::vector<Part> parts;
        std::vector<int> sortEntries; // chosen in this order after the load
        std::vector<int> fileLines;   // of the rows, in list order
        std::vector<int> items;
    } cases[] = {
        {"equal keys in reverse file order", {{"R5"}, {"R5"}, {"R5"}}, {0}, {3, 2, 1}, {1, 1, 1}},
        {"adjacency", {{"R1"}, {"D1", 1, 1, "1N4148"}, {"C1"}}, {0}, {3, 2, 1}, {1, 2, 3}},
        {"prefix before package", kinds, {1}, {3, 2, 1}, {1, 2, 3}},
        {"entry -1 keeps the order", kinds, {1, -1}, {3, 2, 1}, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        AssemblySession& s = rig.session;
        rig.load(Csv(c.parts));
        rig.click(2);
        SessionUpdate u;
        for (const int entry : c.sortEntries)
            u = s.changeSort(entry);
        std::vector<int> lines, items;
        for (int r = 0; r < s.faceList().faceCount; ++r) {
            lines.push_back(s.partAtRow(r).rotation);
            items.push_back(s.itemNumber(r));
        }
        EXPECT_EQ(lines, c.fileLines);
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(s.selection().selectedRow, 0);
        EXPECT_EQ(s.highlightedRow(), 0);
        EXPECT_EQ(u.reveal, 0);
        EXPECT_TRUE(u.refreshFields);
    }
}

TEST(AssemblySession, CalibrationInForceLocatesEachSelectionMove) {
    Rig rig;
    AssemblySession& s = rig.session;
    rig.calibrate();
    SessionUpdate u = s.navigate(NavigationKey::Down); // from R2 to R3
    EXPECT_EQ(Marker(s), std::make_pair(350, 650));
    EXPECT_EQ(s.view().markerMode, MarkerMode::PartLocated);
    EXPECT_EQ(u.repaint, Repaint::Now);
    u = s.changeFace(Face::Top); // the face shown: nothing at all
    EXPECT_EQ(u.reveal, kNoRow);
    EXPECT_FALSE(u.refreshFields);
    EXPECT_EQ(s.highlightedRow(), 2);
    u = s.changeSort(1);
    EXPECT_EQ(s.calibration().state, kOk);
    EXPECT_EQ(Marker(s), std::make_pair(100, 400)); // row 0 located
    EXPECT_EQ(u.repaint, Repaint::Now);
    u = s.changeFace(Face::Bottom); // R10 is located before the reset
    EXPECT_EQ(s.partsPerFaceText(), "1 parts/face");
    EXPECT_EQ(Marker(s), std::make_pair(350, 650));
    EXPECT_EQ(s.calibration().state, kNone);
    EXPECT_FALSE(s.selection().hasPart());
    EXPECT_EQ(s.highlightedRow(), std::nullopt);
    EXPECT_EQ(u.reveal, 0);
    EXPECT_TRUE(u.refreshFields);
    s.changeFace(Face::Top);
    u = rig.click(0); // not calibrated: the selection only
    EXPECT_EQ(Marker(s), std::make_pair(350, 650));
    EXPECT_EQ(u.repaint, Repaint::None);
    EXPECT_EQ(s.selection().selectedX, 10.0f);
    rig.click(4);
    s.setHighlightedRow(std::nullopt); // a click that leaves no row highlighted
    s.LocateSelectedPart();
    EXPECT_EQ(s.selection().selectedRow, 4);
}

// On the calibration parts; a probe row is clicked afterwards and must be located.
TEST(AssemblySession, CalibrationChecksInOrder) {
    const struct {
        const char* name;
        std::vector<CalStep> steps;
        const char* message; // of the last step
        CalState state;
        bool refreshFields;
        int probeRow = kNoRow;
        std::pair<int, int> located = {};
    } cases[] = {
        {"Cal 1 before any press", {{0, std::nullopt, 1}}, kNoPoint, kNone, false},
        {"Cal 1 without a part", {{kNoRow, Press{100, 400}, 1}}, kNoPart, kNone, false},
        {"Cal 1 on a part at board (0, 0)", {{5, Press{100, 400}, 1}}, kNoPart, kNone, false},
        {"Cal 1 on pixel (0.6, 0.9)", {{0, Press{0.6f, 0.9f}, 1}}, kNoPoint, kNone, false},
        {"Cal 2 before Cal 1", {{0, std::nullopt, 2}}, "Select cal1 first", kNone, false},
        {"Cal 1 twice", {kCal1, kAgain1}, kNoPart, kWait, false},
        {"Cal 2 without a new part", {kCal1, {kNoRow, Press{600, 900}, 2}}, kNoPart, kWait, false},
        {"same X", {kCal1, kSameX2}, kSameX, kWait, true},
        {"same Y", {kCal1, kSameY2}, "Components with same Y !", kWait, true},
        {"aligned on X", {kCal1, kAlignX2}, "Aligned positions on X !", kWait, true},
        {"aligned on Y", {kCal1, kAlignY2}, kAlignedY, kWait, true},
        {"no scale agrees", {kCal1, kSkew2}, kImpossible, kWait, true},
        {"direct pair", {kCal1, kOk2}, nullptr, kOk, true, 2, {350, 650}},
        {"swapped pair", {kCal1, kFlip2}, nullptr, kFlipped, true, 4, {150, 650}},
        {"Cal 2 again after flipped", {kCal1, kFlip2, kAgain2}, kNoPart, kFlipped, false},
        {"Cal 1 while calibrated", {kCal1, kOk2, kCal1}, nullptr, kWait, true},
        // A refused pair leaves point 2 and the calibration in force as they were.
        {"same X when calibrated", {kCal1, kOk2, kSameX2}, kSameX, kOk, true, 2, {350, 650}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.load(Csv(kCalParts));
        rig.showPicture();
        SessionUpdate u;
        for (const CalStep& step : c.steps)
            u = rig.cal(step);
        EXPECT_EQ(u.message, Error(c.message));
        EXPECT_EQ(u.refreshFields, c.refreshFields);
        EXPECT_EQ(rig.session.calibration().state, c.state);
        if (c.probeRow == kNoRow)
            continue;
        EXPECT_EQ(rig.click(c.probeRow).repaint, Repaint::Now);
        EXPECT_EQ(Marker(rig.session), c.located);
    }
}

UserMessage FitReport(const std::string& text) {
    return {text, "Calibration", MessageButtons::Ok, MessageIcon::Information};
}

// Added points on the calibration parts. The direct pair's map puts R7 at (100, 1100) and R8 at
// (800, 400); the swapped pair's puts R7 at (800, 400). Another picture, turned: R1 at
// (100, 400), R8 at (800, 540), R2 at (500, 1000), R5 at (340, 500), so R3 at (300, 700); its
// pairs with R1 all fail the scale test or share a coordinate.
TEST(AssemblySession, AddedPointsFitAMap) {
    const CalStep add7{6, Press{100, 1100}, 3}, add8{7, Press{800, 400}, 3},
        remove{kNoRow, std::nullopt, 4}, turned8{7, Press{800, 540}, 2},
        turned2{1, Press{500, 1000}, 3}, turned5{4, Press{340, 500}, 3};
    const auto three = FitReport("Calibrated on 3 points.\nLargest residual: 0.0 picture pixels."
                                 "\nThrough three points the map is exact: a fourth point takes a "
                                 "tilted camera into account, a fifth shows how well the points "
                                 "agree.");
    const auto four = FitReport("Calibrated on 4 points.\nLargest residual: 0.0 picture pixels."
                                "\nThrough four points the map is exact: a fifth point shows how "
                                "well the points agree.");
    const auto notAdded = Error("Calibration point not added: no map fits it with the other "
                                "points.\nChoose parts spread over the board, not on a line with "
                                "the others.");
    const struct {
        const char* name;
        std::vector<CalStep> steps;
        std::optional<UserMessage> message; // of the last step
        const char* field;
        int probeRow = kNoRow;
        std::pair<int, int> located = {};
    } cases[] = {
        {"before Cal 1", {add7}, Error("Select cal1 first"), "Not calibrated"},
        {"without a new part",
         {kCal1, {kNoRow, Press{100, 1100}, 3}},
         Error(kNoPart),
         "Waiting for point 2"},
        {"on the pair's line", {kCal1, kOk2, {2, Press{350, 650}, 3}}, notAdded, "Calibrated, ok"},
        {"a third point", {kCal1, kOk2, add7}, three, "Calibrated, ok (3 points)", 4, {350, 450}},
        {"a fourth point",
         {kCal1, kOk2, add7, add8},
         four,
         "Calibrated, ok (4 points)",
         8,
         {600, 450}},
        {"swapped axes",
         {kCal1, kFlip2, {6, Press{800, 400}, 3}},
         three,
         "Calibrated, flipped (3 points)",
         4,
         {150, 650}},
        {"after a refused pair",
         {kCal1, turned8, turned2, turned5},
         four,
         "Calibrated, ok (4 points)",
         2,
         {300, 700}},
        {"Cal 2 refused by the pair",
         {kCal1, kOk2, add7, {7, Press{800, 400}, 2}},
         three,
         "Calibrated, ok (3 points)",
         4,
         {350, 450}},
        {"removing one",
         {kCal1, turned8, turned2, turned5, remove},
         std::nullopt,
         "Calibrated, ok (3 points)",
         2,
         {300, 700}},
        {"removing back to the pair",
         {kCal1, turned8, turned2, remove},
         std::nullopt,
         "Waiting for point 2"},
        {"Cal 2 on the line of the points",
         {kCal1, {2, Press{350, 650}, 3}, kOk2},
         Error("Point 2 not taken into the calibration points: no map fits it with the others."),
         "Calibrated, ok",
         2,
         {350, 650}},
        {"removing would leave a line",
         {kCal1,
          {6, Press{100, 1100}, 2},
          {2, Press{350, 650}, 3},
          add8,
          {8, Press{600, 450}, 3},
          kOk2,
          remove},
         Error("The last calibration point stays: without it no map fits the others."),
         "Calibrated, ok (5 points)",
         4,
         {350, 450}},
        {"nothing to remove",
         {kCal1, kOk2, remove},
         Error("No added calibration point to remove"),
         "Calibrated, ok"},
        {"Cal 1 starts afresh",
         {kCal1, kOk2, add7, kCal1, remove},
         Error("No added calibration point to remove"),
         "Waiting for point 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.load(Csv(kCalParts));
        rig.showPicture();
        SessionUpdate u;
        for (const CalStep& step : c.steps)
            u = rig.cal(step);
        EXPECT_EQ(u.message, c.message);
        EXPECT_EQ(rig.session.calibrationText(), c.field);
        if (c.probeRow == kNoRow)
            continue;
        EXPECT_EQ(rig.click(c.probeRow).repaint, Repaint::Now);
        EXPECT_EQ(Marker(rig.session), c.located);
    }
}

TEST(AssemblySession, LoadBitmapForgetsThePointOfThePreviousPicture) {
    Rig rig;
    AssemblySession& s = rig.session;
    rig.calibrate();
    rig.cal({6, Press{100, 1100}, 3}); // an added point, forgotten with the calibration
    rig.click(0);
    const SessionUpdate u = s.loadBitmap("other.jpg");
    EXPECT_TRUE(s.calibration().addedPoints.empty());
    EXPECT_EQ(s.view().markerMode, MarkerMode::None);
    EXPECT_EQ(Marker(s), std::make_pair(100, 400)); // kept, but no longer a point
    EXPECT_EQ(s.calibration().state, kNone);
    EXPECT_EQ(s.highlightedRow(), std::nullopt);
    EXPECT_TRUE(s.view().repaintAll);
    EXPECT_EQ(u.repaint, Repaint::Soon);
    EXPECT_TRUE(u.refreshFields);
    s.recordPaint(1200, 1000, kDrawn);
    EXPECT_EQ(rig.cal({0, std::nullopt, 1}).message, Error(kNoPoint));
    EXPECT_EQ(rig.cal(kCal1).message, std::nullopt);
    s.loadBitmap(std::nullopt);
    EXPECT_EQ(s.view().bitmapPath, "no bitmap loaded");
}

// Each case first draws another picture, then loads its own.
TEST(AssemblySession, PressCountsOnlyOnADrawnPicture) {
    const struct {
        const char* name;
        bool bitmap;
        std::optional<FitResult> paint; // after Load Bitmap
        bool inside;
        bool counts;
    } cases[] = {
        {"no bitmap loaded", false, kDrawn, true, false},
        {"no paint since Load Bitmap", true, std::nullopt, true, false},
        {"a picture that could not be drawn", true, kNotDrawn, true, false},
        {"beside the picture", true, kDrawn, false, false},
        {"on the drawn picture", true, kDrawn, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        AssemblySession& s = rig.session;
        rig.load(Csv(kCalParts));
        rig.showPicture();
        s.loadBitmap(c.bitmap ? std::optional<std::string>("b.jpg") : std::nullopt);
        if (c.paint)
            s.recordPaint(1200, 1000, *c.paint);
        rig.click(3);
        const SessionUpdate u = s.pressOnPicture({c.inside, 150.5f, 80.2f});
        EXPECT_EQ(s.view().markerMode, c.counts ? MarkerMode::UserPoint : MarkerMode::None);
        EXPECT_EQ(Marker(s), c.counts ? std::make_pair(150, 80) : std::make_pair(0, 0));
        EXPECT_EQ(s.view().dragging, c.counts);
        EXPECT_EQ(u.repaint, c.counts ? Repaint::Now : Repaint::None);
        EXPECT_EQ(s.highlightedRow(), c.counts ? std::nullopt : std::optional(3));
        EXPECT_EQ(s.selection().selectedRow, 3); // the part stays chosen for Cal 1
        EXPECT_EQ(s.selection().selectedX, 60.0f);
    }
}

TEST(AssemblySession, DragMovesTheMarkerBeyondThePicture) {
    Rig rig;
    AssemblySession& s = rig.session;
    rig.showPicture();
    EXPECT_EQ(s.dragOnPicture({true, 50, 50}).repaint, Repaint::None); // no press yet
    s.pressOnPicture({true, 100, 50});
    EXPECT_EQ(s.dragOnPicture({false, -30.7f, 1700.9f}).repaint, Repaint::Now);
    EXPECT_EQ(Marker(s), std::make_pair(-30, 1700));
    s.releaseOnPicture({false, 1500.2f, -3.9f});
    EXPECT_EQ(Marker(s), std::make_pair(1500, -3));
    EXPECT_FALSE(s.view().dragging);
    s.dragOnPicture({true, 10, 10});
    s.releaseOnPicture({true, 10, 10});
    EXPECT_EQ(Marker(s), std::make_pair(1500, -3));
}

TEST(AssemblySession, EnterPlacesAndStepsToTheNextUnplacedPart) {
    const struct {
        const char* name;
        std::vector<int> clicks; // the row clicked before each Enter, or kNoRow
        int row;                 // selected afterwards
        std::optional<int> highlight;
        std::vector<int> placed;
        std::optional<UserMessage> box; // of the last Enter
    } cases[] = {
        {"same kind follows", {0}, 1, 1, {0}, std::nullopt},
        {"differs only in value", {2}, 3, 3, {2}, NewPart("New part !\n\nItem# 2\nBC857, SOT23")},
        {"differs in both", {3}, 4, 4, {3}, NewPart("New part !\n\nItem# 3\nLM358, SOIC8")},
        {"the last unplaced part", {5}, 5, 5, {5}, std::nullopt},
        {"Enter on a placed row", {2, 2}, 2, 2, {}, std::nullopt},
        {"same kind with placed rows between", {3, kNoRow, 2}, 5, 5, {2, 3, 4}, std::nullopt},
        {"no highlighted row", {kNoRow}, 0, std::nullopt, {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        AssemblySession& s = rig.session;
        rig.loadKinds();
        SessionUpdate u;
        for (const int row : c.clicks)
            u = rig.enter(row);
        EXPECT_EQ(s.selection().selectedRow, c.row);
        EXPECT_EQ(s.selection().selectedX, static_cast<float>(c.row + 1));
        EXPECT_EQ(s.highlightedRow(), c.highlight);
        EXPECT_EQ(rig.placedRows(), c.placed);
        EXPECT_EQ(u.message, c.box);
        EXPECT_TRUE(u.refreshFields);
    }
}

TEST(AssemblySession, NextUnplacedSearchesForwardOnly) {
    Rig rig;
    AssemblySession& s = rig.session;
    rig.loadKinds();
    rig.enter(4);
    rig.enter(kNoRow); // places Q6, the last row
    rig.click(4);
    SessionUpdate u = s.nextUnplaced(); // unplaced parts only above
    EXPECT_EQ(u.reveal, kNoRow);
    EXPECT_TRUE(u.refreshFields);
    EXPECT_EQ(s.selection().selectedRow, 4);
    s.loadBitmap(std::nullopt); // clears the highlight: the search starts at row 0
    EXPECT_EQ(s.nextUnplaced().reveal, 0);
    EXPECT_EQ(s.highlightedRow(), 0);
    EXPECT_EQ(s.nextUnplaced().reveal, 1);
}

TEST(AssemblySession, UnplaceAllClearsBothFaces) {
    Rig rig;
    AssemblySession& s = rig.session;
    rig.load(Csv(kCalParts));
    rig.enter(0);
    s.changeFace(Face::Bottom);
    rig.enter(0);
    s.changeFace(Face::Top);
    EXPECT_EQ(rig.placedRows(), std::vector<int>{0}); // marks survive face changes
    rig.click(5);
    EXPECT_TRUE(s.unplaceAll().refreshFields);
    EXPECT_EQ(rig.placedRows(), std::vector<int>{});
    EXPECT_EQ(s.highlightedRow(), 5);
    s.changeFace(Face::Bottom);
    EXPECT_EQ(rig.placedRows(), std::vector<int>{});
}

TEST(AssemblySession, NavigationKeysMoveTheSelectionOnRowsThatExist) {
    const struct {
        const char* name;
        int from;
        NavigationKey key;
        int row;
        int reveal;
    } cases[] = {
        {"Page Up from row 5", 5, NavigationKey::PageUp, 0, 0},
        {"Page Down from row 5", 5, NavigationKey::PageDown, 13, 13},
        {"Page Down three rows before the end", 16, NavigationKey::PageDown, 19, 19},
        {"Home", 5, NavigationKey::Home, 0, 0},
        {"End", 5, NavigationKey::End, 19, 19},
        {"Up", 5, NavigationKey::Up, 4, 4},
        {"Down", 5, NavigationKey::Down, 6, 6},
        {"Page Up on row 0", 0, NavigationKey::PageUp, 0, kNoRow},
        {"Page Down on the last row", 19, NavigationKey::PageDown, 19, kNoRow},
    };
    Rig rig;
    AssemblySession& s = rig.session;
    rig.load(Csv(Numbered(20)));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rig.click(c.from);
        EXPECT_EQ(s.navigate(c.key).reveal, c.reveal);
        EXPECT_EQ(s.selection().selectedRow, c.row);
        EXPECT_EQ(s.selection().selectedX, static_cast<float>(c.row + 1));
        EXPECT_EQ(s.highlightedRow(), c.row);
    }
    // Without rows nothing moves: on a face without parts, then after a cancelled load.
    const auto expectNoRows = [&s](const char* state) {
        SCOPED_TRACE(state);
        EXPECT_EQ(s.partsPerFaceText(), "0 parts/face");
        for (const NavigationKey key :
             {NavigationKey::PageUp, NavigationKey::PageDown, NavigationKey::End,
              NavigationKey::Home, NavigationKey::Up, NavigationKey::Down})
            EXPECT_EQ(s.navigate(key).reveal, kNoRow) << static_cast<int>(key);
        EXPECT_EQ(s.nextUnplaced().reveal, kNoRow);
        s.placeUnplace();
        EXPECT_EQ(s.selection().selectedRow, 15);
    };
    rig.click(15);
    s.changeFace(Face::Bottom);
    expectNoRows("a face without parts");
    s.changeFace(Face::Top);
    rig.click(15);
    s.loadPlacementFile(std::nullopt);
    expectNoRows("after a cancelled load");
}

TEST(AssemblySession, PcbCountReadsUnsignedDecimals) {
    const struct {
        std::string text;
        bool accepted;
        std::uint32_t count; // 42, read before, when refused
    } cases[] = {
        {" 12 ", true, 12},
        {"7" + std::string(30, ' ') + "x", true, 7}, // only 31 characters are read
        {"1.5", false, 42},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        Rig rig;
        ASSERT_TRUE(rig.session.readPcbCount("42"));
        EXPECT_EQ(rig.session.readPcbCount(c.text), c.accepted);
        EXPECT_EQ(rig.session.pcbCount(), c.count);
    }
}

// Logs the calls, and what the session shows each time the list is told that it is about to
// change: part count, face count, pkp text and row 0's prefix.
using Shown = std::tuple<int, int, std::string, std::string>;
struct RecordingObserver : PartListObserver {
    explicit RecordingObserver(const AssemblySession& s) : session(s) {}
    void faceListAboutToChange() override {
        events.push_back("about to change");
        const int rows = session.faceList().faceCount;
        before.emplace_back(session.table().partCount, rows, session.pkpText(),
                            rows ? session.partAtRow(0).prefix : "");
    }
    void faceListChanged() override { events.push_back("changed"); }
    void placedChanged(int first, int last) override {
        events.push_back("placed " + std::to_string(first) + "-" + std::to_string(last));
    }
    const AssemblySession& session;
    std::vector<std::string> events;
    std::vector<Shown> before;
};

TEST(AssemblySession, ObserverHearsOfEveryListChangeBeforeItHappens) {
    Rig rig;
    AssemblySession& s = rig.session;
    RecordingObserver observer(s);
    s.setObserver(&observer);
    rig.load(Csv(kCalParts));
    rig.enter(1);
    s.unplaceAll();
    s.changeSort(2);
    s.changeFace(Face::Top);
    s.changeFace(Face::Bottom);
    s.unplaceAll();
    std::string failing = kHeader; // overwrites R10's record before it fails
    for (int i = 1; i < 100; ++i)
        failing += "X" + std::to_string(i) + ",1k,0603,1,2,0,top\n";
    const SessionUpdate u = rig.load(failing + "X100,1k\n");
    const std::vector<std::string> events = {
        "about to change", "changed", "placed 1-1", "placed 0-8",      "about to change", "changed",
        "about to change", "changed", "placed 0-0", "about to change", "changed"};
    EXPECT_EQ(observer.events, events);
    const std::vector<Shown> before = {{0, 0, "no pkp loaded", ""},
                                       {10, 9, "10 parts loaded", "R"},
                                       {10, 9, "10 parts loaded", "R"},
                                       {10, 1, "10 parts loaded", "R"}};
    EXPECT_EQ(observer.before, before);
    EXPECT_EQ(u.message, Error(kFieldsMissing));
    EXPECT_EQ(s.table().partCount, 0);
}

} // namespace
} // namespace kavelto
