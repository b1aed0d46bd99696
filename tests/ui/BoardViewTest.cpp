#include "FakePlatform.h"
#include "TruthBoard.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>

namespace {

const QString kTruth = QStringLiteral(DEMO_DIR "/coldfire.truth.json");

// Pixels beyond the shot are filled with 0, which no opaque colour matches.
int CountColour(const QImage& shot, const QRect& area, const QColor& colour) {
    const QImage part = shot.copy(area);
    const auto* pixels = reinterpret_cast<const QRgb*>(part.constBits());
    return int(std::count(pixels, pixels + part.width() * part.height(), colour.rgb()));
}

} // namespace

// Each case starts on the demo board's top face, its picture a copy the case may damage, in a
// window wide enough that it is drawn at about two picture pixels per window pixel; it runs the
// user's actions named by the case and compares what the window then shows.
class BoardViewTest : public QObject {
    Q_OBJECT
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    QTemporaryDir dir_;
    const QString picture_ = dir_.filePath(QStringLiteral("board.jpg"));

    QWidget* child(const char* name) const { return dlg_->findChild<QWidget*>(name); }
    QString text(const char* name) const { return qobject_cast<QLineEdit*>(child(name))->text(); }
    QRect frame() const { return child("pictureFrame")->geometry(); }
    void click(const char* name) { QTest::mouseClick(child(name), Qt::LeftButton); }
    bool bottom() const { return child("bottom")->property("checked").toBool(); }
    void load(const std::optional<QString>& path) {
        platform_.files = {path};
        click("loadBitmap");
    }

    // Locates each part by its row; the marker's miss from the true pixel, on either axis.
    void expectLocatingWithin(double bound) {
        const std::vector<TruthPart> face = ReadTruth(kTruth, bottom());
        QCOMPARE(dlg_->faceList().faceCount, int(face.size()));
        double worst = 0.0;
        for (const TruthPart& part : face) {
            ClickRow(*dlg_, RowOf(*dlg_, part));
            const kavelto::ViewState& view = dlg_->view();
            const double lost = view.markerMode == kavelto::MarkerMode::PartLocated ? 0 : HUGE_VAL;
            const QPointF miss = QPointF(view.markerX, view.markerY) - part.pixel;
            worst = std::max({worst, lost, std::abs(miss.x()), std::abs(miss.y())});
        }
        QVERIFY2(worst <= bound, qPrintable(QString::number(worst)));
    }

    // In one colour, and dated later even where the file system's clock is coarse.
    void rewritePicture(const QSize& size, const QColor& colour) {
        const QDateTime before = QFileInfo(picture_).lastModified();
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        QFile file(picture_);
        QVERIFY(picture.save(picture_, "BMP") && file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(before.addSecs(10), QFileDevice::FileModificationTime));
    }

    // Points are relative to the frame's corner; a window width of 0 leaves the frame none; keys
    // are "+" of the main keys, "kp+" of the keypad; other verbs name buttons.
    void act(const QString& action) {
        const QString arg = action.section(':', 1);
        const QStringList n = arg.split(',');
        const QPoint at = frame().topLeft() + QPoint(n.value(0).toInt(), n.value(1).toInt());
        const QSize size(n.value(0).toInt() ? n.value(0).toInt() : frame().left() + 10,
                         n.value(1).toInt());
        const auto keypad = arg.size() > 1 ? Qt::KeypadModifier : Qt::NoModifier;
        const std::map<QString, std::function<void()>> verbs{
            {"cal", [&] { CalibrateOn(*dlg_, ReadTruth(kTruth, bottom())); }},
            {"locate", [&] { expectLocatingWithin(arg.toDouble()); }},
            {"row", [&] { ClickRow(*dlg_, arg.toInt()); }},
            {"press", [&] { PressOnPicture(*dlg_, at); }},
            {"down", [&] { QTest::mousePress(dlg_->windowHandle(), Qt::LeftButton, {}, at); }},
            {"move", [&] { QTest::mouseMove(dlg_->windowHandle(), at); }},
            {"up", [&] { QTest::mouseRelease(dlg_->windowHandle(), Qt::LeftButton, {}, at); }},
            {"key", [&] { QTest::keyClick(dlg_.get(), arg.back().toLatin1(), keypad); }},
            {"load",
             [&] { load(arg.isEmpty() ? std::nullopt : std::optional(DEMO_DIR "/" + arg)); }},
            {"reload", [&] { load(picture_); }},
            {"delete", [&] { QFile::remove(picture_); }},
            {"cut", [&] { QFile::resize(picture_, QFileInfo(picture_).size() / 2); }},
            {"garble", [&] { QFile::remove(picture_) && QFile::copy(kTruth, picture_); }},
            {"rewrite", [&] { rewritePicture(size, QColor(n.value(2))); }},
            {"size", [&] { dlg_->resize(size); }},
        };
        const auto verb = verbs.find(action.section(':', 0, 0));
        verb == verbs.end() ? click(qPrintable(action)) : verb->second();
        if (action.startsWith("size"))
            QTRY_COMPARE(dlg_->size(), size);
    }

