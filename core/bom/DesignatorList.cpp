#include "bom/DesignatorList.h"

#include <optional>

namespace kavelto {

namespace {

// A range wider than a full part table is taken for a designator that only looks like one.
constexpr long kMaxRangeLength = 5000;

constexpr std::string_view kEnDash = "\xE2\x80\x93";

bool IsSeparator(char c) {
    return c == ',' || c == ';' || c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A designator split before its trailing number: "R12" is "R" and 12.
struct NumberedName {
    std::string_view prefix;
    long number;
};

std::optional<NumberedName> SplitNumber(std::string_view text) {
    std::size_t digits = text.size();
    while (digits > 0 && IsDigit(text[digits - 1]))
        --digits;
    const std::size_t count = text.size() - digits;
    // Leading zeros would not come back the same from the numbers in between.
    if (count == 0 || count > 6 || (count > 1 && text[digits] == '0'))
        return std::nullopt;
    return NumberedName{text.substr(0, digits), std::stol(std::string(text.substr(digits)))};
}

// Where the token's range dash stands and how long the dash is, if it has one.
std::optional<std::pair<std::size_t, std::size_t>> FindDash(std::string_view token) {
    const std::size_t dash = token.find(kEnDash);
    if (dash != std::string_view::npos)
        return std::make_pair(dash, kEnDash.size());
    const std::size_t hyphen = token.find('-');
    if (hyphen != std::string_view::npos)
        return std::make_pair(hyphen, std::size_t(1));
    return std::nullopt;
}

// Appends the designators of a range token, or returns false when the token is none.
bool AppendRange(std::string_view token, std::vector<std::string>& out) {
    const auto dash = FindDash(token);
    if (!dash)
        return false;
    const std::optional<NumberedName> first = SplitNumber(token.substr(0, dash->first));
    const std::optional<NumberedName> last = SplitNumber(token.substr(dash->first + dash->second));
    if (!first || !last || first->prefix.empty() ||
        (!last->prefix.empty() && last->prefix != first->prefix) || last->number < first->number ||
        last->number - first->number >= kMaxRangeLength)
        return false;
    for (long n = first->number; n <= last->number; ++n)
        out.push_back(std::string(first->prefix) + std::to_string(n));
    return true;
}

} // namespace

std::vector<std::string> SplitDesignators(std::string_view cell) {
    std::vector<std::string> designators;
    std::size_t pos = 0;
    while (pos < cell.size()) {
        if (IsSeparator(cell[pos])) {
            ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < cell.size() && !IsSeparator(cell[end]))
            ++end;
        const std::string_view token = cell.substr(pos, end - pos);
        if (!AppendRange(token, designators))
            designators.emplace_back(token);
        pos = end;
    }
    return designators;
}

} // namespace kavelto
