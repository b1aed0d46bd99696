#include "CPlacementDlg.h"
#include "FakePlatform.h"
#include "PartListView.h"
#include "Truncate.h"
#include "ViewGeometry.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QLineF>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

using kavelto::CalState;
using kavelto::MarkerMode;
using kavelto::PixelPoint;

namespace {

// One part as the demo board's truth file gives it: where the placement file puts it and the
// exact pixel of its centre in the picture of its face.
struct TruthPart {
    QString ref;
    bool bottom;
    double boardX;
    double boardY;
    QPointF pixel;
};

const QColor kPartLocatedPen(255, 250, 155);
const QColor kUserPointPen(55, 255, 100);

QString Demo(const char* name) {
    return QStringLiteral(DEMO_DIR "/") + QLatin1String(name);
}

std::vector<TruthPart> ReadTruth() {
    QFile file(Demo("coldfire.truth.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::vector<TruthPart> parts;
    const QJsonArray entries = QJsonDocument::fromJson(file.readAll())["parts"].toArray();
    for (const QJsonValue& entry : entries) {
        const QJsonObject part = entry.toObject();
        const QJsonArray pixel = part["pixel"].toArray();
        parts.push_back({part["ref"].toString(), part["side"].toString() == "bottom",
                         part["pos_x"].toDouble(), part["pos_y"].toDouble(),
                         QPointF(pixel[0].toDouble(), pixel[1].toDouble())});
    }
    return parts;
}

std::vector<TruthPart> FaceOf(const std::vector<TruthPart>& all, bool bottom) {
    std::vector<TruthPart> face;
    std::copy_if(all.begin(), all.end(), std::back_inserter(face),
                 [bottom](const TruthPart& part) { return part.bottom == bottom; });
    return face;
}

// The two parts spanning the largest rectangle on the picture: nearly every part of the face
// lies between them on both axes, so locating interpolates rather than extrapolates.
std::pair<TruthPart, TruthPart> FarthestPair(const std::vector<TruthPart>& face) {
    std::pair<TruthPart, TruthPart> best{face.front(), face.back()};
    double bestArea = -1.0;
    for (std::size_t i = 0; i < face.size(); ++i) {
        for (std::size_t j = i + 1; j < face.size(); ++j) {
            const QPointF span = face[i].pixel - face[j].pixel;
            const double area = std::abs(span.x() * span.y());
            if (area > bestArea) {
                bestArea = area;
                best = {face[i], face[j]};
            }
        }
    }
    return best;
}

// Rows and truth meet by board position: the designators of the demo board do not all fit the
// prefix-and-number form that the list shows.
bool IsPart(const TruthPart& part, const kavelto::PartRecord& record) {
    return std::abs(part.boardX - record.x) < 1e-3 && std::abs(part.boardY - record.y) < 1e-3;
}

// The part nearest the middle of the picture, whose box and magnified square lie well inside.
const TruthPart& MiddlePart(const std::vector<TruthPart>& face) {
    const QPointF centre(995, 598);
    return *std::min_element(
        face.begin(), face.end(), [&centre](const TruthPart& a, const TruthPart& b) {
            return QLineF(a.pixel, centre).length() < QLineF(b.pixel, centre).length();
        });
}

QImage Shot(QWidget& window) {
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
    const QRect inside = area.intersected(image.rect());
    int count = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += image.pixel(x, y) == colour.rgb() ? 1 : 0;
    }
    return count;
}

// The inside of a frame, without the border line its widget draws over the board view.
QRect Interior(const QRect& frame) {
    return frame.adjusted(2, 2, -2, -2);
}

bool SamePoint(const kavelto::CalPoint& a, const kavelto::CalPoint& b) {
    return a.boardX == b.boardX && a.boardY == b.boardY && a.pixelX == b.pixelX &&
           a.pixelY == b.pixelY;
}

bool SameMarkers(const std::vector<PixelPoint>& a, const std::vector<PixelPoint>& b) {
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const PixelPoint& p, const PixelPoint& q) { return p.x == q.x && p.y == q.y; });
}

void WritePicture(const QString& path, const QSize& size, const QColor& colour) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    picture.save(path, "BMP");
}

} // namespace

class BoardViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void locatesEveryPartOfTheFace_data();
    void locatesEveryPartOfTheFace();
    void calibrationSurvivesTurningAndMirroring_data();
    void calibrationSurvivesTurningAndMirroring();
    void refusedCal2KeepsTheCalibrationInForce_data();
    void refusedCal2KeepsTheCalibrationInForce();
    void calibrationRefusalsInOrder();

    void rotationTextFollowsTheCommands();
    void zoomChangesTheBoxSize_data();
    void zoomChangesTheBoxSize();
    void loadBitmapStartsTheViewAfresh_data();
    void loadBitmapStartsTheViewAfresh();
    void pressInTheMarginChangesNothing_data();
    void pressInTheMarginChangesNothing();
    void pressOnThePictureKeepsTheSelection();
    void dragFollowsThePointerOutOfTheWindow();

    void markerIsBoxedAndMagnified_data();
    void markerIsBoxedAndMagnified();
    void undecodablePicturePaintsBlack_data();
    void undecodablePicturePaintsBlack();
    void pictureChangedOnDiskShowsAtNextPaint_data();
    void pictureChangedOnDiskShowsAtNextPaint();
    void frameWithoutWidthPaintsWithoutFailing();
    void sizeChangeKeepsTheEdges_data();
    void sizeChangeKeepsTheEdges();

