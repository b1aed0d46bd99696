#include "SessionRig.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kavelto {
namespace {

// Q2 and Q3 not fitted; part numbers for the rest.
const std::string kBom = "Reference,Value,MPN,DNP\n\"Q1,Q6\",BC847,BC847B\n\"Q2,Q3\",BC847,,DNP\n"
                         "Q4,BC857,BC857C\nQ5,LM358,LM358DR\n";

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

// What the user does on a row of the list: Enter, or a click and then the toggle or Delete.
enum class Act { Enter, Toggle, NextUnplaced };

// "row R | placed | left off | said": the row selected, the placed parts and the parts left off
// (by table position), and what the box says.
std::string Outcome(const BomRig& rig, const SessionUpdate& u) {
    const auto list = [](const std::vector<int>& parts) {
        std::string text;
        for (const int part : parts)
            text += (text.empty() ? "" : " ") + std::to_string(part);
        return text;
    };
    return "row " + std::to_string(rig.session.selection().row.value_or(-1)) + " | " +
           list(rig.placed()) + " | " + list(rig.notFitted()) + " | " + Said(u);
}

// From a fresh rig, the acts on their rows in turn, and the outcome of the last.
TEST(NotFitted, SessionRules) {
    const std::string kItem2 = "New part !\n\nItem# 2\nBC857, SOT23\nMPN BC857C";
    const struct {
        const char* name;
        std::vector<std::pair<Act, int>> acts;
        std::string outcome;
    } rows[] = {
        {"Enter passes over the parts left off", {{Act::Enter, 0}}, "row 3 | 0 | 1 2 | " + kItem2},
        {"Delete passes over them", {{Act::NextUnplaced, 0}}, "row 3 |  | 1 2 | "},
        {"Enter on one says why",
         {{Act::Enter, 1}},
         "row 1 |  | 1 2 | Q2 stays off the board: the BOM marks it not fitted."},
        {"and says it once", {{Act::Enter, 1}, {Act::Enter, 1}}, "row 1 |  | 1 2 | "},
        {"and again once its mark changed",
         {{Act::Enter, 1}, {Act::Toggle, 1}, {Act::Toggle, 1}, {Act::Enter, 1}},
         "row 1 |  | 1 2 | Q2 stays off the board: it was marked not fitted by hand."},
        {"toggled back to fitted it is placed",
         {{Act::Toggle, 1}, {Act::Enter, 1}},
         "row 3 | 1 | 2 | " + kItem2},
        {"toggled by hand",
         {{Act::Toggle, 4}, {Act::Enter, 4}},
         "row 4 |  | 1 2 4 | Q5 stays off the board: it was marked not fitted by hand."},
        {"a placed part is never counted",
         {{Act::Enter, 4}, {Act::Toggle, 4}},
         "row 4 | 4 | 1 2 4 | "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        BomRig rig;
        SessionUpdate u;
        for (const auto& [act, at] : row.acts) {
            u = act == Act::Enter ? rig.enter(at) : rig.click(at);
            if (act == Act::Toggle)
                u = rig.session.toggleNotFitted();
            if (act == Act::NextUnplaced)
                u = rig.session.nextUnplaced();
        }
        EXPECT_EQ(Outcome(rig, u), row.outcome);
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
