#include "FakePlatform.h"
#include "TruthBoard.h"

#include <QAction>
#include <QLineEdit>

#include <algorithm>
#include <memory>

using namespace kavelto;

// The demo board's top face in a hand-held photo: turned by 1.5 degrees and seen at a slight
// tilt. Pressed the user's way on the parts nearest the picture's four corners, in every turn
// and mirror of the view: Cal 1 and Cal 2 give the pair's own result, two added points (one from
// the menu, one with Insert) a map that locates every part within 3 picture pixels.
class PhotoCalibrationTest : public QObject {
    Q_OBJECT
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    std::vector<TruthPart> face_;

    const TruthPart& nearestTo(const QPointF& corner) const {
        return *std::min_element(face_.begin(), face_.end(), [&](auto& a, auto& b) {
            return QLineF(a.pixel, corner).length() < QLineF(b.pixel, corner).length();
        });
    }
    void click(const char* name) {
        QTest::mouseClick(dlg_->findChild<QWidget*>(name), Qt::LeftButton);
    }
    void pressOn(const TruthPart& part) {
        ClickRow(*dlg_, RowOf(*dlg_, part));
        PressOnPicture(*dlg_, WindowPointNearest(*dlg_, part.pixel));
    }
    QString field() const { return dlg_->findChild<QLineEdit*>("calibrationText")->text(); }
    QString lastMessage() const {
        return platform_.messages.empty() ? QString() : platform_.messages.back().text;
    }

    // How far each part is located from its true pixel: the worst and the median.
    std::pair<double, double> misses() const {
        std::vector<double> miss;
        for (const TruthPart& part : face_) {
            const auto at =
                LocatePart(dlg_->session().calibration(), float(part.boardX), float(part.boardY));
            miss.push_back(at ? QLineF(QPointF(at->x, at->y), part.pixel).length() : 1e9);
        }
        std::sort(miss.begin(), miss.end());
        return {miss.back(), miss[miss.size() / 2]};
    }

private slots:
    void initTestCase() {
        dlg_ = std::make_unique<CPlacementDlg>(platform_);
        QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
        dlg_->resize(1400, dlg_->height());
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg_.get()));
        platform_.files = {QStringLiteral(DEMO_DIR "/coldfire.csv"),
                           QStringLiteral(DEMO_DIR "/coldfire-top-phone.jpg")};
        click("loadPkp");
        click("loadBitmap");
        // Both in the right-click menu, which holds the window's actions.
        for (const char* name : {"addCalPoint", "removeLastCalPoint"})
            QVERIFY(dlg_->actions().contains(dlg_->findChild<QAction*>(name)));
        face_ = ReadTruth(QStringLiteral(DEMO_DIR "/coldfire-phone.truth.json"), false);
        QCOMPARE(int(face_.size()), dlg_->session().faceList().faceCount);
    }

    void fourCornersLocateEveryPart_data() {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<bool>("mirrored");
        QTest::addColumn<bool>("pairAccepted");
        for (const int rotation : {0, 90, 180, 270})
            for (const bool mirrored : {false, true})
                for (const bool accepted : {false, true})
                    QTest::addRow("%d%s, pair %s", rotation, mirrored ? " mirrored" : "",
                                  accepted ? "accepted" : "refused")
                        << rotation << mirrored << accepted;
    }

    void fourCornersLocateEveryPart() {
        QFETCH(int, rotation);
        QFETCH(bool, mirrored);
        QFETCH(bool, pairAccepted);
        while (dlg_->session().view().viewRotation != rotation)
            click("rotR");
        if (dlg_->session().view().mirrored != mirrored)
            click("flip");
        dlg_->repaint(); // a press converts with the scale of the last paint

        // The parts at the top-left and bottom-right corners fail the scale test (their axes'
        // scales differ by 6 %); those at the right-hand corners pass it.
        const QSizeF size(dlg_->session().view().pictureWidth,
                          dlg_->session().view().pictureHeight);
        const TruthPart* topLeft = &nearestTo({0, 0});
        const TruthPart* topRight = &nearestTo({size.width(), 0});
        const TruthPart* bottomLeft = &nearestTo({0, size.height()});
        const TruthPart* bottomRight = &nearestTo({size.width(), size.height()});
        const TruthPart* calPair[] = {pairAccepted ? topRight : topLeft, bottomRight};
        const TruthPart* added[] = {pairAccepted ? topLeft : topRight, bottomLeft};

        pressOn(*calPair[0]);
        click("cal1");
        pressOn(*calPair[1]);
        const std::size_t boxes = platform_.messages.size();
        click("cal2");
        QCOMPARE(platform_.messages.size(), boxes + (pairAccepted ? 0 : 1));
        QCOMPARE(field(), pairAccepted ? "Calibrated, ok" : "Waiting for point 2");
        if (!pairAccepted)
            QCOMPARE(lastMessage(), "Calibration impossible, check your selections");
        const auto [pairWorst, pairMedian] = misses();

        pressOn(*added[0]);
        dlg_->findChild<QAction*>("addCalPoint")->trigger();
        QVERIFY(lastMessage().startsWith("Calibrated on 3 points."));
        QCOMPARE(field(), "Calibrated, ok (3 points)");
        pressOn(*added[1]);
        QTest::keyClick(dlg_.get(), Qt::Key_Insert);
        QCOMPARE(platform_.messages.back().caption, "Calibration");
        QVERIFY(lastMessage().startsWith("Calibrated on 4 points."));
        QCOMPARE(field(), "Calibrated, ok (4 points)");

        const auto [worst, median] = misses();
        const QString pairFigures = QStringLiteral("worst %1, median %2")
                                        .arg(pairWorst, 0, 'f', 1)
                                        .arg(pairMedian, 0, 'f', 1);
        qInfo("four points: worst %.1f, median %.1f picture pixels; the pair alone: %s", worst,
              median, pairAccepted ? qPrintable(pairFigures) : "refused");
        // 1.7 measured unturned; a turned picture is drawn smaller, so a press lands coarser:
        // 3.4 in the window laid out in 8-point units.
        QVERIFY2(worst <= (rotation % 180 == 0 ? 3.0 : 3.5), qPrintable(QString::number(worst)));

        dlg_->findChild<QAction*>("removeLastCalPoint")->trigger();
        QCOMPARE(field(), "Calibrated, ok (3 points)");
    }
};

QTEST_MAIN(PhotoCalibrationTest)
#include "PhotoCalibrationTest.moc"
