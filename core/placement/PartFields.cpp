#include "placement/PartFields.h"

#include "base/FieldParsing.h"
#include "placement/ColumnMap.h"

#include <cstring>

namespace kavelto {

namespace {

// Keeps at most N - 1 bytes of text and its NUL; the bytes after the NUL are never read.
template <std::size_t N> void StoreText(char (&field)[N], const char* text) {
    const std::size_t n = strnlen(text, N - 1);
    std::memcpy(field, text, n);
    field[n] = '\0';
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The whole text is kept to be shown; its leading letters and the number after them are the
// sort keys.
void ConvertDesignator(const char* text, PartRecord& record) {
    StoreText(record.designator, text);
    std::size_t letters = 0;
    while (letters < sizeof record.prefix - 1 && IsAsciiLetter(text[letters])) {
        record.prefix[letters] = text[letters];
        ++letters;
    }
    record.prefix[letters] = '\0';
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

} // namespace

void ClearRecord(PartRecord& record) {
    record.designator[0] = '\0';
    record.prefix[0] = '\0';
    record.partId = 0;
    record.layer = '\0';
    record.x = 0.0f;
    record.y = 0.0f;
    record.value[0] = '\0';
    record.package[0] = '\0';
    record.rotation = 0;
    record.placed = 0;
}

bool ConvertField(int code, char* text, PartRecord& record, bool decimalComma) {
    switch (code) {
    case Designator:
        ConvertDesignator(text, record);
        return true;
    case Layer:
        record.layer = text[0];
        return true;
    case X:
        return ConvertFloat(text, record.x, decimalComma);
    case Y:
        return ConvertFloat(text, record.y, decimalComma);
    case Value:
        StoreText(record.value, text);
        return true;
    case Package:
        StoreText(record.package, text);
        return true;
    case Rotation:
        return ConvertRotation(text, record.rotation);
    default:
        return true;
    }
}

std::string NoPositionMessage(int lineNumber) {
    return "No number for X or Y in line " + std::to_string(lineNumber) + " of part file";
}

} // namespace kavelto
