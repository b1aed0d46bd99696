#include "PictureFile.h"

#include "CutShort.h"
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
// The decoder's allocation limit in MiB, room for the largest picture at 64 bits a pixel, as a
// PNG of 16 bits a channel decodes before it is taken down to 8.
constexpr int kAllocationLimitMiB = int((kMaxPicturePixels * 8 + (1 << 20) - 1) >> 20);

// The whole regular file at path; a file too large is refused before it is read.
Result<QByteArray, PictureRefusal> ReadWholeFile(const QString& path) {
    const std::string localPath = QFile::encodeName(path).toStdString();
    if (const FileResult<RegularFile> file = OpenRegularFile(localPath);
        file && file->size > kMaxPictureBytes)
        return PictureRefusal{PictureFault::TooLarge, ""};
    FileResult<QByteArray> bytes = kavelto::ReadWholeFile<QByteArray>(localPath, kMaxPictureBytes);
    if (!bytes)
        return PictureRefusal{PictureFault::Unreadable, bytes.failure().reason};
    return std::move(bytes).value();
}

// Eight bits a channel are all a screen shows, at half the memory of sixteen.
QImage EightBitsAChannel(QImage image) {
    if (image.depth() > 32)
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    return image;
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
    return EightBitsAChannel(reader.read());
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

Result<PictureFile, PictureRefusal> ReadPictureFile(const QString& path) {
    Result<QByteArray, PictureRefusal> bytes = ReadWholeFile(path);
    if (!bytes)
        return bytes.failure();
    if (IsCutShort(std::string_view(bytes->constData(), std::size_t(bytes->size()))))
        return PictureRefusal{PictureFault::CutShort, ""};
    PictureFile file{std::move(bytes).value(), QSize()};
    QBuffer buffer;
    buffer.setData(file.bytes);
    QImageReader reader(&buffer);
    Configure(reader);
    if (!reader.canRead())
        return PictureRefusal{PictureFault::NotAPicture, ""};
    file.size = reader.size();
    if (file.size.isValid() && qint64(file.size.width()) * file.size.height() > kMaxPicturePixels)
        return PictureRefusal{PictureFault::TooLarge, ""};
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
    const Result<PictureFile, PictureRefusal> file = ReadPictureFile(path);
    return file ? DecodePicture(file.value()) : QImage();
}

} // namespace kavelto
