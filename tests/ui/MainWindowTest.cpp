#include "CPlacementDlg.h"
#include "DialogUnits.h"
#include "FakePlatform.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

// A part as the test itself reads it from a placement file, independently of the reader.
struct ExpectedPart {
    std::string prefix;
    std::uint16_t partId = 0;
    std::string value;
    std::string package;
    bool bottom = false;
    float x = 0.0f;
};

// Fields split at commas outside double quotes; the quotes themselves are dropped.
std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (const char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    return fields;
}

// Up to five leading letters, then a decimal number whose low 16 bits are kept; a designator
// without a number keeps the 0 of a fresh part.
void SplitDesignator(const std::string& designator, ExpectedPart& part) {
    std::size_t letters = 0;
    while (letters < designator.size() && letters < 5 &&
           std::isalpha(static_cast<unsigned char>(designator[letters])))
        ++letters;
    part.prefix = designator.substr(0, letters);
    const char* rest = designator.c_str() + letters;
    char* end = nullptr;
    const long number = std::strtol(rest, &end, 10);
    if (end != rest)
        part.partId = static_cast<std::uint16_t>(static_cast<unsigned long>(number));
}

int ColumnNamed(const std::vector<std::string>& header, const char* name) {
    const auto at = std::find(header.begin(), header.end(), name);
    return at == header.end() ? -1 : static_cast<int>(at - header.begin());
}

std::vector<ExpectedPart> ReadColdfire() {
    QFile file(QStringLiteral(DEMO_DIR "/coldfire.csv"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::vector<std::string> lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.trimmed().isEmpty())
            lines.push_back(line.trimmed().toStdString());
    }
    const std::vector<std::string> header = SplitCsv(lines.front());
    const int ref = ColumnNamed(header, "Ref");
    const int val = ColumnNamed(header, "Val");
    const int package = ColumnNamed(header, "Package");
    const int posX = ColumnNamed(header, "PosX");
    const int side = ColumnNamed(header, "Side");
    std::vector<ExpectedPart> parts;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = SplitCsv(lines[i]);
        ExpectedPart part;
        SplitDesignator(fields.at(ref), part);
        part.value = fields.at(val).substr(0, 50);
        part.package = fields.at(package).substr(0, 20);
        part.bottom = fields.at(side)[0] == 'b' || fields.at(side)[0] == 'B';
        part.x = static_cast<float>(std::strtod(fields.at(posX).c_str(), nullptr));
        parts.push_back(part);
    }
    return parts;
}

// Texts order by their bytes taken unsigned.
struct Bytes {
    const std::string* text;
    bool operator<(const Bytes& other) const {
        return std::lexicographical_compare(
            text->begin(), text->end(), other.text->begin(), other.text->end(), [](char a, char b) {
                return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
            });
    }
};

std::tuple<Bytes, Bytes, Bytes, unsigned> SortKey(const ExpectedPart& part, int mode) {
    static const std::string none;
    switch (mode) {
    case 0:
        return {{&part.package}, {&part.prefix}, {&part.value}, part.partId};
    case 1:
        return {{&part.prefix}, {&part.package}, {&part.value}, part.partId};
    default:
        return {{&part.prefix}, {&none}, {&none}, part.partId};
    }
}

// The face's parts in list order as "designator/item/X" rows; X tells apart the parts that
// show the same designator. Sorting the reversed file order stably puts parts with equal keys
// in reverse file order.
QStringList ExpectedRows(const std::vector<ExpectedPart>& parts, bool bottom, int mode) {
    std::vector<ExpectedPart> face;
    std::copy_if(parts.rbegin(), parts.rend(), std::back_inserter(face),
                 [bottom](const ExpectedPart& part) { return part.bottom == bottom; });
    std::stable_sort(face.begin(), face.end(),
                     [mode](const ExpectedPart& a, const ExpectedPart& b) {
                         return SortKey(a, mode) < SortKey(b, mode);
                     });
    QStringList rows;
    int item = 0;
    for (std::size_t i = 0; i < face.size(); ++i) {
        const bool sameKind =
            i > 0 && face[i].package == face[i - 1].package && face[i].value == face[i - 1].value;
        item += sameKind ? 0 : 1;
        rows << QStringLiteral("%1%2/%3/%4")
                    .arg(QString::fromStdString(face[i].prefix))
                    .arg(face[i].partId)
                    .arg(item)
                    .arg(QString::asprintf("%f", double(face[i].x)));
    }
    return rows;
}

