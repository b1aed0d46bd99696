#pragma once

#include <QTableView>

#include <optional>

namespace kavelto {

class PartListModel;

// The part list: full rows, one selected at most, the selection shown without focus.
class PartListView : public QTableView {
    Q_OBJECT
public:
    explicit PartListView(QWidget* parent = nullptr);

    std::optional<int> selectedRow() const;
    void setRowSelected(int row, bool selected);
    void ensureRowVisible(int row);
    // Lists the parts of model in their columns' widths; the part numbers' columns show only
    // while some row fills them.
    void showParts(PartListModel* model);

private:
    // Hides each column of the part numbers that no row fills, and shows the others.
    void hideEmptyColumns();
};

} // namespace kavelto
