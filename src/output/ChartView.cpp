#include "output/ChartView.h"

#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"

#include <QAbstractAxis>
#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QValueAxis>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLegend>
#include <QVBoxLayout>
#include <QMenu>
#include <QPainter>
#include <array>
#include <cmath>

namespace {

// The strips above and beneath the chart in its picture, for the title and the date line,
// in the view's pixels.
constexpr int kTitleStrip = 30;
constexpr int kDateStrip = 22;
constexpr qreal kPageMarginMm = 15;

QFont chartFont(qreal pointGrowth = 0, bool bold = false)
{
    QFont font = QApplication::font();
    if (pointGrowth != 0)
        font.setPointSizeF(font.pointSizeF() + pointGrowth);
    font.setBold(bold);
    return font;
}

// The top of a value axis that four round steps reach: 4 for anything up to 4, 1000 for
// 870. Amounts step by 1, 2, 2.5 or 5 times a power of ten; counts by whole 1, 2, 3 or 5.
qreal roundAxisTop(qreal highest, bool whole)
{
    const qreal wanted = std::max(highest, whole ? 4.0 : 1.0) / 4;
    const qreal power = std::pow(10.0, std::floor(std::log10(wanted)));
    static const std::array<qreal, 5> countSteps{1, 2, 3, 5, 10};
    static const std::array<qreal, 5> amountSteps{1, 2, 2.5, 5, 10};
    for (qreal factor : whole ? countSteps : amountSteps) {
        const qreal step = factor * power;
        if (step >= wanted - 1e-9 && (!whole || step == std::floor(step)))
            return 4 * step;
    }
    return 40 * power;
}

void styleChart(QChart &chart)
{
    chart.setAnimationOptions(QChart::NoAnimation);
    chart.setBackgroundBrush(Qt::white);
    chart.setBackgroundRoundness(0);
    chart.setMargins(QMargins(2, 2, 2, 2));
    chart.legend()->setContentsMargins(0, 0, 0, 0);
    chart.legend()->setFont(chartFont(-1));
    chart.legend()->setAlignment(Qt::AlignTop);
    for (QAbstractAxis *axis : chart.axes()) {
        // Small enough that a step's name fits its band when the chart has little height:
        // Qt Charts elides a label taller than its band to "...".
        axis->setLabelsFont(chartFont(-2));
        axis->setLabelsBrush(Qt::black);
        axis->setTitleFont(chartFont(-1));
    }
}

} // namespace

QBarSet *coloredBarSet(const QString &name, const QColor &color, const QList<qreal> &values)
{
    auto *set = new QBarSet(name);
    set->append(values);
    set->setColor(color);
    set->setBorderColor(chartcolors::outline);
    return set;
}

