#include "AppIdentity.h"
#include "FakePlatform.h"
#include "TruthBoard.h"

#include <QtTest>
#include <QtWidgets>

#include <unistd.h>

using namespace kavelto;
using Answer = Platform::Answer;

namespace {

// Each shortcut key on a control that would use it itself, from row 10 of the demo board's 146
// top parts: the selected row, the view's turn and magnifier box size, and whether row 10 is
// placed after.
struct KeyCase {
    const char* name;
    const char* focus;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* after;
};

const KeyCase kKeys[] = {
    {"Enter", "pcbCount", Qt::Key_Return, {}, "11 0 100 DONE"},
    {"keypad Enter", "partList", Qt::Key_Enter, Qt::KeypadModifier, "11 0 100 DONE"},
    {"Page Up", "partList", Qt::Key_PageUp, {}, "2 0 100 "},
    {"Page Down", "partList", Qt::Key_PageDown, {}, "18 0 100 "},
    {"Home", "pcbCount", Qt::Key_Home, {}, "0 0 100 "},
    {"End", "pcbCount", Qt::Key_End, {}, "145 0 100 "},
    {"Up", "partList", Qt::Key_Up, {}, "9 0 100 "},
    {"Down", "rotR", Qt::Key_Down, {}, "11 0 100 "},
    {"Delete", "pcbCount", Qt::Key_Delete, {}, "11 0 100 "},
    {"Insert", "pcbCount", Qt::Key_Insert, {}, "10 0 100 "},
    {"keypad 0 (Ins)", "partList", Qt::Key_Insert, Qt::KeypadModifier, "10 0 100 "},
    {"keypad *", "rotR", Qt::Key_Asterisk, Qt::KeypadModifier, "10 90 100 "},
    {"keypad /", "partList", Qt::Key_Slash, Qt::KeypadModifier, "10 270 100 "},
    {"keypad +", "pcbCount", Qt::Key_Plus, Qt::KeypadModifier, "10 0 76 "},
    {"keypad -", "rotR", Qt::Key_Minus, Qt::KeypadModifier, "10 0 130 "},
};

} // namespace

// The window's own part: the boxes it shows and when, the shortcut keys, which act whichever
// control has the focus and which the control never sees, the small windows, the pick list's
// outputs. The rules behind each handler are the session's, tested in the core.
class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    const QString folder_ = dir_.filePath(QStringLiteral("kavelto-%1").arg(geteuid()));
    const QString page_ = folder_ + QStringLiteral("/picklst.html");
    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    int presses_ = 0;

    template <typename T = QWidget> T* control(const char* name) const {
        return dlg_->findChild<T*>(QString::fromLatin1(name));
    }
    QAbstractItemModel* model() const { return control<QTableView>("partList")->model(); }
    QString text(const char* name) const { return control<QLineEdit>(name)->text(); }
    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }

    // A placement file of these lines under the demo's column names.
    void loadPkp(const QByteArray& lines) {
        QFile file(dir_.filePath(QStringLiteral("parts.csv")));
        const QByteArray contents = "Ref,Val,Package,PosX,PosY,Rot,Side\n" + lines;
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
        file.close();
        platform_->files.push_back(file.fileName());
        click("loadPkp");
    }

    // The demo board, its row 10 selected.
    bool showDemoBoard() {
        dlg_ = ShowDemoBoard(*platform_, std::nullopt, 900);
        if (dlg_)
            ClickRow(*dlg_, 10);
        return dlg_ != nullptr;
    }
    PartListView* list() const { return control<PartListView>("partList"); }
    QString placed(int row) const { return model()->index(row, 0).data().toString(); }
    QString after() const {
        const ViewState& view = dlg_->session().view();
        const int row = dlg_->session().selection().selectedRow;
        return QStringLiteral("%1 %2 %3 ").arg(row).arg(view.viewRotation).arg(view.zoomBoxSize) +
               placed(10);
    }
    // Counts the key presses that reach the watched control.
    bool eventFilter(QObject*, QEvent* event) override {
        presses_ += event->type() == QEvent::KeyPress;
        return false;
    }
    // Focus on the named control, watched.
    QWidget* focusOn(const char* name) {
        QWidget* widget = control(name);
        widget->setFocus();
        widget->installEventFilter(this);
        presses_ = 0;
        return widget;
    }

    // Each box shown so far, as its text and caption.
    QStringList boxes() const {
        QStringList shown;
        for (const FakePlatform::Message& box : platform_->messages)
            shown << box.text + '|' + box.caption;
        return shown;
    }

