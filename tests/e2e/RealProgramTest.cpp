#include "FakePlatform.h"
#include "TruthBoard.h"

#include <QProcess>
#include <QScreen>
#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace kavelto;

namespace {

constexpr int kWaitMs = 10000;
const QString kMainWindow = QStringLiteral("^Kavelto, offered by ");
// The pens of the board view's box: around a pressed point, and around a located part.
constexpr QRgb kPressedPen = qRgb(55, 255, 100), kLocatedPen = qRgb(255, 250, 155);

// Runs xdotool, the user's hands on the X display; its output with blanks trimmed.
QString Xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(kWaitMs);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// The visible windows of a process whose title matches the pattern.
QStringList WindowsOf(const QProcess& program, const QString& title) {
    return Xdotool({"search", "--all", "--onlyvisible", "--pid",
                    QString::number(program.processId()), "--name", title})
        .split('\n', Qt::SkipEmptyParts);
}

QRect WindowGeometry(const QString& window) {
    QMap<QString, int> shell; // X=, Y=, WIDTH=, HEIGHT= lines
    for (const QString& line : Xdotool({"getwindowgeometry", "--shell", window}).split('\n'))
        shell[line.section('=', 0, 0)] = line.section('=', 1).toInt();
    return {shell["X"], shell["Y"], shell["WIDTH"], shell["HEIGHT"]};
}

// Without --sync, which waits for ever when the pointer is already there: the server takes the
// move and the click in order all the same.
void Click(const QPoint& at) {
    Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

void Keys(const QString& window, const QStringList& keys) {
    Xdotool(QStringList{"windowfocus", "--sync", window, "key", "--delay", "5"} + keys);
}

// The exit code once the program has ended; -1 when it did not end or crashed.
int Ended(QProcess& program) {
    return program.waitForFinished(kWaitMs) && program.exitStatus() == QProcess::NormalExit
               ? program.exitCode()
               : -1;
}

QImage Screen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// Polls the screen until the board view shows the pen's box centred within a few pixels of the
// point; then nothing, else what was seen last.
QString WaitForBox(const QRect& board, QRgb pen, const QPoint& point, QImage& screen) {
    QRect box;
    const bool shown = QTest::qWaitFor(
        [&] {
            screen = Screen();
            const QImage view = screen.copy(board);
            box = QRect();
            for (int y = 0; y < view.height(); ++y)
                for (int x = 0; x < view.width(); ++x)
                    box |= view.pixel(x, y) == pen ? QRect(x, y, 1, 1) : QRect();
            return box.width() > 10 && (box.center() - point).manhattanLength() <= 4;
        },
        kWaitMs);
    QString seen;
    if (!shown)
        QDebug(&seen) << "box" << box << "instead of around" << point;
    return seen;
}

// A rectangle of that size centred on the point, moved inside the bounds.
QRect Around(const QRect& bounds, const QPoint& point, const QSize& size) {
    const QPoint corner = point - QPoint(size.width() / 2, size.height() / 2);
    return {QPoint(qBound(bounds.left(), corner.x(), bounds.right() + 1 - size.width()),
                   qBound(bounds.top(), corner.y(), bounds.bottom() + 1 - size.height())),
            size};
}

// A picture of the window with the numbers the manual gives the controls without a caption of
// their own, in red discs: at the right end of a field, inside the corner of a pane.
QImage NumberedControls(QImage window, const QWidget& twin) {
    QPainter painter(&window);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(QColor(200, 0, 0));
    int number = 0;
    for (const QString name :
         {"logo", "bitmapText", "rotationText", "pkpText", "partsPerFaceText", "calibrationText",
          "pcbCount", "magnifierFrame", "pictureFrame", "partList"}) {
        const QRect control = twin.findChild<QWidget*>(name)->geometry();
        const QPointF centre = name == QLatin1String("partList")
                                   ? QPointF(control.topRight()) + QPointF(-40, 12)
                               : name.endsWith(QLatin1String("Frame"))
                                   ? QPointF(control.topLeft()) + QPointF(16, 16)
                                   : QPointF(control.right(), control.center().y());
        const QRectF disc(centre - QPointF(9, 9), QSizeF(18, 18));
        painter.drawEllipse(disc);
        painter.drawText(disc, Qt::AlignCenter, QString::number(++number));
    }
    return window;
}

} // namespace

// The program as a user meets it, on a 1366 x 768 X display: started without a configuration,
// then in a folder laid out as the demo leaves it, driven through its real file choosers with
// the pointer and the keys. A window of the same code, never shown, tells where its controls
// and the parts' pixels lie.
class RealProgramTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    const QString work_ = dir_.filePath("board"); // the board's folder
    // Where the desktop's "open" action records what it was given.
    const QString launcher_ = dir_.filePath("bin");

