#include "placement/ColumnLayout.h"

#include "placement/ColumnNames.h"
#include "placement/FieldSplitting.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace kavelto {

namespace {

std::string_view TextOf(const FieldSpan& field) {
    return std::string_view(field.text, static_cast<std::size_t>(field.textEnd - field.text));
}

// Names parted by single blanks are listed, not lined up over their columns.
bool IsListed(const std::vector<NamePosition>& names) {
    for (std::size_t i = 1; i < names.size(); ++i) {
        if (names[i].begin - names[i - 1].end > 1)
            return false;
    }
    return true;
}

// With blanks as separator, "Mid X" arrives as two fields; joinPairs takes two fields that
// spell one name together as one column.
std::optional<ColumnLayout> Interpret(const std::vector<FieldSpan>& fields, char separator,
                                      bool joinPairs) {
    ColumnLayout layout;
    layout.separator = separator;
    std::array<NameRank, kFieldCodeCount> rankOfField = {};
    for (std::size_t i = 0; i < fields.size();) {
        const ColumnName* name = nullptr;
        std::size_t taken = 1;
        if (joinPairs && i + 1 < fields.size()) {
            name = FindColumnName(std::string(TextOf(fields[i])) + ' ' +
                                  std::string(TextOf(fields[i + 1])));
            taken = name ? 2 : 1;
        }
        if (!name)
            name = FindColumnName(TextOf(fields[i]));
        const int column = static_cast<int>(layout.names.size());
        layout.names.push_back({fields[i].begin, fields[i + taken - 1].end});
        i += taken;
        if (name && name->reading == ColumnReading::MayBeAbsent && separator == kBlankRuns &&
            layout.absentColumn == kNoColumn)
            layout.absentColumn = column;
        if (!name || name->field == FieldCode::Ignored)
            continue;
        // A name takes its field's column from no name, or from a fallback name.
        const auto mayTake = [&](FieldCode field) {
            return layout.columnOfField[field] == kNoColumn ||
                   (rankOfField[static_cast<std::size_t>(field)] == NameRank::Fallback &&
                    name->rank == NameRank::Preferred);
        };
        const auto take = [&](FieldCode field) {
            layout.columnOfField[field] = column;
            rankOfField[static_cast<std::size_t>(field)] = name->rank;
        };
        if (name->reading == ColumnReading::Point) {
            if (mayTake(FieldCode::X) && mayTake(FieldCode::Y)) {
                take(FieldCode::X);
                take(FieldCode::Y);
                layout.positionIsPoint = true;
            }
        } else if (mayTake(name->field)) {
            take(name->field);
            if (name->field == FieldCode::Layer)
                layout.sideReading = name->reading;
        }
    }
    for (const FieldCode field : {FieldCode::Designator, FieldCode::X, FieldCode::Y}) {
        if (layout.columnOfField[field] == kNoColumn)
            return std::nullopt;
    }
    layout.listed = separator == kBlankRuns && IsListed(layout.names);
    return layout;
}

} // namespace

std::optional<ColumnLayout> ReadNameRow(char* line, std::size_t length) {
    for (std::size_t i = 0; i < length && (line[i] == ' ' || line[i] == '\t' || line[i] == '#');
         ++i) {
        if (line[i] == '#')
            line[i] = ' ';
    }
    const char separator = DetectSeparator(line, length);
    std::vector<FieldSpan> fields(length + 1);
    const int count = SplitFields(line, length, separator, fields.data());
    if (count < 0)
        return std::nullopt;
    fields.resize(static_cast<std::size_t>(count));
    if (separator == kBlankRuns) {
        if (std::optional<ColumnLayout> joined = Interpret(fields, separator, true))
            return joined;
    }
    return Interpret(fields, separator, false);
}

int NearestColumn(const ColumnLayout& layout, int begin, int end) {
    // The overlap of field and name, or minus the gap between them where they do not overlap.
    const auto closeness = [&](const NamePosition& name) {
        return std::min(end, name.end) - std::max(begin, name.begin);
    };
    const auto nearest = std::max_element(
        layout.names.begin(), layout.names.end(),
        [&](const NamePosition& a, const NamePosition& b) { return closeness(a) < closeness(b); });
    return static_cast<int>(nearest - layout.names.begin());
}

} // namespace kavelto
