// The client page over a large register: 100 000 clients in 200 categories, 50 000 of them
// in one category, with 300 000 contact persons and 300 000 contact activities. Measures
// loadClients of the large category and the change of the current client (which reloads the
// detail lists) against bare prepare/step loops over the same statements, and prints the
// ratios.
#include "DataGenerator.h"

#include "crm/ClientListPage.h"
#include "data/Recordset.h"
#include "data/Database.h"

#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

const int kClients = 100000;
const int kInLargeCategory = 50000;
const int kDetailsEach = 3;
const int kRounds = 5;
const int kRowChanges = 2000;
const char kLargeCategory[] = "00010001";
const char kClientList[] = "Select * from TClient Where TypeCode=? Order by ClientCode";
// The three detail lists a current-row change loads, as the page runs them.
const char *const kDetailLists[] = {"Select * from TCLinker Where ClientID=? Order by id desc",
                                    "Select * from TCLinkRec Where ClientID=? Order by id desc",
                                    "Select TCTrack.*,TCTrackStep.StepRate,TCTrackStep.StepTitle from TCTrack "
                                    "left join TCTrackStep on TCTrackStep.ID=TCTrack.StepID "
                                    "Where TCTrack.ClientID=? Order by TCTrack.ID desc"};

// The statements a current-row change runs, for one client.
void rawDetails(sqlite3 *db, qint64 client)
{
    for (const char *sql : kDetailLists)
        benchdata::readAllRows(db, QString::fromLatin1(sql), {client});
}

void report(QTextStream &out, const char *what, double measured, double raw)
{
    out << "  " << what << measured << " ms against " << raw << " ms raw  (" << QString::number(measured / raw, 'f', 2)
        << "x, goal <= 1.5x)\n";
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
    if (!program.isReady() || !benchdata::addClientRegister(database, kClients, kInLargeCategory, kDetailsEach)) {
        out << "cannot generate data: " << database.lastError() << '\n';
        return 1;
    }
    out << "generated " << kClients << " clients with " << kClients * kDetailsEach << " contacts and as many activities in "
        << timer.elapsed() << " ms\n";
    sqlite3 *db = database.connection().handle();
    const QString large = QString::fromLatin1(kLargeCategory);

    ClientListPage page;
    page.resize(971, 520);
    page.show();
    if (!page.loadTree()) {
        out << "the category tree did not load\n";
        return 1;
    }

    std::vector<double> listMs;
    std::vector<double> rawListMs;
    std::vector<double> changeMs;
    std::vector<double> rawChangeMs;
    for (int round = 0; round < kRounds; ++round) {
        timer.restart();
        page.loadClients(large);
        listMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (page.clients().count() != kInLargeCategory) {
            out << "loadClients listed " << page.clients().count() << " clients\n";
            return 1;
        }
        // The same statements: the list, then the details of its first client.
        timer.restart();
        const qint64 rows = benchdata::readAllRows(db, QString::fromLatin1(kClientList), {large});
        rawDetails(db, page.clients().integer(QStringLiteral("ID")));
        rawListMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (rows != kInLargeCategory) {
            out << "raw loop read " << rows << " clients\n";
            return 1;
        }

        std::vector<qint64> visited;
        timer.restart();
        for (int step = 1; step <= kRowChanges; ++step) {
            page.clients().moveTo(step * (kInLargeCategory / kRowChanges) - 1);
            visited.push_back(page.clients().integer(QStringLiteral("ID")));
        }
        changeMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (page.contacts().count() != kDetailsEach || page.activities().count() != kDetailsEach) {
            out << "the details of the current client are incomplete\n";
            return 1;
        }
        timer.restart();
        for (qint64 client : visited)
            rawDetails(db, client);
        rawChangeMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }

    out << Qt::fixed;
    out.setRealNumberPrecision(2);
    out << "client page, " << kClients << " clients, " << kInLargeCategory << " in one category, median of " << kRounds
        << " rounds\n";
    report(out, "loadClients of the large category", benchdata::median(listMs), benchdata::median(rawListMs));
    out << "  current-row change, " << kRowChanges << " changes:\n";
    report(out, "  details of each new current row ", benchdata::median(changeMs), benchdata::median(rawChangeMs));
    return 0;
}
