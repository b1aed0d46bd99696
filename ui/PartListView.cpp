#include "PartListView.h"

#include "PartListColumns.h"
#include "PartListModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>

namespace kavelto {

PartListView::PartListView(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    // The selected part stays visible while the user works elsewhere in the window.
    QPalette shown = palette();
    shown.setColor(QPalette::Inactive, QPalette::Highlight,
                   shown.color(QPalette::Active, QPalette::Highlight));
    shown.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   shown.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(shown);
}

std::optional<int> PartListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    int first = rows.front().row();
    for (const QModelIndex& index : rows)
        first = std::min(first, index.row());
    return first;
}

void PartListView::setRowSelected(int row, bool selected) {
    const QModelIndex index = model()->index(row, 0);
    if (!index.isValid())
        return;
    if (selected) {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
    } else {
        selectionModel()->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
}

void PartListView::hideEmptyColumns() {
    const auto* parts = static_cast<const PartListModel*>(model());
    for (int column = kPartColumnCount; column < kListColumnCount; ++column)
        setColumnHidden(column, !parts->columnFilled(column));
}

void PartListView::ensureRowVisible(int row) {
    const QModelIndex index = model()->index(row, 0);
    if (index.isValid())
        scrollTo(index, QAbstractItemView::EnsureVisible);
}

void PartListView::showParts(PartListModel* model) {
    setModel(model);
    QHeaderView* header = horizontalHeader();
    for (int column = 0; column < kPartColumnCount; ++column)
        header->resizeSection(column, kPartListColumns[static_cast<std::size_t>(column)].width);
    for (int column = 0; column < kBomColumnCount; ++column)
        header->resizeSection(kPartColumnCount + column,
                              kBomListColumns[static_cast<std::size_t>(column)].width);
    hideEmptyColumns();
    connect(model, &QAbstractItemModel::modelReset, this, [this] { hideEmptyColumns(); });
}

} // namespace kavelto
