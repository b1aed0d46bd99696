#include "TableDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kavelto {

namespace {

QTableWidget* MakeTable(const TableEdit& edit, QWidget* parent) {
    auto* table = new QTableWidget(static_cast<int>(edit.rows.size()),
                                   static_cast<int>(edit.columns.size()), parent);
    table->setObjectName(QStringLiteral("table"));
    QStringList names;
    for (const std::string& name : edit.columns)
        names << QString::fromStdString(name);
    table->setHorizontalHeaderLabels(names);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    for (std::size_t row = 0; row < edit.rows.size(); ++row)
        for (std::size_t column = 0; column < edit.rows[row].size(); ++column)
            table->setItem(static_cast<int>(row), static_cast<int>(column),
                           new QTableWidgetItem(QString::fromStdString(edit.rows[row][column])));
    return table;
}

} // namespace

TableDialog::TableDialog(const TableEdit& edit, QWidget* parent)
    : QDialog(parent), table_(MakeTable(edit, this)) {
    setWindowTitle(QString::fromStdString(edit.title));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* add = buttons->addButton(tr("Add row"), QDialogButtonBox::ActionRole);
    QPushButton* remove = buttons->addButton(tr("Remove row"), QDialogButtonBox::ActionRole);
    connect(add, &QPushButton::clicked, this, &TableDialog::addRow);
    connect(remove, &QPushButton::clicked, this, &TableDialog::removeRow);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
}

TableCells TableDialog::cells() const {
    TableCells cells(static_cast<std::size_t>(table_->rowCount()));
    for (int row = 0; row < table_->rowCount(); ++row)
        for (int column = 0; column < table_->columnCount(); ++column) {
            const QTableWidgetItem* item = table_->item(row, column);
            cells[static_cast<std::size_t>(row)].push_back(item ? item->text().toStdString()
                                                                : std::string());
        }
    return cells;
}

// A new row goes below the current one, or last.
void TableDialog::addRow() {
    const int current = table_->currentRow();
    table_->insertRow(current < 0 ? table_->rowCount() : current + 1);
}

void TableDialog::removeRow() {
    if (table_->currentRow() >= 0)
        table_->removeRow(table_->currentRow());
}

} // namespace kavelto
