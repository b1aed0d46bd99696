#include "boardfile/KicadBoardReader.h"

#include "boardfile/BoardFileMessages.h"
#include "boardfile/SExpression.h"
#include "files/FileUtils.h"

#include <algorithm>
#include <cmath>

namespace kavelto {

namespace {

// A board file larger than this is no board file a bench assembles by hand.
constexpr std::int64_t kMaxBoardFileBytes = std::int64_t{512} * 1024 * 1024;
constexpr double kPi = 3.14159265358979323846;

// The extent of the points of one kind of drawing. One that has no area, a lone line or a
// point, bounds no body.
class Extent {
public:
    void add(double x, double y) {
        if (!rect_) {
            rect_ = BodyRect{x, y, x, y};
            return;
        }
        rect_->left = std::min(rect_->left, x);
        rect_->top = std::min(rect_->top, y);
        rect_->right = std::max(rect_->right, x);
        rect_->bottom = std::max(rect_->bottom, y);
    }
    std::optional<BodyRect> rect() const {
        if (rect_ && rect_->left < rect_->right && rect_->top < rect_->bottom)
            return rect_;
        return std::nullopt;
    }

private:
    std::optional<BodyRect> rect_;
};

std::optional<FootprintPoint> PointOf(const SExpression* list) {
    if (!list)
        return std::nullopt;
    const std::optional<double> x = list->number(1);
    const std::optional<double> y = list->number(2);
    if (!x || !y)
        return std::nullopt;
    return FootprintPoint{*x, *y};
}

// An arc through three points: its ends, and where it crosses the axes through its centre.
void AddArc(const FootprintPoint& a, const FootprintPoint& m, const FootprintPoint& b,
            Extent& extent) {
    extent.add(a.x, a.y);
    extent.add(b.x, b.y);
    const double d = 2 * (a.x * (m.y - b.y) + m.x * (b.y - a.y) + b.x * (a.y - m.y));
    if (d == 0.0)
        return;
    const double a2 = a.x * a.x + a.y * a.y, m2 = m.x * m.x + m.y * m.y, b2 = b.x * b.x + b.y * b.y;
    const double cx = (a2 * (m.y - b.y) + m2 * (b.y - a.y) + b2 * (a.y - m.y)) / d;
    const double cy = (a2 * (b.x - m.x) + m2 * (a.x - b.x) + b2 * (m.x - a.x)) / d;
    const double r = std::hypot(a.x - cx, a.y - cy);
    const auto angle = [&](const FootprintPoint& p) { return std::atan2(p.y - cy, p.x - cx); };
    // Sweep from a through m to b, anticlockwise or clockwise as m says.
    const auto along = [](double from, double to) {
        double d = std::fmod(to - from, 2 * kPi);
        return d < 0 ? d + 2 * kPi : d;
    };
    const double start = angle(a), sweepToMid = along(start, angle(m)),
                 sweep = along(start, angle(b));
    const bool anticlockwise = sweepToMid <= sweep;
    for (int quarter = 0; quarter < 4; ++quarter) {
        const double axis = quarter * kPi / 2;
        const double reach = anticlockwise ? along(start, axis) : along(axis, start);
        if (reach <= (anticlockwise ? sweep : 2 * kPi - sweep))
            extent.add(cx + r * std::cos(axis), cy + r * std::sin(axis));
    }
}

void AddDrawing(const SExpression& item, Extent& extent) {
    const std::string_view kind = item.head();
    if (kind == "fp_line" || kind == "fp_rect") {
        for (const char* end : {"start", "end"})
            if (const std::optional<FootprintPoint> p = PointOf(item.find(end)))
                extent.add(p->x, p->y);
    } else if (kind == "fp_circle") {
        const std::optional<FootprintPoint> centre = PointOf(item.find("center"));
        const std::optional<FootprintPoint> end = PointOf(item.find("end"));
        if (centre && end) {
            const double r = std::hypot(end->x - centre->x, end->y - centre->y);
            extent.add(centre->x - r, centre->y - r);
            extent.add(centre->x + r, centre->y + r);
        }
    } else if (kind == "fp_arc") {
        const std::optional<FootprintPoint> a = PointOf(item.find("start"));
        const std::optional<FootprintPoint> m = PointOf(item.find("mid"));
        const std::optional<FootprintPoint> b = PointOf(item.find("end"));
        if (a && m && b)
            AddArc(*a, *m, *b, extent);
    } else if (kind == "fp_poly") {
        if (const SExpression* points = item.find("pts"))
            for (const SExpression& xy : points->items())
                if (const std::optional<FootprintPoint> p =
                        xy.head() == "xy" ? PointOf(&xy) : std::nullopt)
                    extent.add(p->x, p->y);
    }
}

PadShape PadShapeOf(std::string_view word) {
    if (word == "rect")
        return PadShape::Rect;
    if (word == "roundrect")
        return PadShape::RoundRect;
    if (word == "circle")
        return PadShape::Circle;
    if (word == "oval")
        return PadShape::Oval;
    if (word == "trapezoid")
        return PadShape::Trapezoid;
    return PadShape::Custom;
}

// Only pads on copper count: a paste-only opening is no pin.
bool OnCopper(const SExpression& pad) {
    const SExpression* layers = pad.find("layers");
    if (!layers)
        return false;
    for (std::size_t i = 1; i < layers->items().size(); ++i) {
        const std::string_view layer = layers->text(i);
        if (layer.size() >= 3 && layer.substr(layer.size() - 3) == ".Cu")
            return true;
    }
    return false;
}

std::optional<BoardPad> PadOf(const SExpression& pad, double footprintRotation) {
    const SExpression* at = pad.find("at");
    const SExpression* size = pad.find("size");
    const std::optional<FootprintPoint> position = PointOf(at);
    if (!position || !size || !OnCopper(pad))
        return std::nullopt;
    // The file gives a pad's turn on the board, the footprint's own included.
    const double angle = at->number(3).value_or(0.0) - footprintRotation;
    return BoardPad{std::string(pad.text(1)),      *position, size->number(1).value_or(0.0),
                    size->number(2).value_or(0.0), angle,     PadShapeOf(pad.text(3))};
}

std::string_view LayerOf(const SExpression& item) {
    const SExpression* layer = item.find("layer");
    return layer ? layer->text(1) : std::string_view();
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The reference is a property from version 8 on, a text of its own before.
std::string DesignatorOf(const SExpression& footprint) {
    for (const SExpression& item : footprint.items()) {
        if (item.head() == "property" && item.text(1) == "Reference")
            return std::string(item.text(2));
        if (item.head() == "fp_text" && item.text(1) == "reference")
            return std::string(item.text(2));
    }
    return {};
}

// A bottom footprint's items are stored mirrored top to bottom; its library drawing is the
// mirror of them.
FootprintPoint Unmirrored(FootprintPoint p, bool bottom) {
    return {p.x, bottom ? -p.y : p.y};
}

std::optional<BodyRect> UnmirroredRect(const std::optional<BodyRect>& rect, bool bottom) {
    if (!rect || !bottom)
        return rect;
    return BodyRect{rect->left, -rect->bottom, rect->right, -rect->top};
}

std::optional<BoardFootprint> FootprintOf(const SExpression& item) {
    const SExpression* at = item.find("at");
    if (!at || !at->number(1) || !at->number(2))
        return std::nullopt;
    BoardFootprint footprint;
    footprint.footprintName = std::string(item.text(1));
    footprint.designator = DesignatorOf(item);
    footprint.x = *at->number(1);
    footprint.y = *at->number(2);
    footprint.rotation = at->number(3).value_or(0.0);
    footprint.bottom = LayerOf(item) == "B.Cu";
    Extent fabrication, courtyard, pads;
    for (const SExpression& child : item.items()) {
        if (child.head() == "pad") {
            std::optional<BoardPad> pad = PadOf(child, footprint.rotation);
            if (!pad)
                continue;
            pad->at = Unmirrored(pad->at, footprint.bottom);
            if (footprint.bottom)
                pad->angle = -pad->angle;
            pads.add(pad->at.x - pad->width / 2, pad->at.y - pad->height / 2);
            pads.add(pad->at.x + pad->width / 2, pad->at.y + pad->height / 2);
            footprint.pads.push_back(std::move(*pad));
            continue;
        }
        const std::string_view layer = LayerOf(child);
        if (EndsWith(layer, ".Fab"))
            AddDrawing(child, fabrication);
        else if (EndsWith(layer, ".CrtYd"))
            AddDrawing(child, courtyard);
    }
    if (fabrication.rect())
        footprint.body = UnmirroredRect(fabrication.rect(), footprint.bottom);
    else if (courtyard.rect())
        footprint.body = UnmirroredRect(courtyard.rect(), footprint.bottom);
    else
        footprint.body = pads.rect();
    return footprint;
}

} // namespace

Result<std::vector<BoardFootprint>> ReadKicadBoard(std::string_view text) {
    std::vector<BoardFootprint> footprints;
    const bool whole = ReadItemsOf(text, "kicad_pcb", "footprint", [&](const SExpression& item) {
        if (std::optional<BoardFootprint> footprint = FootprintOf(item))
            footprints.push_back(std::move(*footprint));
    });
    if (!whole)
        return ErrorMessage(kNotABoardFile);
    return footprints;
}

Result<std::vector<BoardFootprint>> ReadKicadBoardFile(const std::string& path) {
    const auto bytes = ReadWholeFile<std::string>(path, kMaxBoardFileBytes);
    if (!bytes)
        return ErrorMessage(CannotReadBoardFile(path));
    return ReadKicadBoard(std::string_view(bytes->data(), bytes->size()));
}

} // namespace kavelto
