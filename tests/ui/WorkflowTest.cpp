#include "AppIdentity.h"
#include "CPlacementDlg.h"
#include "FakePlatform.h"
#include "PartListView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

using Answer = Platform::Answer;

namespace {

struct PartLine {
    QByteArray designator;
    QByteArray value;
    QByteArray package;
    double x;
    double y;
    QByteArray side;
};

// One header line, comma-separated, then the meaning of each column of the lines below.
constexpr char kColumnConfig[] = "1\n,\n1,5,6,3,4,7,2\n";

QByteArray PlacementFile(const std::vector<PartLine>& parts) {
    QByteArray text = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
    for (const PartLine& p : parts) {
        text += p.designator + ',' + p.value + ',' + p.package + ',' + QByteArray::number(p.x) +
                ',' + QByteArray::number(p.y) + ",0," + p.side + '\n';
    }
    return text;
}

// R1 to R<count>, all of one kind, so that stepping through them never announces a new part.
std::vector<PartLine> Resistors(int count, const char* side) {
    std::vector<PartLine> parts;
    for (int i = 1; i <= count; ++i)
        parts.push_back({"R" + QByteArray::number(i), "10k", "0603", 1.5 * i, -2.0 * i, side});
    return parts;
}

// The pick list's worked example; sorted by prefix and number the rows keep this order.
const std::vector<PartLine> kFiveRows = {
    {"Q1", "BC847", "SOT23", 10, 20, "top"}, {"Q2", "BC847", "SOT23", 11, 21, "top"},
    {"Q3", "BC857", "SOT23", 12, 22, "top"}, {"Q4", "LM358", "SOIC8", 13, 23, "top"},
    {"Q5", "BC847", "SOT23", 14, 24, "top"},
};

std::vector<PartLine> OnSide(std::vector<PartLine> parts, const char* side) {
    for (PartLine& part : parts)
        part.side = side;
    return parts;
}

constexpr int kSortByPrefixAndNumber = 2;

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Counts the presses of each key that get as far as the control itself.
class KeyRecorder : public QObject {
public:
    explicit KeyRecorder(QWidget* target) : target_(target) { target->installEventFilter(this); }
    ~KeyRecorder() override {
        if (target_)
            target_->removeEventFilter(this);
    }

    int presses(int key) const { return keys_.count(key); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            keys_ << static_cast<QKeyEvent*>(event)->key();
        return false;
    }

private:
    QPointer<QWidget> target_;
    QList<int> keys_;
};

// Makes a directory the process's working directory for as long as it lives.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const QString& path) : previous_(QDir::currentPath()) {
        QDir::setCurrent(path);
    }
    ~WorkingDirectory() { QDir::setCurrent(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    QString previous_;
};

// Points the process's temporary directory elsewhere for as long as it lives.
class TempPathOverride {
public:
    explicit TempPathOverride(const QString& path)
        : wasSet_(qEnvironmentVariableIsSet("TMPDIR")), previous_(qgetenv("TMPDIR")) {
        qputenv("TMPDIR", QFile::encodeName(path));
    }
    ~TempPathOverride() {
        if (wasSet_)
            qputenv("TMPDIR", previous_);
        else
            qunsetenv("TMPDIR");
    }
    TempPathOverride(const TempPathOverride&) = delete;
    TempPathOverride& operator=(const TempPathOverride&) = delete;

private:
    bool wasSet_;
    QByteArray previous_;
};

struct KeyCase {
    const char* name;
    int key;
    bool keypad;
    int startRow;
    int expectedRow;
    int placedRow; // the one row showing "DONE" afterwards, -1 for none
    int rotation;
    int zoomBoxSize;
    bool consumed;
};

// Over twenty parts of one kind, nothing placed, rotation 0 and zoom box 100 at the start.
const KeyCase kKeyCases[] = {
    {"Enter", Qt::Key_Return, false, 5, 6, 5, 0, 100, true},
    {"keypad Enter", Qt::Key_Enter, true, 5, 6, 5, 0, 100, true},
    {"Down", Qt::Key_Down, false, 5, 6, -1, 0, 100, true},
    {"keypad Down", Qt::Key_Down, true, 5, 6, -1, 0, 100, true},
    {"Up", Qt::Key_Up, false, 5, 4, -1, 0, 100, true},
    {"Page Up from row 5", Qt::Key_PageUp, false, 5, 0, -1, 0, 100, true},
    {"Page Up from row 12", Qt::Key_PageUp, false, 12, 4, -1, 0, 100, true},
    {"Page Down from row 5", Qt::Key_PageDown, false, 5, 13, -1, 0, 100, true},
    {"Page Down three rows before the end", Qt::Key_PageDown, false, 17, 19, -1, 0, 100, true},
    {"Home", Qt::Key_Home, false, 5, 0, -1, 0, 100, true},
    {"keypad Home", Qt::Key_Home, true, 5, 0, -1, 0, 100, true},
    {"End", Qt::Key_End, false, 5, 19, -1, 0, 100, true},
    {"Up on row 0", Qt::Key_Up, false, 0, 0, -1, 0, 100, true},
    {"Down on the last row", Qt::Key_Down, false, 19, 19, -1, 0, 100, true},
    {"Page Up on row 0", Qt::Key_PageUp, false, 0, 0, -1, 0, 100, true},
    {"Page Down on the last row", Qt::Key_PageDown, false, 19, 19, -1, 0, 100, true},
    {"Delete", Qt::Key_Delete, false, 5, 6, -1, 0, 100, true},
    {"keypad Delete", Qt::Key_Delete, true, 5, 6, -1, 0, 100, true},
    {"keypad *", Qt::Key_Asterisk, true, 5, 5, -1, 90, 100, true},
    {"keypad /", Qt::Key_Slash, true, 5, 5, -1, 270, 100, true},
    {"keypad +", Qt::Key_Plus, true, 5, 5, -1, 0, 76, true},
    {"keypad -", Qt::Key_Minus, true, 5, 5, -1, 0, 130, true},
    {"main keyboard *", Qt::Key_Asterisk, false, 5, 5, -1, 0, 100, false},
    {"main keyboard /", Qt::Key_Slash, false, 5, 5, -1, 0, 100, false},
    {"main keyboard +", Qt::Key_Plus, false, 5, 5, -1, 0, 100, false},
    {"main keyboard -", Qt::Key_Minus, false, 5, 5, -1, 0, 100, false},
    {"Left", Qt::Key_Left, false, 5, 5, -1, 0, 100, false},
    {"Right", Qt::Key_Right, false, 5, 5, -1, 0, 100, false},
    {"Backspace", Qt::Key_Backspace, false, 5, 5, -1, 0, 100, false},
    {"Tab", Qt::Key_Tab, false, 5, 5, -1, 0, 100, false},
    {"digit 7", Qt::Key_7, false, 5, 5, -1, 0, 100, false},
    {"keypad 5", Qt::Key_5, true, 5, 5, -1, 0, 100, false},
};

// The controls a user may have the focus in: the list, the one field that takes typing, a push
// button whose own press would show, and the drop-down, which would change the sort order.
const char* const kFocusControls[] = {"partList", "pcbCount", "rotR", "sortBy"};

const int kTableKeys[] = {Qt::Key_Return, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_End,
                          Qt::Key_Home,   Qt::Key_Up,     Qt::Key_Down,     Qt::Key_Delete};

QString TextLine(int item, const char* package, const char* value, int perBoard,
                 const char* total) {
    return QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
        .arg(item)
        .arg(QLatin1String(package), QLatin1String(value))
        .arg(perBoard)
        .arg(QLatin1String(total));
}

QString PageRow(int item, const char* package, const char* value, int perBoard, const char* total) {
    return QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td></tr>")
        .arg(item)
        .arg(QLatin1String(package), QLatin1String(value))
        .arg(perBoard)
        .arg(QLatin1String(total));
}

QString PickText(const char* side, const QString& lines) {
    return QStringLiteral("Picking List for %1 SIDE \n\n"
                          "ITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/total\n"
                          "-------\t-------\t-----\t-----\t-----\n")
               .arg(QLatin1String(side)) +
           lines + QStringLiteral("END\n\n\n\n");
}

const QString kPageHeaderRow = QStringLiteral("<tr><td>Item#</td><td>package</td><td>Value</td>"
                                              "<td>Qty/board</td><td>Qty/total</td></tr>");

} // namespace

class WorkflowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void keyTable_data();
    void keyTable();
    void heldKeyRepeats_data();
    void heldKeyRepeats();
    void spacePressesTheFocusedButton();
    void escapeClosesTheWindow();
    void keysDoNothingWithoutRows_data();
    void keysDoNothingWithoutRows();

    void newPartBox_data();
    void newPartBox();
    void sameKindAfterPlacedRowsShowsNoBox();
    void lastUnplacedPartKeepsTheSelection_data();
    void lastUnplacedPartKeepsTheSelection();
    void enterOnDoneRowUnplacesIt();
    void nextUnplacedLooksOnlyBelow_data();
    void nextUnplacedLooksOnlyBelow();
    void keysWithoutHighlightedRow_data();
    void keysWithoutHighlightedRow();
    void unplaceAllCoversBothFaces_data();
    void unplaceAllCoversBothFaces();
    void okCommandPlacesWhileAControlHasFocus();
    void okCommandWithoutFocusClosesAfterReadingFields_data();
    void okCommandWithoutFocusClosesAfterReadingFields();

    void pickList_data();
    void pickList();
    void pickListSecondRunOverwrites();
    void pickListReportsFileErrors_data();
    void pickListReportsFileErrors();

    void needHelp_data();
    void needHelp();
    void logoClick_data();
    void logoClick();
    void smallWindowsOpenAndClose_data();
    void smallWindowsOpenAndClose();

private:
    void load(const std::vector<PartLine>& parts);
    void loadFile(const QByteArray& contents);
    void clickRow(int row);
    void pressKey(QWidget* target, int key, bool keypad = false);
    void click(const char* name);
    void sortByPrefixAndNumber();
    QWidget* control(const char* name) const;
    PartListView* list() const;
    QString cell(int row, int column) const;
    QStringList placedColumn() const;
    int listSelection() const;
    const kavelto::PartRecord& partAtRow(int row) const;
    int placedRecords() const;

    QTemporaryDir dir_;
    QString tempDir_;
    std::unique_ptr<TempPathOverride> tempPath_;
    int files_ = 0;
    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
};

// The pick list page goes to a directory of this test's own, never to one shared with others.
void WorkflowTest::initTestCase() {
    QVERIFY(dir_.isValid());
    QVERIFY(WriteFile(dir_.filePath("Kavelto.ini"), kColumnConfig));
    tempDir_ = dir_.filePath("tmp");
    QVERIFY(QDir().mkpath(tempDir_));
    tempPath_ = std::make_unique<TempPathOverride>(tempDir_);
}

