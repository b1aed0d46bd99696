#include "FakePlatform.h"
#include "TruthBoard.h"

#include <QLineEdit>

using namespace kavelto;

// A whole assembly of the demo board's top face, the user's way: the placement file and the
// picture loaded, a calibration on two parts at their true pixels, then Enter on every part,
// each located on its true pixel.
class AssemblyEndToEndTest : public QObject {
    Q_OBJECT
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;

    PartListView* list() const { return dlg_->findChild<PartListView*>("partList"); }
    QString cell(int row, int column) const {
        return list()->model()->index(row, column).data().toString();
    }

private slots:
    void placesEveryTopPartOfTheDemoBoard() {
        dlg_ = ShowDemoBoard(platform_, QStringLiteral(DEMO_DIR "/coldfire-top.jpg"));
        QVERIFY(dlg_);
        const std::vector<TruthPart> face =
            ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"), false);
        const int rows = dlg_->session().faceList().faceCount;
        QCOMPARE(rows, int(face.size()));
        CalibrateOn(*dlg_, face);
        QCOMPARE(dlg_->findChild<QLineEdit*>("calibrationText")->text(), "Calibrated, ok");

        // From the first row, Enter places each row and steps to the one below.
        ClickRow(*dlg_, 0);
        for (int row = 0; row < rows; ++row) {
            QCOMPARE(dlg_->session().selection().selectedRow, row);
            const auto part = std::find_if(face.begin(), face.end(), [&](const TruthPart& p) {
                return RowOf(*dlg_, p) == row;
            });
            QVERIFY(part != face.end());
            // A press reaches about every second pixel, and locating truncates: 1.5 measured.
            const QPointF marker(dlg_->session().view().markerX, dlg_->session().view().markerY);
            QCOMPARE(dlg_->session().view().markerMode, MarkerMode::PartLocated);
            QVERIFY2(QLineF(marker, part->pixel).length() <= 2.0, qPrintable(cell(row, 2)));
            QTest::keyClick(list(), Qt::Key_Return);
            QCOMPARE(cell(row, 0), "DONE");
        }
        QCOMPARE(dlg_->session().selection().selectedRow, rows - 1);
        // The boxes that announce each new kind of part, whose rule the session's tests check.
        QVERIFY(!platform_.messages.empty());
        for (const FakePlatform::Message& box : platform_.messages)
            QVERIFY2(box.text.startsWith("New part !\n\nItem# "), qPrintable(box.text));
    }
};

QTEST_MAIN(AssemblyEndToEndTest)
#include "AssemblyEndToEndTest.moc"
