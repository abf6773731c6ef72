// The print preview of the client list, with column titles over two lines; and the first
// rows of an exported workbook as a spreadsheet program reads them (through openpyxl).
#include "Shots.h"

#include "crm/ClientListPage.h"
#include "output/GridWorkbook.h"
#include "output/ListPreviewDialog.h"
#include "widgets/DataGrid.h"
#include "work/WorkListPage.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

void shootPrintPreview(Shots &shots)
{
    ClientListPage page;
    page.loadTree();
    // The list's own columns, with its phones grouped under one title as a printout may show.
    DataGrid grid(page.clients());
    QList<GridColumn> columns = page.m_clientGrid->columns();
    for (GridColumn &column : columns) {
        if (column.field == QLatin1String("Tele") || column.field == QLatin1String("MobileCode")
            || column.field == QLatin1String("Fax"))
            column.title = QStringLiteral("联系方式|") + column.title;
    }
    grid.setColumns(columns);
    ListPreviewDialog preview;
    preview.resize(1000, 700);
    preview.loadList(QStringLiteral("客户资料"), grid);
    preview.show();
    QCoreApplication::processEvents();
    shots.take(preview, QStringLiteral("output-printpreview-clients"));
    preview.hide();
}

void shootWorkbook(Shots &shots)
{
    WorkListPage page;
    page.loadList();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("work.xlsx"));
    if (!writeGridWorkbook(path, QStringLiteral("事务档案"), page.m_workGrid->columns(), page.m_workGrid->recordset()))
        return;
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, openpyxl\n"
                                 "for row in openpyxl.load_workbook(sys.argv[1]).active.iter_rows(max_row=12, values_only=True):\n"
                                 "    print('\\t'.join('' if v is None else str(v) for v in row))\n"),
                  path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return;
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QTableWidget sheet(int(lines.size()), 0);
    for (int row = 0; row < lines.size(); ++row) {
        const QStringList cells = lines.at(row).split('\t');
        sheet.setColumnCount(qMax(sheet.columnCount(), int(cells.size())));
        for (int column = 0; column < cells.size(); ++column)
            sheet.setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    sheet.resizeColumnsToContents();
    sheet.resize(1000, 380);
    sheet.show();
    QCoreApplication::processEvents();
    shots.take(sheet, QStringLiteral("output-workbook-first-rows"));
}

void shootOutput(Shots &shots)
{
    shootPrintPreview(shots);
    shootWorkbook(shots);
}

const ShotSet output("output", shootOutput);

} // namespace
