#pragma once

namespace kavelto {

// A rectangle in the main window's client coordinates, or a source square in picture pixels.
struct PixelRect {
    int left;
    int top;
    int width;
    int height;
};

// A point in whole pixels, of the window or of the picture.
struct PixelPoint {
    int x;
    int y;
};

// A size in pixels of the screen.
struct PixelSize {
    int width;
    int height;
};

} // namespace kavelto
