#include "CPlacementApp.h"
#include "FakePlatform.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace kavelto;

// Start-up runs in the working directory, where Kavelto.ini is looked up.
class AppStartTest : public QObject {
    Q_OBJECT
    QTemporaryDir workDir_;

    static bool writeIni(const QByteArray& content) {
        QFile file(QStringLiteral("Kavelto.ini"));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(workDir_.path())); }
    void init() { QFile::remove(QStringLiteral("Kavelto.ini")); }

    void badConfigurationShowsTheErrorAndExitsWithOne_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << "Can't find Kavelto.ini file";
        QTest::newRow("bad code") << QByteArray("0\n,\n1,2,3,4,8\n")
                                  << "Bad value in line 3 of Kavelto.ini file";
    }
    void badConfigurationShowsTheErrorAndExitsWithOne() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, message);
        QVERIFY(ini.isNull() || writeIni(ini));
        FakePlatform platform;
        QCOMPARE(CPlacementApp(platform).run(), 1);
        QCOMPARE(platform.messages.size(), std::size_t{1});
        QCOMPARE(platform.messages[0].text, message);
        QCOMPARE(platform.messages[0].caption, QStringLiteral("Error"));
        QCOMPARE(platform.messages[0].icon, Platform::Icon::Stop);
        QCOMPARE(platform.messages[0].buttons, Platform::Buttons::Ok);
        QVERIFY(platform.modalTitles.isEmpty());
    }

    void goodConfigurationRunsTheMainWindow() {
        QVERIFY(writeIni("1\n,\n1,5,6,3,4,7,2\n"));
        FakePlatform platform;
        QString startText;
        platform.onModal = [&](QDialog& window) {
            if (const auto* pkp = window.findChild<QLineEdit*>("pkpText"))
                startText = pkp->text();
        };
        QCOMPARE(CPlacementApp(platform).run(), 0);
        QVERIFY(platform.messages.empty());
        QCOMPARE(platform.modalTitles,
                 QStringList{"Kavelto, offered by QUANDEL (www.quandel.example) - version 1.2"});
        QCOMPARE(startText, "no pkp loaded");
    }
};

QTEST_MAIN(AppStartTest)
#include "AppStartTest.moc"
