#include "CPlacementApp.h"
#include "CPlacementDlg.h"
#include "FakePlatform.h"

#include <QtTest>

using namespace kavelto;

// Start-up runs in the working directory, where Kavelto.ini is looked up first, then in the
// user's configuration folder; without either, a box names both and offers to create the user's.
class AppStartTest : public QObject {
    Q_OBJECT
    QTemporaryDir workDir_;
    QString working_, userFile_;

    static QString Text(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void initTestCase() {
        QVERIFY(QDir::setCurrent(workDir_.path()));
        working_ = QDir::currentPath();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(working_ + "/config"));
        userFile_ = working_ + "/config/kavelto/Kavelto.ini";
    }
    void init() {
        QFile::remove(QStringLiteral("Kavelto.ini"));
        QDir(working_ + "/config").removeRecursively();
    }

    void showsTheMainWindowOrTheError_data() {
        const QString window = "Kavelto, offered by QUANDEL (www.quandel.example) - version 1.2";
        const QString offer =
            "Error: Can't find Kavelto.ini file\n\nLooked in the working folder " + working_ +
            "\nand for " + userFile_ + "\n\nCreate " + userFile_ +
            " with the lines 0, - and auto, which read each placement file by "
            "its own column names?";
        QTest::addColumn<QString>("workingFile"); // copied from the demo, where not empty
        QTest::addColumn<QString>("userFile");
        QTest::addColumn<int>("answer"); // to the offer
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("shown"); // the boxes, then the main window's title
        QTest::addColumn<QString>("created");   // the user's file afterwards
        const int yes = int(Platform::Answer::Yes), no = int(Platform::Answer::No);
        QTest::newRow("missing, answered No") << ""
                                              << "" << no << 1 << QStringList{offer} << QString();
        QTest::newRow("missing, answered Yes")
            << ""
            << "" << yes << 0 << QStringList{offer, window} << "0\n-\nauto\n";
        QTest::newRow("working folder's") << "Kavelto.ini"
                                          << "" << no << 0 << QStringList{window} << QString();
        QTest::newRow("user's") << "" << userFile_ << no << 0 << QStringList{window}
                                << Text(DEMO_DIR "/Kavelto.ini");
    }
    void showsTheMainWindowOrTheError() {
        QFETCH(QString, workingFile);
        QFETCH(QString, userFile);
        QFETCH(int, answer);
        QFETCH(int, status);
        QFETCH(QStringList, shown);
        QFETCH(QString, created);
        for (const QString& path : {workingFile, userFile}) {
            QVERIFY(path.isEmpty() || QDir().mkpath(QFileInfo(path).absolutePath()));
            QVERIFY(path.isEmpty() || QFile::copy(DEMO_DIR "/Kavelto.ini", path));
        }
        FakePlatform platform;
        platform.answers = {Platform::Answer(answer)};
        QCOMPARE(CPlacementApp(platform).run(), status);
        QStringList windows;
        for (const FakePlatform::Message& box : platform.messages)
            windows << box.caption + ": " + box.text;
        QCOMPARE(windows + platform.modalTitles, shown);
        QCOMPARE(Text(userFile_), created);
    }

    // The files of the command line are loaded before the window shows, as if chosen.
    void loadsTheFilesNamed() {
        QVERIFY(QFile::copy(DEMO_DIR "/Kavelto.ini", "Kavelto.ini"));
        CommandLine line;
        line.placementFile = DEMO_DIR "/coldfire.csv";
        line.picture = DEMO_DIR "/coldfire-top.jpg";
        FakePlatform platform;
        int parts = 0;
        std::optional<std::string> picture;
        platform.onModal = [&](QDialog& dialog) {
            const AssemblySession& session = static_cast<CPlacementDlg&>(dialog).session();
            parts = session.table().partCount();
            picture = session.view().bitmapPath;
        };
        QCOMPARE(CPlacementApp(platform, line).run(), 0);
        QCOMPARE(parts, 160); // 146 on the top face and 14 on the bottom
        QCOMPARE(picture, line.picture);
        QVERIFY(platform.messages.isEmpty());
    }

    // A BOM named with --bom is joined to the placement file loaded before it: its not-fitted
    // parts (C4 excluded from the BOM, R6 marked DNP) stay off the board.
    void joinsTheBomNamedToThePlacementFile() {
        QVERIFY(QFile::copy(DEMO_DIR "/Kavelto.ini", "Kavelto.ini"));
        CommandLine line;
        line.placementFile = TEST_DATA_DIR "/boms/board.csv";
        line.bom = TEST_DATA_DIR "/boms/kicad.csv";
        FakePlatform platform;
        QStringList notFitted;
        platform.onModal = [&](QDialog& dialog) {
            const AssemblySession& session = static_cast<CPlacementDlg&>(dialog).session();
            for (int i = 0; i < session.table().partCount(); ++i)
                if (session.bom().isNotFitted(i))
                    notFitted << QString::fromUtf8(session.table().part(i).designator.view());
        };
        QCOMPARE(CPlacementApp(platform, line).run(), 0);
        QCOMPARE(notFitted, QStringList({"C4", "R6"}));
        QVERIFY(platform.messages.isEmpty());
    }
};

QTEST_MAIN(AppStartTest)
#include "AppStartTest.moc"