void WorkflowTest::init() {
    platform_ = std::make_unique<FakePlatform>();
    dlg_ = std::make_unique<CPlacementDlg>(*platform_);
    QVERIFY(dlg_->LoadColumnMap(dir_.filePath("Kavelto.ini")));
    dlg_->show();
    QVERIFY(QTest::qWaitForWindowActive(dlg_.get()));
}

void WorkflowTest::cleanup() {
    dlg_.reset();
    platform_.reset();
}

void WorkflowTest::load(const std::vector<PartLine>& parts) {
    loadFile(PlacementFile(parts));
}

void WorkflowTest::loadFile(const QByteArray& contents) {
    const QString path = dir_.filePath(QStringLiteral("parts%1.csv").arg(++files_));
    QVERIFY(WriteFile(path, contents));
    platform_->files.push_back(path);
    click("loadPkp");
}

void WorkflowTest::clickRow(int row) {
    PartListView* view = list();
    const QModelIndex index = view->model()->index(row, 0);
    QVERIFY(index.isValid());
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

void WorkflowTest::pressKey(QWidget* target, int key, bool keypad) {
    QTest::keyClick(target, Qt::Key(key), keypad ? Qt::KeypadModifier : Qt::NoModifier);
}

void WorkflowTest::click(const char* name) {
    QWidget* widget = control(name);
    QVERIFY2(widget, name);
    QTest::mouseClick(widget, Qt::LeftButton);
}

void WorkflowTest::sortByPrefixAndNumber() {
    auto* sortBy = qobject_cast<QComboBox*>(control("sortBy"));
    QVERIFY(sortBy);
    sortBy->setCurrentIndex(kSortByPrefixAndNumber);
}

QWidget* WorkflowTest::control(const char* name) const {
    return dlg_->findChild<QWidget*>(QLatin1String(name));
}

PartListView* WorkflowTest::list() const {
    return dlg_->findChild<PartListView*>(QStringLiteral("partList"));
}

QString WorkflowTest::cell(int row, int column) const {
    return list()->model()->index(row, column).data().toString();
}

QStringList WorkflowTest::placedColumn() const {
    QStringList texts;
    for (int row = 0; row < list()->model()->rowCount(); ++row)
        texts << cell(row, 0);
    return texts;
}

int WorkflowTest::listSelection() const {
    return list()->selectedRow().value_or(-1);
}

const kavelto::PartRecord& WorkflowTest::partAtRow(int row) const {
    const kavelto::FaceList& faces = dlg_->faceList();
    return dlg_->partTable()
        .parts[static_cast<std::size_t>(faces.indexes[static_cast<std::size_t>(row)])];
}

int WorkflowTest::placedRecords() const {
    int placed = 0;
    for (int i = 0; i < dlg_->partTable().partCount; ++i)
        placed += dlg_->partTable().parts[static_cast<std::size_t>(i)].placed;
    return placed;
}

// ---- keys

void WorkflowTest::keyTable_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("expectedRow");
    QTest::addColumn<int>("placedRow");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<int>("zoomBoxSize");
    QTest::addColumn<bool>("consumed");
    for (const char* focus : kFocusControls) {
        for (const KeyCase& c : kKeyCases) {
            QTest::addRow("%s, %s", focus, c.name)
                << QString::fromLatin1(focus) << c.key << c.keypad << c.startRow << c.expectedRow
                << c.placedRow << c.rotation << c.zoomBoxSize << c.consumed;
        }
    }
}

void WorkflowTest::keyTable() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(int, startRow);
    QFETCH(int, expectedRow);
    QFETCH(int, placedRow);
    QFETCH(int, rotation);
    QFETCH(int, zoomBoxSize);
    QFETCH(bool, consumed);

    load(Resistors(20, "top"));
    clickRow(startRow);
    QCOMPARE(dlg_->selection().selectedRow, startRow);
    QWidget* target = control(focus.toLatin1().constData());
    QVERIFY(target);
    target->setFocus();
    auto* field = qobject_cast<QLineEdit*>(target);
    // A key that reached the field would delete the count or move the cursor off its start.
    if (field)
        field->setCursorPosition(0);
    const KeyRecorder recorder(target);

    pressKey(target, key, keypad);

    QCOMPARE(recorder.presses(key) > 0, !consumed);
    QCOMPARE(dlg_->selection().selectedRow, expectedRow);
    QCOMPARE(listSelection(), expectedRow);
    QCOMPARE(dlg_->selection().selectedX, partAtRow(expectedRow).x);
    QCOMPARE(dlg_->selection().selectedY, partAtRow(expectedRow).y);
    QStringList placed(20, QString());
    if (placedRow >= 0)
        placed[placedRow] = QStringLiteral("DONE");
    QCOMPARE(placedColumn(), placed);
    QCOMPARE(dlg_->view().viewRotation, rotation);
    QCOMPARE(dlg_->view().zoomBoxSize, zoomBoxSize);
    QVERIFY(platform_->messages.empty());
    if (field && consumed) {
        QCOMPARE(field->text(), QStringLiteral("1"));
        QCOMPARE(field->cursorPosition(), 0);
    }
}

