#include "PartListModel.h"

#include "session/AssemblySession.h"

#include "DisplayText.h"
#include "PartListColumns.h"
#include "parts/PartColumns.h"

#include <string>

namespace kavelto {

namespace {

bool IsColumn(int section) {
    return section >= 0 && section < kPartColumnCount;
}

} // namespace

PartListModel::PartListModel(const AssemblySession& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session) {}

int PartListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : session_.faceList().faceCount;
}

int PartListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kPartColumnCount;
}

QVariant PartListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::TextAlignmentRole)
        return kPartListColumns[static_cast<std::size_t>(index.column())].alignment.toInt();
    if (role != Qt::DisplayRole)
        return {};
    const int row = index.row();
    const auto column = static_cast<PartColumn>(index.column());
    return DisplayText(PartColumnText(session_.partAtRow(row), session_.itemNumber(row), column));
}

QVariant PartListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || !IsColumn(section))
        return {};
    const PartListColumn& column = kPartListColumns[static_cast<std::size_t>(section)];
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

void PartListModel::placedChanged(int firstRow, int lastRow) {
    const int placedColumn = static_cast<int>(PartColumn::Placed);
    const QModelIndex first = index(firstRow, placedColumn);
    const QModelIndex last = index(lastRow, placedColumn);
    if (first.isValid() && last.isValid())
        emit dataChanged(first, last, {Qt::DisplayRole});
}

} // namespace kavelto
