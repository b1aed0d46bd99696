#include "FakePlatform.h"
#include "TruthBoard.h"

#include <QFileInfo>
#include <QTemporaryDir>

using namespace kavelto;

namespace {

const QString kTruth = QStringLiteral(DEMO_DIR "/coldfire.truth.json");

// Pixels beyond the shot are filled with 0, which no opaque colour matches.
int CountColour(const QImage& shot, const QRect& area, const QColor& colour) {
    const QImage part = shot.copy(area);
    const auto* pixels = reinterpret_cast<const QRgb*>(part.constBits());
    return int(std::count(pixels, pixels + part.width() * part.height(), colour.rgb()));
}

enum class Pen { None, Green, Yellow, Stray };
enum class Fill { Picture, Black, Background };

} // namespace

// Each case starts on the demo board's top face, its picture a copy the case may damage, in a
// window wide enough that it is drawn at about two picture pixels per window pixel. What the
// window shows is read from a grab of it.
class BoardViewTest : public QObject {
    Q_OBJECT
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    QTemporaryDir dir_;
    const QString picture_ = dir_.filePath(QStringLiteral("board.jpg"));

    QWidget* child(const QString& name) const { return dlg_->findChild<QWidget*>(name); }
    QRect frame() const { return BoardRect(*dlg_); }
    const ViewState& view() const { return dlg_->session().view(); }
    void click(const QString& name) { QTest::mouseClick(child(name), Qt::LeftButton); }
    void loadBitmap(const std::optional<QString>& path) {
        platform_.files = {path};
        click("loadBitmap");
    }
    void calibrate() {
        dlg_->repaint();
        CalibrateOn(*dlg_, ReadTruth(kTruth, dlg_->session().face() == Face::Bottom));
    }

    // The pen whose pixels on the frame all lie around the marker's point, enough for the four
    // sides of its box.
    Pen box(const QImage& shot) const {
        const QRect f = frame();
        for (const auto& [pen, colour] :
             {std::pair(Pen::Green, QColor(55, 255, 100)), {Pen::Yellow, QColor(255, 250, 155)}}) {
            const int onFrame = CountColour(shot, f, colour);
            if (onFrame == 0 || !(view().scale > 0.0f))
                continue;
            const PixelPoint at = PictureToWindow(view(), {f.x(), f.y(), f.width(), f.height()},
                                                  view().markerX, view().markerY);
            const int side = int(view().zoomBoxSize / view().scale);
            const QRect around(at.x - side / 2 - 6, at.y - side / 2 - 6, side + 12, side + 12);
            const bool boxed =
                CountColour(shot, around, colour) == onFrame && onFrame >= 4 * side - 16;
            return boxed ? pen : Pen::Stray;
        }
        return Pen::None;
    }

    // What the inside of a frame shows, without its border and the progress in its bottom corner.
    Fill fill(const QImage& shot, const char* frameName) const {
        const QRect area = child(frameName)->geometry().adjusted(2, 2, -2, -40);
        for (const auto& [fill, colour] :
             {std::pair(Fill::Black, QColor(Qt::black)),
              {Fill::Background, dlg_->palette().color(QPalette::Window)}})
            if (CountColour(shot, area, colour) == area.width() * area.height())
                return fill;
        return Fill::Picture;
    }

    void expectShown(MarkerMode mode, Pen pen, bool magnifierLit, Fill picture) {
        dlg_->repaint();
        const QImage shot = dlg_->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(view().markerMode, mode);
        QCOMPARE(box(shot), pen);
        QCOMPARE(fill(shot, "magnifierFrame") == Fill::Picture, magnifierLit);
        QCOMPARE(fill(shot, "pictureFrame"), picture);
        QVERIFY(platform_.messages.empty());
    }

private slots:
    void init() {
        dlg_.reset();
        QFile::remove(picture_);
        QVERIFY(QFile::copy(QStringLiteral(DEMO_DIR "/coldfire-top.jpg"), picture_));
        dlg_ = ShowDemoBoard(platform_, picture_, 1600);
        QVERIFY(dlg_);
    }

    // A press boxes its point; a drag goes on beyond the picture and ends with a release
    // anywhere, outside the window too.
    void pressAndDrag() {
        PressOnPicture(*dlg_, frame().topLeft() + QPoint(300, 250));
        expectShown(MarkerMode::UserPoint, Pen::Green, true, Fill::Picture);
        QTest::mousePress(dlg_->windowHandle(), Qt::LeftButton, {}, frame().center());
        QTest::mouseMove(dlg_->windowHandle(), frame().topLeft() + QPoint(-50, 100));
        QVERIFY(view().markerX < 0);
        QTest::mouseRelease(dlg_->windowHandle(), Qt::LeftButton, {}, QPoint(-1000, -1000));
        QVERIFY(!view().dragging);
        QCOMPARE(view().markerMode, MarkerMode::UserPoint);
    }

