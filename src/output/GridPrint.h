#pragma once

#include "widgets/GridColumn.h"

#include <QList>
#include <QPageLayout>
#include <QStringList>

class QPainter;
class QPrinter;
class Recordset;

// What a printed list shows: every column of its grid (hidden ones with width 0), the title
// lines of each column, and the shown text of every cell.
struct GridPrintData {
    struct Column {
        int width = 0;          // the grid's pixels
        Qt::Alignment alignment;
        QStringList titleLines; // as many as the data's titleLineCount
    };
    QString title;
    QList<Column> columns;
    int titleLineCount = 1;
    QList<QStringList> rows;    // one text per column
};

// The number of title lines a column caption asks for: one more than its "|" separators.
int captionLineCount(const QString &caption);
// A caption's title lines: the parts between "|", the last part repeated to fill `count`.
QStringList captionLines(const QString &caption, int count);
GridPrintData gridPrintData(const QString &title, const QList<GridColumn> &columns, const Recordset &rows);

// Pages of a printed list: the title and the column titles on every page, the page number
// at the foot. Columns shrink to the page width only down to a readable size; those that
// still do not fit continue on further pages with the first column repeated, the way
// spreadsheet programs print, all rows of one set of columns before the next. Long cells wrap.
class GridPrintLayout
{
public:
    // Wider lists print across a landscape page.
    static QPageLayout::Orientation orientationFor(const GridPrintData &data);

    // Fits the data to the printer's page as it is set up now.
    GridPrintLayout(const GridPrintData &data, const QPrinter &printer);
    int pageCount() const { return m_pageCount; }
    // The size the cells' text prints at, in points.
    qreal cellPointSize() const;
    // Paints one page (from 0) with the painter at the page's top-left corner.
    void paintPage(QPainter &painter, int page) const;

private:
    // The columns printed side by side on one page, with their left edges.
    struct Band {
        QList<int> columns;
        QList<qreal> lefts;
    };
    void paintTitles(QPainter &painter, const Band &band, qreal top) const;
    void paintRows(QPainter &painter, const Band &band, qreal top, int first, int last) const;

    const GridPrintData &m_data;
    qreal m_scale = 1;          // device pixels per grid pixel
    qreal m_resolution = 96;    // of the printer, dots per inch
    qreal m_pageWidth = 0;      // in grid pixels
    qreal m_pageHeight = 0;
    QList<Band> m_bands;
    QList<qreal> m_rowHeights;  // each row's, its longest cell wrapped
    QList<int> m_pageStarts;    // the first row of each page of one band, and the end
    int m_pageCount = 1;
};
