#include "placement/ColumnMap.h"

#include "base/FieldParsing.h"
#include "files/TextFileReader.h"
#include "placement/PlacementMessages.h"

#include <array>
#include <cstddef>
#include <new>

namespace kavelto {

namespace {

// The three lines need a few characters each; a longer line is cut, so that a file that is no
// configuration is never held whole in memory.
constexpr std::size_t kMaxLineLength = 4096;

int Fail(std::string& message, const char* text) {
    message = text;
    return 1;
}

// Line 3 reads like "%d,%d,%d,%d,%d,%d,%d": every comma must follow its number directly,
// and codes that are not read stay 0.
void ReadColumnCodes(const std::string& line, std::array<int, kColumnCount>& codes) {
    const char* p = line.c_str();
    for (int n = 0; n < kColumnCount; ++n) {
        const ParsedInt code = ParseLenientInt(p);
        if (!code.found)
            return;
        codes[n] = code.value;
        if (*code.end != ',')
            return;
        p = code.end + 1;
    }
}

// The word "auto", in any case, with blanks around it.
bool IsAutoLine(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t");
    const std::size_t last = line.find_last_not_of(" \t");
    if (first == std::string::npos || last - first + 1 != 4)
        return false;
    std::string word = line.substr(first, 4);
    for (char& c : word)
        c = LowerAscii(c);
    return word == "auto";
}

int Interpret(const std::string (&lines)[3], ColumnMap& map, std::string& message) {
    for (const std::string& line : lines) {
        if (line.empty())
            return Fail(message, kColumnMapEmptyLines);
    }
    const ParsedInt header = ParseLenientInt(lines[0].c_str());
    const int headerLines = header.found ? header.value : 0;
    if (headerLines < 0 || headerLines > 99)
        return Fail(message, kColumnMapBadHeaderCount);

    ColumnMap result;
    result.headerLines = headerLines;
    if (IsAutoLine(lines[2])) {
        result.byName = true;
        map = result;
        return 0;
    }
    result.separator = lines[1][0];
    std::array<int, kColumnCount> codes = {};
    ReadColumnCodes(lines[2], codes);

    std::array<int, kFieldCodeCount> counted = {};
    for (int column = 0; column < kColumnCount; ++column) {
        const int code = codes[static_cast<std::size_t>(column)];
        if (code < 0 || code >= kFieldCodeCount)
            return Fail(message, kColumnMapBadCode);
        const auto field = static_cast<FieldCode>(code);
        result.columnCodes[column] = field;
        if (field == FieldCode::Ignored)
            continue;
        ++counted[static_cast<std::size_t>(code)];
        result.columnOfField[field] = column;
        result.fieldCount = column + 1;
    }
    for (const FieldCode field : kRecordFields) {
        if (counted[static_cast<std::size_t>(field)] > 1)
            return Fail(message, kColumnMapDuplicatedCode);
    }
    for (const FieldCode field : kMandatoryClassicFields) {
        if (counted[static_cast<std::size_t>(field)] == 0)
            return Fail(message, kColumnMapMissingCode);
    }
    map = result;
    return 0;
}

} // namespace

int LoadColumnMap(const std::string& path, ColumnMap& map, std::string& message) {
    TextFileReader file(path);
    if (!file.isOpen())
        return Fail(message, kColumnMapNotFound);
    try {
        std::string lines[3];
        for (std::string& line : lines) {
            if (file.readLine(line, kMaxLineLength) == TextFileReader::Status::Error)
                return Fail(message, kColumnMapUnreadable);
        }
        return Interpret(lines, map, message);
    } catch (const std::bad_alloc&) {
        return Fail(message, kColumnMapReadFailed);
    }
}

} // namespace kavelto
