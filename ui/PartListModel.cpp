#include "PartListModel.h"

#include "DisplayText.h"
#include "PartColumns.h"

#include <string>

namespace {

// Qt takes the alignment role as the int of the flags.
QVariant AlignmentOf(kavelto::ColumnAlignment alignment) {
    Qt::Alignment flags = Qt::AlignLeft | Qt::AlignVCenter;
    switch (alignment) {
    case kavelto::ColumnAlignment::Centre:
        flags = Qt::AlignCenter;
        break;
    case kavelto::ColumnAlignment::Right:
        flags = Qt::AlignRight | Qt::AlignVCenter;
        break;
    case kavelto::ColumnAlignment::Left:
        break;
    }
    return flags.toInt();
}

bool IsColumn(int section) {
    return section >= 0 && section < kavelto::kPartColumnCount;
}

} // namespace

PartListModel::PartListModel(const kavelto::PartTable& table, const kavelto::FaceList& faceList,
                             QObject* parent)
    : QAbstractTableModel(parent), table_(table), faceList_(faceList) {
    kavelto::NumberItems(table_, faceList_, itemNumbers_);
}

int PartListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : faceList_.faceCount;
}

int PartListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kavelto::kPartColumnCount;
}

QVariant PartListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::TextAlignmentRole)
        return AlignmentOf(kavelto::kPartColumnHeaders[index.column()].alignment);
    if (role != Qt::DisplayRole)
        return {};
    const int row = index.row();
    const kavelto::PartRecord& part = table_.parts[faceList_.indexes[row]];
    const auto column = static_cast<kavelto::PartColumn>(index.column());
    return DisplayText(kavelto::PartColumnText(part, itemNumbers_[row], column));
}

QVariant PartListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || !IsColumn(section))
        return {};
    const kavelto::ColumnHeader& header = kavelto::kPartColumnHeaders[section];
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(header.title);
    if (role == Qt::TextAlignmentRole)
        return AlignmentOf(header.alignment);
    return {};
}

void PartListModel::rebuild() {
    beginResetModel();
    kavelto::NumberItems(table_, faceList_, itemNumbers_);
    endResetModel();
}

void PartListModel::placedChanged(int row) {
    emitPlacedChanged(row, row);
}

void PartListModel::allPlacedChanged() {
    emitPlacedChanged(0, faceList_.faceCount - 1);
}

void PartListModel::emitPlacedChanged(int firstRow, int lastRow) {
    const int placedColumn = static_cast<int>(kavelto::PartColumn::Placed);
    const QModelIndex first = index(firstRow, placedColumn);
    const QModelIndex last = index(lastRow, placedColumn);
    if (first.isValid() && last.isValid())
        emit dataChanged(first, last, {Qt::DisplayRole});
}
