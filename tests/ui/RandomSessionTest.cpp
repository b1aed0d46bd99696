#include "../support/ChildRuns.h"
#include "DisplayText.h"
#include "FakePlatform.h"
#include "PartColumns.h"
#include "TruthBoard.h"

#include <QComboBox>
#include <QImageWriter>
#include <QLineEdit>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <random>

using namespace kavelto;
using Answer = Platform::Answer;

// A long run of random actions on the main window: every button, key, menu action, press and
// drag on the picture, resize and load of good, bad, empty and random files, with the window's
// invariants checked after each. KAVELTO_RANDOM_SEED and KAVELTO_RANDOM_ACTIONS change the run;
// a failure names the seed and the actions that led to it.
class RandomSessionTest : public QObject {
    Q_OBJECT

    // Runs one action; true when it may place or unplace parts, or load new ones.
    using Act = std::function<bool(RandomSessionTest&)>;
    struct Action {
        const char* name;
        int weight;
        Act act;
    };

    QTemporaryDir dir_;
    TempFifo fifo_;
    std::mt19937 random_;
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    std::vector<std::optional<QString>> placementFiles_;
    std::vector<std::optional<QString>> pictures_;
    QString detail_; // what the last action did, for a failure's account

    int below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random_); }
    template <typename T> const T& any(const std::vector<T>& items) {
        return items[std::size_t(below(int(items.size())))];
    }
    QWidget* child(const char* name) const { return dlg_->findChild<QWidget*>(name); }
    PartListView* list() const { return dlg_->findChild<PartListView*>("partList"); }
    bool click(const char* name) {
        detail_ = QLatin1String(name);
        QTest::mouseClick(child(name), Qt::LeftButton);
        return true;
    }
    // A point of the window or up to 60 pixels beyond its edges.
    QPoint anywhere() {
        return {below(dlg_->width() + 120) - 60, below(dlg_->height() + 120) - 60};
    }
    // A point of the picture frame or up to 60 pixels beyond its edges.
    QPoint onPicture() {
        const QRect frame = BoardRect(*dlg_).adjusted(-60, -60, 60, 60);
        return frame.topLeft() + QPoint(below(frame.width()), below(frame.height()));
    }
    QString randomFile(const char* name) {
        QFile file(dir_.filePath(QLatin1String(name)));
        QByteArray bytes(below(3000), Qt::Uninitialized);
        for (char& c : bytes)
            c = char(below(4) == 0 ? "\n,;\t \"#"[below(7)] : below(256));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", name);
        return file.fileName();
    }
    void load(const char* button, const std::vector<std::optional<QString>>& files,
              const char* randomName) {
        const std::optional<QString> file = below(6) == 0 ? randomFile(randomName) : any(files);
        platform_.files = {file};
        click(button);
        detail_ += ' ' + file.value_or(QStringLiteral("cancelled"));
    }
    bool key(QWidget* to, int key, Qt::KeyboardModifiers modifiers = {}) {
        to = to ? to : dlg_.get();
        detail_ = QKeySequence(key | modifiers).toString() + " to " + to->objectName();
        QTest::keyClick(to, Qt::Key(key), modifiers);
        return true;
    }
    QWidget* anyTarget() {
        return any(std::vector<QWidget*>{dlg_.get(), QApplication::focusWidget(), list(),
                                         child("pcbCount"), child("placeUnplace")});
    }
    // Space presses a button it is sent to, which may be one that places.
    static bool placesOnSpace(const QWidget* target) {
        return target &&
               QStringList{"placeUnplace", "unplaceAll", "loadPkp"}.contains(target->objectName());
    }
    bool menu(const QString& text) {
        for (QAction* action : dlg_->actions())
            if (action->isVisible() && action->text().startsWith(text))
                action->trigger();
        return true;
    }

    // A few random answers to the boxes, then Cancel, as a user who gives up retrying; a viewer
    // for documents most of the time.
    void scriptDesktop() {
        platform_ = FakePlatform();
        for (int i = below(4); i > 0; --i)
            platform_.answers.push_back(any(std::vector<Answer>{
                Answer::Ok, Answer::Cancel, Answer::Yes, Answer::No, Answer::Retry}));
        platform_.documentsOpen = below(3) != 0;
        platform_.onMessage = [this](const FakePlatform::Message&) {
            if (platform_.answers.empty())
                platform_.answers.push_back(Answer::Cancel);
        };
    }

    static const std::vector<Action>& actions();
    QString brokenInvariant() const;
    bool writeFiles();

private slots:
    void initTestCase();
    void randomActions();
    void cleanupTestCase() { dlg_.reset(); }
};

