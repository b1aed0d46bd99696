#include "FakePlatform.h"
#include "TruthBoard.h"

#include <QLineEdit>

#include <memory>

using namespace kavelto;

// A whole assembly of the demo board's top face, the user's way: the placement file and the
// picture loaded, a calibration on two parts at their true pixels, then Enter on every part.
class AssemblyEndToEndTest : public QObject {
    Q_OBJECT
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;

    PartListView* list() const { return dlg_->findChild<PartListView*>("partList"); }
    QString cell(int row, int column) const {
        return list()->model()->index(row, column).data().toString();
    }
    void click(const char* name) {
        QTest::mouseClick(dlg_->findChild<QWidget*>(name), Qt::LeftButton);
    }

    // Where Enter steps: the next row below without "DONE", or -1.
    int nextUnplacedBelow(int row) const {
        for (int below = row + 1; below < list()->model()->rowCount(); ++below) {
            if (cell(below, 0).isEmpty())
                return below;
        }
        return -1;
    }

    // Columns 3 and 4 are the value and the package: when either changes, the box names the item.
    QString expectedBox(int from, int to) const {
        if (to < 0 || (cell(from, 3) == cell(to, 3) && cell(from, 4) == cell(to, 4)))
            return QString();
        return QStringLiteral("New part !\n\nItem# %1\n%2, %3")
            .arg(cell(to, 1), cell(to, 3), cell(to, 4));
    }

private slots:
    void placesEveryTopPartOfTheDemoBoard() {
        dlg_ = std::make_unique<CPlacementDlg>(platform_);
        QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
        // Wide enough that the picture fills the frame's height, the largest it is ever drawn.
        dlg_->resize(1400, dlg_->height());
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg_.get()));
        platform_.files = {QStringLiteral(DEMO_DIR "/coldfire.csv"),
                           QStringLiteral(DEMO_DIR "/coldfire-top.jpg")};
        click("loadPkp");
        click("loadBitmap");
        dlg_->repaint(); // a press converts with the scale of the last paint

        const std::vector<TruthPart> face =
            ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"), false);
        const int rows = dlg_->session().faceList().faceCount;
        QCOMPARE(rows, int(face.size()));
        std::vector<QPointF> truePixel(face.size());
        for (const TruthPart& part : face) {
            const int row = RowOf(*dlg_, part);
            QVERIFY(row >= 0);
            truePixel[std::size_t(row)] = part.pixel;
        }
        CalibrateOn(*dlg_, face);
        QCOMPARE(dlg_->findChild<QLineEdit*>("calibrationText")->text(),
                 QStringLiteral("Calibrated, ok"));

        ClickRow(*dlg_, 0);
        for (int placed = 0; placed < rows; ++placed) {
            const int row = dlg_->session().selection().selectedRow;
            // A press reaches about every second pixel, and locating truncates: 1.5 measured.
            const QPointF marker(dlg_->session().view().markerX, dlg_->session().view().markerY);
            QCOMPARE(dlg_->session().view().markerMode, MarkerMode::PartLocated);
            QVERIFY2(QLineF(marker, truePixel[std::size_t(row)]).length() <= 2.0,
                     qPrintable(cell(row, 2)));
            const int next = nextUnplacedBelow(row);
            const QString box = expectedBox(row, next);
            const std::size_t boxesBefore = platform_.messages.size();
            QTest::keyClick(list(), Qt::Key_Return);
            QCOMPARE(cell(row, 0), QStringLiteral("DONE"));
            QCOMPARE(dlg_->session().selection().selectedRow, next < 0 ? row : next);
            QCOMPARE(platform_.messages.size(), boxesBefore + (box.isEmpty() ? 0 : 1));
            if (!box.isEmpty())
                QCOMPARE(platform_.messages.back().text, box);
        }
        for (int row = 0; row < rows; ++row)
            QCOMPARE(cell(row, 0), QStringLiteral("DONE"));
        QVERIFY(!platform_.messages.empty());
    }
};

QTEST_MAIN(AssemblyEndToEndTest)
#include "AssemblyEndToEndTest.moc"
