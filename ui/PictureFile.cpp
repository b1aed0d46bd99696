#include "PictureFile.h"

#include "JpegStream.h"
#include "TextFileReader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <cerrno>
#include <unistd.h>

namespace kavelto {

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
std::optional<QByteArray> ReadWholeFile(const QString& path) {
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

// Picture coordinates are pixels of the file as stored, whatever its orientation tag says.
void ReadAsStored(QImageReader& reader) {
    reader.setAutoTransform(false);
}

} // namespace

std::optional<PictureFile> ReadPictureFile(const QString& path) {
    std::optional<QByteArray> bytes = ReadWholeFile(path);
    if (!bytes || !IsCompleteJpeg(std::string_view(bytes->constData(), bytes->size())))
        return std::nullopt;
    PictureFile file{std::move(*bytes), QSize()};
    QBuffer buffer;
    buffer.setData(file.bytes);
    QImageReader reader(&buffer);
    ReadAsStored(reader);
    file.size = reader.size();
    if (file.size.isValid() && qint64(file.size.width()) * file.size.height() > kMaxPicturePixels)
        return std::nullopt;
    return file;
}

// Runs on the window's thread and on the decoding thread alike.
QImage DecodePicture(const PictureFile& file, const QSize& scaledSize) {
    static const bool limited = (QImageReader::setAllocationLimit(kAllocationLimitMiB), true);
    Q_UNUSED(limited);
    QBuffer buffer;
    buffer.setData(file.bytes);
    QImageReader reader(&buffer);
    ReadAsStored(reader);
    if (scaledSize.isValid())
        reader.setScaledSize(scaledSize);
    return reader.read();
}

QImage DecodePicture(const QString& path) {
    const std::optional<PictureFile> file = ReadPictureFile(path);
    return file ? DecodePicture(*file) : QImage();
}

} // namespace kavelto
