#include "ArtFont.h"
#include "BoardView.h"
#include "FakePlatform.h"
#include "KeymapPicture.h"
#include "PaintWarnings.h"
#include "PartListColumns.h"
#include "ShortcutKeys.h"
#include "TestFiles.h"
#include "TruthBoard.h"
#include "parts/PartColumns.h"

#include <QAbstractItemModelTester>
#include <QtTest>
#include <QtWidgets>

#include <unistd.h>

using namespace kavelto;

// The window's own part: the boxes it shows and when, the shortcut keys, which act whichever
// control has the focus and which the control never sees, the small windows, the pick list's
// outputs. The rules behind each handler are the session's, tested in the core.
class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    FakePlatform platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
    int presses_ = 0; // since the window was made

    template <typename T = QWidget> T* control(const char* name) const {
        return dlg_->findChild<T*>(QString::fromLatin1(name));
    }
    QString cell(int row, int column = 0) const {
        return control<QTableView>("partList")->model()->index(row, column).data().toString();
    }
    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    // A key of the shortcut picture from its cell, columns and rows: cells 64 x 61 pixels in a
    // margin of 4 and gaps of 3.
    static QRect KeymapKey(int column, int row, int columns = 1, int rows = 1) {
        return {4 + 67 * column, 4 + 64 * row, 67 * columns - 3, 64 * rows - 3};
    }
    // The brightest of a colour's channels.
    static int Brightest(const QColor& c) { return qMax(c.red(), qMax(c.green(), c.blue())); }

    // A file of the temporary directory; its path.
    QString write(const char* name, const QByteArray& bytes) const {
        return WriteFile(dir_.filePath(QLatin1String(name)), bytes);
    }
    // A placement file of these lines under the demo's column names.
    void loadPkp(const QByteArray& lines) {
        platform_.files = {write("parts.csv", "Ref,Val,Package,PosX,PosY,Rot,Side\n" + lines)};
        click("loadPkp");
    }
    // The text of the PDF the window opened, which must start as one.
    QString openedPdf() const {
        QFile pdf(platform_.openedDocuments.value(0));
        const QByteArray bytes = pdf.open(QIODevice::ReadOnly) ? pdf.readAll() : QByteArray();
        return bytes.startsWith("%PDF") ? QString::fromLatin1(bytes) : QString();
    }

    // The rectangles the opened PDF's pages draw, in the order drawn, a list for each page that
    // draws any, read from their content streams, which the writer deflates; in the pages' own
    // units, 300 to the inch.
    QList<QList<QRectF>> openedPdfRectangles() const {
        const QByteArray pdf = openedPdf().toLatin1();
        static const QRegularExpression rectangle(
            QStringLiteral("^(\\S+) (\\S+) (\\S+) (\\S+) re$"),
            QRegularExpression::MultilineOption);
        QList<QList<QRectF>> pages;
        for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at)) {
            const qsizetype end = pdf.indexOf("endstream", at + 7);
            const qsizetype object = pdf.lastIndexOf(" obj", at);
            if (pdf.mid(object, at - object).contains("/FlateDecode")) {
                // The size told first is only where inflating starts; the buffer grows as needed.
                const QByteArray deflated = pdf.mid(at + 7, end - at - 7);
                const QString text =
                    QString::fromLatin1(qUncompress(QByteArray("\0\0\x10\0", 4) + deflated));
                QList<QRectF> rectangles;
                for (const QRegularExpressionMatch& m : rectangle.globalMatch(text))
                    rectangles << QRectF(m.captured(1).toDouble(), m.captured(2).toDouble(),
                                         m.captured(3).toDouble(), m.captured(4).toDouble());
                if (!rectangles.isEmpty())
                    pages << rectangles;
            }
            at = end + 9;
        }
        return pages;
    }

    // The demo board, its row 10 selected.
    void loadDemoBoard() {
        platform_.files = {QStringLiteral(DEMO_DIR "/coldfire.csv")};
        click("loadPkp");
        ClickRow(*dlg_, 10);
    }
    // Counts the key presses that reach the watched control.
    bool eventFilter(QObject*, QEvent* event) override {
        presses_ += event->type() == QEvent::KeyPress;
        return false;
    }

