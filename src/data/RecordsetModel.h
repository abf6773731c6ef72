#pragma once

#include <QAbstractTableModel>

class Recordset;

// The one table model of the lists: shows the rows a Recordset holds, one column per field,
// without querying per cell. Grids choose, order and format the columns they show.
class RecordsetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit RecordsetModel(Recordset &recordset, QObject *parent = nullptr);

    Recordset &recordset() const { return m_recordset; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    // DisplayRole: the value as text; EditRole: the stored value; alignment: numbers right.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    Recordset &m_recordset;
};
