#include "CPlacementApp.h"
#include "CPlacementDlg.h"
#include "FakePlatform.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace kavelto;

// Start-up runs in the working directory, where Kavelto.ini is looked up.
class AppStartTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(workDir_.isValid());
        previous_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(workDir_.path()));
    }
    void cleanup() {
        QDir::setCurrent(previous_);
        QFile::remove(workDir_.filePath("Kavelto.ini"));
    }

    void badConfigurationShowsTheErrorAndExitsWithOne_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << "Can't find Kavelto.ini file";
        QTest::newRow("two lines")
            << QByteArray("0\n,\n") << "Empty lines in 3 first lines of Kavelto.ini file";
        QTest::newRow("bad code") << QByteArray("0\n,\n1,2,3,4,8\n")
                                  << "Bad value in line 3 of Kavelto.ini file";
    }
    void badConfigurationShowsTheErrorAndExitsWithOne() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, message);
        if (!ini.isNull())
            writeIni(ini);
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
        writeIni("1\n,\n1,5,6,3,4,7,2\n");
        FakePlatform platform;
        bool shownWithStartTexts = false;
        platform.onModal = [&](QDialog& window) {
            const auto* pkp = window.findChild<QLineEdit*>("pkpText");
            shownWithStartTexts = pkp && pkp->text() == "no pkp loaded";
        };
        QCOMPARE(CPlacementApp(platform).run(), 0);
        QVERIFY(platform.messages.empty());
        QCOMPARE(platform.modalTitles,
                 QStringList{"Kavelto, offered by QUANDEL (www.quandel.example) - version 1.2"});
        QVERIFY(shownWithStartTexts);
    }

private:
    void writeIni(const QByteArray& content) {
        QFile file(workDir_.filePath("Kavelto.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir workDir_;
    QString previous_;
};

QTEST_MAIN(AppStartTest)
#include "AppStartTest.moc"