// A placement file in the demo configuration's layout from "designator,value,package,layer"
// entries; part n (from 1) lies at (10 + n, 20 + n) with rotation n, so rows stay traceable
// to their file line.
QByteArray PartsFile(const QByteArrayList& parts) {
    QByteArray file = "Ref,Val,Package,PosX,PosY,Rot,Side\n";
    for (int n = 1; n <= parts.size(); ++n) {
        const QByteArrayList fields = parts[n - 1].split(',');
        file += fields.value(0) + ',' + fields.value(1) + ',' + fields.value(2) + ',' +
                QByteArray::number(10 + n) + ',' + QByteArray::number(20 + n) + ',' +
                QByteArray::number(n) + ',' + fields.value(3) + '\n';
    }
    return file;
}

QByteArrayList ManyResistors(int count) {
    QByteArrayList parts;
    for (int n = 1; n <= count; ++n)
        parts << "R" + QByteArray::number(n) + ",10k,0603,top";
    return parts;
}

enum class Choice { Cancel, MissingFile, File };

const QString kMicro = QString(QChar(0x00B5));

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void captionNamesMakerAndVersion();
    void initialTexts_data();
    void initialTexts();
    void initialFaceSortAndPcbCount();
    void focusStartsOnThePartList();
    void partListStartsEmptyWithItsColumns_data();
    void partListStartsEmptyWithItsColumns();
    void controlsSitWhereTheTemplatePutsThem_data();
    void controlsSitWhereTheTemplatePutsThem();
    void controlsHaveAccessibleNames_data();
    void controlsHaveAccessibleNames();

    void pkpChooserOffersItsFilters();
    void coldfireListsEachFaceInEachOrder_data();
    void coldfireListsEachFaceInEachOrder();
    void sortChangeSelectsRowZeroFaceChangeSelectsNone();
    void sortEdgeCasesAndItems_data();
    void sortEdgeCasesAndItems();
    void partTextsShowAsUtf8OrLatin1_data();
    void partTextsShowAsUtf8OrLatin1();
    void loadOutcomes_data();
    void loadOutcomes();
    void layerLetterDecidesTheFace();
    void emptyFaceListsNothing();

    void pcbField_data();
    void pcbField();
    void pcbFieldTakesTypedDigitsOnly();

private:
    template <typename T> T* control(const char* name) const {
        return dlg_->findChild<T*>(QString::fromLatin1(name));
    }
    QAbstractItemModel* model() const { return control<QTableView>("partList")->model(); }
    QString text(const char* name) const { return control<QLineEdit>(name)->text(); }

    QString writeFile(const QString& name, const QByteArray& bytes);
    void loadPkp(const std::optional<QString>& path);
    void chooseSort(int entry);
    void clickRow(int row);
    void startCalibration();
    QStringList rows(std::initializer_list<int> columns) const;
    QList<int> highlightedRows() const;

    QTemporaryDir scratch_;
    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<CPlacementDlg> dlg_;
};

// The pick list writes its page into the temporary directory; keep it out of the real one.
void MainWindowTest::initTestCase() {
    QVERIFY(scratch_.isValid());
    qputenv("TMPDIR", QFile::encodeName(scratch_.path()));
}

void MainWindowTest::init() {
    platform_ = std::make_unique<FakePlatform>();
    dlg_ = std::make_unique<CPlacementDlg>(*platform_);
    QVERIFY(dlg_->LoadColumnMap(QStringLiteral(DEMO_DIR "/Kavelto.ini")));
    dlg_->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
}

// The program closes its window before destroying it; so do the tests.
void MainWindowTest::cleanup() {
    if (dlg_)
        dlg_->hide();
    dlg_.reset();
    platform_.reset();
}

QString MainWindowTest::writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = scratch_.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

void MainWindowTest::loadPkp(const std::optional<QString>& path) {
    platform_->files.push_back(path);
    QTest::mouseClick(control<QPushButton>("loadPkp"), Qt::LeftButton);
}

void MainWindowTest::chooseSort(int entry) {
    control<QComboBox>("sortBy")->setCurrentIndex(entry);
}

