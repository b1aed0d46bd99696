#include "OutlineSprites.h"

#include "OutlinePainter.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace kavelto {

namespace {

// Room around the outline's points for the pen, the pin 1 mark and the cathode bar.
constexpr int kMargin = 12;
constexpr double kQuarters = 4.0;
constexpr double kSnaps = 2.0;
// About 4 MB of pictures; past that they are all drawn afresh.
constexpr qint64 kMostKeptPixels = qint64(1) << 20;

// The points of the outline on the window that fix its drawing, in the order the key lists them.
std::vector<ViewPoint> WindowPoints(const ViewTransform& view, const PictureOutline& outline) {
    std::vector<ViewPoint> points;
    const auto add = [&](const PlanePoint& p) { points.push_back(view.toWindow({p.x, p.y})); };
    if (outline.corners)
        for (const PlanePoint& corner : *outline.corners)
            add(corner);
    for (const std::vector<PlanePoint>& pad : outline.pads)
        for (const PlanePoint& point : pad)
            add(point);
    // A cathode bar lies across the body at pin 1: the two fix it, and the margin holds it.
    if (outline.pinOne)
        add(*outline.pinOne);
    if (outline.origin)
        add(*outline.origin);
    return points;
}

void Append(std::string& key, std::int32_t value) {
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    key.append(bytes, sizeof bytes);
}

} // namespace

OutlineSprites::Placement OutlineSprites::placementOf(const ViewTransform& view,
                                                      const DrawnOutline& drawn) {
    const std::vector<ViewPoint> points = WindowPoints(view, drawn.outline);
    if (points.empty())
        return {};
    ViewPoint least{std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    ViewPoint most{std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
    for (const ViewPoint& p : points) {
        least = {std::min(least.x, p.x), std::min(least.y, p.y)};
        most = {std::max(most.x, p.x), std::max(most.y, p.y)};
    }
    // The outline's least corner lands on a half pixel, so that parts of one shape turned alike
    // share their picture wherever they lie.
    const QPointF snapped(std::round(least.x * kSnaps) / kSnaps,
                          std::round(least.y * kSnaps) / kSnaps);
    const QPoint origin(int(std::floor(snapped.x())) - kMargin,
                        int(std::floor(snapped.y())) - kMargin);
    const QPoint end(int(std::ceil(snapped.x() + most.x - least.x)) + kMargin,
                     int(std::ceil(snapped.y() + most.y - least.y)) + kMargin);
    Placement placement{QRect(origin, end), snapped - QPointF(least.x, least.y), {}};
    // What the picture shows: how the outline is drawn, where on its pixel it starts, and its
    // points from its least corner in quarter pixels.
    placement.key.reserve((points.size() * 2 + 5) * sizeof(std::int32_t));
    Append(placement.key, int(drawn.selected) | int(drawn.placed) << 1 |
                              int(drawn.background) << 2 | int(drawn.outline.mark) << 3);
    Append(placement.key, std::int32_t(drawn.outline.pads.size()));
    Append(placement.key, drawn.outline.corners ? 4 : 0);
    Append(placement.key, std::int32_t(std::lround((snapped.x() - origin.x()) * kSnaps)));
    Append(placement.key, std::int32_t(std::lround((snapped.y() - origin.y()) * kSnaps)));
    for (const ViewPoint& p : points) {
        Append(placement.key, std::int32_t(std::lround((p.x - least.x) * kQuarters)));
        Append(placement.key, std::int32_t(std::lround((p.y - least.y) * kQuarters)));
    }
    return placement;
}

const QImage& OutlineSprites::sprite(const ViewTransform& view, const DrawnOutline& drawn,
                                     const Placement& placement) {
    if (const auto kept = sprites_.find(placement.key); kept != sprites_.end())
        return kept->second;
    const qint64 pixels = qint64(placement.area.width()) * placement.area.height();
    if (keptPixels_ + pixels > kMostKeptPixels) {
        sprites_.clear();
        keptPixels_ = 0;
    }
    QImage image(placement.area.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.translate(placement.shift - QPointF(placement.area.topLeft()));
        OutlinePainter(view).paint(painter, {drawn});
    }
    keptPixels_ += pixels;
    return sprites_.emplace(placement.key, std::move(image)).first->second;
}

void OutlineSprites::paint(QPainter& painter, const ViewTransform& view,
                           const std::vector<DrawnOutline>& outlines) {
    const QRect device(0, 0, painter.device()->width(), painter.device()->height());
    for (const DrawnOutline& drawn : outlines) {
        const Placement placement = placementOf(view, drawn);
        if (placement.area.intersects(device))
            painter.drawImage(placement.area.topLeft(), sprite(view, drawn, placement));
    }
}

} // namespace kavelto
