#include "ChipSize.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace kavelto {

namespace {

struct ChipSize {
    const char* imperial;
    const char* metric;
};

// In growing order: the index is the rank.
constexpr ChipSize kSizes[] = {
    {"01005", "0402"}, {"0201", "0603"}, {"0402", "1005"}, {"0603", "1608"},
    {"0805", "2012"},  {"1008", "2520"}, {"1206", "3216"}, {"1210", "3225"},
    {"1806", "4516"},  {"1812", "4532"}, {"2010", "5025"}, {"2512", "6332"},
};

bool StartsWithMetric(std::string_view text) {
    constexpr std::string_view kMetric = "metric";
    return text.size() >= kMetric.size() &&
           std::equal(kMetric.begin(), kMetric.end(), text.begin(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

// A run of digits is metric when "Metric" follows it, or when it stands between an IPC name's
// "C" and "X" (RESC1005X40N); else imperial.
bool IsMetricRun(std::string_view package, std::size_t begin, std::size_t end) {
    const auto is = [&](std::size_t at, char letter) {
        return std::toupper(static_cast<unsigned char>(package[at])) == letter;
    };
    return StartsWithMetric(package.substr(end)) ||
           (begin > 0 && end < package.size() && is(begin - 1, 'C') && is(end, 'X'));
}

std::optional<int> RankOf(std::string_view digits, bool metric) {
    for (std::size_t rank = 0; rank < std::size(kSizes); ++rank)
        if (digits == (metric ? kSizes[rank].metric : kSizes[rank].imperial))
            return static_cast<int>(rank);
    return std::nullopt;
}

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

// The first run of four or five digits that names a size counts.
std::optional<int> ChipSizeRank(std::string_view package) {
    for (std::size_t begin = 0; begin < package.size();) {
        if (!IsDigit(package[begin])) {
            ++begin;
            continue;
        }
        std::size_t end = begin;
        while (end < package.size() && IsDigit(package[end]))
            ++end;
        if (end - begin == 4 || end - begin == 5)
            if (const std::optional<int> rank =
                    RankOf(package.substr(begin, end - begin), IsMetricRun(package, begin, end)))
                return rank;
        begin = end;
    }
    return std::nullopt;
}

std::string ChipSizeName(int rank) {
    return kSizes[static_cast<std::size_t>(rank)].imperial;
}

} // namespace kavelto