    std::unique_ptr<QProcess> start(const QString& folder,
                                    const QString& path = QStringLiteral(KAVELTO_PROGRAM)) {
        auto program = std::make_unique<QProcess>();
        program->setWorkingDirectory(folder);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_STATE_HOME", dir_.filePath("state"));
        environment.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
        environment.insert("TMPDIR", dir_.path());
        environment.insert("PATH", launcher_ + ':' + environment.value("PATH"));
        program->setProcessEnvironment(environment);
        program->setProcessChannelMode(QProcess::ForwardedChannels);
        program->start(path, QStringList());
        program->waitForStarted(kWaitMs);
        return program;
    }

    // The window once it has the focus: a window that has just appeared may miss a click.
    QString waitForWindow(const QProcess& program, const QString& title) {
        QString window;
        if (QTest::qWaitFor(
                [&] { return !(window = WindowsOf(program, title).value(0)).isEmpty(); }, kWaitMs))
            Xdotool({"windowfocus", "--sync", window});
        return window;
    }

    // The documents the "open" action was given so far, once there are that many, by their path
    // in the test's folder.
    QStringList opened(int count) const {
        QStringList manuals;
        (void)QTest::qWaitFor(
            [&] {
                QFile record(launcher_ + "/opened.txt");
                record.open(QIODevice::ReadOnly);
                manuals = QString::fromLocal8Bit(record.readAll()).split('\n', Qt::SkipEmptyParts);
                return manuals.size() >= count;
            },
            kWaitMs);
        return manuals.replaceInStrings(QUrl::fromLocalFile(dir_.path()).toString(), "");
    }

    // The file chooser the button opens, answered with a name typed in its folder. A click
    // that the window missed is repeated: while a chooser is open, the window takes none.
    void chooseFile(const QProcess& program, const QString& mainWindow, const QPoint& button,
                    const QString& name) {
        QString chooser;
        const auto shown = [&] {
            const QStringList windows = WindowsOf(program, ".");
            chooser = windows.value(windows.indexOf(mainWindow) == 0 ? 1 : 0);
            return windows.size() > 1;
        };
        for (int click = 0; click < 3 && !shown(); ++click) {
            Click(button);
            (void)QTest::qWaitFor(shown, kWaitMs / 3);
        }
        QVERIFY2(shown(), "no file chooser");
        Xdotool({"windowfocus", "--sync", chooser});
        Xdotool({"type", "--delay", "5", name});
        Keys(chooser, {"Return"});
        QVERIFY(
            QTest::qWaitFor([&] { return !WindowsOf(program, ".").contains(chooser); }, kWaitMs));
    }

