#include "placement/MountsmdLineConverter.h"

#include "base/FieldParsing.h"
#include "placement/ColumnMap.h"
#include "placement/PartFields.h"
#include "placement/PlacementMessages.h"

#include <cstring>

namespace kavelto {

namespace {

// Cuts the next word off the line, NUL-terminated in place, and passes over the one blank
// after it; blanks before it are the padding of a number.
char* TakeWord(char*& pos, const char* end) {
    while (pos < end && *pos == ' ')
        ++pos;
    char* word = pos;
    while (pos < end && *pos != ' ')
        ++pos;
    if (pos < end)
        *pos++ = '\0';
    return word;
}

char* LastBlank(const char* begin, char* end) {
    for (char* p = end; p > begin; --p) {
        if (p[-1] == ' ')
            return p - 1;
    }
    return nullptr;
}

bool EndsWithIgnoringCase(const std::string& text, const char* ending) {
    const std::size_t n = std::strlen(ending);
    if (text.size() < n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (LowerAscii(text[text.size() - n + i]) != ending[i])
            return false;
    }
    return true;
}

} // namespace

Result<void> MountsmdLineConverter::convert(char* line, std::size_t length, int lineNumber,
                                            PartRecord& record) {
    char* pos = line;
    char* const end = line + length;
    ConvertWord(FieldCode::Designator, TakeWord(pos, end), record);
    const bool hasX = ConvertWord(FieldCode::X, TakeWord(pos, end), record);
    const bool hasY = ConvertWord(FieldCode::Y, TakeWord(pos, end), record);
    if (!hasX || !hasY)
        return ErrorMessage(NoPositionMessage(lineNumber));
    ConvertWord(FieldCode::Rotation, TakeWord(pos, end), record);
    // What is left is "value package".
    char* package = pos;
    if (char* blank = LastBlank(pos, end)) {
        *blank = '\0';
        package = blank + 1;
        ConvertWord(FieldCode::Value, pos, record);
    }
    ConvertWord(FieldCode::Package, package, record);
    if (face_ == Face::Bottom)
        record.layer = 'B';
    return {};
}

std::optional<Face> MountsmdFace(const std::string& path) {
    if (EndsWithIgnoringCase(path, ".mnt"))
        return Face::Top;
    if (EndsWithIgnoringCase(path, ".mnb"))
        return Face::Bottom;
    return std::nullopt;
}

} // namespace kavelto
