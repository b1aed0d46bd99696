#include "CPlacementApp.h"
#include "FakePlatform.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace kavelto;

// Start-up runs in the working directory, where Kavelto.ini is looked up: without a good one,
// its error box is all the user gets, and the program ends with 1.
class AppStartTest : public QObject {
    Q_OBJECT
    QTemporaryDir workDir_;

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(workDir_.path())); }

    void showsTheMainWindowOrTheError_data() {
        QTest::addColumn<QByteArray>("ini"); // null: no file
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("shown"); // the box, or the main window's title
        QTest::newRow("missing") << QByteArray() << 1 << "Error: Can't find Kavelto.ini file";
        QTest::newRow("bad code") << QByteArray("0\n,\n1,2,3,4,8\n") << 1
                                  << "Error: Bad value in line 3 of Kavelto.ini file";
        QTest::newRow("good") << QByteArray("1\n,\n1,5,6,3,4,7,2\n") << 0
                              << "Kavelto, offered by QUANDEL (www.quandel.example) - version 1.2";
    }
    void showsTheMainWindowOrTheError() {
        QFETCH(QByteArray, ini);
        QFETCH(int, status);
        QFETCH(QString, shown);
        QFile file(QStringLiteral("Kavelto.ini"));
        QVERIFY(ini.isNull() ? !file.exists() || file.remove()
                             : file.open(QIODevice::WriteOnly) && file.write(ini) == ini.size());
        file.close();
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
