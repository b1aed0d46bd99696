#pragma once

#include "TestFiles.h"

#include <QColor>
#include <QSize>

// A JPEG of one plain colour: small on disk whatever its size in pixels.
inline QByteArray PlainJpeg(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
    return Encoded(image, "JPEG", 30);
}

// The JPEG with the size in its frame header replaced: a header that claims a huge picture
// without the pixels to go with it.
inline QByteArray WithClaimedSize(QByteArray jpeg, const QSize& size) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(jpeg[i]); };
    for (qsizetype at = 2; at + 9 <= jpeg.size(); at += 2 + (byte(at + 2) << 8 | byte(at + 3))) {
        if (byte(at + 1) == 0xC0) {
            const int fields[] = {size.height(), size.width()};
            for (qsizetype i = 0; i < 2; ++i) {
                jpeg[at + 5 + 2 * i] = static_cast<char>(fields[i] >> 8);
                jpeg[at + 6 + 2 * i] = static_cast<char>(fields[i] & 0xFF);
            }
            return jpeg;
        }
    }
    return {};
}
