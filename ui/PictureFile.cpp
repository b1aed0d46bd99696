#include "PictureFile.h"

#include "JpegStream.h"
#include "files/FileUtils.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <unistd.h>
#include <vector>

namespace kavelto {

namespace {

constexpr std::int64_t kMaxPictureBytes = std::int64_t(512) * 1024 * 1024;
constexpr qint64 kMaxPicturePixels = 100'000'000;
// The decoder's allocation limit in MiB, room for the largest picture at 32 bits a pixel.
constexpr int kAllocationLimitMiB = int((kMaxPicturePixels * 4 + (1 << 20) - 1) >> 20);

// The whole regular file at path, or nothing when there is none or it is too large.
std::optional<QByteArray> ReadWholeFile(const QString& path) {
    FileResult<QByteArray> bytes =
        kavelto::ReadWholeFile<QByteArray>(QFile::encodeName(path).toStdString(), kMaxPictureBytes);
    if (!bytes)
        return std::nullopt;
    return std::move(bytes).value();
}

// Picture coordinates are pixels of the file as stored, whatever its orientation tag says.
// The decoder reduces to scaledSize when that is valid.
void Configure(QImageReader& reader, const QSize& scaledSize = QSize()) {
    static const bool limited = (QImageReader::setAllocationLimit(kAllocationLimitMiB), true);
    Q_UNUSED(limited);
    reader.setAutoTransform(false);
    if (scaledSize.isValid())
        reader.setScaledSize(scaledSize);
}

int CeilDiv(int a, int b) {
    return (a + b - 1) / b;
}

QImage Decode(const QByteArray& bytes, const QSize& scaledSize) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    Configure(reader, scaledSize);
    return reader.read();
}

// Decodes the band into its rows of the image, whose first row is at bits.
bool DecodeBand(const JpegBand& band, uchar* bits, const QImage& image, int reduction) {
    const int top = band.top / reduction;
    const int rows = std::min(CeilDiv(band.height, reduction), image.height() - top);
    if (rows <= 0)
        return false;
    uchar* const first = bits + qsizetype(top) * image.bytesPerLine();
    QImage rowsOfBand(first, image.width(), rows, image.bytesPerLine(), image.format());
    QBuffer buffer;
    buffer.setData(QByteArray::fromRawData(band.stream.data(), qsizetype(band.stream.size())));
    QImageReader reader(&buffer);
    Configure(reader, QSize(image.width(), rows));
    if (!reader.read(&rowsOfBand) || rowsOfBand.size() != QSize(image.width(), rows) ||
        rowsOfBand.format() != image.format())
        return false;
    // A decoder that made an image of its own, to scale it, leaves it to be copied in.
    if (rowsOfBand.constBits() != first) {
        for (int y = 0; y < rows; ++y)
            std::memcpy(first + qsizetype(y) * image.bytesPerLine(), rowsOfBand.constScanLine(y),
                        std::size_t(rowsOfBand.bytesPerLine()));
    }
    return true;
}

// The bands decoded straight into their rows of one image, all but the first on other threads;
// a null image when one fails.
QImage DecodeBands(const PictureFile& file, const std::vector<JpegBand>& bands, int reduction) {
    QBuffer buffer;
    buffer.setData(file.bytes);
    QImageReader header(&buffer);
    QImage image(ReducedSize(file.size, reduction), header.imageFormat());
    if (image.isNull())
        return image;
    uchar* const bits = image.bits(); // taken once: the threads write through it
    std::vector<QFuture<bool>> others;
    for (std::size_t i = 1; i < bands.size(); ++i)
        others.push_back(
            QtConcurrent::run(DecodeBand, std::cref(bands[i]), bits, std::cref(image), reduction));
    bool decoded = DecodeBand(bands.front(), bits, image, reduction);
    for (QFuture<bool>& other : others)
        decoded = other.result() && decoded;
    return decoded ? image : QImage();
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
    Configure(reader);
    file.size = reader.size();
    if (file.size.isValid() && qint64(file.size.width()) * file.size.height() > kMaxPicturePixels)
        return std::nullopt;
    return file;
}

// Runs on the window's thread and on the decoding thread alike.
QImage DecodePicture(const PictureFile& file, int reduction) {
    const QSize reduced =
        reduction > 1 && file.size.isValid() ? ReducedSize(file.size, reduction) : QSize();
    if (file.size.isValid()) {
        const std::vector<JpegBand> bands = SplitJpegIntoBands(
            std::string_view(file.bytes.constData(), std::size_t(file.bytes.size())),
            QThread::idealThreadCount());
        if (!bands.empty()) {
            QImage image = DecodeBands(file, bands, reduction);
            if (!image.isNull())
                return image;
        }
    }
    return Decode(file.bytes, reduced);
}

QImage DecodeThumbnail(const PictureFile& file) {
    const std::string_view thumbnail =
        ExifThumbnail(std::string_view(file.bytes.constData(), std::size_t(file.bytes.size())));
    if (thumbnail.empty() || !file.size.isValid() || !IsCompleteJpeg(thumbnail))
        return QImage();
    QImage image =
        Decode(QByteArray::fromRawData(thumbnail.data(), qsizetype(thumbnail.size())), QSize());
    // Some cameras pad a thumbnail to 4:3 with black bands: only one of the picture's shape,
    // to a pixel, may stand for it.
    const qint64 heightForWidth =
        (qint64(image.width()) * file.size.height() + file.size.width() / 2) / file.size.width();
    if (image.isNull() || std::abs(heightForWidth - image.height()) > 1)
        return QImage();
    return image;
}

QSize ReducedSize(const QSize& stored, int reduction) {
    return QSize(CeilDiv(stored.width(), reduction), CeilDiv(stored.height(), reduction));
}

QImage DecodePicture(const QString& path) {
    const std::optional<PictureFile> file = ReadPictureFile(path);
    return file ? DecodePicture(*file) : QImage();
}

} // namespace kavelto
