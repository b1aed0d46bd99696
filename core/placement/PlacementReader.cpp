#include "placement/PlacementReader.h"

#include "files/TextFileReader.h"
#include "placement/ClassicLineConverter.h"
#include "placement/ColumnLayout.h"
#include "placement/ColumnNames.h"
#include "placement/MountsmdLineConverter.h"
#include "placement/NamedLineConverter.h"
#include "placement/PlaceTextLineConverter.h"
#include "placement/PlacementMessages.h"

#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>

namespace kavelto {

namespace {

// The classic layout looks at the first 255 characters of a line; a file read by its names
// may put a column far to the right of long texts.
constexpr std::size_t kClassicLineCapacity = 256;
constexpr std::size_t kLongLineCapacity = 4097;

// The name row stands among the file's first lines.
constexpr int kNameRowSearchLines = 40;

Result<PlacementParts> Failed(std::string text) {
    return ErrorMessage(std::move(text));
}

bool IsControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// Comments such as KiCad's closing "## End" carry no part, nor do rows of nothing but blanks,
// quotes, separators and control bytes: a spreadsheet's emptied row (",,,,,,"), the end-of-file
// byte that joining files in text mode leaves, a form feed. A NUL has ended the line already.
// commentMark opens a comment line besides '#'.
bool CarriesNoPart(const char* line, std::size_t length, char separator, char commentMark) {
    for (std::size_t i = 0; i < length; ++i) {
        const char c = line[i];
        if (c == separator || c == ' ' || c == '"' || IsControlByte(c))
            continue;
        return i == 0 && (c == '#' || c == commentMark);
    }
    return true;
}

// Reads the lines of one file, counting them from 1 for messages.
class LineSource {
public:
    LineSource(TextFileReader& file, std::size_t capacity) : file_(file), capacity_(capacity) {}

    // A NUL ends the line's text, as everywhere else in the part data.
    TextFileReader::Status next() {
        const TextFileReader::Status status = file_.readLine(line_, capacity_, length_);
        if (status == TextFileReader::Status::Line) {
            ++number_;
            length_ = std::strlen(line_);
        }
        return status;
    }

    char* line() { return line_; }
    std::size_t length() const { return length_; }
    int number() const { return number_; }

private:
    TextFileReader& file_;
    std::size_t capacity_;
    char line_[kLongLineCapacity];
    std::size_t length_ = 0;
    int number_ = 0;
};

struct ConverterOrError {
    std::unique_ptr<LineConverter> converter;
    std::optional<std::string> error;
};

// Reads on to the file's name row, which says how the lines after it read, or to the units line
// that ends a place text file's header.
ConverterOrError FindNameRow(LineSource& lines) {
    while (lines.number() < kNameRowSearchLines) {
        const TextFileReader::Status status = lines.next();
        if (status == TextFileReader::Status::Error)
            return {nullptr, kPartFileReadFailed};
        if (status == TextFileReader::Status::End)
            break;
        if (IsPlaceTextUnitsLine(lines.line(), lines.length()))
            return {std::make_unique<PlaceTextLineConverter>(), std::nullopt};
        if (std::optional<ColumnLayout> layout = ReadNameRow(lines.line(), lines.length()))
            return {std::make_unique<NamedLineConverter>(std::move(*layout), kLongLineCapacity - 1),
                    std::nullopt};
    }
    return {nullptr, NoNameRowMessage(kNameRowSearchLines, DescribeRequiredNames())};
}

ConverterOrError ChooseConverter(const std::string& path, const ColumnMap& map, LineSource& lines) {
    if (!map.byName)
        return {std::make_unique<ClassicLineConverter>(map), std::nullopt};
    if (const std::optional<Face> face = MountsmdFace(path))
        return {std::make_unique<MountsmdLineConverter>(*face), std::nullopt};
    return FindNameRow(lines);
}

// The parts of the lines after a full table, counted but not converted: a line there never
// fails the load. Nothing when the file cannot be read to its end.
std::optional<int> CountLinesWithParts(LineSource& lines, char separator, char commentMark) {
    int count = 0;
    for (;;) {
        const TextFileReader::Status status = lines.next();
        if (status == TextFileReader::Status::Error)
            return std::nullopt;
        if (status == TextFileReader::Status::End)
            return count;
        if (!CarriesNoPart(lines.line(), lines.length(), separator, commentMark))
            ++count;
    }
}

// Converts the component lines into the table until the file or the table ends. A file that
// gives no part at all says so, so that a file read the wrong way never passes for an empty one.
Result<PlacementParts> ReadParts(LineSource& lines, LineConverter& converter) {
    PlacementParts read;
    read.table.reserveFull();
    const char separator = converter.separator();
    const char commentMark = converter.commentMark();
    for (;;) {
        const TextFileReader::Status status = lines.next();
        if (status == TextFileReader::Status::Error)
            return Failed(kPartFileReadFailed);
        if (status == TextFileReader::Status::End) {
            if (read.table.partCount() == 0)
                return Failed(kNoPartsFound);
            return read;
        }
        if (CarriesNoPart(lines.line(), lines.length(), separator, commentMark))
            continue;
        PartRecord* record = read.table.appendFresh();
        if (!record)
            break;
        const Result<void> converted =
            converter.convert(lines.line(), lines.length(), lines.number(), *record);
        if (!converted)
            return converted.failure();
    }
    // The line just read carries the first part left out.
    const std::optional<int> leftOut = CountLinesWithParts(lines, separator, commentMark);
    if (!leftOut)
        return Failed(kPartFileReadFailed);
    read.notice = ErrorMessage(PartsLeftOutMessage(kMaxParts, kMaxParts + 1 + *leftOut));
    return read;
}

Result<PlacementParts> ReadFile(TextFileReader& file, const std::string& path,
                                const ColumnMap& map) {
    LineSource lines(file, map.byName ? kLongLineCapacity : kClassicLineCapacity);
    for (int h = 0; h < map.headerLines; ++h) {
        const TextFileReader::Status status = lines.next();
        if (status == TextFileReader::Status::Error)
            return Failed(kHeaderLinesUnread);
        if (status == TextFileReader::Status::End)
            break;
    }
    ConverterOrError chosen = ChooseConverter(path, map, lines);
    if (chosen.error)
        return Failed(std::move(*chosen.error));
    return ReadParts(lines, *chosen.converter);
}

} // namespace

Result<PlacementParts> ReadPlacementFile(const std::string& path, const ColumnMap& map) {
    try {
        // Files pass through many tools on their way here: any of them may end lines its way.
        TextFileReader file(path, TextFileReader::LineEnds::FeedOrReturn);
        if (!file.isOpen())
            return Failed(kPartFileNotOpened);
        return ReadFile(file, path, map);
    } catch (const std::bad_alloc&) {
        return Failed(kPartFileReadFailed);
    }
}

} // namespace kavelto
