// The charts over a large register: 100 000 follow-ups of 1 000 clients and 100 000 work
// items. Measures the numbers behind each chart against a bare GROUP BY of the same numbers
// (prepare, bind, step, nothing kept), and the drawing of each chart into an image offscreen.
#include "DataGenerator.h"

#include "crm/FollowUpChartData.h"
#include "crm/FollowUpChartPanel.h"
#include "data/Database.h"
#include "output/ChartView.h"
#include "work/WorkChartData.h"
#include "work/WorkChartPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPainter>
#include <QRandomGenerator>
#include <QTextStream>
#include <functional>
#include <vector>

namespace {

const int kFollowUps = 100000;
const int kWorkItems = 100000;
const int kClients = 1000;
const int kRounds = 7;
const QDate kToday(2026, 12, 10);

bool addFollowUps(Database &database)
{
    QRandomGenerator random(31);
    return database.inTransaction([&] {
        for (int i = 0; i < kFollowUps; ++i) {
            const qint64 fen = random.bounded(100, 10000000);
            const int step = random.bounded(1, 8);
            const int rate[] = {0, 10, 20, 40, 60, 80, 100, 0};
            const QDateTime recorded = QDateTime(QDate(2025, 6, 1), QTime(9, 0)).addSecs(random.bounded(560 * 86400));
            if (!database.execute(QStringLiteral("Insert into TCTrack (ClientID,GoodsName,Price,Qty,Total,StepID,StepTotal,RecTime) "
                                                 "values (?,'A4复印纸',?,1,?,?,?,?)"),
                                  {random.bounded(1, kClients + 1), fen / 100.0, fen / 100.0, step,
                                   double(qRound64(fen * rate[step] / 100.0)) / 100.0,
                                   recorded.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))}))
                return false;
        }
        return true;
    });
}

double timed(const std::function<void()> &work)
{
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return benchdata::median(times);
}

void compare(QTextStream &out, const char *what, const std::function<void()> &chart, sqlite3 *db, const QString &bare,
             const QVariantList &params = {})
{
    const double measured = timed(chart);
    const double raw = timed([&] { benchdata::readAllRows(db, bare, params); });
    out << "  " << what << ": " << measured << " ms against " << raw << " ms bare GROUP BY  ("
        << QString::number(measured / raw, 'f', 2) << "x, goal <= 1.2x)\n";
}

// Drawing from the numbers read: the chart built again, laid out and painted into an image.
void drawing(QTextStream &out, const char *what, const std::function<void()> &redraw, ChartView &view)
{
    const double ms = timed([&] {
        redraw();
        QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        view.render(&painter);
    });
    out << "  drawing " << what << ": " << ms << " ms  (goal <= 50 ms)\n";
}

} // namespace

int main(int argc, char **argv)
{
    benchdata::preferOffscreen();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    benchdata::ScratchProgram program;
    Database &database = program.database();
    QElapsedTimer timer;
    timer.start();
    if (!program.isReady() || !benchdata::addClientRegister(database, kClients, kClients / 2, 0) || !addFollowUps(database)
        || !benchdata::addWorkItems(database, kWorkItems, 0)) {
        out << "cannot generate data: " << database.lastError() << '\n';
        return 1;
    }
    out << "generated " << kFollowUps << " follow-ups of " << kClients << " clients and " << kWorkItems << " work items in "
        << timer.elapsed() << " ms\n";
    sqlite3 *db = database.connection().handle();
    out << Qt::fixed;
    out.setRealNumberPrecision(2);

    out << "chart numbers, median of " << kRounds << " rounds\n";
    const FollowUpScope everyone;
    const FollowUpScope category{FollowUpScope::Category, -1, QStringLiteral("00010001")};
    compare(out, "follow-ups by step, every client", [&] { followUpsByStep(database, everyone); }, db,
            QStringLiteral("Select StepID, count(*), sum(Total), sum(StepTotal) from TCTrack Group by StepID"));
    compare(out, "follow-ups by step, one category ", [&] { followUpsByStep(database, category); }, db,
            QStringLiteral("Select StepID, count(*), sum(Total), sum(StepTotal) from TCTrack "
                           "Where ClientID in (Select ID from TClient Where TypeCode=?) Group by StepID"),
            {QStringLiteral("00010001")});
    compare(out, "follow-ups by month, every client", [&] { followUpsByMonth(database, everyone, kToday); }, db,
            QStringLiteral("Select substr(RecTime,1,7) as Month, StepID=6 as Won, sum(Total) from TCTrack "
                           "Where RecTime>=? and RecTime<? Group by Month, Won"),
            {QStringLiteral("2026-01-01"), QStringLiteral("2027-01-01")});
    compare(out, "work items by type and state     ", [&] { workItemsByType(database, WorkFilter{}); }, db,
            QStringLiteral("Select WorkType, FinStu, count(*) from TWork Group by WorkType, FinStu"));
    compare(out, "work items finished per week     ", [&] { finishedPerWeek(database, WorkFilter{}, kToday); }, db,
            QStringLiteral("Select CAST((julianday(substr(TimeEnd,1,10))-julianday(?))/7 AS INTEGER) as Week, count(*) "
                           "from TWork Where FinStu=3 and TimeEnd>=? and TimeEnd<? Group by Week"),
            {QStringLiteral("2026-09-21"), QStringLiteral("2026-09-21"), QStringLiteral("2026-12-14")});

    out << "drawing, offscreen, 640 x 370, median of " << kRounds << " rounds\n";
    FollowUpChartPanel followUps;
    followUps.resize(640, 400);
    followUps.m_reachCombo->setCurrentIndex(FollowUpChartPanel::WholeCategory);
    followUps.setScope(1, QStringLiteral("00010001"));
    followUps.show();
    QCoreApplication::processEvents();
    drawing(out, "the follow-up funnel       ", [&] { followUps.redraw(); }, *followUps.m_view);
    followUps.m_chartCombo->setCurrentIndex(FollowUpChartPanel::Months);
    QCoreApplication::processEvents();
    drawing(out, "the follow-up months       ", [&] { followUps.redraw(); }, *followUps.m_view);
    WorkChartPanel work;
    work.resize(640, 400);
    work.setFilter(WorkFilter{});
    work.show();
    QCoreApplication::processEvents();
    drawing(out, "the work types and states  ", [&] { work.redraw(); }, *work.m_view);
    work.m_chartCombo->setCurrentIndex(WorkChartPanel::FinishedWeeks);
    QCoreApplication::processEvents();
    drawing(out, "the work items finished    ", [&] { work.redraw(); }, *work.m_view);
    return 0;
}
