#pragma once

#include <cstddef>

namespace kavelto {

// One field of a line split in place: its text, without its quotes, and where it stands.
struct FieldSpan {
    char* text;
    char* textEnd;
    int begin; // where the field stands in the line, quotes included
    int end;
};

// The separator that stands for runs of blanks.
inline constexpr char kBlankRuns = ' ';

// Splits line[0, length), which a NUL follows, into fields, rewriting quoted fields in place.
// Blanks around a field are not part of it. A field that begins with a double quote is quoted:
// it ends at a quote followed by the separator, blanks or the line end, two quotes inside stand
// for one, and a lone quote inside is text. Writes the fields to fields, which has room for
// length + 1 of them, and returns their number, or -1 when a quoted field does not end. The
// texts are not NUL-terminated: fields hold on to the bytes after them.
int SplitFields(char* text, std::size_t length, char separator, FieldSpan* fields);

// Takes the quoted field whose opening quote stands at pos of line[0, end), as SplitFields takes
// it, rewriting it in place. Returns the position after its closing quote, or nullptr when the
// line ends first.
char* TakeQuotedField(char* line, char* end, char separator, char* pos, FieldSpan& field);

// The separator a name row uses: a tab, a comma, a semicolon, an exclamation mark (Allegro's
// reports), in that order, else runs of blanks.
char DetectSeparator(const char* line, std::size_t length);

} // namespace kavelto
