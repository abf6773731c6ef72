#include "document/PrintPreviewDialog.h"

#include "platform/Prompter.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kMinZoomPercent = 10;
constexpr int kMaxZoomPercent = 500;

std::optional<QString> askPdfFileName()
{
    platform::Prompter::FileRequest request;
    request.title = PrintPreviewDialog::tr("打印");
    request.filter = QStringLiteral("PDF (*.pdf)");
    request.defaultSuffix = QStringLiteral("pdf");
    return platform::prompter().saveFileName(request);
}

} // namespace

PrintPreviewDialog::PrintPreviewDialog(QWidget *parent)
    : QDialog(parent)
    , m_zoomCombo(new QComboBox)
    , m_firstPageButton(new QPushButton(tr("第一页")))
    , m_previousPageButton(new QPushButton(tr("前一页")))
    , m_nextPageButton(new QPushButton(tr("下一页")))
    , m_lastPageButton(new QPushButton(tr("末页")))
    , m_pageLabel(new QLabel)
    , m_printButton(new QPushButton(tr("打印")))
    , m_closeButton(new QPushButton(tr("关闭")))
    , m_preview(new QPrintPreviewWidget(&m_printer))
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_zoomCombo->setEditable(true);
    // The list offers fixed steps; a typed value is applied, not added to it.
    m_zoomCombo->setInsertPolicy(QComboBox::NoInsert);
    m_zoomCombo->addItems({QStringLiteral("200%"), QStringLiteral("150%"), QStringLiteral("100%"),
                   QStringLiteral("75%"), QStringLiteral("50%"), QStringLiteral("25%"),
                   QStringLiteral("10%"), tr("自适应页宽"), tr("整页显示")});
    // The preview opens fitted to the page width, and the box says so.
    m_zoomCombo->setCurrentIndex(m_zoomCombo->findText(tr("自适应页宽")));
    m_zoomCombo->setMinimumContentsLength(12); // room for "自适应页宽" and its cursor

    // Enter in the zoom field must not press a button.
    for (QPushButton *button : {m_firstPageButton, m_previousPageButton, m_nextPageButton, m_lastPageButton, m_printButton, m_closeButton})
        button->setAutoDefault(false);
    m_pageLabel->setMinimumWidth(80);
    m_pageLabel->setAlignment(Qt::AlignCenter);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_zoomCombo);
    for (QPushButton *button : {m_firstPageButton, m_previousPageButton, m_nextPageButton, m_lastPageButton})
        bar->addWidget(button);
    bar->addWidget(m_pageLabel);
    bar->addStretch();
    bar->addWidget(m_printButton);
    bar->addWidget(m_closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_preview, 1);
    resize(806, 596);

    m_preview->fitToWidth();
    showPagePosition();

    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) { paintPages(printer); });
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, &PrintPreviewDialog::showPagePosition);
    connect(m_zoomCombo, &QComboBox::activated, this, &PrintPreviewDialog::applyZoom);
    connect(m_zoomCombo->lineEdit(), &QLineEdit::returnPressed, this, &PrintPreviewDialog::applyZoom);
    connect(m_firstPageButton, &QPushButton::clicked, this, [this] { goToPage(1); });
    connect(m_previousPageButton, &QPushButton::clicked, this, [this] { goToPage(currentPage() - 1); });
    connect(m_nextPageButton, &QPushButton::clicked, this, [this] { goToPage(currentPage() + 1); });
    connect(m_lastPageButton, &QPushButton::clicked, this, [this] { goToPage(pageCount()); });
    connect(m_printButton, &QPushButton::clicked, this, &PrintPreviewDialog::print);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

PrintPreviewDialog::~PrintPreviewDialog()
{
    // Hiding the window takes the focus from the zoom field, which then re-applies its text;
    // by then the print job is gone, and so is the subclass that paints the pages.
    m_zoomCombo->disconnect(this);
    m_zoomCombo->lineEdit()->disconnect(this);
    m_preview->disconnect(this);
}

void PrintPreviewDialog::showFirstPage()
{
    layOutPages();
    m_preview->updatePreview();
    goToPage(1);
}

int PrintPreviewDialog::pageCount() const
{
    return m_preview->pageCount();
}

int PrintPreviewDialog::currentPage() const
{
    return pageCount() > 0 ? m_preview->currentPage() : 0;
}

void PrintPreviewDialog::applyZoom()
{
    const QString text = m_zoomCombo->currentText().trimmed();
    if (text == tr("自适应页宽")) {
        m_preview->fitToWidth();
        return;
    }
    if (text == tr("整页显示")) {
        m_preview->fitInView();
        return;
    }
    const QString number = text.endsWith(QLatin1Char('%')) ? text.chopped(1) : text;
    const int percent = number.toInt(); // 0 when it is no number
    if (percent < kMinZoomPercent || percent > kMaxZoomPercent) {
        platform::prompter().message(tr("请输入数值 10 到 500"), platform::Prompter::Icon::Error, tr("比例"));
        return;
    }
    m_preview->setZoomFactor(percent / 100.0);
}

void PrintPreviewDialog::print()
{
    // Without a printer the job would vanish silently: print into a PDF file instead.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        const std::optional<QString> pdf = askPdfFileName();
        if (!pdf)
            return;
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(*pdf);
    }
    m_printer.setCopyCount(1);
    m_printer.setCollateCopies(false);
    m_printer.setDocName(QString());
    layOutPages();
    paintPages(&m_printer);
    if (m_printer.printerState() == QPrinter::Error)
        platform::prompter().message(tr("打印发生错误！"), platform::Prompter::Icon::Error);
}

void PrintPreviewDialog::goToPage(int page)
{
    m_preview->setCurrentPage(page);
    showPagePosition();
}

void PrintPreviewDialog::showPagePosition()
{
    m_pageLabel->setText(QString::asprintf("%d / %d", currentPage(), pageCount()));
}