const std::vector<RandomSessionTest::Action>& RandomSessionTest::actions() {
    using T = RandomSessionTest;
    static const std::vector<Action> table = {
        {"Load PKP file", 3,
         [](T& t) {
             t.load("loadPkp", t.placementFiles_, "r.csv");
             return true;
         }},
        {"Load Bitmap", 3,
         [](T& t) {
             t.load("loadBitmap", t.pictures_, "r.jpg");
             return false;
         }},
        {"a button", 20,
         [](T& t) {
             static const char* const names[] = {
                 "rotL",    "rotR",         "flip",         "cal1",       "cal2",     "zoomIn",
                 "zoomOut", "nextUnplaced", "placeUnplace", "unplaceAll", "pickList", "top",
                 "bottom",  "shortcuts",    "logo",         "needHelp"};
             const char* name = names[t.below(int(std::size(names)))];
             t.click(name);
             return QByteArray(name) == "placeUnplace" || QByteArray(name) == "unplaceAll";
         }},
        {"a row of the list", 10,
         [](T& t) {
             const int rows = t.list()->model()->rowCount();
             if (rows > 0)
                 ClickRow(*t.dlg_, t.below(rows));
             return false;
         }},
        {"a placing key", 8,
         [](T& t) {
             return t.key(t.anyTarget(), t.below(2) ? Qt::Key_Return : Qt::Key_Enter,
                          t.below(2) ? Qt::KeypadModifier : Qt::NoModifier);
         }},
        {"a key", 25,
         [](T& t) {
             static const int keys[] = {
                 Qt::Key_Up,       Qt::Key_Down,  Qt::Key_PageUp, Qt::Key_PageDown,
                 Qt::Key_Home,     Qt::Key_End,   Qt::Key_Delete, Qt::Key_Insert,
                 Qt::Key_Asterisk, Qt::Key_Plus,  Qt::Key_Minus,  Qt::Key_Slash,
                 Qt::Key_Left,     Qt::Key_Right, Qt::Key_Tab,    Qt::Key_Space,
                 Qt::Key_A,        Qt::Key_7,     Qt::Key_Escape, Qt::Key_Backspace};
             const int key = keys[t.below(int(std::size(keys)))];
             QWidget* target = t.anyTarget();
             t.key(target, key, t.below(2) ? Qt::KeypadModifier : Qt::NoModifier);
             return key == Qt::Key_Space && placesOnSpace(target);
         }},
        {"a press on the picture", 8,
         [](T& t) {
             QTest::mouseClick(t.dlg_->windowHandle(), Qt::LeftButton,
                               t.below(4) ? Qt::NoModifier : Qt::ControlModifier, t.onPicture());
             return false;
         }},
        {"a drag", 4,
         [](T& t) {
             QWindow* window = t.dlg_->windowHandle();
             QTest::mousePress(window, Qt::LeftButton, {}, t.onPicture());
             for (int i = t.below(5); i >= 0; --i)
                 QTest::mouseMove(window, t.below(3) ? t.onPicture() : t.anywhere());
             QTest::mouseRelease(window, Qt::LeftButton, {}, t.anywhere());
             return false;
         }},
        {"a menu action", 6,
         [](T& t) {
             static const char* const texts[] = {
                 "&About",         "Restore session",       "Find part",
                 "Show all parts", "Add calibration point", "Remove last calibration point"};
             const QString text = QLatin1String(texts[t.below(int(std::size(texts)))]);
             t.menu(text);
             return text == QLatin1String("Restore session");
         }},
        {"a part searched", 2,
         [](T& t) {
             t.menu(QStringLiteral("Find part"));
             const std::vector<std::string> names = t.dlg_->session().designators();
             QTest::keyClicks(t.child("findField"), t.below(3) && !names.empty()
                                                        ? DisplayText(t.any(names))
                                                        : QStringLiteral("zz9"));
             return t.key(t.child("findField"), t.below(4) ? Qt::Key_Return : Qt::Key_Escape);
         }},
        {"a resize", 3,
         [](T& t) {
             const int shape = t.below(4);
             t.dlg_->resize(shape == 0   ? QSize(1 + t.below(60), 1 + t.below(60))
                            : shape == 1 ? QSize(2600, 1800)
                                         : QSize(300 + t.below(1600), 200 + t.below(1200)));
             return false;
         }},
        {"a sort order", 2,
         [](T& t) {
             qobject_cast<QComboBox*>(t.child("sortBy"))->setCurrentIndex(t.below(3));
             return false;
         }},
        {"a PCB count", 2,
         [](T& t) {
             static const char* const counts[] = {"3", "", "-1", "99999999999", "x", "0", "12"};
             qobject_cast<QLineEdit*>(t.child("pcbCount"))->setText(counts[t.below(7)]);
             return false;
         }},
        {"the whole picture's decode", 2,
         [](T& t) {
             QTest::qWait(t.below(40));
             return false;
         }},
    };
    return table;
}

