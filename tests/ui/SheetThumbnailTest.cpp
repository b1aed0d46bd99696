#include "SheetThumbnail.h"
#include "PaintWarnings.h"
#include "Quadrants.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kavelto;

namespace {

// Each quadrant's middle, in pixels of the 400 x 300 picture as stored, clockwise.
const PixelPoint kMiddles[] = {{100, 75}, {300, 75}, {300, 225}, {100, 225}};

} // namespace

class SheetThumbnailTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    const QString path_ = dir_.filePath(QStringLiteral("board.png"));

private slots:
    void init() { FailOnPaintWarnings(); }
    void initTestCase() { QVERIFY(Quadrants(QSize(400, 300)).save(path_, "PNG")); }

    // The picture fits the box turned and mirrored as the board view shows it; the quadrant at
    // its top left tells the turn, and each quadrant's middle lands on its own colour.
    void turnsAsTheViewAndRingsWhereThePixelsAre_data() {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<bool>("mirrored");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("topLeft");
        QTest::newRow("upright") << 0 << false << QSize(200, 150) << "red";
        QTest::newRow("quarter turn") << 90 << false << QSize(150, 200) << "blue";
        QTest::newRow("half turn") << 180 << false << QSize(200, 150) << "white";
        QTest::newRow("three quarters") << 270 << false << QSize(150, 200) << "green";
        QTest::newRow("mirrored") << 0 << true << QSize(200, 150) << "green";
        QTest::newRow("mirrored, quarter turn") << 90 << true << QSize(150, 200) << "white";
    }
    void turnsAsTheViewAndRingsWhereThePixelsAre() {
        QFETCH(int, rotation);
        QFETCH(bool, mirrored);
        QFETCH(QSize, size);
        QFETCH(QString, topLeft);
        const SheetsPicture picture{path_.toStdString(), {400, 300}, rotation, mirrored, {}};
        const std::optional<SheetThumbnail> thumbnail =
            SheetThumbnail::Make(picture, QSize(200, 200));
        QVERIFY(thumbnail);
        QCOMPARE(thumbnail->image().size(), size);
        QList<QPoint> middles = {{10, 10}};
        for (const PixelPoint& middle : kMiddles)
            middles << thumbnail->at(middle).toPoint();
        QCOMPARE(Colours(thumbnail->image(), middles), topLeft + " red green white blue");
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
