#include "keeping/KeptSession.h"
#include "KeptFields.h"
#include "TempFile.h"
#include "keeping/ContentHash.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace kavelto {
namespace {

// A kept session of four parts on a face, two placed, and one on the other face, calibrated by a
// pair on its picture.
KeptSession SmallSession() {
    KeptSession kept;
    kept.placementPath = "/boards/b.csv";
    kept.contentHash = 0x1234abcd;
    kept.savedAt = 1'800'000'000;
    kept.pcbCount = 3;
    kept.viewRotation = 90;
    kept.picture = KeptPicture{"/boards/b.jpg", 5000, 17};
    kept.calibration.state = CalState::CalibratedOk;
    kept.calibration.pairState = CalState::CalibratedOk;
    kept.calibration.point1 = {10, 20, 100, 400};
    kept.calibration.point2 = {60, 70, 600, 900};
    kept.calibration.pressedPoint2 = kept.calibration.point2;
    kept.calibratedOn = CalibratedPicture{{"/boards/b.jpg", 5000, 17}, 0xfeed};
    kept.placed = {0, 2};
    kept.marks = {{"R1", Face::Top, "1k", "0603"}, {"C\\3", Face::Bottom, "10 \tu", "0805"}};
    kept.placedOnFace = 2;
    kept.faceCount = 4;
    kept.faces = FaceProgress{2, 0, 4, 1};
    kept.selectedRow = 3;
    kept.pinOne = {{"SOT-23", 1, true, false}};
    return kept;
}

// The test's own FNV-1a and check line, to write texts whose values are wrong but whose check
// holds: only the value checks can refuse them.
std::string Sealed(const std::string& body) {
    unsigned long long hash = 14695981039346656037ull;
    for (const char c : body) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char check[40];
    std::snprintf(check, sizeof check, "check %016llx\n", hash);
    return body + check;
}

// The small session's text with each line given in place of the line that starts with its
// first word, sealed again.
std::string WithLines(const std::string& lines) {
    const std::string text = KeptSessionText(SmallSession());
    std::string body = '\n' + text.substr(0, text.rfind("check "));
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        const std::string key = line.substr(0, line.find_first_of(" \t"));
        const std::size_t start = body.find('\n' + key + ' ') + 1;
        body.replace(start, body.find('\n', start) - start, line);
    }
    return Sealed(body.substr(1));
}

// The fields only the text keeps: the session computes them.
const std::vector<KeptField> kTextFields = {
    {"path, hash and time",
     [](KeptSession& k) {
         k.placementPath = "/b/x.csv";
         k.contentHash = 0xFEDCBA9876543210u;
         k.savedAt = 1700000000;
     }},
    {"awkward path, last row of the largest table",
     [](KeptSession& k) {
         k.placementPath = "/boards/a b\\c\nd.csv";
         k.faceCount = 5000;
         k.selectedRow = 4999;
     }},
    {"picture",
     [](KeptSession& k) {
         k.picture = KeptPicture{"/p q.jpg", 12, 34};
     }},
    {"pin 1 corrections",
     [](KeptSession& k) {
         k.pinOne = {{"SOT-23", 3, true, false}, {"LED \"red\"\t2", 0, false, true}};
     }},
    {"progress",
     [](KeptSession& k) {
         k.placedOnFace = 2;
         k.faceCount = 146;
         k.placed = {0, 1};
         k.marks = {{"R1", Face::Top, "", ""}, {"R2", Face::Top, "", ""}};
     }},
};

TEST(KeptSessionText, EachFieldRoundTrips) {
    std::vector<KeptField> rows = kSessionFields;
    rows.insert(rows.end(), kTextFields.begin(), kTextFields.end());
    for (const KeptField& row : rows) {
        SCOPED_TRACE(row.name);
        KeptSession kept;
        row.set(kept);
        ASSERT_NE(Described(kept), Described(KeptSession{}));
        const std::optional<KeptSession> back = ParseKeptSession(KeptSessionText(kept));
        EXPECT_EQ(back ? Described(*back) : "refused", Described(kept));
    }
}

