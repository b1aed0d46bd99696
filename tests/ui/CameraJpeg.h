#pragma once

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QSize>
#include <QString>

#include <cstdio>
#include <memory>
#include <string>

#include <jpeglib.h>

namespace kavelto {

// The Exif segment's content, in little-endian TIFF: an empty directory for the picture, then
// the thumbnail's, which says where the thumbnail's JPEG follows.
inline std::string ExifWithThumbnail(const QImage& picture, QSize size) {
    if (size.height() == 0)
        size.setHeight(size.width() * picture.height() / picture.width());
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "jpeg").write(picture.scaled(size));
    const auto word = [](std::uint32_t value, int bytes) {
        std::string le;
        for (int i = 0; i < bytes; ++i)
            le += char(value >> (8 * i) & 0xFF);
        return le;
    };
    const std::uint32_t thumbnailAt = 8 + 6 + 2 + 2 * 12 + 4;
    return std::string("Exif\0\0II", 8) + word(42, 2) + word(8, 4) + word(0, 2) + word(14, 4) +
           word(2, 2) + word(0x0201, 2) + word(4, 2) + word(1, 4) + word(thumbnailAt, 4) +
           word(0x0202, 2) + word(4, 2) + word(1, 4) + word(std::uint32_t(jpeg.size()), 4) +
           word(0, 4) + jpeg.toStdString();
}

// Writes the picture as phones and cameras write their JPEGs: the coding restarts at every row
// of blocks, for their parallel encoders, and the Exif data keeps a thumbnail of the size (0
// high: of the picture's shape). Whether the file was written whole.
inline bool WriteCameraJpeg(const QImage& picture, const QString& path,
                            const QSize& thumbnail = QSize(160, 0)) {
    const std::unique_ptr<FILE, int (*)(FILE*)> file(
        std::fopen(QFile::encodeName(path).constData(), "wb"), &std::fclose);
    if (!file)
        return false;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    info.restart_in_rows = 1;
    jpeg_start_compress(&info, TRUE);
    const std::string exif = ExifWithThumbnail(rgb, thumbnail);
    jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.data()),
                      unsigned(exif.size()));
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fflush(file.get()) == 0 && !std::ferror(file.get());
}

} // namespace kavelto
