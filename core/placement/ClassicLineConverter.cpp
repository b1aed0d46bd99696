#include "placement/ClassicLineConverter.h"

#include "placement/PartFields.h"
#include "placement/PlacementMessages.h"

#include <cstring>

namespace kavelto {

namespace {

constexpr std::size_t kFieldCapacity = 255; // 254 characters and a NUL

// Splits one line into fields, one call per field, into one fixed buffer.
class FieldSplitter {
public:
    FieldSplitter(const char* line, std::size_t length, char separator)
        : pos_(line), end_(line + length), separator_(separator) {}

    // Copies the next field's text into field; returns an error message or nullptr.
    const char* next(char (&field)[kFieldCapacity]) {
        // With a blank as separator, columns are often lined up with runs of blanks.
        if (separator_ == ' ') {
            while (pos_ < end_ && *pos_ == ' ')
                ++pos_;
        }
        if (pos_ == end_)
            return kNotEnoughFields;
        return *pos_ == '"' ? quoted(field) : unquoted(field);
    }

private:
    const char* quoted(char (&field)[kFieldCapacity]) {
        const char* open = pos_;
        const void* close = std::memchr(open + 1, '"', static_cast<std::size_t>(end_ - open - 1));
        if (!close)
            return kUnterminatedQuote;
        const char* closing = static_cast<const char*>(close);
        store(field, open + 1, closing);
        // The character after the closing quote should be the separator; it is passed over.
        pos_ = end_ - closing >= 2 ? closing + 2 : end_;
        return nullptr;
    }

    const char* unquoted(char (&field)[kFieldCapacity]) {
        const void* sep = std::memchr(pos_, separator_, static_cast<std::size_t>(end_ - pos_));
        const char* stop = sep ? static_cast<const char*>(sep) : end_;
        if (stop - pos_ > static_cast<std::ptrdiff_t>(kFieldCapacity - 1))
            return kFieldTooLong;
        store(field, pos_, stop);
        pos_ = sep ? stop + 1 : end_;
        return nullptr;
    }

    static void store(char (&field)[kFieldCapacity], const char* from, const char* to) {
        const std::size_t n = static_cast<std::size_t>(to - from);
        std::memcpy(field, from, n);
        field[n] = '\0';
    }

    const char* pos_;
    const char* end_;
    char separator_;
};

} // namespace

Result<void> ClassicLineConverter::convert(char* line, std::size_t length, int /*lineNumber*/,
                                           PartRecord& record) {
    FieldSplitter splitter(line, length, map_.separator);
    const bool decimalComma = map_.separator != ',';
    char field[kFieldCapacity];
    for (int p = 0; p < map_.fieldCount; ++p) {
        if (const char* error = splitter.next(field))
            return ErrorMessage(error);
        ConvertField(map_.codeOfColumn(p), field, record, decimalComma);
    }
    return {};
}

} // namespace kavelto
