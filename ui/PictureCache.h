#pragma once

#include "PictureFile.h"
#include "geometry/ViewGeometry.h"

#include <QDateTime>
#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QThreadPool>

#include <optional>

class QPainter;

namespace kavelto {

// Keeps the board picture decoded upright, as stored, and what the board view draws of it:
// scaled to the drawn size, then turned and mirrored. A paint costs a copy of pixels rather than
// a decode, and no turned copy of the whole picture is ever made.
//
// A new picture is first shown from the thumbnail that cameras and phones keep in it, or else
// decoded reduced to the size that fills the view, which the JPEG decoder does at a fraction of
// the cost of the whole; the whole picture is decoded off the window's thread and takes the
// first one's place when ready, and sharpened() asks the views to paint again. The geometry
// works with the size the file's header gives, so nothing moves when the whole picture comes
// in. The file's size and modification time are checked at every paint, so a picture changed on
// disk shows at once.
class PictureCache : public QObject {
    Q_OBJECT
public:
    explicit PictureCache(QObject* parent = nullptr);
    ~PictureCache() override;

    struct Picture {
        QSize stored;  // the file's size as stored; 0 x 0 when it can't be decoded
        FitResult fit; // how the picture, turned as the view turns it, fits the frame
        QImage drawn;  // the picture as drawn, at the fit's size; null when nothing is drawn
    };

    // The picture at path as the board view draws it into frame.
    Picture picture(const QString& path, const PixelRect& frame, int viewRotation, bool mirrored);

    // Draws the part source of the turned picture (in its pixels: the stored picture mirrored
    // and turned as the view says) into target, from the picture decoded so far.
    void drawTurned(QPainter& painter, const QRectF& target, const QRectF& source, int viewRotation,
                    bool mirrored) const;

    // Whether the whole picture is in, rather than the first one.
    bool whole() const { return whole_; }

    // Off, every paint reads and decodes the whole file again, as without a cache: the cost the
    // cache saves, for comparison.
    void setKeeping(bool keeping) { keeping_ = keeping; }

signals:
    // The whole picture replaced the first one: what is drawn gets sharper, nothing moves.
    void sharpened();

private:
    struct FileKey {
        QString path;
        qint64 bytes = -1;
        QDateTime modified;

        bool operator==(const FileKey& other) const;
    };

    void open(const FileKey& key);
    void decodeFirst(const QSize& upright);
    void decodeWholeLater(const PictureFile& file);
    void takeWhole();
    QImage drawnAt(const QSize& size, int viewRotation, bool mirrored);

    // Declared first so that it goes last: its end waits for a decode still running.
    QThreadPool decoder_;
    QFutureWatcher<QImage> wholeDecode_;
    FileKey key_;
    bool opened_ = false;
    bool keeping_ = true;
    std::optional<PictureFile> file_; // read, and not yet decoded
    QSize stored_;
    QImage source_; // upright as stored: thumbnail, reduced or whole
    bool whole_ = false;
    QImage upright_; // the source scaled to the drawn size
    QImage drawn_;   // upright_ mirrored and turned
    int drawnRotation_ = 0;
    bool drawnMirrored_ = false;
};

} // namespace kavelto
