#include "PlacementReader.h"

#include "ClassicLineConverter.h"
#include "TextFileReader.h"

#include <cstring>
#include <new>
#include <utility>

namespace kavelto {

namespace {

// Only the first 255 characters of a line are looked at.
constexpr std::size_t kLineCapacity = 256;

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
    char line_[kLineCapacity];
    std::size_t length_ = 0;
    int number_ = 0;
};

PlacementReadResult ReadLines(TextFileReader& file, const ColumnMap& map, PartTable& table) {
    LineSource lines(file, kLineCapacity);
    for (int h = 0; h < map.headerLines; ++h) {
        const TextFileReader::Status status = lines.next();
        if (status == TextFileReader::Status::Error)
            return Failed("Error skiping header lines from part file");
        if (status == TextFileReader::Status::End)
            break;
    }
    ClassicLineConverter converter(map);
    int n = 0;
    for (;;) {
        const TextFileReader::Status status = lines.next();
        if (status == TextFileReader::Status::Error)
            return Failed(kReadFailed);
        if (status == TextFileReader::Status::End || n == kMaxParts)
            break;
        if (CarriesNoPart(lines.line(), lines.length()))
            continue;
        if (ReadError error =
                converter.convert(lines.line(), lines.length(), lines.number(), table.parts[n]))
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
        return ReadLines(file, map, table);
    } catch (const std::bad_alloc&) {
        return Failed(kReadFailed);
    }
}

} // namespace kavelto
