#include "placement/ClassicLineConverter.h"

#include "placement/FieldSplitting.h"
#include "placement/PartFields.h"
#include "placement/PlacementMessages.h"

#include <cstring>

namespace kavelto {

namespace {

constexpr std::size_t kFieldCapacity = 255; // 254 characters and a NUL

// Splits one line into fields, one call per field, into one fixed buffer.
class FieldSplitter {
public:
    FieldSplitter(char* line, std::size_t length, char separator)
        : line_(line), pos_(line), end_(line + length), separator_(separator) {}

    // Copies the next field's text into field; returns an error message or nullptr.
    const char* next(char (&field)[kFieldCapacity]) {
        // With a blank as separator, columns are often lined up with runs of blanks.
        if (separator_ == ' ')
            pos_ = skipBlanks(pos_);
        if (pos_ == end_)
            return kNotEnoughFields;
        return *pos_ == '"' ? quoted(field) : unquoted(field);
    }

private:
    // The field ends at a quote that the separator or the line end follows, blanks between
    // allowed, so that a quote inside the text (KiCad writes "LED "red"") keeps the later fields
    // in their columns.
    const char* quoted(char (&field)[kFieldCapacity]) {
        FieldSpan span{};
        char* closed = TakeQuotedField(line_, end_, separator_, pos_, span);
        if (!closed)
            return kUnterminatedQuote;
        store(field, span.text, span.textEnd);
        pos_ = skipBlanks(closed);
        if (pos_ < end_ && *pos_ == separator_)
            ++pos_;
        return nullptr;
    }

    const char* unquoted(char (&field)[kFieldCapacity]) {
        void* sep = std::memchr(pos_, separator_, static_cast<std::size_t>(end_ - pos_));
        char* stop = sep ? static_cast<char*>(sep) : end_;
        if (stop - pos_ > static_cast<std::ptrdiff_t>(kFieldCapacity - 1))
            return kFieldTooLong;
        store(field, pos_, stop);
        pos_ = sep ? stop + 1 : end_;
        return nullptr;
    }

    char* skipBlanks(char* p) const {
        while (p < end_ && (*p == ' ' || (*p == '\t' && separator_ != '\t')))
            ++p;
        return p;
    }

    static void store(char (&field)[kFieldCapacity], const char* from, const char* to) {
        const std::size_t n = static_cast<std::size_t>(to - from);
        std::memcpy(field, from, n);
        field[n] = '\0';
    }

    char* line_;
    char* pos_;
    char* end_;
    char separator_;
};

} // namespace

// A position column without a number would put the part at a place the file never gave: a name
// row left in by a header count one too small, say.
Result<void> ClassicLineConverter::convert(char* line, std::size_t length, int lineNumber,
                                           PartRecord& record) {
    FieldSplitter splitter(line, length, map_.separator);
    const bool decimalComma = map_.separator != ',';
    char field[kFieldCapacity];
    for (int p = 0; p < map_.fieldCount; ++p) {
        if (const char* error = splitter.next(field))
            return ErrorMessage(error);
        const FieldCode code = map_.codeOfColumn(p);
        if (!ConvertField(code, field, record, decimalComma) &&
            (code == FieldCode::X || code == FieldCode::Y))
            return ErrorMessage(NoPositionMessage(lineNumber));
    }
    return {};
}

} // namespace kavelto
