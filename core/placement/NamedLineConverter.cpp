#include "placement/NamedLineConverter.h"

#include "placement/PartFields.h"
#include "placement/PlacementMessages.h"

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

} // namespace

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
    const bool linedUp = layout_.separator == kBlankRuns && IsLinedUp(line, length);
    const int count = SplitFields(line, length, layout_.separator, fields_.data());
    if (count < 0)
        return ErrorMessage(kUnterminatedQuote);
    const FieldSpan* columns = fields_.data();
    auto columnCount = static_cast<std::size_t>(count);
    if (linedUp && columnCount != layout_.names.size()) {
        placeByPosition(columnCount);
        columns = columns_.data();
        columnCount = columns_.size();
    }
    const bool decimalComma = layout_.separator != ',';
    bool hasPosition = true;
    for (const FieldCode code : kRecordFields) {
        const int column = layout_.columnOfField[code];
        if (column == kNoColumn)
            continue;
        // A line that ends before the column leaves it empty.
        char empty[1] = "";
        char* text = empty;
        std::size_t length = 0;
        const auto at = static_cast<std::size_t>(column);
        if (at < columnCount && columns[at].text) {
            text = columns[at].text;
            length = static_cast<std::size_t>(columns[at].textEnd - text);
            *columns[at].textEnd = '\0';
        }
        hasPosition = convertColumn(code, text, length, record, decimalComma) && hasPosition;
    }
    if (!hasPosition)
        return ErrorMessage(NoPositionMessage(lineNumber));
    return {};
}

} // namespace kavelto
