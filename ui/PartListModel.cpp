#include "PartListModel.h"

#include "bom/BomMessages.h"
#include "session/AssemblySession.h"

#include "DisplayText.h"
#include "PartListColumns.h"
#include "parts/PartColumns.h"

#include <QColor>

#include <string>

namespace kavelto {

namespace {

// The parts left off the board stay in the list, greyed.
const QColor kNotFittedText(150, 150, 150);

bool IsColumn(int section) {
    return section >= 0 && section < kListColumnCount;
}

const PartListColumn& ListColumn(int column) {
    return column < kPartColumnCount
               ? kPartListColumns[static_cast<std::size_t>(column)]
               : kBomListColumns[static_cast<std::size_t>(column - kPartColumnCount)];
}

// The BOM line's text that a part numbers' column shows.
const std::string& BomFieldOf(const BomLine& line, int column) {
    const auto field = static_cast<BomColumn>(column - kPartColumnCount);
    return field == BomColumn::Mpn ? line.mpn : line.supplier;
}

} // namespace

PartListModel::PartListModel(const AssemblySession& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session) {}

int PartListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : session_.faceList().faceCount;
}

int PartListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kListColumnCount;
}

QVariant PartListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::TextAlignmentRole)
        return ListColumn(index.column()).alignment.toInt();
    if (role == Qt::ForegroundRole && session_.isNotFittedAtRow(index.row()))
        return kNotFittedText;
    if (role != Qt::DisplayRole)
        return {};
    return text(index.row(), index.column());
}

QVariant PartListModel::text(int row, int column) const {
    if (column >= kPartColumnCount) {
        const BomLine* line = session_.bomLineAtRow(row);
        return line ? DisplayText(BomFieldOf(*line, column)) : QString();
    }
    const auto partColumn = static_cast<PartColumn>(column);
    if (partColumn == PartColumn::Placed && session_.isNotFittedAtRow(row))
        return QString::fromLatin1(kNotFittedMark);
    return DisplayText(
        PartColumnText(session_.partAtRow(row), session_.itemNumber(row), partColumn));
}

bool PartListModel::columnFilled(int column) const {
    if (column < kPartColumnCount)
        return true;
    if (!session_.bom().hasBom())
        return false;
    for (int row = 0; row < rowCount(); ++row)
        if (const BomLine* line = session_.bomLineAtRow(row);
            line && !BomFieldOf(*line, column).empty())
            return true;
    return false;
}

QVariant PartListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || !IsColumn(section))
        return {};
    const PartListColumn& column = ListColumn(section);
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(column.title);
    if (role == Qt::TextAlignmentRole)
        return column.alignment.toInt();
    return {};
}

void PartListModel::faceListAboutToChange() {
    beginResetModel();
}

void PartListModel::faceListChanged() {
    endResetModel();
}

// The whole rows: a part left off the board or fitted again changes its colour too.
void PartListModel::placedChanged(int firstRow, int lastRow) {
    const QModelIndex first = index(firstRow, 0);
    const QModelIndex last = index(lastRow, kListColumnCount - 1);
    if (first.isValid() && last.isValid())
        emit dataChanged(first, last, {Qt::DisplayRole, Qt::ForegroundRole});
}

} // namespace kavelto