void MainWindowTest::clickRow(int row) {
    auto* list = control<QTableView>("partList");
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

// Takes point 1 of a calibration on the first part, so that a reset shows.
void MainWindowTest::startCalibration() {
    platform_->files.push_back(QStringLiteral(DEMO_DIR "/coldfire-top.jpg"));
    QTest::mouseClick(control<QPushButton>("loadBitmap"), Qt::LeftButton);
    clickRow(0);
    dlg_->repaint();
    QCoreApplication::processEvents();
    const QPoint spot = control<QFrame>("pictureFrame")->geometry().center();
    QTest::mousePress(dlg_.get(), Qt::LeftButton, {}, spot);
    QTest::mouseRelease(dlg_.get(), Qt::LeftButton, {}, spot);
    QTest::mouseClick(control<QPushButton>("cal1"), Qt::LeftButton);
}

// Each row's texts of the given columns, joined by "/".
QStringList MainWindowTest::rows(std::initializer_list<int> columns) const {
    const QAbstractItemModel* list = model();
    QStringList texts;
    for (int r = 0; r < list->rowCount(); ++r) {
        QStringList cells;
        for (const int c : columns)
            cells << list->index(r, c).data().toString();
        texts << cells.join('/');
    }
    return texts;
}

QList<int> MainWindowTest::highlightedRows() const {
    QList<int> highlighted;
    for (const QModelIndex& index :
         control<QTableView>("partList")->selectionModel()->selectedRows())
        highlighted << index.row();
    return highlighted;
}

// ---- start-up

void MainWindowTest::captionNamesMakerAndVersion() {
    QCOMPARE(dlg_->windowTitle(),
             QStringLiteral("Kavelto, offered by QUANDEL (www.quandel.example) - version 1.2"));
}

void MainWindowTest::initialTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("bitmap file") << "bitmapText"
                                 << "no bitmap loaded";
    QTest::newRow("rotation") << "rotationText"
                              << QStringLiteral("0") + QChar(0x00B0) + " - Normal";
    QTest::newRow("placement file") << "pkpText"
                                    << "no pkp loaded";
    QTest::newRow("calibration") << "calibrationText"
                                 << "Not calibrated";
    QTest::newRow("parts per face") << "partsPerFaceText"
                                    << "none";
    QTest::newRow("PCB count") << "pcbCount"
                               << "1";
}

void MainWindowTest::initialTexts() {
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(text(qPrintable(name)), expected);
}

void MainWindowTest::initialFaceSortAndPcbCount() {
    QVERIFY(control<QRadioButton>("top")->isChecked());
    QVERIFY(!control<QRadioButton>("bottom")->isChecked());
    QCOMPARE(dlg_->pcbCount(), 1u);
    const auto* sortBy = control<QComboBox>("sortBy");
    QStringList entries;
    for (int i = 0; i < sortBy->count(); ++i)
        entries << sortBy->itemText(i);
    QCOMPARE(entries, QStringList({"Package,Prefix,Value,PartId", "Prefix,Package,Value,PartId",
                                   "Prefix,PartId"}));
    QCOMPARE(sortBy->currentIndex(), 0);
    QCOMPARE(sortBy->currentText(), QStringLiteral("Package,Prefix,Value,PartId"));
}

void MainWindowTest::focusStartsOnThePartList() {
    QCOMPARE(dlg_->focusWidget(), control<QWidget>("partList"));
}

void MainWindowTest::partListStartsEmptyWithItsColumns_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("width");
    QTest::newRow("0") << 0 << "Placed" << 50;
    QTest::newRow("1") << 1 << "Item#" << 50;
    QTest::newRow("2") << 2 << "Part ID" << 80;
    QTest::newRow("3") << 3 << "Value" << 250;
    QTest::newRow("4") << 4 << "Package" << 120;
    QTest::newRow("5") << 5 << "Layer" << 50;
    QTest::newRow("6") << 6 << "Rotation" << 60;
    QTest::newRow("7") << 7 << "X" << 90;
    QTest::newRow("8") << 8 << "Y" << 90;
}

void MainWindowTest::partListStartsEmptyWithItsColumns() {
    QFETCH(int, column);
    QFETCH(QString, header);
    QFETCH(int, width);
    QCOMPARE(model()->rowCount(), 0);
    QCOMPARE(model()->columnCount(), 9);
    QCOMPARE(model()->headerData(column, Qt::Horizontal).toString(), header);
    QCOMPARE(control<QTableView>("partList")->horizontalHeader()->sectionSize(column), width);
}

