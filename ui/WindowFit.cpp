#include "WindowFit.h"

namespace kavelto {

int FittingFontSize(int templateSize, int smallestSize,
                    const std::function<PixelSize(int)>& layoutAt, PixelSize area) {
    for (int size = templateSize; size > smallestSize; --size) {
        const PixelSize layout = layoutAt(size);
        if (layout.width <= area.width && layout.height <= area.height)
            return size;
    }
    return smallestSize;
}

} // namespace kavelto