private:
    QPushButton* button(const char* name) const;
    PartListView* list() const;
    QRect frame() const;
    kavelto::PixelRect frameRect() const;

    void click(const char* name);
    void paint();
    void loadParts();
    void loadPicture(const QString& path);
    void openFace(bool bottom, const char* picture);
    void clickRow(int row);
    const kavelto::PartRecord& recordOfRow(int row) const;
    int rowOf(const TruthPart& part) const;
    const TruthPart* truthOfRow(int row, const std::vector<TruthPart>& face) const;
    void resizeWindow(const QSize& size);

    QPoint windowPointNearest(const QPointF& pixel) const;
    void pressAt(const QPoint& point);
    void calibrateOn(const TruthPart& first, const TruthPart& second);
    void measureLocatingByClicks(const std::vector<TruthPart>& face, double& worst);
    void locateEveryRowByKeys(std::vector<PixelPoint>& markers);
    double worstError(const std::vector<TruthPart>& face,
                      const std::vector<PixelPoint>& markers) const;
    void expectBoxAroundMarker(const QColor& pen);

    std::vector<TruthPart> truth_;
    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    QPoint firstPress_;
    QPoint secondPress_;
};

void BoardViewTest::initTestCase() {
    truth_ = ReadTruth();
    QCOMPARE(truth_.size(), std::size_t(160));
}

// A window large enough that the top picture is drawn at about two picture pixels per window
// pixel: the frame's height is fixed by the template, only its width follows the window.
void BoardViewTest::init() {
    platform_ = std::make_unique<FakePlatform>();
    dlg_ = std::make_unique<CPlacementDlg>(*platform_);
    QVERIFY(dlg_->LoadColumnMap(Demo("Kavelto.ini")));
    dlg_->resize(1600, dlg_->height());
    dlg_->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
}

void BoardViewTest::cleanup() {
    dlg_.reset();
    platform_.reset();
}

// ---- helpers

QPushButton* BoardViewTest::button(const char* name) const {
    return dlg_->findChild<QPushButton*>(QLatin1String(name));
}

PartListView* BoardViewTest::list() const {
    return dlg_->findChild<PartListView*>(QStringLiteral("partList"));
}

QRect BoardViewTest::frame() const {
    return dlg_->findChild<QFrame*>(QStringLiteral("pictureFrame"))->geometry();
}

kavelto::PixelRect BoardViewTest::frameRect() const {
    const QRect r = frame();
    return {r.left(), r.top(), r.width(), r.height()};
}

void BoardViewTest::click(const char* name) {
    QTest::mouseClick(button(name), Qt::LeftButton);
}

// The pointer converts with the scale of the last paint, so every change of picture or turn is
// followed by one before a press.
void BoardViewTest::paint() {
    dlg_->repaint();
    QCoreApplication::processEvents();
}

void BoardViewTest::loadParts() {
    platform_->files.push_back(Demo("coldfire.csv"));
    click("loadPkp");
    QCOMPARE(dlg_->findChild<QLineEdit*>(QStringLiteral("pkpText"))->text(),
             QStringLiteral("160 parts loaded"));
}

void BoardViewTest::loadPicture(const QString& path) {
    platform_->files.push_back(path);
    click("loadBitmap");
    paint();
}

void BoardViewTest::openFace(bool bottom, const char* picture) {
    loadParts();
    if (bottom)
        QTest::mouseClick(dlg_->findChild<QRadioButton*>(QStringLiteral("bottom")), Qt::LeftButton);
    loadPicture(Demo(picture));
    QCOMPARE(dlg_->view().pictureWidth, 1990);
    QCOMPARE(dlg_->view().pictureHeight, 1197);
}

