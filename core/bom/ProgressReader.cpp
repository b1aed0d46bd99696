#include "bom/ProgressReader.h"

#include "bom/BomMessages.h"
#include "files/TextFileReader.h"
#include "placement/ColumnNames.h"
#include "placement/FieldColumns.h"
#include "placement/LineFields.h"

#include <cctype>
#include <ctime>
#include <new>
#include <string_view>

namespace kavelto {

namespace {

constexpr std::size_t kMaxLineLength = 1 << 16;

// A spreadsheet may put a title above the name row.
constexpr int kNameRowSearchLines = 40;

// Where the columns of a progress file stand.
struct ProgressLayout {
    char separator = ',';
    int designator = kNoColumn;
    int face = kNoColumn;
    int placed = kNoColumn;
    int time = kNoColumn;
};

int ColumnNamed(const LineFields& fields, std::string_view name) {
    for (int column = 0; column < fields.count(); ++column)
        if (FoldColumnName(fields.cell(column)) == name)
            return column;
    return kNoColumn;
}

// The layout a line gives as a name row: one that names the three columns needed.
std::optional<ProgressLayout> ReadNameRow(std::string& line, LineFields& fields) {
    ProgressLayout layout;
    layout.separator = DetectSeparator(line.data(), line.size());
    if (!fields.split(line, layout.separator))
        return std::nullopt;
    layout.designator = ColumnNamed(fields, "designator");
    layout.face = ColumnNamed(fields, "face");
    layout.placed = ColumnNamed(fields, "placed");
    layout.time = ColumnNamed(fields, "timeplaced");
    if (layout.designator == kNoColumn || layout.face == kNoColumn || layout.placed == kNoColumn)
        return std::nullopt;
    return layout;
}

std::optional<Face> FaceNamed(std::string_view cell) {
    const std::string folded = FoldColumnName(cell);
    if (folded == "top")
        return Face::Top;
    if (folded == "bottom")
        return Face::Bottom;
    return std::nullopt;
}

// "2026-12-07T16:55:02Z" as seconds since the epoch; a blank may stand for the T and the Z may
// be missing, as spreadsheets rewrite such times. 0 for any other text.
std::int64_t UtcSeconds(std::string_view text) {
    if (!text.empty() && text.back() == 'Z')
        text.remove_suffix(1);
    constexpr std::string_view kShape = "0000-00-00T00:00:00";
    if (text.size() != kShape.size())
        return 0;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool fits = kShape[i] == '0'   ? std::isdigit(static_cast<unsigned char>(text[i]))
                          : kShape[i] == 'T' ? text[i] == 'T' || text[i] == ' '
                                             : text[i] == kShape[i];
        if (!fits)
            return 0;
    }
    const auto number = [text](std::size_t at, std::size_t digits) {
        int value = 0;
        for (std::size_t i = at; i < at + digits; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    std::tm utc{};
    utc.tm_year = number(0, 4) - 1900;
    utc.tm_mon = number(5, 2) - 1;
    utc.tm_mday = number(8, 2);
    utc.tm_hour = number(11, 2);
    utc.tm_min = number(14, 2);
    utc.tm_sec = number(17, 2);
    if (utc.tm_mon < 0 || utc.tm_mon > 11 || utc.tm_mday < 1 || utc.tm_mday > 31 ||
        utc.tm_hour > 23 || utc.tm_min > 59 || utc.tm_sec > 60)
        return 0;
    const std::time_t seconds = ::timegm(&utc);
    return seconds > 0 ? static_cast<std::int64_t>(seconds) : 0;
}

// The lines of one row: a quoted cell that holds line ends goes on over the next lines.
class RowReader {
public:
    explicit RowReader(TextFileReader& file) : file_(file) {}

    TextFileReader::Status nextLine(std::string& line) {
        ++lineNumber_;
        return file_.readLine(line, kMaxLineLength);
    }

    // Splits the next row into fields; the row's text stays in row.
    Result<bool> nextRow(std::string& row, LineFields& fields, char separator) {
        std::string line;
        const TextFileReader::Status status = nextLine(line);
        if (status != TextFileReader::Status::Line)
            return readEnd(status);
        const int first = lineNumber_;
        row = line;
        while (!fields.split(row, separator)) {
            std::string more;
            if (line.size() > kMaxLineLength || nextLine(more) != TextFileReader::Status::Line)
                return ErrorMessage(ProgressUnterminatedQuoteMessage(first));
            line += '\n' + more;
            row = line; // a split that failed has rewritten part of the row
        }
        return true;
    }

    int lineNumber() const { return lineNumber_; }

private:
    static Result<bool> readEnd(TextFileReader::Status status) {
        if (status == TextFileReader::Status::Error)
            return ErrorMessage(kProgressReadFailed);
        return false;
    }

    TextFileReader& file_;
    int lineNumber_ = 0;
};

Result<std::vector<ProgressMark>> ReadRows(TextFileReader& file) {
    RowReader rows(file);
    LineFields fields;
    std::string line;
    std::optional<ProgressLayout> layout;
    while (!layout && rows.lineNumber() < kNameRowSearchLines) {
        const TextFileReader::Status status = rows.nextLine(line);
        if (status == TextFileReader::Status::Error)
            return ErrorMessage(kProgressReadFailed);
        if (status == TextFileReader::Status::End)
            break;
        layout = ReadNameRow(line, fields);
    }
    if (!layout)
        return ErrorMessage(NoProgressNameRowMessage(kNameRowSearchLines));
    std::vector<ProgressMark> marks;
    for (;;) {
        const Result<bool> row = rows.nextRow(line, fields, layout->separator);
        if (!row)
            return row.failure();
        if (!row.value())
            return marks;
        const std::string_view designator = fields.cell(layout->designator);
        if (designator.empty() || FoldColumnName(fields.cell(layout->placed)) != "yes")
            continue;
        marks.push_back({std::string(designator), FaceNamed(fields.cell(layout->face)),
                         UtcSeconds(fields.cell(layout->time))});
    }
}

} // namespace

Result<std::vector<ProgressMark>> ReadProgressFile(const std::string& path) {
    try {
        TextFileReader file(path, TextFileReader::LineEnds::FeedOrReturn);
        if (!file.isOpen())
            return ErrorMessage(kProgressNotOpened);
        return ReadRows(file);
    } catch (const std::bad_alloc&) {
        return ErrorMessage(kProgressReadFailed);
    }
}

} // namespace kavelto