    // The pen whose pixels on the frame all lie around the marker's window point, enough for the
    // four sides of its box; "none" without any, "stray" otherwise.
    QString box(const QImage& shot) const {
        const kavelto::ViewState& view = dlg_->view();
        const QRect f = frame();
        for (const auto& [name, pen] : {std::pair("green", QColor(55, 255, 100)),
                                        std::pair("yellow", QColor(255, 250, 155))}) {
            const int onFrame = CountColour(shot, f, pen);
            if (onFrame == 0 || !(view.scale > 0.0f))
                continue;
            const auto at = kavelto::PictureToWindow(view, {f.x(), f.y(), f.width(), f.height()},
                                                     view.markerX, view.markerY);
            const int side = int(view.zoomBoxSize / view.scale);
            const QRect around(at.x - side / 2 - 6, at.y - side / 2 - 6, side + 12, side + 12);
            return CountColour(shot, around, pen) == onFrame && onFrame >= 4 * side - 16 ? name
                                                                                         : "stray";
        }
        return "none";
    }

    // What the window shows, by the keys the cases expect.
    QMap<QString, QString> state() const {
        const kavelto::ViewState& view = dlg_->view();
        const QImage shot = dlg_->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The inside of a frame, without the border its widget draws over the board view.
        const auto all = [&shot, this](const char* frameName, const QColor& colour) {
            const QRect area = child(frameName)->geometry().adjusted(2, 2, -2, -2);
            return CountColour(shot, area, colour) == area.width() * area.height();
        };
        const auto row = dlg_->findChild<PartListView*>("partList")->selectedRow();
        const QRect list = child("partList")->geometry();
        const QRect window = dlg_->rect();
        QStringList messages;
        for (const FakePlatform::Message& message : platform_.messages)
            messages << message.text;
        const bool on = view.markerX >= 0 && view.markerX <= view.pictureWidth &&
                        view.markerY >= 0 && view.markerY <= view.pictureHeight;
        const bool unset = view.markerX == 0 && view.markerY == 0;
        const bool background = all("pictureFrame", dlg_->palette().color(QPalette::Window));
        const int part = dlg_->selection().hasPart() ? dlg_->selection().selectedRow : -1;
        return {
            {"mode", QStringList{"None", "UserPoint", "PartLocated"}[int(view.markerMode)]},
            {"cal", text("calibrationText")},
            {"msg", messages.join('|')},
            {"highlight", QString::number(row.value_or(-1))},
            {"part", QString::number(part)},
            {"drag", QString::number(view.dragging)},
            {"marker", QStringList{"off", "on", "unset"}[unset ? 2 : on]},
            {"rot", text("rotationText")},
            {"zoom", QString::number(view.zoomBoxSize)},
            {"bitmap", text("bitmapText")},
            {"frame", QStringList{"picture", "background",
                                  "black"}[all("pictureFrame", Qt::black) ? 2 : background]},
            {"magnifier", all("magnifierFrame", Qt::black) ? "black" : "lit"},
            {"box", box(shot)},
            {"probe", shot.pixelColor(frame().topLeft() + QPoint(20, 20)).name()},
            {"gaps",
             QString::asprintf("%d,%d,%d", window.right() - frame().right(),
                               window.right() - list.right(), window.bottom() - list.bottom())},
        };
    }

private slots:
    void init() {
        platform_ = FakePlatform(); // the previous window never uses it again
        dlg_ = std::make_unique<CPlacementDlg>(platform_);
        QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
        dlg_->resize(1600, dlg_->height());
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
        QFile::remove(picture_);
        QVERIFY(QFile::copy(QStringLiteral(DEMO_DIR "/coldfire-top.jpg"), picture_));
        platform_.files = {QStringLiteral(DEMO_DIR "/coldfire.csv")};
        click("loadPkp");
        load(picture_);
    }

