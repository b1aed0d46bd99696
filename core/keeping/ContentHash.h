#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

namespace kavelto {

// FNV-1a over 64 bits: quick, and any one byte changed anywhere changes the hash, since each
// step is a bijection of the hash so far.
inline constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;

inline std::uint64_t Fnv1a(std::uint64_t hash, const char* bytes, std::size_t count) {
    constexpr std::uint64_t kFnvPrime = 1099511628211ull;
    for (std::size_t i = 0; i < count; ++i) {
        hash ^= static_cast<unsigned char>(bytes[i]);
        hash *= kFnvPrime;
    }
    return hash;
}

// Sixteen lower-case hex digits.
inline std::string HashText(std::uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// A 64-bit hash of the file's first maxBytes bytes, of all of them by default; nothing when the
// file can't be read.
std::optional<std::uint64_t>
FileContentHash(const std::string& path,
                std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max());

} // namespace kavelto
