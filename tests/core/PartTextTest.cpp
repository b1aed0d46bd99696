#include "parts/PartText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace kavelto {
namespace {

// Texts either side of every boundary the storage has: empty, short, the longest kept in the
// object and one byte more, the longest kept at all and beyond it.
const std::size_t kLengths[] = {0, 1, 15, 16, 29, 30, 31, 32, 100, 254, 255, 256, 1000};

// A text of length bytes, each byte telling its position, so that a cut or a shift shows.
std::string Sample(std::size_t length, char first = 'a') {
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += static_cast<char>(first + i % 26);
    return text;
}

// What a record keeps of text: its first 255 bytes.
std::string Kept(const std::string& text) {
    return text.substr(0, 255);
}

void ExpectHolds(const PartText& text, const std::string& expected, std::size_t length) {
    EXPECT_EQ(std::string(text), expected) << "length " << length;
    EXPECT_EQ(text.size(), expected.size()) << "length " << length;
    EXPECT_EQ(text.c_str()[text.size()], '\0') << "length " << length;
    EXPECT_EQ(text.empty(), expected.empty()) << "length " << length;
}

TEST(PartTextTest, KeepsEachLengthUpToTheCut) {
    for (const std::size_t length : kLengths) {
        const std::string source = Sample(length);
        ExpectHolds(PartText(std::string_view(source)), Kept(source), length);
        PartText assigned = "x";
        assigned = std::string_view(source);
        ExpectHolds(assigned, Kept(source), length);
    }
}

TEST(PartTextTest, CopiesAndMovesKeepTheTextAndLeaveTheSourceSound) {
    for (const std::size_t length : kLengths) {
        const std::string expected = Kept(Sample(length));
        const PartText original{std::string_view(expected)};
        PartText copy = original;
        ExpectHolds(copy, expected, length);
        ExpectHolds(original, expected, length);
        PartText moved = std::move(copy);
        ExpectHolds(moved, expected, length);
        copy = "reused"; // a moved-from text takes a new one
        ExpectHolds(copy, "reused", length);
    }
}

// Every pair of storage kinds over each other, by copy and by move: the old text goes, the new
// one stays whole.
TEST(PartTextTest, AssignsOverATextOfEitherKind) {
    for (const std::size_t before : kLengths) {
        for (const std::size_t after : {std::size_t(3), std::size_t(31), std::size_t(200)}) {
            const std::string expected = Sample(after, 'A');
            PartText target{std::string_view(Sample(before))};
            const PartText source{std::string_view(expected)};
            target = source;
            ExpectHolds(target, expected, before);
            PartText movedInto{std::string_view(Sample(before))};
            movedInto = PartText(std::string_view(expected));
            ExpectHolds(movedInto, expected, before);
        }
    }
}

TEST(PartTextTest, TakesItsOwnTextOrAPartOfIt) {
    for (const std::size_t length : kLengths) {
        const std::string expected = Kept(Sample(length));
        PartText text{std::string_view(expected)};
        const PartText& same = text;
        text = same;
        ExpectHolds(text, expected, length);
        text = text.view().substr(text.size() / 2);
        ExpectHolds(text, expected.substr(expected.size() / 2), length);
    }
}

TEST(PartTextTest, ComparesByBytes) {
    const PartText a = "C_0805_2012Metric_with_a_long_tail";
    EXPECT_TRUE(a == "C_0805_2012Metric_with_a_long_tail");
    EXPECT_TRUE(a == std::string("C_0805_2012Metric_with_a_long_tail"));
    EXPECT_TRUE(a != "C_0805_2012Metric_with_a_long_taiL");
    EXPECT_TRUE(PartText("R1") != PartText("R1 "));
    EXPECT_TRUE(PartText("") == PartText());
}

} // namespace
} // namespace kavelto
