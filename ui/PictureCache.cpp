#include "PictureCache.h"

#include "PictureFit.h"
#include "ViewTransformQt.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QPainter>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

namespace kavelto {

namespace {

// The thread pools of the caches that went while decoding: kept until the process ends, so that
// a cache never waits for its decode. A process that does not end at once waits for them here.
std::vector<std::unique_ptr<QThreadPool>>& AbandonedPools() {
    static std::vector<std::unique_ptr<QThreadPool>> pools;
    return pools;
}

} // namespace

bool PictureCache::FileKey::operator==(const FileKey& other) const {
    return path == other.path && bytes == other.bytes && modified == other.modified;
}

PictureCache::PictureCache(QObject* parent)
    : QObject(parent), firstDecoder_(std::make_unique<QThreadPool>()),
      wholeDecoder_(std::make_unique<QThreadPool>()) {
    firstDecoder_->setMaxThreadCount(1);
    wholeDecoder_->setMaxThreadCount(1);
}

PictureCache::~PictureCache() {
    firstDecode_.cancel();
    wholeDecode_.cancel();
    const bool running =
        firstDecoder_->activeThreadCount() > 0 || wholeDecoder_->activeThreadCount() > 0;
    if (!running)
        return;
    AbandonedPools().push_back(std::move(firstDecoder_));
    AbandonedPools().push_back(std::move(wholeDecoder_));
}

int PictureCache::DecodesAbandoned() {
    return int(AbandonedPools().size());
}

QSize PictureCache::open(const QString& path) {
    const QFileInfo info(path);
    const FileKey key{path, info.exists() ? info.size() : -1, info.lastModified()};
    if (key_ == key)
        return stored_;
    forget();
    key_ = key;
    Result<PictureFile, PictureRefusal> read = ReadPictureFile(path);
    if (read)
        file_ = std::move(read).value();
    else
        refusal_ = read.failure();
    stored_ = file_ && file_->size.isValid() ? file_->size : QSize(0, 0);
    // Without a size in its header, which JPEG, PNG and BMP files always have, the picture's size
    // is known only once it is decoded.
    if (file_ && !file_->size.isValid()) {
        source_ = DecodePicture(*file_);
        stored_ = source_.size();
        whole_ = true;
        file_.reset();
        if (source_.isNull())
            refusal_ = PictureRefusal{PictureFault::NotAPicture, ""};
    }
    return stored_;
}

void PictureCache::close() {
    forget();
    key_.reset();
    stored_ = QSize();
}

// The decodes of the picture before that have started go on to their end, but their pixels are
// not taken.
void PictureCache::forget() {
    firstDecode_.cancel();
    wholeDecode_.cancel();
    ++generation_;
    pending_ = 0;
    file_.reset();
    wholeLater_.reset();
    refusal_.reset();
    source_ = upright_ = drawn_ = QImage();
    whole_ = false;
}

// The first picture comes first, with the cores to itself: it is the one the user waits for.
// The camera's own thumbnail costs nothing; the decoder's reduced picture costs a pass over the
// whole file. The whole picture follows it, and may still be decoding one before.
void PictureCache::decode(const std::optional<ViewTransform>& board) {
    if (!file_)
        return;
    PictureFile file = std::move(*file_);
    file_.reset();
    const int factor = board ? Reduction(stored_, UprightDrawnSize(*board)) : 1;
    if (factor == 1) {
        decodeWhole(std::move(file));
        return;
    }
    firstDecode_ = decodeOn(
        *firstDecoder_,
        [file, factor] {
            const QImage thumbnail = DecodeThumbnail(file);
            return thumbnail.isNull() ? DecodePicture(file, factor) : thumbnail;
        },
        false);
    wholeLater_ = std::move(file);
}

void PictureCache::decodeWhole(PictureFile file) {
    wholeDecode_ = decodeOn(
        *wholeDecoder_, [file = std::move(file)] { return DecodePicture(file); }, true);
}

// A decode that a newer picture made useless is skipped if it has not started. Its pixels come
// back on this object's thread.
QFuture<QImage> PictureCache::decodeOn(QThreadPool& pool, std::function<QImage()> decode,
                                       bool whole) {
    ++pending_;
    QFuture<QImage> future =
        QtConcurrent::run(&pool, [decode = std::move(decode)](QPromise<QImage>& promise) {
            if (!promise.isCanceled())
                promise.addResult(decode());
        });
    auto* watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this,
            [this, watcher, generation = generation_, whole] {
                QFuture<QImage> decoded = watcher->future();
                // Taken out of the future, so that no copy outlives the picture.
                arrived(generation,
                        !decoded.isCanceled() && decoded.resultCount() > 0 ? decoded.takeResult()
                                                                           : QImage(),
                        whole);
                watcher->deleteLater();
            });
    watcher->setFuture(future);
    return future;
}

void PictureCache::arrived(int generation, QImage image, bool whole) {
    if (generation != generation_)
        return;
    --pending_;
    if (wholeLater_) {
        decodeWhole(std::move(*wholeLater_));
        wholeLater_.reset();
    }
    if (!image.isNull()) {
        source_ = std::move(image);
        whole_ = whole;
        upright_ = drawn_ = QImage();
        emit sharpened();
    }
    if (pending_ == 0 && source_.isNull() && !stored_.isEmpty()) {
        stored_ = QSize(0, 0);
        refusal_ = PictureRefusal{PictureFault::NotAPicture, ""};
        emit undecodable();
    }
}

// Only the drawn size is turned and mirrored; the upright scaled picture serves every turn of
// the same drawn size.
void PictureCache::prepare(const ViewTransform& board) {
    const PixelRect rect = board.drawn();
    const QSize size(rect.width, rect.height);
    if (source_.isNull() || (drawn_.size() == size && drawnTurns_ == board.quarterTurns() &&
                             drawnMirrored_ == board.mirrored()))
        return;
    const QSize upright = UprightDrawnSize(board);
    if (upright_.size() != upright)
        upright_ = source_.scaled(upright, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    drawn_ = TurnedAsDrawn(upright_, board);
    drawnTurns_ = board.quarterTurns();
    drawnMirrored_ = board.mirrored();
}

void PictureCache::drawThrough(QPainter& painter, const ViewTransform& transform) const {
    const PixelSize stored = transform.pictureSize();
    if (source_.isNull() || stored.width <= 0 || stored.height <= 0)
        return;
    const PixelRect target = transform.drawn();
    const QRectF window(target.left, target.top, target.width, target.height);
    const QTransform sourceToWindow =
        QTransform::fromScale(qreal(stored.width) / source_.width(),
                              qreal(stored.height) / source_.height()) *
        ToQTransform(transform);
    const QRect pixels = sourceToWindow.inverted().mapRect(window).toAlignedRect() & source_.rect();
    if (pixels.isEmpty())
        return;
    painter.save();
    painter.setClipRect(window, Qt::IntersectClip);
    painter.setTransform(sourceToWindow, true);
    painter.drawImage(QRectF(pixels), source_, QRectF(pixels));
    painter.restore();
}

} // namespace kavelto