void BoardViewTest::clickRow(int row) {
    PartListView* view = list();
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

const kavelto::PartRecord& BoardViewTest::recordOfRow(int row) const {
    const int index = dlg_->faceList().indexes[static_cast<std::size_t>(row)];
    return dlg_->partTable().parts[static_cast<std::size_t>(index)];
}

int BoardViewTest::rowOf(const TruthPart& part) const {
    for (int row = 0; row < dlg_->faceList().faceCount; ++row) {
        if (IsPart(part, recordOfRow(row)))
            return row;
    }
    return -1;
}

const TruthPart* BoardViewTest::truthOfRow(int row, const std::vector<TruthPart>& face) const {
    const kavelto::PartRecord& record = recordOfRow(row);
    const auto match = std::find_if(face.begin(), face.end(), [&record](const TruthPart& part) {
        return IsPart(part, record);
    });
    return match == face.end() ? nullptr : &*match;
}

// A shown window changes size through the window system; wait until it has.
void BoardViewTest::resizeWindow(const QSize& size) {
    dlg_->resize(size);
    QTRY_COMPARE(dlg_->size(), size);
    QCoreApplication::processEvents();
}

// A press can only reach the picture pixels that some window pixel converts to, about every
// scale pixels; this picks the window point whose picture point comes nearest.
QPoint BoardViewTest::windowPointNearest(const QPointF& pixel) const {
    const kavelto::ViewState& view = dlg_->view();
    const kavelto::PixelRect area = frameRect();
    const PixelPoint guess = kavelto::PictureToWindow(view, area, kavelto::TruncToInt(pixel.x()),
                                                      kavelto::TruncToInt(pixel.y()));
    QPoint best(guess.x, guess.y);
    double bestError = std::numeric_limits<double>::infinity();
    for (int dy = -4; dy <= 4; ++dy) {
        for (int dx = -4; dx <= 4; ++dx) {
            const kavelto::PicturePoint p =
                kavelto::WindowToPicture(view, area, guess.x + dx, guess.y + dy);
            const double error = std::hypot(kavelto::TruncToInt(p.x) - pixel.x(),
                                            kavelto::TruncToInt(p.y) - pixel.y());
            if (p.inside && error < bestError) {
                bestError = error;
                best = QPoint(guess.x + dx, guess.y + dy);
            }
        }
    }
    return best;
}

// Through the window system, as a real pointer arrives: the frames must let it through.
void BoardViewTest::pressAt(const QPoint& point) {
    QTest::mousePress(dlg_->windowHandle(), Qt::LeftButton, {}, point);
    QTest::mouseRelease(dlg_->windowHandle(), Qt::LeftButton, {}, point);
}

// The user's calibration: for each part, click its row, press on its spot, press Cal 1 or 2.
void BoardViewTest::calibrateOn(const TruthPart& first, const TruthPart& second) {
    const int firstRow = rowOf(first);
    const int secondRow = rowOf(second);
    QVERIFY2(firstRow >= 0 && secondRow >= 0, qPrintable(first.ref + " / " + second.ref));
    clickRow(firstRow);
    firstPress_ = windowPointNearest(first.pixel);
    pressAt(firstPress_);
    QCOMPARE(dlg_->view().markerMode, MarkerMode::UserPoint);
    click("cal1");
    QCOMPARE(dlg_->calibration().state, CalState::WaitingPoint2);
    clickRow(secondRow);
    secondPress_ = windowPointNearest(second.pixel);
    pressAt(secondPress_);
    click("cal2");
    QVERIFY2(platform_->messages.empty(),
             qPrintable(platform_->messages.empty() ? QString() : platform_->messages.back().text));
}

void BoardViewTest::measureLocatingByClicks(const std::vector<TruthPart>& face, double& worst) {
    worst = 0.0;
    QCOMPARE(dlg_->faceList().faceCount, static_cast<int>(face.size()));
    for (int row = 0; row < dlg_->faceList().faceCount; ++row) {
        clickRow(row);
        const TruthPart* part = truthOfRow(row, face);
        QVERIFY(part);
        QCOMPARE(dlg_->selection().selectedRow, row);
        QCOMPARE(dlg_->view().markerMode, MarkerMode::PartLocated);
        worst = std::max({worst, std::abs(dlg_->view().markerX - part->pixel.x()),
                          std::abs(dlg_->view().markerY - part->pixel.y())});
    }
}

void BoardViewTest::locateEveryRowByKeys(std::vector<PixelPoint>& markers) {
    markers.clear();
    QTest::keyClick(dlg_.get(), Qt::Key_Home);
    for (int row = 0; row < dlg_->faceList().faceCount; ++row) {
        if (row > 0)
            QTest::keyClick(dlg_.get(), Qt::Key_Down);
        QCOMPARE(dlg_->selection().selectedRow, row);
        QCOMPARE(dlg_->view().markerMode, MarkerMode::PartLocated);
        markers.push_back({dlg_->view().markerX, dlg_->view().markerY});
    }
}

double BoardViewTest::worstError(const std::vector<TruthPart>& face,
                                 const std::vector<PixelPoint>& markers) const {
    double worst = 0.0;
    for (std::size_t row = 0; row < markers.size(); ++row) {
        const TruthPart* part = truthOfRow(static_cast<int>(row), face);
        if (!part)
            return std::numeric_limits<double>::infinity();
        worst = std::max({worst, std::abs(markers[row].x - part->pixel.x()),
                          std::abs(markers[row].y - part->pixel.y())});
    }
    return worst;
}

// Every pixel of the pen's colour on the picture lies on a square ring around the marker's
// window point, and the ring is drawn: at least one pixel of line along each side.
void BoardViewTest::expectBoxAroundMarker(const QColor& pen) {
    const kavelto::ViewState& view = dlg_->view();
    QVERIFY(view.scale > 0.0f);
    const QImage shot = Shot(*dlg_);
    const PixelPoint at = kavelto::PictureToWindow(view, frameRect(), view.markerX, view.markerY);
    const int side = static_cast<int>(view.zoomBoxSize / view.scale);
    const QRect box(at.x - side / 2 - 6, at.y - side / 2 - 6, side + 12, side + 12);
    const int onBox = CountColour(shot, box, pen);
    QVERIFY2(onBox >= 4 * (side - 4), qPrintable(QString::number(onBox)));
    QCOMPARE(CountColour(shot, frame(), pen), onBox);
    QCOMPARE(CountColour(shot, QRect(at.x - side / 4, at.y - side / 4, side / 2, side / 2), pen),
             0);
}

// ---- calibration and locating on the demo board

void BoardViewTest::locatesEveryPartOfTheFace_data() {
    QTest::addColumn<bool>("bottom");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("turned");
    QTest::addColumn<double>("bound");
    QTest::newRow("top") << false << "coldfire-top.jpg" << false << 2.0;
    QTest::newRow("bottom") << true << "coldfire-bottom.jpg" << false << 2.0;
    // Turned, the picture's long side runs along the frame's fixed height and is drawn at about
    // 3.4 picture pixels per window pixel: a press reaches only every third or fourth pixel, so
    // each calibration point may miss its part by up to 2 pixels before the truncation of the
    // locating offset adds up to 1 more. The bound is the worst error measured, 2.19 pixels.
    QTest::newRow("top turned right") << false << "coldfire-top.jpg" << true << 2.2;
}

void BoardViewTest::locatesEveryPartOfTheFace() {
    QFETCH(bool, bottom);
    QFETCH(QString, picture);
    QFETCH(bool, turned);
    QFETCH(double, bound);
    openFace(bottom, picture.toLatin1().constData());
    if (turned) {
        click("rotR");
        paint();
    }
    const std::vector<TruthPart> face = FaceOf(truth_, bottom);
    const auto [first, second] = FarthestPair(face);
    calibrateOn(first, second);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(dlg_->calibration().state, CalState::CalibratedOk);
    QCOMPARE(dlg_->findChild<QLineEdit*>(QStringLiteral("calibrationText"))->text(),
             QStringLiteral("Calibrated, ok"));

    double worst = 0.0;
    measureLocatingByClicks(face, worst);
    if (QTest::currentTestFailed())
        return;
    qInfo("scale %.3f, worst locating error %.3f pixels", double(dlg_->view().scale), worst);
    QVERIFY2(worst <= bound, qPrintable(QString::number(worst)));
}

void BoardViewTest::calibrationSurvivesTurningAndMirroring_data() {
    QTest::addColumn<QStringList>("commands");
    QTest::newRow("Rot R") << QStringList{"rotR"};
    QTest::newRow("Flip") << QStringList{"flip"};
    QTest::newRow("Rot R and Flip") << QStringList{"rotR", "flip"};
    QTest::newRow("Rot L twice") << QStringList{"rotL", "rotL"};
}

void BoardViewTest::calibrationSurvivesTurningAndMirroring() {
    QFETCH(QStringList, commands);
    openFace(false, "coldfire-top.jpg");
    const std::vector<TruthPart> face = FaceOf(truth_, false);
    const auto [first, second] = FarthestPair(face);
    calibrateOn(first, second);
    QCOMPARE(dlg_->calibration().state, CalState::CalibratedOk);
    const kavelto::Calibration calibrated = dlg_->calibration();
    std::vector<PixelPoint> upright;
    locateEveryRowByKeys(upright);

    for (const QString& command : commands)
        click(command.toLatin1().constData());
    paint();
    QCOMPARE(dlg_->calibration().state, CalState::CalibratedOk);
    QVERIFY(SamePoint(dlg_->calibration().point1, calibrated.point1));
    QVERIFY(SamePoint(dlg_->calibration().point2, calibrated.point2));
    std::vector<PixelPoint> turned;
    locateEveryRowByKeys(turned);
    QVERIFY(SameMarkers(turned, upright));
    QVERIFY(worstError(face, turned) <= 2.0);
    // The box follows the picture through the turn: it sits where the turned view shows the
    // part's stored pixel.
    clickRow(rowOf(MiddlePart(face)));
    expectBoxAroundMarker(kPartLocatedPen);
}

void BoardViewTest::refusedCal2KeepsTheCalibrationInForce_data() {
    QTest::addColumn<bool>("samePart");
    QTest::addColumn<bool>("firstColumn");
    QTest::addColumn<bool>("firstRow");
    QTest::addColumn<int>("rowShift");
    QTest::addColumn<QString>("message");
    QTest::newRow("same part as point 1")
        << true << false << false << 0 << "Components with same X !";
    QTest::newRow("aligned on x") << false << true << false << 0 << "Aligned positions on X !";
    QTest::newRow("aligned on y") << false << false << true << 0 << "Aligned positions on Y !";
    // Far apart on the board but a few pixels apart vertically on the picture: the vertical
    // scale is a hundred times the horizontal one, so neither pairing of the axes fits.
    QTest::newRow("scales disagree")
        << false << false << true << 5 << "Calibration impossible, check your selections";
}

// A second Cal 2 on a point made from the two presses of the calibration: at 0 degrees the
// same window column gives point 1's picture column, the same window row its picture row.
void BoardViewTest::refusedCal2KeepsTheCalibrationInForce() {
    QFETCH(bool, samePart);
    QFETCH(bool, firstColumn);
    QFETCH(bool, firstRow);
    QFETCH(int, rowShift);
    QFETCH(QString, message);
    openFace(false, "coldfire-top.jpg");
    const std::vector<TruthPart> face = FaceOf(truth_, false);
    const auto [first, second] = FarthestPair(face);
    calibrateOn(first, second);
    QCOMPARE(dlg_->calibration().state, CalState::CalibratedOk);
    const kavelto::Calibration calibrated = dlg_->calibration();
    std::vector<PixelPoint> before;
    locateEveryRowByKeys(before);

    clickRow(rowOf(samePart ? first : second));
    const QPoint press(firstColumn ? firstPress_.x() : secondPress_.x(),
                       (firstRow ? firstPress_.y() : secondPress_.y()) + rowShift);
    pressAt(press);
    click("cal2");
    QCOMPARE(platform_->messages.size(), std::size_t(1));
    QCOMPARE(platform_->messages.back().text, message);
    QCOMPARE(platform_->messages.back().caption, QStringLiteral("Error"));
    QCOMPARE(platform_->messages.back().icon, Platform::Icon::Stop);

    QCOMPARE(dlg_->calibration().state, CalState::CalibratedOk);
    QCOMPARE(dlg_->findChild<QLineEdit*>(QStringLiteral("calibrationText"))->text(),
             QStringLiteral("Calibrated, ok"));
    QVERIFY(SamePoint(dlg_->calibration().point1, calibrated.point1));
    QVERIFY(SamePoint(dlg_->calibration().point2, calibrated.point2));
    std::vector<PixelPoint> after;
    locateEveryRowByKeys(after);
    QVERIFY(SameMarkers(after, before));
}

// The mistakes a user makes on the way to a calibration, in the order the window meets them.
void BoardViewTest::calibrationRefusalsInOrder() {
    openFace(false, "coldfire-top.jpg");
    const QPoint middle = frame().topLeft() + QPoint(200, 200);
    const struct {
        const char* what;
        std::function<void()> act;
        const char* message; // nullptr: accepted
        CalState state;
    } steps[] = {
        {"Cal 1 before any press", [&] { click("cal1"); }, "Select a point on the bitmap first",
         CalState::None},
        {"Cal 1 with a point but no part",
         [&] {
             pressAt(middle);
             click("cal1");
         },
         "Select a part first", CalState::None},
        {"Cal 2 before Cal 1", [&] { click("cal2"); }, "Select cal1 first", CalState::None},
        {"Cal 1 with a part and a point",
         [&] {
             clickRow(0);
             pressAt(middle);
             click("cal1");
         },
         nullptr, CalState::WaitingPoint2},
        {"Cal 2 without choosing another part", [&] { click("cal2"); }, "Select a part first",
         CalState::WaitingPoint2},
    };
    const char* const texts[] = {"Not calibrated", "Waiting for point 2"};
    for (const auto& step : steps) {
        const std::size_t shown = platform_->messages.size();
        step.act();
        if (step.message) {
            QVERIFY2(platform_->messages.size() == shown + 1, step.what);
            const FakePlatform::Message& box = platform_->messages.back();
            QCOMPARE(box.text, QLatin1String(step.message));
            QCOMPARE(box.caption, QStringLiteral("Error"));
            QCOMPARE(box.icon, Platform::Icon::Stop);
            QCOMPARE(box.buttons, Platform::Buttons::Ok);
        } else {
            QVERIFY2(platform_->messages.size() == shown, step.what);
        }
        QCOMPARE(dlg_->calibration().state, step.state);
        QCOMPARE(dlg_->findChild<QLineEdit*>(QStringLiteral("calibrationText"))->text(),
                 QLatin1String(texts[static_cast<int>(step.state)]));
    }
}

// ---- picture commands and pointer

void BoardViewTest::rotationTextFollowsTheCommands() {
    const struct {
        std::function<void()> act;
        QString text;
    } steps[] = {
        {[] {}, QStringLiteral("0\u00B0 - Normal")},
        {[&] { click("rotL"); }, QStringLiteral("270\u00B0 - Normal")},
        {[&] { click("flip"); }, QStringLiteral("270\u00B0 - Flipped")},
        {[&] { click("rotR"); }, QStringLiteral("0\u00B0 - Flipped")},
        {[&] { QTest::keyClick(dlg_.get(), Qt::Key_Asterisk, Qt::KeypadModifier); },
         QStringLiteral("90\u00B0 - Flipped")},
        {[&] { QTest::keyClick(dlg_.get(), Qt::Key_Slash, Qt::KeypadModifier); },
         QStringLiteral("0\u00B0 - Flipped")},
        {[&] { click("flip"); }, QStringLiteral("0\u00B0 - Normal")},
    };
    const QLineEdit* text = dlg_->findChild<QLineEdit*>(QStringLiteral("rotationText"));
    for (const auto& step : steps) {
        step.act();
        QCOMPARE(text->text(), step.text);
    }
}

void BoardViewTest::zoomChangesTheBoxSize_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("size");
    QTest::newRow("Zoom In") << "zoomIn" << 0 << false << 76;
    QTest::newRow("Zoom Out") << "zoomOut" << 0 << false << 130;
    QTest::newRow("keypad plus") << "" << int(Qt::Key_Plus) << true << 76;
    QTest::newRow("keypad minus") << "" << int(Qt::Key_Minus) << true << 130;
    QTest::newRow("plus of the main keys") << "" << int(Qt::Key_Plus) << false << 100;
}

