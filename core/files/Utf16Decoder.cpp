#include "files/Utf16Decoder.h"

namespace kavelto {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

char* Utf16Decoder::put(char32_t c, char* out) const {
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (c < 0x80) {
        *out++ = byte(c);
    } else if (c < 0x800) {
        *out++ = byte(0xC0 | (c >> 6));
        *out++ = byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = byte(0xE0 | (c >> 12));
        *out++ = byte(0x80 | ((c >> 6) & 0x3F));
        *out++ = byte(0x80 | (c & 0x3F));
    } else {
        *out++ = byte(0xF0 | (c >> 18));
        *out++ = byte(0x80 | ((c >> 12) & 0x3F));
        *out++ = byte(0x80 | ((c >> 6) & 0x3F));
        *out++ = byte(0x80 | (c & 0x3F));
    }
    return out;
}

char* Utf16Decoder::takeUnit(char16_t unit, char* out) {
    if (highSurrogate_ != 0) {
        const char16_t high = highSurrogate_;
        highSurrogate_ = 0;
        if (IsLowSurrogate(unit))
            return put(0x10000 + ((char32_t{high} - 0xD800) << 10) + (unit - 0xDC00), out);
        out = put(kReplacement, out);
    }
    if (IsHighSurrogate(unit)) {
        highSurrogate_ = unit;
        return out;
    }
    return put(IsLowSurrogate(unit) ? kReplacement : char32_t{unit}, out);
}

std::size_t Utf16Decoder::decode(const char* bytes, std::size_t n, char* out) {
    char* const start = out;
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (!hasPendingByte_) {
            pendingByte_ = b;
            hasPendingByte_ = true;
            continue;
        }
        hasPendingByte_ = false;
        const unsigned first = bigEndian_ ? pendingByte_ : b;
        const unsigned second = bigEndian_ ? b : pendingByte_;
        out = takeUnit(static_cast<char16_t>(first << 8 | second), out);
    }
    return static_cast<std::size_t>(out - start);
}

} // namespace kavelto
