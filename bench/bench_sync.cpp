// The sync with a real radicale: the first sync of 5 000 work items and 2 000 address-book
// contacts into an empty account, and a sync with nothing to do afterwards, each against a
// bare loop that sends the same requests (bodies made ready beforehand) through the same
// QNetworkAccessManager, one after the other as the sync does. Prints the times, their
// ratios and the requests of each. PANDREL_BENCH_SCALE=10 divides the counts, for a quick run.
#include "DataGenerator.h"
#include "RadicaleServer.h"

#include "data/Database.h"
#include "data/Sqlite.h"
#include "sync/DavXml.h"
#include "sync/SyncEngine.h"
#include "sync/SyncItems.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUuid>

namespace {

struct Request {
    QByteArray verb;
    QString url;
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
};

// The floor: each request sent and its answer read whole before the next.
int sendAll(QNetworkAccessManager &network, const QList<Request> &requests)
{
    const QByteArray authorization =
        "Basic " + (RadicaleServer::user() + QLatin1Char(':') + RadicaleServer::password()).toUtf8().toBase64();
    int failed = 0;
    for (const Request &request : requests) {
        QNetworkRequest http{QUrl(request.url)};
        http.setRawHeader("Authorization", authorization);
        for (const auto &[name, value] : request.headers)
            http.setRawHeader(name, value);
        QNetworkReply *reply = network.sendCustomRequest(http, request.verb, request.body);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        reply->readAll();
        failed += reply->error() == QNetworkReply::NoError ? 0 : 1;
        delete reply;
    }
    return failed;
}

// What the first sync sends: the listing of each empty collection, then one conditional PUT
// an item.
QList<Request> firstSyncRequests(Database &db, const QString &taskList, const QString &addressBook)
{
    std::vector<std::pair<std::unique_ptr<SyncItems>, QString>> kinds;
    kinds.emplace_back(workItemsForSync(db, QTimeZone("Asia/Shanghai")), taskList);
    kinds.emplace_back(contactsForSync(db), addressBook);
    QList<Request> requests;
    for (const auto &[items, collection] : kinds) {
        requests.append({"REPORT", collection, davbody::syncCollection(QString()),
                         {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}}});
        for (const SyncItems::Local &local : items->scan()) {
            const QString uid = local.uid.isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces) : local.uid;
            requests.append({"PUT", collection + uid + items->suffix(), items->render(local.id, uid),
                             {{"Content-Type", items->contentType()}, {"If-None-Match", "*"}}});
        }
    }
    return requests;
}

QList<Request> noChangeRequests(Database &db, const QString &server)
{
    QList<Request> requests;
    SqliteStatement rows(db.connection(), QStringLiteral("Select Url, SyncToken from TSyncCollection order by Kind"));
    while (rows.next())
        requests.append({"REPORT", server + rows.value(0).toString().mid(1), davbody::syncCollection(rows.value(1).toString()),
                         {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}}});
    return requests;
}

} // namespace

int main(int argc, char **argv)
{
    benchdata::preferOffscreen();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const int scale = std::max(1, qEnvironmentVariableIntValue("PANDREL_BENCH_SCALE"));
    const int workItems = 5000 / scale;
    const int contacts = 2000 / scale;

    QTemporaryDir folder;
    if (!benchdata::prepareProgramFolder(folder.path()))
        return 1;
    Database db;
    if (!db.open())
        return 1;
    db.execute(QStringLiteral("Delete from TWork"));
    db.execute(QStringLiteral("Delete from TLinker"));
    if (!benchdata::addWorkItems(db, workItems, 400) || !benchdata::addAddressBookContacts(db, contacts))
        return 1;
    RadicaleServer server;
    if (!server.start()) {
        out << "radicale did not start\n";
        return 1;
    }
    SyncAccount account;
    account.serverUrl = server.url();
    account.userName = RadicaleServer::user();
    account.password = RadicaleServer::password();
    account.taskListUrl = server.makeTaskList(QStringLiteral("tasks"));
    account.addressBookUrl = server.makeAddressBook(QStringLiteral("contacts"));
    const QString bareTasks = server.makeTaskList(QStringLiteral("bare-tasks"));
    const QString bareContacts = server.makeAddressBook(QStringLiteral("bare-contacts"));

    QNetworkAccessManager network;
    SyncEngine engine(db, network);
    engine.setTimeZone(QTimeZone("Asia/Shanghai"));
    const QList<Request> bareFirst = firstSyncRequests(db, bareTasks, bareContacts);

    // The bare loop first: radicale takes longer for each item as its storage grows, and the
    // sync should not gain from coming second.
    QElapsedTimer timer;
    timer.start();
    const int bareFirstFailed = sendAll(network, bareFirst);
    const double bareFirstMs = timer.nsecsElapsed() / 1e6;
    timer.restart();
    const SyncOutcome first = engine.run(account);
    const double firstMs = timer.nsecsElapsed() / 1e6;

    // The second sync hears the uploads of the first once; the one after that has nothing to do.
    const SyncOutcome second = engine.run(account);
    std::vector<double> idleMs;
    std::vector<double> bareIdleMs;
    int idleRequests = 0;
    bool idleOk = true;
    for (int round = 0; round < 9; ++round) {
        timer.restart();
        const SyncOutcome idle = engine.run(account);
        idleMs.push_back(timer.nsecsElapsed() / 1e6);
        idleRequests = idle.requests;
        idleOk = idleOk && idle.ok && idle.summary() == QStringLiteral("没有变化");
        const QList<Request> bare = noChangeRequests(db, server.url());
        timer.restart();
        sendAll(network, bare);
        bareIdleMs.push_back(timer.nsecsElapsed() / 1e6);
    }

    out << "Sync with radicale: " << workItems << " work items, " << contacts << " contacts\n";
    out << "first sync: " << (first.ok ? first.summary() : first.error) << ", " << first.requests << " requests, "
        << qRound(firstMs) << " ms; bare loop " << bareFirst.size() << " requests (" << bareFirstFailed << " failed), "
        << qRound(bareFirstMs) << " ms; ratio " << QString::number(firstMs / bareFirstMs, 'f', 2) << "\n";
    out << "second sync (hears its own uploads): " << second.requests << " requests, " << second.summary() << "\n";
    const double idle = benchdata::median(idleMs);
    const double bareIdle = benchdata::median(bareIdleMs);
    out << "no-change sync: " << (idleOk ? "ok" : "NOT IDLE") << ", " << idleRequests << " requests (2 collections), median "
        << QString::number(idle, 'f', 1) << " ms; bare loop " << QString::number(bareIdle, 'f', 1) << " ms; ratio "
        << QString::number(idle / bareIdle, 'f', 2) << "\n";
    return first.ok && idleOk ? 0 : 1;
}
