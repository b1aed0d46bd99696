#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include "base/Result.h"

#include <optional>
#include <string>

namespace kavelto {

// A picture file read whole, fit to be given to its decoder: a regular file (a named pipe or a
// device is never opened for good) of at most 512 MiB, not cut short, and at most 100 megapixels
// by its header.
struct PictureFile {
    QByteArray bytes;
    QSize size; // as stored, from the header; invalid when the header does not tell
};

// Why a picture file can't be shown.
enum class PictureFault { Unreadable, TooLarge, CutShort, NotAPicture };

struct PictureRefusal {
    PictureFault fault;
    std::string reason; // the system's, for a file that can't be read
};

// Why the file at path is not fit to be decoded, when it is not.
Result<PictureFile, PictureRefusal> ReadPictureFile(const QString& path);

// Decodes the picture with its pixels as stored, whatever its orientation tag says, reduced by
// the factor, 1, 2, 4 or 8 (the JPEG decoder reduces as it decodes, at a fraction of the cost of
// the whole). A JPEG whose coding restarts along its rows is decoded in bands, one a thread. More
// than 8 bits a channel are taken down to 8. A null image when the decoder fails.
QImage DecodePicture(const PictureFile& file, int reduction = 1);

// The small copy of the picture that cameras and phones keep in it, to show until the picture
// itself is decoded; a null image when there is none, or when its shape is not the picture's.
QImage DecodeThumbnail(const PictureFile& file);

// The size of a picture of size stored that the decoder reduces by the factor, each side
// rounded up.
QSize ReducedSize(const QSize& stored, int reduction);

// The whole picture of the file at path; a null image when it can't be decoded.
QImage DecodePicture(const QString& path);

} // namespace kavelto
