#pragma once

#include "base/Result.h"
#include "bom/BomTable.h"

#include <string>

namespace kavelto {

// Which marks make a line's parts not fitted: a bill of materials is read with both its mark
// columns and its values ("DNP", "NF"...); a placement file only with its mark columns, since a
// value there names the part as the design has it.
enum class NotFittedMarks { ColumnsAndValues, ColumnsOnly };

// Reads a bill of materials as design tools export it: a name row among the first lines names
// the columns (a designator column at least) and sets the separator, as a placement file's does;
// each later line with designators is one BomLine. Byte order marks and UTF-16 read as the
// placement reader reads them. Lines without designators (blank lines, totals) are passed over.
Result<BomTable> ReadBomFile(const std::string& path,
                             NotFittedMarks marks = NotFittedMarks::ColumnsAndValues);

} // namespace kavelto
