#pragma once

#include "placement/ColumnLayout.h"
#include "placement/FieldSplitting.h"
#include "placement/LineConverter.h"

#include <vector>

namespace kavelto {

// A line of a file whose name row says what each column holds. A column the line does not
// reach is empty; a line without a number for X or Y is refused.
class NamedLineConverter : public LineConverter {
public:
    // Lines are at most maxLineLength bytes long.
    NamedLineConverter(ColumnLayout layout, std::size_t maxLineLength);

    Result<void> convert(char* line, std::size_t length, int lineNumber,
                         PartRecord& record) override;
    char separator() const override { return layout_.separator; }

private:
    void placeByPosition(std::size_t fieldCount);
    // Converts a column's text into its field; false for a position without a number.
    bool convertColumn(FieldCode code, char* text, std::size_t length, PartRecord& record,
                       bool decimalComma) const;

    ColumnLayout layout_;
    std::vector<FieldSpan> fields_;  // room for the most fields a line can hold
    std::vector<FieldSpan> columns_; // the fields gathered under the names they stand nearest
};

} // namespace kavelto
