#include "document/DocumentPreviewDialog.h"

#include "platform/ModalDialog.h"
#include "document/DocumentStore.h"
#include "document/rtf/Rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qreal kPageMarginMm = 20;

bool loadRtfFile(const QString &fileName, QTextDocument &document)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return readRtf(file.readAll(), document);
}

} // namespace

DocumentPreviewDialog::DocumentPreviewDialog(QWidget *parent)
    : PrintPreviewDialog(parent)
{
    setWindowTitle(tr("打印预览"));
}

bool DocumentPreviewDialog::loadFile(const QString &fileName)
{
    if (!QFileInfo(fileName).isFile())
        return false;
    // A file that cannot be read previews as an empty document.
    if (fileName.toUpper().contains(QLatin1String(".RVF")))
        loadDocumentFile(fileName, m_document);
    else
        loadRtfFile(fileName, m_document);
    showFirstPage();
    return true;
}

void DocumentPreviewDialog::layOutPages()
{
    m_printer.setPageMargins(QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                             QPageLayout::Millimeter);
    // Laid out in the printer's own units and page size, the document prints without Qt's
    // default margins and page numbers, and the preview shows exactly the printed pages.
    m_document.documentLayout()->setPaintDevice(&m_printer);
    m_document.setPageSize(m_printer.pageRect(QPrinter::DevicePixel).size());
}

void DocumentPreviewDialog::paintPages(QPrinter *printer)
{
    // Qt would lay out an empty document as one blank page; it has none to show.
    if (!m_document.isEmpty())
        m_document.print(printer);
}

void previewDocument(const QString &fileName)
{
    DocumentPreviewDialog window;
    if (window.loadFile(fileName))
        platform::execModal(window);
}
