#pragma once

#include <string>

namespace kavelto {

// What a column of the placement file holds.
enum FieldCode : int {
    Ignored = 0,
    Designator = 1,
    Layer = 2,
    X = 3,
    Y = 4,
    Value = 5,
    Package = 6,
    Rotation = 7,
};

inline constexpr int kColumnCount = 7;
inline constexpr int kFieldCodeCount = 8;
inline constexpr int kNoColumn = -1;

// The layout of placement files, read once from the three-line configuration file.
struct ColumnMap {
    int headerLines = 0;
    // Line 3 reads "auto": each file's own name row says where its columns stand, and the
    // separator and codes below are not used.
    bool byName = false;
    char separator = ',';
    int columnCodes[kColumnCount] = {};
    // Column position of each field code, or kNoColumn. Index 0 is unused.
    int columnOfField[kFieldCodeCount] = {kNoColumn, kNoColumn, kNoColumn, kNoColumn,
                                          kNoColumn, kNoColumn, kNoColumn, kNoColumn};
    // Fields split off each line: one more than the last assigned column.
    int fieldCount = 0;

    // The field code of column p, or Ignored for a column beyond the assigned ones.
    int codeOfColumn(int p) const { return p < kColumnCount ? columnCodes[p] : Ignored; }
};

// Reads the configuration from the file at path into map. Returns 0 on success; on failure
// returns 1 and sets message to the text the user is shown.
int LoadColumnMap(const std::string& path, ColumnMap& map, std::string& message);

} // namespace kavelto
