#include "CPlacementDlg.h"
#include "FakePlatform.h"
#include "MainWindowTemplate.h"

#include <QScreen>
#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace kavelto;

// The main window on the screen the test runs on (ctest gives it 1920 x 1080, 1366 x 768,
// 1280 x 720 and 1024 x 600): every control lies on the screen's free area.
class WindowFitTest : public QObject {
    Q_OBJECT

private slots:
    void everyControlOnTheScreen() {
        FakePlatform platform;
        CPlacementDlg dlg(platform);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QRect free = dlg.screen()->availableGeometry();
        QVERIFY2(free.contains(dlg.frameGeometry()),
                 qPrintable(QStringLiteral("window %1 x %2 at %3, %4 on a free area of %5 x %6")
                                .arg(dlg.frameGeometry().width())
                                .arg(dlg.frameGeometry().height())
                                .arg(dlg.frameGeometry().x())
                                .arg(dlg.frameGeometry().y())
                                .arg(free.width())
                                .arg(free.height())));
        for (const ControlTemplate& control : kMainWindowControls) {
            const auto* widget = dlg.findChild<QWidget*>(QLatin1String(control.objectName));
            QVERIFY(widget);
            const QRect onScreen(widget->mapToGlobal(QPoint(0, 0)), widget->size());
            QVERIFY2(dlg.rect().contains(widget->geometry()) && free.contains(onScreen),
                     control.objectName);
        }
        // Dialog units come from 8 points where the screen has room for them, from a smaller
        // size where it has not; the window's texts are never larger.
        const double points = dlg.font().pointSizeF();
        if (free.width() >= 1366 && free.height() >= 768)
            QCOMPARE(points, 8.0);
        else
            QVERIFY2(points < 8.0, qPrintable(QString::number(points)));
    }
};

QTEST_MAIN(WindowFitTest)
#include "WindowFitTest.moc"