void BoardViewTest::zoomChangesTheBoxSize() {
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(int, size);
    QCOMPARE(dlg_->view().zoomBoxSize, 100);
    if (control.isEmpty())
        QTest::keyClick(dlg_.get(), Qt::Key(key), keypad ? Qt::KeypadModifier : Qt::NoModifier);
    else
        click(control.toLatin1().constData());
    QCOMPARE(dlg_->view().zoomBoxSize, size);
}

void BoardViewTest::loadBitmapStartsTheViewAfresh_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancelled") << true;
    QTest::newRow("chosen again") << false;
}

void BoardViewTest::loadBitmapStartsTheViewAfresh() {
    QFETCH(bool, cancel);
    openFace(false, "coldfire-top.jpg");
    const std::vector<TruthPart> face = FaceOf(truth_, false);
    const auto [first, second] = FarthestPair(face);
    calibrateOn(first, second);
    clickRow(5);
    QCOMPARE(dlg_->view().markerMode, MarkerMode::PartLocated);
    const int markerX = dlg_->view().markerX;
    const int markerY = dlg_->view().markerY;

    platform_->files.push_back(cancel ? std::nullopt : std::optional(Demo("coldfire-top.jpg")));
    click("loadBitmap");
    paint();
    const QStringList filters{QStringLiteral("BMP (*.bmp)"), QStringLiteral("JPEG (*.jpg *.jpeg)")};
    QCOMPARE(platform_->fileFilters.back(), filters);
    QCOMPARE(dlg_->findChild<QLineEdit*>(QStringLiteral("bitmapText"))->text(),
             cancel ? QStringLiteral("no bitmap loaded") : Demo("coldfire-top.jpg"));
    QCOMPARE(dlg_->view().bitmapLoaded, !cancel);
    QCOMPARE(dlg_->view().markerMode, MarkerMode::None);
    QCOMPARE(dlg_->view().markerX, markerX);
    QCOMPARE(dlg_->view().markerY, markerY);
    QCOMPARE(dlg_->calibration().state, CalState::None);
    QCOMPARE(dlg_->findChild<QLineEdit*>(QStringLiteral("calibrationText"))->text(),
             QStringLiteral("Not calibrated"));
    QVERIFY(!dlg_->selection().hasPart());
    QVERIFY(!list()->selectedRow().has_value());

    // Without a picture the frame shows the window's background; with one, no box.
    const QImage shot = Shot(*dlg_);
    const QRect inside = Interior(frame());
    const int background = CountColour(shot, inside, dlg_->palette().color(QPalette::Window));
    QCOMPARE(background == inside.width() * inside.height(), cancel);
    QCOMPARE(CountColour(shot, frame(), kPartLocatedPen), 0);

    // Out of calibration, choosing a part leaves the marker alone.
    clickRow(8);
    QCOMPARE(dlg_->view().markerMode, MarkerMode::None);
    QCOMPARE(dlg_->view().markerX, markerX);
}

