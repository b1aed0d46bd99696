#pragma once

#include "geometry/PixelRect.h"
#include "geometry/ViewState.h"
#include "geometry/ViewTransform.h"

#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// The board view's geometry: the transform that fits the turned picture into the picture frame,
// the conversions between window points and picture points, the marker's box and the
// magnifier's square. Window points are in the board view's own pixels, its top-left at (0, 0),
// unless a transform is fitted into a frame elsewhere; picture points are pixels of the file as
// stored.

inline constexpr int kMinZoomBoxSize = 20;
inline constexpr int kMaxZoomBoxSize = 400;

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

// The board view's transform for the state: the chosen picture, of a size known from its file,
// fitted into the frame; nothing while there is none or it can't be drawn.
std::optional<ViewTransform> BoardTransform(const ViewState& view);

// The parts of the frame the drawn picture leaves uncovered, to blacken.
std::vector<PixelRect> BackgroundStrips(const PixelRect& frame, int drawnW, int drawnH);

bool IsOnPicture(double x, double y, int pictureWidth, int pictureHeight);

PicturePoint WindowToPicture(const ViewTransform& board, int wx, int wy);
PixelPoint PictureToWindow(const ViewTransform& board, int x, int y);

// The marker's box on the window, kept 2 pixels inside the drawn picture.
BoxCorners MarkerBox(const ViewTransform& board, PixelPoint marker, int zoomBoxSize);

// The square around the marker, in pixels of the turned picture, that the magnifier shows.
PixelRect MagnifierSource(const ViewTransform& board, PixelPoint marker, int zoomBoxSize);

int RotatedLeft(int viewRotation);
int RotatedRight(int viewRotation);
int ZoomedIn(int zoomBoxSize);
int ZoomedOut(int zoomBoxSize);

// "<degrees>° - Normal" or "... - Flipped", in UTF-8.
std::string RotationText(int viewRotation, bool mirrored);

// The picture file's field: its path, or "no bitmap loaded".
std::string BitmapText(const std::optional<std::string>& bitmapPath);

} // namespace kavelto
