#include "BoardView.h"
#include "ClickableLabel.h"
#include "FakePlatform.h"
#include "PaintWarnings.h"
#include "PlainJpeg.h"
#include "TestFiles.h"
#include "TruthBoard.h"
#include "geometry/MagnifierGeometry.h"

#include <QSignalSpy>
#include <QtWidgets>

#include <map>

using namespace kavelto;

// Each case starts on the demo board's top face, its picture a copy the case may damage, in a
// window wide enough that it is drawn at about two picture pixels per window pixel.
class BoardViewTest : public QObject {
    Q_OBJECT
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    QTemporaryDir dir_;
    const QString picture_ = dir_.filePath(QStringLiteral("board.jpg"));

    QRect frame() const { return child("pictureFrame")->geometry(); }
    const ViewState& view() const { return dlg_->session().view(); }
    const PictureCache& pictures() const {
        return dlg_->findChild<BoardView*>("pictureFrame")->pictures();
    }
    // Pixels beyond the shot are filled with 0, which no opaque colour matches.
    static int CountColour(const QImage& shot, const QRect& area, const QColor& colour) {
        const QImage part = shot.copy(area).convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(part.constBits());
        return int(
            std::count(pixels, pixels + qsizetype(part.width()) * part.height(), colour.rgb()));
    }
    // The demo truth's record of the part at a board position.
    static QJsonObject TruthOf(const TruthPart& part) {
        QFile file(QStringLiteral(DEMO_DIR "/coldfire.truth.json"));
        file.open(QIODevice::ReadOnly);
        for (const QJsonValue p : QJsonDocument::fromJson(file.readAll())["parts"].toArray())
            if (p["pos_x"].toDouble() == part.boardX && p["pos_y"].toDouble() == part.boardY)
                return p.toObject();
        return {};
    }
    // Whether the colour is drawn within 3 window pixels of where each picture pixel is shown.
    bool drawnNear(const QJsonArray& pixels, const QColor& colour) const {
        const std::optional<ViewTransform> board = BoardTransform(view());
        if (!board)
            return false;
        const QImage shot = dlg_->grab().toImage();
        return std::all_of(pixels.begin(), pixels.end(), [&](const QJsonValue& pixel) {
            const ViewPoint at = board->toWindow({pixel[0].toDouble(), pixel[1].toDouble()});
            const QPoint centre = frame().topLeft() + QPoint(int(at.x), int(at.y));
            return CountColour(shot, QRect(centre - QPoint(3, 3), QSize(7, 7)), colour) > 0;
        });
    }
    QWidget* child(const char* name) const { return dlg_->findChild<QWidget*>(name); }
    void click(const char* name) { QTest::mouseClick(child(name), Qt::LeftButton); }
    // Load Bitmap of the file, and the wait until its whole picture is decoded.
    bool loadWhole(const QString& path) {
        platform_.files = {path};
        click("loadBitmap");
        return QTest::qWaitFor([this] { return pictures().whole(); }, 10000);
    }

    // The marker's mode, whether the pen's pixels on the frame (green around a point pressed,
    // yellow around a part located) lie all around the marker's point, along each of the box's
    // four sides, and whether the inside of the frame, without its border and the progress in its
    // corner, is all black.
    QString shown() {
        const QImage shot = dlg_->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const std::optional<Marker>& marker = view().marker;
        const std::optional<ViewTransform> board = BoardTransform(view());
        const QColor pen = marker && marker->mode == MarkerMode::PartLocated ? QColor(255, 250, 155)
                                                                             : QColor(55, 255, 100);
        const QRect f = frame(), inside = f.adjusted(2, 2, -2, -40);
        const PixelPoint at =
            board && marker ? PictureToWindow(*board, marker->at.x, marker->at.y) : PixelPoint{};
        const int side =
            board ? view().zoomBoxSize * board->drawn().width / board->turnedSize().width + 12 : 0;
        const int onFrame = CountColour(shot, f, pen);
        const QRect around(f.x() + at.x - side / 2, f.y() + at.y - side / 2, side, side);
        // Each side's middle half, in a strip a quarter of the box deep from its edge.
        const int q = side / 4;
        const QRect sides[] = {{around.left() + q, around.top(), 2 * q, q},
                               {around.left() + q, around.bottom() - q + 1, 2 * q, q},
                               {around.left(), around.top() + q, q, 2 * q},
                               {around.right() - q + 1, around.top() + q, q, 2 * q}};
        const bool boxed = onFrame > 0 && CountColour(shot, around, pen) == onFrame &&
                           std::all_of(std::begin(sides), std::end(sides), [&](const QRect& r) {
                               return CountColour(shot, r, pen) >= 2 * q;
                           });
        const bool black = CountColour(shot, inside, Qt::black) == inside.width() * inside.height();
        const QString mode = !marker                                 ? "no marker"
                             : marker->mode == MarkerMode::UserPoint ? "point"
                                                                     : "part";
        return mode + (boxed ? ", boxed" : ", no box") + (black ? ", black" : ", picture");
    }