void BoardViewTest::pressInTheMarginChangesNothing_data() {
    QTest::addColumn<bool>("below");
    QTest::newRow("beside the picture") << false;
    QTest::newRow("below the picture") << true;
}

void BoardViewTest::pressInTheMarginChangesNothing() {
    QFETCH(bool, below);
    if (below) {
        // A frame narrower than the picture's aspect leaves its margin under the picture.
        resizeWindow(QSize(frame().left() + frame().height() + 10, dlg_->height()));
    }
    openFace(false, "coldfire-top.jpg");
    const kavelto::FitResult fit = kavelto::FitPicture(1990, 1197, 0, frameRect());
    const QPoint margin =
        below ? QPoint(frame().left() + fit.drawnWidth / 2, frame().top() + fit.drawnHeight + 20)
              : QPoint(frame().left() + fit.drawnWidth + 20, frame().top() + fit.drawnHeight / 2);
    QVERIFY(frame().contains(margin));
    clickRow(3);
    const kavelto::PartSelection selected = dlg_->selection();

    pressAt(margin);
    QCOMPARE(dlg_->view().markerMode, MarkerMode::None);
    QCOMPARE(dlg_->view().markerX, 0);
    QCOMPARE(dlg_->view().markerY, 0);
    QVERIFY(!dlg_->view().dragging);
    QCOMPARE(list()->selectedRow(), std::optional<int>(3));
    QCOMPARE(dlg_->selection().selectedX, selected.selectedX);
    QCOMPARE(dlg_->selection().selectedY, selected.selectedY);
}

