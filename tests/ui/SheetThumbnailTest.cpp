#include "SheetThumbnail.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace kavelto;

namespace {

// The stored picture's quadrants, clockwise from its top left.
const QColor kQuadrants[] = {Qt::red, Qt::green, Qt::white, Qt::blue};
// Each quadrant's middle, in pixels of the 400 x 300 picture as stored.
const PixelPoint kMiddles[] = {{100, 75}, {300, 75}, {300, 225}, {100, 225}};

bool WriteQuadrants(const QString& path) {
    QImage picture(400, 300, QImage::Format_RGB32);
    QPainter painter(&picture);
    const QPoint corners[] = {{0, 0}, {200, 0}, {200, 150}, {0, 150}};
    for (int i = 0; i < 4; ++i)
        painter.fillRect(QRect(corners[i], QSize(200, 150)), kQuadrants[i]);
    painter.end();
    return picture.save(path, "PNG");
}

bool Near(const QColor& a, const QColor& b) {
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 &&
           qAbs(a.blue() - b.blue()) < 40;
}

} // namespace

class SheetThumbnailTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    const QString path_ = dir_.filePath(QStringLiteral("board.png"));

private slots:
    void initTestCase() { QVERIFY(WriteQuadrants(path_)); }

    // The picture fits the box turned and mirrored as the board view shows it; the quadrant at
    // its top left tells the turn, and each quadrant's middle lands on its own colour.
    void turnsAsTheViewAndRingsWhereThePixelsAre_data() {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<bool>("mirrored");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QColor>("topLeft");
        QTest::newRow("upright") << 0 << false << QSize(200, 150) << QColor(Qt::red);
        QTest::newRow("quarter turn") << 90 << false << QSize(150, 200) << QColor(Qt::blue);
        QTest::newRow("half turn") << 180 << false << QSize(200, 150) << QColor(Qt::white);
        QTest::newRow("three quarters") << 270 << false << QSize(150, 200) << QColor(Qt::green);
        QTest::newRow("mirrored") << 0 << true << QSize(200, 150) << QColor(Qt::green);
        QTest::newRow("mirrored, quarter turn")
            << 90 << true << QSize(150, 200) << QColor(Qt::white);
    }
    void turnsAsTheViewAndRingsWhereThePixelsAre() {
        QFETCH(int, rotation);
        QFETCH(bool, mirrored);
        QFETCH(QSize, size);
        QFETCH(QColor, topLeft);
        const SheetsPicture picture{path_.toStdString(), {400, 300}, rotation, mirrored, {}};
        const std::optional<SheetThumbnail> thumbnail =
            SheetThumbnail::Make(picture, QSize(200, 200));
        QVERIFY(thumbnail);
        QCOMPARE(thumbnail->image().size(), size);
        QVERIFY(Near(thumbnail->image().pixelColor(10, 10), topLeft));
        for (int i = 0; i < 4; ++i) {
            const QPoint at = thumbnail->at(kMiddles[i]).toPoint();
            QVERIFY2(Near(thumbnail->image().pixelColor(at), kQuadrants[i]),
                     qPrintable(QStringLiteral("quadrant %1").arg(i)));
        }
    }

    // No picture to read means no thumbnail, never an empty one.
    void aMissingPictureGivesNone() {
        const SheetsPicture picture{
            dir_.filePath(QStringLiteral("gone.png")).toStdString(), {400, 300}, 0, false, {}};
        QVERIFY(!SheetThumbnail::Make(picture, QSize(200, 200)));
    }
};

QTEST_MAIN(SheetThumbnailTest)
#include "SheetThumbnailTest.moc"
