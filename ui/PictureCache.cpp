#include "PictureCache.h"

#include "JpegStream.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTransform>

bool PictureCache::Key::operator==(const Key& other) const {
    return path == other.path && bytes == other.bytes && modified == other.modified &&
           viewRotation == other.viewRotation && mirrored == other.mirrored;
}

PictureCache::Picture PictureCache::picture(const QString& path, int viewRotation, bool mirrored) {
    const QFileInfo file(path);
    const Key key{path, file.exists() ? file.size() : -1, file.lastModified(), viewRotation,
                  mirrored};
    if (!loaded_ || !(key == key_))
        load(key);
    return {&turned_, stored_};
}

void PictureCache::load(const Key& key) {
    key_ = key;
    loaded_ = true;
    turned_ = QImage();
    scaled_ = QImage();
    stored_ = QSize(0, 0);

    QImage image = decode(key.path);
    if (image.isNull())
        return;
    stored_ = image.size();
    if (key.mirrored)
        image.mirror(true, false);
    if (key.viewRotation != 0) {
        // Release the upright copy before the turned one is kept, to bound the peak memory.
        QImage turned = image.transformed(QTransform().rotate(key.viewRotation));
        image = QImage();
        turned_ = std::move(turned);
    } else {
        turned_ = std::move(image);
    }
}

QImage PictureCache::decode(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    if (!kavelto::IsCompleteJpeg(std::string_view(bytes.constData(), bytes.size())))
        return {};
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    // Picture coordinates are pixels of the file as stored, whatever its orientation tag says.
    reader.setAutoTransform(false);
    return reader.read();
}

const QImage& PictureCache::scaled(const QSize& size) {
    if (scaled_.size() != size && !turned_.isNull())
        scaled_ = turned_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaled_;
}
