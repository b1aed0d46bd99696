#include "placement/PlaceTextLineConverter.h"

#include "base/FieldParsing.h"
#include "placement/PartFields.h"
#include "placement/PlacementMessages.h"

#include <array>

namespace kavelto {

namespace {

// refdes, x, y, rotation, the mirror flag, the symbol.
constexpr std::size_t kMostWords = 6;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Comments may stand anywhere in the line, in parentheses: they become blanks.
void BlankComments(char* line, const char* end) {
    bool inComment = false;
    for (char* p = line; p < end; ++p) {
        if (*p == '(')
            inComment = true;
        const bool closes = inComment && *p == ')';
        if (inComment)
            *p = ' ';
        if (closes)
            inComment = false;
    }
}

// Cuts the line into its first words, NUL-terminated in place; returns their number. The words
// past the symbol carry nothing read here.
std::size_t SplitWords(char* line, const char* end, std::array<char*, kMostWords>& words) {
    std::size_t count = 0;
    char* p = line;
    while (count < kMostWords) {
        while (p < end && IsBlank(*p))
            ++p;
        if (p == end)
            break;
        words[count++] = p;
        while (p < end && !IsBlank(*p))
            ++p;
        if (p < end)
            *p++ = '\0';
    }
    return count;
}

// The one-letter flag after the rotation: "m" mirrors the part to the bottom, "g" mirrors only
// its geometry, as package design tools do, and leaves it on the top.
bool IsMirrorFlag(const char* word) {
    const char flag = LowerAscii(word[0]);
    return (flag == 'm' || flag == 'g') && word[1] == '\0';
}

} // namespace

Result<void> PlaceTextLineConverter::convert(char* line, std::size_t length, int lineNumber,
                                             PartRecord& record) {
    char* const end = line + length;
    BlankComments(line, end);
    std::array<char*, kMostWords> words{};
    const std::size_t count = SplitWords(line, end, words);
    const auto word = [&](std::size_t i) { return i < count ? words[i] : end; };
    ConvertWord(FieldCode::Designator, word(0), record);
    const bool hasX = ConvertWord(FieldCode::X, word(1), record);
    const bool hasY = ConvertWord(FieldCode::Y, word(2), record);
    if (!hasX || !hasY)
        return ErrorMessage(NoPositionMessage(lineNumber));
    ConvertWord(FieldCode::Rotation, word(3), record);
    std::size_t symbol = 4;
    if (count > 4 && IsMirrorFlag(words[4])) {
        if (LowerAscii(words[4][0]) == 'm')
            record.layer = 'B';
        symbol = 5;
    }
    ConvertWord(FieldCode::Package, word(symbol), record);
    return {};
}

bool IsPlaceTextUnitsLine(const char* line, std::size_t length) {
    const char* p = line;
    const char* const end = line + length;
    while (p < end && IsBlank(*p))
        ++p;
    constexpr char kKeyword[] = "uunits";
    for (const char* k = kKeyword; *k != '\0'; ++k, ++p) {
        if (p == end || LowerAscii(*p) != *k)
            return false;
    }
    while (p < end && IsBlank(*p))
        ++p;
    return p < end && *p == '=';
}

} // namespace kavelto
