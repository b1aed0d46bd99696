#pragma once

#include <cstddef>

namespace kavelto {

// Turns UTF-16 text of one byte order into UTF-8, chunk by chunk: a code unit or a surrogate
// pair that two chunks split is completed by the next chunk. A surrogate without its partner
// becomes U+FFFD.
class Utf16Decoder {
public:
    explicit Utf16Decoder(bool bigEndian) : bigEndian_(bigEndian) {}

    // The most UTF-8 bytes that decoding a chunk of n bytes writes: three for each code unit
    // the chunk completes, and three more for a surrogate that the previous chunk left waiting.
    static constexpr std::size_t maxOutput(std::size_t n) { return ((n + 1) / 2 + 1) * 3; }

    // Writes the UTF-8 of the complete code points in bytes[0, n) to out and returns how many
    // bytes it wrote; out must have room for maxOutput(n).
    std::size_t decode(const char* bytes, std::size_t n, char* out);

private:
    char* put(char32_t codePoint, char* out) const;
    char* takeUnit(char16_t unit, char* out);

    bool bigEndian_;
    bool hasPendingByte_ = false;
    unsigned char pendingByte_ = 0;
    char16_t highSurrogate_ = 0; // 0: none waiting for its low half
};

} // namespace kavelto
