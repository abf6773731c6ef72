#include "work/WorkChartPanel.h"

#include "data/Database.h"
#include "output/ChartView.h"
#include "platform/Clock.h"

#include <QBarSeries>
#include <QBarSet>
#include <QComboBox>
#include <QStackedBarSeries>

namespace {

// Beyond this many types the bars grow too thin to read; the rest share one bar.
constexpr int kShownTypes = 8;

} // namespace

WorkChartPanel::WorkChartPanel(QWidget *parent)
    : QWidget(parent)
    , m_chartCombo(new QComboBox)
    , m_view(new ChartView)
{
    m_chartCombo->addItems({tr("各类事务的处理状态"), tr("每周完成的事务")});
    m_view->setMinimumSize(240, 160);
    layOutChartPanel(*this, {m_chartCombo}, *m_view);
    connect(m_chartCombo, &QComboBox::currentIndexChanged, this, &WorkChartPanel::refresh);
}

void WorkChartPanel::setFilter(const WorkFilter &filter)
{
    m_filter = filter;
    refresh();
}

void WorkChartPanel::refresh()
{
    m_weeks.clear();
    m_types.clear();
    if (m_chartCombo->currentIndex() == FinishedWeeks)
        m_weeks = finishedPerWeek(Database::instance(), m_filter, platform::clock().now().date())
                      .value_or(QList<WorkWeekColumn>{});
    else
        m_types = workItemsByType(Database::instance(), m_filter).value_or(QList<WorkTypeStates>{});
    redraw();
}

void WorkChartPanel::redraw()
{
    m_view->showChart(m_chartCombo->currentIndex() == FinishedWeeks ? buildFinishedWeeks() : buildTypesAndStates(),
                      m_chartCombo->currentText());
}

QChart *WorkChartPanel::buildTypesAndStates()
{
    QList<WorkTypeStates> shown = m_types.mid(0, kShownTypes);
    if (m_types.size() > kShownTypes) {
        WorkTypeStates rest{tr("其他类型")};
        for (const WorkTypeStates &type : m_types.mid(kShownTypes)) {
            for (size_t state = 0; state < 4; ++state)
                rest.counts[state] += type.counts[state];
        }
        shown.append(rest);
    }
    // The most items first.
    QStringList categories;
    std::array<QList<qreal>, 4> counts;
    std::array<int, 4> totals{};
    for (const WorkTypeStates &type : shown) {
        categories.append(type.type.isEmpty() ? tr("（无类型）") : type.type.toHtmlEscaped());
        for (size_t state = 0; state < 4; ++state) {
            counts[state].append(type.counts[state]);
            totals[state] += type.counts[state];
        }
    }
    const QStringList names{tr("未处理"), tr("正在处理"), tr("已完成"), tr("废弃")};
    const QColor colors[] = {chartcolors::orange, chartcolors::green, chartcolors::blue, chartcolors::lightGrey};
    auto *series = new QStackedBarSeries;
    for (size_t state = 0; state < 4; ++state)
        series->append(coloredBarSet(tr("%1 %2").arg(names.at(int(state))).arg(totals[state]), colors[state], counts[state]));
    series->setBarWidth(0.6);
    return barChart(series, categories, true);
}

QChart *WorkChartPanel::buildFinishedWeeks()
{
    QStringList categories;
    QList<qreal> counts;
    for (const WorkWeekColumn &week : m_weeks) {
        categories.append(QStringLiteral("%1/%2").arg(week.monday.month()).arg(week.monday.day()));
        counts.append(week.count);
    }
    auto *series = new QBarSeries;
    series->append(coloredBarSet(tr("已完成"), chartcolors::blue, counts));
    series->setBarWidth(0.7);
    return barChart(series, categories, true, tr("各周（以周一的日期标注）"));
}
