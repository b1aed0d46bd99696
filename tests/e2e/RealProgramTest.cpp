#include "FakePlatform.h"
#include "TestFiles.h"
#include "TruthBoard.h"
#include "geometry/MagnifierGeometry.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace kavelto;

namespace {

constexpr int kWaitMs = 10000;
// The title bar names the files loaded before the caption.
const QString kMainWindow = QStringLiteral("Kavelto, offered by ");
// The pens of the board view's box: around a pressed point, and around a located part.
constexpr QRgb kPressedPen = qRgb(55, 255, 100), kLocatedPen = qRgb(255, 250, 155);

// Runs xdotool, the user's hands on the X display; its output with blanks trimmed.
QString Xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(kWaitMs);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// The visible windows of a process whose title matches the pattern; with `wait`, once there is
// one (xdotool gives up with the test's wait).
QStringList WindowsOf(const QProcess& program, const QString& title, bool wait = false) {
    const QStringList search = {
        "--all", "--onlyvisible", "--pid", QString::number(program.processId()), "--name", title};
    return Xdotool(QStringList{"search"} + (wait ? QStringList{"--sync"} : QStringList()) + search)
        .split('\n', Qt::SkipEmptyParts);
}

// A visible window of the program other than the one given, once there is one; empty when
// none comes within the test's wait.
QString WindowBesides(const QProcess& program, const QString& window) {
    QString other;
    (void)QTest::qWaitFor(
        [&] {
            for (const QString& shown : WindowsOf(program, QString()))
                if (shown != window)
                    other = shown;
            return !other.isEmpty();
        },
        kWaitMs);
    return other;
}

QImage Shot(const QString& window) {
    return QGuiApplication::primaryScreen()->grabWindow(window.toULongLong()).toImage();
}

// The whole display: a popup menu or a field of its own is not inside the main window.
QImage Screen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// What changed on the display between two pictures of it, once it has changed and stopped
// changing, with a margin around it; empty when nothing changed.
QRect ChangedSince(const QImage& before, QImage& after, int margin) {
    QRect changed;
    QImage last;
    (void)QTest::qWaitFor(
        [&] {
            after = Screen();
            const bool settled = !changed.isEmpty() && after == last;
            last = after;
            changed = {};
            for (int y = 0; y < after.height(); ++y)
                for (int x = 0; x < after.width(); ++x)
                    if (after.pixel(x, y) != before.pixel(x, y))
                        changed |= QRect(x, y, 1, 1);
            return settled;
        },
        kWaitMs);
    return changed.isEmpty() ? changed
                             : changed.adjusted(-margin, -margin, margin, margin) & after.rect();
}

// The first row of the kind with the most parts on the face shown: it has the most rings.
int FirstRowOfCommonestKind(const CPlacementDlg& twin) {
    const AssemblySession& session = twin.session();
    int best = 0, bestCount = 0;
    for (int row = 0; row < session.faceList().faceCount; ++row) {
        int count = 0;
        for (int other = 0; other < session.faceList().faceCount; ++other)
            count += IsSameKind(session.partAtRow(row), session.partAtRow(other));
        if (count > bestCount) {
            best = row;
            bestCount = count;
        }
    }
    return best;
}

// A point of the window's own background, between its controls: a right press there opens the
// window's menu.
QPoint Background(const QWidget& twin) {
    for (int y = twin.height() / 2; y < twin.height() - 4; y += 4)
        for (int x = 4; x < twin.width() / 4; x += 4)
            if (!twin.childAt(x, y))
                return {x, y};
    return {};
}

// At a point of the window. Without --sync, which waits for ever when the pointer is already
// there: the server takes the move and the click in order all the same.
void Click(const QString& window, const QPoint& at) {
    Xdotool({"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y()),
             "click", "1"});
}

// A right press at a point of the window.
void RightPress(const QString& window, const QPoint& at) {
    Xdotool({"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y()),
             "click", "3"});
}

// A right press at a point of the window; what it drew on the display, the display kept in
// `after`.
QRect RightClick(const QString& window, const QPoint& at, QImage& after) {
    const QImage before = Screen();
    RightPress(window, at);
    return ChangedSince(before, after, 0);
}

// Where a window stands on the display.
QRect GeometryOf(const QString& window) {
    QHash<QString, int> values;
    for (const QString& line : Xdotool({"getwindowgeometry", "--shell", window}).split('\n')) {
        const QStringList pair = line.split('=');
        if (pair.size() == 2)
            values.insert(pair[0], pair[1].toInt());
    }
    return {values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]};
}

