#include "FakePlatform.h"
#include "TruthBoard.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>

using namespace kavelto;

namespace {

const QString kTruth = QStringLiteral(DEMO_DIR "/coldfire.truth.json");
const QColor kGreen(55, 255, 100);
const QColor kYellow(255, 250, 155);

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

public:
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    QTemporaryDir dir_;
    const QString picture_ = dir_.filePath(QStringLiteral("board.jpg"));

    QWidget* child(const char* name) const { return dlg_->findChild<QWidget*>(name); }
    QRect frame() const { return child("pictureFrame")->geometry(); }
    const ViewState& view() const { return dlg_->session().view(); }
    void click(const char* name) { QTest::mouseClick(child(name), Qt::LeftButton); }
    void loadBitmap(const std::optional<QString>& path) {
        platform_.files = {path};
        click("loadBitmap");
    }
    // A point relative to the picture frame's corner, through the window system.
    void press(int x, int y) {
        dlg_->repaint(); // a press converts with the scale of the last paint
        PressOnPicture(*dlg_, frame().topLeft() + QPoint(x, y));
    }
    void calibrate() {
        dlg_->repaint();
        CalibrateOn(*dlg_, ReadTruth(kTruth, dlg_->session().face() == Face::Bottom));
    }

    // The pen whose pixels on the frame all lie around the marker's point, enough for the four
    // sides of its box.
    Pen box(const QImage& shot) const {
        const QRect f = frame();
        for (const auto& [pen, colour] : {std::pair(Pen::Green, kGreen), {Pen::Yellow, kYellow}}) {
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

    // Whether the inside of a frame, without its border and the progress in its bottom corner,
    // is all of one colour.
    bool all(const QImage& shot, const char* frameName, const QColor& colour) const {
        const QRect area = child(frameName)->geometry().adjusted(2, 2, -2, -40);
        return CountColour(shot, area, colour) == area.width() * area.height();
    }

    Fill frameFill(const QImage& shot) const {
        if (all(shot, "pictureFrame", Qt::black))
            return Fill::Black;
        return all(shot, "pictureFrame", dlg_->palette().color(QPalette::Window)) ? Fill::Background
                                                                                  : Fill::Picture;
    }

    QImage grab() const { return dlg_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

private slots:
    void init() {
        platform_ = FakePlatform();
        dlg_ = std::make_unique<CPlacementDlg>(platform_);
        QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
        dlg_->resize(1600, dlg_->height());
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
        QFile::remove(picture_);
        QVERIFY(QFile::copy(QStringLiteral(DEMO_DIR "/coldfire-top.jpg"), picture_));
        platform_.files = {QStringLiteral(DEMO_DIR "/coldfire.csv")};
        click("loadPkp");
        loadBitmap(picture_);
    }

    void painting_data();
    void painting();

    // Calibrated on two parts far apart, every part of the face is located on its true pixel,
    // and identified from it, at every turn and mirror of the view.
    void locatesEveryPart_data() {
        QTest::addColumn<bool>("bottom");
        QTest::addColumn<int>("turns");
        QTest::addColumn<bool>("flipped");
        QTest::newRow("top") << false << 0 << false;
        QTest::newRow("bottom") << true << 0 << false;
        QTest::newRow("top, turned once") << false << 1 << false;
        QTest::newRow("top, turned three times and mirrored") << false << 3 << true;
    }
    void locatesEveryPart() {
        QFETCH(bool, bottom);
        QFETCH(int, turns);
        QFETCH(bool, flipped);
        if (bottom) {
            click("bottom");
            loadBitmap(QStringLiteral(DEMO_DIR "/coldfire-bottom.jpg"));
        }
        for (int i = 0; i < turns; ++i)
            click("rotR");
        if (flipped)
            click("flip");
        calibrate();
        QCOMPARE(child("calibrationText")->property("text").toString(), "Calibrated, ok");
        const std::vector<TruthPart> face = ReadTruth(kTruth, bottom);
        QCOMPARE(dlg_->session().faceList().faceCount, int(face.size()));
        for (const TruthPart& part : face) {
            // Ctrl and a press on the part's true spot select it, wherever the list stood.
            ClickRow(*dlg_, RowOf(*dlg_, part) == 0 ? 1 : 0);
            QTest::mouseClick(dlg_->windowHandle(), Qt::LeftButton, Qt::ControlModifier,
                              WindowPointNearest(*dlg_, part.pixel));
            QCOMPARE(dlg_->session().selection().selectedRow, RowOf(*dlg_, part));
            ClickRow(*dlg_, RowOf(*dlg_, part));
            QCOMPARE(view().markerMode, MarkerMode::PartLocated);
            // A press reaches about every second pixel, and locating truncates: 2.3 measured on
            // a turned picture, drawn smaller, in the window laid out in 8-point units.
            const QPointF miss = QPointF(view().markerX, view().markerY) - part.pixel;
            QVERIFY2(std::max(std::abs(miss.x()), std::abs(miss.y())) <= 2.5,
                     qPrintable(QString::number(miss.x()) + ',' + QString::number(miss.y())));
        }
    }

    // A drag goes on beyond the picture and ends with a release anywhere, outside the window too.
    void dragEndsWithAnyRelease() {
        dlg_->repaint();
        QWindow* window = dlg_->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, {}, frame().topLeft() + QPoint(100, 100));
        QTest::mouseMove(window, frame().topLeft() + QPoint(-50, 100));
        QCOMPARE(view().markerX < 0, true);
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(-1000, -1000));
        QVERIFY(!view().dragging);
        QCOMPARE(view().markerMode, MarkerMode::UserPoint);
    }

    // The picture is read again when the file changes on disk.
    void pictureChangedOnDisk() {
        for (const QColor& colour : {QColor(Qt::red), QColor(Qt::blue)}) {
            const QDateTime before = QFileInfo(picture_).lastModified();
            QImage picture(400, 300, QImage::Format_RGB32);
            picture.fill(colour);
            QFile file(picture_);
            QVERIFY(picture.save(picture_, "BMP") && file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(before.addSecs(10), QFileDevice::FileModificationTime));
            dlg_->repaint();
        }
        QCOMPARE(grab().pixelColor(frame().topLeft() + QPoint(20, 20)), QColor(Qt::blue));
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

namespace {

struct PaintCase {
    const char* name;
    void (*act)(BoardViewTest&);
    MarkerMode mode;
    Pen box;
    bool magnifierLit;
    Fill frame;
};

const PaintCase kPaintCases[] = {
    {"a press on the picture", [](BoardViewTest& t) { t.press(300, 250); }, MarkerMode::UserPoint,
     Pen::Green, true, Fill::Picture},
    {"a located part",
     [](BoardViewTest& t) {
         t.calibrate();
         ClickRow(*t.dlg_, 40);
     },
     MarkerMode::PartLocated, Pen::Yellow, true, Fill::Picture},
    {"a located part, turned and mirrored",
     [](BoardViewTest& t) {
         t.click("rotL");
         t.click("flip");
         t.calibrate();
         ClickRow(*t.dlg_, 40);
     },
     MarkerMode::PartLocated, Pen::Yellow, true, Fill::Picture},
    {"a press in the margin beside the picture",
     [](BoardViewTest& t) { t.press(t.frame().width() - 5, 300); }, MarkerMode::None, Pen::None,
     false, Fill::Picture},
    {"a picture deleted, then turned",
     [](BoardViewTest& t) {
         t.press(300, 250);
         QFile::remove(t.picture_);
         t.click("rotR");
     },
     MarkerMode::UserPoint, Pen::None, false, Fill::Black},
    {"a picture cut short",
     [](BoardViewTest& t) {
         t.press(300, 250);
         QFile::resize(t.picture_, QFileInfo(t.picture_).size() / 2);
     },
     MarkerMode::UserPoint, Pen::None, false, Fill::Black},
    // Nothing is drawn, so there is nothing to press on: the point of the picture before
    // must not count.
    {"a press on a picture that can't be decoded",
     [](BoardViewTest& t) {
         QFile::remove(t.picture_);
         QFile::copy(kTruth, t.picture_);
         t.loadBitmap(t.picture_);
         t.press(300, 250);
     },
     MarkerMode::None, Pen::None, false, Fill::Black},
    {"Load Bitmap cancelled",
     [](BoardViewTest& t) {
         t.calibrate();
         ClickRow(*t.dlg_, 5);
         t.loadBitmap(std::nullopt);
         ClickRow(*t.dlg_, 8);
     },
     MarkerMode::None, Pen::None, false, Fill::Background},
};

} // namespace

void BoardViewTest::painting_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kPaintCases)); ++i)
        QTest::newRow(kPaintCases[i].name) << i;
}

void BoardViewTest::painting() {
    QFETCH(int, index);
    const PaintCase& c = kPaintCases[index];
    c.act(*this);
    dlg_->repaint();
    const QImage shot = grab();
    QCOMPARE(view().markerMode, c.mode);
    QCOMPARE(box(shot), c.box);
    QCOMPARE(!all(shot, "magnifierFrame", Qt::black) &&
                 !all(shot, "magnifierFrame", dlg_->palette().color(QPalette::Window)),
             c.magnifierLit);
    QCOMPARE(frameFill(shot), c.frame);
    QVERIFY(platform_.messages.empty());
}

QTEST_MAIN(BoardViewTest)
#include "BoardViewTest.moc"
