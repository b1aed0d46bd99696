#include "PictureFit.h"

#include "PictureFile.h"
#include "ViewTransformQt.h"

namespace kavelto {

QSize UprightDrawnSize(const ViewTransform& fit) {
    const PixelRect drawn = fit.drawn();
    const QSize size(drawn.width, drawn.height);
    return fit.quarterTurns() % 2 == 1 ? size.transposed() : size;
}

int Reduction(const QSize& stored, const QSize& upright) {
    for (const int factor : {8, 4, 2}) {
        const QSize reduced = ReducedSize(stored, factor);
        if (reduced.width() >= upright.width() && reduced.height() >= upright.height())
            return factor;
    }
    return 1;
}

// A turn of an image starts at its new top left whatever the transform's offset, so the turn is
// taken at the upright picture's own size.
QImage TurnedAsDrawn(const QImage& upright, const ViewTransform& fit) {
    const ViewTransform turn({upright.width(), upright.height()}, fit.quarterTurns() * 90,
                             fit.mirrored());
    return upright.transformed(ToQTransform(turn));
}

} // namespace kavelto