QString RandomSessionTest::brokenInvariant() const {
    const AssemblySession& s = dlg_->session();
    const QAbstractItemModel* model = list()->model();
    const int rows = s.faceList().faceCount;
    if (model->rowCount() != rows)
        return QStringLiteral("%1 rows for a face count of %2").arg(model->rowCount()).arg(rows);
    for (int row = 0; row < rows; ++row) {
        const PartRecord& part = s.table().parts[std::size_t(s.faceList().indexes[row])];
        if (model->index(row, int(PartColumn::PartId)).data() != DisplayText(DesignatorText(part)))
            return QStringLiteral("row %1 does not show its record").arg(row);
        if ((model->index(row, 0).data() == QLatin1String("DONE")) != (part.placed != 0))
            return QStringLiteral("row %1's placed column differs from its record").arg(row);
    }
    const std::optional<int> selected = list()->selectedRow();
    if (selected && (*selected < 0 || *selected >= rows))
        return QStringLiteral("row %1 selected in a list of %2").arg(*selected).arg(rows);
    const QString calibration = dlg_->findChild<QLineEdit*>("calibrationText")->text();
    if (!calibration.startsWith(QLatin1String(CalStatusText(s.calibration().state))))
        return QStringLiteral("calibration field \"%1\" for state %2")
            .arg(calibration)
            .arg(int(s.calibration().state));
    return {};
}

bool RandomSessionTest::writeFiles() {
    bool written = true;
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(dir_.filePath(QLatin1String(name)));
        written = written && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        return std::optional<QString>(file.fileName());
    };
    QByteArray many = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
    for (int i = 0; i < 600; ++i)
        many += QStringLiteral("R%1,%2k,0603,%3,%4,90,%5\n")
                    .arg(i)
                    .arg(i % 7)
                    .arg(i % 40 + 3)
                    .arg(-(i / 40) - 3)
                    .arg(i % 3 ? "top" : "bottom")
                    .toLatin1();
    QFile cut(QStringLiteral(DEMO_DIR "/coldfire-top.jpg"));
    QImage tall(90, 300, QImage::Format_RGB32);
    tall.fill(Qt::darkGreen);
    written = written && cut.open(QIODevice::ReadOnly) && tall.save(dir_.filePath("tall.bmp"));
    const std::optional<QString> fifo = QString::fromStdString(fifo_.path());
    placementFiles_ = {QStringLiteral(DEMO_DIR "/coldfire.csv"),
                       QStringLiteral(DEMO_DIR "/coldfire.csv"),
                       write("many.csv", many),
                       write("short.csv", "Ref,Val\nR1,1k,0603,1,2,0,top\nR2\n"),
                       write("empty.csv", ""),
                       QStringLiteral(TEST_DATA_DIR "/formats/easyeda.csv"),
                       dir_.filePath("missing.csv"),
                       dir_.path(),
                       fifo,
                       std::nullopt};
    pictures_ = {QStringLiteral(DEMO_DIR "/coldfire-top.jpg"),
                 QStringLiteral(DEMO_DIR "/coldfire-bottom.jpg"),
                 QStringLiteral(DEMO_DIR "/coldfire-top-phone.jpg"),
                 dir_.filePath("tall.bmp"),
                 write("cut.jpg", cut.read(cut.size() / 2)),
                 write("empty.jpg", ""),
                 dir_.filePath("missing.jpg"),
                 fifo,
                 std::nullopt};
    return written;
}

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

void RandomSessionTest::initTestCase() {
    gTestHandler = qInstallMessageHandler(QuietAboutPointerBeyondWindow);
    QVERIFY(dir_.isValid());
    qputenv("TMPDIR", QFile::encodeName(dir_.path()));
    QVERIFY(writeFiles());
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
    int totalWeight = 0;
    for (const Action& action : actions())
        totalWeight += action.weight;
    QStringList recent;
    for (int n = 0; n < count; ++n) {
        int draw = below(totalWeight);
        const Action* action = &actions().front();
        while (draw >= action->weight)
            draw -= (action++)->weight;
        const PartTable& table = dlg_->session().table();
        std::vector<std::uint8_t> placed(std::size_t(table.partCount));
        for (std::size_t i = 0; i < placed.size(); ++i)
            placed[i] = table.parts[i].placed;

        scriptDesktop();
        detail_.clear();
        const bool mayPlace = action->act(*this);
        if (!dlg_->isVisible())
            dlg_->show(); // Escape closed it
        QCoreApplication::processEvents();

        recent.append(QString::number(n) + ' ' + QLatin1String(action->name) + ": " + detail_);
        if (recent.size() > 12)
            recent.removeFirst();
        QString broken = brokenInvariant();
        bool marksKept = mayPlace || int(placed.size()) == table.partCount;
        for (std::size_t i = 0; marksKept && !mayPlace && i < placed.size(); ++i)
            marksKept = placed[i] == table.parts[i].placed;
        if (broken.isEmpty() && !marksKept)
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
