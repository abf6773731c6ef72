// The charts beside the follow-up list and the work list, and a chart's picture as it is
// copied, saved and printed.
#include "Shots.h"

#include "crm/CategoryTree.h"
#include "crm/ClientListPage.h"
#include "crm/FollowUpChartPanel.h"
#include "data/Recordset.h"
#include "output/ChartView.h"
#include "work/WorkChartPanel.h"
#include "work/WorkListPage.h"

#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

namespace {

void shootCharts(Shots &shots)
{
    ClientListPage clients;
    clients.resize(971, 520); // the page as the main window shows it
    clients.loadTree();
    clients.m_categoryTree->setCurrentItem(clients.m_categoryTree->findNode(QStringLiteral("00010001")));
    clients.clients().locate(1);
    clients.m_detailTabs->setCurrentIndex(ClientListPage::FollowUpPage);
    shots.showAndTake(clients, QStringLiteral("charts-followups-off"));
    clients.show();
    clients.m_chartToggle->click();
    FollowUpChartPanel &followUps = *clients.m_followUpChart;
    QCoreApplication::processEvents();
    shots.take(clients, QStringLiteral("charts-followups-funnel"));
    clients.clients().locate(2);
    followUps.m_reachCombo->setCurrentIndex(FollowUpChartPanel::WholeCategory);
    followUps.m_chartCombo->setCurrentIndex(FollowUpChartPanel::Months);
    QCoreApplication::processEvents();
    shots.take(clients, QStringLiteral("charts-followups-months"));
    // The chart as its menu copies it, and as it prints.
    followUps.m_chartCombo->setCurrentIndex(FollowUpChartPanel::StepFunnel);
    QCoreApplication::processEvents();
    QLabel picture;
    picture.setPixmap(QPixmap::fromImage(followUps.m_view->picture()));
    shots.showAndTake(picture, QStringLiteral("charts-followups-picture"));
    ChartPreviewDialog preview(*followUps.m_view);
    preview.resize(760, 560);
    shots.showAndTake(preview, QStringLiteral("charts-print-preview"));
    clients.hide();

    WorkListPage work;
    work.resize(971, 520);
    work.fillWorkTypes();
    work.selectAllStates();
    shots.showAndTake(work, QStringLiteral("charts-work-off"));
    work.show();
    work.m_chartToggle->click();
    QCoreApplication::processEvents();
    shots.take(work, QStringLiteral("charts-work-types"));
    work.m_workChart->m_chartCombo->setCurrentIndex(WorkChartPanel::FinishedWeeks);
    QCoreApplication::processEvents();
    shots.take(work, QStringLiteral("charts-work-weeks"));
    work.hide();
}

const ShotSet charts("charts", shootCharts);

} // namespace
