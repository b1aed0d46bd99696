#pragma once

#include <cstddef>
#include <cstdint>

namespace kavelto {

// Lenient number reading as the placement and configuration files use it: leading white
// space skipped, an optional sign, then as many characters as fit the number. Independent of
// the process locale: the decimal mark is always a point.

struct ParsedInt {
    bool found;         // false when no digit follows the white space and sign
    std::int32_t value; // saturated to the 32-bit range
    const char* end;    // first character not taken
};

struct ParsedFloat {
    bool found;
    float value; // out-of-range magnitudes become infinity or zero, never undefined
    const char* end;
};

ParsedInt ParseLenientInt(const char* text);
ParsedFloat ParseLenientFloat(const char* text);

// Unsigned decimal with blanks or tabs around it and an optional plus sign, the whole text
// and nothing else; a number beyond 32 bits reads as 4294967295.
bool ParseUnsignedCount(const char* text, std::uint32_t& out);

bool IsCSpace(char c);

// The lower-case letter of an ASCII capital, any other byte as it is.
char LowerAscii(char c);

} // namespace kavelto
