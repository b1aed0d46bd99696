// The board file reader: S-expressions as the design tool writes them, footprints of each
// version's form, and the demo board's file part by part against its truth.

#include "boardfile/KicadBoardReader.h"
#include "ColdfireTruth.h"
#include "boardfile/BoardFileMessages.h"
#include "boardfile/BoardShapes.h"
#include "boardfile/FootprintShape.h"
#include "boardfile/SExpression.h"
#include "geometry/CalibrationMap.h"
#include "packages/PackageParser.h"
#include "packages/PartOutline.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

using namespace kavelto;
using namespace coldfire;

namespace {

using namespace std::string_literals;

// A body's left, top, right and bottom; NaNs where there is none.
std::tuple<double, double, double, double> Box(const std::optional<BodyRect>& body) {
    const double none = std::nan("");
    return body ? std::make_tuple(body->left, body->top, body->right, body->bottom)
                : std::make_tuple(none, none, none, none);
}

TEST(SExpression, ReadsAtomsQuotedStringsAndNestedLists) {
    std::vector<SExpression> taken;
    EXPECT_TRUE(ReadItemsOf(R"( (top (a "b c" (d 1.5 -2) "e \"q\"" ())) )", "top", "a",
                            [&](const SExpression& item) { taken.push_back(item); }));
    ASSERT_EQ(taken.size(), 1u);
    const SExpression& a = taken.front();
    const SExpression* d = a.find("d");
    ASSERT_TRUE(d);
    EXPECT_EQ(std::make_tuple(a.head(), a.text(1), a.text(3), a.items()[4].isList()),
              std::make_tuple("a"s, "b c"s, R"(e \"q\")"s, true));
    EXPECT_EQ(std::make_tuple(d->number(1), d->number(2), d->number(0)),
              std::make_tuple(std::optional(1.5), std::optional(-2.0), std::optional<double>()));
}

// The board's footprints are read one by one, the rest passed over: only lists with the
// keyword, directly inside the first list, in order.
TEST(SExpression, HandsOnlyTheWantedItemsOfTheFirstList) {
    std::vector<std::string> taken;
    const bool whole = ReadItemsOf(
        R"x((top (x 1) (want a) b "s (" (want (c ")")) (y (want no)) ( want d )))x", "top", "want",
        [&](const SExpression& item) {
            taken.emplace_back(item.isList() && item.items()[1].isList() ? item.items()[1].text(1)
                                                                         : item.text(1));
        });
    EXPECT_TRUE(whole);
    EXPECT_EQ(taken, (std::vector<std::string>{"a", ")", "d"}));
}

std::string Nested(int depth) {
    return std::string(std::size_t(depth), '(') + std::string(std::size_t(depth), ')');
}

TEST(SExpression, RefusesWhatAWholeReadRefusesAlsoWherePassedOver) {
    const struct {
        std::string text;
        bool whole;
    } rows[] = {
        {"", false},
        {"word", false},
        {"(other (want a))", false},
        {"(\"top\" (want a))", false},
        {"(top (x (y)", false},
        {"(top (x \"open) )", false},
        {"(top (want a", false},
        {"(top (want \"open))", false},
        {"(top (want a) word", false},
        {"(top", false},
        {"(top (", false},
        {")", false},
        {"(top " + Nested(255) + ")", true},
        {"(top " + Nested(256) + ")", false},
        {"(top (want " + Nested(254) + "))", true},
        {"(top (want " + Nested(255) + "))", false},
        {"(top) trailing (", true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ReadItemsOf(row.text, "top", "want", [](const SExpression&) {}), row.whole)
            << row.text.substr(0, 40);
    }
}

TEST(KicadBoardReader, RefusesOtherFiles) {
    const auto read = ReadKicadBoard("(kicad_sch (version 20211123))");
    ASSERT_FALSE(read);
    EXPECT_EQ(std::tie(read.failure().text, read.failure().caption),
              std::make_tuple("Not a KiCad board file (.kicad_pcb)"s, "Error"s));
}

