#pragma once

#include "placement/FieldSplitting.h"

#include <string>
#include <string_view>
#include <vector>

namespace kavelto {

// The fields of one line of a table read by its column names, split in place as SplitFields
// splits them. The cells point into the line, which must outlive them.
class LineFields {
public:
    // False for a quoted cell that does not end on the line.
    bool split(std::string& line, char separator);

    int count() const { return count_; }

    // The cell of a column, empty for a column beyond the line's end or none at all.
    std::string_view cell(int column) const;

private:
    std::vector<FieldSpan> fields_;
    int count_ = 0;
};

} // namespace kavelto
