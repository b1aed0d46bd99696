#include "../support/ChildRuns.h"
#include "DisplayText.h"
#include "FakePlatform.h"
#include "TestFiles.h"
#include "TruthBoard.h"
#include "parts/PartColumns.h"

#include <QtWidgets>

#include <random>

using namespace kavelto;

// A long run of random actions on the main window: every button, key, menu action, press and
// drag on the picture, resize and load of good, bad, empty and random files and pictures, with
// the window's invariants checked after each. KAVELTO_RANDOM_SEED and KAVELTO_RANDOM_ACTIONS
// change the run; the seed is printed first, a failure names the action after which it came, so
// that the run replays up to it.
class RandomSessionTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    TempFifo fifo_;
    std::mt19937 random_;
    FakePlatform platform_;
    CPlacementDlg dlg_{platform_};
    QStringList placementFiles_, pictures_; // an empty name cancels the chooser
    QList<QObject*> targets_; // every button, the logo and the right-click menu's actions

    int below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random_); }
    template <typename T> T any(const QList<T>& items) { return items[below(int(items.size()))]; }
    QWidget* child(const char* name) const { return dlg_.findChild<QWidget*>(name); }
    // A point of the area or up to 60 pixels beyond its edges.
    QPoint around(const QRect& area) {
        const QRect wider = area.adjusted(-60, -60, 60, 60);
        return wider.topLeft() + QPoint(below(wider.width()), below(wider.height()));
    }
    QString write(const char* name, const QByteArray& bytes) const {
        QString path = WriteFile(dir_.filePath(QLatin1String(name)), bytes);
        if (path.isEmpty())
            qFatal("cannot write %s", name);
        return path;
    }
    // One action, drawn by weight, and what it did.
    QString act() {
        // Enter and Return thrice each: the keys that walk the parts.
        static const QStringList keys =
            QStringLiteral("Up Down PgUp PgDown Home End Del Ins * + - / Left Right Tab Space A 7 "
                           "Esc Backspace Return Enter Return Enter Return Enter")
                .split(' ');
        static std::discrete_distribution<int> kind({6, 26, 10, 33, 12, 2, 3, 4, 2});
        const QRect picture = child("pictureFrame")->geometry();
        const int rows = dlg_.session().faceList().faceCount;
        switch (kind(random_)) {
        case 0: { // one of the files, or one time in six a new file of random bytes, chosen
            const bool pkp = below(2);
            QString file = any(pkp ? placementFiles_ : pictures_);
            if (below(6) == 0) {
                QByteArray bytes(below(3000), Qt::Uninitialized);
                for (char& c : bytes)
                    c = char(below(4) == 0 ? "\n,;\t \"#"[below(7)] : below(256));
                file = write(pkp ? "r.csv" : "r.jpg", bytes);
            }
            platform_.files = file.isEmpty() ? QStringList() : QStringList{file};
            QTest::mouseClick(child(pkp ? "loadPkp" : "loadBitmap"), Qt::LeftButton);
            return (pkp ? "loadPkp " : "loadBitmap ") + file;
        }
        case 1: {
            QObject* target = any(targets_);
            if (auto* action = qobject_cast<QAction*>(target); action && action->isVisible())
                action->trigger();
            else if (auto* widget = qobject_cast<QWidget*>(target))
                QTest::mouseClick(widget, Qt::LeftButton);
            return target->objectName() + ' ' + target->property("text").toString();
        }
        case 2:
            if (rows > 0)
                ClickRow(dlg_, below(rows));
            return QStringLiteral("row");
        case 3: { // to any control that may have the focus; Space presses a button
            QWidget* to = any<QWidget*>({&dlg_, QApplication::focusWidget(), child("partList"),
                                         child("pcbCount"), child("placeUnplace")});
            to = to ? to : &dlg_;
            const QKeySequence key((below(2) ? "" : "Num+") + any(keys));
            QTest::keyClick(to, key[0].key(), key[0].keyboardModifiers());
            return key.toString() + " to " + to->objectName();
        }
        case 4: // a press, identifying with Ctrl, or a drag that may leave the window
            QTest::mousePress(dlg_.windowHandle(), Qt::LeftButton,
                              below(4) ? Qt::NoModifier : Qt::ControlModifier, around(picture));
            for (int i = below(8) - 4; i >= 0; --i)
                QTest::mouseMove(dlg_.windowHandle(), around(below(3) ? picture : dlg_.rect()));
            QTest::mouseRelease(dlg_.windowHandle(), Qt::LeftButton, {}, around(dlg_.rect()));
            return QStringLiteral("press or drag");
        case 5: { // a designator shown in the list, or none
            QString name = QStringLiteral("zz9");
            if (rows > 0 && below(3))
                name = DisplayText(DesignatorText(dlg_.session().partAtRow(below(rows))));
            QTest::keyClick(&dlg_, Qt::Key_F, Qt::ControlModifier);
            QTest::keyClicks(child("findField"), name);
            QTest::keyClick(child("findField"), below(4) ? Qt::Key_Return : Qt::Key_Escape);
            return QStringLiteral("find ") + name;
        }
        case 6:
            dlg_.resize(below(4) == 0 ? QSize(1 + below(60), 1 + below(60))
                                      : QSize(300 + below(2300), 200 + below(1600)));
            return QStringLiteral("resize");
        case 7: // a PCB count, good or bad, read by the sort change
            child("pcbCount")
                ->setProperty("text", any<QString>({"3", "", "-1", "99999999999", "x", "0", "12"}));
            child("sortBy")->setProperty("currentIndex", below(3));
            return QStringLiteral("PCB count and sort order");
        default: // time for the whole picture's decode
            QTest::qWait(below(40));
            return QStringLiteral("wait");
        }
    }

    // What the list shows against the session: its rows, each row's placed mark and designator,
    // the selected row; and the calibration field.
    QString brokenInvariant() const {
        const AssemblySession& s = dlg_.session();
        const auto* list = dlg_.findChild<PartListView*>("partList");
        const QAbstractItemModel& model = *list->model();
        const int rows = s.faceList().faceCount;
        if (model.rowCount() != rows)
            return QStringLiteral("%1 rows for a face count of %2").arg(model.rowCount()).arg(rows);
        for (int row = 0; row < rows; ++row) {
            const QString shown = model.index(row, 0).data().toString() + ' ' +
                                  model.index(row, int(PartColumn::PartId)).data().toString();
            const PartRecord& part = s.partAtRow(row);
            const char* mark = s.isNotFittedAtRow(row) ? "DNP " : part.placed ? "DONE " : " ";
            if (shown != mark + DisplayText(DesignatorText(part)))
                return QStringLiteral("row %1 shows \"%2\"").arg(row).arg(shown);
        }
        if (list->selectedRow() && (*list->selectedRow() < 0 || *list->selectedRow() >= rows))
            return QStringLiteral("row %1 selected of %2").arg(*list->selectedRow()).arg(rows);
        const QString calibration = child("calibrationText")->property("text").toString();
        if (!calibration.startsWith(QLatin1String(CalStatusText(s.calibration().state))))
            return QStringLiteral("calibration field \"%1\"").arg(calibration);
        return {};
    }

