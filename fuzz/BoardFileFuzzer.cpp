// Any bytes as a board file: the reader either refuses it with a reason or gives footprints
// whose numbers are all finite and whose bodies have an area, and every shape made from them
// has its pin 1 among its own pads.

#include "ScratchFolder.h"
#include "boardfile/FootprintShape.h"
#include "boardfile/KicadBoardReader.h"

#include <cmath>
#include <string_view>
#include <vector>

using namespace kavelto;

namespace {

bool Finite(const FootprintPoint& point) {
    return std::isfinite(point.x) && std::isfinite(point.y);
}

void CheckPad(const BoardPad& pad) {
    Require(Finite(pad.at) && std::isfinite(pad.width) && std::isfinite(pad.height) &&
                std::isfinite(pad.angle),
            "pad numbers finite");
}

void CheckFootprint(const BoardFootprint& footprint) {
    Require(std::isfinite(footprint.x) && std::isfinite(footprint.y) &&
                std::isfinite(footprint.rotation),
            "footprint placement finite");
    for (const BoardPad& pad : footprint.pads)
        CheckPad(pad);
    if (const std::optional<BodyRect>& body = footprint.body)
        Require(body->left < body->right && body->top < body->bottom, "a body has an area");
    if (const BoardPad* pinOne = PinOnePad(footprint))
        Require(pinOne >= footprint.pads.data() &&
                    pinOne < footprint.pads.data() + footprint.pads.size(),
                "pin 1 is one of the footprint's pads");
    const PackageShape shape = ShapeFromFootprint(footprint, PartKind::Unknown);
    if (shape.pinOne)
        Require(Finite(*shape.pinOne), "pin 1 finite");
    for (const std::vector<FootprintPoint>& pad : shape.pads)
        for (const FootprintPoint& point : pad)
            Require(Finite(point), "pad outline finite");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Result<std::vector<BoardFootprint>> read = ReadKicadBoard(text);
    if (!read) {
        Require(!read.failure().text.empty(), "a refusal says why");
        return 0;
    }
    for (const BoardFootprint& footprint : read.value())
        CheckFootprint(footprint);
    return 0;
}
