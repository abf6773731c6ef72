#include "output/ListPreviewDialog.h"

#include "platform/ModalDialog.h"
#include "widgets/DataGrid.h"

#include <QPainter>

namespace {

constexpr qreal kPageMarginMm = 15;

} // namespace

ListPreviewDialog::ListPreviewDialog(QWidget *parent)
    : PrintPreviewDialog(parent)
{
    setWindowTitle(tr("打印预览窗口"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setSizeGripEnabled(true);
}

void ListPreviewDialog::loadList(const QString &title, const DataGrid &grid)
{
    m_data = gridPrintData(title, grid.shownColumns(), grid.recordset());
    showFirstPage();
}

void ListPreviewDialog::layOutPages()
{
    m_printer.setPageOrientation(GridPrintLayout::orientationFor(m_data));
    m_printer.setPageMargins(QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                             QPageLayout::Millimeter);
    m_printer.setDocName(m_data.title);
}

void ListPreviewDialog::paintPages(QPrinter *printer)
{
    const GridPrintLayout layout(m_data, *printer);
    QPainter painter(printer);
    for (int page = 0; page < layout.pageCount(); ++page) {
        if (page > 0)
            printer->newPage();
        layout.paintPage(painter, page);
    }
}

void previewList(const QString &title, const DataGrid &grid)
{
    ListPreviewDialog window;
    window.loadList(title, grid);
    platform::execModal(window);
}
