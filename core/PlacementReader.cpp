#include "PlacementReader.h"

#include "FieldParsing.h"
#include "TextFileReader.h"

#include <cstring>
#include <new>

namespace kavelto {

namespace {

constexpr std::size_t kLineCapacity = 256;  // 255 characters and a NUL
constexpr std::size_t kFieldCapacity = 255; // 254 characters and a NUL

constexpr const char* kNotEnoughFields = "Not enough fields per line";
constexpr const char* kUnterminated = "unterminated string in file";
constexpr const char* kFieldTooLong = "Field too long";

// Splits one line into fields, one call per field, in the reader's two fixed buffers.
class FieldSplitter {
public:
    FieldSplitter(const char* line, std::size_t length, char separator)
        : pos_(line), end_(line + length), separator_(separator) {}

    // Copies the next field's text into field; returns an error message or nullptr.
    const char* next(char (&field)[kFieldCapacity]) {
        // With a blank as separator, columns are often lined up with runs of blanks.
        if (separator_ == ' ') {
            while (pos_ < end_ && *pos_ == ' ')
                ++pos_;
        }
        if (pos_ == end_)
            return kNotEnoughFields;
        return *pos_ == '"' ? quoted(field) : unquoted(field);
    }

private:
    const char* quoted(char (&field)[kFieldCapacity]) {
        const char* open = pos_;
        const void* close = std::memchr(open + 1, '"', static_cast<std::size_t>(end_ - open - 1));
        if (!close)
            return kUnterminated;
        const char* closing = static_cast<const char*>(close);
        store(field, open + 1, closing);
        // The character after the closing quote should be the separator; it is passed over.
        pos_ = end_ - closing >= 2 ? closing + 2 : end_;
        return nullptr;
    }

    const char* unquoted(char (&field)[kFieldCapacity]) {
        const void* sep = std::memchr(pos_, separator_, static_cast<std::size_t>(end_ - pos_));
        const char* stop = sep ? static_cast<const char*>(sep) : end_;
        if (stop - pos_ > static_cast<std::ptrdiff_t>(kFieldCapacity - 1))
            return kFieldTooLong;
        store(field, pos_, stop);
        pos_ = sep ? stop + 1 : end_;
        return nullptr;
    }

    static void store(char (&field)[kFieldCapacity], const char* from, const char* to) {
        const std::size_t n = static_cast<std::size_t>(to - from);
        std::memcpy(field, from, n);
        field[n] = '\0';
    }

    const char* pos_;
    const char* end_;
    char separator_;
};

void ConvertDesignator(const char* text, PartRecord& record) {
    std::size_t letters = 0;
    while (letters < sizeof record.prefix - 1 && ((text[letters] >= 'A' && text[letters] <= 'Z') ||
                                                  (text[letters] >= 'a' && text[letters] <= 'z'))) {
        record.prefix[letters] = text[letters];
        ++letters;
    }
    record.prefix[letters] = '\0';
    const ParsedInt number = ParseLenientInt(text + letters);
    if (number.found)
        record.partId = static_cast<std::uint16_t>(static_cast<std::uint32_t>(number.value));
}

void ConvertFloat(const char* text, float& out) {
    const ParsedFloat number = ParseLenientFloat(text);
    if (number.found)
        out = number.value;
}

void ConvertField(int code, const char* text, PartRecord& record) {
    switch (code) {
    case Designator:
        ConvertDesignator(text, record);
        break;
    case Layer:
        record.layer = text[0];
        break;
    case X:
        ConvertFloat(text, record.x);
        break;
    case Y:
        ConvertFloat(text, record.y);
        break;
    case Value:
        CopyText(record.value, sizeof record.value, text);
        break;
    case Package:
        CopyText(record.package, sizeof record.package, text);
        break;
    case Rotation: {
        const ParsedInt number = ParseLenientInt(text);
        if (number.found)
            record.rotation = static_cast<std::int16_t>(
                static_cast<std::uint16_t>(static_cast<std::uint32_t>(number.value)));
        break;
    }
    default:
        break;
    }
}

// The record is cleared first so that nothing of an earlier load survives in it.
const char* ConvertLine(const char* line, std::size_t length, const ColumnMap& map,
                        PartRecord& record) {
    record = PartRecord{};
    FieldSplitter splitter(line, length, map.separator);
    char field[kFieldCapacity];
    for (int p = 0; p < map.fieldCount; ++p) {
        if (const char* error = splitter.next(field))
            return error;
        ConvertField(map.codeOfColumn(p), field, record);
    }
    return nullptr;
}

PlacementReadResult Failed(const char* message) {
    return {0, message};
}

PlacementReadResult ReadLines(TextFileReader& file, const ColumnMap& map, PartTable& table) {
    char line[kLineCapacity];
    std::size_t length = 0;
    for (int h = 0; h < map.headerLines; ++h) {
        const TextFileReader::Status status = file.readLine(line, sizeof line, length);
        if (status == TextFileReader::Status::Error)
            return Failed("Error skiping header lines from part file");
        if (status == TextFileReader::Status::End)
            break;
    }
    int n = 0;
    for (;;) {
        const TextFileReader::Status status = file.readLine(line, sizeof line, length);
        if (status == TextFileReader::Status::Error)
            return Failed("Error reading part file");
        if (status == TextFileReader::Status::End || n == kMaxParts)
            break;
        // A NUL ends the line's text, as everywhere else in the part data.
        length = std::strlen(line);
        if (const char* error = ConvertLine(line, length, map, table.parts[n]))
            return Failed(error);
        ++n;
    }
    return {n, nullptr};
}

} // namespace

PlacementReadResult ReadPlacementFile(const std::string& path, const ColumnMap& map,
                                      PartTable& table) {
    try {
        TextFileReader file(path);
        if (!file.isOpen())
            return Failed("Error opening part file");
        return ReadLines(file, map, table);
    } catch (const std::bad_alloc&) {
        return Failed("Error reading part file");
    }
}

} // namespace kavelto
