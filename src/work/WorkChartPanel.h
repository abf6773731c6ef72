#pragma once

#include "work/WorkChartData.h"

#include <QWidget>

class ChartView;
class QChart;
class QComboBox;

// The charts beside the work list: the items of each work type by state, or the items
// finished in each of the last twelve weeks. They follow the list's type and priority filters.
class WorkChartPanel : public QWidget
{
    Q_OBJECT
public:
    enum Chart { TypesAndStates, FinishedWeeks };

    explicit WorkChartPanel(QWidget *parent = nullptr);

    // Draws the chart again for the list's filters.
    void setFilter(const WorkFilter &filter);
    void refresh();
    // Draws the chart shown again from the numbers last read.
    void redraw();

    const QList<WorkTypeStates> &types() const { return m_types; }
    const QList<WorkWeekColumn> &weeks() const { return m_weeks; }

    QComboBox *m_chartCombo;
    ChartView *m_view;

private:
    QChart *buildTypesAndStates();
    QChart *buildFinishedWeeks();

    WorkFilter m_filter;
    QList<WorkTypeStates> m_types;
    QList<WorkWeekColumn> m_weeks;
};
