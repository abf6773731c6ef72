// Loads the work list of 100 000 items through Recordset and through the work page's own
// reload (query, list model, reminder cache), and the same query through a bare
// prepare/step loop; prints the times and their ratios to the bare loop.
#include "DataGenerator.h"

#include "data/Recordset.h"
#include "data/Database.h"
#include "work/Reminders.h"
#include "work/WorkListPage.h"
#include "work/WorkListQuery.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTextStream>
#include <vector>

namespace {

const int kItems = 100000;
const int kRounds = 5;
// The page's own statement with every state ticked, as the page below is set.
const QString kWorkList = buildWorkListQuery(WorkFilter{QString(), -1, {true, true, true, true}}).sql;

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
    if (!program.isReady() || !database.execute(QStringLiteral("Delete from TWork")) || !benchdata::addWorkItems(database, kItems, 2048)) {
        out << "cannot generate data: " << database.lastError() << '\n';
        return 1;
    }
    out << "generated " << kItems << " work items in " << timer.elapsed() << " ms\n";

    WorkListPage page;
    for (QCheckBox *state : {page.m_doneCheck, page.m_abandonedCheck})
        state->setChecked(true);

    std::vector<double> recordsetMs;
    std::vector<double> pageMs;
    std::vector<double> rawMs;
    std::vector<double> reminderMs;
    for (int round = 0; round < kRounds; ++round) {
        Recordset list(database);
        timer.restart();
        list.open(kWorkList);
        recordsetMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (list.count() != kItems) {
            out << "Recordset loaded " << list.count() << " rows\n";
            return 1;
        }
        timer.restart();
        page.loadList();
        pageMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (page.workItems().count() != kItems) {
            out << "the work page listed " << page.workItems().count() << " rows\n";
            return 1;
        }
        timer.restart();
        loadReminderCache(database);
        reminderMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        const qint64 rows = benchdata::readAllRows(database.connection().handle(), kWorkList);
        rawMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (rows != kItems) {
            out << "raw loop read " << rows << " rows\n";
            return 1;
        }
    }
    const double viaRecordset = benchdata::median(recordsetMs);
    const double viaPage = benchdata::median(pageMs);
    const double raw = benchdata::median(rawMs);
    out << Qt::fixed;
    out.setRealNumberPrecision(1);
    out << "work list, " << kItems << " items, median of " << kRounds << " rounds\n";
    out << "  raw prepare/step loop     " << raw << " ms\n";
    out << "  Recordset::open           " << viaRecordset << " ms  (" << QString::number(viaRecordset / raw, 'f', 2) << "x)\n";
    out << "  WorkListPage::loadList    " << viaPage << " ms  (" << QString::number(viaPage / raw, 'f', 2) << "x)\n";
    out << "  of which loadReminderCache " << benchdata::median(reminderMs) << " ms\n";
    return 0;
}