void WorkflowTest::heldKeyRepeats_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("expectedRow");
    QTest::addColumn<QStringList>("placed");
    QTest::addColumn<int>("zoomBoxSize");
    const QString done = QStringLiteral("DONE");
    QStringList none(20, QString());
    QStringList threePlaced = none;
    threePlaced[5] = threePlaced[6] = threePlaced[7] = done;
    QTest::newRow("Down") << int(Qt::Key_Down) << false << 8 << none << 100;
    QTest::newRow("Enter") << int(Qt::Key_Return) << false << 8 << threePlaced << 100;
    QTest::newRow("keypad +") << int(Qt::Key_Plus) << true << 5 << none << 44;
}

// A held key sends a press, repeated presses and one release; every press acts.
void WorkflowTest::heldKeyRepeats() {
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(int, expectedRow);
    QFETCH(QStringList, placed);
    QFETCH(int, zoomBoxSize);
    load(Resistors(20, "top"));
    clickRow(5);
    const Qt::KeyboardModifiers modifiers = keypad ? Qt::KeypadModifier : Qt::NoModifier;
    for (const bool autoRepeat : {false, true, true}) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
        QApplication::sendEvent(list(), &press);
    }
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(list(), &release);
    QCOMPARE(dlg_->selection().selectedRow, expectedRow);
    QCOMPARE(listSelection(), expectedRow);
    QCOMPARE(placedColumn(), placed);
    QCOMPARE(dlg_->view().zoomBoxSize, zoomBoxSize);
}

void WorkflowTest::spacePressesTheFocusedButton() {
    load(Resistors(3, "top"));
    QWidget* rotR = control("rotR");
    rotR->setFocus();
    pressKey(rotR, Qt::Key_Space);
    QCOMPARE(dlg_->view().viewRotation, 90);
    QCOMPARE(qobject_cast<QLineEdit*>(control("rotationText"))->text(),
             QString::fromUtf8("90\u00B0 - Normal"));
}

void WorkflowTest::escapeClosesTheWindow() {
    load(Resistors(3, "top"));
    clickRow(1);
    pressKey(list(), Qt::Key_Return);
    pressKey(list(), Qt::Key_Escape);
    QVERIFY(!dlg_->isVisible());
    QCOMPARE(dlg_->result(), int(QDialog::Rejected));
    QVERIFY(platform_->messages.empty());
}

void WorkflowTest::keysDoNothingWithoutRows_data() {
    QTest::addColumn<int>("setup");
    QTest::addColumn<int>("staleRow");
    QTest::newRow("nothing loaded") << 0 << 0;
    QTest::newRow("face without parts, row 15 left from the other face") << 1 << 15;
    QTest::newRow("cancelled load after row 15") << 2 << 15;
}

// The row number may outlive the rows; no key may then step onto a part that is not listed.
void WorkflowTest::keysDoNothingWithoutRows() {
    QFETCH(int, setup);
    QFETCH(int, staleRow);
    if (setup != 0) {
        load(Resistors(20, "top"));
        clickRow(staleRow);
        if (setup == 1)
            click("bottom");
        else
            click("loadPkp");
    }
    QCOMPARE(dlg_->faceList().faceCount, 0);
    QCOMPARE(list()->model()->rowCount(), 0);
    for (const int key : kTableKeys) {
        pressKey(list(), key);
        QCOMPARE(dlg_->selection().selectedRow, staleRow);
        QVERIFY(!dlg_->selection().hasPart());
        QCOMPARE(listSelection(), -1);
    }
    for (const char* button : {"placeUnplace", "nextUnplaced"}) {
        click(button);
        QCOMPARE(dlg_->selection().selectedRow, staleRow);
        QVERIFY(!dlg_->selection().hasPart());
    }
    QVERIFY(platform_->messages.empty());
}

// ---- placing

void WorkflowTest::newPartBox_data() {
    QTest::addColumn<int>("startRow");
    QTest::addColumn<QString>("text");
    QTest::newRow("same kind next") << 0 << QString();
    QTest::newRow("differs only in value") << 1 << "New part !\n\nItem# 2\nBC857, SOT23";
    QTest::newRow("differs in package and value") << 2 << "New part !\n\nItem# 3\nLM358, SOIC8";
    QTest::newRow("back to an earlier kind") << 3 << "New part !\n\nItem# 4\nBC847, SOT23";
}

void WorkflowTest::newPartBox() {
    QFETCH(int, startRow);
    QFETCH(QString, text);
    load(kFiveRows);
    sortByPrefixAndNumber();
    clickRow(startRow);
    pressKey(list(), Qt::Key_Return);
    QCOMPARE(cell(startRow, 0), QStringLiteral("DONE"));
    QCOMPARE(dlg_->selection().selectedRow, startRow + 1);
    QCOMPARE(listSelection(), startRow + 1);
    if (text.isEmpty()) {
        QVERIFY(platform_->messages.empty());
        return;
    }
    QCOMPARE(platform_->messages.size(), std::size_t(1));
    const FakePlatform::Message& box = platform_->messages.front();
    QCOMPARE(box.text, text);
    QCOMPARE(box.caption, QStringLiteral("Placement"));
    QCOMPARE(box.buttons, Platform::Buttons::Ok);
    QCOMPARE(box.icon, Platform::Icon::None);
}