private slots:
    // The page goes into a folder of the user's own under the temporary directory.
    void init() {
        FailOnPaintWarnings();
        qputenv("TMPDIR", QFile::encodeName(dir_.path()));
        qunsetenv("XDG_RUNTIME_DIR");
        platform_ = FakePlatform();
        dlg_ = std::make_unique<CPlacementDlg>(platform_);
        // Every test's changes of the list go through Qt's own checks of a model.
        new QAbstractItemModelTester(control<QTableView>("partList")->model(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     dlg_.get());
        presses_ = 0;
        QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg_.get()));
    }

    // Made as small as it goes, the window keeps a picture frame a hundred pixels wide or more
    // and five rows of its list in view.
    void shrinksNoFurtherThanItStaysUsable() {
        QWidget* frame = control("pictureFrame");
        auto* list = control<QTableView>("partList");
        dlg_->resize(1, 1);
        QTRY_VERIFY(dlg_->width() > 1);
        QVERIFY2(frame->width() >= 100, qPrintable(QString::number(frame->width())));
        // Rows a line of text high with a little room, never cutting their text; five of them
        // in view and no sixth, as the window is as small as it goes.
        const int row = list->verticalHeader()->defaultSectionSize();
        const int text = list->fontMetrics().height(), shown = list->viewport()->height();
        QVERIFY2(row >= text && row <= text + 8,
                 qPrintable(QStringLiteral("%1 %2").arg(row).arg(text)));
        QVERIFY2(shown >= 5 * row && shown < 6 * row, qPrintable(QString::number(shown)));
    }

    // Two parts placed (rows 10 and 11) and the file loaded twice since: the session is chosen
    // from the list of those kept before, through the desktop's chooser, and restored.
    void restoresASessionChosenFromTheList() {
        loadDemoBoard();
        for (int enter = 0; enter < 2; ++enter)
            QTest::keyClick(control("partList"), Qt::Key_Return);
        loadDemoBoard();
        loadDemoBoard();
        platform_.entries = {0};
        MenuEntry(*dlg_, CommandId::RestoreEarlierSession)->trigger();
        QCOMPARE(platform_.choices.size(), 1);
        QVERIFY2(platform_.choices.front().startsWith("Restore an earlier session...|"),
                 qPrintable(platform_.choices.front()));
        const QStringList listed = platform_.choices.front().split('|');
        QVERIFY2(listed.value(1).endsWith(": 2 of 146 placed"), qPrintable(listed.value(1)));
        QCOMPARE(cell(11), "DONE");
    }

    // "Import progress..." asks for the file, marks its placed parts in the list, and names in
    // one box the designator it did not find; a cancelled choice does nothing.
    void importsProgressFromTheMenu() {
        loadPkp("R1,1k,0603,10,20,0,top\nR2,2k,0603,30,40,0,top\n");
        const QString progress =
            write("progress.csv", "Designator,Face,Placed\r\nR2,top,yes\r\nR7,top,yes\r\n");
        QAction* entry = MenuEntry(*dlg_, CommandId::ImportProgress);
        QCOMPARE(entry->text(), "Import progress...");
        entry->trigger(); // cancelled
        QCOMPARE(cell(0) + cell(1), "");
        platform_.files = {progress};
        entry->trigger();
        QCOMPARE(cell(0) + "|" + cell(1), "|DONE");
        QCOMPARE(platform_.messages.size(), 1);
        QCOMPARE(platform_.messages.front().text,
                 "Not every part the progress file lists as placed was marked placed.\n\nNot "
                 "found on their face in this placement file: R7.");
    }

    // An entry of the menu that names what it offers shows only while there is something to
    // offer: "Restore session" not before a file is loaded, once a session kept for it is.
    void anOfferingEntryShowsOnlyWithItsOffer() {
        QAction* restore = MenuEntry(*dlg_, CommandId::RestoreSession);
        QVERIFY(!restore->isVisible());
        loadDemoBoard();
        QTest::keyClick(control("partList"), Qt::Key_Return);
        loadDemoBoard();
        QVERIFY(restore->isVisible());
    }

    // Three parts placed (rows 10 to 12), the same file loaded again starts afresh and offers them
    // back. Then Ctrl+F and Esc, Ctrl+F, a designator of the other face typed in another case with
    // the designators offered as it is typed, Enter: the part is selected; Esc closes the field,
    // not the window. Then a row highlighted in the list itself, not clicked, is the one confirming
    // the window places while a control has the focus; the change of highlight alone selects
    // nothing. Without a focus, the window closes only once the fields read well.
    void keptSessionFindAndClose() {
        loadDemoBoard();
        for (int enter = 0; enter < 3; ++enter)
            QTest::keyClick(control("partList"), Qt::Key_Return);
        loadDemoBoard();
        for (QAction* action : dlg_->actions())
            if (action->isVisible() &&
                action->text().startsWith("Restore session (3 + 0 of 146 + 14 placed, "))
                action->trigger();
        QCOMPARE(cell(12), "DONE");
        // The selection is back on the part selected last, highlighted in the list.
        QCOMPARE(dlg_->session().selection().row, std::optional<int>(13));
        QCOMPARE(control<PartListView>("partList")->selectedRow(), std::optional<int>(13));
        auto* field = control<QLineEdit>("findField");
        QTest::keyClick(dlg_.get(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(field, "c112");
        QVERIFY(field->isVisible() && field->completer()->completionCount() > 0);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(cell(dlg_->session().selection().row.value(), 2), "C112");
        QVERIFY(!field->isVisible()); // gone once the part is found
        QTest::keyClick(dlg_.get(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!field->isVisible() && dlg_->isVisible());
        control<PartListView>("partList")->selectRow(9);
        dlg_->accept();
        QCOMPARE(cell(9), "DONE");
        for (const QString count : {"", "2"}) {
            control<QLineEdit>("pcbCount")->setText(count);
            dlg_->focusWidget()->clearFocus();
            dlg_->accept();
            QCOMPARE(dlg_->isVisible(), count.isEmpty());
        }
    }

    // The boxes in order. A load that fails on its hundredth line has overwritten records the
    // list showed: its box comes when the list is consistent again, with nothing in it.
    // Choosing the face shown changes nothing, not even a count typed and not yet read: the
    // pick list counts it, goes to the clipboard and opens as a page in the user's own folder.
    // A sort change goes on after the refusal of the count, which leaves the focus in its
    // field. The About box and the Keymap window open over the main window, the keys sent to them
    // their own.
    void boxesWindowsAndPickList() {
        loadPkp("R1,1k,0603,1,2,0,top\n");
        QStringList boxes; // each with the rows the list shows at the time
        platform_.onMessage = [&](const FakePlatform::Message& box) {
            boxes << box.text + QStringLiteral(" (%1 rows)")
                                    .arg(control<QTableView>("partList")->model()->rowCount());
        };
        loadPkp(QByteArray("R1,1k,0603,1,2,0,top\n").repeated(99) + "R100,1k\n");
        loadPkp("R2,1k,0402,1,2,0,top\nC1,1k,0603,1,2,0,top\n");
        auto* field = control<QLineEdit>("pcbCount");
        field->setText("12");
        click("top");
        click("pickList");
        field->setText("-");
        control<QComboBox>("sortBy")->setCurrentIndex(2);
        QCOMPARE(cell(0, 2), "C1");
        QCOMPARE(dlg_->focusWidget(), field);
        QCOMPARE(boxes, QStringList({"Not enough fields per line (0 rows)",
                                     "Please enter a positive integer. (2 rows)"}));
        QCOMPARE(platform_.clipboardTexts.value(0).section('\n', 4, 4), "1\t0402\t1k\t1\t12");
        QCOMPARE(platform_.openedDocuments.value(0),
                 dir_.path() + QStringLiteral("/kavelto-%1/picklst.html").arg(geteuid()));
        platform_.onModal = [&](QDialog& window) {
            QCOMPARE(window.parentWidget(), dlg_.get());
            QVERIFY(!window.windowIcon().isNull()); // the main window's, not the desktop's default
            for (const QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                QVERIFY2(window.rect().contains(control->geometry()),
                         qPrintable(control->objectName()));
            window.show();
            QTest::keyClick(&window, Qt::Key_Asterisk, Qt::KeypadModifier);
        };
        dlg_->actions().value(0)->trigger(); // "&About Kavelto..."
        click("shortcuts");
        QCOMPARE(platform_.modalTitles, QStringList({"About Kavelto", "Keymap"}));
        QCOMPARE(dlg_->session().view().viewRotation, 0);
    }

    // The command table makes the key filter, the right-click menu and the list of keys beside
    // the shortcut picture: every key of every row runs its row's command from an edit field,
    // every menu row has its entry, every key or gesture the picture lacks is listed.
    void commandTableMakesKeysMenuAndList() {
        QWidget window;
        auto* edit = new QLineEdit(&window);
        window.show();
        QList<CommandId> ran;
        new ShortcutKeys(window, [&](CommandId id) { ran << id; });
        const QMap<Key, Qt::Key> qtKeys = {{Key::Return, Qt::Key_Enter},
                                           {Key::PageUp, Qt::Key_PageUp},
                                           {Key::PageDown, Qt::Key_PageDown},
                                           {Key::Home, Qt::Key_Home},
                                           {Key::End, Qt::Key_End},
                                           {Key::Up, Qt::Key_Up},
                                           {Key::Down, Qt::Key_Down},
                                           {Key::Delete, Qt::Key_Delete},
                                           {Key::Insert, Qt::Key_Insert},
                                           {Key::Asterisk, Qt::Key_Asterisk},
                                           {Key::Plus, Qt::Key_Plus},
                                           {Key::Minus, Qt::Key_Minus},
                                           {Key::Slash, Qt::Key_Slash},
                                           {Key::F, Qt::Key_F},
                                           {Key::Z, Qt::Key_Z},
                                           {Key::Left, Qt::Key_Left},
                                           {Key::Right, Qt::Key_Right},
                                           {Key::Zero, Qt::Key_0}};
        const QMap<KeyScope, Qt::KeyboardModifiers> modifiers = {
            {KeyScope::AnyModifiers, Qt::ShiftModifier},
            {KeyScope::KeypadOnly, Qt::KeypadModifier},
            {KeyScope::Plain, Qt::NoModifier},
            {KeyScope::Control, Qt::ControlModifier},
            {KeyScope::ControlShift, Qt::ControlModifier | Qt::ShiftModifier},
            {KeyScope::Alt, Qt::AltModifier}};
        QList<CommandId> expected;
        for (const CommandRow& row : CommandTable()) {
            for (const KeyBinding& binding : row.keys) {
                QTest::keyClick(edit, qtKeys.value(binding.key), modifiers.value(binding.scope));
                expected << row.id;
            }
            if (row.menu == MenuPlace::None)
                continue;
            QAction* entry = MenuEntry(*dlg_, row.id);
            QVERIFY(entry->text().startsWith(QString::fromUtf8(row.title)));
            const QList<QAction*> menu = dlg_->actions();
            const QAction* above = menu.value(menu.indexOf(entry) - 1);
            QCOMPARE(above && above->isSeparator(), row.menu == MenuPlace::AfterSeparator);
        }
        QCOMPARE(ran, expected);
        QVERIFY(edit->text().isEmpty());
        // The keypad's picture whole, the list below it, both inside the window.
        platform_.onModal = [](QDialog& keymap) {
            const QRect picture = keymap.findChild<QLabel*>("keymapPicture")->geometry();
            const auto* other = keymap.findChild<QLabel*>("otherKeys");
            QVERIFY(picture.width() >= KeymapPicture().width() &&
                    picture.height() >= KeymapPicture().height());
            QVERIFY(keymap.rect().contains(picture | other->geometry()));
            // Four dialog units apart: half the height of a line of the window's font.
            const int gap = other->geometry().top() - picture.bottom() - 1;
            const int half = QFontMetrics(keymap.font()).height() / 2;
            QVERIFY2(qAbs(gap - half) <= 1, qPrintable(QStringLiteral("%1 %2").arg(gap).arg(half)));
            const QString list = other->text();
            QCOMPARE(list.split('\n'),
                     QStringList({"Ctrl+F: Find part...", "Ins: Add calibration point",
                                  "Ctrl+press on the picture: Select the part pressed on",
                                  "Ctrl+Z: Undo", "Ctrl+Shift+Z: Redo",
                                  "Alt+arrow keys: Move the pressed point by one picture pixel",
                                  "Ctrl+0: Whole picture again"}));
        };
        click("shortcuts");
    }

    // The shortcut picture's keypad, 273 x 325 pixels: every key in its own cell, "+" and Enter
    // two rows high, "0" two columns wide, with the background in every gap between two keys.
    // Sampled at the cells' and gaps' middles ('#' a key, '.' the background), cells 64 x 61
    // pixels in a margin of 4 and gaps of 3.
    void keymapPictureKeysInTheirCells() {
        const QImage picture = KeymapPicture();
        QCOMPARE(picture.size(), QSize(273, 325));
        const QRgb background = picture.pixel(1, 1);
        QStringList seen;
        for (int y = 0; y < 9; ++y) {
            QString line;
            for (int x = 0; x < 7; ++x) {
                const QPoint at(x % 2 ? 69 + 67 * (x / 2) : 36 + 67 * (x / 2),
                                y % 2 ? 66 + 64 * (y / 2) : 34 + 64 * (y / 2));
                line += picture.pixel(at) == background ? '.' : '#';
            }
            seen << line;
        }
        QCOMPARE(seen, QStringList({"#.#.#.#", ".......", "#.#.#.#", "......#", "#.#.#.#",
                                    ".......", "#.#.#.#", "......#", "###.#.#"}));
        // No key reaches into the margin's outer two pixels.
        const QRect inside = picture.rect().adjusted(2, 2, -2, -2);
        int inMargin = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                inMargin += !inside.contains(x, y) && picture.pixel(x, y) != background;
        QCOMPARE(inMargin, 0);
    }

    // Every key of the shortcut picture carries its legend in black, and below it its second
    // legend or arrow where it has one ('+'; a word's second line is not judged, '?'). The keys
    // with a shortcut carry their action in red as well (0 / Ins adds a calibration point); Num
    // Lock, 4, 5 and 6 none.
    void keymapPictureInksEachKey() {
        const struct {
            const char* key;
            int column, row, columns, rows;
            char second;
            bool action;
        } keys[] = {
            {"Num Lock", 0, 0, 1, 1, '?', false}, {"/", 1, 0, 1, 1, '-', true},
            {"*", 2, 0, 1, 1, '-', true},         {"-", 3, 0, 1, 1, '-', true},
            {"7", 0, 1, 1, 1, '+', true},         {"8", 1, 1, 1, 1, '+', true},
            {"9", 2, 1, 1, 1, '+', true},         {"+", 3, 1, 1, 2, '-', true},
            {"4", 0, 2, 1, 1, '+', false},        {"5", 1, 2, 1, 1, '-', false},
            {"6", 2, 2, 1, 1, '+', false},        {"1", 0, 3, 1, 1, '+', true},
            {"2", 1, 3, 1, 1, '+', true},         {"3", 2, 3, 1, 1, '+', true},
            {"Enter", 3, 3, 1, 2, '?', true},     {"0", 0, 4, 2, 1, '+', true},
            {".", 2, 4, 1, 1, '+', true},
        };
        const QImage picture = KeymapPicture();
        for (const auto& key : keys) {
            // The second legend's strip 23 to 28 pixels down a key, inside its edges.
            const QRect cell = KeymapKey(key.column, key.row, key.columns, key.rows);
            const QRect strip(cell.left() + 5, cell.top() + 23, cell.width() - 10, 6);
            int black = 0, red = 0, dark = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x) {
                    const QColor c = picture.pixelColor(x, y);
                    black += c.rgb() == qRgb(0, 0, 0);
                    red += c.red() > 150 && c.green() < 60 && c.blue() < 60;
                    dark += strip.contains(x, y) && Brightest(c) < 60;
                }
            QVERIFY2(black > 0 && (red > 0) == key.action, key.key);
            QVERIFY2(key.second == '?' || (dark > 0) == (key.second == '+'), key.key);
        }
    }

    // Each key cap of the shortcut picture: a light face in a dark grey line a pixel wide on its
    // left, right and bottom edges, its shadow a pixel right of it and two below, its corners
    // rounded off, on the picture's grey.
    void keymapKeyCapsFaceLineAndShadow() {
        const QImage picture = KeymapPicture();
        const QColor background(190, 190, 190), face(248, 248, 244), line(70, 70, 70),
            shadow(110, 110, 110);
        QCOMPARE(picture.pixelColor(0, 0), background);
        for (const auto& [column, row, columns, rows] :
             {std::array{0, 0, 1, 1}, {3, 1, 1, 2}, {0, 4, 2, 1}, {2, 4, 1, 1}}) {
            const QRect cell = KeymapKey(column, row, columns, rows);
            const int middleX = cell.center().x(), middleY = cell.center().y();
            const struct {
                QPoint point;
                QColor colour;
                const char* what;
            } spots[] = {
                {{cell.right() - 4, cell.top() + 3}, face, "face"},
                {{cell.left(), middleY}, line, "left line"},
                {{cell.right() - 1, middleY}, line, "right line"},
                {{middleX, cell.bottom() - 2}, line, "bottom line"},
                {{cell.right(), middleY}, shadow, "right shadow"},
                {{middleX, cell.bottom()}, shadow, "bottom shadow"},
                {cell.topLeft(), background, "rounded corner"},
            };
            for (const auto& [point, colour, what] : spots)
                QVERIFY2(picture.pixelColor(point) == colour,
                         qPrintable(QStringLiteral("%1 of the key at %2, %3 is %4")
                                        .arg(what)
                                        .arg(column)
                                        .arg(row)
                                        .arg(picture.pixelColor(point).name())));
        }
    }

    // The legends in the keymap's sizes: the ink of each, its faint edges weighed by how faint,
    // as much as that of the text drawn here in the font it should have, within 4 %: a sign
    // 15 pixels bold in the legend's strip 4 to 20 pixels down its key, its second legend 9
    // pixels in the strip below, to 31 down, a word 11 pixels bold over both strips, the action
    // 10 pixels bold below them.
    void keymapLegendsInTheirSizes() {
        const struct {
            const char* text;
            int column, row, top, bottom, pixels;
            QFont::Weight weight;
            QColor ink;
        } legends[] = {
            {"7", 0, 1, 4, 20, 15, QFont::Bold, Qt::black},
            {"Home", 0, 1, 20, 31, 9, QFont::Normal, Qt::black},
            {"3", 2, 3, 4, 20, 15, QFont::Bold, Qt::black},
            {"PgDn", 2, 3, 20, 31, 9, QFont::Normal, Qt::black},
            {"Enter", 3, 3, 4, 31, 11, QFont::Bold, Qt::black},
            {"Last Part", 0, 3, 31, 56, 10, QFont::Bold, QColor(204, 0, 0)},
        };
        const QColor face(248, 248, 244);
        // Both inks darken the face's green: in pixels of full ink.
        const auto ink = [&](const QImage& image, const QRect& area) {
            double sum = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    sum += qMax(0, face.green() - image.pixelColor(x, y).green());
            return sum / face.green();
        };
        const QImage picture = KeymapPicture();
        for (const auto& legend : legends) {
            const QRect cell = KeymapKey(legend.column, legend.row);
            const double seen = ink(picture, QRect(cell.left() + 2, cell.top() + legend.top,
                                                   cell.width() - 4, legend.bottom - legend.top));
            QImage drawn(120, 40, QImage::Format_ARGB32);
            drawn.fill(face);
            QPainter painter(&drawn);
            painter.setPen(legend.ink);
            painter.setFont(ArtFont(legend.pixels, legend.weight));
            painter.drawText(QPointF(10, 30), QString::fromLatin1(legend.text));
            painter.end();
            const double expected = ink(drawn, drawn.rect());
            QVERIFY2(qAbs(seen - expected) <= 0.04 * expected,
                     qPrintable(QStringLiteral("%1: %2 of ink, %3 expected")
                                    .arg(legend.text)
                                    .arg(seen)
                                    .arg(expected)));
        }
    }

    // The arrows below 8, 4, 6 and 2 point their keys' way: their heads, the wider end, carry
    // more ink than their shafts, each half of the arrow's own extent weighed against the other.
    // Each is drawn about a point 11 pixels across from its key's left and 25 down from its top.
    void keymapArrowsPointTheirWay() {
        const struct {
            const char* key;
            int column, row;
            const char* way;
        } arrows[] = {
            {"8", 1, 1, "up"}, {"4", 0, 2, "left"}, {"6", 2, 2, "right"}, {"2", 1, 3, "down"}};
        const QImage picture = KeymapPicture();
        for (const auto& arrow : arrows) {
            const QPoint centre = KeymapKey(arrow.column, arrow.row).topLeft() + QPoint(11, 25);
            QList<QPoint> ink;
            for (int dy = -6; dy <= 6; ++dy)
                for (int dx = -6; dx <= 6; ++dx) {
                    const QColor c = picture.pixelColor(centre + QPoint(dx, dy));
                    if (Brightest(c) < 128)
                        ink << QPoint(dx, dy);
                }
            QRect extent;
            for (const QPoint& p : ink)
                extent |= QRect(p, QSize(1, 1));
            const QPointF middle = QRectF(extent).center() - QPointF(0.5, 0.5);
            int up = 0, down = 0, left = 0, right = 0;
            for (const QPoint& p : ink) {
                up += p.y() < middle.y();
                down += p.y() > middle.y();
                left += p.x() < middle.x();
                right += p.x() > middle.x();
            }
            const QString way = qAbs(up - down) > qAbs(left - right) ? (up > down ? "up" : "down")
                                : left != right ? (left > right ? "left" : "right")
                                                : "none";
            QVERIFY2(way == arrow.way, arrow.key);
        }
    }

    // The About box as its template lays it out in dialog units, converted as the dialog's font
    // gives them: a quarter of the alphabet's mean width across, an eighth of its height down.
    void aboutBoxFollowsItsTemplate() {
        QStringList placed, expected;
        platform_.onModal = [&](QDialog& about) {
            const QFontMetrics metrics(about.font());
            const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
            const int baseX =
                (metrics.horizontalAdvance(alphabet + alphabet.toLower()) / 26 + 1) / 2;
            const int baseY = metrics.height();
            const auto across = [&](int units) { return (units * baseX + 2) / 4; };
            const auto down = [&](int units) { return (units * baseY + 4) / 8; };
            const struct {
                const char* name;
                int x, y, width, height;
            } controls[] = {{"", 0, 0, 235, 55},
                            {"aboutIcon", 11, 17, 20, 20},
                            {"aboutText", 40, 10, 119, 8},
                            {"aboutNotice", 40, 25, 119, 8},
                            {"okButton", 178, 7, 50, 14}};
            for (const auto& c : controls) {
                const QWidget* widget =
                    *c.name ? about.findChild<QWidget*>(c.name) : static_cast<QWidget*>(&about);
                const QRect at = *c.name ? widget->geometry() : QRect(QPoint(), widget->size());
                placed << QStringLiteral("%1 %2,%3 %4x%5")
                              .arg(c.name, QString::number(at.x()), QString::number(at.y()),
                                   QString::number(at.width()), QString::number(at.height()));
                expected << QStringLiteral("%1 %2,%3 %4x%5")
                                .arg(c.name, QString::number(across(c.x)),
                                     QString::number(down(c.y)), QString::number(across(c.width)),
                                     QString::number(down(c.height)));
            }
        };
        MenuEntry(*dlg_, CommandId::About)->trigger();
        QCOMPARE(placed, expected);
    }

    // The keymap window has no button: Enter on either keyboard closes it as Esc does, and any
    // other key leaves it open. The About box closes on its OK button, its default, and on Esc.
    void smallWindowsCloseOnTheirKeys_data() {
        QTest::addColumn<bool>("about"); // else the keymap window
        QTest::addColumn<int>("key");    // 0: the OK button pressed
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("closes");
        const int none = Qt::NoModifier, keypad = Qt::KeypadModifier;
        QTest::newRow("keymap, Return") << false << int(Qt::Key_Return) << none << true;
        QTest::newRow("keymap, keypad Enter") << false << int(Qt::Key_Enter) << keypad << true;
        QTest::newRow("keymap, Esc") << false << int(Qt::Key_Escape) << none << true;
        QTest::newRow("keymap, keypad *") << false << int(Qt::Key_Asterisk) << keypad << false;
        QTest::newRow("keymap, Space") << false << int(Qt::Key_Space) << none << false;
        QTest::newRow("About, OK") << true << 0 << none << true;
        QTest::newRow("About, Return") << true << int(Qt::Key_Return) << none << true;
        QTest::newRow("About, Esc") << true << int(Qt::Key_Escape) << none << true;
        QTest::newRow("About, keypad *") << true << int(Qt::Key_Asterisk) << keypad << false;
    }
    void smallWindowsCloseOnTheirKeys() {
        QFETCH(bool, about);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, closes);
        bool open = false;
        platform_.onModal = [&](QDialog& window) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            if (key == 0)
                QTest::mouseClick(window.findChild<QPushButton*>("okButton"), Qt::LeftButton);
            else
                QTest::keyClick(&window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            open = window.isVisible();
        };
        if (about)
            MenuEntry(*dlg_, CommandId::About)->trigger();
        else
            click("shortcuts");
        QCOMPARE(!open, closes);
    }

    // Unplace all asks first: Cancel leaves the marks, OK clears them.
    void unplaceAllAsksFirst() {
        loadPkp("R1,10k,0603,1,2,0,top\n");
        ClickRow(*dlg_, 0);
        QTest::keyClick(control<QTableView>("partList"), Qt::Key_Return);
        platform_.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
        for (const char* mark : {"DONE", ""}) {
            click("unplaceAll");
            QCOMPARE(cell(0), mark);
        }
        QCOMPARE(platform_.messages.size(), 2);
        QCOMPARE(platform_.messages.value(1).text, "Unplace all components on both sides ?");
    }

    // Load BOM from the right-click menu: the part it leaves off reads "DNP" in grey, the MPN
    // column shows while a row fills it, and Enter on the part says why once.
    void bomMarksPartsLeftOff() {
        loadPkp("R1,10k,0603,1,2,0,top\nR2,10k,0603,3,4,0,top\n");
        auto* list = control<QTableView>("partList");
        const int mpn = kPartColumnCount;
        QVERIFY(list->isColumnHidden(mpn));
        platform_.files = {write("bom.csv", "Reference,MPN,DNP\nR1,RC0603FR-0710KL,\nR2,,DNP\n")};
        MenuEntry(*dlg_, CommandId::LoadBom)->trigger();
        QCOMPARE(cell(1, 0) + "|" + cell(0, mpn), "DNP|RC0603FR-0710KL");
        QVERIFY(!list->isColumnHidden(mpn));
        QVERIFY(list->isColumnHidden(mpn + 1)); // no supplier numbers
        // Each column shown as wide as the column tables make it.
        for (int column = 0; column < kListColumnCount; ++column) {
            const int width = column < kPartColumnCount
                                  ? kPartListColumns[std::size_t(column)].width
                                  : kBomListColumns[std::size_t(column - mpn)].width;
            QCOMPARE(list->horizontalHeader()->sectionSize(column),
                     list->isColumnHidden(column) ? 0 : width);
        }
        QCOMPARE(list->model()->index(1, 3).data(Qt::ForegroundRole).value<QColor>(),
                 QColor(150, 150, 150));
        ClickRow(*dlg_, 1);
        QTest::keyClick(list, Qt::Key_Return);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(platform_.messages.size(), 1);
        QCOMPARE(platform_.messages.value(0).text,
                 "R2 stays off the board: the BOM marks it not fitted.");
        MenuEntry(*dlg_, CommandId::ToggleNotFitted)->trigger();
        QCOMPARE(cell(1, 0), "");
    }

    // What the part list's model gives for each header and cell and each role asked, "none" where
    // it gives nothing: on R1 with its MPN and supplier number, and R2 left off by the BOM.
    void partListGivesEachRole_data() {
        QTest::addColumn<int>("row"); // -1 for the horizontal header, -2 for the vertical
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("given");
        const int h = -1, v = -2, text = Qt::DisplayRole, align = Qt::TextAlignmentRole,
                  colour = Qt::ForegroundRole, tip = Qt::ToolTipRole;
        const QString left = QString::number(Qt::AlignLeft | Qt::AlignVCenter),
                      right = QString::number(Qt::AlignRight | Qt::AlignVCenter),
                      centre = QString::number(Qt::AlignCenter);
        const char* const titles[] = {"Placed",   "Item#", "Part ID", "Value", "Package",   "Layer",
                                      "Rotation", "X",     "Y",       "MPN",   "Supplier #"};
        for (int column = 0; column < 11; ++column)
            QTest::addRow("title %d", column) << h << column << text << titles[column];
        QTest::newRow("title -1") << h << -1 << text << "none";
        QTest::newRow("title 11") << h << 11 << text << "none";
        QTest::newRow("row header") << v << 0 << text << "none";
        QTest::newRow("title's tip") << h << 0 << tip << "none";
        QTest::newRow("Placed title left") << h << 0 << align << left;
        QTest::newRow("Layer title centred") << h << 5 << align << centre;
        QTest::newRow("X title right") << h << 7 << align << right;
        QTest::newRow("MPN title left") << h << 9 << align << left;
        QTest::newRow("R1's Part ID") << 0 << 2 << text << "R1";
        QTest::newRow("R1's MPN") << 0 << 9 << text << "RC0603FR-0710KL";
        QTest::newRow("R1's supplier number") << 0 << 10 << text << "C25804";
        QTest::newRow("R2's empty MPN") << 1 << 9 << text << "";
        QTest::newRow("R2 not fitted") << 1 << 0 << text << "DNP";
        QTest::newRow("R1 in the usual ink") << 0 << 3 << colour << "none";
        QTest::newRow("R2 greyed") << 1 << 3 << colour << "#969696";
        QTest::newRow("R2's MPN greyed") << 1 << 9 << colour << "#969696";
        QTest::newRow("Rotation centred") << 0 << 6 << align << centre;
        QTest::newRow("Y right") << 1 << 8 << align << right;
        QTest::newRow("Supplier # left") << 0 << 10 << align << left;
        QTest::newRow("a cell's tip") << 0 << 2 << tip << "none";
        QTest::newRow("no third row") << 2 << 2 << text << "none";
    }
    void partListGivesEachRole() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, role);
        QFETCH(QString, given);
        loadPkp("R1,10k,0603,1,2,0,top\nR2,10k,0603,3,4,0,top\n");
        platform_.files = {write("bom.csv", "Reference,MPN,LCSC,DNP\nR1,RC0603FR-0710KL,C25804,\n"
                                            "R2,,,DNP\n")};
        MenuEntry(*dlg_, CommandId::LoadBom)->trigger();
        const QAbstractItemModel* model = control<QTableView>("partList")->model();
        if (row >= model->rowCount()) // a cell past the list is refused, and Qt warns of it
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("is not valid"));
        const QVariant value =
            row < 0 ? model->headerData(column, row == -1 ? Qt::Horizontal : Qt::Vertical, role)
                    : model->data(model->index(row, column), role);
        const QString shown = !value.isValid() ? QString("none")
                              : value.metaType() == QMetaType::fromType<QColor>()
                                  ? value.value<QColor>().name()
                                  : value.toString();
        QCOMPARE(shown, given);
    }

    // The list is flat: a row for each part, and nothing under a cell.
    void partListIsFlat() {
        loadPkp("R1,10k,0603,1,2,0,top\nR2,10k,0603,3,4,0,top\n");
        const QAbstractItemModel* model = control<QTableView>("partList")->model();
        const QModelIndex cell = model->index(1, 3);
        QCOMPARE(QStringLiteral("%1 rows, under a cell %2 x %3")
                     .arg(model->rowCount())
                     .arg(model->rowCount(cell))
                     .arg(model->columnCount(cell)),
                 "2 rows, under a cell 0 x 0");
    }

    // Print sheets writes the PDF beside the pick list's page and opens it: a cover, the items'
    // blocks on one page, a sheet of labels. C4 is excluded from the BOM and R6 not fitted.
    void printSheetsWritesAndOpensThePdf() {
        platform_.files = {QStringLiteral(TEST_DATA_DIR "/boms/board.csv"),
                           QStringLiteral(TEST_DATA_DIR "/boms/kicad.csv")};
        click("loadPkp");
        MenuEntry(*dlg_, CommandId::LoadBom)->trigger();
        MenuEntry(*dlg_, CommandId::PrintSheets)->trigger();
        QVERIFY(platform_.messages.isEmpty());
        QCOMPARE(QFileInfo(platform_.openedDocuments.value(0)).fileName(), "sheets.pdf");
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
        QCOMPARE(openedPdf().count(page), 3);
        // The document names itself and its maker, in UTF-16 as the writer gives its strings.
        const auto pdfString = [](const char* text) {
            QByteArray string("(\xFE\xFF");
            for (const char* c = text; *c; ++c)
                string += QByteArray(1, '\0') + *c;
            return QString::fromLatin1(string + ')');
        };
        QVERIFY(openedPdf().contains("/Title " + pdfString("Kitting sheets")));
        QVERIFY(openedPdf().contains("/Creator " + pdfString("Kavelto")));
        // A square tick box for each of the nine top parts fitted, in rows of boxes evenly
        // spaced, then a label for each of their 5 items on the usual A4 sheet of 3 x 8 labels
        // of 70 x 37 mm, centred: the first at the sheet's left edge, half a millimetre down.
        QList<QRectF> drawn;
        for (const QList<QRectF>& page : openedPdfRectangles())
            drawn += page;
        QCOMPARE(drawn.size(), 9 + 5);
        const auto near = [](qreal a, qreal mm) { return qAbs(a - mm * 300 / 25.4) < 1.0; };
        const QRectF firstTick = drawn[0];
        for (const QRectF& tick : drawn.mid(0, 9)) {
            QCOMPARE(tick.size(), firstTick.size());
            QVERIFY(tick.width() == tick.height());
        }
        QVERIFY(qAbs((drawn[2].x() - drawn[1].x()) - (drawn[1].x() - drawn[0].x())) < 0.01);
        QVERIFY(drawn[1].x() > drawn[0].x() + firstTick.width());
        const QList<QRectF> labels = drawn.mid(9);
        for (const QRectF& label : labels)
            QVERIFY2(near(label.width(), 70) && near(label.height(), 37),
                     qPrintable(QStringLiteral("%1 x %2").arg(label.width()).arg(label.height())));
        QVERIFY(near(labels[0].x(), 0) && near(labels[0].y(), 0.5));
        QVERIFY(near(labels[1].x() - labels[0].x(), 70) && labels[1].y() == labels[0].y());
        QVERIFY(near(labels[3].y() - labels[0].y(), 37) && labels[3].x() == labels[0].x());
    }

    // Twenty-five items fill a sheet of 24 labels and start another at its first label, top
    // left. Without a BOM, one part of each value.
    void printSheetsStartsASecondSheetOfLabels() {
        QByteArray parts;
        for (int n = 1; n <= 25; ++n)
            parts += QStringLiteral("R%1,%1k,0603,%1,2,0,top\n").arg(n).toLatin1();
        loadPkp(parts);
        MenuEntry(*dlg_, CommandId::PrintSheets)->trigger();
        QVERIFY(platform_.messages.isEmpty());
        const QList<QList<QRectF>> pages = openedPdfRectangles();
        QVERIFY(pages.size() >= 3);
        const QList<QRectF> first = pages.value(pages.size() - 2), second = pages.back();
        QCOMPARE(QString("%1 + %2").arg(first.size()).arg(second.size()), "24 + 1");
        QCOMPARE(second.front(), first.front());
        // The last label of the first sheet two columns right and seven rows down.
        const QPointF last = first.back().topLeft() - first.front().topLeft();
        QVERIFY(qAbs(last.x() - 2 * first.front().width()) < 0.01 &&
                qAbs(last.y() - 7 * first.front().height()) < 0.01);
    }

    // Calibrated on the demo board, each block carries the face's picture: the PDF holds it as
    // one image, made once for all the blocks that show it.
    void printSheetsHoldsThePictureOnce() {
        loadDemoBoard();
        platform_.files = {QStringLiteral(DEMO_DIR "/coldfire-top.jpg")};
        click("loadBitmap");
        const auto face = ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"), false);
        CalibrateOn(*dlg_, {face.front(), face.back()});
        MenuEntry(*dlg_, CommandId::PrintSheets)->trigger();
        QVERIFY(platform_.messages.isEmpty());
        static const QRegularExpression image(QStringLiteral("/Subtype\\s*/Image"));
        QCOMPARE(openedPdf().count(image), 1);
    }

    // "Spares rule..." offers the rule's table, again after a table that gives no rule; the
    // rule left is kept in the settings and comes back with the next window, named in the
    // spares entry.
    void sparesRuleIsKeptInTheSettings() {
        platform_.tables = {TableCells{{"0603", "101", "2"}}, TableCells{{"0805", "20", "3"}}};
        MenuEntry(*dlg_, CommandId::EditSparesRule)->trigger();
        QCOMPARE(platform_.tableEdits.size(), 2);
        QCOMPARE(platform_.messages.size(), 1);
        QCOMPARE(platform_.messages.value(0).text,
                 "Row 1: the percentage must be a whole number from 0 to 100.");
        const QString named = QStringLiteral("Spares per item (20 %, at least 3 up to 0805)");
        QCOMPARE(MenuEntry(*dlg_, CommandId::SparesPerItem)->text(), named);
        dlg_ = std::make_unique<CPlacementDlg>(platform_);
        QCOMPARE(MenuEntry(*dlg_, CommandId::SparesPerItem)->text(), named);
        QSettings().remove(QStringLiteral("sparesRule"));
    }

    // Each shortcut key on a control that would use it itself, from row 10 of the demo board's
    // 146 top parts: the key presses the control sees (none: the window took the key), then the
    // selected row and whether row 10 is placed. The main keyboard's signs and Shift+Insert
    // (paste) are the field's; Enter on a button places, as anywhere else.
    void shortcutKeys_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("seen");
        QTest::addColumn<QString>("after");
        QTest::newRow("Return, count") << "Return"
                                       << "pcbCount" << 0 << "11 DONE";
        QTest::newRow("Return, Rot L") << "Return"
                                       << "rotL" << 0 << "11 DONE";
        QTest::newRow("PgDown, list") << "PgDown"
                                      << "partList" << 0 << "18 ";
        QTest::newRow("-, count") << "-"
                                  << "pcbCount" << 1 << "10 ";
        QTest::newRow("Shift+Ins, count") << "Shift+Ins"
                                          << "pcbCount" << 2 << "10 ";
    }
    void shortcutKeys() {
        QFETCH(QString, key);
        QFETCH(QString, focus);
        QFETCH(int, seen);
        QFETCH(QString, after);
        loadDemoBoard();
        const QKeyCombination combination = QKeySequence(key)[0];
        QWidget* widget = dlg_->findChild<QWidget*>(focus);
        widget->setFocus();
        widget->installEventFilter(this);
        QTest::keyClick(widget, combination.key(), combination.keyboardModifiers());
        const int row = dlg_->session().selection().row.value();
        QCOMPARE(QString::number(row) + ' ' + cell(10), after);
        QCOMPARE(presses_, seen);
        QCOMPARE(control<PartListView>("partList")->selectedRow(), row);
    }

    // The magnifier keeps the picture's aspect: a press 28 pane pixels right of the crosshair
    // and one 28 pixels below it move the point by the same number of picture pixels (a 280 x
    // 216 pane over the 100 picture pixels of the zoom box: 10 each way). Its crosshair is one
    // pixel thin, across the whole pane through the point. Alt+Right moves the point one picture
    // pixel. The title names both files.
    void magnifierPressesAndTitle() {
        loadDemoBoard();
        platform_.files = {QStringLiteral(DEMO_DIR "/coldfire-top.jpg")};
        click("loadBitmap");
        QCOMPARE(dlg_->windowTitle(), QString::fromUtf8("coldfire.csv, coldfire-top.jpg \u2014 "
                                                        "Kavelto, offered by QUANDEL "
                                                        "(www.quandel.example) - version 1.2"));
        const QRect board = control("pictureFrame")->geometry();
        PressOnPicture(*dlg_, board.topLeft() + QPoint(300, 200));
        QWidget* magnifier = control("magnifierFrame");
        const auto marker = [this] { return dlg_->session().view().marker.value().at; };
        const auto crosshair = [&] {
            const QImage pane = magnifier->grab().toImage().convertToFormat(QImage::Format_RGB32);
            int row = -1, column = -1;
            for (int y = 0; y < pane.height(); ++y)
                if (pane.pixel(pane.width() / 4, y) == qRgb(255, 40, 200))
                    row = row < 0 ? y : -2; // -2: more than one row
            for (int x = 0; x < pane.width(); ++x)
                if (pane.pixel(x, pane.height() / 4) == qRgb(255, 40, 200))
                    column = column < 0 ? x : -2;
            return QPoint(column, row);
        };
        QVERIFY(crosshair().x() > 0 && crosshair().y() > 0);
        const double scale = magnifier->width() / double(dlg_->session().view().zoomBoxSize);
        // Each press and key, and how far it moves the point: the presses to within a pixel.
        const auto moves = [&](const std::function<void()>& act) {
            const PixelPoint before = marker();
            act();
            return QPoint(marker().x - before.x, marker().y - before.y);
        };
        const int step = qRound(10 * scale);
        const auto press = [&](const QPoint& by) {
            QTest::mouseClick(magnifier, Qt::LeftButton, {}, crosshair() + by);
        };
        const QPoint across = moves([&] { press({step, 0}); });
        QVERIFY2(across.y() == 0 && std::abs(across.x() - 10) <= 1,
                 qPrintable(QString::number(across.x())));
        const QPoint down = moves([&] { press({0, step}); });
        QVERIFY2(down.x() == 0 && std::abs(down.y() - 10) <= 1,
                 qPrintable(QString::number(down.y())));
        // Dragged, the point follows before the button is let go.
        const QPoint at = crosshair();
        const QPoint dragged = moves([&] {
            QTest::mousePress(magnifier, Qt::LeftButton, {}, at);
            QTest::mouseMove(magnifier, at + QPoint(step, 0));
        });
        QTest::mouseRelease(magnifier, Qt::LeftButton, {}, at + QPoint(step, 0));
        QVERIFY2(dragged.y() == 0 && std::abs(dragged.x() - 10) <= 1,
                 qPrintable(QString::number(dragged.x())));
        QCOMPARE(moves([&] { QTest::keyClick(dlg_.get(), Qt::Key_Right, Qt::AltModifier); }),
                 QPoint(1, 0));
        QCOMPARE(dlg_->session().view().marker->mode, MarkerMode::UserPoint);
    }

    // On the calibrated demo board, a change paints the magnifier as well as the board view: one
    // that can wait once the window's events have run, a part located from the list at once.
    void aChangePaintsBothViews_data() {
        QTest::addColumn<bool>("clickInTheList");
        QTest::newRow("the kind's spots, which can wait") << false;
        QTest::newRow("a row clicked, at once") << true;
    }
    void aChangePaintsBothViews() {
        QFETCH(bool, clickInTheList);
        struct PaintCounter : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override {
                paints += event->type() == QEvent::Paint;
                return false;
            }
        };
        loadDemoBoard();
        platform_.files = {QStringLiteral(DEMO_DIR "/coldfire-top.jpg")};
        click("loadBitmap");
        const auto face = ReadTruth(QStringLiteral(DEMO_DIR "/coldfire.truth.json"), false);
        CalibrateOn(*dlg_, {face.front(), face.back()});
        const auto* view = dlg_->findChild<BoardView*>("pictureFrame");
        QVERIFY(QTest::qWaitFor([view] { return view->pictures().whole(); }, 10000));
        PaintCounter board, magnifier;
        control("pictureFrame")->installEventFilter(&board);
        control("magnifierFrame")->installEventFilter(&magnifier);
        QCoreApplication::processEvents(); // the paints already due
        board.paints = magnifier.paints = 0;
        if (clickInTheList)
            ClickRow(*dlg_, 3);
        else
            MenuEntry(*dlg_, CommandId::ShowKindSpots)->trigger();
        QVERIFY(QTest::qWaitFor([&] { return board.paints > 0 && magnifier.paints > 0; }, 1000));
    }

    // Whatever the window's size, the picture frame's right edge and the list's right and bottom
    // edges stay 10 pixels inside the window's own; their left and top edges stay where they are.
    void stretchesThePictureAndTheListToTheWindow() {
        QWidget* frame = control("pictureFrame");
        QWidget* list = control("partList");
        const QPoint frameAt = frame->pos(), listAt = list->pos();
        const int frameHeight = frame->height();
        for (const QSize size : {QSize(1000, 700), QSize(1400, 900)}) {
            dlg_->resize(size);
            QTRY_COMPARE(dlg_->size(), size);
            QCOMPARE(frame->geometry(),
                     QRect(frameAt, QPoint(size.width() - 11, frameAt.y() + frameHeight - 1)));
            QCOMPARE(list->geometry(),
                     QRect(listAt, QPoint(size.width() - 11, size.height() - 11)));
        }
    }

    // A key that moves the selection far scrolls the list to it: End shows the last part's row,
    // Home the first's again.
    void theSelectedRowScrollsIntoView() {
        loadDemoBoard();
        auto* list = control<QTableView>("partList");
        for (const auto& [key, row] : {std::pair{Qt::Key_End, 145}, std::pair{Qt::Key_Home, 0}}) {
            QTest::keyClick(dlg_.get(), key);
            QCOMPARE(dlg_->session().selection().row, std::optional<int>(row));
            QVERIFY(list->viewport()->rect().contains(
                list->visualRect(list->model()->index(row, 0)).center()));
        }
    }

    // Tab leaves the part list for the next control in the window's order, Load Bitmap, as it
    // leaves any other control: it does not walk the list's cells.
    void tabLeavesTheList() {
        loadDemoBoard();
        QWidget* list = control("partList");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Tab);
        QCOMPARE(dlg_->focusWidget()->objectName(), "loadBitmap");
    }

    // Shrunk far below its size, the window keeps the list's header and five rows on screen,
    // and a part of the picture.
    void keepsItsListAndPictureWhenShrunk() {
        QVERIFY(!dlg_->isSizeGripEnabled()); // the desktop's frame resizes it, as any window
        dlg_->resize(400, 300);
        auto* list = control<QTableView>("partList");
        QVERIFY(list->geometry().bottom() < dlg_->height());
        QVERIFY(list->height() >= list->horizontalHeader()->height() +
                                      5 * list->verticalHeader()->defaultSectionSize());
        QVERIFY(control("pictureFrame")->width() > 50);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