// Version 8 names the reference by a property and draws with strokes; the bottom part's items
// are stored mirrored; a paste-only pad is no pin.
TEST(KicadBoardReader, ReadsAVersionEightFootprint) {
    const auto read = ReadKicadBoard(R"((kicad_pcb (version 20240108) (generator "pcbnew")
      (footprint "Diode_SMD:D_SMA" (layer "B.Cu") (at 10 20 90)
        (property "Reference" "D7" (at 0 -2 90) (layer "B.SilkS"))
        (fp_line (start -2.2 -1.4) (end 2.2 -1.4) (stroke (width 0.1) (type solid)) (layer "B.Fab"))
        (fp_line (start -2.2 1.0) (end 2.2 1.0) (stroke (width 0.1) (type solid)) (layer "B.Fab"))
        (fp_rect (start -3 -2) (end 3 2) (layer "B.CrtYd"))
        (pad "1" smd roundrect (at -2 0.5 90) (size 1.5 1.7) (layers "B.Cu" "B.Paste" "B.Mask"))
        (pad "2" smd rect (at 2 0.5 90) (size 1.5 1.7) (layers "B.Cu" "B.Paste" "B.Mask"))
        (pad "" smd rect (at 0 0 90) (size 1 1) (layers "B.Paste")))))");
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 1u);
    const BoardFootprint& d = read->front();
    EXPECT_EQ(std::tie(d.designator, d.footprintName, d.x, d.y, d.rotation, d.bottom),
              std::make_tuple("D7"s, "Diode_SMD:D_SMA"s, 10.0, 20.0, 90.0, true));
    ASSERT_EQ(d.pads.size(), 2u); // pad 1's Y mirrored back
    EXPECT_EQ(
        std::tie(d.pads[0].name, d.pads[0].at.x, d.pads[0].at.y, d.pads[0].shape, d.pads[0].angle),
        std::make_tuple("1"s, -2.0, -0.5, PadShape::RoundRect, 0.0));
    EXPECT_EQ(Box(d.body), std::make_tuple(-2.2, -1.0, 2.2, 1.4));
    const PackageShape shape = ShapeFromFootprint(d, PartKind::Diode);
    EXPECT_EQ(std::make_tuple(shape.mark, shape.pinOne.value_or(FootprintPoint{}).x),
              std::make_tuple(PinOneMark::CathodeBar, -2.0));
    // The pad 1.5 x 1.7, turned with the footprint only: its outline keeps its own sides.
    ASSERT_EQ(shape.pads.size(), 2u);
    ASSERT_EQ(shape.pads[0].size(), 4u);
    const std::pair<FootprintPoint, FootprintPoint> corners[] = {{shape.pads[0][0], {-2.75, -1.35}},
                                                                 {shape.pads[0][2], {-1.25, 0.35}}};
    for (const auto& [corner, expected] : corners) {
        EXPECT_NEAR(corner.x, expected.x, 1e-9);
        EXPECT_NEAR(corner.y, expected.y, 1e-9);
    }
}

// A round pad is drawn as a polygon on its circle, an oval one as a stadium, turned by the pad's
// own angle.
TEST(FootprintShape, RoundAndOvalPadsKeepTheirSize) {
    BoardFootprint footprint;
    footprint.pads = {{"1", {0, 0}, 2, 2, 0, PadShape::Circle},
                      {"2", {5, 0}, 1, 3, 90, PadShape::Oval}};
    const PackageShape shape = ShapeFromFootprint(footprint, PartKind::Unknown);
    ASSERT_EQ(shape.pads.size(), 2u);
    for (const FootprintPoint& p : shape.pads[0])
        EXPECT_NEAR(std::hypot(p.x, p.y), 1.0, 1e-9);
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (const FootprintPoint& p : shape.pads[1]) {
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    }
    EXPECT_NEAR(right - left, 3.0, 1e-9); // turned a quarter: the long side now along X
    // Every corner half a unit from the segment between the semicircles' centres, (4, 0) to (6, 0).
    for (const FootprintPoint& p : shape.pads[1])
        EXPECT_NEAR(std::hypot(p.x - std::clamp(p.x, 4.0, 6.0), p.y), 0.5, 1e-9);
    EXPECT_NEAR(bottom - top, 1.0, 0.01);
    EXPECT_NEAR((left + right) / 2, 5.0, 1e-9);
}

