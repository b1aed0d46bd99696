#include "boardfile/FootprintShape.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kavelto {

namespace {

std::optional<long> NumberOf(const std::string& name) {
    long value = 0;
    const std::from_chars_result read =
        std::from_chars(name.data(), name.data() + name.size(), value);
    if (read.ec != std::errc() || read.ptr != name.data() + name.size())
        return std::nullopt;
    return value;
}

const BoardPad* Named(const BoardFootprint& footprint, const char* name) {
    const auto found = std::find_if(footprint.pads.begin(), footprint.pads.end(),
                                    [name](const BoardPad& pad) { return pad.name == name; });
    return found == footprint.pads.end() ? nullptr : &*found;
}

const BoardPad* LowestNumbered(const BoardFootprint& footprint) {
    const BoardPad* lowest = nullptr;
    std::optional<long> lowestNumber;
    for (const BoardPad& pad : footprint.pads) {
        const std::optional<long> number = NumberOf(pad.name);
        if (number && (!lowestNumber || *number < *lowestNumber)) {
            lowest = &pad;
            lowestNumber = number;
        }
    }
    return lowest;
}

// The pads that belong to pins, each name once.
int PinCount(const BoardFootprint& footprint) {
    std::vector<std::string> names;
    for (const BoardPad& pad : footprint.pads)
        if (!pad.name.empty() && std::find(names.begin(), names.end(), pad.name) == names.end())
            names.push_back(pad.name);
    return static_cast<int>(names.size());
}

struct Mark {
    const BoardPad* pad;
    PinOneMark mark;
};

Mark MarkOf(const BoardFootprint& footprint, PartKind kind) {
    if (const BoardPad* cathode = Named(footprint, "K"); cathode && Named(footprint, "A"))
        return {cathode, PinOneMark::CathodeBar};
    if (const BoardPad* positive = Named(footprint, "+"); positive && Named(footprint, "-"))
        return {positive, PinOneMark::Plus};
    const BoardPad* pinOne = PinOnePad(footprint);
    const int pins = PinCount(footprint);
    if (!pinOne || pins <= 1)
        return {pinOne, PinOneMark::None};
    if (pins > 2)
        return {pinOne, PinOneMark::Dot};
    if (kind == PartKind::Diode || kind == PartKind::Led)
        return {pinOne, PinOneMark::CathodeBar};
    if (kind == PartKind::PolarisedCapacitor)
        return {pinOne, PinOneMark::Plus};
    return {pinOne, PinOneMark::None};
}

constexpr double kPi = 3.14159265358979323846;
// Round pads are drawn as polygons of this many corners.
constexpr int kRoundPadCorners = 16;

// A pad's outline in the footprint: a rectangle, or for round and oval pads a rounded one,
// turned by the pad's own angle about its centre.
std::vector<FootprintPoint> PadOutline(const BoardPad& pad) {
    std::vector<FootprintPoint> outline;
    const double w = pad.width / 2;
    const double h = pad.height / 2;
    if (pad.shape == PadShape::Circle || pad.shape == PadShape::Oval) {
        // An oval is a stadium: semicircles on the shorter side's diameter.
        const double r = std::min(w, h);
        for (int i = 0; i < kRoundPadCorners; ++i) {
            const double a = 2 * kPi * i / kRoundPadCorners;
            const double cx = std::cos(a) >= 0 ? w - r : r - w;
            const double cy = std::sin(a) >= 0 ? h - r : r - h;
            outline.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
        }
    } else {
        outline = {{-w, -h}, {w, -h}, {w, h}, {-w, h}};
    }
    // The file's pad angle turns anticlockwise as seen, with Y downwards.
    const double angle = -pad.angle * kPi / 180.0;
    for (FootprintPoint& p : outline)
        p = {pad.at.x + p.x * std::cos(angle) - p.y * std::sin(angle),
             pad.at.y + p.x * std::sin(angle) + p.y * std::cos(angle)};
    return outline;
}

} // namespace

const BoardPad* PinOnePad(const BoardFootprint& footprint) {
    for (const char* name : {"1", "A1"})
        if (const BoardPad* pad = Named(footprint, name))
            return pad;
    if (const BoardPad* lowest = LowestNumbered(footprint))
        return lowest;
    const auto named = std::find_if(footprint.pads.begin(), footprint.pads.end(),
                                    [](const BoardPad& pad) { return !pad.name.empty(); });
    return named == footprint.pads.end() ? nullptr : &*named;
}

PackageShape ShapeFromFootprint(const BoardFootprint& footprint, PartKind kind) {
    PackageShape shape;
    shape.kind = kind;
    shape.body = footprint.body;
    const Mark mark = MarkOf(footprint, kind);
    if (mark.pad)
        shape.pinOne = mark.pad->at;
    shape.mark = mark.pad ? mark.mark : PinOneMark::None;
    for (const BoardPad& pad : footprint.pads)
        shape.pads.push_back(PadOutline(pad));
    return shape;
}

} // namespace kavelto