// Template numbers in dialog units. The picture frame and the part list follow the window's
// size on the sides that stretch, and a drop-down is as tall as its closed box.
void MainWindowTest::controlsSitWhereTheTemplatePutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("units");
    QTest::addColumn<bool>("fixedWidth");
    QTest::addColumn<bool>("fixedHeight");
    QTest::newRow("Load Bitmap") << "loadBitmap" << QRect(13, 41, 68, 13) << true << true;
    QTest::newRow("Rot R") << "rotR" << QRect(36, 57, 22, 11) << true << true;
    QTest::newRow("Top") << "top" << QRect(13, 105, 29, 9) << true << true;
    QTest::newRow("Place/unplace") << "placeUnplace" << QRect(13, 159, 68, 27) << true << true;
    QTest::newRow("placement file text") << "pkpText" << QRect(86, 91, 77, 12) << true << true;
    QTest::newRow("PCB count") << "pcbCount" << QRect(103, 161, 18, 12) << true << true;
    QTest::newRow("magnifier") << "magnifierFrame" << QRect(7, 209, 161, 134) << true << true;
    QTest::newRow("logo") << "logo" << QRect(14, 7, 57, 17) << true << true;
    QTest::newRow("sort drop-down") << "sortBy" << QRect(43, 145, 120, 60) << true << false;
    QTest::newRow("board picture") << "pictureFrame" << QRect(174, 7, 385, 337) << false << true;
    QTest::newRow("part list") << "partList" << QRect(7, 348, 552, 87) << false << false;
}

void MainWindowTest::controlsSitWhereTheTemplatePutsThem() {
    QFETCH(QString, name);
    QFETCH(QRect, units);
    QFETCH(bool, fixedWidth);
    QFETCH(bool, fixedHeight);
    const QRect expected =
        DialogUnits(dlg_->font()).toPixels(units.x(), units.y(), units.width(), units.height());
    const auto* widget = control<QWidget>(qPrintable(name));
    QVERIFY(widget);
    QCOMPARE(widget->pos(), expected.topLeft());
    if (fixedWidth)
        QCOMPARE(widget->width(), expected.width());
    if (fixedHeight)
        QCOMPARE(widget->height(), expected.height());
}

void MainWindowTest::controlsHaveAccessibleNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    const char* const controls[][2] = {
        {"partList", "Part list"},
        {"loadBitmap", "Load Bitmap"},
        {"rotL", "Rot L"},
        {"rotR", "Rot R"},
        {"flip", "Flip"},
        {"loadPkp", "Load PKP file"},
        {"top", "Top"},
        {"bottom", "Bottom"},
        {"cal1", "Cal 1"},
        {"cal2", "Cal 2"},
        {"placeUnplace", "Place/unplace"},
        {"pickList", "Pick List"},
        {"zoomIn", "Zoom In"},
        {"zoomOut", "Zoom Out"},
        {"nextUnplaced", "Next unplaced"},
        {"unplaceAll", "Unplace all"},
        {"pictureFrame", "Board picture"},
        {"magnifierFrame", "Magnifier"},
        {"bitmapText", "Bitmap file"},
        {"rotationText", "Rotation"},
        {"pkpText", "Pick and Place file"},
        {"calibrationText", "Calibration"},
        {"bitmapGroup", "Bitmap file"},
        {"pkpGroup", "Pick and Place file"},
        {"partsGroup", "Parts"},
        {"partsPerFaceText", "Parts per face"},
        {"sortBy", "Sort by"},
        {"sortByLabel", "Sort by"},
        {"pcbCount", "PCB count"},
        {"pcbLabel", "PCB"},
        {"needHelp", "Need help ?"},
        {"shortcuts", "Shortcuts"},
        {"logo", "Logo"},
    };
    for (const auto& entry : controls)
        QTest::newRow(entry[0]) << entry[0] << entry[1];
}

void MainWindowTest::controlsHaveAccessibleNames() {
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    const auto* widget = control<QWidget>(qPrintable(name));
    QVERIFY(widget);
    QCOMPARE(widget->accessibleName(), accessibleName);
}

// ---- loading and listing

void MainWindowTest::pkpChooserOffersItsFilters() {
    loadPkp(std::nullopt);
    QCOMPARE(platform_->fileFilters.size(), std::size_t{1});
    QCOMPARE(platform_->fileFilters.front(),
             QStringList({"PKP (*.pkp)", "TXT (*.txt)", "CSV (*.csv)", "All files (*)"}));
}

void MainWindowTest::coldfireListsEachFaceInEachOrder_data() {
    QTest::addColumn<bool>("bottom");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("faceCount");
    const char* const orders[] = {"package order", "prefix-package order", "prefix order"};
    for (int entry = 0; entry < 3; ++entry) {
        QTest::addRow("top, %s", orders[entry]) << false << entry << 146;
        QTest::addRow("bottom, %s", orders[entry]) << true << entry << 14;
    }
}

