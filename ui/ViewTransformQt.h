#pragma once

#include "geometry/ViewTransform.h"

#include <QTransform>

namespace kavelto {

// The view's transform as the painter takes it: from pixels of the picture as stored to pixels
// of the window. Read off the transform at three points, so that every turn and mirror stays
// worked out in one place.
inline QTransform ToQTransform(const ViewTransform& transform) {
    const ViewPoint origin = transform.toWindow({0.0, 0.0});
    const ViewPoint alongX = transform.toWindow({1.0, 0.0});
    const ViewPoint alongY = transform.toWindow({0.0, 1.0});
    return QTransform(alongX.x - origin.x, alongX.y - origin.y, alongY.x - origin.x,
                      alongY.y - origin.y, origin.x, origin.y);
}

} // namespace kavelto
