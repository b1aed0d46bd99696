#pragma once

#include <QTextDocument>

#include <vector>

class QTextTable;

namespace kavelto {

// Where one row of a table lies on the document's pages, as laid out.
struct TableRowPages {
    int row = 0;
    int firstPage = 0;
    int lastPage = 0;
};

// The pages each row of the table is drawn on: a row drawn on two pages is split.
std::vector<TableRowPages> RowPages(const QTextDocument& document, QTextTable& table);

// Lays the document's tables out so that no row is split across two pages: a row that would
// start at the foot of a page starts on the next one instead. A row taller than a page is left
// as it is, since no page holds it.
void KeepTableRowsWhole(QTextDocument& document);

} // namespace kavelto
