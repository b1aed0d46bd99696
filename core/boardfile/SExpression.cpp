#include "boardfile/SExpression.h"

#include <charconv>
#include <functional>

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

    // The first list's items with the keyword wanted go to take whole; the others are passed
    // over. False where the first list is not whole or its keyword is another.
    bool readItemsOf(std::string_view keyword, std::string_view wanted,
                     const std::function<void(const SExpression&)>& take) {
        skipSpace();
        if (!atListStart() || keywordAhead() != keyword)
            return false;
        ++at_;
        while (true) {
            skipSpace();
            if (at_ >= text_.size())
                return false;
            if (text_[at_] == ')')
                return true;
            if (!atListStart()) {
                if (!readAtom())
                    return false;
            } else if (keywordAhead() == wanted) {
                const std::optional<SExpression> item = parseList(1);
                if (!item)
                    return false;
                take(*item);
            } else if (!skipList(1)) {
                return false;
            }
        }
    }

private:
    bool atListStart() const { return at_ < text_.size() && text_[at_] == '('; }

    // The keyword of the list starting at at_, read without moving.
    std::string_view keywordAhead() {
        const std::size_t start = at_;
        ++at_;
        skipSpace();
        const std::string_view keyword =
            at_ < text_.size() && text_[at_] != '(' && text_[at_] != ')' && text_[at_] != '"'
                ? readBare()
                : std::string_view();
        at_ = start;
        return keyword;
    }

    // The list starting at at_ inside `outer` others, read whole, at_ past its end.
    std::optional<SExpression> parseList(std::size_t outer) {
        if (!atListStart())
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
                if (outer + open.size() >= kMaxDepth)
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

    // Past the list starting at at_ inside `outer` others, held to the same rules as one read,
    // keeping nothing.
    bool skipList(std::size_t outer) {
        std::size_t depth = outer;
        do {
            skipSpace();
            if (at_ >= text_.size())
                return false;
            const char c = text_[at_];
            if (c == '(') {
                if (++depth > kMaxDepth)
                    return false;
                ++at_;
            } else if (c == ')') {
                --depth;
                ++at_;
            } else if (!readAtom()) {
                return false;
            }
        } while (depth > outer);
        return true;
    }

    bool readAtom() {
        if (text_[at_] == '"')
            return readQuoted().has_value();
        readBare();
        return true;
    }

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

bool ReadItemsOf(std::string_view text, std::string_view keyword, std::string_view wanted,
                 const std::function<void(const SExpression&)>& take) {
    return Parser(text).readItemsOf(keyword, wanted, take);
}

} // namespace kavelto