QChart *barChart(QAbstractBarSeries *series, const QStringList &categories, bool whole, const QString &categoryTitle)
{
    auto *chart = new QChart;
    chart->addSeries(series);
    const bool horizontal = series->type() == QAbstractSeries::SeriesTypeHorizontalBar
        || series->type() == QAbstractSeries::SeriesTypeHorizontalStackedBar;
    auto *categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    categoryAxis->setTitleText(categoryTitle);
    chart->addAxis(categoryAxis, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    series->attachAxis(categoryAxis);

    qreal highest = 0;
    const bool stacked = series->type() == QAbstractSeries::SeriesTypeStackedBar
        || series->type() == QAbstractSeries::SeriesTypeHorizontalStackedBar;
    for (int at = 0; at < categories.size(); ++at) {
        qreal sum = 0;
        for (const QBarSet *set : series->barSets())
            sum = stacked ? sum + set->at(at) : std::max(sum, set->at(at));
        highest = std::max(highest, sum);
    }
    auto *valueAxis = new QValueAxis;
    valueAxis->setRange(0, roundAxisTop(highest, whole));
    valueAxis->setTickCount(5);
    valueAxis->setLabelFormat(whole || highest >= 4 ? QStringLiteral("%.0f") : QStringLiteral("%.2f"));
    chart->addAxis(valueAxis, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(valueAxis);
    styleChart(*chart);
    return chart;
}

void layOutChartPanel(QWidget &panel, const QList<QWidget *> &controls, ChartView &view, const QList<QWidget *> &trailing)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget *control : controls)
        row->addWidget(control);
    row->addStretch(1);
    for (QWidget *control : trailing)
        row->addWidget(control);
    auto *layout = new QVBoxLayout(&panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(row);
    layout->addWidget(&view, 1);
}

ChartView::ChartView(QWidget *parent)
    : QChartView(parent)
    , m_menu(new QMenu(this))
{
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    m_menu->addAction(tr("复制图片"), this, &ChartView::copyPicture);
    m_menu->addAction(tr("保存为PNG图片…"), this, &ChartView::savePicture);
    m_menu->addAction(tr("打印…"), this, &ChartView::printPicture);
}

void ChartView::showChart(QChart *newChart, const QString &title)
{
    m_title = title;
    // The view lets go of its old chart without deleting it.
    QChart *old = chart();
    setChart(newChart);
    delete old;
}

void ChartView::contextMenuEvent(QContextMenuEvent *event)
{
    m_menu->popup(event->globalPos());
    event->accept();
}

QString ChartView::dateLine()
{
    return tr("制表日期：%1").arg(platform::clock().now().date().toString(QStringLiteral("yyyy-MM-dd")));
}

QSizeF ChartView::pictureSize() const
{
    return QSizeF(viewport()->width(), kTitleStrip + viewport()->height() + kDateStrip);
}

void ChartView::paintPicture(QPainter &painter, const QRectF &target) const
{
    const QSizeF size = pictureSize();
    const qreal scale = std::min(target.width() / size.width(), target.height() / size.height());
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    painter.fillRect(QRectF(QPointF(), size), Qt::white);
    painter.setPen(Qt::black);
    painter.setFont(chartFont(1, true));
    painter.drawText(QRectF(0, 0, size.width(), kTitleStrip), Qt::AlignCenter, m_title);
    // Through the view, so the picture is the chart as laid out on screen.
    const_cast<ChartView *>(this)->render(&painter, QRectF(0, kTitleStrip, size.width(), viewport()->height()),
                                          viewport()->rect());
    painter.setFont(chartFont(-1));
    painter.drawText(QRectF(0, size.height() - kDateStrip, size.width() - 8, kDateStrip), Qt::AlignRight | Qt::AlignVCenter,
                     dateLine());
    painter.restore();
}

QImage ChartView::picture() const
{
    const QSize size = pictureSize().toSize();
    QImage image(size * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintPicture(painter, QRectF(QPointF(), QSizeF(size)));
    return image;
}

void ChartView::copyPicture()
{
    QApplication::clipboard()->setImage(picture());
}

void ChartView::savePicture()
{
    platform::Prompter::FileRequest request;
    request.title = tr("保存为PNG图片");
    request.fileName = m_title + QStringLiteral(".png");
    request.filter = tr("PNG图片 (*.png)");
    request.defaultSuffix = QStringLiteral("png");
    const std::optional<QString> path = platform::prompter().saveFileName(request);
    if (!path)
        return;
    if (!picture().save(*path, "PNG"))
        platform::prompter().message(tr("图片保存失败，请检查文件夹是否可写！"), platform::Prompter::Icon::Error);
}

void ChartView::printPicture()
{
    ChartPreviewDialog window(*this);
    platform::execModal(window);
}

ChartPreviewDialog::ChartPreviewDialog(const ChartView &view, QWidget *parent)
    : PrintPreviewDialog(parent)
    , m_view(view)
{
    setWindowTitle(tr("打印预览窗口"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setSizeGripEnabled(true);
    showFirstPage();
}

void ChartPreviewDialog::layOutPages()
{
    m_printer.setPageOrientation(QPageLayout::Landscape);
    m_printer.setPageMargins(QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm), QPageLayout::Millimeter);
    m_printer.setDocName(m_view.title());
}

void ChartPreviewDialog::paintPages(QPrinter *printer)
{
    QPainter painter(printer);
    painter.setRenderHint(QPainter::Antialiasing);
    // The painter starts at the top-left corner of the printable area.
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    m_view.paintPicture(painter, QRectF(0, 0, page.width(), page.height()));
}
