#pragma once

#include "app/SheetsPicture.h"
#include "geometry/ViewTransform.h"

#include <QImage>
#include <QPointF>
#include <QSize>

#include <optional>

namespace kavelto {

// The face's picture made once for all the blocks of the sheets: decoded reduced as far as the
// box allows, scaled into the box with its shape kept and turned and mirrored as the board view
// shows it. Each block only draws it and rings its spots.
class SheetThumbnail {
public:
    // Nothing when the picture can't be read or decoded, or nothing of it fits the box.
    static std::optional<SheetThumbnail> Make(const SheetsPicture& picture, const QSize& box);

    // At the top left of the box, as large as the fit draws it.
    const QImage& image() const { return image_; }
    // Where a pixel of the picture as stored lies on the image.
    QPointF at(const PixelPoint& pixel) const;

private:
    SheetThumbnail(QImage image, const ViewTransform& fit);

    QImage image_;
    ViewTransform fit_;
};

} // namespace kavelto
