#pragma once

#include <string>

// The bytes of UTF-16 code units in one byte order.
inline std::string Utf16Bytes(const std::u16string& units, bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : units)
        bytes += bigEndian ? std::string{char(unit >> 8), char(unit)}
                           : std::string{char(unit), char(unit >> 8)};
    return bytes;
}
