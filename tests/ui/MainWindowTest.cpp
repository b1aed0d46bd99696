#include "CPlacementDlg.h"
#include "DialogUnits.h"
#include "FakePlatform.h"

#include <QtTest>
#include <QtWidgets>

#include <algorithm>
#include <memory>
#include <optional>
#include <tuple>

namespace {

// The demo board's face as this test reads the file itself: "designator/item" per row. A
// designator keeps up to five letters and the low 16 bits of the number after them. Keys join their
// texts with NULs, which sorts like comparing them one by one (the file is ASCII); a stable sort of
// the reversed file keeps equal keys in reverse file order.
QStringList ExpectedRows(bool bottom, int order) {
    QFile file(QStringLiteral(DEMO_DIR "/coldfire.csv"));
    file.open(QIODevice::ReadOnly); // an unreadable file gives no rows, which the callers catch
    const QStringList lines = QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QList<QStringList> face; // key, kind, row text
    for (qsizetype n = lines.size() - 1; n > 0; --n) {
        const QStringList q = lines[n].split('"'); // "Ref","Val","Package",PosX,PosY,Rot,Side
        if (q.value(6).section(',', 4).startsWith('b', Qt::CaseInsensitive) != bottom)
            continue;
        const auto d = QRegularExpression(QStringLiteral("^([A-Za-z]{0,5})(.*)$")).match(q[1]);
        const QString prefix = d.captured(1), value = q[3].left(50), package = q[5].left(20);
        const QString id = QString::number(quint16(d.captured(2).toLong()));
        const QString number = id.rightJustified(5, '0');
        const QStringList keys[] = {
            {package, prefix, value, number}, {prefix, package, value, number}, {prefix, number}};
        face.append({keys[order].join(QChar(0)), package + QChar(0) + value, prefix + id + "/%1"});
    }
    std::stable_sort(face.begin(), face.end(),
                     [](const auto& a, const auto& b) { return a[0] < b[0]; });
    QStringList rows;
    for (qsizetype i = 0, item = 0; i < face.size(); ++i) {
        item += i == 0 || face[i][1] != face[i - 1][1];
        rows << face[i][2].arg(item);
    }
    return rows;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    template <typename T = QWidget> T* control(const char* name) const {
        return dlg_->findChild<T*>(QString::fromLatin1(name));
    }
    QTableView* list() const { return control<QTableView>("partList"); }
    QAbstractItemModel* model() const { return list()->model(); }
    QVariant header(int c, int role) const { return model()->headerData(c, Qt::Horizontal, role); }
    QModelIndexList selected() const { return list()->selectionModel()->selectedRows(); }
    QString text(const char* name) const { return control<QLineEdit>(name)->text(); }
    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }

    // Writes a placement file of space-separated top-face entries, "designator" (value 1k,
    // package 0603) or "designator,value,package", then the given raw lines. The rotation
    // holds the file line (from 1) to keep rows traceable.
    QString writeParts(const QString& entries, const QByteArray& rawLines = {}) {
        QString text = QStringLiteral("Ref,Val,Package,PosX,PosY,Rot,Side\n");
        int line = 0;
        for (const QString& entry : entries.split(' ', Qt::SkipEmptyParts))
            text += entry + (entry.contains(',') ? "" : ",1k,0603") +
                    QStringLiteral(",0,0,%1,top\n").arg(++line);
        QFile file(
            scratch_.filePath(QStringLiteral("%1.csv").arg(qHash(text.toLatin1() + rawLines))));
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toLatin1() + rawLines);
        return file.fileName();
    }

    // A null path cancels the chooser.
    void loadPkp(const QString& path) {
        platform_->files.push_back(path.isNull() ? std::nullopt : std::optional(path));
        click("loadPkp");
    }

    void clickRow(int row) {
        list()->scrollTo(model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualRect(model()->index(row, 0)).center());
    }

    // Loads the demo board and takes point 1 of a calibration on row 0, so that a reset shows.
    void loadDemoAndStartCalibration() {
        loadPkp(QStringLiteral(DEMO_DIR "/coldfire.csv"));
        platform_->files.push_back(QStringLiteral(DEMO_DIR "/coldfire-top.jpg"));
        click("loadBitmap");
        clickRow(0);
        dlg_->repaint();
        QTest::mouseClick(dlg_.get(), Qt::LeftButton, {},
                          control("pictureFrame")->geometry().center());
        click("cal1");
    }

    // The boxes shown since the last call as "caption [icon, buttons]: text", joined by "|".
    QString takeBoxes() {
        const char* const icons[] = {"none", "stop", "exclamation", "information"};
        QStringList shown;
        for (const FakePlatform::Message& box : platform_->messages)
            shown << box.caption + " [" + icons[int(box.icon)] +
                         (box.buttons == Platform::Buttons::Ok ? ", OK]: " : ", other buttons]: ") +
                         box.text;
        platform_->messages.clear();
        return shown.join('|');
    }

    // Each row's texts of the given columns joined by "/", the rows by blanks.
    QString rows(std::initializer_list<int> columns) const {
        QString texts;
        for (int r = 0; r < model()->rowCount(); ++r)
            for (const int c : columns)
                texts += model()->index(r, c).data().toString() +
                         (c == *(columns.end() - 1) ? ' ' : '/');
        return texts.trimmed();
    }

    QTemporaryDir scratch_;
    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<CPlacementDlg> dlg_;

