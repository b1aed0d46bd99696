#pragma once

#include "placement/ColumnLayout.h"
#include "placement/FieldSplitting.h"
#include "placement/LineConverter.h"

#include <string>
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
    // Splits the line into its columns; returns their number, or -1 for a quote that does not
    // end. columns_ or fields_ holds them, as columnsRead says.
    int splitColumns(char* line, std::size_t length);
    // Splits a row of a listed name row's file where runs of blanks would pass over its empty
    // fields, from the copy kept of it.
    int splitListedRow(std::size_t length);
    void placeByPosition(std::size_t fieldCount);
    // Converts a column's text into its field; false for a position without a number.
    bool convertColumn(FieldCode code, char* text, std::size_t length, PartRecord& record,
                       bool decimalComma) const;

    ColumnLayout layout_;
    std::vector<FieldSpan> fields_;  // room for the most fields a line can hold
    std::vector<FieldSpan> columns_; // the fields gathered under the names they stand nearest
    const FieldSpan* columnsRead_ = nullptr; // the columns of the line just split
    std::string listedRow_;                  // a row kept to be split again, NUL-terminated
};

} // namespace kavelto
