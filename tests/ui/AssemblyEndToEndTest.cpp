#include "CPlacementDlg.h"
#include "FakePlatform.h"
#include "PartListView.h"

#include <QFile>
#include <QFrame>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace {

// Where a part of the demo board really lies: its board position and its pixel on the photo.
struct TruePart {
    QString ref;
    double boardX;
    double boardY;
    QPointF pixel;
};

struct Truth {
    QSize imageSize;
    std::vector<TruePart> topParts;
};

Truth ReadTruth(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonArray size = root.value("image_size").toArray();
    Truth truth{QSize(size.at(0).toInt(), size.at(1).toInt()), {}};
    for (const QJsonValue& value : root.value("parts").toArray()) {
        const QJsonObject part = value.toObject();
        if (part.value("side").toString() != QStringLiteral("top"))
            continue;
        const QJsonArray pixel = part.value("pixel").toArray();
        truth.topParts.push_back({part.value("ref").toString(), part.value("pos_x").toDouble(),
                                  part.value("pos_y").toDouble(),
                                  QPointF(pixel.at(0).toDouble(), pixel.at(1).toDouble())});
    }
    return truth;
}

// The record holds the file's position as a 32-bit float; that is how close it can match.
const TruePart* FindByPosition(const std::vector<TruePart>& parts, float x, float y) {
    for (const TruePart& part : parts) {
        if (std::fabs(part.boardX - x) < 1e-3 && std::fabs(part.boardY - y) < 1e-3)
            return &part;
    }
    return nullptr;
}

double Distance(const QPointF& a, const QPointF& b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// A press can only hit every second picture pixel or so, which puts each calibration point up
// to about a pixel off its part; each located position is then truncated to whole pixels, which
// costs up to one more. With the calibration parts' best window points the worst part of the
// demo board comes out 1.5 pixels off.
constexpr double kMarkerTolerance = 2.0;

} // namespace

class AssemblyEndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void placesEveryTopPartOfTheDemoBoard();

private:
    PartListView* list() const;
    QString cell(int row, int column) const;
    void clickRow(int row);
    void click(const char* name);
    QPoint bestWindowPoint(const QPointF& pixel) const;
    void calibrateOn(int row, const char* button);
    void checkMarkerOn(int row);
    std::optional<int> nextUnplacedBelow(int row) const;
    QString expectedBox(int from, int to) const;

    Truth truth_;
    std::vector<const TruePart*> rowTruth_;
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    double worstError_ = 0.0;
};

void AssemblyEndToEndTest::initTestCase() {
    truth_ = ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"));
    QVERIFY(!truth_.topParts.empty());
    dlg_ = std::make_unique<CPlacementDlg>(platform_);
    QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
    // Wide enough that the picture fills the frame's height, the largest it is ever drawn.
    dlg_->resize(1400, dlg_->height());
    dlg_->show();
    QVERIFY(QTest::qWaitForWindowActive(dlg_.get()));
}

void AssemblyEndToEndTest::cleanupTestCase() {
    dlg_.reset();
}

PartListView* AssemblyEndToEndTest::list() const {
    return dlg_->findChild<PartListView*>(QStringLiteral("partList"));
}

QString AssemblyEndToEndTest::cell(int row, int column) const {
    return list()->model()->index(row, column).data().toString();
}

void AssemblyEndToEndTest::clickRow(int row) {
    PartListView* view = list();
    const QModelIndex index = view->model()->index(row, 0);
    QVERIFY(index.isValid());
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

void AssemblyEndToEndTest::click(const char* name) {
    QWidget* control = dlg_->findChild<QWidget*>(QLatin1String(name));
    QVERIFY2(control, name);
    QTest::mouseClick(control, Qt::LeftButton);
}

// The picture is drawn unturned from the frame's top-left corner, one window pixel covering
// `scale` picture pixels, and a press takes the picture point truncated to whole pixels. Of the
// window points around the part, the one whose picture point lies nearest its true pixel is
// where a careful user would press.
QPoint AssemblyEndToEndTest::bestWindowPoint(const QPointF& pixel) const {
    const QRect frame = dlg_->findChild<QFrame*>(QStringLiteral("pictureFrame"))->geometry();
    const double scale = dlg_->view().scale;
    const QPoint guess(frame.left() + int(pixel.x() / scale), frame.top() + int(pixel.y() / scale));
    QPoint best = guess;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int dy = -3; dy <= 3; ++dy) {
        for (int dx = -3; dx <= 3; ++dx) {
            const QPoint at = guess + QPoint(dx, dy);
            const QPointF pressed(std::trunc((at.x() - frame.left()) * scale),
                                  std::trunc((at.y() - frame.top()) * scale));
            const double distance = Distance(pressed, pixel);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = at;
            }
        }
    }
    return best;
}