// Q2 and Q5 are of one kind with the placed Q3 and Q4 between them; the item number differs.
void WorkflowTest::sameKindAfterPlacedRowsShowsNoBox() {
    load(kFiveRows);
    sortByPrefixAndNumber();
    clickRow(2);
    pressKey(list(), Qt::Key_Return);
    pressKey(list(), Qt::Key_Return);
    QCOMPARE(platform_->messages.size(), std::size_t(2));
    clickRow(1);
    pressKey(list(), Qt::Key_Return);
    QCOMPARE(dlg_->selection().selectedRow, 4);
    QCOMPARE(listSelection(), 4);
    QVERIFY(cell(1, 1) != cell(4, 1));
    QCOMPARE(platform_->messages.size(), std::size_t(2));
    QCOMPARE(placedColumn(), QStringList({"", "DONE", "DONE", "DONE", ""}));
}

void WorkflowTest::lastUnplacedPartKeepsTheSelection_data() {
    QTest::addColumn<QList<int>>("placedFirst");
    QTest::addColumn<int>("row");
    QTest::newRow("last row") << QList<int>() << 4;
    QTest::newRow("unplaced rows only above") << QList<int>({3, 4}) << 2;
    QTest::newRow("every other row placed") << QList<int>({1, 2, 3, 4}) << 0;
}

void WorkflowTest::lastUnplacedPartKeepsTheSelection() {
    QFETCH(QList<int>, placedFirst);
    QFETCH(int, row);
    load(kFiveRows);
    sortByPrefixAndNumber();
    for (const int placed : placedFirst) {
        clickRow(placed);
        pressKey(list(), Qt::Key_Return);
    }
    const std::size_t boxes = platform_->messages.size();
    clickRow(row);
    pressKey(list(), Qt::Key_Return);
    QCOMPARE(cell(row, 0), QStringLiteral("DONE"));
    QCOMPARE(dlg_->selection().selectedRow, row);
    QCOMPARE(listSelection(), row);
    QCOMPARE(platform_->messages.size(), boxes);
}

void WorkflowTest::enterOnDoneRowUnplacesIt() {
    load(kFiveRows);
    sortByPrefixAndNumber();
    clickRow(1);
    pressKey(list(), Qt::Key_Return);
    const std::size_t boxes = platform_->messages.size();
    clickRow(1);
    pressKey(list(), Qt::Key_Return);
    QCOMPARE(cell(1, 0), QString());
    QCOMPARE(partAtRow(1).placed, 0);
    QCOMPARE(dlg_->selection().selectedRow, 1);
    QCOMPARE(listSelection(), 1);
    QCOMPARE(platform_->messages.size(), boxes);
}

void WorkflowTest::nextUnplacedLooksOnlyBelow_data() {
    QTest::addColumn<bool>("byKey");
    QTest::newRow("Delete") << true;
    QTest::newRow("Next unplaced") << false;
}

void WorkflowTest::nextUnplacedLooksOnlyBelow() {
    QFETCH(bool, byKey);
    load(kFiveRows);
    sortByPrefixAndNumber();
    clickRow(3);
    pressKey(list(), Qt::Key_Return);
    pressKey(list(), Qt::Key_Return);
    QCOMPARE(placedColumn(), QStringList({"", "", "", "DONE", "DONE"}));
    clickRow(3);
    if (byKey)
        pressKey(list(), Qt::Key_Delete);
    else
        click("nextUnplaced");
    QCOMPARE(dlg_->selection().selectedRow, 3);
    QCOMPARE(listSelection(), 3);
    QCOMPARE(dlg_->selection().selectedX, partAtRow(3).x);
}

void WorkflowTest::keysWithoutHighlightedRow_data() {
    QTest::addColumn<int>("keptRow");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expectedRow");
    QTest::newRow("after a load, Down") << 0 << int(Qt::Key_Down) << 1;
    QTest::newRow("after a load, Up") << 0 << int(Qt::Key_Up) << -1;
    QTest::newRow("after a load, Delete") << 0 << int(Qt::Key_Delete) << 0;
    QTest::newRow("after a load, Enter") << 0 << int(Qt::Key_Return) << -1;
    QTest::newRow("picture loaded on row 3, Down") << 3 << int(Qt::Key_Down) << 4;
    QTest::newRow("picture loaded on row 3, Page Up") << 3 << int(Qt::Key_PageUp) << 0;
    QTest::newRow("picture loaded on row 3, Delete") << 3 << int(Qt::Key_Delete) << 0;
    QTest::newRow("picture loaded on row 3, Enter") << 3 << int(Qt::Key_Return) << -1;
}

// A load or a new picture takes the highlight off the list but keeps the row number: the
// navigation keys go on from that number, while Enter has no row to place and the search for
// the next unplaced part starts at the top.
void WorkflowTest::keysWithoutHighlightedRow() {
    QFETCH(int, keptRow);
    QFETCH(int, key);
    QFETCH(int, expectedRow);
    load(kFiveRows);
    if (keptRow > 0) {
        clickRow(keptRow);
        platform_->files.push_back(QStringLiteral(DEMO_DIR "/coldfire-top.jpg"));
        click("loadBitmap");
    }
    QCOMPARE(listSelection(), -1);
    QCOMPARE(dlg_->selection().selectedRow, keptRow);
    pressKey(list(), key);
    QCOMPARE(listSelection(), expectedRow);
    QCOMPARE(dlg_->selection().selectedRow, expectedRow < 0 ? keptRow : expectedRow);
    if (expectedRow >= 0)
        QCOMPARE(dlg_->selection().selectedX, partAtRow(expectedRow).x);
    else
        QVERIFY(!dlg_->selection().hasPart());
    QCOMPARE(placedRecords(), 0);
    QVERIFY(platform_->messages.empty());
}

