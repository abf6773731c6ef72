#include "output/TfrmPreview.h"

#include "platform/ModalDialog.h"
#include "widgets/DataGrid.h"

#include <QPainter>

namespace {

constexpr qreal kPageMarginMm = 15;

} // namespace

TfrmPreview::TfrmPreview(QWidget *parent)
    : PrintPreviewDialog(parent)
{
    setWindowTitle(tr("打印预览窗口"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setSizeGripEnabled(true);
}

void TfrmPreview::ReadyData1(const QString &title, const DataGrid &grid)
{
    m_data = gridPrintData(title, grid.shownColumns(), grid.recordset());
    showFirstPage();
}

void TfrmPreview::layOutPages()
{
    m_printer.setPageOrientation(GridPrintLayout::orientationFor(m_data));
    m_printer.setPageMargins(QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                             QPageLayout::Millimeter);
    m_printer.setDocName(m_data.title);
}

void TfrmPreview::paintPages(QPrinter *printer)
{
    const GridPrintLayout layout(m_data, *printer);
    QPainter painter(printer);
    for (int page = 0; page < layout.pageCount(); ++page) {
        if (page > 0)
            printer->newPage();
        layout.paintPage(painter, page);
    }
}

void ShowPrintPreview(const QString &title, const DataGrid &grid)
{
    TfrmPreview window;
    window.ReadyData1(title, grid);
    platform::execModal(window);
}