void MainWindowTest::coldfireListsEachFaceInEachOrder() {
    QFETCH(bool, bottom);
    QFETCH(int, entry);
    QFETCH(int, faceCount);
    const std::vector<ExpectedPart> parts = ReadColdfire();
    QCOMPARE(parts.size(), std::size_t{160});

    loadPkp(QStringLiteral(DEMO_DIR "/coldfire.csv"));
    QCOMPARE(text("pkpText"), QStringLiteral("160 parts loaded"));
    QCOMPARE(dlg_->partTable().partCount, 160);
    if (bottom)
        QTest::mouseClick(control<QRadioButton>("bottom"), Qt::LeftButton);
    chooseSort(entry);

    QCOMPARE(model()->rowCount(), faceCount);
    QCOMPARE(dlg_->faceList().faceCount, faceCount);
    QCOMPARE(text("partsPerFaceText"), QStringLiteral("%1 parts/face").arg(faceCount));
    QCOMPARE(rows({2, 1, 7}), ExpectedRows(parts, bottom, entry));
    QCOMPARE(text("calibrationText"), QStringLiteral("Not calibrated"));
    QVERIFY(platform_->messages.empty());
}

// A sort change keeps the calibration and selects and locates row 0; a face change resets the
// calibration and leaves no row selected; choosing the face already shown changes nothing.
void MainWindowTest::sortChangeSelectsRowZeroFaceChangeSelectsNone() {
    loadPkp(QStringLiteral(DEMO_DIR "/coldfire.csv"));
    QCOMPARE(highlightedRows(), QList<int>());
    startCalibration();
    QCOMPARE(text("calibrationText"), QStringLiteral("Waiting for point 2"));

    clickRow(5);
    chooseSort(2);
    QCOMPARE(highlightedRows(), QList<int>({0}));
    QCOMPARE(dlg_->selection().selectedRow, 0);
    QCOMPARE(QString::asprintf("%f", double(dlg_->selection().selectedX)),
             model()->index(0, 7).data().toString());
    QCOMPARE(text("calibrationText"), QStringLiteral("Waiting for point 2"));

    QTest::mouseClick(control<QRadioButton>("top"), Qt::LeftButton);
    QCOMPARE(text("calibrationText"), QStringLiteral("Waiting for point 2"));
    QCOMPARE(highlightedRows(), QList<int>({0}));

    QTest::mouseClick(control<QRadioButton>("bottom"), Qt::LeftButton);
    QVERIFY(control<QRadioButton>("bottom")->isChecked());
    QVERIFY(!control<QRadioButton>("top")->isChecked());
    QCOMPARE(text("partsPerFaceText"), QStringLiteral("14 parts/face"));
    QCOMPARE(text("calibrationText"), QStringLiteral("Not calibrated"));
    QCOMPARE(dlg_->calibration().state, kavelto::CalState::None);
    QCOMPARE(highlightedRows(), QList<int>());
    QVERIFY(!dlg_->selection().hasPart());

    chooseSort(1);
    QCOMPARE(highlightedRows(), QList<int>({0}));
}

