#pragma once

#include "base/Result.h"
#include "parts/Face.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// A part that a progress file lists as placed.
struct ProgressMark {
    std::string designator;
    std::optional<Face> face;  // nothing when its cell names neither face
    std::int64_t placedAt = 0; // seconds since the epoch; 0 when the file gives no time

    bool operator==(const ProgressMark& other) const {
        return designator == other.designator && face == other.face && placedAt == other.placedAt;
    }
};

// Reads back the progress CSV that the progress export writes, also after a spreadsheet saved it
// again: the name row (among the first lines) names the columns Designator, Face and Placed, and
// "Time placed" if it likes, in any order and case; its separator is the row's (a comma, a
// semicolon, a tab). Cells may be quoted, a quoted cell may hold line ends, lines may end with
// CR LF or a lone CR, and byte order marks and UTF-16 read as the placement reader reads them.
// Only the rows placed "yes" (any case) are given, with the time placed when it reads as the
// export writes it ("2026-12-07T16:55:02Z", also with a blank for the T and without the Z).
Result<std::vector<ProgressMark>> ReadProgressFile(const std::string& path);

} // namespace kavelto
