#include "CPlacementApp.h"
#include "FakePlatform.h"

#include <QtTest>

using namespace kavelto;

// Start-up runs in the working directory, where Kavelto.ini is looked up: without a good one,
// its error box is all the user gets, and the program ends with 1.
class AppStartTest : public QObject {
    Q_OBJECT
    QTemporaryDir workDir_;

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(workDir_.path())); }

    // Without the file first, then with the demo's.
    void showsTheMainWindowOrTheError_data() {
        QTest::addColumn<bool>("configured");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("shown"); // the box, or the main window's title
        QTest::newRow("missing") << false << 1 << "Error: Can't find Kavelto.ini file";
        QTest::newRow("demo") << true << 0
                              << "Kavelto, offered by QUANDEL (www.quandel.example) - version 1.2";
    }
    void showsTheMainWindowOrTheError() {
        QFETCH(bool, configured);
        QFETCH(int, status);
        QFETCH(QString, shown);
        QVERIFY(!configured || QFile::copy(QStringLiteral(DEMO_DIR "/Kavelto.ini"), "Kavelto.ini"));
        FakePlatform platform;
        QCOMPARE(CPlacementApp(platform).run(), status);
        QStringList windows = platform.modalTitles;
        for (const FakePlatform::Message& box : platform.messages)
            windows << box.caption + ": " + box.text;
        QCOMPARE(windows, QStringList{shown});
    }
};

QTEST_MAIN(AppStartTest)
#include "AppStartTest.moc"
