#include "session/SessionTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kavelto {
namespace {

// The designators R1 to Rn.
std::vector<std::string> Designators(int n) {
    std::vector<std::string> names;
    for (int i = 1; i <= n; ++i)
        names.push_back("R" + std::to_string(i));
    return names;
}

constexpr char kRestored[] = "The marks were restored by designator.";
constexpr char kGone[] = "\n\nNo longer in the file, not restored: ";
constexpr char kChanged[] = "\n\nPlaced under another value or package, to be looked at: ";
constexpr char kNotAll[] = "Not every part the progress file lists as placed was marked placed.";
constexpr char kNotFound[] = "\n\nNot found on their face in this placement file: ";
constexpr char kNotFitted[] = "\n\nNot fitted, left unplaced: ";

// The notices list 30 names at most, comma-separated, and count the rest; each list has its own
// paragraph, and only lists with names are shown.
TEST(SessionTexts, ListThirtyNamesAndCountTheRest) {
    const std::string thirty = "R1, R2, R3, R4, R5, R6, R7, R8, R9, R10, R11, R12, R13, R14, R15, "
                               "R16, R17, R18, R19, R20, R21, R22, R23, R24, R25, R26, R27, R28, "
                               "R29, R30";
    const struct {
        const char* name;
        std::string text;
        std::string expected;
    } rows[] = {
        {"one gone", MarksByDesignatorsNotice(Designators(1), {}).text,
         kRestored + std::string(kGone) + "R1."},
        {"two changed", MarksByDesignatorsNotice({}, Designators(2)).text,
         kRestored + std::string(kChanged) + "R1, R2."},
        {"thirty gone", MarksByDesignatorsNotice(Designators(30), {}).text,
         kRestored + std::string(kGone) + thirty + "."},
        {"thirty-two gone and one changed",
         MarksByDesignatorsNotice(Designators(32), Designators(1)).text,
         kRestored + std::string(kGone) + thirty + " and 2 more." + kChanged + "R1."},
        {"one not found", ProgressNotAllMarked(Designators(1), {}).text,
         kNotAll + std::string(kNotFound) + "R1."},
        {"thirty-one not fitted", ProgressNotAllMarked({}, Designators(31)).text,
         kNotAll + std::string(kNotFitted) + thirty + " and 1 more."},
        {"one of each", ProgressNotAllMarked(Designators(1), {"C1"}).text,
         kNotAll + std::string(kNotFound) + "R1." + kNotFitted + "C1."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.text, row.expected) << row.name;
}

// The status texts and a new kind's notice, its MPN only when known.
TEST(SessionTexts, SayWhatWasLoadedAndWhatComesNext) {
    EXPECT_EQ(PkpText(0), "no parts found");
    EXPECT_EQ(PkpText(1), "1 parts loaded");
    EXPECT_EQ(PartsPerFaceText(146), "146 parts/face");
    EXPECT_EQ(NewPartNotice(3, "10k", "0603").text, "New part !\n\nItem# 3\n10k, 0603");
    EXPECT_EQ(NewPartNotice(3, "10k", "0603", "RC0603").text,
              "New part !\n\nItem# 3\n10k, 0603\nMPN RC0603");
}

} // namespace
} // namespace kavelto
