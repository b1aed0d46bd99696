#include "placement/NamedLineConverter.h"

#include "placement/PartFields.h"
#include "placement/PlacementMessages.h"

#include <cstring>
#include <string_view>
#include <utility>

namespace kavelto {

NamedLineConverter::NamedLineConverter(ColumnLayout layout, std::size_t maxLineLength)
    : layout_(std::move(layout)), fields_(maxLineLength + 1) {
    columns_.reserve(layout_.names.size());
}

// In a file lined up with blanks, an empty field leaves no trace but its room: each field goes
// to the column whose name stands nearest, and fields of one column join with what lies
// between them.
void NamedLineConverter::placeByPosition(std::size_t fieldCount) {
    columns_.assign(layout_.names.size(), FieldSpan{nullptr, nullptr, 0, 0});
    for (std::size_t i = 0; i < fieldCount; ++i) {
        const FieldSpan& field = fields_[i];
        FieldSpan& column =
            columns_[static_cast<std::size_t>(NearestColumn(layout_, field.begin, field.end))];
        if (column.text) {
            column.textEnd = field.textEnd;
            column.end = field.end;
        } else {
            column = field;
        }
    }
}

namespace {

// Columns lined up under their names are padded with runs of blanks; a row of single blanks or
// tabs (pcb-rnd's gxyrs and MacroFab templates) lists its columns in order.
bool IsLinedUp(const char* line, std::size_t length) {
    return std::string_view(line, length).find("  ") != std::string_view::npos;
}

// In a row that parts its fields with single blanks, as pcb-rnd's gxyrs template writes them,
// two blanks stand around an empty field: each blank outside quotes between the row's first and
// last field becomes a tab to split at.
void PartAtEachBlank(char* row, std::size_t length) {
    std::size_t first = 0;
    std::size_t last = length;
    while (first < last && row[first] == ' ')
        ++first;
    while (last > first && row[last - 1] == ' ')
        --last;
    bool quoted = false;
    for (std::size_t i = first; i < last; ++i) {
        if (row[i] == '"')
            quoted = !quoted;
        else if (row[i] == ' ' && !quoted)
            row[i] = '\t';
    }
}

} // namespace

int NamedLineConverter::splitColumns(char* line, std::size_t length) {
    columnsRead_ = fields_.data();
    if (layout_.separator != kBlankRuns)
        return SplitFields(line, length, layout_.separator, fields_.data());
    // pcb-rnd's MacroFab template names its columns with blanks and parts them with tabs.
    if (layout_.listed && std::memchr(line, '\t', length))
        return SplitFields(line, length, '\t', fields_.data());
    const bool linedUp = IsLinedUp(line, length);
    if (layout_.listed && linedUp)
        listedRow_.assign(line, length + 1); // the NUL after the line too
    const int count = SplitFields(line, length, kBlankRuns, fields_.data());
    if (count < 0 || !linedUp)
        return count;
    const auto fieldCount = static_cast<std::size_t>(count);
    if (layout_.listed) {
        const std::size_t fewest =
            layout_.names.size() - (layout_.absentColumn == kNoColumn ? 0 : 1);
        return fieldCount < fewest ? splitListedRow(length) : count;
    }
    if (fieldCount == layout_.names.size())
        return count;
    placeByPosition(fieldCount);
    columnsRead_ = columns_.data();
    return static_cast<int>(columns_.size());
}

int NamedLineConverter::splitListedRow(std::size_t length) {
    PartAtEachBlank(listedRow_.data(), length);
    return SplitFields(listedRow_.data(), length, '\t', fields_.data());
}

bool NamedLineConverter::convertColumn(FieldCode code, char* text, std::size_t length,
                                       PartRecord& record, bool decimalComma) const {
    const bool position = code == FieldCode::X || code == FieldCode::Y;
    if (code == FieldCode::Layer) {
        ConvertSide(text, layout_.sideReading, record);
        return true;
    }
    // Y is read with X.
    if (position && layout_.positionIsPoint)
        return code == FieldCode::Y || ConvertPoint(text, record);
    return ConvertField(code, text, length, record, decimalComma) || !position;
}

Result<void> NamedLineConverter::convert(char* line, std::size_t length, int lineNumber,
                                         PartRecord& record) {
    const int count = splitColumns(line, length);
    if (count < 0)
        return ErrorMessage(kUnterminatedQuote);
    const FieldSpan* columns = columnsRead_;
    const auto columnCount = static_cast<std::size_t>(count);
    // A row one field short of its names leaves out the column that rows may leave out.
    const bool leftOut =
        layout_.absentColumn != kNoColumn && columnCount + 1 == layout_.names.size();
    const bool decimalComma = layout_.separator != ',';
    bool hasPosition = true;
    for (const FieldCode code : kRecordFields) {
        const int column = layout_.columnOfField[code];
        if (column == kNoColumn)
            continue;
        // A line that ends before the column leaves it empty.
        char empty[1] = "";
        char* text = empty;
        std::size_t textLength = 0;
        const int shift = leftOut && column > layout_.absentColumn ? 1 : 0;
        const auto at = static_cast<std::size_t>(column - shift);
        if (at < columnCount && columns[at].text) {
            text = columns[at].text;
            textLength = static_cast<std::size_t>(columns[at].textEnd - text);
            *columns[at].textEnd = '\0';
        }
        hasPosition = convertColumn(code, text, textLength, record, decimalComma) && hasPosition;
    }
    if (!hasPosition)
        return ErrorMessage(NoPositionMessage(lineNumber));
    return {};
}

} // namespace kavelto
