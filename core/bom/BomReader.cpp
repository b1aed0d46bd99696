#include "bom/BomReader.h"

#include "base/FieldParsing.h"
#include "bom/BomColumnNames.h"
#include "bom/BomMessages.h"
#include "bom/DesignatorList.h"
#include "files/TextFileReader.h"
#include "placement/FieldColumns.h"
#include "placement/FieldSplitting.h"
#include "placement/LineFields.h"

#include <array>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

namespace kavelto {

namespace {

// A grouped line of a large board names hundreds of designators.
constexpr std::size_t kMaxLineLength = 1 << 16;

// The name row stands among the file's first lines, below a title block if any.
constexpr int kNameRowSearchLines = 40;

// Where each field of a BOM stands; supplier and mark columns may be several.
struct BomLayout {
    char separator = ',';
    std::array<int, kBomFieldCount> columnOf{};
    std::vector<int> supplierColumns;
    std::vector<std::pair<int, BomField>> markColumns;
};

int& ColumnOf(BomLayout& layout, BomField field) {
    return layout.columnOf[static_cast<std::size_t>(field)];
}

int ColumnOf(const BomLayout& layout, BomField field) {
    return layout.columnOf[static_cast<std::size_t>(field)];
}

void TakeName(BomLayout& layout, const BomColumnName& name, int column,
              std::array<BomNameRank, kBomFieldCount>& ranks) {
    switch (name.field) {
    case BomField::Supplier:
        layout.supplierColumns.push_back(column);
        return;
    case BomField::NotFittedMark:
    case BomField::FittedMark:
        layout.markColumns.emplace_back(column, name.field);
        return;
    default:
        break;
    }
    int& at = ColumnOf(layout, name.field);
    BomNameRank& rank = ranks[static_cast<std::size_t>(name.field)];
    if (at == kNoColumn || (rank == BomNameRank::Fallback && name.rank == BomNameRank::Preferred)) {
        at = column;
        rank = name.rank;
    }
}

// The separator of a name row; blanks alone separate no BOM's columns, but a row of one name,
// such as a bare list of designators, has no separator to detect.
char SeparatorOf(const std::string& line) {
    const char separator = DetectSeparator(line.data(), line.size());
    if (separator != kBlankRuns)
        return separator;
    const std::size_t first = line.find_first_not_of(" \t");
    const std::size_t last = line.find_last_not_of(" \t");
    const bool oneName = first != std::string::npos && line.find_first_of(" \t", first) > last;
    return oneName ? ',' : kBlankRuns;
}

// The layout a line gives as a name row: one with a separator and a designator column.
std::optional<BomLayout> ReadNameRow(std::string& line, LineFields& fields) {
    BomLayout layout;
    layout.separator = SeparatorOf(line);
    if (layout.separator == kBlankRuns || !fields.split(line, layout.separator))
        return std::nullopt;
    layout.columnOf.fill(kNoColumn);
    std::array<BomNameRank, kBomFieldCount> ranks{};
    for (int column = 0; column < fields.count(); ++column)
        if (const BomColumnName* name = FindBomColumnName(fields.cell(column)))
            TakeName(layout, *name, column, ranks);
    if (ColumnOf(layout, BomField::Designators) == kNoColumn)
        return std::nullopt;
    return layout;
}

std::string Supplier(const BomLayout& layout, const LineFields& fields) {
    std::string numbers;
    for (const int column : layout.supplierColumns) {
        const std::string_view number = fields.cell(column);
        if (number.empty())
            continue;
        if (!numbers.empty())
            numbers += ", ";
        numbers += number;
    }
    return numbers;
}

bool IsNotFitted(const BomLayout& layout, const LineFields& fields, const BomLine& line,
                 NotFittedMarks marks) {
    for (const auto& [column, field] : layout.markColumns)
        if (MarksNotFitted(field, fields.cell(column)))
            return true;
    return marks == NotFittedMarks::ColumnsAndValues && ValueMeansNotFitted(line.value);
}

BomLine ConvertLine(const BomLayout& layout, const LineFields& fields, NotFittedMarks marks) {
    const auto text = [&](BomField field) {
        return std::string(fields.cell(ColumnOf(layout, field)));
    };
    BomLine line;
    line.designators = SplitDesignators(fields.cell(ColumnOf(layout, BomField::Designators)));
    const std::string quantity = text(BomField::Quantity);
    if (const ParsedInt number = ParseLenientInt(quantity.c_str()); number.found)
        line.quantity = number.value;
    line.value = text(BomField::Value);
    line.footprint = text(BomField::Footprint);
    line.manufacturer = text(BomField::Manufacturer);
    line.mpn = text(BomField::Mpn);
    line.supplier = Supplier(layout, fields);
    line.description = text(BomField::Description);
    line.notFitted = IsNotFitted(layout, fields, line, marks);
    return line;
}

Result<BomTable> ReadLines(TextFileReader& file, NotFittedMarks marks) {
    std::string line;
    LineFields fields;
    std::optional<BomLayout> layout;
    BomTable table;
    for (int number = 1;; ++number) {
        const TextFileReader::Status status = file.readLine(line, kMaxLineLength);
        if (status == TextFileReader::Status::Error)
            return ErrorMessage(kBomReadFailed);
        if (status == TextFileReader::Status::End)
            break;
        if (!layout) {
            if (number > kNameRowSearchLines)
                break;
            layout = ReadNameRow(line, fields);
            // Read for its marks alone, a file that has no mark column has nothing more to tell.
            if (layout && marks == NotFittedMarks::ColumnsOnly && layout->markColumns.empty())
                return table;
            continue;
        }
        if (!fields.split(line, layout->separator))
            return ErrorMessage(BomUnterminatedQuoteMessage(number));
        BomLine read = ConvertLine(*layout, fields, marks);
        read.lineNumber = number;
        if (!read.designators.empty())
            table.lines.push_back(std::move(read));
    }
    if (!layout)
        return ErrorMessage(NoBomNameRowMessage(kNameRowSearchLines));
    return table;
}

} // namespace

Result<BomTable> ReadBomFile(const std::string& path, NotFittedMarks marks) {
    try {
        TextFileReader file(path);
        if (!file.isOpen())
            return ErrorMessage(kBomNotOpened);
        return ReadLines(file, marks);
    } catch (const std::bad_alloc&) {
        return ErrorMessage(kBomReadFailed);
    }
}

} // namespace kavelto