void WorkflowTest::unplaceAllCoversBothFaces_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("placedAfter");
    QTest::newRow("confirmed") << int(Answer::Ok) << 0;
    QTest::newRow("cancelled") << int(Answer::Cancel) << 4;
}

void WorkflowTest::unplaceAllCoversBothFaces() {
    QFETCH(int, answer);
    QFETCH(int, placedAfter);
    std::vector<PartLine> parts = Resistors(4, "top");
    parts.push_back({"C1", "1u", "0805", 30, 40, "bottom"});
    parts.push_back({"C2", "1u", "0805", 31, 41, "bottom"});
    load(parts);
    clickRow(0);
    for (int i = 0; i < 3; ++i)
        pressKey(list(), Qt::Key_Return);
    click("bottom");
    clickRow(0);
    pressKey(list(), Qt::Key_Return);
    QCOMPARE(placedRecords(), 4);
    const int rowBefore = dlg_->selection().selectedRow;

    platform_->answers.push_back(Answer(answer));
    click("unplaceAll");
    QCOMPARE(platform_->messages.size(), std::size_t(1));
    const FakePlatform::Message& box = platform_->messages.front();
    QCOMPARE(box.text, QStringLiteral("Unplace all components on both sides ?"));
    QCOMPARE(box.caption, QStringLiteral("Please confirm"));
    QCOMPARE(box.buttons, Platform::Buttons::OkCancel);
    QCOMPARE(box.icon, Platform::Icon::Exclamation);

    QCOMPARE(placedRecords(), placedAfter);
    QCOMPARE(dlg_->selection().selectedRow, rowBefore);
    const bool kept = placedAfter > 0;
    QCOMPARE(placedColumn(), QStringList({kept ? "DONE" : "", ""}));
    click("top");
    QCOMPARE(placedColumn(),
             QStringList({kept ? "DONE" : "", kept ? "DONE" : "", kept ? "DONE" : "", ""}));
}

// The window's confirm command arrives while the list has the focus: it places, and the
// window stays.
void WorkflowTest::okCommandPlacesWhileAControlHasFocus() {
    load(Resistors(3, "top"));
    clickRow(0);
    dlg_->accept();
    QVERIFY(dlg_->isVisible());
    QCOMPARE(placedColumn(), QStringList({"DONE", "", ""}));
    QCOMPARE(listSelection(), 1);
    control("pcbCount")->setFocus();
    dlg_->accept();
    QVERIFY(dlg_->isVisible());
    QCOMPARE(placedColumn(), QStringList({"DONE", "DONE", ""}));
}

void WorkflowTest::okCommandWithoutFocusClosesAfterReadingFields_data() {
    QTest::addColumn<QString>("pcb");
    QTest::addColumn<bool>("closes");
    QTest::newRow("valid count") << "4" << true;
    QTest::newRow("empty count") << "" << false;
}

void WorkflowTest::okCommandWithoutFocusClosesAfterReadingFields() {
    QFETCH(QString, pcb);
    QFETCH(bool, closes);
    load(Resistors(3, "top"));
    clickRow(0);
    qobject_cast<QLineEdit*>(control("pcbCount"))->setText(pcb);
    list()->clearFocus();
    QVERIFY(dlg_->focusWidget() == nullptr);
    dlg_->accept();
    QCOMPARE(dlg_->isVisible(), !closes);
    QCOMPARE(placedRecords(), 0);
    QCOMPARE(platform_->messages.size(), std::size_t(closes ? 0 : 1));
    if (closes)
        QCOMPARE(dlg_->pcbCount(), 4u);
}

// ---- pick list

void WorkflowTest::pickList_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("bottom");
    QTest::addColumn<QString>("pcb");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rows");

    const QString exampleLines =
        TextLine(1, "SOT23", "BC847", 2, "6") + TextLine(2, "SOT23", "BC857", 1, "3") +
        TextLine(3, "SOIC8", "LM358", 1, "3") + TextLine(4, "SOT23", "BC847", 1, "3");
    const QString exampleRows =
        PageRow(1, "SOT23", "BC847", 2, "6") + PageRow(2, "SOT23", "BC857", 1, "3") +
        PageRow(3, "SOIC8", "LM358", 1, "3") + PageRow(4, "SOT23", "BC847", 1, "3");
    const QByteArray example = PlacementFile(kFiveRows);

    QTest::newRow("five rows, 3 boards")
        << example << false << "3" << PickText("TOP", exampleLines) << exampleRows;
    QTest::newRow("bottom face") << PlacementFile(OnSide(kFiveRows, "bottom")) << true << "3"
                                 << PickText("BOTTOM", exampleLines) << exampleRows;
    QTest::newRow("nothing loaded")
        << QByteArray() << false << "3" << PickText("TOP", "") << QString();
    QTest::newRow("face without parts")
        << example << true << "3" << PickText("BOTTOM", "") << QString();
    QTest::newRow("one row") << PlacementFile({kFiveRows.front()}) << false << "3"
                             << PickText("TOP", TextLine(1, "SOT23", "BC847", 1, "3"))
                             << PageRow(1, "SOT23", "BC847", 1, "3");
    QTest::newRow("no boards") << example << false << "0"
                               << PickText("TOP", TextLine(1, "SOT23", "BC847", 2, "0") +
                                                      TextLine(2, "SOT23", "BC857", 1, "0") +
                                                      TextLine(3, "SOIC8", "LM358", 1, "0") +
                                                      TextLine(4, "SOT23", "BC847", 1, "0"))
                               << PageRow(1, "SOT23", "BC847", 2, "0") +
                                      PageRow(2, "SOT23", "BC857", 1, "0") +
                                      PageRow(3, "SOIC8", "LM358", 1, "0") +
                                      PageRow(4, "SOT23", "BC847", 1, "0");
    QTest::newRow("totals beyond 32 bits")
        << PlacementFile({kFiveRows[0], kFiveRows[1]}) << false << "4294967295"
        << PickText("TOP", TextLine(1, "SOT23", "BC847", 2, "8589934590"))
        << PageRow(1, "SOT23", "BC847", 2, "8589934590");
    QTest::newRow("HTML special characters")
        << PlacementFile({{"U1", "<1%&\"x>", "A&B", 5, 6, "top"}}) << false << "2"
        << PickText("TOP", TextLine(1, "A&B", "<1%&\"x>", 1, "2"))
        << PageRow(1, "A&amp;B", "&lt;1%&amp;&quot;x&gt;", 1, "2");
}

