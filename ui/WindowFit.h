#pragma once

#include "geometry/PixelRect.h"

#include <functional>

namespace kavelto {

// The font size, in tenths of a point, at which a window laid out in dialog units fits an area
// of the screen: the template's own size when its layout fits, else the largest smaller size
// whose layout fits, else the smallest size allowed. `layoutAt` gives the window's size in
// pixels for a font size; fonts measure in whole pixels, so that size shrinks in steps.
int FittingFontSize(int templateSize, int smallestSize,
                    const std::function<PixelSize(int)>& layoutAt, PixelSize area);

} // namespace kavelto
