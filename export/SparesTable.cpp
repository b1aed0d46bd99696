#include "SparesTable.h"

#include "ChipSize.h"
#include "PickListMessages.h"
#include "base/FieldParsing.h"

#include <algorithm>
#include <sstream>

namespace kavelto {

namespace {

constexpr std::uint32_t kMostPercent = 100;
constexpr std::uint32_t kMostMinimum = 1000;

std::string Trimmed(const std::string& text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string Cell(const std::vector<std::string>& row, std::size_t column) {
    return column < row.size() ? Trimmed(row[column]) : std::string();
}

bool IsBlank(const std::vector<std::string>& row) {
    return std::all_of(row.begin(), row.end(),
                       [](const std::string& cell) { return Trimmed(cell).empty(); });
}

// A whole number from 0 to most; a percentage may end in "%".
std::optional<int> ReadCount(std::string text, std::uint32_t most, bool percent) {
    if (percent && !text.empty() && text.back() == '%')
        text = Trimmed(text.substr(0, text.size() - 1));
    std::uint32_t count = 0;
    if (!ParseUnsignedCount(text.c_str(), count) || count > most)
        return std::nullopt;
    return static_cast<int>(count);
}

Result<SparesRow> ReadRow(const std::vector<std::string>& row, int number) {
    SparesRow read{std::nullopt, {0, 0}};
    if (const std::string size = Cell(row, 0); !size.empty()) {
        read.upTo = ChipSizeRank(size);
        if (!read.upTo)
            return SparesSizeUnknownMessage(number, size);
    }
    const std::optional<int> percent = ReadCount(Cell(row, 1), kMostPercent, true);
    if (!percent)
        return SparesPercentMessage(number);
    const std::optional<int> minimum = ReadCount(Cell(row, 2), kMostMinimum, false);
    if (!minimum)
        return SparesMinimumMessage(number);
    read.share = {*percent, *minimum};
    return read;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

} // namespace

std::vector<std::string> SparesColumns() {
    return {"Up to package size", "Percent", "Minimum"};
}

TableCells SparesCells(const SparesRule& rule) {
    TableCells cells;
    for (const SparesRow& row : rule.rows)
        cells.push_back({row.upTo ? ChipSizeName(*row.upTo) : std::string(),
                         std::to_string(row.share.percent), std::to_string(row.share.minimum)});
    return cells;
}

// The row without a size is known only once a row follows it.
Result<SparesRule> ReadSparesTable(const TableCells& cells) {
    SparesRule rule{{}};
    int othersRow = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (IsBlank(cells[i]))
            continue;
        const int number = static_cast<int>(i) + 1;
        Result<SparesRow> row = ReadRow(cells[i], number);
        if (!row)
            return row.failure();
        if (othersRow > 0)
            return SparesOthersNotLastMessage(othersRow);
        if (row->upTo && !rule.rows.empty() && *row->upTo <= *rule.rows.back().upTo)
            return SparesSizeNotGrowingMessage(number);
        othersRow = row->upTo ? 0 : number;
        rule.rows.push_back(std::move(row).value());
    }
    if (rule.rows.empty())
        return SparesNoRowsMessage();
    return rule;
}

std::string SparesRuleLine(const SparesRule& rule) {
    std::string line;
    for (const std::vector<std::string>& row : SparesCells(rule))
        line += (line.empty() ? "" : ";") + row[0] + "," + row[1] + "," + row[2];
    return line;
}

std::optional<SparesRule> ParseSparesRuleLine(const std::string& line) {
    TableCells cells;
    for (const std::string& row : Split(line, ';'))
        cells.push_back(Split(row, ','));
    Result<SparesRule> rule = ReadSparesTable(cells);
    if (!rule)
        return std::nullopt;
    return std::move(rule).value();
}

std::string SparesRuleSummary(const SparesRule& rule) {
    std::string summary;
    for (const SparesRow& row : rule.rows) {
        if (!summary.empty())
            summary += "; ";
        summary +=
            std::to_string(row.share.percent) + " %, at least " + std::to_string(row.share.minimum);
        if (row.upTo)
            summary += " up to " + ChipSizeName(*row.upTo);
        else if (rule.rows.size() > 1)
            summary += " otherwise";
    }
    return summary;
}

} // namespace kavelto
