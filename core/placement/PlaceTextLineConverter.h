#pragma once

#include "placement/LineConverter.h"

#include <cstddef>

namespace kavelto {

// A line of the place text file that Allegro and OrCAD PCB Editor write ("place_txt.txt"), which
// has no name row: "refdes x y rotation [m] symbol", blank-separated, in the design's units. An
// "m" after the rotation mirrors the part to the bottom; a text in parentheses is a comment, and
// so is a line that starts with one.
class PlaceTextLineConverter : public LineConverter {
public:
    Result<void> convert(char* line, std::size_t length, int lineNumber,
                         PartRecord& record) override;
    char separator() const override { return ' '; }
    char commentMark() const override { return '('; }
};

// Whether line[0, length) is the units line that ends a place text file's header
// ("UUNITS = MILS"), which no other placement file writes.
bool IsPlaceTextUnitsLine(const char* line, std::size_t length);

} // namespace kavelto
