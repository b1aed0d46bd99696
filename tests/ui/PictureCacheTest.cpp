#include "PictureCache.h"

#include <QImageWriter>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kavelto;

namespace {

// Quadrants of the stored picture, clockwise from its top left.
const QColor kTopLeft(Qt::red);
const QColor kTopRight(Qt::green);
const QColor kBottomRight(Qt::white);
const QColor kBottomLeft(Qt::blue);

// A picture of four plain quadrants, so that any reduction, turn and mirror keeps them apart.
bool WriteQuadrants(const QString& path, const QSize& size) {
    QImage picture(size, QImage::Format_RGB32);
    QPainter painter(&picture);
    const int w = size.width() / 2;
    const int h = size.height() / 2;
    painter.fillRect(0, 0, w, h, kTopLeft);
    painter.fillRect(w, 0, size.width() - w, h, kTopRight);
    painter.fillRect(w, h, size.width() - w, size.height() - h, kBottomRight);
    painter.fillRect(0, h, w, size.height() - h, kBottomLeft);
    painter.end();
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    return writer.write(picture);
}

bool Near(const QColor& a, const QColor& b) {
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 &&
           qAbs(a.blue() - b.blue()) < 40;
}

// The colour drawn at the middle of the top left and top right quadrants of an image.
QPair<QColor, QColor> TopCorners(const QImage& image) {
    const int y = image.height() / 4;
    return {image.pixelColor(image.width() / 4, y), image.pixelColor(image.width() * 3 / 4, y)};
}

} // namespace

class PictureCacheTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    const QString path_ = dir_.filePath(QStringLiteral("board.jpg"));
    const QSize stored_{2400, 1600};

private slots:
    void initTestCase() { QVERIFY(WriteQuadrants(path_, stored_)); }

    // A picture 8 times the frame is decoded reduced first and whole later: the geometry, the
    // drawn size and where each quadrant is drawn stay the same, in every turn and mirror; the
    // magnifier's square over the turned picture's top left shows that quadrant throughout.
    void reducedFirstWholeLater_data() {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<bool>("mirrored");
        QTest::addColumn<QColor>("topLeft");
        QTest::addColumn<QColor>("topRight");
        QTest::newRow("0") << 0 << false << kTopLeft << kTopRight;
        QTest::newRow("90") << 90 << false << kBottomLeft << kTopLeft;
        QTest::newRow("180") << 180 << false << kBottomRight << kBottomLeft;
        QTest::newRow("270") << 270 << false << kTopRight << kBottomRight;
        QTest::newRow("0 mirrored") << 0 << true << kTopRight << kTopLeft;
        QTest::newRow("90 mirrored") << 90 << true << kBottomRight << kTopRight;
        QTest::newRow("180 mirrored") << 180 << true << kBottomLeft << kBottomRight;
        QTest::newRow("270 mirrored") << 270 << true << kTopLeft << kBottomLeft;
    }
    void reducedFirstWholeLater() {
        QFETCH(int, rotation);
        QFETCH(bool, mirrored);
        QFETCH(QColor, topLeft);
        QFETCH(QColor, topRight);
        PictureCache cache;
        QSignalSpy sharpened(&cache, &PictureCache::sharpened);
        const PixelRect frame{0, 0, 300, 300};
        const bool sideways = rotation % 180 != 0;
        const QSize drawn = sideways ? QSize(200, 300) : QSize(300, 200);
        for (const bool whole : {false, true}) {
            const PictureCache::Picture picture = cache.picture(path_, frame, rotation, mirrored);
            QCOMPARE(cache.whole(), whole);
            QCOMPARE(picture.stored, stored_);
            QCOMPARE(QSize(picture.fit.drawnWidth, picture.fit.drawnHeight), drawn);
            QCOMPARE(picture.drawn.size(), drawn);
            const auto [left, right] = TopCorners(picture.drawn);
            QVERIFY2(Near(left, topLeft) && Near(right, topRight),
                     qPrintable(left.name() + ' ' + right.name()));
            QImage pane(40, 40, QImage::Format_RGB32);
            pane.fill(Qt::black);
            QPainter painter(&pane);
            const QSizeF turned = sideways ? stored_.transposed() : stored_;
            cache.drawTurned(painter, pane.rect(),
                             QRectF(QPointF(0, 0), turned / 2).adjusted(50, 50, -50, -50), rotation,
                             mirrored);
            painter.end();
            QVERIFY2(Near(pane.pixelColor(20, 20), topLeft),
                     qPrintable(pane.pixelColor(20, 20).name()));
            if (!whole)
                QVERIFY(sharpened.wait(10000));
        }
    }

    // A frame that needs the picture's own pixels gets the whole picture at once.
    void wholeAtOnceForALargeFrame() {
        PictureCache cache;
        const PictureCache::Picture picture = cache.picture(path_, {0, 0, 1500, 1000}, 0, false);
        QVERIFY(cache.whole());
        QCOMPARE(picture.drawn.size(), QSize(1500, 1000));
    }

    // What can't be decoded has no size and draws nothing; a new picture is read and decoded
    // afresh.
    void undecodableThenReplaced() {
        const QString other = dir_.filePath(QStringLiteral("other.jpg"));
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("no picture") > 0);
        file.close();
        PictureCache cache;
        const PictureCache::Picture none = cache.picture(other, {0, 0, 300, 300}, 0, false);
        QCOMPARE(none.stored, QSize(0, 0));
        QVERIFY(!none.fit.drawable && none.drawn.isNull());
        QVERIFY(QFile::remove(other) && QFile::copy(path_, other));
        QCOMPARE(cache.picture(other, {0, 0, 300, 300}, 0, false).stored, stored_);
    }
};

QTEST_GUILESS_MAIN(PictureCacheTest)
#include "PictureCacheTest.moc"