void Keys(const QString& window, const QStringList& keys) {
    Xdotool(QStringList{"windowfocus", "--sync", window, "key", "--delay", "5"} + keys);
}

// The exit code once the program has ended; -1 when it did not end or crashed.
int Ended(QProcess& program) {
    const bool ended = program.waitForFinished(kWaitMs);
    return ended && program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
}

// Polls the window, its picture kept in `shot`, until the board view shows the pen's box centred
// within a few pixels of the point, at least minWidth wide: a part located draws its body's
// outline, which is as small as the body on the picture.
bool WaitForBox(const QString& window, const QRect& board, QRgb pen, const QPoint& point,
                QImage& shot, int minWidth = 10) {
    return QTest::qWaitFor(
        [&] {
            shot = Shot(window);
            const QImage pixels = shot.copy(board).createMaskFromColor(pen, Qt::MaskOutColor);
            const QRect box = QRegion(QBitmap::fromImage(pixels)).boundingRect();
            return box.width() > minWidth &&
                   (board.topLeft() + box.center() - point).manhattanLength() <= 4;
        },
        kWaitMs);
}

// A picture of the window with the numbers the manual gives the controls without a caption of
// their own, in red discs inside their top right corners.
QImage NumberedControls(QImage window, const QWidget& twin) {
    QPainter painter(&window);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(QFont(painter.font().family(), 8, QFont::Bold));
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(QColor(200, 0, 0));
    int number = 0;
    for (const QString name :
         {"logo", "bitmapText", "rotationText", "pkpText", "partsPerFaceText", "calibrationText",
          "pcbCount", "magnifierFrame", "pictureFrame", "partList"}) {
        const QRect control = twin.findChild<QWidget*>(name)->geometry();
        const QRectF disc(QPointF(control.topRight()) + QPointF(-27, 3), QSizeF(18, 18));
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

    // The program started in the folder, and its window of that title once it has the focus (a
    // window that has just appeared may miss a click); none when it did not appear.
    auto start(const QString& folder, const QString& title, const QString& path = KAVELTO_PROGRAM,
               const QStringList& arguments = {}) {
        auto program = std::make_unique<QProcess>();
        program->setWorkingDirectory(folder);
        program->start(path, arguments);
        program->waitForStarted(kWaitMs);
        const QString window = WindowsOf(*program, title, true).value(0);
        if (!window.isEmpty())
            Xdotool({"windowfocus", "--sync", window});
        return std::pair{std::move(program), window};
    }

    // The first document the "open" action was given.
    QString opened() const {
        QFile record(launcher_ + "/opened.txt");
        (void)QTest::qWaitFor([&] { return record.exists(); }, kWaitMs);
        record.open(QIODevice::ReadOnly);
        return QUrl(QString::fromLocal8Bit(record.readLine()).trimmed()).toLocalFile();
    }

    // The file chooser the button opens, answered with a name typed in its folder. A click
    // that the window missed is repeated: while a chooser is open, the window takes none.
    void chooseFile(const QProcess& program, const QString& window, const QPoint& button,
                    const QString& name) {
        QString chooser;
        for (int click = 0; click < 3 && chooser.isEmpty(); ++click) {
            Click(window, button);
            chooser = WindowsOf(program, "^Open", true).value(0);
        }
        QVERIFY2(!chooser.isEmpty(), "no file chooser");
        Xdotool({"windowfocus", "--sync", chooser, "type", "--delay", "5", name});
        Keys(chooser, {"Return"});
        QVERIFY(QTest::qWaitFor([&] { return WindowsOf(program, "^Open").isEmpty(); }, kWaitMs));
    }

    // A window of the program's code, never shown, that keeps its sessions under stateHome (apart
    // from the program's, so that its loads never take the program's lock) and reads the column
    // layout.
    static std::unique_ptr<CPlacementDlg>
    TwinKeepingIn(const QString& stateHome, FakePlatform& platform, const QString& columnMap) {
        const QByteArray state = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome));
        auto twin = std::make_unique<CPlacementDlg>(platform);
        qputenv("XDG_STATE_HOME", state);
        twin->setAttribute(Qt::WA_DontShowOnScreen);
        if (!twin->LoadColumnMap(columnMap))
            return nullptr;
        twin->show();
        return twin;
    }

    // The part's row selected with the keys and a press on its pixel, once the program boxes the
    // point pressed; the press.
    static QPoint PressOnPart(const QString& window, const CPlacementDlg& twin,
                              const TruthPart& part, QImage& shot) {
        Keys(window, QStringList{"Home"} + QStringList(RowOf(twin, part), "Down"));
        const QPoint press = WindowPointNearest(twin, part.pixel);
        Click(window, press);
        const QRect board = twin.findChild<QWidget*>("pictureFrame")->geometry();
        return WaitForBox(window, board, kPressedPen, press, shot) ? press : QPoint();
    }

    // Enter three times on the first row, in the program and the twin alike; a new kind of part
    // brings its box, which Enter answers first.
    void placeThree(const QProcess& program, const QString& window, CPlacementDlg& twin,
                    const FakePlatform& platform, const QString& boxShot = {}) {
        QWidget* list = twin.findChild<QWidget*>("partList");
        Keys(window, {"Home"});
        QTest::keyClick(list, Qt::Key_Home);
        for (int enter = 0; enter < 3; ++enter) {
            const qsizetype boxes = platform.messages.size();
            QTest::keyClick(list, Qt::Key_Return);
            Keys(window, {"Return"});
            if (platform.messages.size() == boxes)
                continue;
            const QString box = WindowsOf(program, "^Placement$", true).value(0);
            QVERIFY2(!box.isEmpty(), "no New part box");
            if (!boxShot.isEmpty())
                saveShot(Shot(box), boxShot);
            Keys(box, {"Return"});
            QTRY_VERIFY_WITH_TIMEOUT(WindowsOf(program, "^Placement$").isEmpty(), kWaitMs);
        }
    }

    static bool copyFolder(const QString& from, const QString& to) {
        const QFileInfoList files = QDir(from).entryInfoList(QDir::Files);
        return QDir().mkpath(to) &&
               std::all_of(files.begin(), files.end(), [&](const QFileInfo& file) {
                   return QFile::copy(file.filePath(), to + '/' + file.fileName());
               });
    }

    // For the manual's pictures, taken by scripts/screenshots.sh.
    static void saveShot(const QImage& image, const QString& name) {
        const QString folder = qEnvironmentVariable("KAVELTO_SCREENSHOTS");
        QVERIFY(folder.isEmpty() ||
                image.convertToFormat(QImage::Format_Indexed8).save(folder + '/' + name));
    }

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        // The programs started keep their state here and find the recording "open" first.
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir_.filePath("state")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath("config")));
        qputenv("TMPDIR", QFile::encodeName(dir_.path()));
        qputenv("PATH", QFile::encodeName(launcher_) + ':' + qgetenv("PATH"));
        QVERIFY(QDir().mkpath(work_) && QDir().mkpath(launcher_));
        for (const char* name : {"Kavelto.ini", "coldfire.csv", "coldfire-top.jpg"})
            QVERIFY(QFile::copy(QStringLiteral(DEMO_DIR "/") + name, work_ + '/' + name));
        QVERIFY(QFile::copy(QStringLiteral(KAVELTO_MANUAL), work_ + "/KaveltoManual.pdf"));
        QFile launcher(launcher_ + "/xdg-open");
        QVERIFY(launcher.open(QIODevice::WriteOnly, QFile::ReadOwner | QFile::ExeOwner));
        launcher.write("#!/bin/sh\necho \"$1\" >> \"$(dirname \"$0\")/opened.txt\"\n");
    }

    // Only the "Error" box, which offers to create the user's configuration; No (Esc) ends with
    // status 1 (the launcher's folder has no configuration) and creates nothing.
    void withoutConfigurationOnlyTheErrorBox() {
        const auto [program, box] = start(launcher_, "^Error$");
        QVERIFY2(!box.isEmpty(), "no Error box");
        QVERIFY(WindowsOf(*program, kMainWindow).isEmpty());
        Keys(box, {"Escape"});
        QCOMPARE(Ended(*program), 1);
        QVERIFY(!QFile::exists(dir_.filePath("config/kavelto/Kavelto.ini")));
    }

    // The demo's first steps: load both files through the choosers, calibrate on two parts'
    // true pixels, place three parts with Enter, the "New part !" box answered; "Need help ?"
    // opens the folder's manual; Esc.
    void firstSessionOnTheDemoBoard() {
        FakePlatform platform;
        const auto twin =
            TwinKeepingIn(dir_.filePath("twin-state"), platform, work_ + "/Kavelto.ini");
        QVERIFY(twin);
        const auto [program, window] = start(work_, kMainWindow);
        QVERIFY2(!window.isEmpty(), "no main window");
        QCOMPARE(Shot(window).size(), twin->size());
        const auto at = [&](const char* control) {
            return twin->findChild<QWidget*>(control)->geometry().center();
        };
        chooseFile(*program, window, at("loadPkp"), "coldfire.csv");
        chooseFile(*program, window, at("loadBitmap"), "coldfire-top.jpg");
        twin->loadFile(CommandId::LoadPkpFile, (work_ + "/coldfire.csv").toStdString());
        twin->loadFile(CommandId::LoadBitmap, (work_ + "/coldfire-top.jpg").toStdString());
        twin->grab(); // a press converts with the scale of the last paint

        const QRect board = twin->findChild<QWidget*>("pictureFrame")->geometry();
        const auto face = ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"), false);
        QImage shot;
        QVERIFY2(!PressOnPart(window, *twin, face.front(), shot).isNull(), "no box where pressed");
        saveShot(shot.copy(QRect(board.topLeft(), QSize(320, 200))), "calibration-press.png");
        Click(window, at("cal1"));
        QVERIFY2(!PressOnPart(window, *twin, face.back(), shot).isNull(), "no box where pressed");
        Click(window, at("cal2"));
        placeThree(*program, window, *twin, platform, "new-part.png");

        // The box of the part now selected, the fourth row, lies on that part's true pixel.
        const auto truth = std::find_if(face.begin(), face.end(), [&](const TruthPart& part) {
            return RowOf(*twin, part) == 3;
        });
        QVERIFY2(WaitForBox(window, board, kLocatedPen, WindowPointNearest(*twin, truth->pixel),
                            shot, 4),
                 "no box on the part's true pixel");
        saveShot(NumberedControls(shot, *twin), "window.png");

        Click(window, at("needHelp"));
        QCOMPARE(opened(), work_ + "/KaveltoManual.pdf");
        Keys(window, {"Escape"});
        QCOMPARE(Ended(*program), 0);
    }

    // A first run from anywhere, the board's folder (without Kavelto.ini) and files named: the
    // box offers the user's configuration, Yes (Enter) creates it and opens the window on both
    // files. Calibrated through the magnifier on two parts, the top face keeps its calibration
    // through a turn to the bottom face and back: its first part is boxed on its true pixel
    // again.
    void firstRunNamesItsFilesAndKeepsTheFacesCalibration() {
        QFile::remove(dir_.filePath("config/kavelto/Kavelto.ini"));
        QVERIFY(QFile::rename(work_ + "/Kavelto.ini", dir_.filePath("Kavelto.ini.aside")));
        // "Show all parts of this kind" checked at an earlier run, for the manual's picture of
        // the rings.
        QVERIFY(QDir().mkpath(dir_.filePath("config/Kavelto")));
        QFile settings(dir_.filePath("config/Kavelto/kavelto.conf"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[General]\nshowKindSpots=true\n");
        settings.close();
        const auto [program, box] = start(launcher_, "^Error$", KAVELTO_PROGRAM,
                                          {work_, "coldfire.csv", "coldfire-top.jpg"});
        QVERIFY2(!box.isEmpty(), "no offer to create the configuration");
        Keys(box, {"Return"});
        const QString window =
            WindowsOf(*program, "^coldfire.csv, coldfire-top.jpg ", true).value(0);
        QVERIFY2(!window.isEmpty(), "no main window naming both files");
        Xdotool({"windowfocus", "--sync", window});
        QVERIFY(QFile::exists(dir_.filePath("config/kavelto/Kavelto.ini")));

        FakePlatform platform;
        const auto twin = TwinKeepingIn(dir_.filePath("twin-state"), platform,
                                        dir_.filePath("config/kavelto/Kavelto.ini"));
        QVERIFY(twin);
        twin->loadFile(CommandId::LoadPkpFile, (work_ + "/coldfire.csv").toStdString());
        twin->loadFile(CommandId::LoadBitmap, (work_ + "/coldfire-top.jpg").toStdString());
        twin->grab();
        const auto at = [&](const char* control) {
            return twin->findChild<QWidget*>(control)->geometry();
        };
        const QRect board = at("pictureFrame"), magnifier = at("magnifierFrame");
        const auto face = ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"), false);
        QImage shot;
        for (const TruthPart* part : {&face.front(), &face.back()}) {
            const QPoint press = PressOnPart(window, *twin, *part, shot);
            QVERIFY2(!press.isNull(), "no box where pressed");
            PressOnPicture(*twin, press);
            const ViewState& view = twin->session().view();
            const ViewPoint lens =
                MagnifierTransform(*BoardTransform(view), view.marker->at, view.zoomBoxSize,
                                   {magnifier.width(), magnifier.height()})
                    ->toWindow(
                        {std::round(part->pixel.x()) + 0.5, std::round(part->pixel.y()) + 0.5});
            Click(window, magnifier.topLeft() + QPoint(int(lens.x), int(lens.y)));
            if (part == &face.front()) {
                QTest::qWait(300); // the magnifier's repaint
                saveShot(Shot(window).copy(magnifier), "magnifier.png");
            }
            Click(window, at(part == &face.front() ? "cal1" : "cal2").center());
        }
        Keys(window, {"Home"});
        const QPoint first = WindowPointNearest(*twin, face.front().pixel);
        QVERIFY2(WaitForBox(window, board, kLocatedPen, first, shot), "not calibrated");
        Click(window, at("bottom").center());
        Click(window, at("top").center());
        QVERIFY2(WaitForBox(window, board, kLocatedPen, first, shot), "the calibration was lost");
        // The rings of the commonest kind, on the picture's own part of the board view.
        Keys(window, QStringList{"Home"} + QStringList(FirstRowOfCommonestKind(*twin), "Down"));
        QTest::qWait(300);
        const QSize picture = QImageReader(work_ + "/coldfire-top.jpg").size();
        saveShot(Shot(window).copy(QRect(
                     board.topLeft(),
                     QSize(board.width(), board.width() * picture.height() / picture.width()))),
                 "kind-rings.png");

        // The find field, its designators offered as they are typed, over the list.
        const QImage before = Screen();
        QImage after;
        Keys(window, {"ctrl+f"});
        Xdotool({"type", "--delay", "5", "r30"});
        const QRect field = ChangedSince(before, after, 24);
        QVERIFY2(!field.isEmpty(), "no find field");
        saveShot(after.copy(field), "find-field.png");
        Xdotool({"key", "Escape"});
        QTest::qWait(500); // the field goes, the window takes the keys again
        // The right-click menu on the window's background.
        const QRect menu = RightClick(window, Background(*twin), after);
        QVERIFY2(!menu.isEmpty(), "no right-click menu");
        saveShot(after.copy(menu), "context-menu.png");
        Xdotool({"key", "Escape"});
        Keys(window, {"Escape"});
        QVERIFY(QFile::rename(dir_.filePath("Kavelto.ini.aside"), work_ + "/Kavelto.ini"));
        QCOMPARE(Ended(*program), 0);
    }

    // The marks follow their parts through a placement file exported again with one value
    // changed: three parts placed, the file rewritten, the program started again; "Restore
    // session by designators" in the right-click menu brings the marks back and its box names
    // the part whose value changed. A twin that reads a copy of the program's kept sessions
    // tells where that entry stands in the menu.
    void restoresByDesignatorsAfterAValueChanged() {
        const QString folder = dir_.filePath("reexport"), board = folder + "/board.csv";
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(QStringLiteral(DEMO_DIR "/Kavelto.ini"), folder + "/Kavelto.ini"));
        QVERIFY(QFile::copy(QStringLiteral(DEMO_DIR "/coldfire.csv"), board));
        QVERIFY(QFile::setPermissions(board, QFile::ReadOwner | QFile::WriteOwner));
        const QStringList arguments = {folder, QStringLiteral("board.csv")};
        FakePlatform platform;
        auto twin =
            TwinKeepingIn(dir_.filePath("twin-reexport"), platform, folder + "/Kavelto.ini");
        QVERIFY(twin);
        twin->loadFile(CommandId::LoadPkpFile, board.toStdString());
        {
            const auto [program, window] = start(folder, "^board.csv", KAVELTO_PROGRAM, arguments);
            QVERIFY2(!window.isEmpty(), "no main window");
            placeThree(*program, window, *twin, platform);
            Keys(window, {"Escape"});
            QCOMPARE(Ended(*program), 0);
        }

        // The design's value of the first part placed changes, and the file is written again.
        const std::vector<int> placed = twin->session().keptState().placed;
        QCOMPARE(placed.size(), std::size_t(3));
        const PartRecord changed = twin->session().table().part(placed.front());
        const QString designator = changed.designator.c_str(), value = changed.value.c_str(),
                      package = changed.package.c_str();
        QFile file(board);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(file.readAll());
        const auto quoted = [](const QString& text) { return '"' + text + '"'; };
        const QString line = quoted(designator) + ',' + quoted(value);
        QCOMPARE(text.count(line), 1);
        text.replace(line, quoted(designator) + ',' + quoted(QStringLiteral("4u7")));
        QVERIFY(!WriteFile(board, text.toUtf8()).isEmpty());

        // The entry's place among the entries shown, as the twin finds it over the same sessions.
        const QString mirror = dir_.filePath("twin-mirror");
        QVERIFY(copyFolder(dir_.filePath("state/kavelto"), mirror + "/kavelto"));
        twin = TwinKeepingIn(mirror, platform, folder + "/Kavelto.ini");
        QVERIFY(twin);
        twin->loadFile(CommandId::LoadPkpFile, board.toStdString());
        QAction* entry = nullptr;
        for (QAction* action : twin->actions())
            if (action->objectName() == QStringLiteral("command2402"))
                entry = action;
        QVERIFY2(entry && entry->isVisible(), "no entry to restore by designators");
        QVERIFY2(entry->text().startsWith(QStringLiteral("Restore session by designators (3 of ")),
                 qPrintable(entry->text()));

        const auto [program, window] = start(folder, "^board.csv", KAVELTO_PROGRAM, arguments);
        QVERIFY2(!window.isEmpty(), "no main window");
        // The window's own margin, left of its controls: they have menus of their own.
        const QPoint margin(4, twin->findChild<QWidget*>("pkpText")->geometry().center().y());
        RightPress(window, margin);
        // The menu is a window of its own. A click goes to it as soon as it is shown, whether or
        // not it holds the keyboard yet; the entry is clicked where it stands in the same menu
        // made of the twin's actions.
        const QString popup = WindowBesides(*program, window);
        QVERIFY2(!popup.isEmpty(), "no right-click menu");
        const QRect shownMenu = GeometryOf(popup);
        QMenu menu(twin.get());
        menu.addActions(twin->actions());
        QCOMPARE(shownMenu.size(), menu.sizeHint());
        const QPoint at = shownMenu.topLeft() + menu.actionGeometry(entry).center();
        Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
        const QString box = WindowsOf(*program, "^Error$", true).value(0);
        QVERIFY2(!box.isEmpty(), "no box after restoring by designators");

        // The box's text, drawn here as the program's boxes draw it, is the text shown.
        const QString expected = "The marks were restored by designator.\n\nPlaced under another "
                                 "value or package, to be looked at: " +
                                 designator + " (" + value + ", " + package + " now 4u7, " +
                                 package + ").";
        QMessageBox drawn(QMessageBox::Critical, QStringLiteral("Error"), expected,
                          QMessageBox::Ok);
        drawn.setAttribute(Qt::WA_DontShowOnScreen);
        drawn.show();
        const QImage ours = drawn.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect label = drawn.findChild<QLabel*>("qt_msgbox_label")->geometry();
        QImage shown;
        QVERIFY2(
            QTest::qWaitFor([&] { return (shown = Shot(box)).size() == ours.size(); }, kWaitMs),
            "the box is not of the size of its text");
        if (shown.convertToFormat(QImage::Format_RGB32).copy(label) != ours.copy(label)) {
            shown.save(dir_.filePath("shown-box.png"));
            QFAIL("the box does not show the text expected");
        }
        Keys(box, {"Return"});
        Keys(window, {"Escape"});
        QCOMPARE(Ended(*program), 0);
    }

    // Installed, the program opens its own manual from a folder that has none.
    void installedManualFromAnyFolder() {
        const QString prefix = dir_.filePath("prefix");
        QCOMPARE(QProcess::execute(CMAKE_COMMAND, {"--install", BUILD_DIR, "--prefix", prefix}), 0);
        QVERIFY(QFile::copy(QStringLiteral(DEMO_DIR "/Kavelto.ini"), dir_.filePath("Kavelto.ini")));
        QFile::remove(launcher_ + "/opened.txt");

        const auto [program, window] = start(dir_.path(), kMainWindow, prefix + "/bin/kavelto");
        QVERIFY2(!window.isEmpty(), "no main window");
        FakePlatform platform;
        Click(window, CPlacementDlg(platform).findChild<QWidget*>("needHelp")->geometry().center());
        QCOMPARE(opened(), prefix + "/share/doc/kavelto/KaveltoManual.pdf");
        Keys(window, {"Escape"});
        QCOMPARE(Ended(*program), 0);
    }
};

QTEST_MAIN(RealProgramTest)
#include "RealProgramTest.moc"