    // For the manual's pictures, taken by scripts/screenshots.sh.
    void saveShot(const QImage& image, const QString& name) {
        const QString folder = qEnvironmentVariable("KAVELTO_SCREENSHOTS");
        QVERIFY(folder.isEmpty() ||
                image.convertToFormat(QImage::Format_Indexed8).save(folder + '/' + name));
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY(QDir().mkpath(work_) && QDir().mkpath(launcher_));
        for (const char* name : {"Kavelto.ini", "coldfire.csv", "coldfire-top.jpg"})
            QVERIFY(QFile::copy(QStringLiteral(DEMO_DIR "/") + name, work_ + '/' + name));
        QVERIFY(QFile::copy(QStringLiteral(KAVELTO_MANUAL), work_ + "/KaveltoManual.pdf"));
        QFile launcher(launcher_ + "/xdg-open");
        QVERIFY(launcher.open(QIODevice::WriteOnly));
        launcher.write("#!/bin/sh\necho \"$1\" >> \"$(dirname \"$0\")/opened.txt\"\n");
        launcher.close();
        QVERIFY(launcher.setPermissions(launcher.permissions() | QFileDevice::ExeOwner));
    }

    // Only the "Error" box, then the end with status 1.
    void withoutConfigurationOnlyTheErrorBox() {
        QVERIFY(QDir().mkpath(dir_.filePath("empty")));
        const std::unique_ptr<QProcess> program = start(dir_.filePath("empty"));
        const QString box = waitForWindow(*program, "^Error$");
        QVERIFY2(!box.isEmpty(), "no Error box");
        QVERIFY(WindowsOf(*program, kMainWindow).isEmpty());
        Keys(box, {"Return"});
        QCOMPARE(Ended(*program), 1);
    }

    // The demo's first steps: load both files through the choosers, calibrate on two parts'
    // true pixels, place three parts with Enter; "Need help ?" opens the folder's manual; Esc.
    void firstSessionOnTheDemoBoard() {
        FakePlatform platform;
        CPlacementDlg twin(platform);
        twin.setAttribute(Qt::WA_DontShowOnScreen);
        QVERIFY(twin.LoadColumnMap(work_ + "/Kavelto.ini"));
        twin.show();

        const std::unique_ptr<QProcess> program = start(work_);
        const QString window = waitForWindow(*program, kMainWindow);
        QVERIFY2(!window.isEmpty(), "no main window");
        const QRect placed = WindowGeometry(window);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(screen.united(placed), screen);
        QCOMPARE(twin.size(), placed.size());
        const auto at = [&](const char* control) {
            return placed.topLeft() + twin.findChild<QWidget*>(control)->geometry().center();
        };
        chooseFile(*program, window, at("loadPkp"), "coldfire.csv");
        chooseFile(*program, window, at("loadBitmap"), "coldfire-top.jpg");
        if (QTest::currentTestFailed())
            return;
        platform.files = {work_ + "/coldfire.csv", work_ + "/coldfire-top.jpg"};
        QTest::mouseClick(twin.findChild<QWidget*>("loadPkp"), Qt::LeftButton);
        QTest::mouseClick(twin.findChild<QWidget*>("loadBitmap"), Qt::LeftButton);
        twin.grab(); // a press converts with the scale of the last paint

        const QRect board = BoardRect(twin).translated(placed.topLeft());
        const auto face = ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"), false);
        QCOMPARE(twin.session().faceList().faceCount, int(face.size()));
        const std::vector<TruthPart> pair = CalibrationParts(face);
        for (std::size_t i = 0; i < pair.size(); ++i) {
            const char* button = i == 0 ? "cal1" : "cal2";
            const int row = RowOf(twin, pair[i]);
            Keys(window, {"Home"});
            if (row > 0)
                Keys(window, {"--repeat", QString::number(row), "Down"});
            const QPoint press = WindowPointNearest(twin, pair[i].pixel);
            Click(placed.topLeft() + press);
            QImage shot;
            const QPoint pressed = press - BoardRect(twin).topLeft();
            const QString missed = WaitForBox(board, kPressedPen, pressed, shot);
            QVERIFY2(missed.isEmpty(), qPrintable(missed));
            if (i == 0)
                saveShot(shot.copy(Around(board, board.topLeft() + pressed, QSize(320, 200))),
                         "calibration-press.png");
            Click(at(button));
            ClickRow(twin, row);
            PressOnPicture(twin, press);
            QTest::mouseClick(twin.findChild<QWidget*>(button), Qt::LeftButton);
        }
        QCOMPARE(twin.findChild<QLineEdit*>("calibrationText")->text(), "Calibrated, ok");

        // Enter on the first row three times; a new kind of part brings its box, which Enter
        // answers first.
        Keys(window, {"Home"});
        QTest::keyClick(twin.findChild<QWidget*>("partList"), Qt::Key_Home);
        for (int enter = 0; enter < 3; ++enter) {
            const std::size_t boxes = platform.messages.size();
            QTest::keyClick(twin.findChild<QWidget*>("partList"), Qt::Key_Return);
            Keys(window, {"Return"});
            if (platform.messages.size() > boxes) {
                const QString box = waitForWindow(*program, "^Placement$");
                QVERIFY2(!box.isEmpty(), "no New part box");
                saveShot(Screen().copy(WindowGeometry(box)), "new-part.png");
                Keys(box, {"Return"});
                QVERIFY(QTest::qWaitFor(
                    [&] { return WindowsOf(*program, "^Placement$").isEmpty(); }, kWaitMs));
            }
        }
        const int selected = twin.session().selection().selectedRow;
        QCOMPARE(selected, 3);

        // The box of the part now selected lies on that part's true pixel.
        const auto truth = std::find_if(face.begin(), face.end(), [&](const TruthPart& part) {
            return RowOf(twin, part) == selected;
        });
        QVERIFY(truth != face.end());
        const QRect frame = BoardRect(twin);
        const PixelPoint expected =
            PictureToWindow(twin.session().view(), {0, 0, frame.width(), frame.height()},
                            int(truth->pixel.x()), int(truth->pixel.y()));
        QImage shot;
        const QString missed = WaitForBox(board, kLocatedPen, {expected.x, expected.y}, shot);
        shot.save(QStringLiteral("real-program-1366x768.png"));
        QVERIFY2(missed.isEmpty(), qPrintable(missed));
        saveShot(NumberedControls(shot.copy(placed), twin), "window.png");

        Click(at("needHelp"));
        QCOMPARE(opened(1), QStringList("/board/KaveltoManual.pdf"));
        Keys(window, {"Escape"});
        QCOMPARE(Ended(*program), 0);
    }

