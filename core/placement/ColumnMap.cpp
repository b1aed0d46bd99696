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

// The configuration's refusals are the program's own errors.
UserMessage Fail(const char* text) {
    return ErrorMessage(text);
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

Result<ColumnMap> Interpret(const std::string (&lines)[3]) {
    for (const std::string& line : lines) {
        if (line.empty())
            return Fail(kColumnMapEmptyLines);
    }
    const ParsedInt header = ParseLenientInt(lines[0].c_str());
    const int headerLines = header.found ? header.value : 0;
    if (headerLines < 0 || headerLines > 99)
        return Fail(kColumnMapBadHeaderCount);

    ColumnMap result;
    result.headerLines = headerLines;
    if (IsAutoLine(lines[2])) {
        result.byName = true;
        return result;
    }
    result.separator = lines[1][0];
    std::array<int, kColumnCount> codes = {};
    ReadColumnCodes(lines[2], codes);

    std::array<int, kFieldCodeCount> counted = {};
    for (int column = 0; column < kColumnCount; ++column) {
        const int code = codes[static_cast<std::size_t>(column)];
        if (code < 0 || code >= kFieldCodeCount)
            return Fail(kColumnMapBadCode);
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
            return Fail(kColumnMapDuplicatedCode);
    }
    for (const FieldCode field : kMandatoryClassicFields) {
        if (counted[static_cast<std::size_t>(field)] == 0)
            return Fail(kColumnMapMissingCode);
    }
    return result;
}

} // namespace

Result<ColumnMap> ReadColumnMap(const std::string& path) {
    TextFileReader file(path);
    if (!file.isOpen())
        return Fail(kColumnMapNotFound);
    try {
        std::string lines[3];
        for (std::string& line : lines) {
            if (file.readLine(line, kMaxLineLength) == TextFileReader::Status::Error)
                return Fail(kColumnMapUnreadable);
        }
        return Interpret(lines);
    } catch (const std::bad_alloc&) {
        return Fail(kColumnMapReadFailed);
    }
}

} // namespace kavelto