private slots:
    void initTestCase() {
        // Presses and drags leaving the window are the point of the run, not news.
        static const QtMessageHandler testHandler = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                static const QRegularExpression news("outside target window|does not support");
                if (!message.contains(news))
                    testHandler(type, context, message);
            });
        qputenv("TMPDIR", QFile::encodeName(dir_.path()));
        QFile jpeg(QStringLiteral(DEMO_DIR "/coldfire-top.jpg"));
        QVERIFY(jpeg.open(QIODevice::ReadOnly));
        const QString demo = QStringLiteral(DEMO_DIR "/"),
                      fifo = QString::fromStdString(fifo_.path());
        placementFiles_ << demo + "coldfire.csv" << demo + "coldfire.csv"
                        << write("short.csv", "Ref,Val\nR1,1k,0603,1,2,0,top\nR2\n")
                        << write("empty.csv", "")
                        << QStringLiteral(TEST_DATA_DIR "/formats/easyeda.csv")
                        << dir_.filePath("missing.csv") << dir_.path() << fifo << QString();
        pictures_ << demo + "coldfire-top.jpg" << demo + "coldfire-bottom.jpg"
                  << demo + "coldfire-top-phone.jpg" << write("cut.jpg", jpeg.read(jpeg.size() / 2))
                  << write("empty.jpg", "") << dir_.filePath("missing.jpg") << fifo << QString();
        QVERIFY(dlg_.LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
        for (QAbstractButton* button : dlg_.findChildren<QAbstractButton*>())
            targets_ << button;
        for (QAction* action : dlg_.actions())
            targets_ << action;
        targets_ << child("logo");
        dlg_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg_));
    }

    void randomActions() {
        const int seed = qEnvironmentVariable("KAVELTO_RANDOM_SEED", "20240611").toInt();
        const int count = qEnvironmentVariable("KAVELTO_RANDOM_ACTIONS", "20000").toInt();
        qInfo("%d random actions from seed %d", count, seed);
        // The actions, as act() tells them, that may place or unplace parts or load new ones:
        // Enter, a button that places, pressed or given Space, the loads, the session restored,
        // and undo and redo.
        static const QRegularExpression mayPlace(
            QStringLiteral("Return|Enter|(: |Space to )(placeUnplace|unplaceAll|loadPkp)|Restore "
                           "session|Undo|Redo"));
        random_.seed(unsigned(seed));
        for (int n = 0; n < count; ++n) {
            const std::vector<int> placed = dlg_.session().keptState().placed;
            // A few random answers to the boxes (Ok, Cancel, Yes, No or Retry), then Cancel to
            // every box, as a user who gives up retrying; a viewer for documents most of the time.
            platform_ = FakePlatform();
            for (int i = below(4); i > 0; --i)
                platform_.answers << Platform::Answer(below(5));
            platform_.answers << QList<Platform::Answer>(50, Platform::Answer::Cancel);
            platform_.documentsOpen = below(3) != 0;
            const QString did = QString::number(n) + ": " + act();
            if (!dlg_.isVisible())
                dlg_.show(); // Escape closed it
            QCoreApplication::processEvents();
            QString broken = brokenInvariant();
            if (broken.isEmpty() && !did.contains(mayPlace) &&
                dlg_.session().keptState().placed != placed)
                broken = QStringLiteral("a placed mark changed");
            QVERIFY2(broken.isEmpty(), qPrintable("after action " + did + ": " + broken));
        }
    }
};

QTEST_MAIN(RandomSessionTest)
#include "RandomSessionTest.moc"
