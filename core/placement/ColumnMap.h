#pragma once

#include "base/Result.h"
#include "placement/FieldCode.h"
#include "placement/FieldColumns.h"

#include <string>

namespace kavelto {

inline constexpr int kColumnCount = 7;

// The layout of placement files, read once from the three-line configuration file.
struct ColumnMap {
    int headerLines = 0;
    // Line 3 reads "auto": each file's own name row says where its columns stand, and the
    // separator and codes below are not used.
    bool byName = false;
    char separator = ',';
    FieldCode columnCodes[kColumnCount] = {};
    FieldColumns columnOfField{}; // the entry of Ignored is unused
    // Fields split off each line: one more than the last assigned column.
    int fieldCount = 0;

    // The field code of column p, or Ignored for a column beyond the assigned ones.
    FieldCode codeOfColumn(int p) const {
        return p < kColumnCount ? columnCodes[p] : FieldCode::Ignored;
    }
};

// Reads the configuration from the file at path, or tells the user why it can't be used.
Result<ColumnMap> ReadColumnMap(const std::string& path);

} // namespace kavelto
