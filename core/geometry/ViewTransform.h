#pragma once

#include "geometry/PixelRect.h"

#include <optional>

namespace kavelto {

// The view's turn for any angle: a multiple of 90 degrees wrapped into 0, 90, 180 or 270; any
// other angle, which no command makes, upright.
int QuarterTurnDegrees(int degrees);

struct FitResult {
    int turnedWidth; // the picture's size after the view's turn
    int turnedHeight;
    int drawnWidth; // size of the picture on the window, anchored at the frame's top-left
    int drawnHeight;
    float scale;   // picture pixels per window pixel; 0 when nothing can be drawn
    bool drawable; // false for a picture without pixels, a frame without area, or a fit
                   // that rounds a side down to nothing
};

// The turned picture scaled into frame with its aspect kept, enlarged as well as reduced.
FitResult FitPicture(int pictureWidth, int pictureHeight, int viewRotation, const PixelRect& frame);

// A point in pixels of the picture or of the window, not rounded.
struct ViewPoint {
    double x;
    double y;
};

// Where the pixels of the picture as stored land on the window: mirrored left-right first, then
// turned clockwise by quarter turns, then a rectangle of the turned picture scaled onto a
// rectangle of the window. The board view fits the whole turned picture into its frame; the
// magnifier stretches a square of it over its pane. Every turn and mirror of the program is
// worked out here, for the geometry and the drawing alike.
class ViewTransform {
public:
    // The turned picture at its own size, its top-left at the window's origin.
    ViewTransform(PixelSize picture, int viewRotation, bool mirrored);

    // The whole turned picture fitted into frame at its top-left corner, scaled by the fit's
    // single-precision scale; nothing when the fit draws nothing.
    static std::optional<ViewTransform> Fitted(PixelSize picture, int viewRotation, bool mirrored,
                                               const PixelRect& frame);

    // The same picture, turned alike, with the square of the turned picture (in its pixels)
    // stretched over the whole pane, whatever their shapes.
    ViewTransform zoomed(const PixelRect& turnedSquare, const PixelRect& pane) const;

    // The same fit enlarged by zoom (1 or more) into frame, the turned picture's point origin
    // at the frame's top-left.
    ViewTransform enlarged(double zoom, ViewPoint origin, const PixelRect& frame) const;

    ViewPoint toWindow(ViewPoint picture) const;
    ViewPoint toPicture(ViewPoint window) const;
    // A point of the stored picture in pixels of the turned one.
    ViewPoint toTurned(ViewPoint picture) const;

    PixelSize pictureSize() const { return picture_; }
    // Turned picture pixels per window pixel, across and down.
    ViewPoint perWindowPixel() const { return perWindowPixel_; }
    PixelSize turnedSize() const;
    // The rectangle of the window that the picture's rectangle of the transform covers.
    PixelRect drawn() const { return drawn_; }
    // Clockwise quarter turns, 0 to 3.
    int quarterTurns() const { return quarterTurns_; }
    bool mirrored() const { return mirrored_; }

private:
    ViewPoint fromTurned(ViewPoint turned) const;

    PixelSize picture_;
    int quarterTurns_;
    bool mirrored_;
    // The turned picture's point drawn at the top-left corner of drawn_.
    ViewPoint source_{0.0, 0.0};
    ViewPoint perWindowPixel_{1.0, 1.0}; // turned picture pixels per window pixel, on each axis
    PixelRect drawn_;
};

} // namespace kavelto
