#pragma once

#include "FaceList.h"
#include "FaceSorting.h"
#include "PartTable.h"

#include <QAbstractTableModel>

// The part list: row r shows the part at the face list's entry r. The model only refers to
// the table and the face list, which the window owns; after the window rebuilds the face list
// it calls rebuild(), and after it changes placed marks placedChanged() or allPlacedChanged().
class PartListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    PartListModel(const kavelto::PartTable& table, const kavelto::FaceList& faceList,
                  QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void rebuild();
    void placedChanged(int row);
    void allPlacedChanged();

private:
    void emitPlacedChanged(int firstRow, int lastRow);

    const kavelto::PartTable& table_;
    const kavelto::FaceList& faceList_;
    kavelto::ItemNumbers itemNumbers_{};
};
