#include "PictureCache.h"
#include "../support/ViewTransformRows.h"
#include "CameraJpeg.h"
#include "Quadrants.h"
#include "ViewTransformQt.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kavelto;

namespace {

// The turned picture's middle half drawn through a zoomed transform onto a part of a pane, as
// the magnifier draws a part of the picture: the colours at its quarters' middles, then beside
// it.
QString DrawnMiddleHalf(const PictureCache& cache, const ViewTransform& board) {
    QImage pane(60, 60, QImage::Format_RGB32);
    pane.fill(Qt::black);
    QPainter painter(&pane);
    const PixelSize t = board.turnedSize();
    const QRect part(10, 10, 40, 40);
    cache.drawThrough(painter, board.zoomed({t.width / 4, t.height / 4, t.width / 2, t.height / 2},
                                            {part.x(), part.y(), part.width(), part.height()}));
    painter.end();
    return Colours(pane, QuarterMiddles(part) << QPoint(55, 30));
}

} // namespace

class PictureCacheTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    const QString path_ = dir_.filePath(QStringLiteral("board.jpg"));
    const QString camera_ = dir_.filePath(QStringLiteral("camera.jpg"));
    const QSize stored_{2400, 1600};

private slots:
    // Written as desktop software and as cameras write JPEGs.
    void initTestCase() {
        const QImage picture = Quadrants(stored_);
        QVERIFY(picture.save(path_, "JPEG", 90) && WriteCameraJpeg(picture, camera_));
    }

    // A picture 8 times the frame is drawn first reduced (from a camera's JPEG, from its
    // thumbnail) and whole later, both decoded off this thread: the size, the drawn size and
    // where each quadrant is drawn stay the same, in every turn and mirror. A part of it drawn as
    // the magnifier draws one, the turned picture's middle half, shows the quadrants in the same
    // order within that part, and nothing beside it.
    void reducedFirstWholeLater_data() {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<bool>("mirrored");
        QTest::addColumn<QString>("clockwise"); // the turned picture's quadrants from its top left
        QTest::newRow("0") << 0 << false << "red green white blue";
        QTest::newRow("90") << 90 << false << "blue red green white";
        QTest::newRow("180") << 180 << false << "white blue red green";
        QTest::newRow("270") << 270 << false << "green white blue red";
        QTest::newRow("0 mirrored") << 0 << true << "green red blue white";
        QTest::newRow("90 mirrored") << 90 << true << "white green red blue";
        QTest::newRow("180 mirrored") << 180 << true << "blue white green red";
        QTest::newRow("270 mirrored") << 270 << true << "red blue white green";
    }
    void reducedFirstWholeLater() {
        QFETCH(int, rotation);
        QFETCH(bool, mirrored);
        QFETCH(QString, clockwise);
        const QSize drawn = rotation % 180 != 0 ? QSize(200, 300) : QSize(300, 200);
        for (const QString& path : {path_, camera_}) {
            PictureCache cache;
            QSignalSpy sharpened(&cache, &PictureCache::sharpened);
            QCOMPARE(cache.open(path), stored_);
            const ViewTransform board = *ViewTransform::Fitted(
                {stored_.width(), stored_.height()}, rotation, mirrored, {0, 0, 300, 300});
            cache.prepare(board);
            QVERIFY(cache.drawn().isNull()); // nothing decoded on this thread
            cache.decode(board);
            for (const bool whole : {false, true}) {
                QVERIFY(sharpened.wait(10000));
                QCOMPARE(cache.whole(), whole);
                cache.prepare(board);
                QCOMPARE(cache.drawn().size(), drawn);
                QCOMPARE(Colours(cache.drawn(), QuarterMiddles(cache.drawn().rect())), clockwise);
                QCOMPARE(DrawnMiddleHalf(cache, board), clockwise + " #000000");
            }
        }
    }

    // Turned half round and back, the drawn picture follows each turn though its size stays.
    void drawnFollowsATurnBackToTheFirst() {
        PictureCache cache;
        QSignalSpy sharpened(&cache, &PictureCache::sharpened);
        cache.open(path_);
        const auto turned = [this](int rotation) {
            return *ViewTransform::Fitted({stored_.width(), stored_.height()}, rotation, false,
                                          {0, 0, 300, 300});
        };
        cache.decode(turned(0));
        QVERIFY(sharpened.wait(10000));
        const struct {
            int rotation;
            const char* clockwise;
        } steps[] = {{0, "red green white blue"},
                     {180, "white blue red green"},
                     {0, "red green white blue"}};
        for (const auto& step : steps) {
            cache.prepare(turned(step.rotation));
            QCOMPARE(Colours(cache.drawn(), QuarterMiddles(cache.drawn().rect())),
                     QString(step.clockwise));
        }
    }
    // A cache that goes once its decodes are done leaves no decoder behind. A pool's thread
    // may still be on its way back from the task for a moment: a few tries allow for that.
    void anIdleCacheAbandonsNoDecoder() {
        bool abandonedNone = false;
        for (int tries = 0; tries < 20 && !abandonedNone; ++tries) {
            const int before = PictureCache::DecodesAbandoned();
            {
                PictureCache cache;
                QSignalSpy sharpened(&cache, &PictureCache::sharpened);
                cache.open(path_);
                cache.decode(std::nullopt);
                QVERIFY(sharpened.wait(10000));
                QTest::qWait(20);
            }
            abandonedNone = PictureCache::DecodesAbandoned() == before;
        }
        QVERIFY(abandonedNone);
    }
    // The painter's transform takes the picture point where the view transform does, in every
    // turn and mirror.
    void painterTransformFollowsTheRows() {
        for (const ViewTransformRow& row : kViewTransformRows) {
            const QTransform t = ToQTransform(
                *ViewTransform::Fitted(kRowPicture, row.turn, row.mirrored, kRowFrame));
            const QPointF at = t.map(QPointF(kRowPictureX, kRowPictureY));
            QVERIFY2(qAbs(at.x() - row.windowX) < 1e-9 && qAbs(at.y() - row.windowY) < 1e-9,
                     row.name);
        }
    }

    // A frame that needs the picture's own pixels gets the whole picture first, and so does a
    // view whose frame is not known yet.
    void wholeFirstForALargeFrameOrNone_data() {
        QTest::addColumn<bool>("framed");
        QTest::newRow("a large frame") << true;
        QTest::newRow("no frame yet") << false;
    }
    void wholeFirstForALargeFrameOrNone() {
        QFETCH(bool, framed);
        PictureCache cache;
        QSignalSpy sharpened(&cache, &PictureCache::sharpened);
        cache.open(path_);
        const ViewTransform board =
            *ViewTransform::Fitted({2400, 1600}, 0, false, {0, 0, 1500, 1000});
        cache.decode(framed ? std::optional(board) : std::nullopt);
        QVERIFY(sharpened.wait(10000));
        QVERIFY(cache.whole());
        cache.prepare(board);
        QCOMPARE(cache.drawn().size(), QSize(1500, 1000));
    }

    // A JPEG cut short counts as 0 x 0 at once, with nothing to decode; the same file loaded
    // again, changed on disk, is read again.
    void cutShortAtOnce() {
        const QString cut = dir_.filePath(QStringLiteral("cut.jpg"));
        QVERIFY(QFile::copy(path_, cut));
        PictureCache cache;
        QCOMPARE(cache.open(cut), stored_);
        QVERIFY(QFile::resize(cut, QFileInfo(cut).size() / 2));
        QCOMPARE(cache.open(cut), QSize(0, 0));
        cache.decode(std::nullopt);
        QVERIFY(!cache.decoded());
    }

    // A picture whose header reads well but whose pixels can't be decoded is told undecodable
    // once, after its last decode, whether reduced first or whole at once; from then on it counts
    // as 0 x 0, opened again unchanged too, and is refused as no picture. Opened while the
    // decode of another such picture is under way, only its own decode counts.
    void undecodablePixelsCountAsNone_data() {
        QTest::addColumn<bool>("framed");
        QTest::addColumn<bool>("overAnother");
        QTest::newRow("reduced first, then whole") << true << false;
        QTest::newRow("whole at once") << false << false;
        QTest::newRow("over another's decode") << false << true;
    }
    void undecodablePixelsCountAsNone() {
        QFETCH(bool, framed);
        QFETCH(bool, overAnother);
        QByteArray png;
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && Quadrants(stored_).save(&buffer, "PNG"));
        // The first data chunk's deflated rows, past its length and type.
        for (qsizetype at = png.indexOf("IDAT") + 6, end = at + 200; at < end; ++at)
            png[at] = char(0xA5);
        const QString damaged = dir_.filePath(QStringLiteral("damaged.png"));
        QFile::remove(dir_.filePath(QStringLiteral("other.png")));
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(png) == png.size());
        file.close();
        PictureCache cache;
        QSignalSpy sharpened(&cache, &PictureCache::sharpened);
        QSignalSpy undecodable(&cache, &PictureCache::undecodable);
        if (overAnother) {
            const QString other = dir_.filePath(QStringLiteral("other.png"));
            QVERIFY(QFile::copy(damaged, other));
            cache.open(other);
            cache.decode(std::nullopt);
        }
        QCOMPARE(cache.open(damaged), stored_);
        QVERIFY(!cache.refusal());
        cache.decode(framed ? ViewTransform::Fitted({stored_.width(), stored_.height()}, 0, false,
                                                    {0, 0, 300, 200})
                            : std::nullopt);
        QVERIFY(undecodable.wait(10000));
        QTest::qWait(50);
        QCOMPARE(std::make_tuple(undecodable.size(), sharpened.size(), cache.decoded()),
                 std::make_tuple(1, 0, false));
        QVERIFY(cache.refusal() && cache.refusal()->fault == PictureFault::NotAPicture);
        QCOMPARE(cache.open(damaged), QSize(0, 0));
    }

    // A cache that goes while its whole picture is still decoding does not wait for it: the
    // decode is abandoned, and the process told that it need not wait either.
    void abandonsADecodeStillRunning() {
        const QString large = dir_.filePath(QStringLiteral("large.jpg"));
        QImage picture(7000, 7000, QImage::Format_RGB32);
        picture.fill(QColor(40, 90, 160));
        QVERIFY(picture.save(large, "JPEG", 95));
        const int before = PictureCache::DecodesAbandoned();
        {
            PictureCache cache;
            QCOMPARE(cache.open(large), QSize(7000, 7000));
            cache.decode(std::nullopt);
            QTest::qWait(20); // the decode under way
        }
        QCOMPARE(PictureCache::DecodesAbandoned(), before + 2); // its two decoders
    }
};

QTEST_GUILESS_MAIN(PictureCacheTest)
#include "PictureCacheTest.moc"
