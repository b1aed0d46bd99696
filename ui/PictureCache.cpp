#include "PictureCache.h"

#include <QFileInfo>
#include <QPainter>
#include <QPromise>
#include <QTransform>
#include <QtConcurrent/QtConcurrentRun>

namespace kavelto {

namespace {

// Any angle the commands cannot produce is drawn unturned, as the geometry does.
int QuarterTurnDegrees(int viewRotation) {
    return viewRotation == 90 || viewRotation == 180 || viewRotation == 270 ? viewRotation : 0;
}

bool Sideways(int viewRotation) {
    return QuarterTurnDegrees(viewRotation) % 180 != 0;
}

// Where a point of the stored picture lies on the picture mirrored and turned as the view says.
QTransform StoredToTurned(const QSize& stored, int viewRotation, bool mirrored) {
    const qreal w = stored.width();
    const qreal h = stored.height();
    const QTransform mirror = mirrored ? QTransform(-1, 0, 0, 1, w, 0) : QTransform();
    switch (QuarterTurnDegrees(viewRotation)) {
    case 90:
        return mirror * QTransform(0, 1, -1, 0, h, 0);
    case 180:
        return mirror * QTransform(-1, 0, 0, -1, w, h);
    case 270:
        return mirror * QTransform(0, -1, 1, 0, 0, w);
    default:
        return mirror;
    }
}

int CeilDiv(int a, int b) {
    return (a + b - 1) / b;
}

// The JPEG decoder's largest reduction (1/8, 1/4, 1/2) that still gives at least upright's
// pixels, so that the reduced picture fills the view; 1 when none does.
int Reduction(const QSize& stored, const QSize& upright) {
    for (const int factor : {8, 4, 2}) {
        if (CeilDiv(stored.width(), factor) >= upright.width() &&
            CeilDiv(stored.height(), factor) >= upright.height())
            return factor;
    }
    return 1;
}

} // namespace

bool PictureCache::FileKey::operator==(const FileKey& other) const {
    return path == other.path && bytes == other.bytes && modified == other.modified;
}

PictureCache::PictureCache(QObject* parent) : QObject(parent) {
    decoder_.setMaxThreadCount(1);
    connect(&wholeDecode_, &QFutureWatcher<QImage>::finished, this, &PictureCache::takeWhole);
}

PictureCache::~PictureCache() {
    wholeDecode_.cancel();
}

PictureCache::Picture PictureCache::picture(const QString& path, const PixelRect& frame,
                                            int viewRotation, bool mirrored) {
    const QFileInfo info(path);
    const FileKey key{path, info.exists() ? info.size() : -1, info.lastModified()};
    if (!opened_ || !keeping_ || !(key == key_))
        open(key);
    FitResult fit = FitPicture(stored_.width(), stored_.height(), viewRotation, frame);
    if (!fit.drawable)
        return {stored_, fit, QImage()};
    if (source_.isNull()) {
        const QSize drawn(fit.drawnWidth, fit.drawnHeight);
        decodeFirst(Sideways(viewRotation) ? drawn.transposed() : drawn);
    }
    if (source_.isNull()) {
        stored_ = QSize(0, 0);
        return {stored_, FitPicture(0, 0, viewRotation, frame), QImage()};
    }
    return {stored_, fit, drawnAt(QSize(fit.drawnWidth, fit.drawnHeight), viewRotation, mirrored)};
}

// A picture not seen before: its header only, until a paint says how much of it is needed.
void PictureCache::open(const FileKey& key) {
    wholeDecode_.cancel();
    key_ = key;
    opened_ = true;
    source_ = upright_ = drawn_ = QImage();
    whole_ = false;
    file_ = ReadPictureFile(key.path);
    stored_ = file_ && file_->size.isValid() ? file_->size : QSize(0, 0);
    // Without a size in its header, the picture's size is known once it is decoded.
    if (file_ && !file_->size.isValid()) {
        source_ = DecodePicture(*file_);
        stored_ = source_.size();
        whole_ = true;
        file_.reset();
    }
}

void PictureCache::decodeFirst(const QSize& upright) {
    if (!file_)
        return;
    const int factor = keeping_ ? Reduction(stored_, upright) : 1;
    if (factor == 1) {
        source_ = DecodePicture(*file_);
        whole_ = true;
    } else {
        // The whole decode starts first, on the other cores, so that it is in sooner. The
        // camera's own thumbnail is there at once; the decoder's reduced picture costs a pass
        // over the whole file.
        decodeWholeLater(*file_);
        source_ = DecodeThumbnail(*file_);
        if (source_.isNull())
            source_ = DecodePicture(*file_, factor);
        if (source_.isNull())
            wholeDecode_.cancel();
    }
    file_.reset();
}

// A decode that a newer picture made useless is skipped if it has not started.
void PictureCache::decodeWholeLater(const PictureFile& file) {
    wholeDecode_.setFuture(QtConcurrent::run(&decoder_, [file](QPromise<QImage>& promise) {
        if (!promise.isCanceled())
            promise.addResult(DecodePicture(file));
    }));
}

void PictureCache::takeWhole() {
    QFuture<QImage> decoded = wholeDecode_.future();
    if (decoded.isCanceled() || decoded.resultCount() == 0)
        return;
    // Taken out of the future, so that no copy outlives the picture.
    QImage whole = decoded.takeResult();
    if (whole.isNull())
        return;
    source_ = std::move(whole);
    whole_ = true;
    upright_ = drawn_ = QImage();
    emit sharpened();
}

// Only the drawn size is turned and mirrored; the upright scaled picture serves every turn of
// the same drawn size.
QImage PictureCache::drawnAt(const QSize& size, int viewRotation, bool mirrored) {
    if (!drawn_.isNull() && drawn_.size() == size && drawnRotation_ == viewRotation &&
        drawnMirrored_ == mirrored)
        return drawn_;
    const QSize upright = Sideways(viewRotation) ? size.transposed() : size;
    if (upright_.size() != upright)
        upright_ = source_.scaled(upright, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    drawn_ = mirrored ? upright_.mirrored(true, false) : upright_;
    if (QuarterTurnDegrees(viewRotation) != 0)
        drawn_ = drawn_.transformed(QTransform().rotate(QuarterTurnDegrees(viewRotation)));
    drawnRotation_ = viewRotation;
    drawnMirrored_ = mirrored;
    return drawn_;
}

// Only the pixels under the target are copied, mirrored and turned: a square of the picture, not
// the whole.
void PictureCache::drawTurned(QPainter& painter, const QRectF& target, const QRectF& source,
                              int viewRotation, bool mirrored) const {
    if (source_.isNull() || stored_.isEmpty() || source.isEmpty())
        return;
    const QTransform storedToTurned = StoredToTurned(stored_, viewRotation, mirrored);
    const QTransform imageToStored = QTransform::fromScale(
        qreal(stored_.width()) / source_.width(), qreal(stored_.height()) / source_.height());
    const QRectF square = (imageToStored * storedToTurned).inverted().mapRect(source);
    const QRect pixels = square.toAlignedRect() & source_.rect();
    if (pixels.isEmpty())
        return;
    QImage part = source_.copy(pixels);
    if (mirrored)
        part = part.mirrored(true, false);
    if (QuarterTurnDegrees(viewRotation) != 0)
        part = part.transformed(QTransform().rotate(QuarterTurnDegrees(viewRotation)));
    const QRectF turned = (imageToStored * storedToTurned).mapRect(QRectF(pixels));
    const qreal kx = target.width() / source.width();
    const qreal ky = target.height() / source.height();
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.drawImage(QRectF(target.left() + (turned.left() - source.left()) * kx,
                             target.top() + (turned.top() - source.top()) * ky, turned.width() * kx,
                             turned.height() * ky),
                      part);
    painter.restore();
}

} // namespace kavelto
