#pragma once

#include "parts/PartListObserver.h"

#include <QAbstractTableModel>

namespace kavelto {

class AssemblySession;

// The part list: row r shows the part at the face list's entry r, with its item number. The
// session resets it around the moment it takes a new table or sorts anew, and tells it of
// changed placed marks.
class PartListModel : public QAbstractTableModel, public PartListObserver {
    Q_OBJECT

public:
    explicit PartListModel(const AssemblySession& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Whether some row shows text in the column: asked of the session, not of every row's text,
    // as the part numbers' columns are empty on any board without a BOM.
    bool columnFilled(int column) const;

    void faceListAboutToChange() override;
    void faceListChanged() override;
    void placedChanged(int firstRow, int lastRow) override;

private:
    QVariant text(int row, int column) const;

    const AssemblySession& session_;
};

} // namespace kavelto
