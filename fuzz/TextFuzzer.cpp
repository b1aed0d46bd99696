// Any bytes through the field parsers, the display decoding, the line reader and the JPEG
// stream's cutting and thumbnail: parsers stop inside their text, decoded text is UTF-8, the
// reader's two ways of taking a line agree, JPEG bands stack up, each a whole stream, and a
// thumbnail lies inside its picture.

#include "JpegStream.h"
#include "ScratchFolder.h"
#include "base/FieldParsing.h"
#include "base/TextEncoding.h"
#include "files/TextFileReader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace kavelto;

namespace {

constexpr std::size_t kLongLine = 4096;

void CheckParsers(const std::string& text) {
    const char* begin = text.c_str();
    const char* end = begin + std::strlen(begin);
    const ParsedInt integer = ParseLenientInt(begin);
    Require(integer.end >= begin && integer.end <= end, "an integer ends inside its text");
    Require(integer.found || integer.end == begin, "nothing taken when no integer is found");
    const ParsedFloat number = ParseLenientFloat(begin);
    Require(number.end >= begin && number.end <= end, "a number ends inside its text");
    Require(number.found || number.end == begin, "nothing taken when no number is found");
    std::uint32_t count = 7;
    if (!ParseUnsignedCount(begin, count))
        Require(count == 7, "a refused count leaves the count alone");
}

void CheckDisplay(const std::string& bytes) {
    const std::string shown = DisplayUtf8(bytes);
    Require(IsValidUtf8(shown), "displayed text is UTF-8");
    Require(!IsValidUtf8(bytes) || shown == bytes, "UTF-8 displays as it is");
    const std::string latin1 = Latin1ToUtf8(bytes);
    Require(IsValidUtf8(latin1) && latin1.size() >= bytes.size() &&
                latin1.size() <= 2 * bytes.size(),
            "Latin-1 becomes one or two UTF-8 bytes a character");
}

// Reads the whole file once into a small buffer and once into strings: the same lines, the
// buffer's a prefix of the string's. A line of a UTF-16 file read whole is UTF-8.
void CheckLines(const std::string& path, std::size_t capacity, bool utf16) {
    TextFileReader buffered(path);
    TextFileReader whole(path);
    Require(buffered.isOpen() && whole.isOpen(), "a scratch file opens");
    std::vector<char> line(capacity);
    std::string text;
    for (;;) {
        std::size_t length = 0;
        const TextFileReader::Status a = buffered.readLine(line.data(), capacity, length);
        const TextFileReader::Status b = whole.readLine(text, kLongLine);
        Require(a == b, "both ways of reading see the same lines");
        if (a != TextFileReader::Status::Line)
            return;
        Require(length == std::min(text.size(), capacity - 1) && line[length] == '\0',
                "a buffered line is cut to its buffer");
        Require(std::memcmp(line.data(), text.data(), length) == 0,
                "a buffered line is the start of the line");
        Require(!utf16 || text.size() == kLongLine || IsValidUtf8(text), "UTF-16 reads as UTF-8");
    }
}

void CheckThumbnail(const std::string& bytes) {
    const std::string_view thumbnail = ExifThumbnail(bytes);
    Require(thumbnail.empty() ||
                (thumbnail.data() >= bytes.data() &&
                 thumbnail.data() + thumbnail.size() <= bytes.data() + bytes.size()),
            "a thumbnail lies inside its picture");
}

void CheckBands(const std::string& bytes, int count) {
    int next = 0;
    for (const JpegBand& band : SplitJpegIntoBands(bytes, count)) {
        Require(band.top == next && band.height > 0, "bands follow one another");
        Require(IsCompleteJpeg(band.stream), "a band is a whole JPEG stream");
        next = band.top + band.height;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFolder folder;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckParsers(bytes);
    CheckDisplay(bytes);
    CheckBands(bytes, size == 0 ? 2 : 2 + data[0] % 3);
    CheckThumbnail(bytes);
    const bool utf16 = bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xFE\xFF", 0) == 0;
    CheckLines(folder.write("text.txt", data, size), size < 2 ? 1 : 1 + data[1] % 300, utf16);
    return 0;
}