void WorkflowTest::pickList() {
    QFETCH(QByteArray, file);
    QFETCH(bool, bottom);
    QFETCH(QString, pcb);
    QFETCH(QString, text);
    QFETCH(QString, rows);
    if (!file.isEmpty()) {
        loadFile(file);
        sortByPrefixAndNumber();
    }
    if (bottom)
        click("bottom");
    auto* field = qobject_cast<QLineEdit*>(control("pcbCount"));
    field->clear();
    QTest::keyClicks(field, pcb);
    QCOMPARE(field->text(), pcb);
    const int placed = placedRecords();
    const int faceCount = dlg_->faceList().faceCount;

    click("pickList");

    QVERIFY(platform_->messages.empty());
    QCOMPARE(platform_->clipboardTexts, QStringList({text}));
    const QString path = QDir(tempDir_).filePath(QStringLiteral("picklst.html"));
    QCOMPARE(platform_->openedDocuments, QStringList({path}));
    const QString page = QString::fromUtf8(ReadFile(path));
    QVERIFY2(page.startsWith(QStringLiteral("<html><head>")), qPrintable(page));
    QVERIFY(page.contains(QRegularExpression(QStringLiteral("<meta [^>]*charset="))));
    QVERIFY(page.contains(QStringLiteral("<title>Pick list</title>")));
    QVERIFY(page.contains(
        QStringLiteral("<p>Pick List %1 SIDE - Generated by the Kavelto v1.2 - "
                       "QUANDEL - %2</p>")
            .arg(QLatin1String(bottom ? "BOTTOM" : "TOP"), QLatin1String(kMakerSite))));
    const QString table = page.mid(page.indexOf(QStringLiteral("<table")));
    QCOMPARE(table.trimmed(), QStringLiteral("<table border=1>") + kPageHeaderRow + rows +
                                  QStringLiteral("</table> </body> </html>"));
    QCOMPARE(placedRecords(), placed);
    QCOMPARE(dlg_->faceList().faceCount, faceCount);
}

void WorkflowTest::pickListSecondRunOverwrites() {
    load(kFiveRows);
    sortByPrefixAndNumber();
    auto* field = qobject_cast<QLineEdit*>(control("pcbCount"));
    field->setText(QStringLiteral("3"));
    click("pickList");
    field->setText(QStringLiteral("5"));
    click("pickList");
    QCOMPARE(platform_->clipboardTexts.size(), 2);
    QVERIFY(platform_->clipboardTexts.last().contains(TextLine(1, "SOT23", "BC847", 2, "10")));
    QCOMPARE(platform_->openedDocuments.size(), 2);
    QCOMPARE(platform_->openedDocuments.first(), platform_->openedDocuments.last());
    const QString page = QString::fromUtf8(ReadFile(platform_->openedDocuments.last()));
    QVERIFY(page.contains(PageRow(1, "SOT23", "BC847", 2, "10")));
    QVERIFY(!page.contains(PageRow(1, "SOT23", "BC847", 2, "6")));
    QCOMPARE(page.count(QStringLiteral("<html>")), 1);
}

void WorkflowTest::pickListReportsFileErrors_data() {
    QTest::addColumn<bool>("directoryExists");
    QTest::addColumn<QString>("message");
    QTest::newRow("no temporary directory") << false << "Can't create html file";
    QTest::newRow("page name taken by a directory") << true << "Can't write html file";
}

void WorkflowTest::pickListReportsFileErrors() {
    QFETCH(bool, directoryExists);
    QFETCH(QString, message);
    const QString temp = dir_.filePath(directoryExists ? "blocked" : "missing");
    if (directoryExists)
        QVERIFY(QDir().mkpath(temp + "/picklst.html"));
    load(kFiveRows);
    const QTemporaryDir workingDir;
    {
        const TempPathOverride tempPath(temp);
        const WorkingDirectory working(workingDir.path());
        click("pickList");
    }
    QCOMPARE(platform_->clipboardTexts.size(), 1);
    QStringList texts;
    for (const FakePlatform::Message& box : platform_->messages)
        texts << box.text;
    QCOMPARE(texts, QStringList({message}));
    const FakePlatform::Message& box = platform_->messages.front();
    QCOMPARE(box.caption, QStringLiteral("Error"));
    QCOMPARE(box.buttons, Platform::Buttons::Ok);
    QCOMPARE(box.icon, Platform::Icon::None);
    QVERIFY(platform_->openedDocuments.isEmpty());
    QVERIFY(!QFileInfo::exists(workingDir.filePath(QStringLiteral("picklst.html"))));
}