// Rows read "designator/file line/item"; every part lies on the top face.
void MainWindowTest::sortEdgeCasesAndItems_data() {
    QTest::addColumn<QByteArrayList>("parts");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("prefix decides before the number")
        << QByteArrayList{"R1,10k,0603,top", "C12,10k,0603,top"} << 2
        << QStringList{"C12/2/1", "R1/1/1"};
    QTest::newRow("R2 before R10") << QByteArrayList{"R10,10k,0603,top", "R2,10k,0603,top"} << 2
                                   << QStringList{"R2/2/1", "R10/1/1"};
    QTest::newRow("a prefix before its longer continuation")
        << QByteArrayList{"RA1,10k,0603,top", "R2,10k,0603,top"} << 2
        << QStringList{"R2/2/1", "RA1/1/1"};
    QTest::newRow("no prefix first") << QByteArrayList{"A1,10k,0603,top", "5,10k,0603,top"} << 2
                                     << QStringList{"5/2/1", "A1/1/1"};
    QTest::newRow("lower-case prefix after upper-case")
        << QByteArrayList{"c1,10k,0603,top", "R99,10k,0603,top", "Z5,10k,0603,top"} << 2
        << QStringList{"R99/2/1", "Z5/3/1", "c1/1/1"};
    QTest::newRow("lower-case prefix, package order")
        << QByteArrayList{"c1,10k,0603,top", "R99,10k,0603,top"} << 0
        << QStringList{"R99/2/1", "c1/1/1"};
    QTest::newRow("numbers above 32767")
        << QByteArrayList{"R40000,10k,0603,top", "R39999,10k,0603,top", "R32768,10k,0603,top",
                          "R32767,10k,0603,top"}
        << 2 << QStringList{"R32767/4/1", "R32768/3/1", "R39999/2/1", "R40000/1/1"};
    for (int entry = 0; entry < 3; ++entry) {
        QTest::addRow("equal keys in reverse file order, entry %d", entry)
            << QByteArrayList{"R5,10k,0603,top", "R5,10k,0603,top", "R5,10k,0603,top"} << entry
            << QStringList{"R5/3/1", "R5/2/1", "R5/1/1"};
    }
    QTest::newRow("equal prefix keys of two kinds")
        << QByteArrayList{"R5,10k,0603,top", "R5,1k,0402,top"} << 2
        << QStringList{"R5/2/1", "R5/1/2"};
    QTest::newRow("package decides first") << QByteArrayList{"C1,100n,0805,top", "R1,10k,0603,top"}
                                           << 0 << QStringList{"R1/2/1", "C1/1/2"};
    QTest::newRow("prefix before package") << QByteArrayList{"R1,10k,0603,top", "C1,100n,0805,top"}
                                           << 1 << QStringList{"C1/2/1", "R1/1/2"};
    QTest::newRow("package before number") << QByteArrayList{"R1,10k,0805,top", "R2,10k,0603,top"}
                                           << 1 << QStringList{"R2/2/1", "R1/1/2"};
    QTest::newRow("value before number, bytewise")
        << QByteArrayList{"R1,2k,0603,top", "R2,10k,0603,top"} << 0
        << QStringList{"R2/2/1", "R1/1/2"};
    QTest::newRow("bytes above 127 after letters")
        << QByteArrayList{"R1,\xB5,0603,top", "R2,z,0603,top"} << 0
        << QStringList{"R2/2/1", "R1/1/2"};
    QTest::newRow("a run of one kind shares a number")
        << QByteArrayList{"C3,100n,0603,top", "C1,100n,0603,top", "C2,100n,0603,top"} << 0
        << QStringList{"C1/2/1", "C2/3/1", "C3/1/1"};
    QTest::newRow("a kind split by another gets a new number")
        << QByteArrayList{"R1,10k,0603,top", "R2,1k,0603,top", "R3,10k,0603,top"} << 2
        << QStringList{"R1/1/1", "R2/2/2", "R3/3/3"};
    QTest::newRow("another prefix of the package splits a kind")
        << QByteArrayList{"R1,100n,0603,top", "D1,1N4148,0603,top", "C1,100n,0603,top"} << 0
        << QStringList{"C1/3/1", "D1/2/2", "R1/1/3"};
    QTest::newRow("same value in another package is another item")
        << QByteArrayList{"R1,10k,0603,top", "R2,10k,0805,top"} << 2
        << QStringList{"R1/1/1", "R2/2/2"};
}

void MainWindowTest::sortEdgeCasesAndItems() {
    QFETCH(QByteArrayList, parts);
    QFETCH(int, entry);
    QFETCH(QStringList, expected);
    loadPkp(writeFile(QStringLiteral("edge.csv"), PartsFile(parts)));
    chooseSort(entry);
    QCOMPARE(rows({2, 6, 1}), expected);
}

void MainWindowTest::partTextsShowAsUtf8OrLatin1_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << QByteArray("10k") << QStringLiteral("10k");
    QTest::newRow("Latin-1 micro sign") << QByteArray("4\xB5"
                                                      "7")
                                        << "4" + kMicro + "7";
    QTest::newRow("UTF-8 micro sign") << QByteArray("4\xC2\xB5"
                                                    "7")
                                      << "4" + kMicro + "7";
    QTest::newRow("UTF-8 ohm sign") << QByteArray("4k7\xCE\xA9") << "4k7" + QString(QChar(0x03A9));
    QTest::newRow("Latin-1 degree sign") << QByteArray("85\xB0") << "85" + QString(QChar(0x00B0));
}

