#include "boardfile/SExpression.h"

#include <charconv>

namespace kavelto {

namespace {

// Lists nest no deeper than this in any board file; deeper text is taken as damaged rather
// than followed down the stack.
constexpr std::size_t kMaxDepth = 256;

bool IsSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<SExpression> parse() {
        skipSpace();
        if (at_ >= text_.size() || text_[at_] != '(')
            return std::nullopt;
        std::vector<SExpression> open;
        open.push_back(SExpression::List());
        ++at_;
        while (true) {
            skipSpace();
            if (at_ >= text_.size())
                return std::nullopt;
            const char c = text_[at_];
            if (c == '(') {
                if (open.size() >= kMaxDepth)
                    return std::nullopt;
                open.push_back(SExpression::List());
                ++at_;
            } else if (c == ')') {
                ++at_;
                SExpression done = std::move(open.back());
                open.pop_back();
                if (open.empty())
                    return done;
                open.back().items().push_back(std::move(done));
            } else if (c == '"') {
                const std::optional<std::string_view> quoted = readQuoted();
                if (!quoted)
                    return std::nullopt;
                open.back().items().push_back(SExpression::Atom(*quoted));
            } else {
                open.back().items().push_back(SExpression::Atom(readBare()));
            }
        }
    }

private:
    void skipSpace() {
        while (at_ < text_.size() && IsSpace(text_[at_]))
            ++at_;
    }

    // The text between the quotes as written; a backslash keeps the character after it inside.
    std::optional<std::string_view> readQuoted() {
        const std::size_t start = ++at_;
        while (at_ < text_.size() && text_[at_] != '"')
            at_ += text_[at_] == '\\' ? 2 : 1;
        if (at_ >= text_.size())
            return std::nullopt;
        return text_.substr(start, at_++ - start);
    }

    std::string_view readBare() {
        const std::size_t start = at_;
        while (at_ < text_.size() && !IsSpace(text_[at_]) && text_[at_] != '(' && text_[at_] != ')')
            ++at_;
        return text_.substr(start, at_ - start);
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

std::string_view SExpression::head() const {
    return text(0);
}

const SExpression* SExpression::find(std::string_view keyword) const {
    for (const SExpression& item : items_)
        if (item.isList_ && item.head() == keyword)
            return &item;
    return nullptr;
}

std::string_view SExpression::text(std::size_t index) const {
    if (index >= items_.size() || items_[index].isList_)
        return {};
    return items_[index].atom_;
}

std::optional<double> SExpression::number(std::size_t index) const {
    const std::string_view word = text(index);
    if (word.empty())
        return std::nullopt;
    double value = 0.0;
    const std::from_chars_result read =
        std::from_chars(word.data(), word.data() + word.size(), value);
    if (read.ec != std::errc() || read.ptr != word.data() + word.size())
        return std::nullopt;
    return value;
}

std::optional<SExpression> ParseSExpression(std::string_view text) {
    return Parser(text).parse();
}

} // namespace kavelto
