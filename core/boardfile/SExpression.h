#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace kavelto {

// One element of an S-expression text: an atom (a bare word or a quoted string, its quotes
// taken off) or a parenthesised list. Atoms view the text they were read from, which must
// outlive them.
class SExpression {
public:
    static SExpression Atom(std::string_view text) { return SExpression(text); }
    static SExpression List() { return SExpression(); }

    bool isList() const { return isList_; }
    std::string_view atom() const { return atom_; }
    const std::vector<SExpression>& items() const { return items_; }
    std::vector<SExpression>& items() { return items_; }

    // A list's first atom, its keyword; empty for an atom or a list without one.
    std::string_view head() const;
    // The first list among the items with this keyword, or nullptr.
    const SExpression* find(std::string_view keyword) const;
    // The item at index as text, empty where there is no atom there.
    std::string_view text(std::size_t index) const;
    // The item at index as a number, or nothing where it is no number.
    std::optional<double> number(std::size_t index) const;

private:
    explicit SExpression(std::string_view atom) : atom_(atom), isList_(false) {}
    SExpression() : isList_(true) {}

    std::string_view atom_;
    bool isList_;
    std::vector<SExpression> items_;
};

// Hands take each list directly inside the text's first list, in order, whose keyword is
// wanted, read whole; the other items are passed over without being kept, so that a large
// file never stands in memory as one tree. False where the first list's keyword is not
// keyword, or the text ends inside it or breaks the rules a whole read holds it to.
bool ReadItemsOf(std::string_view text, std::string_view keyword, std::string_view wanted,
                 const std::function<void(const SExpression&)>& take);

} // namespace kavelto
