#include "TableRows.h"

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kavelto {

namespace {

// The top and bottom of what the row's cells hold, in the document's coordinates.
std::pair<qreal, qreal> RowExtent(const QTextDocument& document, QTextTable& table, int row) {
    qreal top = std::numeric_limits<qreal>::max(), bottom = std::numeric_limits<qreal>::lowest();
    const QAbstractTextDocumentLayout* layout = document.documentLayout();
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCell cell = table.cellAt(row, column);
        top = std::min(top, layout->blockBoundingRect(cell.firstCursorPosition().block()).top());
        bottom =
            std::max(bottom, layout->blockBoundingRect(cell.lastCursorPosition().block()).bottom());
    }
    return {top, bottom};
}

int PageAt(const QTextDocument& document, qreal y) {
    return static_cast<int>(std::floor(y / document.pageSize().height()));
}

// The document's tables, its own and those inside other frames.
void CollectTables(QTextFrame* frame, std::vector<QTextTable*>& tables) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
            tables.push_back(table);
        CollectTables(child, tables);
    }
}

// Moves what the row's cells hold down by the distance, more room above it in each cell.
void LowerRow(QTextTable& table, int row, qreal distance) {
    const qreal tablePadding = table.format().cellPadding();
    for (int column = 0; column < table.columns(); ++column) {
        QTextTableCell cell = table.cellAt(row, column);
        QTextTableCellFormat format = cell.format().toTableCellFormat();
        const qreal padding = format.hasProperty(QTextFormat::TableCellTopPadding)
                                  ? format.topPadding()
                                  : tablePadding;
        format.setTopPadding(padding + distance);
        cell.setFormat(format);
    }
}

TableRowPages PagesOf(const QTextDocument& document, int row, std::pair<qreal, qreal> extent) {
    // The bottom edge itself belongs to the page below it.
    return {row, PageAt(document, extent.first), PageAt(document, extent.second - 0.5)};
}

} // namespace

std::vector<TableRowPages> RowPages(const QTextDocument& document, QTextTable& table) {
    std::vector<TableRowPages> rows;
    rows.reserve(static_cast<size_t>(table.rows()));
    for (int row = 0; row < table.rows(); ++row)
        rows.push_back(PagesOf(document, row, RowExtent(document, table, row)));
    return rows;
}

void KeepTableRowsWhole(QTextDocument& document) {
    std::vector<QTextTable*> tables;
    CollectTables(document.rootFrame(), tables);
    const qreal pageHeight = document.pageSize().height();
    for (QTextTable* table : tables) {
        // Each row moved moves the rows below it, so each row is read after the one above.
        for (int row = 0; row < table->rows(); ++row) {
            const auto [top, bottom] = RowExtent(document, *table, row);
            const TableRowPages pages = PagesOf(document, row, {top, bottom});
            if (pages.firstPage == pages.lastPage || bottom - top >= pageHeight)
                continue;
            LowerRow(*table, row, pages.lastPage * pageHeight - top);
            // Laid out again whole: the layout that follows a change block by block leaves
            // blocks after the table undrawn.
            document.markContentsDirty(0, document.characterCount());
        }
    }
}

} // namespace kavelto
