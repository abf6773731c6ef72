// The client search over 100 000 clients (a part of the name, and the days since the last
// contact) through Recordset and through the search window, against a bare prepare/step loop
// over the same statement; and the footer sums of a follow-up list of 10 000 rows, counting
// the statements the sums and the painting of the list run.
#include "DataGenerator.h"

#include "crm/ClientSearch.h"
#include "crm/FollowUpList.h"
#include "crm/ClientSearchWindow.h"
#include "data/Recordset.h"
#include "data/Database.h"
#include "platform/Clock.h"
#include "widgets/DataGrid.h"

#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSpinBox>
#include <QTextStream>
#include <functional>
#include <vector>

namespace {

const int kClients = 100000;
const int kFollowUps = 10000;
const int kRounds = 5;
const QString kNamePart = QStringLiteral("贸有限公司1");
const int kDays = 30;
const QDateTime kNow(QDate(2026, 12, 10), QTime(10, 0));

volatile qint64 sink = 0;
int statementsRun = 0;

double millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The days are counted from a fixed date, so every run finds the same clients.
class FixedClock final : public platform::Clock
{
public:
    QDateTime now() const override { return kNow; }
};

int countStatement(unsigned, void *, void *, void *)
{
    ++statementsRun;
    return 0;
}

bool addData(Database &database)
{
    if (!benchdata::addClientRegister(database, kClients, 1000, 1))
        return false;
    // Last contacts spread over the year, a tenth of the clients never contacted.
    if (!database.execute(QStringLiteral("Update TClient set LastLinkTime = case when ID % 10 = 0 then '1899-12-30 00:00:00' "
                                   "else strftime('%Y-%m-%d %H:%M:%S', '2026-01-01 09:00:00', '+' || (ID % 340) || ' days') end")))
        return false;
    const qint64 client = database.queryValue(QStringLiteral("Select min(ID) from TClient")).toLongLong();
    return database.inTransaction([&] {
        for (int i = 0; i < kFollowUps; ++i) {
            if (!database.execute(QStringLiteral("Insert into TCTrack (ClientID, GoodsName, Style, Unit, Price, Qty, Total, StepID, "
                                           "StepTotal, RecTime) values (?, '复印纸', '70克', '箱', 168, ?, ?, ?, ?, '2026-11-01 10:00:00')"),
                            {client, 1 + i % 50, 168.0 * (1 + i % 50), 1 + i % 7, 16.8 * (1 + i % 50)}))
                return false;
        }
        return true;
    });
}

void reportLine(QTextStream &out, const char *what, double ms, double raw)
{
    out << "  " << what << ms << " ms  (" << QString::number(ms / raw, 'f', 2) << "x)\n";
}

} // namespace

int main(int argc, char **argv)
{
    benchdata::preferOffscreen();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    out << Qt::fixed;
    out.setRealNumberPrecision(1);
    benchdata::ScratchProgram program;
    Database &database = program.database();
    if (!program.isReady() || !addData(database)) {
        out << "cannot generate data: " << database.lastError() << '\n';
        return 1;
    }
    sqlite3 *db = database.connection().handle();

    FixedClock clock;
    platform::setClock(&clock);
    ClientSearchWindow window([](const QString &, qint64) {});
    window.m_nameEdit->setText(kNamePart);
    window.m_daysBox->setValue(kDays);
    const struct {
        const char *name;
        ClientQuery query;
        std::function<void()> search;
        Recordset &results;
    } searches[] = {
        {"name contains", clientsByNameQuery(kNamePart), [&] { window.searchByName(); }, window.byName()},
        {"not contacted for 30 days", clientsNotContactedQuery(kDays, kNow), [&] { window.searchByDays(); }, window.byDays()},
    };

    bool withinLimit = true;
    for (const auto &search : searches) {
        std::vector<double> recordsetMs, windowMs, rawMs;
        qint64 rows = 0;
        for (int round = 0; round < kRounds; ++round) {
            Recordset list(database);
            recordsetMs.push_back(millisecondsOf([&] { list.open(search.query.sql, search.query.params); }));
            windowMs.push_back(millisecondsOf(search.search));
            rawMs.push_back(millisecondsOf([&] { rows = benchdata::readAllRows(db, search.query.sql, search.query.params); }));
            if (list.count() != rows || search.results.count() != rows) {
                out << search.name << ": Recordset " << list.count() << ", window " << search.results.count()
                    << ", raw loop " << rows << " rows\n";
                return 1;
            }
        }
        const double raw = benchdata::median(rawMs);
        out << "client search, " << search.name << ", " << kClients << " clients, " << rows << " found, median of "
            << kRounds << " rounds\n";
        out << "  raw prepare/step loop       " << raw << " ms\n";
        reportLine(out, "Recordset::open             ", benchdata::median(recordsetMs), raw);
        reportLine(out, "search window               ", benchdata::median(windowMs), raw);
        withinLimit = withinLimit && benchdata::median(windowMs) <= 1.5 * raw;
    }

    // Footer sums: loaded once with the list, then read from the loaded rows only.
    Recordset followUps(database);
    DataGrid grid(followUps);
    grid.setColumns(followUpColumns());
    grid.resize(900, 400);
    grid.show();
    const qint64 client = database.queryValue(QStringLiteral("Select min(ID) from TClient")).toLongLong();
    const double loadMs = millisecondsOf([&] { loadFollowUps(followUps, client); });
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, countStatement, nullptr);
    QString totals;
    const double sumMs = millisecondsOf([&] {
        for (int column = 0; column < grid.columns().size(); ++column)
            totals += grid.footerText(column) + QLatin1Char(' ');
    });
    const double paintMs = millisecondsOf([&] {
        for (int i = 0; i < 20; ++i)
            sink = grid.grab().width();
    });
    sqlite3_trace_v2(db, 0, nullptr, nullptr);
    platform::setClock(nullptr);
    out << "follow-up list, " << followUps.count() << " follow-ups of one client\n";
    out << "  load with the footer        " << loadMs << " ms\n";
    out << "  footer sums                 " << sumMs << " ms  (" << totals.simplified() << ")\n";
    out << "  20 paintings of the list    " << paintMs << " ms\n";
    out << "  statements run by sums and paintings: " << statementsRun << '\n';
    if (!withinLimit || statementsRun != 0) {
        out << "FAILED: the search window above 1.5x the bare loop, or the footer read the database\n";
        return 1;
    }
    return 0;
}
