#include "FakePlatform.h"
#include "SessionStore.h"
#include "TruthBoard.h"

#include <QProcess>
#include <QScreen>
#include <QtTest>
#include <QtWidgets>

#include <algorithm>
#include <memory>
#include <optional>

using namespace kavelto;

namespace {

constexpr int kWaitMs = 10000;
constexpr int kPollMs = 40;
const QString kMainWindow = QStringLiteral("^Kavelto, offered by ");

// Runs xdotool, the user's hands on the X display; its output with blanks trimmed.
QString Xdotool(const QStringList& arguments, int* status = nullptr) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(kWaitMs);
    if (status)
        *status = process.exitCode();
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// Polls until the condition holds or the time is up; whether it held.
template <typename Condition> bool WaitFor(Condition holds, int timeoutMs = kWaitMs) {
    QElapsedTimer timer;
    timer.start();
    while (!holds()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(kPollMs);
    }
    return true;
}

// The visible windows of a process whose title matches the pattern.
QStringList WindowsOf(const QProcess& program, const QString& title) {
    const QString found = Xdotool({"search", "--all", "--onlyvisible", "--pid",
                                   QString::number(program.processId()), "--name", title});
    return found.isEmpty() ? QStringList() : found.split('\n');
}

QRect WindowGeometry(const QString& window) {
    QRect rect;
    for (const QString& line : Xdotool({"getwindowgeometry", "--shell", window}).split('\n')) {
        const QStringList pair = line.split('=');
        const int value = pair.value(1).toInt();
        if (pair[0] == "X")
            rect.moveLeft(value);
        else if (pair[0] == "Y")
            rect.moveTop(value);
        else if (pair[0] == "WIDTH")
            rect.setWidth(value);
        else if (pair[0] == "HEIGHT")
            rect.setHeight(value);
    }
    return rect;
}

// Without --sync, which waits for ever when the pointer is already there: the server takes the
// move and the click in order all the same.
void Click(const QPoint& at) {
    Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

void Focus(const QString& window) {
    Xdotool({"windowfocus", "--sync", window});
}

void Keys(const QString& window, const QStringList& keys) {
    Xdotool(QStringList{"windowfocus", "--sync", window, "key", "--delay", "5"} + keys);
}

// What the desktop's "open" action is given for a local file.
QString DocumentUrl(const QString& path) {
    return QUrl::fromLocalFile(path).toString();
}

// The pens of the board view's box: around a pressed point, and around a located part.
const QColor kPressedPen(55, 255, 100);
const QColor kLocatedPen(255, 250, 155);

// The middle of the box drawn with that pen in a picture of the board view; nothing when fewer
// pixels than a box has show its colour.
std::optional<QPoint> BoxCentre(const QImage& board, const QColor& pen) {
    std::vector<int> xs;
    std::vector<int> ys;
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x) {
            if (board.pixel(x, y) == pen.rgb()) {
                xs.push_back(x);
                ys.push_back(y);
            }
        }
    }
    if (xs.size() < 100)
        return std::nullopt;
    const auto [left, right] = std::minmax_element(xs.begin(), xs.end());
    const auto [top, bottom] = std::minmax_element(ys.begin(), ys.end());
    return QPoint((*left + *right) / 2, (*top + *bottom) / 2);
}

// A box drawn around a point: its middle within a few pixels of the point.
bool Near(const std::optional<QPoint>& centre, const QPoint& point) {
    return centre && (*centre - point).manhattanLength() <= 4;
}

// A rectangle of that size centred on the point, moved inside the bounds.
QRect Around(const QRect& bounds, const QPoint& point, const QSize& size) {
    QRect rect(point - QPoint(size.width() / 2, size.height() / 2), size);
    rect.moveLeft(qBound(bounds.left(), rect.left(), bounds.right() + 1 - size.width()));
    rect.moveTop(qBound(bounds.top(), rect.top(), bounds.bottom() + 1 - size.height()));
    return rect;
}

QImage Screen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// Polls the screen until the board view shows the pen's box around the point, within a few
// pixels; where the box was last seen otherwise.
std::optional<QPoint> WaitForBox(const QRect& board, const QColor& pen, const QPoint& around,
                                 QImage& shot) {
    std::optional<QPoint> centre;
    WaitFor([&] {
        shot = Screen();
        centre = BoxCentre(shot.copy(board), pen);
        return Near(centre, around);
    });
    return centre;
}

QString Missed(const std::optional<QPoint>& centre, const QPoint& expected) {
    if (!centre)
        return QStringLiteral("no box on the board");
    return QStringLiteral("box at %1, %2 instead of %3, %4")
        .arg(centre->x())
        .arg(centre->y())
        .arg(expected.x())
        .arg(expected.y());
}

