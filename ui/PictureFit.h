#pragma once

#include "geometry/ViewTransform.h"

#include <QImage>
#include <QSize>

namespace kavelto {

// The size of the upright picture that, turned, gives the fit's drawn rectangle.
QSize UprightDrawnSize(const ViewTransform& fit);

// The JPEG decoder's largest reduction (1/8, 1/4, 1/2) that still gives at least upright's
// pixels, so that the reduced picture fills the fit; 1 when none does.
int Reduction(const QSize& stored, const QSize& upright);

// The upright picture, already scaled to the fit's drawn size, turned and mirrored as the fit
// turns it, pixel for pixel.
QImage TurnedAsDrawn(const QImage& upright, const ViewTransform& fit);

} // namespace kavelto