    // The picture is read again whenever its file changes on disk. Cut short, it can't be
    // decoded: the point pressed stays, with nothing drawn over the black frame, and as nothing
    // is drawn, a press must not count with the scale of the picture before. Then replaced twice
    // by pictures of one size, with only the time of change to tell them apart.
    void pictureChangedOnDisk() {
        PressOnPicture(*dlg_, frame().topLeft() + QPoint(300, 250));
        const QPointF point(view().markerX, view().markerY);
        QFile::resize(picture_, QFileInfo(picture_).size() / 2);
        expectShown(MarkerMode::UserPoint, Pen::None, false, Fill::Black);
        PressOnPicture(*dlg_, frame().topLeft() + QPoint(200, 200));
        QCOMPARE(QPointF(view().markerX, view().markerY), point);
        for (const QColor& colour : {QColor(Qt::red), QColor(Qt::blue)}) {
            const QDateTime before = QFileInfo(picture_).lastModified();
            QImage picture(400, 300, QImage::Format_RGB32);
            picture.fill(colour);
            QFile file(picture_);
            QVERIFY(picture.save(picture_, "BMP") && file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(before.addSecs(10), QFileDevice::FileModificationTime));
            dlg_->repaint();
        }
        QCOMPARE(dlg_->grab().toImage().pixelColor(frame().topLeft() + QPoint(20, 20)),
                 QColor(Qt::blue));
    }

    // Calibrated on two parts far apart, every part of the face is located on its true pixel,
    // and identified from it, at every turn and mirror of the view, and the last one boxed. Load
    // Bitmap cancelled then leaves nothing to draw and nothing to locate a part on.
    void locatesEveryPart_data() {
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("top") << QStringList();
        QTest::newRow("bottom, turned once") << QStringList{"bottom", "rotR"};
        QTest::newRow("top, turned three times and mirrored")
            << QStringList{"rotR", "rotR", "rotR", "flip"};
    }
    void locatesEveryPart() {
        QFETCH(QStringList, buttons);
        for (const QString& button : buttons)
            click(button);
        const bool bottom = dlg_->session().face() == Face::Bottom;
        if (bottom)
            loadBitmap(QStringLiteral(DEMO_DIR "/coldfire-bottom.jpg"));
        calibrate();
        QCOMPARE(child("calibrationText")->property("text").toString(), "Calibrated, ok");
        const std::vector<TruthPart> face = ReadTruth(kTruth, bottom);
        QCOMPARE(dlg_->session().faceList().faceCount, int(face.size()));
        for (const TruthPart& part : face) {
            // Ctrl and a press on the part's true spot select it, which locates it.
            QTest::mouseClick(dlg_->windowHandle(), Qt::LeftButton, Qt::ControlModifier,
                              WindowPointNearest(*dlg_, part.pixel));
            QCOMPARE(dlg_->session().selection().selectedRow, RowOf(*dlg_, part));
            QCOMPARE(view().markerMode, MarkerMode::PartLocated);
            // A press reaches about every second pixel, and locating truncates: 2.3 measured on
            // a turned picture, drawn smaller, in the window laid out in 8-point units.
            const QPointF miss = QPointF(view().markerX, view().markerY) - part.pixel;
            QVERIFY2(std::max(std::abs(miss.x()), std::abs(miss.y())) <= 2.5,
                     qPrintable(QString::number(miss.x()) + ',' + QString::number(miss.y())));
        }
        expectShown(MarkerMode::PartLocated, Pen::Yellow, true, Fill::Picture);
        loadBitmap(std::nullopt);
        ClickRow(*dlg_, 8);
        expectShown(MarkerMode::None, Pen::None, false, Fill::Background);
    }

    // The picture frame and the list end 10 pixels from the window's right and bottom edges,
    // and a frame narrowed to nothing fails on nothing.
    void followsTheWindowSize() {
        const auto gaps = [this] {
            const QRect list = child("partList")->geometry();
            return QList<int>{dlg_->width() - 1 - frame().right(), dlg_->width() - 1 - list.right(),
                              dlg_->height() - 1 - list.bottom()};
        };
        dlg_->resize(1500, 1100);
        QTRY_COMPARE(gaps(), QList<int>({10, 10, 10}));
        calibrate();
        dlg_->resize(frame().left() + 10, 900);
        QTRY_COMPARE(frame().width(), 0);
        ClickRow(*dlg_, 5);
        click("rotR");
        dlg_->repaint();
        QCOMPARE(view().markerMode, MarkerMode::PartLocated);
        QCOMPARE(gaps(), QList<int>({10, 10, 10}));
    }
};

QTEST_MAIN(BoardViewTest)
#include "BoardViewTest.moc"
