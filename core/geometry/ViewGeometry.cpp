#include "geometry/ViewGeometry.h"

#include "geometry/Truncate.h"

#include <algorithm>

namespace kavelto {

namespace {

constexpr int kBoxInset = 2;
constexpr double kZoomInFactor = 0.7692307692307692; // 1 / 1.3, so in and out nearly undo
constexpr double kZoomOutFactor = 1.3;

struct Point2 {
    double x;
    double y;
};

// Any angle the commands cannot produce is drawn unturned.
int QuarterTurns(int viewRotation) {
    switch (viewRotation) {
    case 90:
        return 1;
    case 180:
        return 2;
    case 270:
        return 3;
    default:
        return 0;
    }
}

// Where a stored-picture point lies in the mirrored and turned picture.
Point2 ToTurned(const ViewState& view, double x, double y) {
    const double w = view.pictureWidth;
    const double h = view.pictureHeight;
    const double xm = view.mirrored ? w - x : x;
    switch (QuarterTurns(view.viewRotation)) {
    case 1:
        return {h - y, xm};
    case 2:
        return {w - xm, h - y};
    case 3:
        return {y, w - xm};
    default:
        return {xm, y};
    }
}

Point2 FromTurned(const ViewState& view, double a, double b) {
    const double w = view.pictureWidth;
    const double h = view.pictureHeight;
    Point2 p{a, b};
    switch (QuarterTurns(view.viewRotation)) {
    case 1:
        p = {b, h - a};
        break;
    case 2:
        p = {w - a, h - b};
        break;
    case 3:
        p = {w - b, a};
        break;
    default:
        break;
    }
    if (view.mirrored)
        p.x = w - p.x;
    return p;
}

// Works in doubles so that a marker near the ends of the int range cannot overflow.
PixelPoint PictureToWindowAt(const ViewState& view, const PixelRect& frame, double x, double y) {
    const double scale = view.scale;
    // Before the first paint, or after one that drew nothing, every point sits at the origin.
    if (!(scale > 0.0))
        return {frame.left, frame.top};
    const Point2 turned = ToTurned(view, x, y);
    return {TruncToInt(turned.x / scale + frame.left), TruncToInt(turned.y / scale + frame.top)};
}

// The upper bound wins when a drawn side is too short for the inset on both ends.
int ClampIntoDrawn(int v, int origin, int drawnSize) {
    const double lo = static_cast<double>(origin) + kBoxInset;
    const double hi = static_cast<double>(origin) + drawnSize - kBoxInset;
    return TruncToInt(std::min(std::max(static_cast<double>(v), lo), hi));
}

int WrapDegrees(long long degrees) {
    const long long wrapped = degrees % 360;
    return static_cast<int>(wrapped < 0 ? wrapped + 360 : wrapped);
}

} // namespace

FitResult FitPicture(int pictureWidth, int pictureHeight, int viewRotation,
                     const PixelRect& frame) {
    const bool sideways = QuarterTurns(viewRotation) % 2 == 1;
    FitResult fit{};
    fit.turnedWidth = sideways ? pictureHeight : pictureWidth;
    fit.turnedHeight = sideways ? pictureWidth : pictureHeight;
    if (fit.turnedWidth <= 0 || fit.turnedHeight <= 0 || frame.width <= 0 || frame.height <= 0)
        return fit;
    const double frameAspect = static_cast<double>(frame.width) / frame.height;
    const double pictureAspect = static_cast<double>(fit.turnedWidth) / fit.turnedHeight;
    int drawnW = frame.width;
    int drawnH = frame.height;
    if (pictureAspect > frameAspect)
        drawnH = TruncToInt(frame.height * frameAspect / pictureAspect);
    else
        drawnW = TruncToInt(frame.width * pictureAspect / frameAspect);
    if (drawnW <= 0 || drawnH <= 0)
        return fit;
    fit.drawnWidth = drawnW;
    fit.drawnHeight = drawnH;
    fit.scale = static_cast<float>(static_cast<double>(fit.turnedWidth) / drawnW);
    fit.drawable = true;
    return fit;
}

std::vector<PixelRect> BackgroundStrips(const PixelRect& frame, int drawnW, int drawnH,
                                        bool repaintAll) {
    if (frame.width <= 0 || frame.height <= 0)
        return {};
    if (repaintAll)
        return {frame};
    std::vector<PixelRect> strips;
    if (drawnH < frame.height)
        strips.push_back({frame.left, frame.top + drawnH, frame.width, frame.height - drawnH});
    if (drawnW < frame.width)
        strips.push_back({frame.left + drawnW, frame.top, frame.width - drawnW, frame.height});
    return strips;
}

bool IsOnPicture(double x, double y, int pictureWidth, int pictureHeight) {
    return x >= 0.0 && x <= pictureWidth && y >= 0.0 && y <= pictureHeight;
}

PicturePoint WindowToPicture(const ViewState& view, const PixelRect& frame, int wx, int wy) {
    const double scale = view.scale;
    const double a = (static_cast<double>(wx) - frame.left) * scale;
    const double b = (static_cast<double>(wy) - frame.top) * scale;
    const Point2 p = FromTurned(view, a, b);
    const float x = static_cast<float>(p.x);
    const float y = static_cast<float>(p.y);
    return {IsOnPicture(x, y, view.pictureWidth, view.pictureHeight), x, y};
}

PixelPoint PictureToWindow(const ViewState& view, const PixelRect& frame, int x, int y) {
    return PictureToWindowAt(view, frame, x, y);
}

BoxCorners MarkerBox(const ViewState& view, const PixelRect& frame, int drawnW, int drawnH) {
    const int half = view.zoomBoxSize / 2;
    const double x = view.markerX;
    const double y = view.markerY;
    const PixelPoint a = PictureToWindowAt(view, frame, x - half, y - half);
    const PixelPoint b = PictureToWindowAt(view, frame, x + half, y + half);
    return {ClampIntoDrawn(std::min(a.x, b.x), frame.left, drawnW),
            ClampIntoDrawn(std::min(a.y, b.y), frame.top, drawnH),
            ClampIntoDrawn(std::max(a.x, b.x), frame.left, drawnW),
            ClampIntoDrawn(std::max(a.y, b.y), frame.top, drawnH)};
}

PixelRect MagnifierSource(const ViewState& view) {
    const int half = view.zoomBoxSize / 2;
    const Point2 centre = ToTurned(view, view.markerX, view.markerY);
    return {TruncToInt(centre.x - half), TruncToInt(centre.y - half), view.zoomBoxSize,
            view.zoomBoxSize};
}

int RotatedLeft(int viewRotation) {
    return WrapDegrees(static_cast<long long>(viewRotation) - 90);
}

int RotatedRight(int viewRotation) {
    return WrapDegrees(static_cast<long long>(viewRotation) + 90);
}

int ZoomedIn(int zoomBoxSize) {
    return std::max(kMinZoomBoxSize, TruncToInt(zoomBoxSize * kZoomInFactor));
}

int ZoomedOut(int zoomBoxSize) {
    return std::min(kMaxZoomBoxSize, TruncToInt(zoomBoxSize * kZoomOutFactor));
}

std::string RotationText(int viewRotation, bool mirrored) {
    // U+00B0 DEGREE SIGN spelled out as UTF-8 bytes, independent of the source encoding.
    return std::to_string(viewRotation) + "\xC2\xB0 - " + (mirrored ? "Flipped" : "Normal");
}

} // namespace kavelto