private slots:
    // The pick list writes its page into the temporary directory; keep it out of the real one.
    void init() {
        qputenv("TMPDIR", QFile::encodeName(scratch_.path()));
        platform_ = std::make_unique<FakePlatform>();
        dlg_ = std::make_unique<CPlacementDlg>(*platform_);
        QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
    }

    void cleanup() { dlg_.reset(); }

    void startUp() {
        QStringList texts = {dlg_->windowTitle()};
        for (const char* name : {"bitmapText", "rotationText", "pkpText", "calibrationText",
                                 "partsPerFaceText", "pcbCount"})
            texts << text(name);
        QCOMPARE(texts.join('|'),
                 "Kavelto, offered by QUANDEL (www.quandel.example) - version 1.2|no bitmap "
                 "loaded|0\u00B0 - Normal|no pkp loaded|Not calibrated|none|1");
        QVERIFY(control<QRadioButton>("top")->isChecked());
        QCOMPARE(control<QComboBox>("sortBy")->currentIndex(), 0);
        QCOMPARE(model()->rowCount(), 0);
        // Header and alignment in hex: 81 left, 84 centred, 82 right, all centred vertically.
        QStringList columns;
        for (int c = 0; c < model()->columnCount(); ++c)
            columns << header(c, Qt::DisplayRole).toString() + ' ' +
                           QString::number(header(c, Qt::TextAlignmentRole).toInt(), 16);
        QCOMPARE(columns.join(", "), "Placed 81, Item# 81, Part ID 81, Value 81, Package 81, Layer "
                                     "84, Rotation 84, X 82, Y 82");
        // Template rectangles in dialog units.
        const DialogUnits units(dlg_->font());
        QCOMPARE(control("loadBitmap")->geometry(), units.toPixels(13, 41, 68, 13));
        QCOMPARE(control("pcbCount")->geometry(), units.toPixels(103, 161, 18, 12));
        QCOMPARE(control("magnifierFrame")->geometry(), units.toPixels(7, 209, 161, 134));
        // Every control's accessible name, sorted.
        QStringList names;
        for (const QWidget* widget :
             dlg_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            names << widget->accessibleName();
        names.sort();
        QCOMPARE(names.join(';'),
                 "Bitmap file;Bitmap file;Board picture;Bottom;Cal 1;Cal 2;Calibration;Flip;Load "
                 "Bitmap;Load PKP file;Logo;Magnifier;Need help ?;Next unplaced;PCB;PCB count;Part "
                 "list;Parts;Parts per face;Pick List;Pick and Place file;Pick and Place "
                 "file;Place/unplace;Rot L;Rot R;Rotation;Shortcuts;Sort by;Sort by;Top;Unplace "
                 "all;Zoom In;Zoom Out");
    }

    // Every sort change below is a change: it selects row 0 and keeps the calibration. Choosing
    // the face shown changes nothing; the other face resets the calibration and selects nothing.
    void coldfire() {
        loadDemoAndStartCalibration();
        QCOMPARE(text("pkpText"), "160 parts loaded");
        for (const bool bottom : {false, true}) {
            clickRow(5);
            click(bottom ? "bottom" : "top");
            QCOMPARE(selected().isEmpty(), bottom);
            QCOMPARE(dlg_->selection().hasPart(), !bottom);
            for (const int order : {1, 2, 0}) {
                clickRow(5);
                control<QComboBox>("sortBy")->setCurrentIndex(order);
                QCOMPARE(rows({2, 1}), ExpectedRows(bottom, order).join(' '));
                QCOMPARE(text("partsPerFaceText"), bottom ? "14 parts/face" : "146 parts/face");
                QCOMPARE(selected(), QModelIndexList({model()->index(0, 0)}));
            }
            QCOMPARE(text("calibrationText"), bottom ? "Not calibrated" : "Waiting for point 2");
        }
    }

    // Rows read "designator/file line/item".
    void sortEdgeCases() {
        const std::tuple<int, const char*, const char*> cases[] = {
            {2, "R10 C12 R2", "C12/2/1 R2/3/1 R10/1/1"}, // the prefix first, then the number
            {2, "c1 R40000 R39999 R99", "R99/4/1 R39999/3/1 R40000/2/1 c1/1/1"}, // c after R
            {0, "R5 R5 R5", "R5/3/1 R5/2/1 R5/1/1"},                             // equal keys
            {0, "R1 D1,1N4148,0603 C1", "C1/3/1 D1/2/2 R1/1/3"}, // items follow adjacency
        };
        for (const auto& [order, parts, expected] : cases) {
            loadPkp(writeParts(parts));
            control<QComboBox>("sortBy")->setCurrentIndex(order);
            QCOMPARE(rows({2, 6, 1}), expected);
        }
    }

    // Each load follows the demo board with a calibration begun; a null path cancels. The
    // shorter file holds 4µ7 once as Latin-1 (\265) and once as UTF-8 (\302\265): both show
    // as µ, but their bytes differ, so do their items.
    void loadOutcomes() {
        const QString cases[][4] = {
            {QString(), "no pkp loaded", "", ""},
            {writeParts(QString("R1 ").repeated(99), "R100,1k\n"), "no parts found",
             "Error [stop, OK]: Not enough fields per line", ""},
            {writeParts(""), "no parts found", "", ""},
            {writeParts("", "C2,4\302\2657,0603,1,2,3,top\nC1,4\2657,0603,10.5,-3.25,-90,t\n"),
             "2 parts loaded", "",
             "/1/C1/4\u00B57/0603/t/-90/10.500000/-3.250000 "
             "/2/C2/4\u00B57/0603/t/3/1.000000/2.000000"},
        };
        for (const auto& [path, pkpText, boxes, shown] : cases) {
            loadDemoAndStartCalibration();
            loadPkp(path);
            QCOMPARE(takeBoxes(), boxes);
            QCOMPARE(text("pkpText"), pkpText);
            QCOMPARE(rows({0, 1, 2, 3, 4, 5, 6, 7, 8}), shown);
            QCOMPARE(dlg_->partTable().partCount, model()->rowCount());
            QCOMPARE(text("calibrationText"), "Not calibrated");
            QCOMPARE(selected(), QModelIndexList());
        }
        QCOMPARE(platform_->fileFilters.front().join('|'),
                 "PKP (*.pkp)|TXT (*.txt)|CSV (*.csv)|All files (*)");
    }

    // The pick list reads the field; a refused text keeps the count read before.
    void pcbField() {
        const quint32 max = 4294967295;
        const std::tuple<const char*, quint32, bool> cases[] = {
            {"0", 0, false}, {" 12 ", 12, false}, {"+7", 7, false},  {"12345678901", max, false},
            {"", max, true}, {"-1", max, true},   {"1.5", max, true}};
        const QString refusal =
            "main_window_test [exclamation, OK]: Please enter a positive integer.";
        auto* field = control<QLineEdit>("pcbCount");
        for (const auto& [entered, count, refused] : cases) {
            field->setText(entered);
            click("pickList");
            QCOMPARE(dlg_->pcbCount(), count);
            QCOMPARE(takeBoxes(), refused ? refusal : QString());
            QCOMPARE(dlg_->focusWidget() == field && field->selectedText() == entered, refused);
        }
        field->clear();
        QTest::keyClicks(field, QStringLiteral("a1-"));
        QCOMPARE(field->text(), "1");
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
