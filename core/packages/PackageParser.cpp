#include "packages/PackageParser.h"

#include "packages/PackageRules.h"

#include <charconv>
#include <cmath>
#include <regex>
#include <string>
#include <vector>

namespace kavelto {

namespace {

// Where a two-terminal part's pin 1 mark goes: this share of the body in from its end.
constexpr double kEndInset = 0.15;

const std::vector<std::regex>& CompiledPatterns() {
    static const std::vector<std::regex> patterns = [] {
        std::vector<std::regex> compiled;
        for (const PackageRule& rule : PackageRules())
            compiled.emplace_back(rule.pattern, std::regex::ECMAScript | std::regex::icase |
                                                    std::regex::optimize);
        return compiled;
    }();
    return patterns;
}

// Read without the locale: package names write a point whatever the user's language.
double NumberOf(const std::csub_match& group) {
    double value = 0.0;
    if (group.matched)
        std::from_chars(group.first, group.second, value);
    return value;
}

// The numbers the pattern captured, by group; a group that is no number reads as 0.
class CapturedNumbers {
public:
    explicit CapturedNumbers(const std::cmatch& match) {
        for (const std::csub_match& part : match)
            values_.push_back(NumberOf(part));
    }

    double operator()(const RuleNumber& number) const {
        const double value =
            number.constant + number.scale * factor(number.group) * factor(number.times);
        return number.whole ? std::floor(value) : value;
    }

private:
    double factor(int group) const {
        if (group <= 0 || static_cast<std::size_t>(group) >= values_.size())
            return 1.0;
        return values_[static_cast<std::size_t>(group)];
    }

    std::vector<double> values_;
};

std::optional<BodyRect> BodyOf(const BodyRule& rule, const CapturedNumbers& n) {
    const double a = n(rule.a);
    const double b = n(rule.b);
    const double c = n(rule.c);
    std::optional<BodyRect> body;
    switch (rule.layout) {
    case BodyLayout::None:
        return std::nullopt;
    case BodyLayout::Centred:
        body = BodyRect{-a / 2, -b / 2, a / 2, b / 2};
        break;
    case BodyLayout::PinGrid:
        body = BodyRect{-c / 2, -c / 2, (a - 1) * c + c / 2, (b - 1) * c + c / 2};
        break;
    case BodyLayout::RadialCircle:
        body = BodyRect{b / 2 - a / 2, -a / 2, b / 2 + a / 2, a / 2};
        break;
    case BodyLayout::AxialSpan:
        body = BodyRect{0.0, -b / 2, a, b / 2};
        break;
    }
    // A name whose numbers make no area (a zero size, a pitch of nothing) describes no body.
    if (!(body->right > body->left && body->bottom > body->top))
        return std::nullopt;
    return body;
}

std::optional<FootprintPoint> PinOneOf(const PinOneRule& rule, const std::optional<BodyRect>& body,
                                       const CapturedNumbers& n) {
    if (rule.layout == PinOneLayout::Origin)
        return FootprintPoint{0.0, 0.0};
    if (rule.layout == PinOneLayout::Unknown || !body)
        return std::nullopt;
    const double width = body->right - body->left;
    const double length = body->bottom - body->top;
    const double middleX = (body->left + body->right) / 2;
    const double middleY = (body->top + body->bottom) / 2;
    switch (rule.layout) {
    case PinOneLayout::LeftEnd:
        return FootprintPoint{body->left + kEndInset * width, middleY};
    case PinOneLayout::LeftRow:
        return FootprintPoint{body->left - n(rule.reach),
                              middleY - (n(rule.count) - 1) / 2 * n(rule.pitch)};
    case PinOneLayout::LoneRight:
        return FootprintPoint{body->right + n(rule.reach), middleY};
    case PinOneLayout::TopMiddle:
        return FootprintPoint{middleX, body->top - n(rule.reach)};
    case PinOneLayout::BottomLeft:
        return FootprintPoint{body->left + kEndInset * width, body->bottom - kEndInset * length};
    case PinOneLayout::Origin:
    case PinOneLayout::Unknown:
        break;
    }
    return std::nullopt;
}

// Two-terminal parts show pin 1 only where it is the side that must go one way round; a part
// with one pin has none to show.
PinOneMark MarkFor(PartKind kind, int pins) {
    if (pins == 1)
        return PinOneMark::None;
    if (pins == 2) {
        if (kind == PartKind::Diode || kind == PartKind::Led)
            return PinOneMark::CathodeBar;
        if (kind == PartKind::PolarisedCapacitor)
            return PinOneMark::Plus;
        return PinOneMark::None;
    }
    return PinOneMark::Dot;
}

PackageShape ShapeOf(const PackageRule& rule, const CapturedNumbers& n,
                     std::string_view designator) {
    PackageShape shape;
    shape.kind = rule.kind != PartKind::Unknown ? rule.kind : KindFromDesignator(designator);
    shape.body = BodyOf(rule.body, n);
    shape.pinOne = PinOneOf(rule.pinOne, shape.body, n);
    if (shape.pinOne)
        shape.mark = MarkFor(shape.kind, static_cast<int>(std::lround(n(rule.pins))));
    return shape;
}

} // namespace

PackageShape ShapeFromPackage(std::string_view package, std::string_view designator) {
    const std::vector<PackageRule>& rules = PackageRules();
    const std::vector<std::regex>& patterns = CompiledPatterns();
    std::cmatch match;
    for (std::size_t i = 0; i < rules.size(); ++i)
        if (std::regex_match(package.data(), package.data() + package.size(), match, patterns[i]))
            return ShapeOf(rules[i], CapturedNumbers(match), designator);
    PackageShape unknown;
    unknown.kind = KindFromDesignator(designator);
    return unknown;
}

} // namespace kavelto