void AssemblyEndToEndTest::calibrateOn(int row, const char* button) {
    clickRow(row);
    const QPoint at = bestWindowPoint(rowTruth_[static_cast<std::size_t>(row)]->pixel);
    QTest::mousePress(dlg_.get(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(dlg_.get(), Qt::LeftButton, {}, at);
    QCOMPARE(dlg_->view().markerMode, kavelto::MarkerMode::UserPoint);
    const QPointF marker(dlg_->view().markerX, dlg_->view().markerY);
    qInfo("%s on %s: pressed picture point (%g, %g), true pixel (%.2f, %.2f)", button,
          qPrintable(rowTruth_[static_cast<std::size_t>(row)]->ref), marker.x(), marker.y(),
          rowTruth_[static_cast<std::size_t>(row)]->pixel.x(),
          rowTruth_[static_cast<std::size_t>(row)]->pixel.y());
    click(button);
}

void AssemblyEndToEndTest::checkMarkerOn(int row) {
    QCOMPARE(dlg_->view().markerMode, kavelto::MarkerMode::PartLocated);
    const TruePart& part = *rowTruth_[static_cast<std::size_t>(row)];
    const double error = Distance(QPointF(dlg_->view().markerX, dlg_->view().markerY), part.pixel);
    worstError_ = std::max(worstError_, error);
    QVERIFY2(error <= kMarkerTolerance,
             qPrintable(QStringLiteral("%1 missed by %2 px").arg(part.ref).arg(error)));
}

std::optional<int> AssemblyEndToEndTest::nextUnplacedBelow(int row) const {
    for (int r = row + 1; r < list()->model()->rowCount(); ++r) {
        if (cell(r, 0).isEmpty())
            return r;
    }
    return std::nullopt;
}

// Value is column 3 and package column 4 of the list; the box names the item of the new row.
QString AssemblyEndToEndTest::expectedBox(int from, int to) const {
    if (cell(from, 3) == cell(to, 3) && cell(from, 4) == cell(to, 4))
        return QString();
    return QStringLiteral("New part !\n\nItem# %1\n%2, %3")
        .arg(cell(to, 1), cell(to, 3), cell(to, 4));
}

void AssemblyEndToEndTest::placesEveryTopPartOfTheDemoBoard() {
    platform_.files.push_back(QStringLiteral(DEMO_DIR "/coldfire.csv"));
    click("loadPkp");
    platform_.files.push_back(QStringLiteral(DEMO_DIR "/coldfire-top.jpg"));
    click("loadBitmap");
    dlg_->repaint();
    QCoreApplication::processEvents();
    QCOMPARE(QSize(dlg_->view().pictureWidth, dlg_->view().pictureHeight), truth_.imageSize);
    QVERIFY(dlg_->view().scale > 0.0f);

    const int rows = dlg_->faceList().faceCount;
    QCOMPARE(rows, int(truth_.topParts.size()));
    QCOMPARE(list()->model()->rowCount(), rows);
    for (int row = 0; row < rows; ++row) {
        const kavelto::PartRecord& part = dlg_->partTable().parts[static_cast<std::size_t>(
            dlg_->faceList().indexes[static_cast<std::size_t>(row)])];
        const TruePart* truePart = FindByPosition(truth_.topParts, part.x, part.y);
        QVERIFY2(truePart, qPrintable(cell(row, 2)));
        rowTruth_.push_back(truePart);
    }

    // The two parts nearest the picture's top-left and bottom-right corners.
    const auto corner = [this](int sign) {
        int best = 0;
        for (std::size_t row = 1; row < rowTruth_.size(); ++row) {
            const QPointF p = rowTruth_[row]->pixel;
            const QPointF b = rowTruth_[static_cast<std::size_t>(best)]->pixel;
            if (sign * (p.x() + p.y()) > sign * (b.x() + b.y()))
                best = int(row);
        }
        return best;
    };
    qInfo("picture drawn at %.3f picture px per window px", double(dlg_->view().scale));
    calibrateOn(corner(-1), "cal1");
    calibrateOn(corner(1), "cal2");
    QVERIFY(platform_.messages.empty());
    QCOMPARE(dlg_->findChild<QLineEdit*>(QStringLiteral("calibrationText"))->text(),
             QStringLiteral("Calibrated, ok"));

    clickRow(0);
    checkMarkerOn(0);
    for (int placed = 0; placed < rows; ++placed) {
        const int row = dlg_->selection().selectedRow;
        const std::optional<int> next = nextUnplacedBelow(row);
        const QString box = next ? expectedBox(row, *next) : QString();
        const std::size_t boxesBefore = platform_.messages.size();

        QTest::keyClick(list(), Qt::Key_Return);

        QCOMPARE(cell(row, 0), QStringLiteral("DONE"));
        QCOMPARE(dlg_->selection().selectedRow, next.value_or(row));
        QCOMPARE(platform_.messages.size(), boxesBefore + (box.isEmpty() ? 0 : 1));
        if (!box.isEmpty()) {
            QCOMPARE(platform_.messages.back().text, box);
            QCOMPARE(platform_.messages.back().caption, QStringLiteral("Placement"));
        }
        if (next)
            checkMarkerOn(*next);
    }
    for (int row = 0; row < rows; ++row)
        QCOMPARE(cell(row, 0), QStringLiteral("DONE"));
    QVERIFY(!platform_.messages.empty());
    qInfo("worst marker error over %d parts: %.3f px", rows, worstError_);
}

QTEST_MAIN(AssemblyEndToEndTest)
#include "AssemblyEndToEndTest.moc"
