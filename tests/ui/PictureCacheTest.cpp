#include "PictureCache.h"
#include "../support/ViewTransformRows.h"
#include "CameraJpeg.h"
#include "ViewTransformQt.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kavelto;

namespace {

// The stored picture's quadrants, clockwise from its top left, in plain colours so that any
// reduction, turn and mirror keeps them apart.
const std::pair<const char*, QColor> kQuadrants[] = {
    {"red", Qt::red}, {"green", Qt::green}, {"white", Qt::white}, {"blue", Qt::blue}};

// Written as desktop software and as cameras write JPEGs.
bool WriteQuadrants(const QString& desktop, const QString& camera, const QSize& size) {
    QImage picture(size, QImage::Format_RGB32);
    QPainter painter(&picture);
    const int w = size.width() / 2, h = size.height() / 2;
    const QPoint corners[] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    for (int i = 0; i < 4; ++i)
        painter.fillRect(QRect(corners[i], QSize(w, h)), kQuadrants[i].second);
    painter.end();
    return picture.save(desktop, "JPEG", 90) && WriteCameraJpeg(picture, camera);
}

// The quadrants' colours near which the image's pixels at the points lie, or the colour seen.
QString Colours(const QImage& image, const QList<QPoint>& points) {
    QStringList names;
    for (const QPoint& point : points) {
        const QColor c = image.pixelColor(point);
        names << c.name();
        for (const auto& [name, q] : kQuadrants)
            if (qAbs(c.red() - q.red()) < 40 && qAbs(c.green() - q.green()) < 40 &&
                qAbs(c.blue() - q.blue()) < 40)
                names.last() = QLatin1String(name);
    }
    return names.join(' ');
}

} // namespace

class PictureCacheTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    const QString path_ = dir_.filePath(QStringLiteral("board.jpg"));
    const QString camera_ = dir_.filePath(QStringLiteral("camera.jpg"));
    const QSize stored_{2400, 1600};

private slots:
    void initTestCase() { QVERIFY(WriteQuadrants(path_, camera_, stored_)); }

    // A picture 8 times the frame is drawn first reduced (from a camera's JPEG, from its
    // thumbnail) and whole later, both decoded off this thread: the size, the drawn size and
    // where each quadrant is drawn stay the same, in every turn and mirror (the colours of the
    // top quadrants drawn); the magnifier's square over the turned picture's top left shows that
    // quadrant throughout.
    void reducedFirstWholeLater_data() {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<bool>("mirrored");
        QTest::addColumn<QString>("top");
        QTest::newRow("0") << 0 << false << "red green";
        QTest::newRow("90") << 90 << false << "blue red";
        QTest::newRow("180") << 180 << false << "white blue";
        QTest::newRow("270") << 270 << false << "green white";
        QTest::newRow("0 mirrored") << 0 << true << "green red";
        QTest::newRow("90 mirrored") << 90 << true << "white green";
        QTest::newRow("180 mirrored") << 180 << true << "blue white";
        QTest::newRow("270 mirrored") << 270 << true << "red blue";
    }
    void reducedFirstWholeLater() {
        QFETCH(int, rotation);
        QFETCH(bool, mirrored);
        QFETCH(QString, top);
        const bool sideways = rotation % 180 != 0;
        const QSize drawn = sideways ? QSize(200, 300) : QSize(300, 200);
        for (const QString& path : {path_, camera_}) {
            PictureCache cache;
            QSignalSpy sharpened(&cache, &PictureCache::sharpened);
            QCOMPARE(cache.open(path), stored_);
            const ViewTransform board = *ViewTransform::Fitted(
                {stored_.width(), stored_.height()}, rotation, mirrored, {0, 0, 300, 300});
            cache.prepare(board);
            QCOMPARE(cache.drawn().isNull(), true); // nothing decoded on this thread
            cache.decode(board);
            for (const bool whole : {false, true}) {
                QVERIFY(sharpened.wait(10000));
                QCOMPARE(cache.whole(), whole);
                cache.prepare(board);
                const QImage& picture = cache.drawn();
                QCOMPARE(picture.size(), drawn);
                const int x = drawn.width() / 4, y = drawn.height() / 4;
                QCOMPARE(Colours(picture, {{x, y}, {3 * x, y}}), top);
                QImage pane(40, 40, QImage::Format_RGB32);
                pane.fill(Qt::black);
                QPainter painter(&pane);
                const PixelSize turned = board.turnedSize();
                cache.drawThrough(
                    painter, board.zoomed({50, 50, turned.width / 2 - 100, turned.height / 2 - 100},
                                          {0, 0, 40, 40}));
                painter.end();
                QCOMPARE(Colours(pane, {{20, 20}}), top.section(' ', 0, 0));
            }
        }
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

    // A frame that needs the picture's own pixels gets the whole picture first.
    void wholeFirstForALargeFrame() {
        PictureCache cache;
        QSignalSpy sharpened(&cache, &PictureCache::sharpened);
        cache.open(path_);
        const ViewTransform board =
            *ViewTransform::Fitted({2400, 1600}, 0, false, {0, 0, 1500, 1000});
        cache.decode(board);
        QVERIFY(sharpened.wait(10000));
        QVERIFY(cache.whole());
        cache.prepare(board);
        QCOMPARE(cache.drawn().size(), QSize(1500, 1000));
    }

    // A JPEG cut short counts as 0 x 0 at once, with nothing to decode; the same file loaded
    // again, changed on disk, is read again.
    void cutShortAtOnce() {
        QFile whole(path_);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        const QString cut = dir_.filePath(QStringLiteral("cut.jpg"));
        QVERIFY(QFile::copy(path_, cut));
        PictureCache cache;
        QCOMPARE(cache.open(cut), stored_);
        QFile out(cut);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes.left(bytes.size() / 2)) > 0);
        out.close();
        QCOMPARE(cache.open(cut), QSize(0, 0));
        cache.decode(std::nullopt);
        QVERIFY(!cache.decoded());
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
