#include "placement/PartFields.h"

#include "base/FieldParsing.h"
#include "placement/ColumnMap.h"

#include <cstring>
#include <optional>
#include <string_view>

namespace kavelto {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The whole text is kept to be shown; its leading letters and the number after them are the
// sort keys.
void ConvertDesignator(const char* text, std::size_t length, PartRecord& record) {
    record.designator.assign(std::string_view(text, length));
    std::size_t letters = 0;
    while (letters < kMaxPrefixLength && IsAsciiLetter(text[letters]))
        ++letters;
    record.prefix.assign(std::string_view(text, letters));
    const ParsedInt number = ParseLenientInt(text + letters);
    if (number.found)
        record.partId = static_cast<std::uint16_t>(static_cast<std::uint32_t>(number.value));
}

bool ConvertFloat(char* text, float& out, bool decimalComma) {
    if (decimalComma) {
        if (char* comma = std::strchr(text, ','))
            *comma = '.';
    }
    const ParsedFloat number = ParseLenientFloat(text);
    if (number.found)
        out = number.value;
    return number.found;
}

bool ConvertRotation(const char* text, std::int16_t& out) {
    const ParsedInt number = ParseLenientInt(text);
    if (number.found)
        out = static_cast<std::int16_t>(
            static_cast<std::uint16_t>(static_cast<std::uint32_t>(number.value)));
    return number.found;
}

// Only the first byte says the face; an empty column says nothing.
std::optional<char> ConvertLayer(const char* text) {
    if (text[0] == '\0')
        return std::nullopt;
    return text[0];
}

bool IsWord(const char* text, const char* word) {
    for (; *word; ++text, ++word) {
        if (LowerAscii(*text) != *word)
            return false;
    }
    return *text == '\0';
}

// Allegro writes YES and NO; an empty flag, as in its place files, is no mirror either.
bool IsMirrored(const char* text) {
    return !(text[0] == '\0' || IsWord(text, "no") || IsWord(text, "0"));
}

// A layer number: 1 is the top and the bottom the highest (2 on two layers, 16 in Eagle).
bool IsLowerLayerNumber(const char* text) {
    std::uint32_t layer = 0;
    return ParseUnsignedCount(text, layer) && layer > 1;
}

} // namespace

bool ConvertWord(FieldCode code, char* word, PartRecord& record) {
    return ConvertField(code, word, std::strlen(word), record, true);
}

void ConvertSide(const char* text, ColumnReading reading, PartRecord& record) {
    if (reading == ColumnReading::MirrorFlag)
        record.layer = IsMirrored(text) ? 'B' : 'T';
    else if (IsLowerLayerNumber(text))
        record.layer = 'B';
    else
        record.layer = ConvertLayer(text);
}

bool ConvertPoint(const char* text, PartRecord& record) {
    while (IsCSpace(*text))
        ++text;
    if (*text == '(')
        ++text;
    const ParsedFloat x = ParseLenientFloat(text);
    if (!x.found)
        return false;
    const char* between = x.end;
    while (IsCSpace(*between))
        ++between;
    if (*between != ',' && *between != ';')
        return false;
    const ParsedFloat y = ParseLenientFloat(between + 1);
    if (!y.found)
        return false;
    record.x = x.value;
    record.y = y.value;
    return true;
}

bool ConvertField(FieldCode code, char* text, std::size_t length, PartRecord& record,
                  bool decimalComma) {
    switch (code) {
    case FieldCode::Designator:
        ConvertDesignator(text, length, record);
        return true;
    case FieldCode::Layer:
        record.layer = ConvertLayer(text);
        return true;
    case FieldCode::X:
        return ConvertFloat(text, record.x, decimalComma);
    case FieldCode::Y:
        return ConvertFloat(text, record.y, decimalComma);
    case FieldCode::Value:
        record.value.assign(std::string_view(text, length));
        return true;
    case FieldCode::Package:
        record.package.assign(std::string_view(text, length));
        return true;
    case FieldCode::Rotation:
        return ConvertRotation(text, record.rotation);
    case FieldCode::Ignored:
        break;
    }
    return true;
}

} // namespace kavelto
