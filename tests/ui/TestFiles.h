#pragma once

// Files and encoded pictures the tests make for the window to read.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

// Writes the bytes to the path, replacing what was there; the path, or nothing when the file
// can't be written whole.
inline QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    return written ? path : QString();
}

// The picture in the format given, as its file holds it.
inline QByteArray Encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, format, quality) ? bytes
                                                                                     : QByteArray();
}
