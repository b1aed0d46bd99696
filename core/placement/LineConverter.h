#pragma once

#include "base/Result.h"
#include "parts/PartRecord.h"

#include <cstddef>

namespace kavelto {

// Turns one component line of a placement file into a record, in the shape of one kind of file.
class LineConverter {
public:
    virtual ~LineConverter() = default;

    // Fills record, fresh, from line[0, length), which a NUL follows and which may be rewritten,
    // or says why the line fails the load. lineNumber counts the file's lines from 1, for
    // messages. The record is the table's own: a part is converted where it stays.
    virtual Result<void> convert(char* line, std::size_t length, int lineNumber,
                                 PartRecord& record) = 0;

    // What stands between the fields of a line; a row of nothing else carries no part.
    virtual char separator() const = 0;

    // Besides '#', the character that opens a comment line after the header lines.
    virtual char commentMark() const { return '#'; }
};

} // namespace kavelto
