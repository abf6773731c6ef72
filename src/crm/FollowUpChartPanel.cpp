#include "crm/FollowUpChartPanel.h"

#include "data/Database.h"
#include "output/ChartView.h"
#include "platform/Clock.h"

#include <QBarSet>
#include <QComboBox>
#include <QCursor>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QStackedBarSeries>
#include <QToolButton>
#include <QToolTip>

namespace {

// What the bars count in: yuan, or ten thousand yuan once amounts reach a million, where
// the axis' numbers would grow long.
struct MoneyUnit {
    qreal fen;
    QString legend; // "%1" and the unit
};

// The unit for bars whose lengths `amount` gives in fen.
template<typename Bars, typename Amount>
MoneyUnit moneyUnit(const Bars &bars, Amount amount)
{
    qint64 largest = 0;
    for (const auto &bar : bars)
        largest = std::max(largest, amount(bar));
    if (largest >= qint64(100) * 1000000)
        return {100.0 * 10000, FollowUpChartPanel::tr("%1（万元）")};
    return {100.0, FollowUpChartPanel::tr("%1（元）")};
}

} // namespace

FollowUpChartPanel::FollowUpChartPanel(QWidget *parent)
    : QWidget(parent)
    , m_chartCombo(new QComboBox)
    , m_reachCombo(new QComboBox)
    , m_filterLabel(new QLabel)
    , m_showAllButton(new QToolButton)
    , m_view(new ChartView)
{
    m_chartCombo->addItems({tr("跟单进度漏斗"), tr("月度跟单金额")});
    m_reachCombo->addItems({tr("选定客户"), tr("本分类全部客户")});
    m_showAllButton->setText(tr("全部进度"));
    m_showAllButton->setToolTip(tr("列出选定客户的全部跟单记录"));
    m_showAllButton->setAutoRaise(true);
    showStepFilter(std::nullopt);
    m_view->setMinimumSize(260, 160);
    m_view->setToolTip(tr("单击进度条只列出该进度的跟单记录"));

    layOutChartPanel(*this, {m_chartCombo, m_reachCombo}, *m_view, {m_filterLabel, m_showAllButton});

    connect(m_chartCombo, &QComboBox::currentIndexChanged, this, &FollowUpChartPanel::refresh);
    connect(m_reachCombo, &QComboBox::currentIndexChanged, this, &FollowUpChartPanel::refresh);
    connect(m_showAllButton, &QToolButton::clicked, this, [this] { emit stepChosen(std::nullopt); });
}

void FollowUpChartPanel::setScope(qint64 clientId, const QString &categoryCode)
{
    m_clientId = clientId;
    m_categoryCode = categoryCode;
    refresh();
}

FollowUpScope FollowUpChartPanel::scope() const
{
    if (m_reachCombo->currentIndex() == WholeCategory)
        return {FollowUpScope::Category, -1, m_categoryCode};
    return {FollowUpScope::Client, m_clientId, QString()};
}

void FollowUpChartPanel::showStepFilter(const std::optional<qint64> &stepId)
{
    QString title;
    for (const FollowUpStepBar &bar : m_stepBars) {
        if (stepId && bar.stepId == *stepId)
            title = bar.stepId < 0 ? tr("进度已删除") : bar.title;
    }
    m_filterLabel->setText(stepId ? tr("仅列出：%1").arg(title) : QString());
    m_filterLabel->setVisible(stepId.has_value());
    m_showAllButton->setVisible(stepId.has_value());
}

void FollowUpChartPanel::refresh()
{
    // A failed read draws empty bars; the list beside it reports the failure.
    m_stepBars = followUpsByStep(Database::instance(), scope()).value_or(QList<FollowUpStepBar>{});
    m_monthColumns.clear();
    if (m_chartCombo->currentIndex() == Months)
        m_monthColumns = followUpsByMonth(Database::instance(), scope(), platform::clock().now().date())
                             .value_or(QList<FollowUpMonthColumn>{});
    redraw();
}

void FollowUpChartPanel::redraw()
{
    m_view->showChart(m_chartCombo->currentIndex() == Months ? buildMonths() : buildStepFunnel(), m_chartCombo->currentText());
}

QChart *FollowUpChartPanel::buildStepFunnel()
{
    // One bar a step, as long as its amount, of which the dark part is the virtual value: the
    // money in sight and what it is worth. The first step on top, as a funnel narrows
    // downwards; the category axis counts upwards.
    QStringList categories;
    QList<qreal> values;
    QList<qreal> rests;
    const MoneyUnit unit = moneyUnit(m_stepBars, [](const FollowUpStepBar &bar) { return bar.amountFen; });
    for (const FollowUpStepBar &bar : m_stepBars) {
        const QString title = bar.stepId < 0 ? tr("进度已删除") : bar.title.toHtmlEscaped();
        categories.prepend(tr("%1 %2笔").arg(title).arg(bar.count));
        values.prepend(bar.virtualFen / unit.fen);
        rests.prepend(std::max<qint64>(0, bar.amountFen - bar.virtualFen) / unit.fen);
    }
    auto *series = new QHorizontalStackedBarSeries;
    series->append(coloredBarSet(unit.legend.arg(tr("虚拟价值")), chartcolors::blue, values));
    series->append(coloredBarSet(unit.legend.arg(tr("金额其余部分")), chartcolors::orange, rests));
    series->setBarWidth(0.7);
    const int count = int(m_stepBars.size());
    for (QBarSet *set : series->barSets()) {
        connect(set, &QBarSet::clicked, this, [this, count](int index) {
            const int step = count - 1 - index;
            if (step >= 0 && step < m_stepBars.size())
                emit stepChosen(m_stepBars.at(step).stepId);
        });
        connect(set, &QBarSet::hovered, this, [this, count](bool entered, int index) {
            const int step = count - 1 - index;
            if (!entered || step < 0 || step >= m_stepBars.size()) {
                QToolTip::hideText();
                return;
            }
            const FollowUpStepBar &bar = m_stepBars.at(step);
            QToolTip::showText(QCursor::pos(), tr("%1：%2笔\n金额 %3 元\n虚拟价值 %4 元")
                                                   .arg(bar.stepId < 0 ? tr("进度已删除") : bar.title)
                                                   .arg(bar.count)
                                                   .arg(yuanText(bar.amountFen), yuanText(bar.virtualFen)));
        });
    }
    return barChart(series, categories, false);
}

QChart *FollowUpChartPanel::buildMonths()
{
    QStringList categories;
    QList<qreal> won;
    QList<qreal> others;
    const MoneyUnit unit = moneyUnit(m_monthColumns, [](const FollowUpMonthColumn &column) { return column.wonFen + column.otherFen; });
    for (const FollowUpMonthColumn &column : m_monthColumns) {
        // Bare numbers: "10月" no longer fits a narrow column; the axis says they are months.
        categories.append(QString::number(column.month.month()));
        won.append(column.wonFen / unit.fen);
        others.append(column.otherFen / unit.fen);
    }
    auto *series = new QStackedBarSeries;
    series->append(coloredBarSet(unit.legend.arg(tr("已成交")), chartcolors::blue, won));
    series->append(coloredBarSet(unit.legend.arg(tr("其他")), chartcolors::orange, others));
    // The years stand under the months, once for the twelve.
    const QDate first = m_monthColumns.value(0).month;
    const QDate last = m_monthColumns.value(m_monthColumns.size() - 1).month;
    return barChart(series, categories, false, tr("月份（%1年%2月至%3年%4月）").arg(first.year()).arg(first.month()).arg(last.year()).arg(last.month()));
}