void MainWindowTest::partTextsShowAsUtf8OrLatin1() {
    QFETCH(QByteArray, value);
    QFETCH(QString, shown);
    loadPkp(writeFile(QStringLiteral("texts.csv"), PartsFile({"R1," + value + ",0603,top"})));
    QCOMPARE(model()->index(0, 3).data().toString(), shown);
}

// Each case first loads the demo board and takes point 1 of a calibration; the outcome's load
// then replaces the list, resets the calibration and leaves no row highlighted. End then
// steps to the last row when there is one.
void MainWindowTest::loadOutcomes_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("pkpText");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("partCount");
    QTest::addColumn<QStringList>("partIds");

    // Line 0 is the header, so line 100 is the hundredth part; it lacks four fields.
    QByteArrayList failing = PartsFile(ManyResistors(120)).split('\n');
    failing[100] = "R100,10k,0603";

    QTest::newRow("cancel") << int(Choice::Cancel) << QByteArray() << "no pkp loaded"
                            << QStringList() << 0 << QStringList();
    QTest::newRow("file gone") << int(Choice::MissingFile) << QByteArray() << "no parts found"
                               << QStringList{"Error opening part file"} << 0 << QStringList();
    QTest::newRow("error on line 100")
        << int(Choice::File) << failing.join('\n') << "no parts found"
        << QStringList{"Not enough fields per line"} << 0 << QStringList();
    QTest::newRow("header lines only") << int(Choice::File) << PartsFile({}) << "no parts found"
                                       << QStringList() << 0 << QStringList();
    QTest::newRow("second, shorter file")
        << int(Choice::File)
        << PartsFile({"R1,10k,0603,top", "U1,LM358,SO8,bottom", "C1,100n,0402,top"})
        << "3 parts loaded" << QStringList() << 3 << QStringList{"C1", "R1"};
}

void MainWindowTest::loadOutcomes() {
    QFETCH(int, choice);
    QFETCH(QByteArray, file);
    QFETCH(QString, pkpText);
    QFETCH(QStringList, messages);
    QFETCH(int, partCount);
    QFETCH(QStringList, partIds);
    loadPkp(QStringLiteral(DEMO_DIR "/coldfire.csv"));
    startCalibration();
    QCOMPARE(text("calibrationText"), QStringLiteral("Waiting for point 2"));
    platform_->messages.clear();

    switch (static_cast<Choice>(choice)) {
    case Choice::Cancel:
        loadPkp(std::nullopt);
        break;
    case Choice::MissingFile:
        loadPkp(scratch_.filePath(QStringLiteral("never-written.csv")));
        break;
    case Choice::File:
        loadPkp(writeFile(QStringLiteral("outcome.csv"), file));
        break;
    }

    QStringList shown;
    for (const FakePlatform::Message& message : platform_->messages) {
        shown << message.text;
        QCOMPARE(message.caption, QStringLiteral("Error"));
        QCOMPARE(message.icon, Platform::Icon::Stop);
        QCOMPARE(message.buttons, Platform::Buttons::Ok);
    }
    QCOMPARE(shown, messages);
    QCOMPARE(text("pkpText"), pkpText);
    QCOMPARE(dlg_->partTable().partCount, partCount);
    QCOMPARE(rows({2}), partIds);
    QCOMPARE(dlg_->faceList().faceCount, int(partIds.size()));
    QCOMPARE(text("partsPerFaceText"), QStringLiteral("%1 parts/face").arg(partIds.size()));
    QCOMPARE(text("calibrationText"), QStringLiteral("Not calibrated"));
    QCOMPARE(dlg_->calibration().state, kavelto::CalState::None);
    QVERIFY(!dlg_->selection().hasPart());
    QCOMPARE(highlightedRows(), QList<int>());

    QTest::keyClick(control<QTableView>("partList"), Qt::Key_End);
    QCOMPARE(highlightedRows(),
             partIds.isEmpty() ? QList<int>() : QList<int>({int(partIds.size()) - 1}));
}

// "b" and "B" mark the bottom; any other first character, none included, the top.
void MainWindowTest::layerLetterDecidesTheFace() {
    loadPkp(writeFile(QStringLiteral("layers.csv"),
                      PartsFile({"R1,10k,0603,bottom", "R2,10k,0603,Bottom", "R3,10k,0603,b",
                                 "R4,10k,0603,top", "R5,10k,0603,T", "R6,10k,0603,1",
                                 "R7,10k,0603, bottom", "R8,10k,0603,\"\"", "R9,10k,0603,x"})));
    chooseSort(2);
    QCOMPARE(rows({2}), QStringList({"R4", "R5", "R6", "R7", "R8", "R9"}));
    QTest::mouseClick(control<QRadioButton>("bottom"), Qt::LeftButton);
    QCOMPARE(rows({2}), QStringList({"R1", "R2", "R3"}));
}

