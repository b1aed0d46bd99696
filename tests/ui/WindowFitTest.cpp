#include "CPlacementDlg.h"
#include "DialogUnits.h"
#include "FakePlatform.h"
#include "MainWindowTemplate.h"

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

    // The window's texts keep the desktop's font where it is no larger than the one the layout
    // takes on this screen, and take the layout's where it is larger; the layout's font does
    // not depend on the desktop font's size.
    void textsKeepADesktopFontNoLargerThanTheLayouts_data() {
        QTest::addColumn<double>("points"); // more than the layout's
        QTest::addColumn<bool>("kept");
        QTest::newRow("two points smaller") << -2.0 << true;
        QTest::newRow("the same size") << 0.0 << true;
        QTest::newRow("four points larger") << 4.0 << false;
    }
    void textsKeepADesktopFontNoLargerThanTheLayouts() {
        QFETCH(double, points);
        QFETCH(bool, kept);
        const QScreen& screen = *QGuiApplication::primaryScreen();
        const double layout =
            FitTemplateFonts(QApplication::font(), kMainWindowWidth, kMainWindowHeight, screen)
                .layout.pointSizeF();
        QFont desktop = QApplication::font();
        desktop.setPointSizeF(layout + points);
        const TemplateFonts fonts =
            FitTemplateFonts(desktop, kMainWindowWidth, kMainWindowHeight, screen);
        QCOMPARE(fonts.layout.pointSizeF(), layout);
        QCOMPARE(fonts.text.pointSizeF(), kept ? layout + points : layout);
    }
};

QTEST_MAIN(WindowFitTest)
#include "WindowFitTest.moc"
