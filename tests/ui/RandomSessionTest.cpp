#include "../support/ChildRuns.h"
#include "DisplayText.h"
#include "FakePlatform.h"
#include "PartColumns.h"
#include "TruthBoard.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include <random>

using namespace kavelto;
using Answer = Platform::Answer;

namespace {

QtMessageHandler gTestHandler = nullptr;

// Presses and drags leaving the window are the point of the run, not news.
void QuietAboutPointerBeyondWindow(QtMsgType type, const QMessageLogContext& context,
                                   const QString& message) {
    if (!message.contains(QLatin1String("outside target window")) &&
        !message.contains(QLatin1String("This plugin does not support")))
        gTestHandler(type, context, message);
}

} // namespace

// A long run of random actions on the main window: every button, key, menu action, press and
// drag on the picture, resize and load of good, bad, empty and random files, with the window's
// invariants checked after each. KAVELTO_RANDOM_SEED and KAVELTO_RANDOM_ACTIONS change the run;
// a failure names the seed and the actions that led to it.
class RandomSessionTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    TempFifo fifo_;
    std::mt19937 random_;
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    std::vector<std::optional<QString>> placementFiles_, pictures_;
    bool mayPlace_ = false; // whether the last action may place or unplace parts, or load new ones

    int below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random_); }
    template <typename T> T any(const std::vector<T>& items) {
        return items[std::size_t(below(int(items.size())))];
    }
    QWidget* child(const char* name) const { return dlg_->findChild<QWidget*>(name); }
    // A point of the area or up to 60 pixels beyond its edges.
    QPoint around(const QRect& area) {
        const QRect wider = area.adjusted(-60, -60, 60, 60);
        return wider.topLeft() + QPoint(below(wider.width()), below(wider.height()));
    }
    QString write(const char* name, const QByteArray& bytes) const {
        QFile file(dir_.filePath(QLatin1String(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", name);
        return file.fileName();
    }
    // One of the files, or one time in six a new file of random bytes, through the chooser.
    QString load(const char* button, const std::vector<std::optional<QString>>& files,
                 const char* randomName) {
        std::optional<QString> file = any(files);
        if (below(6) == 0) {
            QByteArray bytes(below(3000), Qt::Uninitialized);
            for (char& c : bytes)
                c = char(below(4) == 0 ? "\n,;\t \"#"[below(7)] : below(256));
            file = write(randomName, bytes);
        }
        platform_.files = {file};
        QTest::mouseClick(child(button), Qt::LeftButton);
        return QLatin1String(button) + ' ' + file.value_or(QStringLiteral("cancelled"));
    }
    // The key to any control that may have the focus; Space presses a button, which may place.
    QString key(int key) {
        QWidget* to =
            any(std::vector<QWidget*>{dlg_.get(), QApplication::focusWidget(), child("partList"),
                                      child("pcbCount"), child("placeUnplace")});
        to = to ? to : dlg_.get();
        const Qt::KeyboardModifiers modifiers = below(2) ? Qt::KeypadModifier : Qt::NoModifier;
        mayPlace_ =
            key == Qt::Key_Return || key == Qt::Key_Enter ||
            (key == Qt::Key_Space &&
             QStringList{"placeUnplace", "unplaceAll", "loadPkp"}.contains(to->objectName()));
        const QString done = QKeySequence(key | modifiers).toString() + " to " + to->objectName();
        QTest::keyClick(to, Qt::Key(key), modifiers);
        return done;
    }

    // A few random answers to the boxes, then Cancel, as a user who gives up retrying; a viewer
    // for documents most of the time.
    void scriptDesktop() {
        platform_ = FakePlatform();
        for (int i = below(4); i > 0; --i)
            platform_.answers.push_back(
                any<Answer>({Answer::Ok, Answer::Cancel, Answer::Yes, Answer::No, Answer::Retry}));
        platform_.documentsOpen = below(3) != 0;
        platform_.onMessage = [this](const FakePlatform::Message&) {
            if (platform_.answers.empty())
                platform_.answers.push_back(Answer::Cancel);
        };
    }

    QString act();
    QString brokenInvariant() const;

private slots:
    void initTestCase();
    void randomActions();
    void cleanupTestCase() { dlg_.reset(); }
};

// One action, drawn by weight, and what it did.
QString RandomSessionTest::act() {
    static const std::vector<const char*> buttons = {
        "rotL",    "rotR",         "flip",         "cal1",       "cal2",     "zoomIn",
        "zoomOut", "nextUnplaced", "placeUnplace", "unplaceAll", "pickList", "top",
        "bottom",  "shortcuts",    "logo",         "needHelp"};
    static const std::vector<int> keys = {
        Qt::Key_Up,    Qt::Key_Down,   Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home,
        Qt::Key_End,   Qt::Key_Delete, Qt::Key_Insert, Qt::Key_Asterisk, Qt::Key_Plus,
        Qt::Key_Minus, Qt::Key_Slash,  Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Tab,
        Qt::Key_Space, Qt::Key_A,      Qt::Key_7,      Qt::Key_Escape,   Qt::Key_Backspace};
    static const std::vector<const char*> menu = {
        "&About",         "Restore session",       "Find part",
        "Show all parts", "Add calibration point", "Remove last calibration point"};
    static std::discrete_distribution<int> kind({3, 3, 20, 10, 8, 25, 8, 4, 6, 2, 3, 2, 2, 2});
    QWindow* window = dlg_->windowHandle();
    const QRect picture = BoardRect(*dlg_);
    mayPlace_ = false;
    switch (kind(random_)) {
    case 0:
        mayPlace_ = true;
        return load("loadPkp", placementFiles_, "r.csv");
    case 1:
        return load("loadBitmap", pictures_, "r.jpg");
    case 2: {
        const QString name = QLatin1String(any(buttons));
        mayPlace_ = name == QLatin1String("placeUnplace") || name == QLatin1String("unplaceAll");
        QTest::mouseClick(dlg_->findChild<QWidget*>(name), Qt::LeftButton);
        return name;
    }
    case 3: {
        const int row = below(dlg_->session().faceList().faceCount);
        if (dlg_->session().faceList().faceCount > 0)
            ClickRow(*dlg_, row);
        return QStringLiteral("row %1").arg(row);
    }
    case 4:
        return key(below(2) ? Qt::Key_Return : Qt::Key_Enter);
    case 5:
        return key(any(keys));
    case 6:
        QTest::mouseClick(window, Qt::LeftButton, below(4) ? Qt::NoModifier : Qt::ControlModifier,
                          around(picture));
        return QStringLiteral("press");
    case 7:
        QTest::mousePress(window, Qt::LeftButton, {}, around(picture));
        for (int i = below(5); i >= 0; --i)
            QTest::mouseMove(window, around(below(3) ? picture : dlg_->rect()));
        QTest::mouseRelease(window, Qt::LeftButton, {}, around(dlg_->rect()));
        return QStringLiteral("drag");
    case 8: {
        const QString text = QLatin1String(any(menu));
        for (QAction* action : dlg_->actions())
            if (action->isVisible() && action->text().startsWith(text))
                action->trigger();
        mayPlace_ = text == QLatin1String("Restore session");
        return text;
    }
    case 9: {
        QTest::keyClick(dlg_.get(), Qt::Key_F, Qt::ControlModifier);
        const std::vector<std::string> names = dlg_->session().designators();
        const QString name =
            below(3) && !names.empty() ? DisplayText(any(names)) : QStringLiteral("zz9");
        QTest::keyClicks(child("findField"), name);
        QTest::keyClick(child("findField"), below(4) ? Qt::Key_Return : Qt::Key_Escape);
        return QStringLiteral("find ") + name;
    }
    case 10: {
        const int shape = below(4);
        dlg_->resize(shape == 0   ? QSize(1 + below(60), 1 + below(60))
                     : shape == 1 ? QSize(2600, 1800)
                                  : QSize(300 + below(1600), 200 + below(1200)));
        return QStringLiteral("resize");
    }
    case 11:
        qobject_cast<QComboBox*>(child("sortBy"))->setCurrentIndex(below(3));
        return QStringLiteral("sort order");
    case 12: {
        const QString count = any<QString>({"3", "", "-1", "99999999999", "x", "0", "12"});
        qobject_cast<QLineEdit*>(child("pcbCount"))->setText(count);
        return QStringLiteral("PCB count ") + count;
    }
    default: // time for the whole picture's decode
        QTest::qWait(below(40));
        return QStringLiteral("wait");
    }
}

QString RandomSessionTest::brokenInvariant() const {
    const AssemblySession& s = dlg_->session();
    const auto* list = dlg_->findChild<PartListView*>("partList");
    const int rows = s.faceList().faceCount;
    if (list->model()->rowCount() != rows)
        return QStringLiteral("%1 rows for a face count of %2")
            .arg(list->model()->rowCount())
            .arg(rows);
    for (int row = 0; row < rows; ++row) {
        const PartRecord& part = s.table().parts[std::size_t(s.faceList().indexes[row])];
        if (list->model()->index(row, int(PartColumn::PartId)).data() !=
            DisplayText(DesignatorText(part)))
            return QStringLiteral("row %1 does not show its record").arg(row);
        if ((list->model()->index(row, 0).data() == QLatin1String("DONE")) != (part.placed != 0))
            return QStringLiteral("row %1's placed column differs from its record").arg(row);
    }
    const std::optional<int> selected = list->selectedRow();
    if (selected && (*selected < 0 || *selected >= rows))
        return QStringLiteral("row %1 selected in a list of %2").arg(*selected).arg(rows);
    const QString calibration = dlg_->findChild<QLineEdit*>("calibrationText")->text();
    if (!calibration.startsWith(QLatin1String(CalStatusText(s.calibration().state))))
        return QStringLiteral("calibration field \"%1\" for state %2")
            .arg(calibration)
            .arg(int(s.calibration().state));
    return {};
}

void RandomSessionTest::initTestCase() {
    gTestHandler = qInstallMessageHandler(QuietAboutPointerBeyondWindow);
    QVERIFY(dir_.isValid());
    qputenv("TMPDIR", QFile::encodeName(dir_.path()));
    QByteArray many = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
    for (int i = 0; i < 600; ++i)
        many += QString::asprintf("R%d,%dk,0603,%d,%d,90,%s\n", i, i % 7, i % 40 + 3, -(i / 40) - 3,
                                  i % 3 ? "top" : "bottom")
                    .toLatin1();
    QFile jpeg(QStringLiteral(DEMO_DIR "/coldfire-top.jpg"));
    QImage tall(90, 300, QImage::Format_RGB32);
    tall.fill(Qt::darkGreen);
    QVERIFY(jpeg.open(QIODevice::ReadOnly) && tall.save(dir_.filePath("tall.bmp")));
    const QString demo = QStringLiteral(DEMO_DIR "/");
    const QString fifo = QString::fromStdString(fifo_.path());
    placementFiles_ = {demo + "coldfire.csv",
                       demo + "coldfire.csv",
                       write("many.csv", many),
                       write("short.csv", "Ref,Val\nR1,1k,0603,1,2,0,top\nR2\n"),
                       write("empty.csv", ""),
                       QStringLiteral(TEST_DATA_DIR "/formats/easyeda.csv"),
                       dir_.filePath("missing.csv"),
                       dir_.path(),
                       fifo,
                       std::nullopt};
    pictures_ = {demo + "coldfire-top.jpg",
                 demo + "coldfire-bottom.jpg",
                 demo + "coldfire-top-phone.jpg",
                 dir_.filePath("tall.bmp"),
                 write("cut.jpg", jpeg.read(jpeg.size() / 2)),
                 write("empty.jpg", ""),
                 dir_.filePath("missing.jpg"),
                 fifo,
                 std::nullopt};
    dlg_ = std::make_unique<CPlacementDlg>(platform_);
    QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
    dlg_->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
}

void RandomSessionTest::randomActions() {
    const unsigned seed = qEnvironmentVariableIsSet("KAVELTO_RANDOM_SEED")
                              ? qEnvironmentVariableIntValue("KAVELTO_RANDOM_SEED")
                              : 20240611u;
    const int count = qEnvironmentVariableIsSet("KAVELTO_RANDOM_ACTIONS")
                          ? qEnvironmentVariableIntValue("KAVELTO_RANDOM_ACTIONS")
                          : 20000;
    random_.seed(seed);
    QStringList recent;
    for (int n = 0; n < count; ++n) {
        const std::vector<int> placed = dlg_->session().keptState().placed;
        scriptDesktop();
        recent.append(QString::number(n) + ": " + act());
        if (recent.size() > 12)
            recent.removeFirst();
        if (!dlg_->isVisible())
            dlg_->show(); // Escape closed it
        QCoreApplication::processEvents();
        QString broken = brokenInvariant();
        if (broken.isEmpty() && !mayPlace_ && dlg_->session().keptState().placed != placed)
            broken = QStringLiteral("a placed mark changed");
        QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("seed %1, after action %2: %3\n%4")
                                                  .arg(seed)
                                                  .arg(n)
                                                  .arg(broken, recent.join('\n'))));
    }
    qInfo("%d random actions from seed %u", count, seed);
}

QTEST_MAIN(RandomSessionTest)
#include "RandomSessionTest.moc"
