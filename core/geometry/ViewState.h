#pragma once

#include <cstdint>
#include <string>

namespace kavelto {

// What the marker point stands for, and so which pen boxes it.
enum class MarkerMode { None = 0, UserPoint = 1, PartLocated = 2 };

// The board view's state. Picture coordinates are pixels of the file as stored, before the
// view mirrors and turns it, so the marker follows the picture through every turn.
struct ViewState {
    std::int32_t pictureWidth = 1; // size of the file decoded by the last paint
    std::int32_t pictureHeight = 1;
    std::int32_t viewRotation = 0; // clockwise degrees: 0, 90, 180 or 270
    bool mirrored = false;         // mirrored left-right before turning
    float scale = 0.0f;            // picture pixels per window pixel of the last paint
    std::int32_t markerX = 0;
    std::int32_t markerY = 0;
    MarkerMode markerMode = MarkerMode::None;
    std::int32_t zoomBoxSize = 100; // side of the marker box and the magnified square
    bool repaintAll = true;         // the next paint blackens the whole picture frame
    bool bitmapLoaded = false;
    bool pictureDrawn = false; // the last paint drew a picture, so presses can land on it
    bool dragging = false;
    std::string bitmapPath = "no bitmap loaded";
};

} // namespace kavelto