// A face without parts shows an empty list; the row the user had chosen stays the selected
// row, and the other face lists its parts again.
void MainWindowTest::emptyFaceListsNothing() {
    loadPkp(writeFile(QStringLiteral("top-only.csv"),
                      PartsFile({"R1,10k,0603,top", "R2,10k,0603,top"})));
    clickRow(1);
    QCOMPARE(dlg_->selection().selectedRow, 1);
    QTest::mouseClick(control<QRadioButton>("bottom"), Qt::LeftButton);
    QCOMPARE(model()->rowCount(), 0);
    QCOMPARE(dlg_->faceList().faceCount, 0);
    QCOMPARE(text("partsPerFaceText"), QStringLiteral("0 parts/face"));
    QCOMPARE(dlg_->selection().selectedRow, 1);
    QCOMPARE(highlightedRows(), QList<int>());
    QTest::mouseClick(control<QRadioButton>("top"), Qt::LeftButton);
    QCOMPARE(rows({2}), QStringList({"R1", "R2"}));
    QCOMPARE(text("partsPerFaceText"), QStringLiteral("2 parts/face"));
}

// ---- PCB count

// Each case first reads 3 from the field, then the text through the given command.
void MainWindowTest::pcbField_data() {
    QTest::addColumn<QString>("entered");
    QTest::addColumn<bool>("bySortChange");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<quint32>("count");
    QTest::newRow("zero") << "0" << false << true << 0u;
    QTest::newRow("blanks around") << " 12 " << false << true << 12u;
    QTest::newRow("tabs around") << "\t12\t" << false << true << 12u;
    QTest::newRow("plus sign") << "+7" << false << true << 7u;
    QTest::newRow("largest") << "4294967295" << false << true << 4294967295u;
    QTest::newRow("ten digits beyond 32 bits") << "4294967296" << false << true << 4294967295u;
    QTest::newRow("eleven digits") << "12345678901" << false << true << 4294967295u;
    QTest::newRow("empty") << "" << false << false << 3u;
    QTest::newRow("minus sign") << "-1" << false << false << 3u;
    QTest::newRow("decimal point") << "1.5" << false << false << 3u;
    QTest::newRow("blank inside") << "1 2" << false << false << 3u;
    QTest::newRow("only 31 characters read") << "7" + QString(30, ' ') + "x" << false << true << 7u;
    QTest::newRow("read by the sort change") << "25" << true << true << 25u;
    QTest::newRow("refused by the sort change") << "-1" << true << false << 3u;
}

void MainWindowTest::pcbField() {
    QFETCH(QString, entered);
    QFETCH(bool, bySortChange);
    QFETCH(bool, valid);
    QFETCH(quint32, count);
    auto* field = control<QLineEdit>("pcbCount");
    auto* pickList = control<QPushButton>("pickList");
    field->setText(QStringLiteral("3"));
    QTest::mouseClick(pickList, Qt::LeftButton);
    QCOMPARE(dlg_->pcbCount(), 3u);

    field->setText(entered);
    if (bySortChange)
        chooseSort(1);
    else
        QTest::mouseClick(pickList, Qt::LeftButton);

    QCOMPARE(dlg_->pcbCount(), count);
    if (valid) {
        QVERIFY(platform_->messages.empty());
        return;
    }
    QCOMPARE(platform_->messages.size(), std::size_t{1});
    const FakePlatform::Message& message = platform_->messages.front();
    QCOMPARE(message.text, QStringLiteral("Please enter a positive integer."));
    QCOMPARE(message.caption, QStringLiteral("main_window_test"));
    QCOMPARE(message.icon, Platform::Icon::Exclamation);
    QCOMPARE(message.buttons, Platform::Buttons::Ok);
    QCOMPARE(dlg_->focusWidget(), field);
    // The sort change goes on to refresh the fields, which writes the count back.
    if (!bySortChange)
        QCOMPARE(field->selectedText(), entered);
}

void MainWindowTest::pcbFieldTakesTypedDigitsOnly() {
    auto* field = control<QLineEdit>("pcbCount");
    field->clear();
    QTest::keyClicks(field, QStringLiteral("a1-"));
    QCOMPARE(field->text(), QStringLiteral("1"));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
