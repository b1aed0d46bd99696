#include "PictureCache.h"
#include "CameraJpeg.h"

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
    // thumbnail) and whole later: the geometry, the drawn size and where each quadrant is drawn
    // stay the same, in every turn and mirror (the colours of the top quadrants drawn); the
    // magnifier's square over the turned picture's top left shows that quadrant throughout.
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
            for (const bool whole : {false, true}) {
                const PictureCache::Picture picture =
                    cache.picture(path, {0, 0, 300, 300}, rotation, mirrored);
                QCOMPARE(cache.whole(), whole);
                QCOMPARE(picture.stored, stored_);
                QCOMPARE(QSize(picture.fit.drawnWidth, picture.fit.drawnHeight), drawn);
                QCOMPARE(picture.drawn.size(), drawn);
                const int x = drawn.width() / 4, y = drawn.height() / 4;
                QCOMPARE(Colours(picture.drawn, {{x, y}, {3 * x, y}}), top);
                QImage pane(40, 40, QImage::Format_RGB32);
                pane.fill(Qt::black);
                QPainter painter(&pane);
                const QSizeF turned = sideways ? stored_.transposed() : stored_;
                cache.drawTurned(painter, pane.rect(),
                                 QRectF(QPointF(0, 0), turned / 2).adjusted(50, 50, -50, -50),
                                 rotation, mirrored);
                painter.end();
                QCOMPARE(Colours(pane, {{20, 20}}), top.section(' ', 0, 0));
                if (!whole)
                    QVERIFY(sharpened.wait(10000));
            }
        }
    }

    // A frame that needs the picture's own pixels gets the whole picture at once.
    void wholeAtOnceForALargeFrame() {
        PictureCache cache;
        const PictureCache::Picture picture = cache.picture(path_, {0, 0, 1500, 1000}, 0, false);
        QVERIFY(cache.whole());
        QCOMPARE(picture.drawn.size(), QSize(1500, 1000));
    }
};

QTEST_GUILESS_MAIN(PictureCacheTest)
#include "PictureCacheTest.moc"