    // Named by the actions; any message not expected fails the case.
    void board_data() {
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* actions, const char* expected) {
            QTest::newRow(actions) << QString(expected);
        };
        // Calibrated on two parts far apart, every other part of the face located on its pixel.
        row("cal locate:2", "cal=Calibrated, ok");
        row("bottom load:coldfire-bottom.jpg cal locate:2", "cal=Calibrated, ok");
        row("rotR cal locate:2", "cal=Calibrated, ok");
        row("cal rotR flip locate:2", "cal=Calibrated, ok;rot=90° - Flipped");
        // The refusals of Cal 1 and Cal 2, the state left as it was.
        row("cal1", "msg=Select a point on the bitmap first;cal=Not calibrated");
        row("press:99,99 cal1", "msg=Select a part first;cal=Not calibrated");
        row("row:0 press:99,99 cal2", "msg=Select cal1 first;cal=Not calibrated");
        row("row:0 press:99,99 cal1 cal2", "msg=Select a part first;cal=Waiting for point 2");
        row("row:0 press:99,99 cal1 row:0 press:199,199 cal2", "msg=Components with same X !");
        row("row:0 press:99,99 cal1 row:1 press:99,199 cal2", "msg=Aligned positions on X !");
        row("row:0 press:99,99 cal1 row:1 press:199,99 cal2", "msg=Aligned positions on Y !");
        row("cal press:1,1 cal2 locate:2",
            "msg=Calibration impossible, check your selections;cal=Calibrated, ok");
        // Turning and zooming, by the buttons and the keypad.
        row("rotL flip", "rot=270° - Flipped");
        row("rotL flip rotR", "rot=0° - Flipped");
        row("key:kp* key:kp* key:kp/", "rot=90° - Normal");
        row("zoomIn key:kp+", "zoom=58");
        row("zoomOut key:kp-", "zoom=169");
        row("zoomIn key:kp-", "zoom=98");
        row("key:+", "zoom=100");
        // Load Bitmap starts afresh; the part chosen next is not located.
        row("cal row:5 load: row:8",
            "mode=None;cal=Not calibrated;bitmap=no bitmap loaded;frame=background;box=none");
        // The pointer: a press in the margin beside the picture changes nothing; one on it keeps
        // the part for Cal 1; a drag ends with any release, outside the window too.
        row("row:3 press:150,100", "mode=UserPoint;marker=on;drag=0;highlight=-1;part=3");
        row("row:3 press:1200,300", "mode=None;marker=unset;highlight=3;part=3");
        row("down:100,100 up:-1000,-1000 move:100,100", "drag=0;mode=UserPoint;marker=off");
        // Painting: the marker's box and the magnifier; a picture that can't be decoded is black.
        row("cal row:40", "box=yellow;magnifier=lit");
        row("cal rotL flip row:40", "box=yellow;magnifier=lit");
        row("press:300,250", "box=green;magnifier=lit;rot=0° - Normal;zoom=100");
        row("press:300,250 delete rotR", "frame=black;box=none");
        row("garble reload press:300,250", "frame=black;box=none");
        row("press:300,250 cut", "frame=black;box=none");
        row("rewrite:400,300,red rewrite:400,300,blue", "probe=#0000ff");
        // The frame and the list end 10 pixels from the window's right and bottom edges.
        row("size:1500,1100", "gaps=10,10,10");
        row("cal size:0,900 row:5 rotR zoomOut", "gaps=10,10,10;mode=PartLocated");
    }
    void board() {
        QFETCH(QString, expected);
        for (const QString& action : QString(QTest::currentDataTag()).split(' ')) {
            dlg_->repaint(); // a press converts with the scale of the last paint
            QCoreApplication::processEvents();
            act(action);
            if (QTest::currentTestFailed())
                return;
        }
        const QMap<QString, QString> actual = state();
        if (!expected.contains("msg="))
            expected += ";msg=";
        for (const QString& want : expected.split(';')) {
            const QString key = want.section('=', 0, 0);
            QCOMPARE(key + '=' + actual.value(key), want);
        }
    }
};

QTEST_MAIN(BoardViewTest)
#include "BoardViewTest.moc"
