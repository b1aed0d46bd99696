#include "PartListModel.h"

#include "session/AssemblySession.h"

#include "DisplayText.h"
#include "parts/PartColumns.h"

#include <string>

namespace kavelto {

namespace {

// Qt takes the alignment role as the int of the flags.
QVariant AlignmentOf(ColumnAlignment alignment) {
    Qt::Alignment flags = Qt::AlignLeft | Qt::AlignVCenter;
    switch (alignment) {
    case ColumnAlignment::Centre:
        flags = Qt::AlignCenter;
        break;
    case ColumnAlignment::Right:
        flags = Qt::AlignRight | Qt::AlignVCenter;
        break;
    case ColumnAlignment::Left:
        break;
    }
    return flags.toInt();
}

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
        return AlignmentOf(kPartColumnHeaders[index.column()].alignment);
    if (role != Qt::DisplayRole)
        return {};
    const int row = index.row();
    const auto column = static_cast<PartColumn>(index.column());
    return DisplayText(PartColumnText(session_.partAtRow(row), session_.itemNumber(row), column));
}

QVariant PartListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || !IsColumn(section))
        return {};
    const ColumnHeader& header = kPartColumnHeaders[section];
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(header.title);
    if (role == Qt::TextAlignmentRole)
        return AlignmentOf(header.alignment);
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
