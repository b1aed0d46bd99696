#include "packages/PartOutline.h"

#include "parts/Face.h"

#include <cmath>

namespace kavelto {

namespace {

constexpr double kPi = 3.14159265358979323846;
// A cathode bar runs across this share of the body's width at pin 1.
constexpr double kBarShare = 0.8;

std::optional<PlanePoint> ToPicture(const FootprintPoint& point, const Placement& placement,
                                    const ProjectiveMap& map) {
    return MapPoint(map, FootprintToBoard(point, placement));
}

// The bar across the body through pin 1, square to the line from pin 1 to the body's middle.
std::optional<std::array<FootprintPoint, 2>> BarAcross(const BodyRect& body,
                                                       const FootprintPoint& pinOne) {
    const FootprintPoint middle{(body.left + body.right) / 2, (body.top + body.bottom) / 2};
    const double dx = middle.x - pinOne.x;
    const double dy = middle.y - pinOne.y;
    const double distance = std::hypot(dx, dy);
    if (distance == 0.0)
        return std::nullopt;
    // Across a horizontal run the bar spans the body's height, across a vertical one its width.
    const double across =
        (std::fabs(dx) >= std::fabs(dy) ? body.bottom - body.top : body.right - body.left) *
        kBarShare / 2;
    const double ux = -dy / distance * across;
    const double uy = dx / distance * across;
    return std::array<FootprintPoint, 2>{FootprintPoint{pinOne.x + ux, pinOne.y + uy},
                                         FootprintPoint{pinOne.x - ux, pinOne.y - uy}};
}

std::optional<std::array<PlanePoint, 4>>
CornersOnPicture(const BodyRect& body, const Placement& placement, const ProjectiveMap& map) {
    const FootprintPoint corners[4] = {{body.left, body.top},
                                       {body.right, body.top},
                                       {body.right, body.bottom},
                                       {body.left, body.bottom}};
    std::array<PlanePoint, 4> onPicture{};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::optional<PlanePoint> pixel = ToPicture(corners[i], placement, map);
        if (!pixel)
            return std::nullopt;
        onPicture[i] = *pixel;
    }
    return onPicture;
}

void MarkOnPicture(const PackageShape& shape, const Placement& placement, const ProjectiveMap& map,
                   PictureOutline& outline) {
    if (!shape.pinOne || shape.mark == PinOneMark::None)
        return;
    outline.pinOne = ToPicture(*shape.pinOne, placement, map);
    if (!outline.pinOne)
        return;
    outline.mark = shape.mark;
    if (shape.mark != PinOneMark::CathodeBar)
        return;
    const std::optional<std::array<FootprintPoint, 2>> bar =
        shape.body ? BarAcross(*shape.body, *shape.pinOne) : std::nullopt;
    const std::optional<PlanePoint> end1 =
        bar ? ToPicture((*bar)[0], placement, map) : std::nullopt;
    const std::optional<PlanePoint> end2 =
        bar ? ToPicture((*bar)[1], placement, map) : std::nullopt;
    // Without a body to cross, the cathode is still shown, by a dot.
    if (!end1 || !end2) {
        outline.mark = PinOneMark::Dot;
        return;
    }
    outline.bar = {*end1, *end2};
}

std::vector<std::vector<PlanePoint>>
PadsOnPicture(const PackageShape& shape, const Placement& placement, const ProjectiveMap& map) {
    std::vector<std::vector<PlanePoint>> pads;
    for (const std::vector<FootprintPoint>& pad : shape.pads) {
        std::vector<PlanePoint> onPicture;
        for (const FootprintPoint& point : pad)
            if (const std::optional<PlanePoint> pixel = ToPicture(point, placement, map))
                onPicture.push_back(*pixel);
        if (onPicture.size() == pad.size())
            pads.push_back(std::move(onPicture));
    }
    return pads;
}

int Sign(double value) {
    return (value > 0) - (value < 0);
}

} // namespace

PlanePoint FootprintToBoard(const FootprintPoint& point, const Placement& placement) {
    // Footprints are drawn with Y downwards, the board's Y grows upwards: a top part's drawing
    // is turned over top to bottom on the way, a bottom part's mirror undoes that.
    const double localY = placement.bottom ? point.y : -point.y;
    const double angle = placement.rotation * kPi / 180.0;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    double dx = point.x * c - localY * s;
    const double dy = point.x * s + localY * c;
    if (placement.bottom && placement.bottomSeenFromBelow)
        dx = -dx;
    return {placement.x + dx, placement.y + dy};
}

PictureOutline OutlineOnPicture(const PackageShape& shape, const Placement& placement,
                                const ProjectiveMap& boardToPicture) {
    PictureOutline outline;
    if (shape.body)
        outline.corners = CornersOnPicture(*shape.body, placement, boardToPicture);
    MarkOnPicture(shape, placement, boardToPicture, outline);
    outline.pads = PadsOnPicture(shape, placement, boardToPicture);
    outline.origin = ToPicture({0.0, 0.0}, placement, boardToPicture);
    return outline;
}

bool BottomSeenFromBelow(const PartTable& table) {
    double topSum = 0.0;
    double bottomSum = 0.0;
    for (const PartRecord& part : table.parts())
        (IsOnFace(part.layer, Face::Bottom) ? bottomSum : topSum) += part.x;
    if (topSum == 0.0)
        return bottomSum < 0.0;
    return Sign(bottomSum) == -Sign(topSum);
}

Placement PlacementOf(const PartRecord& part, bool bottomSeenFromBelow) {
    return {part.x, part.y, static_cast<double>(part.rotation), IsOnFace(part.layer, Face::Bottom),
            bottomSeenFromBelow};
}

} // namespace kavelto