    // The session's state, field by field.
    QStringList state() const {
        const AssemblySession& s = dlg_->session();
        const ViewState& v = s.view();
        const auto size = [](const std::optional<PixelSize>& z) {
            return z ? QStringLiteral("%1 x %2").arg(z->width).arg(z->height) : QString("none");
        };
        const std::optional<Marker>& m = v.marker;
        const std::optional<BoardPosition>& part = s.selection().part;
        return {
            QString::fromStdString(v.bitmapPath.value_or("none")),
            size(v.pictureSize),
            size(v.frameSize),
            QStringLiteral("turn %1 mirrored %2 zoom %3 dragging %4")
                .arg(v.viewRotation)
                .arg(v.mirrored)
                .arg(v.zoomBoxSize)
                .arg(v.dragging),
            m ? QStringLiteral("marker %1, %2 mode %3").arg(m->at.x).arg(m->at.y).arg(int(m->mode))
              : QString("no marker"),
            QStringLiteral("selection %1 at %2, %3 highlighted %4")
                .arg(s.selection().row.value_or(-1))
                .arg(part ? part->x : -1.0f)
                .arg(part ? part->y : -1.0f)
                .arg(s.highlightedRow().value_or(-1)),
            QString::fromStdString(s.calibrationText() + " | " + KeptSessionText(s.keptState()) +
                                   " | " + s.pkpText() + " " + s.partsPerFaceText()),
            QString::number(s.placedOnFace())};
    }

private slots:
    // The window on the demo's placement file and the picture, with its whole picture decoded.
    void init() {
        FailOnPaintWarnings();
        QFile::remove(picture_);
        QVERIFY(QFile::copy(QStringLiteral(DEMO_DIR "/coldfire-top.jpg"), picture_));
        dlg_ = std::make_unique<CPlacementDlg>(platform_);
        QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
        dlg_->resize(1600, dlg_->height());
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg_.get()));
        platform_.files = {QStringLiteral(DEMO_DIR "/coldfire.csv")};
        click("loadPkp");
        QVERIFY(loadWhole(picture_));
    }

    // Ctrl and the wheel enlarge the picture; a drag with the middle button then moves it the
    // pointer's way: dragged left, the view shows more of the picture's right.
    void ctrlWheelEnlargesAndAMiddleDragPans() {
        QWidget* frameView = child("pictureFrame");
        const QPoint at(300, 250);
        QWheelEvent wheel(at, frameView->mapToGlobal(QPointF(at)), {}, {0, 4 * 120}, Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(frameView, &wheel);
        QVERIFY(view().overviewZoom > 1.0);
        QVERIFY(shown().endsWith("picture")); // drawn enlarged, not left black
        const double left = view().overviewLeft, top = view().overviewTop;
        QTest::mousePress(frameView, Qt::MiddleButton, {}, at);
        const QPointF to(at - QPoint(40, 0));
        QMouseEvent move(QEvent::MouseMove, to, frameView->mapToGlobal(to), Qt::NoButton,
                         Qt::MiddleButton, Qt::NoModifier); // QTest moves with no button held
        QApplication::sendEvent(frameView, &move);
        QTest::mouseRelease(frameView, Qt::MiddleButton, {}, at - QPoint(40, 0));
        QVERIFY2(view().overviewLeft > left, qPrintable(QString::number(view().overviewLeft)));
        QCOMPARE(view().overviewTop, top);
    }

    // The panes and the logo act on their mouse events and still pass them on to the window, as
    // Qt's own widgets do; only Ctrl and the wheel over the picture are taken.
    void mouseEventsPassOnToTheWindow_data() {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("taken");
        const int press = QEvent::MouseButtonPress, move = QEvent::MouseMove,
                  release = QEvent::MouseButtonRelease, wheel = QEvent::Wheel;
        const int none = Qt::NoModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("picture, press") << "pictureFrame" << press << none << false;
        QTest::newRow("picture, Ctrl+press") << "pictureFrame" << press << ctrl << false;
        QTest::newRow("picture, move") << "pictureFrame" << move << none << false;
        QTest::newRow("picture, release") << "pictureFrame" << release << none << false;
        QTest::newRow("picture, wheel") << "pictureFrame" << wheel << none << false;
        QTest::newRow("picture, Ctrl+wheel") << "pictureFrame" << wheel << ctrl << true;
        QTest::newRow("magnifier, press") << "magnifierFrame" << press << none << false;
        QTest::newRow("magnifier, move") << "magnifierFrame" << move << none << false;
        QTest::newRow("magnifier, release") << "magnifierFrame" << release << none << false;
        QTest::newRow("logo, release") << "logo" << release << none << false;
    }
    void mouseEventsPassOnToTheWindow() {
        QFETCH(QString, pane);
        QFETCH(int, type);
        QFETCH(int, modifiers);
        QFETCH(bool, taken);
        QWidget* widget = child(qPrintable(pane));
        const QPointF at(20, 20), global = widget->mapToGlobal(at);
        const auto keys = Qt::KeyboardModifiers(modifiers);
        std::unique_ptr<QInputEvent> event;
        if (type == QEvent::Wheel)
            event = std::make_unique<QWheelEvent>(at, global, QPoint(), QPoint(0, 120),
                                                  Qt::NoButton, keys, Qt::NoScrollPhase, false);
        else
            event = std::make_unique<QMouseEvent>(
                QEvent::Type(type), at, global, Qt::LeftButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, keys);
        event->setAccepted(true);
        QApplication::sendEvent(widget, event.get());
        QCOMPARE(event->isAccepted(), taken);
    }

    // The logo clicks on a left button let go over it, not on another button nor outside it.
    void theLogoClicksOnALeftReleaseOverIt() {
        auto* logo = dlg_->findChild<ClickableLabel*>("logo");
        QSignalSpy clicks(logo, &ClickableLabel::clicked);
        const QPointF inside(5, 5), outside(-5, 5);
        for (const auto& [button, at] :
             {std::pair{Qt::RightButton, inside}, std::pair{Qt::LeftButton, outside},
              std::pair{Qt::LeftButton, inside}}) {
            QMouseEvent release(QEvent::MouseButtonRelease, at, logo->mapToGlobal(at), button,
                                Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(logo, &release);
        }
        QCOMPARE(clicks.count(), 1);
    }

    // What changes what the picture shows paints it again, of itself; what changes nothing paints
    // nothing: the kind's spots shown and hidden, the spots' setting told again, a banner shown
    // and gone.
    void repaintsOnlyForAChange() {
        auto* board = dlg_->findChild<BoardView*>("pictureFrame");
        struct PaintCounter : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override {
                paints += event->type() == QEvent::Paint;
                return false;
            }
        } counter;
        board->installEventFilter(&counter);
        // Whether the board is painted within the time after the change, and not before it.
        const auto paintedAfter = [&](const std::function<void()>& change, int withinMs) {
            QTest::qWait(100);
            counter.paints = 0;
            change();
            return QTest::qWaitFor([&] { return counter.paints > 0; }, withinMs);
        };
        QAction* spots = MenuEntry(*dlg_, CommandId::ShowKindSpots);
        QVERIFY(paintedAfter([&] { spots->trigger(); }, 1000));
        QVERIFY(!paintedAfter([&] { board->setShowKindSpots(board->showsKindSpots()); }, 300));
        QVERIFY(paintedAfter([&] { spots->trigger(); }, 1000)); // hidden again, as kept
        QVERIFY(paintedAfter([&] { board->showBanner(QStringLiteral("New kind")); }, 1000));
        QVERIFY(paintedAfter([] {}, 3000)); // the banner gone after two seconds
    }

    // A press on the picture sets the pressed point, and a drag with the button held carries
    // it along until the button is let go; the point lies where the pointer was let go.
    void aDragOnThePictureCarriesThePressedPoint() {
        QWidget* board = child("pictureFrame");
        const QPoint from(300, 250), to(340, 280);
        QTest::mousePress(board, Qt::LeftButton, {}, from);
        const Marker pressed = *view().marker;
        QTest::mouseMove(board, to);
        QVERIFY(view().dragging);
        const Marker dragged = *view().marker;
        QTest::mouseRelease(board, Qt::LeftButton, {}, to);
        QVERIFY(!view().dragging);
        QVERIFY(dragged.at.x > pressed.at.x && dragged.at.y > pressed.at.y);
        QCOMPARE(std::make_pair(view().marker->at.x, view().marker->at.y),
                 std::make_pair(dragged.at.x, dragged.at.y));
    }

    // A press on the magnifier drags the pressed point until the button is let go, as one on the
    // picture does.
    void aPressOnTheMagnifierEndsOnRelease() {
        PressOnPicture(*dlg_, frame().topLeft() + QPoint(300, 250));
        QWidget* magnifier = child("magnifierFrame");
        const QPoint middle = magnifier->rect().center();
        QTest::mousePress(magnifier, Qt::LeftButton, {}, middle);
        QVERIFY(view().dragging);
        QTest::mouseRelease(magnifier, Qt::LeftButton, {}, middle);
        QVERIFY(!view().dragging);
    }

    // Painting the board view and the magnifier changes nothing in the session, field by field,
    // and reads no file: the picture removed from disk is still drawn, from memory.
    void paintChangesNothingAndReadsNoFile() {
        PressOnPicture(*dlg_, frame().topLeft() + QPoint(300, 250));
        QVERIFY(QFile::remove(picture_));
        const QStringList before = state();
        QWidget* magnifier = child("magnifierFrame");
        const QImage board = child("pictureFrame")->grab().toImage();
        const QImage magnified = magnifier->grab().toImage();
        QCOMPARE(state(), before);
        const QRect inside = board.rect().adjusted(2, 2, -2, -40);
        QVERIFY(CountColour(board, inside, Qt::black) < inside.width() * inside.height() / 2);
        const QRect pane = magnified.rect().adjusted(2, 2, -2, -2);
        QVERIFY(CountColour(magnified, pane, Qt::black) < pane.width() * pane.height() / 2);
        QCOMPARE(shown(), "point, boxed, picture");
    }

    // A banner darkens a strip across the picture's top, black at 190 of 255 over it, for two
    // seconds; the picture below it is left as it was.
    void bannerDarkensTheTopForAWhile() {
        const QPoint top = frame().topLeft() + QPoint(frame().width() / 3, 6);
        const QPoint below = top + QPoint(0, 200);
        const auto colours = [&] {
            const QImage shot = dlg_->grab().toImage();
            return std::pair(shot.pixelColor(top), shot.pixelColor(below));
        };
        const auto [before, pictureBelow] = colours();
        dlg_->findChild<BoardView*>("pictureFrame")->showBanner(QStringLiteral("New kind"));
        const auto [darkened, stillBelow] = colours();
        for (const auto& [after, was] :
             {std::pair(darkened.red(), before.red()), std::pair(darkened.green(), before.green()),
              std::pair(darkened.blue(), before.blue())})
            QVERIFY2(std::abs(after - was * 65 / 255) <= 2, qPrintable(darkened.name()));
        QCOMPARE(stillBelow, pictureBelow);
        QTRY_COMPARE_WITH_TIMEOUT(colours().first, before, 4000);
    }

    // A press boxes its point without any paint since the picture was opened. A picture loaded
    // again after it changed on disk is read again: cut short, it can't be decoded, is drawn
    // black, and a press does not count. Then replaced twice by pictures of one size, with only
    // the time of change to tell them apart, each loaded again.
    void pressAndPictureChangedOnDisk() {
        PressOnPicture(*dlg_, frame().topLeft() + QPoint(300, 250));
        QCOMPARE(shown(), "point, boxed, picture");
        QFile::resize(picture_, QFileInfo(picture_).size() / 2);
        QCOMPARE(shown(), "point, boxed, picture"); // drawn from memory until loaded again
        platform_.files = {picture_};
        click("loadBitmap");
        QCOMPARE(shown(), "no marker, no box, black");
        PressOnPicture(*dlg_, frame().topLeft() + QPoint(200, 200));
        QVERIFY(!view().marker);
        for (const QColor& colour : {QColor(Qt::red), QColor(Qt::blue)}) {
            const QDateTime before = QFileInfo(picture_).lastModified();
            QImage picture(400, 300, QImage::Format_RGB32);
            picture.fill(colour);
            QFile file(picture_);
            QVERIFY(picture.save(picture_, "BMP") && file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(before.addSecs(10), QFileDevice::FileModificationTime));
            QVERIFY(loadWhole(picture_));
        }
        QCOMPARE(dlg_->grab().toImage().pixelColor(frame().topLeft() + QPoint(20, 20)),
                 QColor(Qt::blue));
    }

    // Where a picture lets the background through, the frame shows black, as beside it.
    void transparentPixelsShowBlack() {
        QImage clear(400, 300, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        const QString path =
            WriteFile(dir_.filePath(QStringLiteral("clear.png")), Encoded(clear, "PNG"));
        QVERIFY(loadWhole(path));
        QCOMPARE(shown(), "no marker, no box, black");
    }

    // The progress stands 4 pixels in from the frame's bottom right corner, on a box 6 pixels
    // beyond its text at either side and 3 above and below that darkens the picture to 85 of
    // 255: on a grey picture filling the frame, the box's outermost pixels are darkened, those
    // just beyond them are the picture's.
    void progressBoxInTheCorner() {
        QWidget* board = child("pictureFrame");
        QImage picture(board->size(), QImage::Format_RGB32);
        picture.fill(QColor(120, 120, 120));
        QVERIFY(loadWhole(
            WriteFile(dir_.filePath(QStringLiteral("grey.bmp")), Encoded(picture, "BMP"))));
        const QString text = QStringLiteral("0 / %1 placed").arg(dlg_->session().fittedOnFace());
        QRect box = QFontMetrics(board->font()).boundingRect(text).adjusted(-6, -3, 6, 3);
        box.moveBottomRight(board->rect().bottomRight() - QPoint(4, 4));
        const QImage shot = board->grab().toImage();
        const auto grey = [&shot](const QPoint& at) { return shot.pixelColor(at).red(); };
        const QPoint x(1, 0), y(0, 1);
        for (const auto& [inside, beyond] : {std::pair(box.topLeft(), box.topLeft() - y),
                                             std::pair(box.topLeft(), box.topLeft() - x),
                                             std::pair(box.bottomRight(), box.bottomRight() + y),
                                             std::pair(box.bottomRight(), box.bottomRight() + x)}) {
            QString where;
            QDebug(&where) << inside << beyond;
            QVERIFY2(std::abs(grey(inside) - 40) <= 2 && grey(beyond) == 120, qPrintable(where));
        }
    }

    // Load Bitmap cancelled shows no picture, and lets go of the one shown before, pixels and all.
    void aCancelledLoadLetsGoOfThePictureBefore() {
        platform_.files.clear();
        click("loadBitmap");
        QVERIFY(!view().bitmapPath);
        QVERIFY(!pictures().whole());
        QVERIFY(pictures().drawn().isNull());
    }

    // A picture that can't be shown leaves the frame black and says why in one box, naming the
    // file: at once for a file cut short, too large or of no picture kind, once its decode has
    // failed for pixels that can't be decoded (a PNG whose pixel data is damaged).
    void tellsWhyAPictureCantBeShown_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("why");
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QByteArray bmp = Encoded(image, "BMP"), png = Encoded(image, "PNG");
        QByteArray damaged = png;
        for (qsizetype at = damaged.indexOf("IDAT") + 6; at < damaged.indexOf("IEND") - 8; ++at)
            damaged[at] = char(0xA5);
        QTest::newRow("BMP cut short") << bmp.chopped(100) << "cut short";
        QTest::newRow("PNG cut short") << png.left(png.size() / 2) << "cut short";
        QTest::newRow("over 100 megapixels")
            << WithClaimedSize(PlainJpeg(QSize(64, 64)), QSize(10010, 10000)) << "too large";
        QTest::newRow("text") << QByteArray("no picture") << "not a picture this program reads";
        QTest::newRow("damaged pixels") << damaged << "not a picture this program reads";
        QFile demo(QStringLiteral(DEMO_DIR "/coldfire-top.jpg"));
        QVERIFY(demo.open(QIODevice::ReadOnly));
        QTest::newRow("JPEG cut short") << demo.readAll().chopped(5000) << "cut short";
    }
    void tellsWhyAPictureCantBeShown() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        const QString path = WriteFile(dir_.filePath(QStringLiteral("broken.pic")), bytes);
        QVERIFY(!path.isEmpty());
        platform_.messages.clear();
        platform_.files = {path};
        click("loadBitmap");
        QTRY_COMPARE(platform_.messages.size(), 1);
        QCOMPARE(platform_.messages.front().caption + ": " + platform_.messages.front().text,
                 "Error: Can't show the picture " + path + ": " + why);
        QCOMPARE(shown(), "no marker, no box, black");
        QTest::qWait(50);
        QCOMPARE(platform_.messages.size(), 1);
    }

    // Calibrated on two parts far apart, every part of the bottom face is located on its true
    // pixel, and identified from it (Ctrl and a press), in the view turned a quarter and
    // mirrored, and the last one boxed (the photo's calibration locates upright). The parts of
    // the selected one's kind are shown from the right-click menu.
    void locatesEveryPartTurned() {
        for (const char* button : {"bottom", "rotR", "rotR", "rotR", "flip"})
            click(button);
        QVERIFY(loadWhole(QStringLiteral(DEMO_DIR "/coldfire-bottom.jpg")));
        const auto face = ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"), true);
        CalibrateOn(*dlg_, {face.front(), face.back()});
        for (const TruthPart& part : face) {
            QTest::mouseClick(dlg_->windowHandle(), Qt::LeftButton, Qt::ControlModifier,
                              WindowPointNearest(*dlg_, part.pixel));
            QCOMPARE(dlg_->session().selection().row.value(), RowOf(*dlg_, part));
            // A press reaches about every second pixel, and locating truncates: 2.3 measured on
            // a turned picture, drawn smaller, in the window laid out in 8-point units.
            const QPointF miss = QPointF(view().marker->at.x, view().marker->at.y) - part.pixel;
            QVERIFY2(std::max(std::abs(miss.x()), std::abs(miss.y())) <= 2.5,
                     qPrintable(QString::number(miss.x()) + ',' + QString::number(miss.y())));
        }
        // The chip's outline stands for the box, its corners where the design tool puts them.
        QCOMPARE(shown(), "part, no box, picture");
        QVERIFY(drawnNear(TruthOf(face.back())["body"].toArray(), QColor(255, 250, 155)));
        QAction* spots = MenuEntry(*dlg_, CommandId::ShowKindSpots);
        spots->trigger(); // the outlines of the parts of the kind still to go
        QVERIFY(spots->isChecked());
        // Every other part of the kind outlined, its corners on the truth's corners.
        const PartRecord& kind = dlg_->session().partAtRow(RowOf(*dlg_, face.back()));
        int outlined = 0;
        for (const TruthPart& part : face) {
            const PartRecord& record = dlg_->session().partAtRow(RowOf(*dlg_, part));
            if (&record == &kind || !IsSameKind(record, kind))
                continue;
            QVERIFY2(drawnNear(TruthOf(part)["body"].toArray(), QColor(0, 200, 255)),
                     record.designator.c_str());
            ++outlined;
        }
        QVERIFY(outlined > 0);
        spots->trigger(); // as the next run expects it
    }

    // Where no body is known, the others of the selected part's kind are spots on their pixels: a
    // blue ring while to place, filled purple once placed, crossed in red when not fitted; the
    // box of a part not fitted is crossed too.
    void kindSpotsAndNotFittedCrosses() {
        // The demo board's parts under a package no rule knows, without the board file beside.
        QFile demo(QStringLiteral(DEMO_DIR "/coldfire.csv"));
        QVERIFY(demo.open(QIODevice::ReadOnly));
        // The third of the quoted fields, which may hold commas.
        const QString parts =
            QString::fromUtf8(demo.readAll())
                .replace(
                    QRegularExpression(QStringLiteral("(\\n\"[^\"]*\",\"[^\"]*\",)\"[^\"]*\"")),
                    QStringLiteral("\\1\"XYZ\""));
        const QString placement = dir_.filePath(QStringLiteral("plain.csv"));
        QFile plain(placement);
        QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write(parts.toUtf8()) > 0);
        plain.close();
        platform_.files = {placement};
        click("loadPkp");
        const auto face = ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"), false);
        CalibrateOn(*dlg_, {face.front(), face.back()});
        std::map<std::string, std::vector<TruthPart>> kinds;
        for (const TruthPart& part : face)
            kinds[std::string(dlg_->session().partAtRow(RowOf(*dlg_, part)).value)].push_back(part);
        const std::vector<TruthPart>& kind =
            std::max_element(kinds.begin(), kinds.end(), [](const auto& a, const auto& b) {
                return a.second.size() < b.second.size();
            })->second;
        QVERIFY(kind.size() >= 4);
        ClickRow(*dlg_, RowOf(*dlg_, kind[1]));
        QTest::keyClick(dlg_.get(), Qt::Key_Return); // placed
        ClickRow(*dlg_, RowOf(*dlg_, kind[2]));
        MenuEntry(*dlg_, CommandId::ToggleNotFitted)->trigger();
        ClickRow(*dlg_, RowOf(*dlg_, kind[0]));
        MenuEntry(*dlg_, CommandId::ShowKindSpots)->trigger();
        const auto centreOf = [this](const TruthPart& part) {
            const ViewPoint at = BoardTransform(view())->toWindow({part.pixel.x(), part.pixel.y()});
            return frame().topLeft() + QPoint(int(at.x), int(at.y));
        };
        // What is drawn on a part's pixel: within 2 window pixels of it, and on a ring 4 to 8 out.
        const auto drawnAt = [&](const TruthPart& part, const QColor& colour) {
            const QImage shot = dlg_->grab().toImage();
            const QPoint centre = centreOf(part);
            const QRect middle(centre - QPoint(2, 2), QSize(5, 5));
            const QRect around(centre - QPoint(8, 8), QSize(17, 17));
            return QStringLiteral("%1 %2")
                .arg(CountColour(shot, middle, colour) > 0 ? "middle" : "-")
                .arg(CountColour(shot, around, colour) > CountColour(shot, middle, colour) ? "ring"
                                                                                           : "-");
        };
        const QColor toPlace(0, 200, 255), placed(200, 120, 255), cross(255, 60, 60);
        QCOMPARE(drawnAt(kind[3], toPlace), "- ring");
        QCOMPARE(drawnAt(kind[1], placed), "middle ring");
        QCOMPARE(drawnAt(kind[2], cross), "middle ring");
        // A cross reaches the four corners around the pixel, 3 to 8 pixels out each way.
        const QImage shot = dlg_->grab().toImage();
        for (const QPoint corner : {QPoint(-8, -8), QPoint(3, -8), QPoint(-8, 3), QPoint(3, 3)})
            QVERIFY(CountColour(shot, QRect(centreOf(kind[2]) + corner, QSize(6, 6)), cross) > 0);
        QCOMPARE(drawnAt(kind[0], cross), "- -");
        QCOMPARE(shown(), "part, boxed, picture");
        MenuEntry(*dlg_, CommandId::ShowKindSpots)->trigger(); // as the next run expects it
        ClickRow(*dlg_, RowOf(*dlg_, kind[2]));
        QCOMPARE(drawnAt(kind[2], cross), "middle ring");
    }

    // An IC of the top face selected: its outline and a dot at pin 1 follow every turn and
    // mirror of the view.
    void outlineAndPinOneAtEveryTurn() {
        QVERIFY(loadWhole(QStringLiteral(DEMO_DIR "/coldfire-top.jpg")));
        const auto face = ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"), false);
        CalibrateOn(*dlg_, {face.front(), face.back()});
        const auto ic = std::find_if(face.begin(), face.end(), [](const TruthPart& part) {
            return TruthOf(part)["package"].toString() ==
                   QLatin1String("SOIC-16_3.9x9.9mm_P1.27mm");
        });
        QVERIFY(ic != face.end());
        ClickRow(*dlg_, RowOf(*dlg_, *ic));
        const QJsonObject truth = TruthOf(*ic);
        for (int view = 0; view < 8; ++view) {
            QVERIFY2(drawnNear({truth["pin1"]}, QColor(255, 60, 60)) &&
                         drawnNear(truth["body"].toArray(), QColor(255, 250, 155)),
                     qPrintable(QString::number(view)));
            click(view == 3 ? "flip" : "rotR");
        }
    }

    // The demo board's top face in a hand-held photo, turned by 1.5 degrees and seen at a slight
    // tilt, calibrated on the parts nearest its four corners: top left and bottom right with Cal 1
    // and Cal 2, which refuses the pair on the diagonal (their axes' scales differ by 6 %) but
    // counts its point all the same, then the other two added from the right-click menu and with
    // Insert. Pressed near each part on the picture, the map locates every part within 3 picture
    // pixels (1.7 measured in the window laid out in 8-point units); each point put on its part's
    // true pixel through the magnifier, at its resolution, after a press near it, within 2.
    void photoCalibratedOnFourCorners_data() {
        QTest::addColumn<bool>("throughMagnifier");
        QTest::addColumn<double>("within");
        QTest::newRow("pressed on the picture") << false << 3.0;
        QTest::newRow("through the magnifier") << true << 2.0;
    }
    void photoCalibratedOnFourCorners() {
        QFETCH(bool, throughMagnifier);
        QFETCH(double, within);
        QVERIFY(loadWhole(QStringLiteral(DEMO_DIR "/coldfire-top-phone.jpg")));
        const auto face = ReadTruth(QStringLiteral(DEMO_DIR "/coldfire-phone.truth.json"), false);
        const auto [bottomLeft, topRight] =
            std::minmax_element(face.begin(), face.end(), [](auto& a, auto& b) {
                return a.pixel.x() - a.pixel.y() < b.pixel.x() - b.pixel.y();
            });
        QWidget* magnifier = child("magnifierFrame");
        const auto pressOn = [&](const TruthPart& part) {
            ClickRow(*dlg_, RowOf(*dlg_, part));
            PressOnPicture(*dlg_, WindowPointNearest(*dlg_, part.pixel));
            if (!throughMagnifier)
                return;
            const ViewState& v = view();
            const std::optional<ViewTransform> lens =
                MagnifierTransform(*BoardTransform(v), v.marker->at, v.zoomBoxSize,
                                   {magnifier->width(), magnifier->height()});
            // The crosshair on the middle of the pixel nearest the part's, as the user aims it.
            const ViewPoint at = lens->toWindow(
                {std::round(part.pixel.x()) + 0.5, std::round(part.pixel.y()) + 0.5});
            QTest::mouseClick(magnifier, Qt::LeftButton, {}, QPoint(int(at.x), int(at.y)));
        };
        pressOn(face.front());
        click("cal1");
        pressOn(face.back());
        click("cal2");
        pressOn(*topRight);
        QAction* add = MenuEntry(*dlg_, CommandId::AddCalPoint);
        QVERIFY(dlg_->actions().contains(add)); // an entry of the right-click menu
        add->trigger();
        pressOn(*bottomLeft);
        QTest::keyClick(dlg_.get(), Qt::Key_Insert);
        double worst = 0.0;
        for (const TruthPart& part : face) {
            const auto at =
                LocatePart(dlg_->session().calibration(), float(part.boardX), float(part.boardY));
            QVERIFY(at);
            worst = std::max(worst, QLineF(QPointF(at->x, at->y), part.pixel).length());
        }
        QVERIFY2(worst <= within,
                 qPrintable(QStringLiteral("worst part %1 picture pixels off").arg(worst)));
    }
};

QTEST_MAIN(BoardViewTest)
#include "BoardViewTest.moc"
