#include "placement/FieldSplitting.h"

#include <cstring>
#include <initializer_list>

namespace kavelto {

namespace {

// The line being split. The position within it travels from call to call as a value, so that
// reading a field never waits on the position just stored.
struct Line {
    char* begin;
    char* end;
    char separator;

    bool isBlank(char c) const { return c == ' ' || (c == '\t' && separator != '\t'); }

    int offset(const char* p) const { return static_cast<int>(p - begin); }

    char* skipBlanks(char* p) const {
        while (p < end && isBlank(*p))
            ++p;
        return p;
    }

    // A quote ends its field where blanks, then the separator or the line end, follow it.
    bool closesField(const char* quote) const {
        const char* p = quote + 1;
        while (p < end && isBlank(*p))
            ++p;
        return p == end || *p == separator || (separator == kBlankRuns && p > quote + 1);
    }
};

// Takes the quoted field that opens at pos; returns the position after its closing quote, or
// nullptr when the line ends first.
char* TakeQuoted(const Line& line, char* pos, FieldSpan& field) {
    char* out = pos + 1;
    char* p = pos + 1;
    field.text = out;
    for (;;) {
        // The text up to the next quote moves to where unescaping has brought the output.
        char* quote =
            static_cast<char*>(std::memchr(p, '"', static_cast<std::size_t>(line.end - p)));
        if (!quote)
            return nullptr;
        const auto run = static_cast<std::size_t>(quote - p);
        if (out != p)
            std::memmove(out, p, run);
        out += run;
        p = quote;
        if (line.closesField(p))
            break;
        // A doubled quote stands for one, unless its second half ends the field.
        if (p[1] == '"' && !line.closesField(p + 1))
            ++p;
        *out++ = *p++;
    }
    field.textEnd = out;
    field.end = line.offset(p + 1);
    return p + 1;
}

// Takes the unquoted field at pos; returns the position of what ends it.
char* TakeUnquoted(const Line& line, char* pos, FieldSpan& field) {
    char* stop = pos;
    if (line.separator == kBlankRuns) {
        while (stop < line.end && !line.isBlank(*stop))
            ++stop;
    } else {
        void* sep = std::memchr(pos, line.separator, static_cast<std::size_t>(line.end - pos));
        stop = sep ? static_cast<char*>(sep) : line.end;
    }
    char* textEnd = stop;
    while (textEnd > pos && line.isBlank(textEnd[-1]))
        --textEnd;
    field.text = pos;
    field.textEnd = textEnd;
    field.end = line.offset(textEnd);
    return stop;
}

char* TakeField(const Line& line, char* pos, FieldSpan& field) {
    field.begin = line.offset(pos);
    if (pos < line.end && *pos == '"')
        return TakeQuoted(line, pos, field);
    return TakeUnquoted(line, pos, field);
}

} // namespace

int SplitFields(char* text, std::size_t length, char separator, FieldSpan* fields) {
    const Line line{text, text + length, separator};
    int count = 0;
    if (separator == kBlankRuns) {
        for (char* pos = line.skipBlanks(text); pos != line.end; pos = line.skipBlanks(pos)) {
            pos = TakeField(line, pos, fields[count++]);
            if (!pos)
                return -1;
        }
        return count;
    }
    for (char* pos = text;; ++pos) {
        pos = TakeField(line, line.skipBlanks(pos), fields[count++]);
        if (!pos)
            return -1;
        pos = line.skipBlanks(pos);
        if (pos == line.end || *pos != separator)
            return count;
    }
}

char* TakeQuotedField(char* line, char* end, char separator, char* pos, FieldSpan& field) {
    field.begin = static_cast<int>(pos - line);
    return TakeQuoted(Line{line, end, separator}, pos, field);
}

char DetectSeparator(const char* line, std::size_t length) {
    for (const char separator : {'\t', ',', ';', '!'}) {
        if (std::memchr(line, separator, length))
            return separator;
    }
    return kBlankRuns;
}

} // namespace kavelto
