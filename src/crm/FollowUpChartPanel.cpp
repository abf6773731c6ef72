#include "crm/FollowUpChartPanel.h"

#include "data/Database.h"
#include "output/ChartView.h"
#include "platform/Clock.h"

#include <QBarSet>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QStackedBarSeries>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Bars count in yuan; the axis switches to ten thousands once the amounts grow long.
constexpr qreal kTenThousand = 10000;

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

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(m_chartCombo);
    bar->addWidget(m_reachCombo);
    bar->addStretch(1);
    bar->addWidget(m_filterLabel);
    bar->addWidget(m_showAllButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);

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
    if (m_chartCombo->currentIndex() == Months) {
        m_monthColumns = followUpsByMonth(Database::instance(), scope(), platform::clock().now().date())
                             .value_or(QList<FollowUpMonthColumn>{});
        m_view->showChart(buildMonths());
    } else {
        m_view->showChart(buildStepFunnel());
    }
}

QChart *FollowUpChartPanel::buildStepFunnel()
{
    // The first step on top, as a funnel narrows downwards; the category axis counts upwards.
    QStringList categories;
    QList<qreal> amounts;
    QList<qreal> values;
    qint64 largest = 0;
    for (const FollowUpStepBar &bar : m_stepBars)
        largest = std::max(largest, bar.amountFen);
    const qreal unit = largest >= 100 * 100 * kTenThousand ? 100 * kTenThousand : 100;
    for (const FollowUpStepBar &bar : m_stepBars) {
        const QString title = bar.stepId < 0 ? tr("进度已删除") : bar.title.toHtmlEscaped();
        categories.prepend(tr("%1 %2笔<br><small>%3 / %4</small>")
                               .arg(title)
                               .arg(bar.count)
                               .arg(yuanText(bar.amountFen), yuanText(bar.virtualFen)));
        amounts.prepend(bar.amountFen / unit);
        values.prepend(bar.virtualFen / unit);
    }
    auto *series = new QHorizontalBarSeries;
    series->append(coloredBarSet(tr("金额"), chartcolors::blue, amounts));
    series->append(coloredBarSet(tr("虚拟价值"), chartcolors::orange, values));
    series->setBarWidth(0.8);
    const int count = int(m_stepBars.size());
    for (QBarSet *set : series->barSets()) {
        connect(set, &QBarSet::clicked, this, [this, count](int index) {
            const int step = count - 1 - index;
            if (step >= 0 && step < m_stepBars.size())
                emit stepChosen(m_stepBars.at(step).stepId);
        });
    }
    return barChart(tr("跟单进度漏斗"), series, categories, unit > 100 ? tr("万元") : tr("元"), false);
}

QChart *FollowUpChartPanel::buildMonths()
{
    QStringList categories;
    QList<qreal> won;
    QList<qreal> others;
    qint64 largest = 0;
    for (const FollowUpMonthColumn &column : m_monthColumns)
        largest = std::max(largest, column.wonFen + column.otherFen);
    const qreal unit = largest >= 100 * 100 * kTenThousand ? 100 * kTenThousand : 100;
    for (const FollowUpMonthColumn &column : m_monthColumns) {
        // The year where it changes, so twelve months read without it elsewhere.
        const bool withYear = column.month.month() == 1 || categories.isEmpty();
        categories.append(withYear ? tr("%1年<br>%2月").arg(column.month.year() % 100, 2, 10, QLatin1Char('0')).arg(column.month.month())
                                   : tr("%1月").arg(column.month.month()));
        won.append(column.wonFen / unit);
        others.append(column.otherFen / unit);
    }
    auto *series = new QStackedBarSeries;
    series->append(coloredBarSet(tr("已成交"), chartcolors::blue, won));
    series->append(coloredBarSet(tr("其他"), chartcolors::orange, others));
    return barChart(tr("月度跟单金额"), series, categories, unit > 100 ? tr("万元") : tr("元"), false);
}