void BoardViewTest::pressOnThePictureKeepsTheSelection() {
    openFace(false, "coldfire-top.jpg");
    clickRow(3);
    const kavelto::PartSelection selected = dlg_->selection();
    QVERIFY(selected.hasPart());
    QCOMPARE(list()->selectedRow(), std::optional<int>(3));

    const QPoint at = frame().topLeft() + QPoint(150, 100);
    pressAt(at);
    const kavelto::PicturePoint expected =
        kavelto::WindowToPicture(dlg_->view(), frameRect(), at.x(), at.y());
    QCOMPARE(dlg_->view().markerMode, MarkerMode::UserPoint);
    QCOMPARE(dlg_->view().markerX, kavelto::TruncToInt(expected.x));
    QCOMPARE(dlg_->view().markerY, kavelto::TruncToInt(expected.y));
    QVERIFY(!list()->selectedRow().has_value());
    QCOMPARE(dlg_->selection().selectedRow, 3);
    QCOMPARE(dlg_->selection().selectedX, selected.selectedX);
    QCOMPARE(dlg_->selection().selectedY, selected.selectedY);

    // So the usual sequence works: row, press, Cal 1.
    click("cal1");
    QVERIFY(platform_->messages.empty());
    QCOMPARE(dlg_->calibration().state, CalState::WaitingPoint2);
    QCOMPARE(dlg_->calibration().point1.boardX, selected.selectedX);
}

