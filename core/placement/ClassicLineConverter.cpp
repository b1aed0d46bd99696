#include "placement/ClassicLineConverter.h"

#include "placement/FieldSplitting.h"
#include "placement/PartFields.h"
#include "placement/PlacementMessages.h"

#include <cstring>

namespace kavelto {

namespace {

constexpr std::ptrdiff_t kMaxFieldLength = 254;

// Splits one line into fields, one call per field. Each field's text is ended with a NUL where it
// stands in the line, which the converters read in place.
class FieldSplitter {
public:
    FieldSplitter(char* line, std::size_t length, char separator)
        : line_(line), pos_(line), end_(line + length), separator_(separator) {}

    // Points field at the next field's text and sets its length; returns an error message or
    // nullptr.
    const char* next(char*& field, std::size_t& length) {
        // With a blank as separator, columns are often lined up with runs of blanks.
        if (separator_ == ' ')
            pos_ = skipBlanks(pos_);
        if (pos_ == end_)
            return kNotEnoughFields;
        return *pos_ == '"' ? quoted(field, length) : unquoted(field, length);
    }

private:
    // The field ends at a quote that the separator or the line end follows, blanks between
    // allowed, so that a quote inside the text (KiCad writes "LED "red"") keeps the later fields
    // in their columns.
    const char* quoted(char*& field, std::size_t& length) {
        FieldSpan span{};
        char* closed = TakeQuotedField(line_, end_, separator_, pos_, span);
        if (!closed)
            return kUnterminatedQuote;
        // The text ends at or before its closing quote, which lies behind the reading.
        *span.textEnd = '\0';
        field = span.text;
        length = static_cast<std::size_t>(span.textEnd - span.text);
        pos_ = skipBlanks(closed);
        if (pos_ < end_ && *pos_ == separator_)
            ++pos_;
        return nullptr;
    }

    // The line's own NUL ends its last field.
    const char* unquoted(char*& field, std::size_t& length) {
        void* sep = std::memchr(pos_, separator_, static_cast<std::size_t>(end_ - pos_));
        char* stop = sep ? static_cast<char*>(sep) : end_;
        if (stop - pos_ > kMaxFieldLength)
            return kFieldTooLong;
        *stop = '\0';
        field = pos_;
        length = static_cast<std::size_t>(stop - pos_);
        pos_ = sep ? stop + 1 : end_;
        return nullptr;
    }

    char* skipBlanks(char* p) const {
        while (p < end_ && (*p == ' ' || (*p == '\t' && separator_ != '\t')))
            ++p;
        return p;
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
    char* field = nullptr;
    std::size_t fieldLength = 0;
    for (int p = 0; p < map_.fieldCount; ++p) {
        if (const char* error = splitter.next(field, fieldLength))
            return ErrorMessage(error);
        const FieldCode code = map_.codeOfColumn(p);
        if (!ConvertField(code, field, fieldLength, record, decimalComma) &&
            (code == FieldCode::X || code == FieldCode::Y))
            return ErrorMessage(NoPositionMessage(lineNumber));
    }
    return {};
}

} // namespace kavelto
