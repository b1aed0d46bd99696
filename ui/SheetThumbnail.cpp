#include "SheetThumbnail.h"

#include "PictureFile.h"
#include "PictureFit.h"

#include <QFile>

#include <utility>

namespace kavelto {

std::optional<SheetThumbnail> SheetThumbnail::Make(const SheetsPicture& picture, const QSize& box) {
    const std::optional<ViewTransform> fit =
        ViewTransform::Fitted(picture.size, picture.viewRotation, picture.mirrored,
                              PixelRect{0, 0, box.width(), box.height()});
    if (!fit)
        return std::nullopt;
    const Result<PictureFile, PictureRefusal> file =
        ReadPictureFile(QFile::decodeName(picture.path.c_str()));
    if (!file)
        return std::nullopt;
    const QSize upright = UprightDrawnSize(*fit);
    // Without a size in its header the decoder can't be asked to reduce the picture.
    const int reduction = file->size.isValid() ? Reduction(file->size, upright) : 1;
    const QImage decoded = DecodePicture(file.value(), reduction);
    if (decoded.isNull())
        return std::nullopt;
    const QImage scaled = decoded.scaled(upright, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return SheetThumbnail(TurnedAsDrawn(scaled, *fit), *fit);
}

SheetThumbnail::SheetThumbnail(QImage image, const ViewTransform& fit)
    : image_(std::move(image)), fit_(fit) {}

QPointF SheetThumbnail::at(const PixelPoint& pixel) const {
    const ViewPoint point = fit_.toWindow({double(pixel.x), double(pixel.y)});
    return {point.x, point.y};
}

} // namespace kavelto