// Version 6 names it by a text; without fabrication or courtyard drawing the pads give the
// body; an arc's extent reaches where it crosses the axes.
TEST(KicadBoardReader, ReadsAVersionSixFootprintAndItsArc) {
    const auto read = ReadKicadBoard(R"((kicad_pcb (version 20211014)
      (footprint "X" (layer "F.Cu") (at 0 0)
        (fp_text reference "Q1" (at 0 0) (layer "F.SilkS"))
        (pad "3" smd rect (at 1 0) (size 0.5 0.5) (layers "F.Cu"))
        (pad "2" smd rect (at -1 0) (size 0.5 0.5) (layers "F.Cu")))
      (footprint "Y" (layer "F.Cu") (at 5 5 180)
        (fp_text reference "Q2" (at 0 0) (layer "F.SilkS"))
        (fp_arc (start -1 0) (mid 0 -1) (end 1 0) (layer "F.Fab") (width 0.1))
        (pad "1" thru_hole circle (at 0 0 180) (size 1 1) (layers *.Cu *.Mask)))
      (footprint "Z" (layer "F.Cu") (at 0 0)
        (fp_text reference "Q3" (at 0 0) (layer "F.SilkS"))
        (fp_arc (start -1 1) (mid 0 0) (end 1 1) (layer "F.Fab") (width 0.1))
        (pad "1" smd rect (at 0 0.5) (size 0.2 0.2) (layers "F.Cu")))))");
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 3u);
    const BoardFootprint& q1 = read.value()[0];
    EXPECT_EQ(std::make_tuple(q1.designator, Box(q1.body), PinOnePad(q1)->name),
              std::make_tuple("Q1"s, std::make_tuple(-1.25, -0.25, 1.25, 0.25), "2"s));
    const BoardFootprint& q2 = read.value()[1]; // the lowest pad where there is no pad 1
    ASSERT_TRUE(q2.body);
    EXPECT_NEAR(q2.body->top, -1.0, 1e-12);
    EXPECT_NEAR(q2.body->bottom, 0.0, 1e-12);
    EXPECT_EQ(q2.pads[0].angle, 0);
    // An arc about (0, 1): from its ends up through its top at the origin.
    const BoardFootprint& q3 = read.value()[2];
    ASSERT_TRUE(q3.body);
    EXPECT_NEAR(q3.body->left, -1.0, 1e-12);
    EXPECT_NEAR(q3.body->top, 0.0, 1e-12);
    EXPECT_NEAR(q3.body->right, 1.0, 1e-12);
    EXPECT_NEAR(q3.body->bottom, 1.0, 1e-12);
}

// A fabrication drawing of one line bounds nothing: the courtyard gives the body; with no
// courtyard either and pads of no size, there is no body.
TEST(KicadBoardReader, PassesOverExtentsWithoutArea) {
    const auto read = ReadKicadBoard(R"((kicad_pcb (version 20221018)
      (footprint "X" (layer "F.Cu") (at 0 0) (property "Reference" "U1")
        (fp_line (start -2 0) (end 2 0) (layer "F.Fab"))
        (fp_rect (start -3 -1) (end 3 1) (layer "F.CrtYd")))
      (footprint "Y" (layer "F.Cu") (at 0 0) (property "Reference" "U2")
        (fp_line (start 0 -2) (end 0 2) (layer "F.Fab"))
        (pad "1" smd rect (at 1 0) (size 0 0) (layers "F.Cu")))))");
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ(std::make_tuple(Box(read.value()[0].body), read.value()[1].body.has_value()),
              std::make_tuple(std::make_tuple(-3.0, -1.0, 3.0, 1.0), false));
}

// A filled polygon bounds the body by its points alone; each pad shape word is told apart, and a
// word the reader does not know is a custom pad. A pad on no layer is no pin.
TEST(KicadBoardReader, ReadsPolygonBodiesAndEveryPadShape) {
    const auto read = ReadKicadBoard(R"((kicad_pcb (version 20240108)
      (footprint "X" (layer "F.Cu") (at 0 0) (property "Reference" "U1")
        (fp_poly (pts (xy -1 -2) (xy 3 -2) (xy 3 2) (xy -1 2)) (layer "F.Fab"))
        (pad "1" smd rect (at 0 0) (size 1 1) (layers "F.Cu"))
        (pad "2" smd roundrect (at 0 0) (size 1 1) (layers "F.Cu"))
        (pad "3" smd circle (at 0 0) (size 1 1) (layers "F.Cu"))
        (pad "4" smd oval (at 0 0) (size 1 1) (layers "F.Cu"))
        (pad "5" smd trapezoid (at 0 0) (size 1 1) (layers "F.Cu"))
        (pad "6" smd custom (at 0 0) (size 1 1) (layers "F.Cu"))
        (pad "7" smd hexagon (at 0 0) (size 1 1) (layers "F.Cu"))
        (pad "8" smd rect (at 0 0) (size 1 1)))))");
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 1u);
    const BoardFootprint& u = read->front();
    EXPECT_EQ(Box(u.body), std::make_tuple(-1.0, -2.0, 3.0, 2.0));
    std::vector<PadShape> shapes;
    for (const BoardPad& pad : u.pads)
        shapes.push_back(pad.shape);
    EXPECT_EQ(shapes, (std::vector<PadShape>{PadShape::Rect, PadShape::RoundRect, PadShape::Circle,
                                             PadShape::Oval, PadShape::Trapezoid, PadShape::Custom,
                                             PadShape::Custom}));
}

