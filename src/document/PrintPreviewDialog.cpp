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
    , cmb(new QComboBox)
    , Button1(new QPushButton(tr("第一页")))
    , Button2(new QPushButton(tr("前一页")))
    , Button3(new QPushButton(tr("下一页")))
    , Button4(new QPushButton(tr("末页")))
    , Label1(new QLabel)
    , Button5(new QPushButton(tr("打印")))
    , Button6(new QPushButton(tr("关闭")))
    , preview(new QPrintPreviewWidget(&m_printer))
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    cmb->setEditable(true);
    // The list offers fixed steps; a typed value is applied, not added to it.
    cmb->setInsertPolicy(QComboBox::NoInsert);
    cmb->addItems({QStringLiteral("200%"), QStringLiteral("150%"), QStringLiteral("100%"),
                   QStringLiteral("75%"), QStringLiteral("50%"), QStringLiteral("25%"),
                   QStringLiteral("10%"), tr("自适应页宽"), tr("整页显示")});
    cmb->setCurrentIndex(-1);
    cmb->setMinimumContentsLength(8);

    // Enter in the zoom field must not press a button.
    for (QPushButton *button : {Button1, Button2, Button3, Button4, Button5, Button6})
        button->setAutoDefault(false);
    Label1->setMinimumWidth(80);
    Label1->setAlignment(Qt::AlignCenter);

    auto *bar = new QHBoxLayout;
    bar->addWidget(cmb);
    for (QPushButton *button : {Button1, Button2, Button3, Button4})
        bar->addWidget(button);
    bar->addWidget(Label1);
    bar->addStretch();
    bar->addWidget(Button5);
    bar->addWidget(Button6);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(preview, 1);
    resize(806, 596);

    preview->fitToWidth();
    showPagePosition();

    connect(preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) { paintPages(printer); });
    connect(preview, &QPrintPreviewWidget::previewChanged, this, &PrintPreviewDialog::showPagePosition);
    connect(cmb, &QComboBox::activated, this, &PrintPreviewDialog::applyZoom);
    connect(cmb->lineEdit(), &QLineEdit::returnPressed, this, &PrintPreviewDialog::applyZoom);
    connect(Button1, &QPushButton::clicked, this, [this] { goToPage(1); });
    connect(Button2, &QPushButton::clicked, this, [this] { goToPage(currentPage() - 1); });
    connect(Button3, &QPushButton::clicked, this, [this] { goToPage(currentPage() + 1); });
    connect(Button4, &QPushButton::clicked, this, [this] { goToPage(pageCount()); });
    connect(Button5, &QPushButton::clicked, this, &PrintPreviewDialog::print);
    connect(Button6, &QPushButton::clicked, this, &QDialog::reject);
}

PrintPreviewDialog::~PrintPreviewDialog()
{
    // Hiding the window takes the focus from the zoom field, which then re-applies its text;
    // by then the print job is gone, and so is the subclass that paints the pages.
    cmb->disconnect(this);
    cmb->lineEdit()->disconnect(this);
    preview->disconnect(this);
}

void PrintPreviewDialog::showFirstPage()
{
    layOutPages();
    preview->updatePreview();
    goToPage(1);
}

int PrintPreviewDialog::pageCount() const
{
    return preview->pageCount();
}

int PrintPreviewDialog::currentPage() const
{
    return pageCount() > 0 ? preview->currentPage() : 0;
}

void PrintPreviewDialog::applyZoom()
{
    const QString text = cmb->currentText().trimmed();
    if (text == tr("自适应页宽")) {
        preview->fitToWidth();
        return;
    }
    if (text == tr("整页显示")) {
        preview->fitInView();
        return;
    }
    const QString number = text.endsWith(QLatin1Char('%')) ? text.chopped(1) : text;
    const int percent = number.toInt(); // 0 when it is no number
    if (percent < kMinZoomPercent || percent > kMaxZoomPercent) {
        platform::prompter().message(tr("请输入数值 10 到 500"), platform::Prompter::Icon::Error, tr("比例"));
        return;
    }
    preview->setZoomFactor(percent / 100.0);
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
    preview->setCurrentPage(page);
    showPagePosition();
}

void PrintPreviewDialog::showPagePosition()
{
    Label1->setText(QString::asprintf("%d / %d", currentPage(), pageCount()));
}
