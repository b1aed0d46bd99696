#include "base/TextEncoding.h"
#include "Utf16Bytes.h"
#include "files/Utf16Decoder.h"

#include <gtest/gtest.h>

namespace kavelto {
namespace {

// Each lead byte's range at its edges, with the second bytes that make a form overlong, a
// surrogate or beyond U+10FFFF; \265 alone is a Latin-1 micro sign.
TEST(TextEncoding, TellsWellFormedUtf8) {
    const struct {
        const char* name;
        std::string bytes;
        bool valid;
    } rows[] = {
        {"Latin-1", "4.7\265F", false},
        {"ASCII around a sequence", "4.7\302\265F", true},
        {"a lone continuation byte", "\200", false},
        {"a cut sequence", "\342\202", false},
        {"C0, overlong", "\300\257", false},
        {"C1, overlong", "\301\277", false},
        {"C2, the first two-byte lead", "\302\200", true},
        {"DF, the last two-byte lead", "\337\277", true},
        {"E0 9F, overlong", "\340\237\277", false},
        {"E0 A0", "\340\240\200", true},
        {"ED 9F, below the surrogates", "\355\237\277", true},
        {"ED A0, a surrogate", "\355\240\200", false},
        {"EF, the last three-byte lead", "\357\277\275", true},
        {"EF cut short", "\357\277", false},
        {"F0 8F, overlong", "\360\217\277\277", false},
        {"F0 90", "\360\220\200\200", true},
        {"F4 8F, the last code point", "\364\217\277\277", true},
        {"F4 90, beyond U+10FFFF", "\364\220\200\200", false},
        {"F5", "\365\200\200\200", false},
        {"a four-byte sequence cut short", "\360\237\224", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IsValidUtf8(row.bytes), row.valid) << row.name;
    // A sequence cut short by the end of the text, though the bytes after it would complete it.
    EXPECT_FALSE(IsValidUtf8(std::string_view("a\303\251", 2)));
    // Well-formed text shows as it is; Latin-1 shown as UTF-8 in PickListTest.
    EXPECT_EQ(DisplayUtf8("\342\202\254\360\237\224\214"), "\342\202\254\360\237\224\214");
    // Latin-1 bytes below 0x80 stay as they are; from 0x80 on each takes two bytes.
    EXPECT_EQ(Latin1ToUtf8("\177\200\265\377"), "\177\302\200\302\265\303\277");
}

// Units and surrogate pairs that two chunks split come out whole; a surrogate without its
// partner becomes U+FFFD. Both byte orders are read in PlacementReaderTest.
TEST(TextEncoding, DecodesUtf16InChunks) {
    // "A", U+00B5, U+20AC, U+1F50C as a pair, a lone high surrogate, "z", a lone low surrogate.
    const std::u16string units = {0x0041, 0x00B5, 0x20AC, 0xD83D, 0xDD0C, 0xD800, 0x007A, 0xDC00};
    const std::string bytes = Utf16Bytes(units, true);
    const std::string utf8 = "A\302\265\342\202\254\360\237\224\214\357\277\275z\357\277\275";
    std::string out(Utf16Decoder::maxOutput(bytes.size()) * 2, '\0');
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        Utf16Decoder decoder(true);
        std::size_t n = decoder.decode(bytes.data(), cut, out.data());
        n += decoder.decode(bytes.data() + cut, bytes.size() - cut, out.data() + n);
        EXPECT_EQ(out.substr(0, n), utf8) << "cut " << cut;
    }
}

} // namespace
} // namespace kavelto
