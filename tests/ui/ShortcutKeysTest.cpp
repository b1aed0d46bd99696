#include "CPlacementDlg.h"
#include "FakePlatform.h"
#include "PartListView.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace kavelto;

namespace {

// Twenty top parts Q1 to Q20, all of one kind, listed in that order by prefix and number.
QByteArray TwentyParts() {
    QByteArray text = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
    for (int i = 1; i <= 20; ++i)
        text +=
            "Q" + QByteArray::number(i) + ",BC847,SOT23," + QByteArray::number(i) + ",-2,0,top\n";
    return text;
}

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int row; // the selected row afterwards, from row 5
    int rotation;
    int zoomBoxSize;
    bool placed; // row 5 shows "DONE"
};

const KeyCase kKeys[] = {
    {"Enter", Qt::Key_Return, Qt::NoModifier, 6, 0, 100, true},
    {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, 6, 0, 100, true},
    {"Page Up", Qt::Key_PageUp, Qt::NoModifier, 0, 0, 100, false},
    {"Page Down", Qt::Key_PageDown, Qt::NoModifier, 13, 0, 100, false},
    {"Home", Qt::Key_Home, Qt::NoModifier, 0, 0, 100, false},
    {"End", Qt::Key_End, Qt::NoModifier, 19, 0, 100, false},
    {"Up", Qt::Key_Up, Qt::NoModifier, 4, 0, 100, false},
    {"Down", Qt::Key_Down, Qt::NoModifier, 6, 0, 100, false},
    {"Delete", Qt::Key_Delete, Qt::NoModifier, 6, 0, 100, false},
    {"Insert", Qt::Key_Insert, Qt::NoModifier, 5, 0, 100, false},
    {"keypad 0 (Ins)", Qt::Key_Insert, Qt::KeypadModifier, 5, 0, 100, false},
    {"keypad *", Qt::Key_Asterisk, Qt::KeypadModifier, 5, 90, 100, false},
    {"keypad /", Qt::Key_Slash, Qt::KeypadModifier, 5, 270, 100, false},
    {"keypad +", Qt::Key_Plus, Qt::KeypadModifier, 5, 0, 76, false},
    {"keypad -", Qt::Key_Minus, Qt::KeypadModifier, 5, 0, 130, false},
};

} // namespace

// The shortcut keys act whichever control of the window has the focus, and the control never
// sees them; the list shows the row the session selected.
class ShortcutKeysTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    int presses_ = 0;

    QWidget* control(const QString& name) const { return dlg_->findChild<QWidget*>(name); }
    PartListView* list() const { return dlg_->findChild<PartListView*>("partList"); }

    void clickRow(int row) {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualRect(list()->model()->index(row, 0)).center());
    }

    // Counts the key presses that reach the watched control.
    bool eventFilter(QObject*, QEvent* event) override {
        presses_ += event->type() == QEvent::KeyPress;
        return false;
    }

    // Focus on the named control, watched.
    QWidget* focusOn(const QString& name) {
        QWidget* widget = control(name);
        widget->setFocus();
        widget->installEventFilter(this);
        presses_ = 0;
        return widget;
    }

private slots:
    void init() {
        platform_ = FakePlatform();
        dlg_ = std::make_unique<CPlacementDlg>(platform_);
        QVERIFY(dlg_->LoadColumnMap(DEMO_DIR "/Kavelto.ini"));
        dlg_->resize(900, 1400); // every row of the list in view
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg_.get()));
        QFile file(dir_.filePath("parts.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(TwentyParts()) > 0);
        file.close();
        platform_.files = {file.fileName()};
        QTest::mouseClick(control("loadPkp"), Qt::LeftButton);
        control("sortBy")->setProperty("currentIndex", 2);
        clickRow(5);
    }

    void cleanup() { dlg_.reset(); }

    void tableKeys_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("index");
        for (const char* focus : {"partList", "pcbCount", "rotR"})
            for (int i = 0; i < int(std::size(kKeys)); ++i)
                QTest::addRow("%s, %s", focus, kKeys[i].name) << focus << i;
    }

    void tableKeys() {
        QFETCH(QString, focus);
        QFETCH(int, index);
        const KeyCase& c = kKeys[index];
        QTest::keyClick(focusOn(focus), c.key, c.modifiers);
        QCOMPARE(presses_, 0);
        QCOMPARE(dlg_->session().selection().selectedRow, c.row);
        QCOMPARE(list()->selectedRow(), std::optional<int>(c.row));
        QCOMPARE(dlg_->session().view().viewRotation, c.rotation);
        QCOMPARE(dlg_->session().view().zoomBoxSize, c.zoomBoxSize);
        QCOMPARE(list()->model()->index(5, 0).data().toString(), c.placed ? "DONE" : "");
    }

    // The main keyboard's signs, Shift+Insert (paste) and Space are the focused control's;
    // Space presses a button.
    void otherKeysPass() {
        QTest::keyClicks(focusOn("pcbCount"), "*/+-");
        QTest::keyClick(control("pcbCount"), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(presses_, 6); // Shift is pressed as a key of its own
        QTest::keyClick(focusOn("rotR"), Qt::Key_Space);
        QCOMPARE(presses_, 1);
        QCOMPARE(dlg_->session().view().viewRotation, 90);
        QCOMPARE(dlg_->session().view().zoomBoxSize, 100);
    }

    void heldKeyActsAtEveryRepeat() {
        QWidget* focus = focusOn("partList");
        for (int i = 0; i < 3; ++i) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(focus, &repeat);
        }
        QCOMPARE(dlg_->session().selection().selectedRow, 8);
    }

    // Confirming the window places while a control has the focus; without one it closes once
    // the fields read well.
    void confirmingTheWindow() {
        dlg_->accept();
        QCOMPARE(list()->model()->index(5, 0).data().toString(), "DONE");
        QVERIFY(dlg_->isVisible());
        auto* pcb = qobject_cast<QLineEdit*>(control("pcbCount"));
        pcb->clear();
        dlg_->focusWidget()->clearFocus();
        dlg_->accept();
        QVERIFY(dlg_->isVisible());
        QCOMPARE(platform_.messages.size(), std::size_t{1});
        pcb->setText("2");
        dlg_->focusWidget()->clearFocus();
        dlg_->accept();
        QVERIFY(!dlg_->isVisible());
    }

    void escapeClosesAtOnce() {
        QTest::keyClick(focusOn("partList"), Qt::Key_Return);
        QTest::keyClick(list(), Qt::Key_Escape);
        QVERIFY(!dlg_->isVisible());
        QVERIFY(platform_.messages.empty());
    }

    // A row highlighted in the list itself, not clicked, is the one Enter places; the change
    // of highlight alone selects nothing.
    void listHighlightOwnedByTheList() {
        list()->selectionModel()->select(list()->model()->index(9, 0),
                                         QItemSelectionModel::ClearAndSelect |
                                             QItemSelectionModel::Rows);
        QCOMPARE(dlg_->session().selection().selectedRow, 5);
        QTest::keyClick(focusOn("partList"), Qt::Key_Return);
        QCOMPARE(list()->model()->index(9, 0).data().toString(), "DONE");
        QCOMPARE(dlg_->session().selection().selectedRow, 10);
    }
};

QTEST_MAIN(ShortcutKeysTest)
#include "ShortcutKeysTest.moc"
