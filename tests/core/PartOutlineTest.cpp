// Footprint points onto the board at every quarter turn and on both faces, worked by hand from
// the design tool's convention: a top part turned anticlockwise by its rotation, a bottom part
// mirrored top to bottom and then turned, and X negated where the file sees the bottom from
// below.

#include "packages/PartOutline.h"
#include "packages/PackageParser.h"

#include <gtest/gtest.h>

#include <tuple>

#include <cmath>

using namespace kavelto;

namespace {

struct TurnRow {
    double rotation;
    bool bottom;
    bool seenFromBelow;
    FootprintPoint point;
    PlanePoint offset; // from the part's origin, board Y upwards
};

// A footprint point one millimetre right of the origin and one below it (footprint Y grows
// downwards).
const TurnRow kTurns[] = {
    {0, false, false, {1, 0}, {1, 0}},    {0, false, false, {0, 1}, {0, -1}},
    {90, false, false, {1, 0}, {0, 1}},   {90, false, false, {0, 1}, {1, 0}},
    {180, false, false, {1, 0}, {-1, 0}}, {-90, false, false, {1, 0}, {0, -1}},
    {270, false, false, {0, 1}, {-1, 0}}, {0, true, false, {1, 0}, {1, 0}},
    {0, true, false, {0, 1}, {0, 1}},     {90, true, false, {1, 0}, {0, 1}},
    {90, true, false, {0, 1}, {-1, 0}},   {0, true, true, {1, 0}, {-1, 0}},
    {0, true, true, {0, 1}, {0, 1}},      {90, true, true, {1, 0}, {0, 1}},
    {90, true, true, {0, 1}, {1, 0}},     {180, true, true, {1, 0}, {1, 0}},
    {-90, true, true, {0, 1}, {-1, 0}},   {45, false, false, {1, 0}, {0.70711, 0.70711}},
};

class FootprintTurn : public testing::TestWithParam<TurnRow> {};

TEST_P(FootprintTurn, LandsWhereTheDesignToolPutsIt) {
    const TurnRow& row = GetParam();
    const PlanePoint at =
        FootprintToBoard(row.point, {10.0, 20.0, row.rotation, row.bottom, row.seenFromBelow});
    EXPECT_NEAR(at.x, 10.0 + row.offset.x, 1e-5);
    EXPECT_NEAR(at.y, 20.0 + row.offset.y, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Turns, FootprintTurn, testing::ValuesIn(kTurns));

// Two pixels a millimetre, picture rows downwards: board (x, y) is pixel (2x, 100 - 2y).
const ProjectiveMap kPicture{{2, 0, 0, 0, -2, 100, 0, 0, 1}};
// A map with a horizon: board (x, y) lands on (x, y) / (x - 5), in front only where x > 5.
const ProjectiveMap kHorizonAt5{{1, 0, 0, 0, 1, 0, 1, 0, -5}};

TEST(OutlineOnPicture, CornersStartTopLeftAtRotationZeroAndGoClockwise) {
    const PackageShape shape = ShapeFromPackage("R_1206_3216Metric", "R1");
    const PictureOutline outline = OutlineOnPicture(shape, {10, 10, 0, false, false}, kPicture);
    ASSERT_TRUE(outline.corners);
    const std::array<PlanePoint, 4> expected = {
        PlanePoint{16.8, 78.4}, {23.2, 78.4}, {23.2, 81.6}, {16.8, 81.6}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR((*outline.corners)[i].x, expected[i].x, 1e-9) << i;
        EXPECT_NEAR((*outline.corners)[i].y, expected[i].y, 1e-9) << i;
    }
    EXPECT_EQ(outline.mark, PinOneMark::None);
}

// Turned a quarter anticlockwise, the left end of a diode points down the picture.
TEST(OutlineOnPicture, CathodeBarCrossesTheBodyAtPinOne) {
    const PackageShape shape = ShapeFromPackage("D_SMA", "D1");
    const PictureOutline outline = OutlineOnPicture(shape, {10, 10, 90, false, false}, kPicture);
    ASSERT_EQ(outline.mark, PinOneMark::CathodeBar);
    ASSERT_TRUE(outline.pinOne);
    EXPECT_NEAR(outline.pinOne->x, 20.0, 1e-9);
    EXPECT_GT(outline.pinOne->y, 80.0 + 2.0);
    EXPECT_NEAR(outline.bar[0].y, outline.pinOne->y, 1e-9);
    EXPECT_NEAR(outline.bar[1].y, outline.pinOne->y, 1e-9);
    EXPECT_NEAR(std::fabs(outline.bar[0].x - outline.bar[1].x), 2 * 2.6 * 0.8, 1e-9);
}

// A body off the footprint's origin and pin 1 off its axis, as a board file may give them: the
// bar still stands square to the line from pin 1 to the body's middle.
TEST(OutlineOnPicture, CathodeBarStandsSquareToTheBodysMiddle) {
    PackageShape shape = ShapeFromPackage("D_SMA", "D1");
    shape.body = BodyRect{0, -1, 4, 1};
    shape.pinOne = FootprintPoint{1, 0.5};
    const PictureOutline outline = OutlineOnPicture(shape, {10, 10, 0, false, false}, kPicture);
    ASSERT_TRUE(outline.corners && outline.pinOne);
    PlanePoint middle{0, 0};
    for (const PlanePoint& corner : *outline.corners)
        middle = {middle.x + corner.x / 4, middle.y + corner.y / 4};
    const double barX = outline.bar[1].x - outline.bar[0].x;
    const double barY = outline.bar[1].y - outline.bar[0].y;
    const double toMiddleX = middle.x - outline.pinOne->x;
    const double toMiddleY = middle.y - outline.pinOne->y;
    EXPECT_NEAR((barX * toMiddleX + barY * toMiddleY) /
                    (std::hypot(barX, barY) * std::hypot(toMiddleX, toMiddleY)),
                0.0, 1e-9);
}

// Without a body for the bar to cross, the cathode is still shown, by a dot at pin 1.
TEST(OutlineOnPicture, ACathodeWithoutABodyIsADot) {
    PackageShape shape = ShapeFromPackage("D_SMA", "D1");
    shape.body.reset();
    const PictureOutline outline = OutlineOnPicture(shape, {10, 10, 0, false, false}, kPicture);
    EXPECT_EQ(std::make_tuple(outline.mark, outline.pinOne.has_value()),
              std::make_tuple(PinOneMark::Dot, true));
}

TEST(OutlineOnPicture, AnUnknownPackageHasNeitherOutlineNorMark) {
    const PictureOutline outline =
        OutlineOnPicture(ShapeFromPackage("XYZ", "U1"), {10, 10, 0, false, false}, kPicture);
    EXPECT_FALSE(outline.corners);
    EXPECT_FALSE(outline.pinOne);
    EXPECT_EQ(outline.mark, PinOneMark::None);
}

TEST(OutlineOnPicture, APointBeyondTheMapsHorizonGivesNoOutline) {
    const PictureOutline outline = OutlineOnPicture(
        ShapeFromPackage("SOIC-8_3.9x4.9mm_P1.27mm", "U1"), {5, 0, 0, false, false}, kHorizonAt5);
    EXPECT_FALSE(outline.corners);
    EXPECT_FALSE(outline.pinOne);
}

// A pad is drawn whole or not at all: one with a corner beyond the horizon is left out. The part
// sits at (10, 0), top face.
TEST(OutlineOnPicture, DrawsOnlyThePadsWhollyOnThePicture) {
    PackageShape shape;
    shape.pads = {{{-6, 0}, {-4, 0}}, {{1, 1}, {2, 0}}}; // board x 4 and 6; 11 and 12
    const PictureOutline outline = OutlineOnPicture(shape, {10, 0, 0, false, false}, kHorizonAt5);
    ASSERT_EQ(outline.pads.size(), 1u);
    ASSERT_EQ(outline.pads[0].size(), 2u);
    const PlanePoint expected[] = {{11.0 / 6, -1.0 / 6}, {12.0 / 7, 0}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(outline.pads[0][i].x, expected[i].x, 1e-9) << i;
        EXPECT_NEAR(outline.pads[0][i].y, expected[i].y, 1e-9) << i;
    }
}

PartRecord Part(float x, char layer) {
    PartRecord part;
    part.x = x;
    part.layer = layer;
    return part;
}

struct FaceSidesRow {
    std::vector<PartRecord> parts;
    bool seenFromBelow;
};

class BottomSides : public testing::TestWithParam<FaceSidesRow> {};

TEST_P(BottomSides, TellWhetherTheFileSeesTheBottomFromBelow) {
    PartTable table;
    for (const PartRecord& part : GetParam().parts)
        table.append(part);
    EXPECT_EQ(BottomSeenFromBelow(table), GetParam().seenFromBelow);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BottomSides,
    testing::Values(FaceSidesRow{{Part(100, 't'), Part(-120, 'b'), Part(-90, 'B')}, true},
                    FaceSidesRow{{Part(100, 't'), Part(120, 'b')}, false},
                    FaceSidesRow{{Part(-100, 't'), Part(120, 'b')}, true},
                    FaceSidesRow{{Part(-120, 'b')}, true}, FaceSidesRow{{Part(120, 'b')}, false},
                    FaceSidesRow{{}, false}));

} // namespace
