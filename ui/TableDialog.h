#pragma once

#include "app/Outcome.h"

#include <QDialog>

class QTableWidget;

namespace kavelto {

// A small table to edit, as a command offers it: its cells as text under the columns' names,
// rows to add and remove, OK and Cancel. What the cells must hold is the command's to judge.
class TableDialog : public QDialog {
    Q_OBJECT
public:
    explicit TableDialog(const TableEdit& edit, QWidget* parent = nullptr);

    // The cells as the user left them, row by row.
    TableCells cells() const;

private:
    void addRow();
    void removeRow();

    QTableWidget* table_;
};

} // namespace kavelto
