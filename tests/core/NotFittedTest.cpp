#include "SessionRig.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace kavelto {
namespace {

const std::string kHeader = "Ref,Val,Package,PosX,PosY,Rot,Side\n";

// Q1 to Q6 sorted by prefix and number: items 1, 1, 1, 2, 3, 4.
const std::string kKinds =
    kHeader + "Q1,BC847,SOT23,1,1,0,top\nQ2,BC847,SOT23,2,1,0,top\nQ3,BC847,SOT23,3,1,0,top\n"
              "Q4,BC857,SOT23,4,1,0,top\nQ5,LM358,SOIC8,5,1,0,top\nQ6,BC847,SOT23,6,1,0,top\n";

// Q2 and Q3 not fitted; part numbers for the rest.
const std::string kBom = "Reference,Value,MPN,DNP\n\"Q1,Q6\",BC847,BC847B\n\"Q2,Q3\",BC847,,DNP\n"
                         "Q4,BC857,BC857C\nQ5,LM358,LM358DR\n";

std::string Said(const SessionUpdate& u) {
    return u.message ? u.message->text : "";
}

// A session on kKinds in prefix order with kBom loaded, driven as the user drives the window.
struct BomRig : SessionRig {
    BomRig() {
        loadText(kKinds);
        session.changeSort(2);
        session.loadBom(bom.path());
    }
    std::vector<int> notFitted() const { return session.bom().notFittedParts(); }
    std::vector<int> placed() const { return session.keptState().placed; }

    TempFile bom{kBom};
};

// From a row clicked, one command: the row selected afterwards, the placed parts and the parts
// left off (by table position), and what the box says.
TEST(NotFitted, SessionRules) {
    using Steps = std::function<SessionUpdate(BomRig&)>;
    const struct {
        const char* name;
        Steps steps;
        int row;
        std::vector<int> placed, notFitted;
        std::string said;
    } rows[] = {
        {"Enter passes over the parts left off",
         [](BomRig& r) { return r.enter(0); },
         3,
         {0},
         {1, 2},
         "New part !\n\nItem# 2\nBC857, SOT23\nMPN BC857C"},
        {"Delete passes over them",
         [](BomRig& r) {
             r.click(0);
             return r.session.nextUnplaced();
         },
         3,
         {},
         {1, 2},
         ""},
        {"Enter on one says why",
         [](BomRig& r) { return r.enter(1); },
         1,
         {},
         {1, 2},
         "Q2 stays off the board: the BOM marks it not fitted."},
        {"and says it once",
         [](BomRig& r) {
             r.enter(1);
             return r.enter(1);
         },
         1,
         {},
         {1, 2},
         ""},
        {"toggled back to fitted it is placed",
         [](BomRig& r) {
             r.click(1);
             r.session.toggleNotFitted();
             return r.enter(1);
         },
         3,
         {1},
         {2},
         "New part !\n\nItem# 2\nBC857, SOT23\nMPN BC857C"},
        {"toggled by hand",
         [](BomRig& r) {
             r.click(4);
             r.session.toggleNotFitted();
             return r.enter(4);
         },
         4,
         {},
         {1, 2, 4},
         "Q5 stays off the board: it was marked not fitted by hand."},
        {"a placed part is never counted",
         [](BomRig& r) {
             r.enter(4);
             r.click(4);
             return r.session.toggleNotFitted();
         },
         4,
         {4},
         {1, 2, 4},
         ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        BomRig rig;
        const SessionUpdate u = row.steps(rig);
        EXPECT_EQ(
            std::make_tuple(rig.session.selection().row, rig.placed(), rig.notFitted(), Said(u)),
            std::make_tuple(std::optional<int>(row.row), row.placed, row.notFitted, row.said));
    }
}

TEST(NotFitted, ProgressCountsOnlyTheFittedParts) {
    BomRig rig;
    rig.enter(0);
    rig.enter(4);
    rig.click(4);
    rig.session.toggleNotFitted(); // placed, then left off
    EXPECT_EQ(std::make_tuple(rig.session.placedOnFace(), rig.session.fittedOnFace()),
              std::make_tuple(1, 3));
}

TEST(NotFitted, LoadingTellsWhatDisagrees) {
    SessionRig rig;
    rig.loadText(kKinds);
    const TempFile bom("Designator,Qty\n\"Q1,Q2\",3\nQ3\nQ4\nQ5\nQ9\n");
    EXPECT_EQ(Said(rig.session.loadBom(bom.path())),
              "In the BOM but not in the placement file: Q9; in the placement file but not in the "
              "BOM: Q6.\n\nQuantity not the number of designators: line 2 (quantity 3, 2 "
              "designators).");
    // The placement file loaded again is joined again; the window shows the notice.
    rig.loadText(kHeader + "Q1,BC847,SOT23,1,1,0,top\n");
    EXPECT_EQ(rig.session.bomMismatchNotice()->text,
              "In the BOM but not in the placement file: Q2, Q3, Q4, Q5, Q9; in the placement "
              "file but not in the BOM: none.\n\nQuantity not the number of designators: line 2 "
              "(quantity 3, 2 designators).");
    EXPECT_EQ(Said(rig.session.loadBom(std::string("/nonexistent.csv"))), "Error opening BOM file");
    EXPECT_EQ(rig.session.bom().bomPath(), bom.path()); // the one before stays
}

TEST(NotFitted, ThePlacementFilesOwnColumn) {
    SessionRig rig;
    rig.loadText("Ref,Val,Package,PosX,PosY,Rot,Side,DNP\nR1,10k,0603,1,1,0,top,DNP\n"
                 "R2,NC,0603,2,2,0,top,\nR3,10k,0603,2,2,0,top,x\n");
    rig.session.changeSort(2);
    EXPECT_EQ(rig.session.bom().notFittedParts(), (std::vector<int>{0, 2}));
    EXPECT_EQ(Said(rig.enter(0)),
              "R1 stays off the board: the placement file marks it not fitted.");
    EXPECT_FALSE(rig.session.bomMismatchNotice()); // no BOM, nothing to disagree
}

// The BOM and the marks by hand come back with the session; the BOM is read again.
TEST(NotFitted, KeptAndRestored) {
    BomRig first;
    first.click(4);
    first.session.toggleNotFitted(); // Q5 by hand
    first.click(1);
    first.session.toggleNotFitted(); // Q2 fitted again
    const KeptSession kept = ParseKeptSession(KeptSessionText(first.session.keptState())).value();
    EXPECT_EQ(std::make_tuple(kept.bomPath, kept.notFitted, kept.faceCount),
              std::make_tuple(std::optional<std::string>(first.bom.path()),
                              std::optional<std::vector<int>>({2, 4}), 4));
    SessionRig second;
    second.loadText(kKinds);
    second.session.restore(kept);
    EXPECT_EQ(
        std::make_tuple(second.session.bom().notFittedParts(), second.session.bomLineAtRow(0)->mpn,
                        second.session.bom().notFittedSource(4)),
        std::make_tuple(std::vector<int>{2, 4}, std::string("BC847B"), NotFittedSource::ByHand));
    // A kept session of a version without them leaves the placement file's marks.
    KeptSession older = kept;
    older.bomPath.reset();
    older.notFitted.reset();
    SessionRig third;
    third.loadText(kKinds);
    third.session.restore(older);
    EXPECT_TRUE(third.session.bom().notFittedParts().empty());
}

} // namespace
} // namespace kavelto
