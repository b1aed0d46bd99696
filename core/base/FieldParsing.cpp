#include "base/FieldParsing.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace kavelto {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

const char* SkipSpace(const char* p) {
    while (IsCSpace(*p))
        ++p;
    return p;
}

// Reads an optional sign; returns true for a minus.
bool TakeSign(const char*& p) {
    if (*p == '+' || *p == '-')
        return *p++ == '-';
    return false;
}

struct ParsedMagnitude {
    double value;
    const char* end;
};

bool ExponentIsNegative(const char* begin, const char* end) {
    for (const char* p = begin; p < end; ++p) {
        if (*p == 'e' || *p == 'E')
            return p + 1 < end && p[1] == '-';
    }
    return false;
}

// A plain decimal of at most 15 digits, such as every position column holds, is its digits as
// a whole number over a power of ten. Both are exact doubles, so the one division rounds
// correctly and gives the very double the full conversion gives. Anything else (more digits,
// an exponent, a point with no digit after it) is left to the full conversion.
std::optional<ParsedMagnitude> PlainDecimal(const char* p) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    constexpr int kMaxDigits = 15;
    std::uint64_t digits = 0;
    int count = 0;
    for (; IsDigit(*p); ++p, ++count)
        digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
    int decimals = 0;
    if (*p == '.') {
        if (!IsDigit(p[1]))
            return std::nullopt;
        for (++p; IsDigit(*p); ++p, ++decimals)
            digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    if (count + decimals == 0 || count + decimals > kMaxDigits || *p == 'e' || *p == 'E')
        return std::nullopt;
    return ParsedMagnitude{static_cast<double>(digits) / kPowersOfTen[decimals], p};
}

float NarrowToFloat(double d) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (d > kMax)
        return std::numeric_limits<float>::infinity();
    if (d < -kMax)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(d);
}

} // namespace

ParsedInt ParseLenientInt(const char* text) {
    const char* p = SkipSpace(text);
    const bool negative = TakeSign(p);
    if (!IsDigit(*p))
        return {false, 0, text};
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; IsDigit(*p); ++p) {
        if (magnitude < kLimit)
            magnitude = magnitude * 10 + (*p - '0');
    }
    if (magnitude > kLimit)
        magnitude = kLimit;
    std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        value = std::numeric_limits<std::int32_t>::max();
    return {true, static_cast<std::int32_t>(value), p};
}

ParsedFloat ParseLenientFloat(const char* text) {
    const char* p = SkipSpace(text);
    const bool negative = TakeSign(p);
    if (*p == '+' || *p == '-')
        return {false, 0.0f, text};
    if (const std::optional<ParsedMagnitude> plain = PlainDecimal(p))
        return {true, NarrowToFloat(negative ? -plain->value : plain->value), plain->end};
    const char* end = p + std::strlen(p);
    double magnitude = 0.0;
    const auto [stop, error] = std::from_chars(p, end, magnitude, std::chars_format::general);
    if (error == std::errc::invalid_argument)
        return {false, 0.0f, text};
    if (error == std::errc::result_out_of_range)
        magnitude = ExponentIsNegative(p, stop) ? 0.0 : std::numeric_limits<double>::infinity();
    return {true, NarrowToFloat(negative ? -magnitude : magnitude), stop};
}

bool ParseUnsignedCount(const char* text, std::uint32_t& out) {
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '+')
        ++p;
    if (!IsDigit(*p))
        return false;
    std::uint64_t value = 0;
    for (; IsDigit(*p); ++p) {
        value = value * 10 + static_cast<std::uint64_t>(*p - '0');
        if (value > std::numeric_limits<std::uint32_t>::max())
            value = std::uint64_t{std::numeric_limits<std::uint32_t>::max()} + 1;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p != '\0')
        return false;
    out = value > std::numeric_limits<std::uint32_t>::max()
              ? std::numeric_limits<std::uint32_t>::max()
              : static_cast<std::uint32_t>(value);
    return true;
}

} // namespace kavelto
