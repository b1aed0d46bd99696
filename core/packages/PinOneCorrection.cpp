#include "packages/PinOneCorrection.h"

#include <sstream>

namespace kavelto {

namespace {

constexpr int kQuarterTurns = 4;

// A point of the footprint turned a quarter clockwise about the body's middle, Y downwards; the
// point keeps its share of the body's half sizes, so that on a long body an end stays an end.
FootprintPoint TurnedClockwise(const FootprintPoint& point, const BodyRect& body) {
    const double middleX = (body.left + body.right) / 2;
    const double middleY = (body.top + body.bottom) / 2;
    const double halfWidth = (body.right - body.left) / 2;
    const double halfHeight = (body.bottom - body.top) / 2;
    const double u = (point.x - middleX) / halfWidth;
    const double v = (point.y - middleY) / halfHeight;
    return {middleX - v * halfWidth, middleY + u * halfHeight};
}

FootprintPoint Mirrored(const FootprintPoint& point, const BodyRect& body) {
    return {body.left + body.right - point.x, point.y};
}

} // namespace

PinOneCorrection Followed(PinOneCorrection correction, PinOneStep step) {
    switch (step) {
    case PinOneStep::TurnClockwise:
        correction.quarterTurns += 1;
        break;
    case PinOneStep::TurnAnticlockwise:
        correction.quarterTurns += kQuarterTurns - 1;
        break;
    case PinOneStep::TurnHalf:
        correction.quarterTurns += 2;
        break;
    case PinOneStep::Mirror:
        // A mirror after a turn is the opposite turn after a mirror.
        correction.mirrored = !correction.mirrored;
        correction.quarterTurns *= -1;
        break;
    case PinOneStep::HideOrShow:
        correction.hidden = !correction.hidden;
        break;
    case PinOneStep::Reset:
        return {};
    }
    correction.quarterTurns =
        ((correction.quarterTurns % kQuarterTurns) + kQuarterTurns) % kQuarterTurns;
    return correction;
}

PackageShape Corrected(PackageShape shape, const PinOneCorrection& correction) {
    if (correction.hidden) {
        shape.pinOne.reset();
        shape.mark = PinOneMark::None;
        return shape;
    }
    if (!shape.pinOne || !shape.body)
        return shape;
    FootprintPoint pinOne = *shape.pinOne;
    if (correction.mirrored)
        pinOne = Mirrored(pinOne, *shape.body);
    for (int turn = 0; turn < correction.quarterTurns; ++turn)
        pinOne = TurnedClockwise(pinOne, *shape.body);
    shape.pinOne = pinOne;
    return shape;
}

PinOneCorrections PinOneCorrections::FromText(const std::string& text) {
    PinOneCorrections corrections;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos || tab + 1 == line.size())
            continue;
        std::istringstream numbers(line.substr(0, tab));
        PinOneCorrection correction;
        std::string rest;
        if (!(numbers >> correction.quarterTurns >> correction.mirrored >> correction.hidden) ||
            (numbers >> rest) || correction.quarterTurns < 0 ||
            correction.quarterTurns >= kQuarterTurns)
            continue;
        corrections.set(line.substr(tab + 1), correction);
    }
    return corrections;
}

std::string PinOneCorrections::toText() const {
    std::string text;
    for (const auto& [package, correction] : byPackage_)
        text += std::to_string(correction.quarterTurns) + ' ' + (correction.mirrored ? "1" : "0") +
                ' ' + (correction.hidden ? "1" : "0") + '\t' + package + '\n';
    return text;
}

PinOneCorrection PinOneCorrections::of(const std::string& package) const {
    const auto found = byPackage_.find(package);
    return found == byPackage_.end() ? PinOneCorrection{} : found->second;
}

void PinOneCorrections::set(const std::string& package, const PinOneCorrection& correction) {
    if (correction == PinOneCorrection{})
        byPackage_.erase(package);
    else
        byPackage_[package] = correction;
}

} // namespace kavelto