private slots:
    // The page goes into a folder of the user's own under the temporary directory.
    void init() {
        qputenv("TMPDIR", QFile::encodeName(dir_.path()));
        qunsetenv("XDG_RUNTIME_DIR");
        platform_ = std::make_unique<FakePlatform>();
        dlg_ = std::make_unique<CPlacementDlg>(*platform_);
        QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
    }

    void cleanup() { dlg_.reset(); }

    // Closed without a word after three parts, the window's next run offers them back. Then
    // Ctrl+F, a designator typed in any case with the designators offered as it is typed, Enter:
    // the part is selected, on the other face if need be. Esc closes the field, not the window.
    void keptSessionRestoredAndPartsFound() {
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir_.filePath("state")));
        for (int run = 0; run < 2; ++run) {
            dlg_.reset();
            dlg_ = ShowDemoBoard(*platform_, std::nullopt);
            QVERIFY(dlg_);
            QTest::keyClick(control("partList"), Qt::Key_Home);
            for (int enter = 0; run == 0 && enter < 3; ++enter)
                QTest::keyClick(control("partList"), Qt::Key_Return);
        }
        QAction* restore = nullptr;
        for (QAction* action : dlg_->actions())
            restore =
                action->text().startsWith("Restore session (3 of 146 placed, ") ? action : restore;
        QVERIFY(restore && restore->isVisible());
        restore->trigger();
        QCOMPARE(model()->index(2, 0).data().toString(), "DONE");
        for (const auto& [typed, more, face] :
             {std::tuple("u", "301", Face::Top), {"c112", "", Face::Bottom}}) {
            QTest::keyClick(dlg_.get(), Qt::Key_F, Qt::ControlModifier);
            auto* field = control<QLineEdit>("findField");
            QVERIFY(field->isVisible());
            QTest::keyClicks(field, typed);
            QVERIFY(field->completer()->completionCount() > 0);
            QTest::keyClicks(field, more);
            QTest::keyClick(field, Qt::Key_Return);
            const int row = dlg_->session().selection().selectedRow;
            QCOMPARE(model()->index(row, 2).data().toString().toLower(), QString(typed) + more);
            QCOMPARE(dlg_->session().face(), face);
            QTRY_COMPARE(QApplication::activeWindow(), dlg_.get());
        }
        QTest::keyClick(dlg_.get(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(control("findField"), Qt::Key_Escape);
        QVERIFY(!control("findField")->isVisible());
        QVERIFY(dlg_->isVisible());
    }

    // A load that fails on its hundredth line has overwritten records the list showed: its box
    // comes when the list is consistent again, with nothing in it.
    void readerErrorAndInvalidPcbCount() {
        loadPkp("R1,1k,0603,1,2,0,top\n");
        int rowsAtBox = -1;
        platform_->onMessage = [&](const FakePlatform::Message&) {
            rowsAtBox = model()->rowCount();
        };
        loadPkp(QByteArray("R1,1k,0603,1,2,0,top\n").repeated(99) + "R100,1k\n");
        QCOMPARE(boxes(), QStringList{"Not enough fields per line|Error"});
        QCOMPARE(rowsAtBox, 0);
        QCOMPARE(text("pkpText"), "no parts found");

        // A sort change goes on after the refusal of the count; the refused text stays for the
        // user to mend, selected in its focused field; the count read before stays.
        platform_->messages.clear();
        loadPkp("R2,1k,0402,1,2,0,top\nC1,1k,0603,1,2,0,top\n");
        auto* field = control<QLineEdit>("pcbCount");
        field->setText("12");
        click("pickList");
        field->setText("-");
        control<QComboBox>("sortBy")->setCurrentIndex(2);
        field->setText("");
        click("pickList");
        QCOMPARE(boxes(), QStringList(2, "Please enter a positive integer.|main_window_test"));
        QCOMPARE(model()->index(0, 2).data().toString(), "C1");
        QCOMPARE(dlg_->session().pcbCount(), 12u);
        QCOMPARE(dlg_->focusWidget(), field);
        QTest::keyClicks(field, QStringLiteral("a1-"));
        QCOMPARE(field->text(), "1");
    }

    // Both outputs for the bottom face, the page in the user's own folder, opened. Choosing the
    // face shown changes nothing, not even a count typed and not yet read. Then a link planted
    // where the user's folder goes is refused, never followed; a folder in the page's place
    // cannot be replaced.
    void pickListOutputsAndFileErrors() {
        loadPkp("Q1,BC847,SOT23,1,2,0,bottom\nQ2,<&>,SOT23,3,4,0,bottom\n");
        click("bottom");
        control<QLineEdit>("pcbCount")->setText("2");
        click("bottom");
        click("pickList");
        QCOMPARE(platform_->clipboardTexts.value(0),
                 "Picking List for BOTTOM SIDE \n\nITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/total\n"
                 "-------\t-------\t-----\t-----\t-----\n1\tSOT23\t<&>\t1\t2\n"
                 "2\tSOT23\tBC847\t1\t2\nEND\n\n\n\n");
        QCOMPARE(platform_->openedDocuments, QStringList{page_});
        QVERIFY(QDir(folder_).removeRecursively());
        QVERIFY(QFile::link(dir_.path(), folder_));
        click("pickList");
        QVERIFY(QFile::remove(folder_));
        QVERIFY(QDir().mkpath(page_));
        click("pickList");
        QCOMPARE(boxes(),
                 QStringList({"Can't create html file|Error", "Can't write html file|Error"}));
        QCOMPARE(platform_->openedDocuments.size(), 1);
        QCOMPARE(platform_->clipboardTexts.size(), 3);
    }

    // The About box and the Keymap window over the main window, the keys sent to them their
    // own; the logo's box answered No then Yes.
    void smallWindowsAndShell() {
        platform_->onModal = [](QDialog& window) {
            window.show();
            QTest::keyClick(&window, Qt::Key_Asterisk, Qt::KeypadModifier);
            QTest::keyClick(&window, Qt::Key_Return);
            QVERIFY(!window.isVisible());
        };
        dlg_->actions().value(0)->trigger(); // "&About Kavelto..."
        click("shortcuts");
        QCOMPARE(platform_->modalTitles, QStringList({"About Kavelto", "Keymap"}));
        QCOMPARE(platform_->modalParents, QList<const QWidget*>({dlg_.get(), dlg_.get()}));
        QCOMPARE(dlg_->session().view().viewRotation, 0);

        platform_->answers = {Answer::No, Answer::Yes};
        click("logo");
        click("logo");
        QCOMPARE(platform_->openedUrls.size(), 1);
        QCOMPARE(platform_->openedUrls.front().host(), QLatin1String(kMakerSite));
        QCOMPARE(platform_->messages.size(), std::size_t{2});
        QCOMPARE(platform_->messages[1].buttons, Platform::Buttons::YesNo);
    }

    // Where no manual opens (the end-to-end test opens them), a box offers to try again until
    // Cancel: without a manual, then with a viewer that fails.
    void needHelpWithoutAManual() {
        const QString manual = dir_.filePath("KaveltoManual.pdf");
        QVERIFY(QDir::setCurrent(dir_.path()));
        platform_->answers = {Answer::Retry, Answer::Cancel, Answer::Cancel};
        click("needHelp");
        QVERIFY(QFile(manual).open(QIODevice::WriteOnly));
        platform_->documentsOpen = false;
        click("needHelp");
        QCOMPARE(platform_->openedDocuments, QStringList{manual});
        QCOMPARE(boxes(), QStringList(3, "Can't open KaveltoManual.pdf...|Error"));
        QCOMPARE(platform_->messages[0].buttons, Platform::Buttons::RetryCancel);
    }

    void tableKeys_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kKeys)); ++i)
            QTest::addRow("%s on %s", kKeys[i].name, kKeys[i].focus) << i;
    }
    void tableKeys() {
        QFETCH(int, index);
        QVERIFY(showDemoBoard());
        const KeyCase& c = kKeys[index];
        QTest::keyClick(focusOn(c.focus), c.key, c.modifiers);
        QCOMPARE(presses_, 0);
        QCOMPARE(after(), c.after);
        QCOMPARE(list()->selectedRow(), dlg_->session().selection().selectedRow);
    }

    // The main keyboard's signs, Shift+Insert (paste) and Space are the focused control's;
    // Space presses a button. A held key acts at every repeat.
    void otherKeysPassAndRepeats() {
        QVERIFY(showDemoBoard());
        QTest::keyClicks(focusOn("pcbCount"), "*/+-");
        QTest::keyClick(control("pcbCount"), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(presses_, 6); // Shift is pressed as a key of its own
        QTest::keyClick(focusOn("rotR"), Qt::Key_Space);
        QCOMPARE(presses_, 1);
        QCOMPARE(after(), "10 90 100 ");
        for (int i = 0; i < 3; ++i) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(focusOn("partList"), &repeat);
        }
        QCOMPARE(after(), "13 90 100 ");
    }

    // The Keymap window's picture, the keypad in a 4 x 5 grid, puts a red action label on the
    // shortcut keys only: row by row, "r" for a key with one, "-" for one without (Num Lock, 4,
    // 5, 6 and both halves of 0), "." for the cells of the tall + and Enter. A cell's border is
    // left out so that neighbours never count.
    void keymapLabelsTheShortcutKeysOnly() {
        const QImage picture(QStringLiteral(":/kavelto/keymap.png"));
        const int width = picture.width() / 4, height = picture.height() / 5;
        QString keys;
        for (int key = 0; key < 20; ++key) {
            const int column = key % 4, row = key / 4;
            int red = 0;
            for (int y = row * height + 6; y < (row + 1) * height - 6; ++y)
                for (int x = column * width + 8; x < (column + 1) * width - 8; ++x) {
                    const QColor pixel = picture.pixelColor(x, y);
                    red += pixel.red() > 150 && pixel.green() < 80 && pixel.blue() < 80;
                }
            keys += column == 3 && row > 0 ? '.' : red > 10 ? 'r' : red == 0 ? '-' : '?';
            keys += column == 3 ? " " : "";
        }
        QCOMPARE(keys, "-rrr rrr. ---. rrr. rrr. ");
    }

    // A row highlighted in the list itself, not clicked, is the one confirming the window places
    // while a control has the focus; the change of highlight alone selects nothing. Without a
    // focus, the window closes only once the fields read well; Esc closes it at once.
    void closing() {
        QVERIFY(showDemoBoard());
        list()->selectRow(9);
        QCOMPARE(dlg_->session().selection().selectedRow, 10);
        dlg_->accept();
        QCOMPARE(placed(9), "DONE");
        auto* pcb = qobject_cast<QLineEdit*>(control("pcbCount"));
        pcb->setText("");
        platform_->messages.clear(); // any box announcing the next kind of part
        dlg_->focusWidget()->clearFocus();
        dlg_->accept();
        QVERIFY(dlg_->isVisible());
        QTest::keyClick(pcb, Qt::Key_Escape);
        QVERIFY(!dlg_->isVisible());
        QCOMPARE(platform_->messages.size(), std::size_t{1});
        QCOMPARE(platform_->messages[0].text, "Please enter a positive integer.");
        dlg_->show();
        pcb->setText("2");
        dlg_->focusWidget()->clearFocus();
        dlg_->accept();
        QVERIFY(!dlg_->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