// ---- small windows and actions

void WorkflowTest::needHelp_data() {
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("retries");
    QTest::newRow("manual opens") << true << 0;
    QTest::newRow("manual missing, cancelled at once") << false << 0;
    QTest::newRow("manual missing, two retries") << false << 2;
}

void WorkflowTest::needHelp() {
    QFETCH(bool, opens);
    QFETCH(int, retries);
    const QTemporaryDir workingDir;
    if (opens)
        QVERIFY(WriteFile(workingDir.filePath("KaveltoManual.pdf"), "%PDF-1.4\n"));
    platform_->documentsOpen = opens;
    for (int i = 0; i < retries; ++i)
        platform_->answers.push_back(Answer::Retry);
    platform_->answers.push_back(Answer::Cancel);
    {
        const WorkingDirectory working(workingDir.path());
        click("needHelp");
    }

    const QString manual = QDir(workingDir.path()).filePath(QStringLiteral("KaveltoManual.pdf"));
    const int attempts = opens ? 1 : retries + 1;
    QCOMPARE(platform_->openedDocuments, QStringList(attempts, manual));
    QCOMPARE(platform_->messages.size(), std::size_t(opens ? 0 : attempts));
    for (const FakePlatform::Message& box : platform_->messages) {
        QCOMPARE(box.text, QStringLiteral("Can't open KaveltoManual.pdf..."));
        QCOMPARE(box.caption, QStringLiteral("Error"));
        QCOMPARE(box.buttons, Platform::Buttons::RetryCancel);
        QCOMPARE(box.icon, Platform::Icon::Stop);
    }
}

void WorkflowTest::logoClick_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes") << int(Answer::Yes);
    QTest::newRow("No") << int(Answer::No);
}

void WorkflowTest::logoClick() {
    QFETCH(int, answer);
    platform_->answers.push_back(Answer(answer));
    click("logo");
    QCOMPARE(platform_->messages.size(), std::size_t(1));
    const FakePlatform::Message& box = platform_->messages.front();
    QCOMPARE(box.caption, QLatin1String(kMakerName));
    QCOMPARE(box.buttons, Platform::Buttons::YesNo);
    QCOMPARE(box.icon, Platform::Icon::Information);
    QVERIFY(box.text.contains(QLatin1String(kMakerName)));
    QVERIFY(box.text.contains(QStringLiteral("free")));
    QVERIFY(box.text.trimmed().endsWith(QLatin1Char('?')));
    if (Answer(answer) == Answer::Yes) {
        QCOMPARE(platform_->openedUrls.size(), 1);
        const QUrl url = platform_->openedUrls.front();
        QVERIFY(url.scheme().startsWith(QStringLiteral("http")));
        QCOMPARE(url.host(), QLatin1String(kMakerSite));
    } else {
        QVERIFY(platform_->openedUrls.isEmpty());
    }
    QVERIFY(platform_->openedDocuments.isEmpty());
}

void WorkflowTest::smallWindowsOpenAndClose_data() {
    QTest::addColumn<bool>("about");
    QTest::addColumn<int>("closingKey");
    QTest::addColumn<QString>("title");
    QTest::newRow("About, Enter") << true << int(Qt::Key_Return) << "About Kavelto";
    QTest::newRow("About, Escape") << true << int(Qt::Key_Escape) << "About Kavelto";
    QTest::newRow("Keymap, Enter") << false << int(Qt::Key_Return) << "Keymap";
    QTest::newRow("Keymap, Escape") << false << int(Qt::Key_Escape) << "Keymap";
}

// While a small window is open, the main window's keys addressed to it stay its own.
void WorkflowTest::smallWindowsOpenAndClose() {
    QFETCH(bool, about);
    QFETCH(int, closingKey);
    QFETCH(QString, title);
    load(Resistors(5, "top"));
    clickRow(2);
    bool shown = false;
    bool closed = false;
    platform_->onModal = [&](QDialog& window) {
        window.show();
        shown = QTest::qWaitForWindowExposed(&window);
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Delete, Qt::Key_End})
            QTest::keyClick(&window, key);
        QTest::keyClick(&window, Qt::Key(closingKey));
        closed = !window.isVisible();
    };
    if (about) {
        const QList<QAction*> actions = dlg_->actions();
        const auto action = std::find_if(actions.begin(), actions.end(), [](QAction* a) {
            return a->text() == QStringLiteral("&About Kavelto...");
        });
        QVERIFY(action != actions.end());
        (*action)->trigger();
    } else {
        click("shortcuts");
    }
    QCOMPARE(platform_->modalTitles, QStringList({title}));
    QVERIFY(shown);
    QVERIFY(closed);
    QVERIFY(dlg_->isVisible());
    QCOMPARE(dlg_->selection().selectedRow, 2);
    QCOMPARE(placedRecords(), 0);
}

QTEST_MAIN(WorkflowTest)
#include "WorkflowTest.moc"
