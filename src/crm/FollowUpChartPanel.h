#pragma once

#include "crm/FollowUpChartData.h"

#include <QWidget>
#include <optional>

class ChartView;
class QChart;
class QComboBox;
class QLabel;
class QToolButton;

// The charts beside the follow-up list: the follow-ups by progress step (a funnel, each bar
// with its count, amount and virtual value) or the amounts by month, won against the rest.
// They count the selected client's follow-ups, or those of every client of its category.
class FollowUpChartPanel : public QWidget
{
    Q_OBJECT
public:
    enum Chart { StepFunnel, Months };
    enum Reach { SelectedClient, WholeCategory };

    explicit FollowUpChartPanel(QWidget *parent = nullptr);

    // The client the list shows (-1 for none) and its category; draws the chart again.
    void setScope(qint64 clientId, const QString &categoryCode);
    FollowUpScope scope() const;
    // Reads the numbers again and draws the chart shown.
    void refresh();
    // Draws the chart shown again from the numbers last read.
    void redraw();
    // The step the list is narrowed to, shown with a button that widens it again.
    void showStepFilter(const std::optional<qint64> &stepId);

    const QList<FollowUpStepBar> &stepBars() const { return m_stepBars; }
    const QList<FollowUpMonthColumn> &monthColumns() const { return m_monthColumns; }

    QComboBox *m_chartCombo;
    QComboBox *m_reachCombo;
    QLabel *m_filterLabel;
    QToolButton *m_showAllButton;
    ChartView *m_view;

signals:
    // A step's bar was clicked: the list should show only that step (-1: the follow-ups
    // whose step left the model); nullopt: every step again.
    void stepChosen(std::optional<qint64> stepId);

private:
    QChart *buildStepFunnel();
    QChart *buildMonths();

    qint64 m_clientId = -1;
    QString m_categoryCode;
    QList<FollowUpStepBar> m_stepBars;
    QList<FollowUpMonthColumn> m_monthColumns;
};
