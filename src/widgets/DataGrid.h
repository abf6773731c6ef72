#pragma once

#include "widgets/RecordsetModel.h"

#include <QWidget>

class QTableView;
class Recordset;

// The list of every page: a read-only, whole-row grid over a Recordset, its current row kept
// in step with the Recordset's. A click on a column title sorts the loaded rows ascending by
// that column and marks the title until the next reload.
class DataGrid : public QWidget
{
    Q_OBJECT
public:
    explicit DataGrid(Recordset &recordset, QWidget *parent = nullptr);

    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_model.columns(); }
    // The columns with each visible one as wide as it is on screen: widened to its title and
    // dates, and as the user has dragged it. Printouts and exports take these.
    QList<GridColumn> shownColumns() const;
    void setColorizer(RecordsetModel::Colorizer colorizer);
    Recordset &recordset() const { return m_model.recordset(); }
    RecordsetModel &model() { return m_model; }
    QTableView *view() const { return m_view; }

    // The shown text of a cell, as exports and printouts take it.
    QString cellText(int row, int column) const { return m_model.cellText(row, column); }
    // The text under a column in the footer row; empty where the column has none, and for
    // every column of a list without a footer row.
    QString footerText(int column) const { return m_model.footerText(column); }
    bool hasFooter() const { return m_model.hasFooter(); }
    // The column whose title carries the sort marker; -1 when the rows are in query order.
    int sortColumn() const { return m_sortColumn; }
    void sortByColumn(int column);

signals:
    // A double-click or Enter on a row.
    void rowActivated(int row);
    void titleClicked(int column);
    void contextMenuRequested(const QPoint &globalPos);
    // A mouse press on the rows, before anything else happens.
    void pressed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followRecordset(int row);
    void applyColumnLayout();
    void fitNumberColumns();
    int layoutWidth(int column) const;
    int cellMargins() const;

    RecordsetModel m_model;
    QTableView *m_view;
    QWidget *m_footer = nullptr;
    int m_sortColumn = -1;
    bool m_sorting = false;
};
