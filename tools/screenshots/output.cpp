// The print preview of the client list, with column titles over two lines.
#include "Shots.h"

#include "crm/ClientListPage.h"
#include "output/TfrmPreview.h"
#include "widgets/DataGrid.h"

#include <QCoreApplication>

namespace {

void shootPrintPreview(Shots &shots)
{
    ClientListPage page;
    page.ReadyTree();
    // The list's own columns, with its phones grouped under one title as a printout may show.
    DataGrid grid(page.dsClient());
    QList<GridColumn> columns = page.DBGridEh2->columns();
    for (GridColumn &column : columns) {
        if (column.field == QLatin1String("Tele") || column.field == QLatin1String("MobileCode")
            || column.field == QLatin1String("Fax"))
            column.title = QStringLiteral("联系方式|") + column.title;
    }
    grid.setColumns(columns);
    TfrmPreview preview;
    preview.resize(1000, 700);
    preview.ReadyData1(QStringLiteral("客户资料"), grid);
    preview.show();
    QCoreApplication::processEvents();
    shots.take(preview, QStringLiteral("output-printpreview-clients"));
    preview.hide();
}

const ShotSet output("output", shootPrintPreview);

} // namespace