// One byte changed anywhere, to any other value, and the file is refused: a digit of a placed
// mark changed by a disk error must never mark another part. So is a text cut short anywhere, as
// by a crash.
TEST(KeptSessionText, RefusesEverySingleByteChangeAndEveryCut) {
    const std::string text = KeptSessionText(SmallSession());
    for (std::size_t cut = 0; cut < text.size(); ++cut)
        EXPECT_FALSE(ParseKeptSession(text.substr(0, cut)).has_value()) << "cut at " << cut;
    const std::optional<KeptSession> whole = ParseKeptSession(text);
    ASSERT_TRUE(whole.has_value());
    ASSERT_EQ(whole->marks.size(), 2u); // the escapes in a mark come back as they were
    EXPECT_EQ(std::make_tuple(whole->marks[1].designator, whole->marks[1].face,
                              whole->marks[1].value, whole->marks[1].package),
              std::make_tuple(std::string("C\\3"), Face::Bottom, std::string("10 \tu"),
                              std::string("0805")));
    int accepted = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        for (int value = 0; value < 256; ++value) {
            std::string changed = text;
            if (static_cast<unsigned char>(changed[at]) == value)
                continue;
            changed[at] = static_cast<char>(value);
            if (ParseKeptSession(changed).has_value()) {
                ++accepted;
                ADD_FAILURE() << "byte " << at << " set to " << value;
            }
        }
        if (accepted > 5)
            break;
    }
}

// Added points for an "added" line: as many as asked, no two alike.
std::string AddedPoints(int count) {
    std::string points;
    for (int i = 0; i < count; ++i)
        points += " " + std::to_string(i % 40) + " " + std::to_string(i / 40) + " " +
                  std::to_string(100 + 10 * (i % 40)) + " " + std::to_string(400 + 10 * (i / 40));
    return points;
}

// A fitted map that reaches every board point, as the added points need.
const std::string kIdentityFit = "fit 1 0 0 0 1 0 0 0 1\n";

// A sealed text comes back only when every value is one the program could have written.
TEST(KeptSessionText, RefusesEveryValueOutOfRange) {
    struct Case {
        const char* name;
        std::string line; // lines, each in place of the line of its first word
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"the text as written, sealed again", "pcb 3", true},
        {"the largest PCB count", "pcb 4294967295", true},
        {"a negative PCB count", "pcb -1", false},
        {"a PCB count beyond 32 bits", "pcb 4294967296", false},
        {"a signed PCB count", "pcb +3", false},
        {"a turn of no quarter", "view 45 0 100", false},
        {"a whole turn", "view 360 0 100", false},
        {"a negative turn", "view -90 0 100", false},
        {"a mirror of neither 0 nor 1", "view 90 2 100", false},
        {"a zoom below the least", "view 90 0 19", false},
        {"a zoom beyond the most", "view 90 0 401", false},
        {"the least zoom", "view 90 0 20", true},
        {"the most zoom", "view 90 0 400", true},
        {"a board X not a number", "calibration 2 2 nan 20 100 400 60 70 600 900", false},
        {"an infinite board Y", "calibration 2 2 10 inf 100 400 60 70 600 900", false},
        {"a state beyond the last", "calibration 4 2 10 20 100 400 60 70 600 900", false},
        {"a pressed point not a number", "pressed2 -nan 70 600 900", false},
        {"a fitted map not a number", "fit 1 0 0 0 1 0 0 0 nan", false},
        {"more placed on the face than on it", "progress 5 4", false},
        {"the caption's 2147483647 of -5", "progress 2147483647 -5", false},
        {"more on the face than a table holds", "progress 2 5001", false},
        {"more placed on the face than in the marks", "progress 3 4", false},
        {"a negative count placed on the top", "faces -1 0 4 1", false},
        {"a negative count placed on the bottom", "faces 2 -1 4 1", false},
        {"more placed on the top than on it", "faces 5 0 4 1", false},
        {"more placed on the bottom than on it", "faces 2 2 4 1", false},
        {"both faces as many parts as a table holds", "faces 2 0 4000 1000", true},
        {"both faces more parts than a table holds", "faces 2 0 4000 1001", false},
        {"a mark twice", "placed 2 2 2", false},
        {"marks out of order", "placed 2 2 0", false},
        {"a negative mark", "placed 2 -1 2", false},
        {"a mark beyond the table", "placed 2 0 5000", false},
        {"the last position of the table", "placed 2 0 4999", true},
        {"fewer marks than counted", "placed 3 0 2", false},
        {"a selected row beyond the face", "selected 4", false},
        {"a negative selected row", "selected -1", false},
        {"a time before the epoch", "saved -1", false},
        {"a negative picture size", "picture -1 17 /boards/b.jpg", false},
        {"a picture without a path", "picture 5000 17 ", false},
        {"a word after the values", "pcb 3 boards", false},
        {"a mark of no package", "mark 0 R1\t1k", false},
        {"a mark of a field too many", "mark 0 R1\t1k\t0603\tx", false},
        {"a mark without a designator", "mark 0 \t1k\t0603", false},
        {"a mark of neither face", "mark 2 R1\t1k\t0603", false},
        {"a mark as written", "mark 0 R1\t1k\t0603", true},
        {"the calibrated picture as written", "calpicture 5000 17 000000000000feed /boards/b.jpg",
         true},
        {"a picture hash cut short", "calpicture 5000 17 feed /boards/b.jpg", false},
        {"a picture hash not hex", "calpicture 5000 17 000000000000feeg /b.jpg", false},
        {"a pin 1 correction as written", "pinone 1 1 0 SOT-23", true},
        {"a pin 1 turned four quarters", "pinone 4 1 0 SOT-23", false},
        {"a pin 1 turned back", "pinone -1 1 0 SOT-23", false},
        {"a pin 1 mirror of neither 0 nor 1", "pinone 1 2 0 SOT-23", false},
        {"a pin 1 hidden of neither 0 nor 1", "pinone 1 0 7 SOT-23", false},
        {"a pin 1 correction of no package", "pinone 1 1 0 ", false},
        {"a pin 1 correction cut short", "pinone 1 1", false},
        {"a calibrated picture without a path", "calpicture 5000 17 000000000000feed ", false},
        {"a calibrated picture's size not a number", "calpicture x 17 000000000000feed /b.jpg",
         false},
        {"another version", "kavelto-session 3", false},
        {"a PCB count missing", "pcb", false},
        {"a key and its value apart by a tab", "pcb\t3", false},
        {"a state not a number", "calibration x 2 10 20 100 400 60 70 600 900", false},
        {"a path ending in a lone escape", "picture 5000 17 /boards/b.jpg\\", false},
        {"a path of an unknown escape", "picture 5000 17 /boards/\\q.jpg", false},
        {"a mark's fields after a tab", "mark 0\tR1\t1k\t0603", false},
        {"an added point cut short", "added 1 10 20 100", false},
        {"added points beyond the most", kIdentityFit + "added 1001" + AddedPoints(1001), false},
        {"the most added points", kIdentityFit + "added 1000" + AddedPoints(1000), true},
        {"placed marks not counted", "placed x", false},
        {"a fitted map that reaches no point", "fit 1 0 0 0 1 0 0 0 -1\nadded 1 30 40 300 600",
         false},
        {"a fitted map that reaches every point", kIdentityFit + "added 1 30 40 300 600", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<KeptSession> kept = ParseKeptSession(WithLines(c.line));
        EXPECT_EQ(kept.has_value(), c.accepted);
    }
}