    // Installed, the program opens its own manual from a folder that has none, and the folder's
    // manual where it has one.
    void installedManualFromAnyFolder() {
        const QString prefix = dir_.filePath("prefix"), own = dir_.filePath("own");
        QProcess install;
        install.start(QStringLiteral(CMAKE_COMMAND),
                      {"--install", QStringLiteral(BUILD_DIR), "--prefix", prefix});
        QVERIFY(install.waitForFinished(kWaitMs) && install.exitCode() == 0);
        QVERIFY(QDir().mkpath(own));
        QVERIFY(QFile::copy(QStringLiteral(DEMO_DIR "/Kavelto.ini"), own + "/Kavelto.ini"));
        QFile::remove(launcher_ + "/opened.txt");

        const std::unique_ptr<QProcess> program = start(own, prefix + "/bin/kavelto");
        const QString window = waitForWindow(*program, kMainWindow);
        QVERIFY2(!window.isEmpty(), "no main window");
        FakePlatform platform;
        const QPoint needHelp =
            WindowGeometry(window).topLeft() +
            CPlacementDlg(platform).findChild<QWidget*>("needHelp")->geometry().center();
        Click(needHelp);
        QCOMPARE(opened(1).value(0), "/prefix/share/doc/kavelto/KaveltoManual.pdf");
        QVERIFY(QFile::copy(QStringLiteral(KAVELTO_MANUAL), own + "/KaveltoManual.pdf"));
        Click(needHelp);
        QCOMPARE(opened(2).value(1), "/own/KaveltoManual.pdf");
        Keys(window, {"Escape"});
        QCOMPARE(Ended(*program), 0);
    }
};

QTEST_MAIN(RealProgramTest)
#include "RealProgramTest.moc"
