#include "boardfile/FootprintShape.h"

#include <algorithm>
#include <charconv>

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
    return shape;
}

} // namespace kavelto
