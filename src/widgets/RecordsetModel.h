#pragma once

#include "widgets/GridColumn.h"

#include <QAbstractTableModel>
#include <QColor>
#include <functional>
#include <vector>

class Recordset;

// The one table model of the lists: shows the rows a Recordset holds through column
// definitions (all fields as they are when none are set), without querying per cell.
class RecordsetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct CellColors {
        QColor text;        // invalid: the default
        QColor background;
    };
    using Colorizer = std::function<CellColors(int row, int column)>;

    explicit RecordsetModel(Recordset &recordset, QObject *parent = nullptr);

    Recordset &recordset() const { return m_recordset; }
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }
    void setColorizer(Colorizer colorizer) { m_colorizer = std::move(colorizer); }

    // The shown text of a cell, as exports and printouts take it.
    QString cellText(int row, int column) const;
    // The footer row: whether any column has a footer, and the text under a column (empty
    // where it has none). Sums are taken from the loaded rows once after each change of them.
    bool hasFooter() const;
    QString footerText(int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void resolveFields();
    QVariant storedValue(int row, int column) const;
    void forgetFooter() { m_footer.clear(); }
    void computeFooter() const;

    Recordset &m_recordset;
    QList<GridColumn> m_columns;
    std::vector<int> m_fieldOfColumn; // Recordset field index of each column, -1 when absent
    Colorizer m_colorizer;
    mutable QStringList m_footer;     // one text per column; empty until asked for after a change
};
