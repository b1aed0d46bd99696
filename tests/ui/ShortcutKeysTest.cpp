#include "FakePlatform.h"
#include "TruthBoard.h"

#include <QtWidgets>

using namespace kavelto;

namespace {

// Each key on a control that would use it itself, from row 10 of the demo board's 146 top parts:
// the selected row, the view's turn and magnifier box size, and whether row 10 is placed after.
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

// The shortcut keys act whichever control of the window has the focus, and the control never
// sees them; the list shows the row the session selected.
class ShortcutKeysTest : public QObject {
    Q_OBJECT
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    int presses_ = 0;

    QWidget* control(const char* name) const { return dlg_->findChild<QWidget*>(name); }
    PartListView* list() const { return dlg_->findChild<PartListView*>("partList"); }
    QString placed(int row) const { return list()->model()->index(row, 0).data().toString(); }
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

private slots:
    void init() {
        dlg_.reset();
        platform_ = FakePlatform();
        dlg_ = ShowDemoBoard(platform_, std::nullopt, 900);
        QVERIFY(dlg_);
        ClickRow(*dlg_, 10);
    }

    void tableKeys_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kKeys)); ++i)
            QTest::addRow("%s on %s", kKeys[i].name, kKeys[i].focus) << i;
    }
    void tableKeys() {
        QFETCH(int, index);
        const KeyCase& c = kKeys[index];
        QTest::keyClick(focusOn(c.focus), c.key, c.modifiers);
        QCOMPARE(presses_, 0);
        QCOMPARE(after(), c.after);
        QCOMPARE(list()->selectedRow(), dlg_->session().selection().selectedRow);
    }

    // The main keyboard's signs, Shift+Insert (paste) and Space are the focused control's;
    // Space presses a button. A held key acts at every repeat.
    void otherKeysPassAndRepeats() {
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
        list()->selectRow(9);
        QCOMPARE(dlg_->session().selection().selectedRow, 10);
        dlg_->accept();
        QCOMPARE(placed(9), "DONE");
        auto* pcb = qobject_cast<QLineEdit*>(control("pcbCount"));
        pcb->setText("");
        platform_.messages.clear(); // any box announcing the next kind of part
        dlg_->focusWidget()->clearFocus();
        dlg_->accept();
        QVERIFY(dlg_->isVisible());
        QTest::keyClick(pcb, Qt::Key_Escape);
        QVERIFY(!dlg_->isVisible());
        QCOMPARE(platform_.messages.size(), std::size_t{1});
        QCOMPARE(platform_.messages[0].text, "Please enter a positive integer.");
        dlg_->show();
        pcb->setText("2");
        dlg_->focusWidget()->clearFocus();
        dlg_->accept();
        QVERIFY(!dlg_->isVisible());
    }
};

QTEST_MAIN(ShortcutKeysTest)
#include "ShortcutKeysTest.moc"
