#include "placement/PlacementReader.h"

#include "files/TextFileReader.h"
#include "placement/ClassicLineConverter.h"
#include "placement/ColumnLayout.h"
#include "placement/ColumnNames.h"
#include "placement/MountsmdLineConverter.h"
#include "placement/NamedLineConverter.h"

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

constexpr const char* kReadFailed = "Error reading part file";

PlacementReadResult Failed(ReadError error) {
    return {0, std::move(error)};
}

// Blank lines, and comments such as KiCad's closing "## End", carry no part.
bool CarriesNoPart(const char* line, std::size_t length) {
    if (length > 0 && line[0] == '#')
        return true;
    for (std::size_t i = 0; i < length; ++i) {
        if (line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            return false;
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
    ReadError error;
};

ReadError NoNameRowError() {
    return "No column names found in the first " + std::to_string(kNameRowSearchLines) +
           " lines of part file: looked for a line naming the " + DescribeRequiredNames() +
           " columns";
}

// Reads on to the file's name row, which says how the lines after it read.
ConverterOrError FindNameRow(LineSource& lines) {
    while (lines.number() < kNameRowSearchLines) {
        const TextFileReader::Status status = lines.next();
        if (status == TextFileReader::Status::Error)
            return {nullptr, kReadFailed};
        if (status == TextFileReader::Status::End)
            break;
        if (std::optional<ColumnLayout> layout = ReadNameRow(lines.line(), lines.length()))
            return {std::make_unique<NamedLineConverter>(std::move(*layout), kLongLineCapacity - 1),
                    {}};
    }
    return {nullptr, NoNameRowError()};
}

ConverterOrError ChooseConverter(const std::string& path, const ColumnMap& map, LineSource& lines) {
    if (!map.byName)
        return {std::make_unique<ClassicLineConverter>(map), {}};
    if (const std::optional<Face> face = MountsmdFace(path))
        return {std::make_unique<MountsmdLineConverter>(*face), {}};
    return FindNameRow(lines);
}

PlacementReadResult ReadLines(TextFileReader& file, const std::string& path, const ColumnMap& map,
                              PartTable& table) {
    LineSource lines(file, map.byName ? kLongLineCapacity : kClassicLineCapacity);
    for (int h = 0; h < map.headerLines; ++h) {
        const TextFileReader::Status status = lines.next();
        if (status == TextFileReader::Status::Error)
            return Failed("Error skiping header lines from part file");
        if (status == TextFileReader::Status::End)
            break;
    }
    ConverterOrError chosen = ChooseConverter(path, map, lines);
    if (chosen.error)
        return Failed(std::move(chosen.error));
    int n = 0;
    for (;;) {
        const TextFileReader::Status status = lines.next();
        if (status == TextFileReader::Status::Error)
            return Failed(kReadFailed);
        if (status == TextFileReader::Status::End || n == kMaxParts)
            break;
        if (CarriesNoPart(lines.line(), lines.length()))
            continue;
        if (ReadError error = chosen.converter->convert(lines.line(), lines.length(),
                                                        lines.number(), table.parts[n]))
            return Failed(std::move(error));
        ++n;
    }
    return {n, {}};
}

} // namespace

PlacementReadResult ReadPlacementFile(const std::string& path, const ColumnMap& map,
                                      PartTable& table) {
    try {
        TextFileReader file(path);
        if (!file.isOpen())
            return Failed("Error opening part file");
        return ReadLines(file, path, map, table);
    } catch (const std::bad_alloc&) {
        return Failed(kReadFailed);
    }
}

} // namespace kavelto
