#pragma once

#include "packages/PartKind.h"

namespace kavelto {

// A number a rule reads from a package name: constant + scale * n[group] * n[times], where n[i]
// is the i-th number the rule's pattern captured (group 0 and times 0 stand for 1), rounded
// down to a whole number when whole is set (pins on a side, where an exposed pad is counted in).
struct RuleNumber {
    int group = 0;
    double scale = 0.0;
    double constant = 0.0;
    int times = 0;
    bool whole = false;
};

constexpr RuleNumber Fixed(double value) {
    return {0, 0.0, value, 0, false};
}
constexpr RuleNumber Captured(int group, double scale = 1.0, double constant = 0.0) {
    return {group, scale, constant, 0, false};
}
// Pins on a side times their pitch, plus a constant: a row's length.
constexpr RuleNumber CapturedProduct(int group, int times, double scale, double constant) {
    return {group, scale, constant, times, false};
}
constexpr RuleNumber CapturedWhole(int group, double scale) {
    return {group, scale, 0.0, 0, true};
}

// Where the body lies around the footprint's origin.
enum class BodyLayout {
    None,
    Centred,      // a: width (X), b: length (Y), around the origin
    PinGrid,      // a: columns, b: rows, c: pitch; pin 1 at the origin, rows growing down
    RadialCircle, // a: diameter, b: pitch; pin 1 at the origin, pin 2 to its right
    AxialSpan,    // a: pitch, b: diameter; the leads' run from pin 1 at the origin to pin 2
};

struct BodyRule {
    BodyLayout layout = BodyLayout::None;
    RuleNumber a{}, b{}, c{};
};

constexpr BodyRule NoBody() {
    return {};
}
constexpr BodyRule Centred(RuleNumber width, RuleNumber length) {
    return {BodyLayout::Centred, width, length, {}};
}
constexpr BodyRule PinGrid(RuleNumber columns, RuleNumber rows, RuleNumber pitch) {
    return {BodyLayout::PinGrid, columns, rows, pitch};
}
constexpr BodyRule RadialCircle(RuleNumber diameter, RuleNumber pitch) {
    return {BodyLayout::RadialCircle, diameter, pitch, {}};
}
constexpr BodyRule AxialSpan(RuleNumber pitch, RuleNumber diameter) {
    return {BodyLayout::AxialSpan, pitch, diameter, {}};
}

// Where pin 1 lies at rotation 0, relative to the centred body where one is needed.
enum class PinOneLayout {
    Unknown,    // the library's zero orientation is not known for certain: no mark
    Origin,     // at the footprint's origin, as through-hole libraries put it
    LeftEnd,    // the left terminal of a two-terminal body
    LeftRow,    // first of count pins at pitch down the left side, reach beyond the body's edge
    LoneRight,  // the lone pin on the right side, reach beyond the body's edge
    TopMiddle,  // the middle of the top side, reach beyond the body's edge
    BottomLeft, // the bottom-left pad of a four-pad body
};

struct PinOneRule {
    PinOneLayout layout = PinOneLayout::Unknown;
    RuleNumber count{}, pitch{}, reach{};
};

constexpr PinOneRule NoPinOne() {
    return {};
}
constexpr PinOneRule AtOrigin() {
    return {PinOneLayout::Origin, {}, {}, {}};
}
constexpr PinOneRule AtLeftEnd() {
    return {PinOneLayout::LeftEnd, {}, {}, {}};
}
constexpr PinOneRule LeftRow(RuleNumber count, RuleNumber pitch, RuleNumber reach) {
    return {PinOneLayout::LeftRow, count, pitch, reach};
}
constexpr PinOneRule LoneRight(RuleNumber reach) {
    return {PinOneLayout::LoneRight, {}, {}, reach};
}
constexpr PinOneRule TopMiddle(RuleNumber reach) {
    return {PinOneLayout::TopMiddle, {}, {}, reach};
}
constexpr PinOneRule AtBottomLeft() {
    return {PinOneLayout::BottomLeft, {}, {}, {}};
}

// One family of package names: a pattern over the whole name (ECMAScript, case ignored), what
// the family is, and how its body, pin 1 and pin count follow from the numbers the pattern
// captures.
struct PackageRule {
    const char* pattern;
    PartKind kind; // Unknown: the designator tells
    BodyRule body;
    PinOneRule pinOne;
    RuleNumber pins; // 0 where the name does not tell
};

} // namespace kavelto
