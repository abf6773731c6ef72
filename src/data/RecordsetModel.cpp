#include "data/RecordsetModel.h"

#include "data/Recordset.h"

RecordsetModel::RecordsetModel(Recordset &recordset, QObject *parent)
    : QAbstractTableModel(parent)
    , m_recordset(recordset)
{
    // A reset arrives after the rows were replaced, so it is announced and finished at once.
    connect(&recordset, &Recordset::reset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&recordset, &Recordset::rowAboutToBeInserted, this,
            [this](int row) { beginInsertRows({}, row, row); });
    connect(&recordset, &Recordset::rowInserted, this, [this] { endInsertRows(); });
    connect(&recordset, &Recordset::rowAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows({}, row, row); });
    connect(&recordset, &Recordset::rowRemoved, this, [this] { endRemoveRows(); });
    connect(&recordset, &Recordset::rowChanged, this, [this](int row) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

int RecordsetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_recordset.count();
}

int RecordsetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_recordset.fieldCount();
}

QVariant RecordsetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const QVariant value = m_recordset.valueAt(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return value.typeId() == QMetaType::QByteArray ? QVariant() : QVariant(value.toString());
    case Qt::EditRole:
        return value;
    case Qt::TextAlignmentRole:
        if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Double)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_recordset.fieldName(section);
    return section + 1;
}
