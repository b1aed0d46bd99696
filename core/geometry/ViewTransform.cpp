#include "geometry/ViewTransform.h"

#include "geometry/Truncate.h"

#include <algorithm>
#include <cmath>

namespace kavelto {

int QuarterTurnDegrees(int degrees) {
    if (degrees % 90 != 0)
        return 0;
    const int turns = (degrees / 90) % 4;
    return (turns < 0 ? turns + 4 : turns) * 90;
}

FitResult FitPicture(int pictureWidth, int pictureHeight, int viewRotation,
                     const PixelRect& frame) {
    const bool sideways = QuarterTurnDegrees(viewRotation) % 180 != 0;
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

ViewTransform::ViewTransform(PixelSize picture, int viewRotation, bool mirrored)
    : picture_(picture), quarterTurns_(QuarterTurnDegrees(viewRotation) / 90), mirrored_(mirrored) {
    const PixelSize turned = turnedSize();
    drawn_ = {0, 0, turned.width, turned.height};
}

std::optional<ViewTransform> ViewTransform::Fitted(PixelSize picture, int viewRotation,
                                                   bool mirrored, const PixelRect& frame) {
    const FitResult fit = FitPicture(picture.width, picture.height, viewRotation, frame);
    if (!fit.drawable)
        return std::nullopt;
    ViewTransform t(picture, viewRotation, mirrored);
    // The scale is the fit's float, so that conversions round as the fit's own numbers do.
    const double scale = fit.scale;
    t.perWindowPixel_ = {scale, scale};
    t.drawn_ = {frame.left, frame.top, fit.drawnWidth, fit.drawnHeight};
    return t;
}

ViewTransform ViewTransform::zoomed(const PixelRect& turnedSquare, const PixelRect& pane) const {
    ViewTransform t = *this;
    t.source_ = {static_cast<double>(turnedSquare.left), static_cast<double>(turnedSquare.top)};
    t.perWindowPixel_ = {static_cast<double>(turnedSquare.width) / pane.width,
                         static_cast<double>(turnedSquare.height) / pane.height};
    t.drawn_ = pane;
    return t;
}

// The drawn rectangle ends where the frame or the turned picture ends, whichever comes first.
ViewTransform ViewTransform::enlarged(double zoom, ViewPoint origin, const PixelRect& frame) const {
    ViewTransform t = *this;
    t.perWindowPixel_ = {perWindowPixel_.x / zoom, perWindowPixel_.y / zoom};
    t.source_ = origin;
    const PixelSize turned = turnedSize();
    const double across = (turned.width - origin.x) / t.perWindowPixel_.x;
    const double down = (turned.height - origin.y) / t.perWindowPixel_.y;
    t.drawn_ = {frame.left, frame.top,
                static_cast<int>(std::min<double>(frame.width, std::max(0.0, std::ceil(across)))),
                static_cast<int>(std::min<double>(frame.height, std::max(0.0, std::ceil(down))))};
    return t;
}

PixelSize ViewTransform::turnedSize() const {
    return quarterTurns_ % 2 == 1 ? PixelSize{picture_.height, picture_.width} : picture_;
}

ViewPoint ViewTransform::toTurned(ViewPoint p) const {
    const double w = picture_.width;
    const double h = picture_.height;
    const double xm = mirrored_ ? w - p.x : p.x;
    switch (quarterTurns_) {
    case 1:
        return {h - p.y, xm};
    case 2:
        return {w - xm, h - p.y};
    case 3:
        return {p.y, w - xm};
    default:
        return {xm, p.y};
    }
}

ViewPoint ViewTransform::fromTurned(ViewPoint t) const {
    const double w = picture_.width;
    const double h = picture_.height;
    ViewPoint p = t;
    switch (quarterTurns_) {
    case 1:
        p = {t.y, h - t.x};
        break;
    case 2:
        p = {w - t.x, h - t.y};
        break;
    case 3:
        p = {w - t.y, t.x};
        break;
    default:
        break;
    }
    if (mirrored_)
        p.x = w - p.x;
    return p;
}

ViewPoint ViewTransform::toWindow(ViewPoint picture) const {
    const ViewPoint t = toTurned(picture);
    return {(t.x - source_.x) / perWindowPixel_.x + drawn_.left,
            (t.y - source_.y) / perWindowPixel_.y + drawn_.top};
}

ViewPoint ViewTransform::toPicture(ViewPoint window) const {
    return fromTurned({(window.x - drawn_.left) * perWindowPixel_.x + source_.x,
                       (window.y - drawn_.top) * perWindowPixel_.y + source_.y});
}

} // namespace kavelto
