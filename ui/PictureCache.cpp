#include "PictureCache.h"

#include "JpegStream.h"
#include "TextFileReader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTransform>

#include <cerrno>
#include <optional>
#include <unistd.h>

namespace kavelto {

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

    QImage image = DecodePicture(key.path);
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

namespace {

constexpr std::int64_t kMaxPictureBytes = std::int64_t(512) * 1024 * 1024;
constexpr qint64 kMaxPicturePixels = 100'000'000;
// The decoder's allocation limit in MiB, room for the largest picture at 32 bits a pixel.
constexpr int kAllocationLimitMiB = int((kMaxPicturePixels * 4 + (1 << 20) - 1) >> 20);

// Closes a descriptor at scope end.
struct Descriptor {
    int fd;
    ~Descriptor() { close(fd); }
};

// The whole regular file at path, or nothing when there is none or it is too large.
std::optional<QByteArray> ReadPictureFile(const QString& path) {
    std::int64_t size = 0;
    const int fd = OpenRegularFile(QFile::encodeName(path).constData(), size);
    if (fd < 0)
        return std::nullopt;
    const Descriptor file{fd};
    if (size > kMaxPictureBytes)
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n =
            read(file.fd, bytes.data() + filled, static_cast<std::size_t>(bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        filled += n;
    }
    // A file that shrank meanwhile is read as far as it goes.
    bytes.truncate(filled);
    return bytes;
}

} // namespace

QImage DecodePicture(const QString& path) {
    std::optional<QByteArray> bytes = ReadPictureFile(path);
    if (!bytes || !IsCompleteJpeg(std::string_view(bytes->constData(), bytes->size())))
        return {};
    QBuffer buffer(&*bytes);
    QImageReader reader(&buffer);
    // Picture coordinates are pixels of the file as stored, whatever its orientation tag says.
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPicturePixels)
        return {};
    QImageReader::setAllocationLimit(kAllocationLimitMiB);
    return reader.read();
}

const QImage& PictureCache::scaled(const QSize& size) {
    if (scaled_.size() != size && !turned_.isNull())
        scaled_ = turned_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaled_;
}

} // namespace kavelto