// A footprint placed at no position is passed over; the others are read.
TEST(KicadBoardReader, PassesOverAFootprintWithoutAPosition) {
    for (const char* at : {"(at x 5)", "(at 5 x)", "(at 5)"}) {
        const auto read = ReadKicadBoard(std::string("(kicad_pcb (version 20240108)"
                                                     "(footprint \"X\" (layer \"F.Cu\") ") +
                                         at +
                                         " (property \"Reference\" \"U1\"))"
                                         "(footprint \"Y\" (layer \"F.Cu\") (at 1 2)"
                                         " (property \"Reference\" \"U2\")))");
        ASSERT_TRUE(read) << at;
        ASSERT_EQ(read->size(), 1u) << at;
        EXPECT_EQ(read->front().designator, "U2") << at;
    }
}

// The box lists 30 parts at most and counts the rest.
TEST(BoardFileMessages, ListThirtyPartsAndCountTheRest) {
    const auto lines = [](int count) {
        std::vector<std::string> parts;
        for (int i = 1; i <= count; ++i)
            parts.push_back("R" + std::to_string(i));
        return parts;
    };
    const struct {
        int parts;
        const char* last;
    } rows[] = {{30, "\nR30"}, {31, "\nR30\nand 1 more"}, {45, "\nR30\nand 15 more"}};
    for (const auto& row : rows) {
        const std::string text = PositionsDifferBox(lines(row.parts)).text;
        const std::string last = row.last;
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), last.size())), last) << row.parts;
        EXPECT_EQ(text.find("\nR31"), std::string::npos) << row.parts;
    }
}

TEST(BoardFileBeside, SharesThePlacementFilesName) {
    EXPECT_EQ(BoardFileBeside("/a/board.csv"), "/a/board.kicad_pcb");
    EXPECT_EQ(BoardFileBeside("/a/board-top.pos"), "/a/board-top.kicad_pcb");
    EXPECT_EQ(BoardFileBeside("/a.b/board"), "/a.b/board.kicad_pcb");
    EXPECT_EQ(BoardFileBeside("board.v2.txt"), "board.v2.kicad_pcb");
}

struct MarkRow {
    std::vector<const char*> pads;
    PartKind kind;
    PinOneMark mark;
    const char* markedPad;
};

class FootprintMark : public testing::TestWithParam<MarkRow> {};