// A file's hash follows every byte it reads, beyond the first read's 64 KiB too, and only the
// bytes it is told to read; a file that isn't there has none.
TEST(FileContentHash, FollowsEveryByteItReads) {
    const std::string bytes(200 * 1024, 'a');
    const auto changedAt = [&bytes](std::size_t at) {
        std::string changed = bytes;
        changed[at] = 'b';
        return changed;
    };
    const TempFile file(bytes);
    const std::optional<std::uint64_t> hash = FileContentHash(file.path());
    ASSERT_TRUE(hash);
    const struct {
        const char* name;
        std::string other;
        std::uint64_t maxBytes;
        bool same;
    } rows[] = {
        {"the same bytes", bytes, UINT64_MAX, true},
        {"a byte changed in the first read", changedAt(10), UINT64_MAX, false},
        {"a byte changed after 64 KiB", changedAt(70000), UINT64_MAX, false},
        {"the last byte changed", changedAt(bytes.size() - 1), UINT64_MAX, false},
        {"one byte more", bytes + "a", UINT64_MAX, false},
        {"a byte changed beyond the bytes read", changedAt(70000), 70000, true},
    };
    for (const auto& row : rows) {
        const TempFile other(row.other);
        const std::uint64_t maxBytes = row.maxBytes;
        EXPECT_EQ(FileContentHash(other.path(), maxBytes) == FileContentHash(file.path(), maxBytes),
                  row.same)
            << row.name;
    }
    EXPECT_EQ(FileContentHash(file.path() + ".gone"), std::nullopt);
}

// A calibrated picture is known by a hash of its first 64 KiB: a byte changed at the last of them
// is seen, one just after is not.
TEST(CalibratedPictureNow, HashesThePicturesFirst64KiB) {
    const auto headHash = [](std::optional<std::size_t> changedAt) {
        std::string bytes(100 * 1024, 'a');
        if (changedAt)
            bytes[*changedAt] = 'b';
        const TempFile picture(bytes);
        const std::optional<CalibratedPicture> now = CalibratedPictureNow(picture.path());
        return now ? std::optional(now->headHash) : std::nullopt;
    };
    const std::optional<std::uint64_t> asItIs = headHash(std::nullopt);
    ASSERT_TRUE(asItIs);
    EXPECT_NE(headHash(64 * 1024 - 1), asItIs);
    EXPECT_EQ(headHash(64 * 1024), asItIs);
}

} // namespace
} // namespace kavelto
