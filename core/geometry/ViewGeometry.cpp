#include "geometry/ViewGeometry.h"

#include "geometry/Truncate.h"

#include <algorithm>

namespace kavelto {

namespace {

constexpr int kBoxInset = 2;
constexpr double kZoomInFactor = 0.7692307692307692; // 1 / 1.3, so in and out nearly undo
constexpr double kZoomOutFactor = 1.3;

// Works in doubles so that a marker near the ends of the int range cannot overflow.
PixelPoint WindowPixel(const ViewTransform& board, double x, double y) {
    const ViewPoint at = board.toWindow({x, y});
    return {TruncToInt(at.x), TruncToInt(at.y)};
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

std::optional<ViewTransform> BoardTransform(const ViewState& view) {
    if (!view.bitmapPath || !view.pictureSize)
        return std::nullopt;
    const PixelRect frame{0, 0, view.frameSize.width, view.frameSize.height};
    std::optional<ViewTransform> fitted =
        ViewTransform::Fitted(*view.pictureSize, view.viewRotation, view.mirrored, frame);
    if (!fitted || view.overviewZoom <= 1.0)
        return fitted;
    return fitted->enlarged(view.overviewZoom, {view.overviewLeft, view.overviewTop}, frame);
}

std::vector<PixelRect> BackgroundStrips(const PixelRect& frame, int drawnW, int drawnH) {
    if (frame.width <= 0 || frame.height <= 0)
        return {};
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

PicturePoint WindowToPicture(const ViewTransform& board, int wx, int wy) {
    const ViewPoint p = board.toPicture({static_cast<double>(wx), static_cast<double>(wy)});
    const float x = static_cast<float>(p.x);
    const float y = static_cast<float>(p.y);
    const PixelSize picture = board.pictureSize();
    return {IsOnPicture(x, y, picture.width, picture.height), x, y};
}

PixelPoint PictureToWindow(const ViewTransform& board, int x, int y) {
    return WindowPixel(board, x, y);
}

BoxCorners MarkerBox(const ViewTransform& board, PixelPoint marker, int zoomBoxSize) {
    const int half = zoomBoxSize / 2;
    const double x = marker.x;
    const double y = marker.y;
    const PixelPoint a = WindowPixel(board, x - half, y - half);
    const PixelPoint b = WindowPixel(board, x + half, y + half);
    const PixelRect drawn = board.drawn();
    return {ClampIntoDrawn(std::min(a.x, b.x), drawn.left, drawn.width),
            ClampIntoDrawn(std::min(a.y, b.y), drawn.top, drawn.height),
            ClampIntoDrawn(std::max(a.x, b.x), drawn.left, drawn.width),
            ClampIntoDrawn(std::max(a.y, b.y), drawn.top, drawn.height)};
}

PixelRect MagnifierSource(const ViewTransform& board, PixelPoint marker, int zoomBoxSize) {
    const int half = zoomBoxSize / 2;
    const ViewPoint centre =
        board.toTurned({static_cast<double>(marker.x), static_cast<double>(marker.y)});
    return {TruncToInt(centre.x - half), TruncToInt(centre.y - half), zoomBoxSize, zoomBoxSize};
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

std::string BitmapText(const std::optional<std::string>& bitmapPath) {
    return bitmapPath ? *bitmapPath : std::string("no bitmap loaded");
}

} // namespace kavelto
