#include "widgets/RecordsetModel.h"

#include "data/Recordset.h"

#include <algorithm>

RecordsetModel::RecordsetModel(Recordset &recordset, QObject *parent)
    : QAbstractTableModel(parent)
    , m_recordset(recordset)
{
    // A reset arrives after the rows were replaced, so it is announced and finished at once.
    connect(&recordset, &Recordset::reset, this, [this] {
        beginResetModel();
        resolveFields();
        forgetFooter();
        endResetModel();
    });
    connect(&recordset, &Recordset::rowAboutToBeInserted, this,
            [this](int row) { beginInsertRows({}, row, row); });
    connect(&recordset, &Recordset::rowInserted, this, [this] {
        forgetFooter();
        endInsertRows();
    });
    connect(&recordset, &Recordset::rowAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows({}, row, row); });
    connect(&recordset, &Recordset::rowRemoved, this, [this] {
        forgetFooter();
        endRemoveRows();
    });
    connect(&recordset, &Recordset::rowChanged, this, [this](int row) {
        forgetFooter();
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    resolveFields();
}

void RecordsetModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    resolveFields();
    forgetFooter();
    endResetModel();
}

void RecordsetModel::resolveFields()
{
    m_fieldOfColumn.clear();
    for (const GridColumn &column : m_columns)
        m_fieldOfColumn.push_back(m_recordset.fieldIndex(column.field));
}

int RecordsetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_recordset.count();
}

int RecordsetModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_columns.isEmpty() ? m_recordset.fieldCount() : int(m_columns.size());
}

QVariant RecordsetModel::storedValue(int row, int column) const
{
    if (m_columns.isEmpty())
        return m_recordset.valueAt(row, column);
    return m_recordset.valueAt(row, m_fieldOfColumn[size_t(column)]);
}

QString RecordsetModel::cellText(int row, int column) const
{
    const QVariant value = storedValue(row, column);
    if (m_columns.isEmpty())
        return value.typeId() == QMetaType::QByteArray ? QString() : value.toString();
    return displayText(m_columns.at(column), value);
}

bool RecordsetModel::hasFooter() const
{
    return std::any_of(m_columns.begin(), m_columns.end(),
                       [](const GridColumn &column) { return column.footer != GridColumn::Footer::None; });
}

QString RecordsetModel::footerText(int column) const
{
    if (column < 0 || column >= m_columns.size())
        return {};
    if (m_footer.isEmpty())
        computeFooter();
    return m_footer.at(column);
}

void RecordsetModel::computeFooter() const
{
    m_footer.clear();
    for (int c = 0; c < m_columns.size(); ++c) {
        const GridColumn &column = m_columns.at(c);
        switch (column.footer) {
        case GridColumn::Footer::None:
            m_footer.append(QString());
            break;
        case GridColumn::Footer::Text:
            m_footer.append(column.footerText);
            break;
        case GridColumn::Footer::Sum: {
            double sum = 0;
            for (int row = 0; row < m_recordset.count(); ++row)
                sum += storedValue(row, c).toDouble();
            m_footer.append(QString::number(sum, 'f', column.footerDecimals));
            break;
        }
        }
    }
}

QVariant RecordsetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::EditRole:
        return storedValue(index.row(), index.column());
    case Qt::TextAlignmentRole: {
        if (!m_columns.isEmpty())
            return QVariant::fromValue(m_columns.at(index.column()).alignment);
        const int type = storedValue(index.row(), index.column()).typeId();
        const bool number = type == QMetaType::LongLong || type == QMetaType::Double;
        return QVariant::fromValue((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
        if (!m_colorizer)
            return {};
        const CellColors colors = m_colorizer(index.row(), index.column());
        const QColor &color = role == Qt::ForegroundRole ? colors.text : colors.background;
        return color.isValid() ? QVariant(color) : QVariant();
    }
    default:
        return {};
    }
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return m_columns.isEmpty() ? m_recordset.fieldName(section) : m_columns.value(section).title;
}
