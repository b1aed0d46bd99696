#include "SessionRig.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace kavelto {
namespace {

// R1, R2 (left off the board), R3 on the top face and C1 on the bottom, in table order.
const std::string kBoard = "Ref,Val,Package,PosX,PosY,Rot,Side,DNP\nR1,1k,0603,1,1,0,top,\n"
                           "R2,1k,0603,2,2,0,top,DNP\nR3,1k,0603,3,3,0,top,\n"
                           "C1,1u,0805,4,4,0,bottom,\n";

constexpr const char* kNotAll =
    "Not every part the progress file lists as placed was marked placed.";

ProgressMark Top(const char* designator, std::int64_t at = 0) {
    return {designator, Face::Top, at};
}

// Each rule of marking the parts a progress file lists as placed: the parts placed afterwards
// (by table position), when each was placed, and the box.
TEST(ProgressImport, MarksThePartsListedByDesignatorAndFace) {
    const struct {
        const char* name;
        std::vector<ProgressMark> marks;
        std::vector<int> placed;
        std::vector<std::int64_t> placedAt;
        std::string said;
    } rows[] = {
        {"by designator and face, with their times",
         {Top("R3", 1000), {"C1", Face::Bottom, 2000}},
         {2, 3},
         {0, 0, 1000, 2000},
         ""},
        {"a part on the other face is not found",
         {{"R1", Face::Bottom, 0}},
         {},
         {0, 0, 0, 0},
         std::string(kNotAll) + "\n\nNot found on their face in this placement file: R1."},
        {"designators gone, and a face named neither way",
         {Top("R9"), Top("R1"), {"R3", std::nullopt, 0}},
         {0},
         {0, 0, 0, 0},
         std::string(kNotAll) + "\n\nNot found on their face in this placement file: R9, R3."},
        {"a part left off the board stays unplaced",
         {Top("R2", 1000)},
         {},
         {0, 0, 0, 0},
         std::string(kNotAll) + "\n\nNot fitted, left unplaced: R2."},
        {"both in one box",
         {Top("R2"), Top("R7"), Top("R1")},
         {0},
         {0, 0, 0, 0},
         std::string(kNotAll) +
             "\n\nNot found on their face in this placement file: R7.\n\nNot fitted, left "
             "unplaced: R2."},
        {"a file with nothing placed",
         {},
         {},
         {0, 0, 0, 0},
         "The progress file lists no part as placed."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SessionRig rig;
        rig.loadText(kBoard);
        const SessionUpdate update = rig.session.markPlaced(row.marks);
        EXPECT_EQ(std::make_tuple(rig.session.keptState().placed, rig.session.placedAt()),
                  std::make_tuple(row.placed, row.placedAt));
        EXPECT_EQ(update.message ? update.message->text : "", row.said);
    }
}

// A part placed already keeps its mark and its time; only a change moves what is kept.
TEST(ProgressImport, LeavesThePartsPlacedAlready) {
    SessionRig rig;
    rig.loadText(kBoard);
    rig.enter(0); // R1, placed now
    const std::int64_t placedAt = rig.session.placedAt()[0];
    const std::uint64_t revision = rig.session.keptRevision();
    const SessionUpdate same = rig.session.markPlaced({Top("R1", 1000)});
    EXPECT_EQ(std::make_tuple(rig.session.placedAt()[0], rig.session.keptRevision(), same.repaint),
              std::make_tuple(placedAt, revision, Repaint::None));
    const SessionUpdate more = rig.session.markPlaced({Top("R1", 1000), Top("R3", 1000)});
    EXPECT_EQ(std::make_tuple(rig.session.keptState().placed, rig.session.placedAt()[0],
                              rig.session.keptRevision() > revision, more.refreshFields),
              std::make_tuple(std::vector<int>{0, 2}, placedAt, true, true));
}

} // namespace
} // namespace kavelto