// The pointer stays with the window while the button is down, so a release outside the window
// still ends the drag where it happened.
void BoardViewTest::dragFollowsThePointerOutOfTheWindow() {
    openFace(false, "coldfire-top.jpg");
    QWindow* window = dlg_->windowHandle();
    const QPoint start = frame().topLeft() + QPoint(100, 100);
    QTest::mousePress(window, Qt::LeftButton, {}, start);
    QVERIFY(dlg_->view().dragging);
    const int startX = dlg_->view().markerX;

    const kavelto::FitResult fit = kavelto::FitPicture(1990, 1197, 0, frameRect());
    const QPoint beside(frame().left() + fit.drawnWidth + 30, start.y());
    QTest::mouseMove(window, beside);
    QVERIFY(dlg_->view().dragging);
    QVERIFY2(dlg_->view().markerX > dlg_->view().pictureWidth,
             qPrintable(QString::number(dlg_->view().markerX)));
    QVERIFY(dlg_->view().markerX > startX);
    // The box stays on the picture, stuck to its right edge.
    const QImage shot = Shot(*dlg_);
    const QRect rightEdge(frame().left() + fit.drawnWidth - 8, frame().top(), 8, fit.drawnHeight);
    QVERIFY(CountColour(shot, rightEdge, kUserPointPen) > 0);
    QCOMPARE(CountColour(shot,
                         QRect(frame().left() + fit.drawnWidth, frame().top(), 20, fit.drawnHeight),
                         kUserPointPen),
             0);

    const QPoint outside(-30, -40);
    QTest::mouseRelease(window, Qt::LeftButton, {}, outside);
    QVERIFY(!dlg_->view().dragging);
    QCOMPARE(dlg_->view().markerMode, MarkerMode::UserPoint);
    QVERIFY(dlg_->view().markerX < 0);
    QVERIFY(dlg_->view().markerY < 0);
    const kavelto::PicturePoint expected =
        kavelto::WindowToPicture(dlg_->view(), frameRect(), outside.x(), outside.y());
    QCOMPARE(dlg_->view().markerX, kavelto::TruncToInt(expected.x));
    QCOMPARE(dlg_->view().markerY, kavelto::TruncToInt(expected.y));

    // The drag is over: moving no longer carries the marker.
    QTest::mouseMove(window, start);
    QCOMPARE(dlg_->view().markerX, kavelto::TruncToInt(expected.x));
}

// ---- painting

void BoardViewTest::markerIsBoxedAndMagnified_data() {
    QTest::addColumn<bool>("located");
    QTest::newRow("located part") << true;
    QTest::newRow("pressed point") << false;
}

void BoardViewTest::markerIsBoxedAndMagnified() {
    QFETCH(bool, located);
    openFace(false, "coldfire-top.jpg");
    const std::vector<TruthPart> face = FaceOf(truth_, false);
    if (located) {
        const auto [first, second] = FarthestPair(face);
        calibrateOn(first, second);
        clickRow(rowOf(MiddlePart(face)));
        QCOMPARE(dlg_->view().markerMode, MarkerMode::PartLocated);
    } else {
        pressAt(frame().topLeft() + QPoint(300, 250));
        QCOMPARE(dlg_->view().markerMode, MarkerMode::UserPoint);
    }
    expectBoxAroundMarker(located ? kPartLocatedPen : kUserPointPen);

    const QImage shot = Shot(*dlg_);
    const QRect pane =
        Interior(dlg_->findChild<QFrame*>(QStringLiteral("magnifierFrame"))->geometry());
    const int black = CountColour(shot, pane, Qt::black);
    QVERIFY2(black < pane.width() * pane.height() / 2, qPrintable(QString::number(black)));
}

void BoardViewTest::undecodablePicturePaintsBlack_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("paintedBefore");
    QTest::newRow("deleted after a paint") << "delete" << true;
    QTest::newRow("rewritten as text after a paint") << "text" << true;
    QTest::newRow("cut in its header after a paint") << "header" << true;
    QTest::newRow("cut in its picture data after a paint") << "half" << true;
    QTest::newRow("text from the start") << "text" << false;
    QTest::newRow("cut in its header from the start") << "header" << false;
}

