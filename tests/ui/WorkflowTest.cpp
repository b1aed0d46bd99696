#include "AppIdentity.h"
#include "CPlacementDlg.h"
#include "FakePlatform.h"
#include "PartListView.h"

#include <QTemporaryDir>
#include <QtTest>

using Answer = Platform::Answer;
using Buttons = Platform::Buttons;
using Icon = Platform::Icon;

namespace {

// Q1 to Q<count> on one side, their kinds repeating the pick list's worked example (Q1 to Q5);
// sorted by prefix and number the rows keep this order. Every part has its own x.
QByteArray PartsFile(int count, const char* side = "top") {
    const char* const kinds[] = {"BC847,SOT23", "BC847,SOT23", "BC857,SOT23", "LM358,SOIC8",
                                 "BC847,SOT23"};
    QByteArray text = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
    for (int i = 1; i <= count; ++i)
        text += QString("Q%1,%2,%1,-2,0,%3\n").arg(i).arg(kinds[(i - 1) % 5], side).toLatin1();
    return text;
}

// A message box as one text, so that lists of them compare at once.
QString Box(const QString& text, const QString& caption = "Placement",
            Buttons buttons = Buttons::Ok, Icon icon = Icon::None) {
    return QStringLiteral("%1 | %2 | %3 %4").arg(text, caption).arg(int(buttons)).arg(int(icon));
}

// The pick list's worked example: number, package, value, count per board and total, for 3 boards.
const QString kExample = "1 SOT23 BC847 2 6;2 SOT23 BC857 1 3;3 SOIC8 LM358 1 3;4 SOT23 BC847 1 3";

// Every key of the table, and the two buttons that share their handlers.
const QString kEveryKey = " Return PgUp PgDown End Home Up Down Del placeUnplace nextUnplaced";

// After the steps (see WorkflowTest::run): the selected row, the rows that show "DONE", the box
// that the last step shows if any, the key presses that reach the focused control, the view.
struct StepsCase {
    QString name, steps;
    int row;
    QString placed = {}, box = {};
    int seen = 0, rotation = 0, zoomBoxSize = 100;
};

// On twenty top parts, PartsFile(20), rotation 0 and zoom box 100; "loadPkp" loads them again
// with two bottom parts.
const StepsCase kCases[] = {
    {"Enter", "5 Return", 6, "5"},
    {"keypad Enter", "5 Num+Enter", 6, "5"},
    {"Down, then held down: each repeat acts", "5 Down Down Down~ Down~", 9},
    {"Up", "5 Up", 4},
    {"Page Up from row 5", "5 PgUp", 0},
    {"Page Down from row 5", "5 PgDown", 13},
    {"Page Down three rows before the end", "17 PgDown", 19},
    {"Home", "5 Home", 0},
    {"End", "5 End", 19},
    {"Delete", "5 Del", 6},
    {"Up and Page Up on row 0", "0 Up PgUp", 0},
    {"Down and Page Down on the last row", "19 Down PgDown", 19},
    {"keypad *", "5 Num+*", 5, "", {}, 0, 90},
    {"keypad /", "5 Num+/", 5, "", {}, 0, 270},
    {"keypad +", "5 Num++", 5, "", {}, 0, 0, 76},
    {"keypad -", "5 Num+-", 5, "", {}, 0, 0, 130},
    {"main keyboard * / + -", "5 * / + -", 5, "", {}, 4},
    {"Space presses the button", "5 Space", 5, "", {}, 1, 90},
    {"last unplaced part", "19 Return", 19, "19"},
    {"toggling a DONE row", "1 Return 1 Return", 1, ""},
    {"same kind, placed rows between", "2 Return Return 1 Return", 4, "1 2 3"},
    {"differs only in value", "1 Return", 2, "1", Box("New part !\n\nItem# 2\nBC857, SOT23")},
    {"Next unplaced, unplaced parts only above", "18 Return Return 18 nextUnplaced", 18, "18 19"},
    {"Unplace all across faces", "loadPkp 0 Return bottom 0 Return unplaceAll top 0", 0, ""},
    {"Unplace all cancelled", "0 Return Cancel unplaceAll", 1, "0",
     Box("Unplace all components on both sides ?", "Please confirm", Buttons::OkCancel,
         Icon::Exclamation)},
    {"confirming the window places", "4 accept accept", 6, "4 5"},
    {"Delete without a highlighted row searches from row 0", "5 loadBitmap Del", 0},
    {"keys after a cancelled load", "loadPkp 15 loadPkp" + kEveryKey, 15},
    {"keys after a cancelled load on row 0", "loadPkp loadPkp" + kEveryKey, 0},
    {"keys on a face without parts, then back", "15 bottom" + kEveryKey + " top 0", 0},
};

} // namespace

class WorkflowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        qputenv("TMPDIR", QFile::encodeName(dir_.path()));
        platform_ = std::make_unique<FakePlatform>();
        dlg_ = std::make_unique<CPlacementDlg>(*platform_);
        QVERIFY(dlg_->LoadColumnMap(DEMO_DIR "/Kavelto.ini"));
        dlg_->resize(900, 1400); // every row of the list in view
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg_.get()));
    }

    void cleanup() { dlg_.reset(); }

    void keys_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("index");
        for (const char* focus : {"partList", "pcbCount", "rotR"})
            for (int i = 0; i < int(std::size(kCases)); ++i) // Space only acts on a button
                if (kCases[i].steps != "5 Space" || focus == QLatin1String("rotR"))
                    QTest::addRow("%s, %s", focus, qPrintable(kCases[i].name)) << focus << i;
    }

    void keys() {
        QFETCH(QString, focus);
        QFETCH(int, index);
        const StepsCase& c = kCases[index];
        load(PartsFile(20));
        load(PartsFile(20) + "C1,1u,0805,30,40,0,bottom\nC2,1u,0805,31,41,0,bottom\n", false);
        control("sortBy")->setProperty("currentIndex", 2); // prefix and number
        presses_ = 0;
        control(focus)->installEventFilter(this);
        const std::size_t boxesBefore = run(c.steps, control(focus));
        QCOMPARE(presses_, c.seen);
        QCOMPARE(dlg_->selection().selectedRow, c.row);
        QCOMPARE(list()->selectedRow().value_or(-1), list()->model()->rowCount() ? c.row : -1);
        // Column 7 shows each part's x.
        QCOMPARE(dlg_->selection().selectedX, list()->model()->index(c.row, 7).data().toFloat());
        QCOMPARE(doneRows(), c.placed);
        QCOMPARE(boxes(boxesBefore), c.box.isEmpty() ? QStringList() : QStringList{c.box});
        QCOMPARE(dlg_->view().viewRotation, c.rotation);
        QCOMPARE(dlg_->view().zoomBoxSize, c.zoomBoxSize);
    }

    void escapeClosesAtOnce() {
        load(PartsFile(3));
        run("0 Return", list());
        QTest::keyClick(list(), Qt::Key_Escape);
        QVERIFY(!dlg_->isVisible());
        QCOMPARE(boxes(), QStringList());
    }

    void pickList() {
        load(PartsFile(5));
        control("sortBy")->setProperty("currentIndex", 2); // prefix and number
        expectPickList(0, "TOP",
                       "1 SOT23 BC847 2 0;2 SOT23 BC857 1 0;3 SOIC8 LM358 1 0;4 SOT23 BC847 1 0");
        expectPickList(3, "TOP", kExample); // the second run overwrites the first
        run("bottom", list());
        expectPickList(3, "BOTTOM", ""); // a face without parts
        load(PartsFile(5, "bottom"));
        expectPickList(3, "BOTTOM", kExample);
        load(PartsFile(1, "bottom"));
        expectPickList(3, "BOTTOM", "1 SOT23 BC847 1 3");
        load(PartsFile(0) + "U1,<&\">,A&B,5,6,0,bottom\n");
        expectPickList(2, "BOTTOM", "1 A&B <&\"> 1 2");
    }

    // The shell's own boxes and windows: the pick list's file errors, the About box and the
    // Keymap window, to which the keys sent stay their own, "Need help ?" opening the manual,
    // the logo's box answered No, then Yes, and "Need help ?" failing, retried once, cancelled.
    void shell() {
        QVERIFY(QDir().mkpath(dir_.path() + "/blocked/picklst.html"));
        for (const char* temp : {"/missing", "/blocked"}) {
            qputenv("TMPDIR", QFile::encodeName(dir_.path() + temp));
            click("pickList");
        }
        platform_->onModal = [](QDialog& window) {
            window.show();
            QTest::keyClick(&window, Qt::Key_Asterisk, Qt::KeypadModifier);
            QTest::keyClick(&window, Qt::Key_Return);
            QVERIFY(!window.isVisible());
        };
        dlg_->actions().value(0)->trigger(); // its only action, "&About Kavelto..."
        platform_->answers = {Answer::No, Answer::Yes, Answer::Retry, Answer::Cancel};
        for (const char* control : {"shortcuts", "needHelp", "logo", "logo"})
            click(control);
        platform_->documentsOpen = false;
        click("needHelp");
        QCOMPARE(platform_->modalTitles, QStringList({"About Kavelto", "Keymap"}));
        QCOMPARE(dlg_->view().viewRotation, 0);
        const QString manual = QDir::current().absoluteFilePath("KaveltoManual.pdf");
        QCOMPARE(platform_->openedDocuments, QStringList(3, manual));
        QCOMPARE(platform_->openedUrls.size(), 1);
        QCOMPARE(platform_->openedUrls.front().host(), QLatin1String(kMakerSite));
        const QString logo = platform_->messages.at(2).text; // its wording is free
        const QString help =
            Box("Can't open KaveltoManual.pdf...", "Error", Buttons::RetryCancel, Icon::Stop);
        const QString question = Box(logo, kMakerName, Buttons::YesNo, Icon::Information);
        QCOMPARE(boxes(), QStringList({Box("Can't create html file", "Error"),
                                       Box("Can't write html file", "Error"), question, question,
                                       help, help}));
    }

