#pragma once

#include "base/ReadError.h"
#include "parts/PartRecord.h"

#include <cstddef>

namespace kavelto {

// The message for a quoted field that does not end on its line.
inline constexpr const char* kUnterminatedQuote = "unterminated string in file";

// Turns one component line of a placement file into a record, in the shape of one kind of file.
class LineConverter {
public:
    virtual ~LineConverter() = default;

    // Clears record and fills it from line[0, length), which a NUL follows and which may be
    // rewritten. lineNumber counts the file's lines from 1, for messages.
    virtual ReadError convert(char* line, std::size_t length, int lineNumber,
                              PartRecord& record) = 0;
};

} // namespace kavelto
