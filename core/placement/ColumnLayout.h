#pragma once

#include "placement/ColumnNames.h"
#include "placement/FieldColumns.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace kavelto {

// Where a name stands in its row, from its first character to past its last.
struct NamePosition {
    int begin;
    int end;
};

// The columns of a placement file as the file's own name row names them.
struct ColumnLayout {
    char separator = ',';         // kBlankRuns: runs of blanks
    FieldColumns columnOfField{}; // the entry of Ignored is unused
    ColumnReading sideReading = ColumnReading::Plain;
    bool positionIsPoint = false;    // X and Y stand in one column, as "(x,y)"
    bool listed = false;             // names of blank runs, parted by single blanks
    int absentColumn = kNoColumn;    // the first column that rows one field short leave out
    std::vector<NamePosition> names; // one for each column of the row, known name or not
};

// Reads line[0, length) as a name row: one that names a designator, an X and a Y column.
// A leading '#' and blanks before the first name are allowed. Rewrites the line.
std::optional<ColumnLayout> ReadNameRow(char* line, std::size_t length);

// The column whose name stands nearest to a field at [begin, end) of a data line, for files
// whose columns are lined up under their names.
int NearestColumn(const ColumnLayout& layout, int begin, int end);

} // namespace kavelto