private:
    // Runs steps separated by blanks: a number clicks that row, a control's name clicks the
    // control, "Cancel" answers the next box with Cancel and "accept" confirms the window; any
    // other step is a key, one ending in "~" an automatic repeat. Each step starts with the focus
    // on focus. Returns the number of boxes shown before the last step.
    std::size_t run(const QString& steps, QWidget* focus) {
        std::size_t boxesBefore = 0;
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
            boxesBefore = platform_->messages.size();
            focus->setFocus();
            const QKeyCombination key = QKeySequence::fromString(QString(step).remove('~'))[0];
            QKeyEvent repeat(QEvent::KeyPress, key.key(), key.keyboardModifiers(), QString(), true);
            const QPoint row = list()->visualRect(list()->model()->index(step.toInt(), 0)).center();
            if (step[0].isDigit())
                QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row);
            else if (control(step))
                click(step);
            else if (step == "Cancel")
                platform_->answers.push_back(Answer::Cancel);
            else if (step == "accept")
                dlg_->accept();
            else if (step.endsWith('~'))
                QApplication::sendEvent(focus, &repeat);
            else
                QTest::keyClick(focus, key.key(), key.keyboardModifiers());
        }
        return boxesBefore;
    }

    // Runs the pick list for pcb boards and compares both its outputs with the items, each
    // given as "number package value count-per-board total" and separated by ";".
    void expectPickList(int pcb, const QString& side, const QString& items) {
        control("pcbCount")->setProperty("text", QString::number(pcb));
        click("pickList");
        QString text = "ITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/"
                       "total\n-------\t-------\t-----\t-----\t-----\n";
        QString rows = "<tr><td>Item#</td><td>package</td><td>Value</td><td>Qty/board</td><td>Qty/"
                       "total</td></tr>";
        for (const QString& item : items.split(';', Qt::SkipEmptyParts)) {
            text += QString(item).replace(' ', '\t') + '\n';
            rows += "<tr><td>" + item.toHtmlEscaped().replace(' ', "</td><td>") + "</td></tr>";
        }
        QCOMPARE(platform_->clipboardTexts.last(),
                 "Picking List for " + side + " SIDE \n\n" + text + "END\n\n\n\n");
        QFile page(dir_.filePath("picklst.html"));
        QCOMPARE(platform_->openedDocuments.last(), page.fileName());
        QVERIFY(page.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(page.readAll()).section("<p>", 1).trimmed(),
                 "Pick List " + side + " SIDE - Generated by the Kavelto v1.2 - QUANDEL - " +
                     kMakerSite + "</p>\n<table border=1>" + rows + "</table> </body> </html>");
    }

    // Writes a placement file for the next file chooser, and loads it unless told to wait.
    void load(const QByteArray& contents, bool now = true) {
        QFile file(dir_.filePath(QString::number(platform_->files.size()) + ".csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
        file.close();
        platform_->files.push_back(file.fileName());
        if (now)
            click("loadPkp");
    }

    void click(const QString& name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    QWidget* control(const QString& name) const { return dlg_->findChild<QWidget*>(name); }
    PartListView* list() const { return dlg_->findChild<PartListView*>("partList"); }

    // The rows showing "DONE", in their order; any other text of column 0 stands as it is.
    QString doneRows() const {
        QString rows;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            rows += ' ' + list()->model()->index(row, 0).data().toString().replace(
                              "DONE", QString::number(row));
        return rows.simplified();
    }

    QStringList boxes(std::size_t from = 0) const {
        QStringList shown;
        for (auto box = platform_->messages.begin() + from; box != platform_->messages.end(); ++box)
            shown << Box(box->text, box->caption, box->buttons, box->icon);
        return shown;
    }

    bool eventFilter(QObject*, QEvent* event) override {
        presses_ += event->type() == QEvent::KeyPress;
        return false;
    }

    QTemporaryDir dir_;
    int presses_ = 0;
    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
};

QTEST_MAIN(WorkflowTest)
#include "WorkflowTest.moc"
