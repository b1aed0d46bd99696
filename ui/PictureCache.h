#pragma once

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

namespace kavelto {

// Keeps the board picture decoded, turned and mirrored as the view shows it, and scaled to its
// drawn size, so that a paint costs a copy of pixels rather than a decode. The file's size and
// modification time are checked at every paint, so a picture changed on disk shows at once.
class PictureCache {
public:
    struct Picture {
        const QImage* turned; // null image when the file can't be decoded
        QSize stored;         // the file's own size; 0 x 0 when it can't be decoded
    };

    Picture picture(const QString& path, int viewRotation, bool mirrored);

    // The turned picture scaled to size; valid until the next call.
    const QImage& scaled(const QSize& size);

private:
    struct Key {
        QString path;
        qint64 bytes = -1;
        QDateTime modified;
        int viewRotation = 0;
        bool mirrored = false;

        bool operator==(const Key& other) const;
    };

    void load(const Key& key);

    Key key_;
    bool loaded_ = false;
    QSize stored_;
    QImage turned_;
    QImage scaled_;
};

// Decodes the picture file at path with its pixels as stored, whatever its orientation tag
// says. A null image when it can't be decoded: no regular file (a named pipe or a device is
// never opened for good), over 512 MiB, a JPEG cut short, or over 100 megapixels.
QImage DecodePicture(const QString& path);

} // namespace kavelto
