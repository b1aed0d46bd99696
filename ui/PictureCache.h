#pragma once

#include "PictureFile.h"
#include "geometry/ViewTransform.h"

#include <QDateTime>
#include <QFuture>
#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <optional>

class QPainter;

namespace kavelto {

// The board picture, opened when the user loads it and decoded off the window's thread, kept
// upright as stored; and what the board view draws of it: scaled to the drawn size, then turned
// and mirrored. A paint reads no file and decodes nothing: it draws the pixels already there.
//
// A new picture is first decoded from the thumbnail that cameras and phones keep in it, or else
// reduced to the size that fills the view, which the JPEG decoder does at a fraction of the cost
// of the whole; the whole picture follows and takes the first one's place when ready, and
// sharpened() asks the views to paint again. The geometry works with the size the file's header
// gives, so nothing moves when the pixels come in.
class PictureCache : public QObject {
    Q_OBJECT
public:
    explicit PictureCache(QObject* parent = nullptr);
    // Never waits for a decode: one still running is abandoned, and goes on to its end unseen.
    ~PictureCache() override;

    // How many caches went while a decode of theirs was running: the process may end at once
    // then, rather than wait for them as their thread pools would.
    static int DecodesAbandoned();

    // Reads the file at path and its header at once, and returns its size as stored: 0 x 0 when
    // it can't be read. The same unchanged file opened again keeps the pixels it has.
    QSize open(const QString& path);
    // Why the picture opened can't be shown, once that is known: at once for a file unfit to be
    // decoded, when undecodable() comes for one whose decode failed.
    const std::optional<PictureRefusal>& refusal() const { return refusal_; }
    // Starts decoding the picture opened, first reduced to what board draws of it (the whole
    // picture at once when nothing is drawn, or when the view needs all its pixels).
    void decode(const std::optional<ViewTransform>& board);
    // Forgets the picture: there is nothing to draw.
    void close();

    // Makes the picture as board draws it at its drawn rectangle, from the pixels decoded so
    // far, so that a paint only copies it; nothing is done again for the view it was made for.
    void prepare(const ViewTransform& board);
    // What the last prepare() made; a null image while no pixels are in.
    const QImage& drawn() const { return drawn_; }
    // Draws the picture through the transform, within its drawn rectangle, from the pixels
    // decoded so far: only those under that rectangle are read.
    void drawThrough(QPainter& painter, const ViewTransform& transform) const;

    // Whether the first pixels, and whether the whole picture's, are in.
    bool decoded() const { return !source_.isNull(); }
    bool whole() const { return whole_; }

signals:
    // New pixels came in: what is drawn gets sharper, nothing moves.
    void sharpened();
    // Neither decode gave pixels: the picture counts as 0 x 0.
    void undecodable();

private:
    struct FileKey {
        QString path;
        qint64 bytes = -1;
        QDateTime modified;

        bool operator==(const FileKey& other) const;
    };

    void forget();
    void decodeWhole(PictureFile file);
    QFuture<QImage> decodeOn(QThreadPool& pool, std::function<QImage()> decode, bool whole);
    void arrived(int generation, QImage image, bool whole);

    // Handed to AbandonDecodes() when a decode is still running as the cache goes.
    std::unique_ptr<QThreadPool> firstDecoder_;
    std::unique_ptr<QThreadPool> wholeDecoder_;
    QFuture<QImage> firstDecode_;
    QFuture<QImage> wholeDecode_;
    int generation_ = 0; // counts the pictures opened: a decode of one before is not taken
    int pending_ = 0;    // decodes of this picture still running
    std::optional<FileKey> key_;
    std::optional<PictureFile> file_; // read, and not yet decoded
    std::optional<PictureRefusal> refusal_;
    std::optional<PictureFile> wholeLater_; // to decode whole once the first picture is in
    QSize stored_;
    QImage source_; // upright as stored: thumbnail, reduced or whole
    bool whole_ = false;
    // The source as the view shows it, made when the pixels or the view change.
    QImage upright_; // the source scaled to the drawn size
    QImage drawn_;   // upright_ mirrored and turned
    int drawnTurns_ = 0;
    bool drawnMirrored_ = false;
};

} // namespace kavelto
