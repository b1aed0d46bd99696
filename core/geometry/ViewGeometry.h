#pragma once

#include "geometry/PixelRect.h"
#include "geometry/ViewState.h"

#include <string>
#include <vector>

namespace kavelto {

// The board view's geometry: fitting the turned picture into the picture frame, and the
// conversions between window points and picture points. All frames are in the main window's
// client coordinates; all picture points are pixels of the file as stored.

inline constexpr int kMinZoomBoxSize = 20;
inline constexpr int kMaxZoomBoxSize = 400;

struct FitResult {
    int turnedWidth; // the picture's size after the view's turn
    int turnedHeight;
    int drawnWidth; // size of the picture on the window, anchored at the frame's top-left
    int drawnHeight;
    float scale;   // picture pixels per window pixel; 0 when nothing can be drawn
    bool drawable; // false for a picture without pixels, a frame without area, or a fit
                   // that rounds a side down to nothing
};

struct PicturePoint {
    bool inside; // on the picture, both edges included
    float x;     // produced whether inside or not
    float y;
};

struct BoxCorners {
    int xLo;
    int yLo;
    int xHi;
    int yHi;
};

FitResult FitPicture(int pictureWidth, int pictureHeight, int viewRotation, const PixelRect& frame);

// The parts of the frame to blacken before the picture is drawn over it.
std::vector<PixelRect> BackgroundStrips(const PixelRect& frame, int drawnW, int drawnH,
                                        bool repaintAll);

bool IsOnPicture(double x, double y, int pictureWidth, int pictureHeight);

PicturePoint WindowToPicture(const ViewState& view, const PixelRect& frame, int wx, int wy);
PixelPoint PictureToWindow(const ViewState& view, const PixelRect& frame, int x, int y);

// The marker's box on the window, kept 2 pixels inside the drawn picture.
BoxCorners MarkerBox(const ViewState& view, const PixelRect& frame, int drawnW, int drawnH);

// The square around the marker, in pixels of the turned picture, that the magnifier shows.
PixelRect MagnifierSource(const ViewState& view);

int RotatedLeft(int viewRotation);
int RotatedRight(int viewRotation);
int ZoomedIn(int zoomBoxSize);
int ZoomedOut(int zoomBoxSize);

// "<degrees>° - Normal" or "... - Flipped", in UTF-8.
std::string RotationText(int viewRotation, bool mirrored);

} // namespace kavelto