// The controls without a caption of their own, in the order the manual numbers them, and where
// their number goes: at the right end of a field, inside the corner of a pane.
enum class Mark { RightEnd, TopLeft, TopRight };
constexpr std::pair<const char*, Mark> kNumberedControls[] = {{"logo", Mark::RightEnd},
                                                              {"bitmapText", Mark::RightEnd},
                                                              {"rotationText", Mark::RightEnd},
                                                              {"pkpText", Mark::RightEnd},
                                                              {"partsPerFaceText", Mark::RightEnd},
                                                              {"calibrationText", Mark::RightEnd},
                                                              {"pcbCount", Mark::RightEnd},
                                                              {"magnifierFrame", Mark::TopLeft},
                                                              {"pictureFrame", Mark::TopLeft},
                                                              {"partList", Mark::TopRight}};

// A picture of the window with those controls' numbers in red discs.
QImage NumberedControls(QImage window, const QWidget& twin) {
    QPainter painter(&window);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    int number = 0;
    for (const auto& [name, mark] : kNumberedControls) {
        const QRect control = twin.findChild<QWidget*>(QLatin1String(name))->geometry();
        const QPointF centre =
            mark == Mark::RightEnd  ? QPointF(control.right(), control.center().y())
            : mark == Mark::TopLeft ? QPointF(control.topLeft()) + QPointF(16, 16)
                                    : QPointF(control.topRight()) + QPointF(-40, 12);
        const QRectF disc(centre - QPointF(9, 9), QSizeF(18, 18));
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(QColor(200, 0, 0));
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
    QString work_;     // the board's folder
    QString launcher_; // where the desktop's "open" action records what it was given

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
        WaitFor([&] {
            window = WindowsOf(program, title).value(0);
            return !window.isEmpty();
        });
        if (!window.isEmpty())
            Focus(window);
        return window;
    }

    QStringList opened() const {
        QFile record(launcher_ + "/opened.txt");
        if (!record.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(record.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    // The file chooser the button opens, answered with a name typed in its folder. A click
    // that the window missed is repeated: while a chooser is open, the window takes none.
    void chooseFile(const QProcess& program, const QString& mainWindow, const QPoint& button,
                    const QString& name) {
        QString chooser;
        const auto opened = [&] {
            const QStringList windows = WindowsOf(program, ".");
            chooser = windows.value(windows.indexOf(mainWindow) == 0 ? 1 : 0);
            return windows.size() > 1;
        };
        for (int click = 0; click < 3 && !opened(); ++click) {
            Click(button);
            WaitFor(opened, kWaitMs / 3);
        }
        QVERIFY2(opened(), "no file chooser");
        Focus(chooser);
        Xdotool({"type", "--delay", "5", name});
        Keys(chooser, {"Return"});
        QVERIFY(WaitFor([&] { return !WindowsOf(program, ".").contains(chooser); }));
    }

    void saveShot(const QImage& image, const QString& name) {
        const QString folder = qEnvironmentVariable("KAVELTO_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        QVERIFY(image.convertToFormat(QImage::Format_Indexed8).save(folder + '/' + name));
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        work_ = dir_.filePath("board");
        launcher_ = dir_.filePath("bin");
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
        const QString empty = dir_.filePath("empty");
        QVERIFY(QDir().mkpath(empty));
        const std::unique_ptr<QProcess> program = start(empty);
        const QString box = waitForWindow(*program, "^Error$");
        QVERIFY2(!box.isEmpty(), "no Error box");
        QVERIFY(WindowsOf(*program, kMainWindow).isEmpty());
        Keys(box, {"Return"});
        QVERIFY(program->waitForFinished(kWaitMs));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 1);
    }

    // The demo's first steps: load both files through the choosers, calibrate on two parts'
    // true pixels, place three parts with Enter, then Esc.
    void firstSessionOnTheDemoBoard() {
        FakePlatform platform;
        CPlacementDlg twin(platform);
        twin.setAttribute(Qt::WA_DontShowOnScreen);
        QVERIFY(twin.LoadColumnMap(work_ + "/Kavelto.ini"));
        twin.show();

        const std::unique_ptr<QProcess> program = start(work_);
        const QString window = waitForWindow(*program, kMainWindow);
        QVERIFY2(!window.isEmpty(), "no main window");
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect placed = WindowGeometry(window);
        QVERIFY2(screen.contains(placed), qPrintable(QStringLiteral("%1 x %2 at %3, %4")
                                                         .arg(placed.width())
                                                         .arg(placed.height())
                                                         .arg(placed.x())
                                                         .arg(placed.y())));
        QCOMPARE(twin.size(), placed.size());
        const auto at = [&](const char* control) {
            const QWidget* widget = twin.findChild<QWidget*>(QLatin1String(control));
            return placed.topLeft() + widget->geometry().center();
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
        const std::vector<TruthPart> face =
            ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"), false);
        QCOMPARE(twin.session().faceList().faceCount, int(face.size()));
        const auto [first, last] =
            std::minmax_element(face.begin(), face.end(), [](auto& a, auto& b) {
                return a.pixel.manhattanLength() < b.pixel.manhattanLength();
            });
        for (const auto& [part, button] : {std::pair(first, "cal1"), std::pair(last, "cal2")}) {
            const int row = RowOf(twin, *part);
            Keys(window, {"Home"});
            if (row > 0)
                Keys(window, {"--repeat", QString::number(row), "Down"});
            const QPoint press = WindowPointNearest(twin, part->pixel);
            Click(placed.topLeft() + press);
            QImage shot;
            const QPoint pressed = press - BoardRect(twin).topLeft();
            const std::optional<QPoint> box = WaitForBox(board, kPressedPen, pressed, shot);
            QVERIFY2(Near(box, pressed), qPrintable(Missed(box, pressed)));
            if (part == first)
                saveShot(shot.copy(Around(board, board.topLeft() + pressed, QSize(320, 200))),
                         "calibration-press.png");
            Click(at(button));
            ClickRow(twin, row);
            PressOnPicture(twin, press);
            QTest::mouseClick(twin.findChild<QWidget*>(QLatin1String(button)), Qt::LeftButton);
        }
        QCOMPARE(twin.findChild<QLineEdit*>("calibrationText")->text(), "Calibrated, ok");
        QVERIFY(platform.messages.empty());

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
                QVERIFY(WaitFor([&] { return WindowsOf(*program, "^Placement$").isEmpty(); }));
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
        const PixelPoint truePixel =
            PictureToWindow(twin.session().view(), {0, 0, frame.width(), frame.height()},
                            int(truth->pixel.x()), int(truth->pixel.y()));
        const QPoint expected(truePixel.x, truePixel.y);
        QImage shot;
        const std::optional<QPoint> centre = WaitForBox(board, kLocatedPen, expected, shot);
        shot.save(QStringLiteral("real-program-1366x768.png"));
        QVERIFY2(Near(centre, expected), qPrintable(Missed(centre, expected)));
        saveShot(NumberedControls(shot.copy(placed), twin), "window.png");

        // "Need help ?" opens the folder's manual.
        Click(at("needHelp"));
        QVERIFY(WaitFor([&] { return !opened().isEmpty(); }));
        QCOMPARE(opened(), QStringList(DocumentUrl(work_ + "/KaveltoManual.pdf")));

        Keys(window, {"Escape"});
        QVERIFY(program->waitForFinished(kWaitMs));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);

        // The placed marks the program kept on its way are those of the three rows.
        SessionStore kept(dir_.filePath("state/kavelto").toStdString());
        kept.openFile((work_ + "/coldfire.csv").toStdString());
        QVERIFY(kept.offered().has_value());
        QCOMPARE(kept.offered()->placed, twin.session().keptState().placed);
        QCOMPARE(kept.offered()->placedOnFace, 3);
    }

    // Installed, the program opens its own manual from a folder that has none.
    void installedManualFromAnyFolder() {
        const QString prefix = dir_.filePath("prefix");
        QProcess install;
        install.start(QStringLiteral(CMAKE_COMMAND),
                      {"--install", QStringLiteral(BUILD_DIR), "--prefix", prefix});
        QVERIFY(install.waitForFinished(kWaitMs) && install.exitCode() == 0);
        const QString own = dir_.filePath("own");
        QVERIFY(QDir().mkpath(own));
        QVERIFY(QFile::copy(QStringLiteral(DEMO_DIR "/Kavelto.ini"), own + "/Kavelto.ini"));
        QFile::remove(launcher_ + "/opened.txt");

        const std::unique_ptr<QProcess> program = start(own, prefix + "/bin/kavelto");
        const QString window = waitForWindow(*program, kMainWindow);
        QVERIFY2(!window.isEmpty(), "no main window");
        FakePlatform platform;
        CPlacementDlg twin(platform);
        const QWidget* needHelp = twin.findChild<QWidget*>("needHelp");
        Click(WindowGeometry(window).topLeft() + needHelp->geometry().center());
        QVERIFY(WaitFor([&] { return !opened().isEmpty(); }));
        QCOMPARE(opened(),
                 QStringList(DocumentUrl(prefix + "/share/doc/kavelto/KaveltoManual.pdf")));
        Keys(window, {"Escape"});
        QVERIFY(program->waitForFinished(kWaitMs));
        QCOMPARE(program->exitCode(), 0);
    }
};

QTEST_MAIN(RealProgramTest)
#include "RealProgramTest.moc"