TEST_P(FootprintMark, FollowsThePadNamesAndTheKind) {
    BoardFootprint footprint;
    double x = 0;
    for (const char* name : GetParam().pads)
        footprint.pads.push_back({name, {x++, 0}, 1, 1, 0, PadShape::Rect});
    const PackageShape shape = ShapeFromFootprint(footprint, GetParam().kind);
    EXPECT_EQ(shape.mark, GetParam().mark);
    if (GetParam().markedPad) {
        ASSERT_TRUE(shape.pinOne);
        EXPECT_EQ(footprint.pads[std::size_t(shape.pinOne->x)].name, GetParam().markedPad);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pads, FootprintMark,
    testing::Values(MarkRow{{"A", "K"}, PartKind::Unknown, PinOneMark::CathodeBar, "K"},
                    MarkRow{{"-", "+"}, PartKind::Capacitor, PinOneMark::Plus, "+"},
                    MarkRow{{"2", "1"}, PartKind::Diode, PinOneMark::CathodeBar, "1"},
                    MarkRow{{"1", "2"}, PartKind::PolarisedCapacitor, PinOneMark::Plus, "1"},
                    MarkRow{{"1", "2"}, PartKind::Resistor, PinOneMark::None, nullptr},
                    MarkRow{{"1"}, PartKind::Connector, PinOneMark::None, nullptr},
                    MarkRow{{"B1", "A1", "A2"}, PartKind::Unknown, PinOneMark::Dot, "A1"},
                    MarkRow{{"", "3", "2", "4"}, PartKind::Unknown, PinOneMark::Dot, "2"},
                    MarkRow{{"1", "1", "2", "2"}, PartKind::Switch, PinOneMark::None, nullptr},
                    MarkRow{{"GK", "GA", "RA", "RK"}, PartKind::Led, PinOneMark::Dot, "GK"}));

std::map<std::string, BoardFootprint> ByDesignator(const std::vector<BoardFootprint>& all) {
    std::map<std::string, BoardFootprint> map;
    for (const BoardFootprint& footprint : all)
        map.emplace(footprint.designator, footprint);
    return map;
}

// The photo's own map: the scanned picture's per-axis map through two parts' exact pixels,
// then the projective map that made the photo from it.
ProjectiveMap PhotoMap(const Truth& scanned, bool bottom, const std::array<double, 8>& h) {
    const std::vector<const TruthPart*> face = FaceOf(scanned, bottom);
    const TruthPart& a = *face.front();
    const TruthPart& b = *face.back();
    const double sx = (b.centre.x - a.centre.x) / (b.record.x - a.record.x);
    const double sy = (b.centre.y - a.centre.y) / (b.record.y - a.record.y);
    const double ox = a.centre.x - sx * a.record.x;
    const double oy = a.centre.y - sy * a.record.y;
    // h times the scanned map [sx 0 ox; 0 sy oy; 0 0 1].
    return ProjectiveMap{{h[0] * sx, h[1] * sy, h[0] * ox + h[1] * oy + h[2], h[3] * sx, h[4] * sy,
                          h[3] * ox + h[4] * oy + h[5], h[6] * sx, h[7] * sy,
                          h[6] * ox + h[7] * oy + 1.0}};
}

std::array<double, 8> Homography() {
    QFile file(QStringLiteral(DEMO_DIR "/coldfire-phone.truth.json"));
    file.open(QIODevice::ReadOnly);
    const QJsonArray h = QJsonDocument::fromJson(file.readAll())["homography"].toArray();
    std::array<double, 8> coefficients{};
    for (std::size_t i = 0; i < coefficients.size(); ++i)
        coefficients[i] = h[int(i)].toDouble();
    return coefficients;
}

// Every part of the demo board outlined from its board file, pin 1 and corners within 0.2 mm
// of the design tool's own: on both scanned faces calibrated with two points, and on the photos
// through the map that made them, so that no fit's own miss is counted.
TEST(KicadBoardReader, DemoBoardPartByPartAgainstItsTruth) {
    const auto read = ReadKicadBoardFile(DEMO_DIR "/coldfire.kicad_pcb");
    ASSERT_TRUE(read);
    const std::map<std::string, BoardFootprint> footprints = ByDesignator(read.value());
    const Truth scanned = ReadTruth("coldfire.truth.json");
    for (const char* truthFile : {"coldfire.truth.json", "coldfire-phone.truth.json"}) {
        const Truth truth = ReadTruth(truthFile);
        const bool seenFromBelow = BottomSeenFromBelow(TableOf(truth));
        int outlined = 0;
        for (const bool bottom : {false, true}) {
            const std::vector<const TruthPart*> face = FaceOf(truth, bottom);
            const bool phone = std::string(truthFile).find("phone") != std::string::npos;
            const ProjectiveMap map = phone ? PhotoMap(scanned, bottom, Homography())
                                            : *BoardToPictureMap(PairCalibration(face));
            const double tolerance = 0.2 * truth.pixelsPerMm;
            for (const TruthPart* part : face) {
                const auto found = footprints.find(part->record.designator);
                ASSERT_NE(found, footprints.end()) << part->record.designator;
                const PackageShape shape = ShapeFromFootprint(
                    found->second,
                    ShapeFromPackage(part->record.package, part->record.designator).kind);
                const PictureOutline outline =
                    OutlineOnPicture(shape, PlacementOf(part->record, seenFromBelow), map);
                ASSERT_TRUE(outline.corners) << part->record.designator;
                ++outlined;
                for (std::size_t i = 0; i < 4; ++i)
                    EXPECT_LT(std::hypot((*outline.corners)[i].x - part->body[i].x,
                                         (*outline.corners)[i].y - part->body[i].y),
                              tolerance)
                        << part->record.designator << " corner " << i << " " << truthFile;
                if (outline.mark != PinOneMark::None) {
                    ASSERT_TRUE(part->pinOne) << part->record.designator;
                    EXPECT_LT(std::hypot(outline.pinOne->x - part->pinOne->x,
                                         outline.pinOne->y - part->pinOne->y),
                              tolerance)
                        << part->record.designator << " pin 1 " << truthFile;
                }
            }
        }
        EXPECT_EQ(outlined, 160) << truthFile;
    }
}

} // namespace
