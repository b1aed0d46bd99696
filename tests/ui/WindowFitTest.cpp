#include "CPlacementDlg.h"
#include "FakePlatform.h"

#include <QtTest>
#include <QtWidgets>

using namespace kavelto;

// The main window on the screen the test runs on (ctest gives it 1920 x 1080, 1366 x 768,
// 1280 x 720 and 1024 x 600): the window lies on the screen's free area, every control inside it.
class WindowFitTest : public QObject {
    Q_OBJECT

private slots:
    void everyControlOnTheScreen() {
        FakePlatform platform;
        CPlacementDlg dlg(platform);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QRect free = dlg.screen()->availableGeometry();
        QCOMPARE(free.united(dlg.frameGeometry()), free);
        QVERIFY(dlg.rect().contains(dlg.childrenRect()));
        // Dialog units come from 8 points where the screen has room for them, from a smaller
        // size where it has not; the window's texts are never larger.
        const double points = dlg.font().pointSizeF();
        QVERIFY2(free.width() >= 1366 && free.height() >= 768 ? points == 8.0 : points < 8.0,
                 qPrintable(QString::number(points)));
    }
};

QTEST_MAIN(WindowFitTest)
#include "WindowFitTest.moc"
