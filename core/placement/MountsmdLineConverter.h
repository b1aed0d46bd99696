#pragma once

#include "parts/Face.h"
#include "placement/LineConverter.h"

#include <optional>
#include <string>

namespace kavelto {

// A line of the files that Eagle's mountsmd writes, without a name row: "name x y angle value
// package", one file per face. The value may be empty or hold blanks; the package is the last
// word.
class MountsmdLineConverter : public LineConverter {
public:
    explicit MountsmdLineConverter(Face face) : face_(face) {}

    Result<void> convert(char* line, std::size_t length, int lineNumber,
                         PartRecord& record) override;
    char separator() const override { return ' '; }

private:
    Face face_;
};

// The face that a file mountsmd writes holds, by its name's ending (.mnt the top, .mnb the
// bottom), or nothing for another file.
std::optional<Face> MountsmdFace(const std::string& path);

} // namespace kavelto
