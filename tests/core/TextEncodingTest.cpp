#include "base/TextEncoding.h"
#include "Utf16Bytes.h"
#include "files/Utf16Decoder.h"

#include <gtest/gtest.h>

namespace kavelto {
namespace {

// \265 is a Latin-1 micro sign, \302\265 the same in UTF-8.
TEST(TextEncoding, DisplaysWellFormedUtf8AsIsAndElseLatin1) {
    // Latin-1; a lone continuation byte; a cut sequence; an overlong form; a surrogate.
    for (const std::string bytes : {"4.7\265F", "\200", "\342\202", "\300\257", "\355\240\200"})
        EXPECT_FALSE(IsValidUtf8(bytes)) << testing::PrintToString(bytes);
    // A three- and a four-byte sequence; Latin-1 shown as UTF-8 in PickListTest.
    EXPECT_EQ(DisplayUtf8("\342\202\254\360\237\224\214"), "\342\202\254\360\237\224\214");
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