void BoardViewTest::undecodablePicturePaintsBlack() {
    QFETCH(QString, damage);
    QFETCH(bool, paintedBefore);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("board.jpg"));
    QVERIFY(QFile::copy(Demo("coldfire-top.jpg"), path));
    const auto spoil = [&] {
        if (damage == "delete") {
            QVERIFY(QFile::remove(path));
            return;
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray whole = file.readAll();
        file.close();
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        if (damage == "text")
            file.write(QByteArray("this is no picture\n").repeated(100));
        else
            file.write(whole.left(damage == "half" ? whole.size() / 2 : 300));
    };

    loadParts();
    if (!paintedBefore)
        spoil();
    loadPicture(path);
    QCOMPARE(dlg_->view().bitmapLoaded, true);
    pressAt(frame().topLeft() + QPoint(300, 250));
    if (paintedBefore) {
        QCOMPARE(dlg_->view().markerMode, MarkerMode::UserPoint);
        spoil();
    }
    if (QTest::currentTestFailed())
        return;

    const QImage shot = Shot(*dlg_);
    QCOMPARE(dlg_->view().pictureWidth, 0);
    QCOMPARE(dlg_->view().pictureHeight, 0);
    const QRect inside = Interior(frame());
    QCOMPARE(CountColour(shot, inside, Qt::black), inside.width() * inside.height());
    QCOMPARE(CountColour(shot, shot.rect(), kUserPointPen), 0);
    QCOMPARE(CountColour(shot, shot.rect(), kPartLocatedPen), 0);
    const QRect pane =
        Interior(dlg_->findChild<QFrame*>(QStringLiteral("magnifierFrame"))->geometry());
    QCOMPARE(CountColour(shot, pane, shot.pixelColor(pane.topLeft())),
             pane.width() * pane.height());
    QVERIFY(platform_->messages.empty());

    // Pointer, locating and turning go on over the missing picture without failing.
    pressAt(frame().topLeft() + QPoint(40, 40));
    QTest::keyClick(dlg_.get(), Qt::Key_Down);
    click("rotR");
    click("zoomIn");
    paint();
    QVERIFY(platform_->messages.empty());
}

void BoardViewTest::pictureChangedOnDiskShowsAtNextPaint_data() {
    QTest::addColumn<QSize>("newSize");
    QTest::addColumn<bool>("later");
    QTest::newRow("another size") << QSize(300, 300) << false;
    QTest::newRow("same size, written later") << QSize(400, 300) << true;
}

void BoardViewTest::pictureChangedOnDiskShowsAtNextPaint() {
    QFETCH(QSize, newSize);
    QFETCH(bool, later);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("board.bmp"));
    WritePicture(path, QSize(400, 300), Qt::red);
    loadPicture(path);
    const QPoint probe = frame().topLeft() + QPoint(20, 20);
    QCOMPARE(Shot(*dlg_).pixelColor(probe), QColor(Qt::red));

    const QDateTime written = QFileInfo(path).lastModified();
    WritePicture(path, newSize, Qt::blue);
    if (later) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(written.addSecs(10), QFileDevice::FileModificationTime));
    }
    paint();
    QCOMPARE(dlg_->view().pictureWidth, newSize.width());
    QCOMPARE(dlg_->view().pictureHeight, newSize.height());
    QCOMPARE(Shot(*dlg_).pixelColor(probe), QColor(Qt::blue));
}

void BoardViewTest::frameWithoutWidthPaintsWithoutFailing() {
    openFace(false, "coldfire-top.jpg");
    const std::vector<TruthPart> face = FaceOf(truth_, false);
    const auto [first, second] = FarthestPair(face);
    calibrateOn(first, second);
    const int wide = dlg_->width();

    resizeWindow(QSize(frame().left() + 5, dlg_->height()));
    QVERIFY(frame().width() <= 0);
    paint();
    QTest::keyClick(dlg_.get(), Qt::Key_Down);
    QCOMPARE(dlg_->view().markerMode, MarkerMode::PartLocated);
    click("rotR");
    click("zoomOut");
    (void)Shot(*dlg_);
    QVERIFY(platform_->messages.empty());

    // Widened again, the picture comes back.
    resizeWindow(QSize(wide, dlg_->height()));
    const QImage shot = Shot(*dlg_);
    const QRect inside = Interior(frame());
    QVERIFY(CountColour(shot, inside, Qt::black) < inside.width() * inside.height());
    expectBoxAroundMarker(kPartLocatedPen);
}

void BoardViewTest::sizeChangeKeepsTheEdges_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("wider and taller") << QSize(1500, 1100);
    QTest::newRow("wide") << QSize(1900, 1000);
    QTest::newRow("narrow") << QSize(700, 900);
}

void BoardViewTest::sizeChangeKeepsTheEdges() {
    QFETCH(QSize, size);
    const QRect frameBefore = frame();
    const QRect magnifier = dlg_->findChild<QFrame*>(QStringLiteral("magnifierFrame"))->geometry();
    const QRect listBefore = list()->geometry();
    resizeWindow(size);
    QCOMPARE(frame().topLeft(), frameBefore.topLeft());
    QCOMPARE(frame().height(), frameBefore.height());
    QCOMPARE(frame().left() + frame().width(), size.width() - 10);
    QCOMPARE(list()->geometry().topLeft(), listBefore.topLeft());
    QCOMPARE(list()->geometry().left() + list()->geometry().width(), size.width() - 10);
    QCOMPARE(list()->geometry().top() + list()->geometry().height(), size.height() - 10);
    QCOMPARE(dlg_->findChild<QFrame*>(QStringLiteral("magnifierFrame"))->geometry(), magnifier);
}

QTEST_MAIN(BoardViewTest)
#include "BoardViewTest.moc"
