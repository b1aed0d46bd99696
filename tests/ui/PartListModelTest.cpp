#include "PartListModel.h"

#include "FieldParsing.h"
#include "PartColumns.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using kavelto::Face;
using kavelto::SortMode;

namespace {

kavelto::PartRecord MakePart(const char* prefix, unsigned partId, const char* value, char layer) {
    kavelto::PartRecord part{};
    kavelto::CopyText(part.prefix, sizeof part.prefix, prefix);
    part.partId = static_cast<std::uint16_t>(partId);
    kavelto::CopyText(part.value, sizeof part.value, value);
    kavelto::CopyText(part.package, sizeof part.package, "0603");
    part.layer = layer;
    return part;
}

const QString kMicro = QString(QChar(0x00B5));

} // namespace

class PartListModelTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void satisfiesTheModelContract();
    void showsTheFaceOnly();
    void cellTexts_data();
    void cellTexts();
    void headers();
    void alignment_data();
    void alignment();
    void showsDoneAfterPlacedChanged();
    void allPlacedChangedCoversEveryRow();
    void rebuildFollowsTheNewFaceList();

private:
    void load(Face face);

    std::unique_ptr<kavelto::PartTable> table_;
    std::unique_ptr<kavelto::FaceList> faceList_;
    std::unique_ptr<PartListModel> model_;
};

// Sorted by package, prefix and value, the top face lists C1 (a Latin-1 micro sign), C2 (the
// UTF-8 one) and R12; R3 lies on the bottom.
void PartListModelTest::init() {
    table_ = std::make_unique<kavelto::PartTable>();
    faceList_ = std::make_unique<kavelto::FaceList>();
    kavelto::PartRecord resistor = MakePart("R", 12, "10k", 'T');
    resistor.rotation = -90;
    resistor.x = 10.5f;
    resistor.y = -3.25f;
    table_->parts[0] = resistor;
    table_->parts[1] = MakePart("C", 2, "\xC2\xB5H", 't');
    table_->parts[2] = MakePart("R", 3, "10k", 'b');
    table_->parts[3] = MakePart("C", 1, "\xB5H", '\0');
    table_->partCount = 4;
    load(Face::Top);
    model_ = std::make_unique<PartListModel>(*table_, *faceList_);
}

void PartListModelTest::cleanup() {
    model_.reset();
}

void PartListModelTest::load(Face face) {
    kavelto::FilterAndSortFace(*table_, face, SortMode::PackagePrefixValuePartId, *faceList_);
}

void PartListModelTest::satisfiesTheModelContract() {
    QAbstractItemModelTester tester(model_.get(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    model_->placedChanged(1);
    load(Face::Bottom);
    model_->rebuild();
}

void PartListModelTest::showsTheFaceOnly() {
    QCOMPARE(model_->rowCount(), 3);
    QCOMPARE(model_->columnCount(), 9);
}

void PartListModelTest::cellTexts_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("not placed") << 0 << 0 << QString();
    QTest::newRow("first item") << 0 << 1 << "1";
    QTest::newRow("designator") << 0 << 2 << "C1";
    QTest::newRow("Latin-1 value") << 0 << 3 << kMicro + "H";
    QTest::newRow("UTF-8 value") << 1 << 3 << kMicro + "H";
    QTest::newRow("other bytes, other item") << 1 << 1 << "2";
    QTest::newRow("NUL layer") << 0 << 5 << QString();
    QTest::newRow("package") << 2 << 4 << "0603";
    QTest::newRow("layer") << 2 << 5 << "T";
    QTest::newRow("rotation") << 2 << 6 << "-90";
    QTest::newRow("x") << 2 << 7 << "10.500000";
    QTest::newRow("y") << 2 << 8 << "-3.250000";
    QTest::newRow("third item") << 2 << 1 << "3";
}

void PartListModelTest::cellTexts() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QCOMPARE(model_->data(model_->index(row, column)).toString(), text);
}

void PartListModelTest::headers() {
    const QStringList expected = {"Placed", "Item#",    "Part ID", "Value", "Package",
                                  "Layer",  "Rotation", "X",       "Y"};
    QStringList titles;
    for (int column = 0; column < model_->columnCount(); ++column)
        titles << model_->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(titles, expected);
    QVERIFY(!model_->headerData(0, Qt::Vertical).isValid());
    QVERIFY(!model_->headerData(9, Qt::Horizontal).isValid());
}

void PartListModelTest::alignment_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("horizontal");
    QTest::newRow("Placed") << 0 << int(Qt::AlignLeft);
    QTest::newRow("Value") << 3 << int(Qt::AlignLeft);
    QTest::newRow("Layer") << 5 << int(Qt::AlignHCenter);
    QTest::newRow("Rotation") << 6 << int(Qt::AlignHCenter);
    QTest::newRow("X") << 7 << int(Qt::AlignRight);
    QTest::newRow("Y") << 8 << int(Qt::AlignRight);
}

void PartListModelTest::alignment() {
    QFETCH(int, column);
    QFETCH(int, horizontal);
    const int cell = model_->data(model_->index(1, column), Qt::TextAlignmentRole).toInt();
    const int header = model_->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).toInt();
    QCOMPARE(cell & Qt::AlignHorizontal_Mask, horizontal);
    QCOMPARE(cell & Qt::AlignVertical_Mask, int(Qt::AlignVCenter));
    QCOMPARE(header, cell);
}

void PartListModelTest::showsDoneAfterPlacedChanged() {
    QSignalSpy spy(model_.get(), &QAbstractItemModel::dataChanged);
    table_->parts[faceList_->indexes[2]].placed = 1;
    model_->placedChanged(2);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toModelIndex(), model_->index(2, 0));
    QCOMPARE(spy.at(0).at(1).toModelIndex(), model_->index(2, 0));
    QCOMPARE(model_->data(model_->index(2, 0)).toString(), QString("DONE"));
    QCOMPARE(model_->data(model_->index(1, 0)).toString(), QString());
}

void PartListModelTest::allPlacedChangedCoversEveryRow() {
    QSignalSpy spy(model_.get(), &QAbstractItemModel::dataChanged);
    model_->allPlacedChanged();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toModelIndex(), model_->index(0, 0));
    QCOMPARE(spy.at(0).at(1).toModelIndex(), model_->index(2, 0));

    table_->partCount = 0;
    load(Face::Top);
    model_->rebuild();
    model_->allPlacedChanged();
    QCOMPARE(spy.count(), 1);
}

void PartListModelTest::rebuildFollowsTheNewFaceList() {
    QSignalSpy reset(model_.get(), &QAbstractItemModel::modelReset);
    load(Face::Bottom);
    model_->rebuild();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model_->rowCount(), 1);
    QCOMPARE(model_->data(model_->index(0, 2)).toString(), QString("R3"));
    QCOMPARE(model_->data(model_->index(0, 1)).toString(), QString("1"));
}

QTEST_GUILESS_MAIN(PartListModelTest)

#include "PartListModelTest.moc"
