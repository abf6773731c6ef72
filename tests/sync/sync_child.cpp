// Runs one sync of a program folder for the kill test: "sync_child <folder> <server> <task
// list> <address book>", the password on the first line of standard input, never on the
// command line. Prints "ready" once the database is open, "done" or the error at the end.
#include "data/Database.h"
#include "data/ProgramFolder.h"
#include "sync/SyncEngine.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 5)
        return 2;
    setProgramFolder(QString::fromLocal8Bit(argv[1]));
    Database dm;
    if (!dm.open())
        return 3;
    SyncAccount account;
    account.serverUrl = QString::fromLocal8Bit(argv[2]);
    account.taskListUrl = QString::fromLocal8Bit(argv[3]);
    account.addressBookUrl = QString::fromLocal8Bit(argv[4]);
    account.userName = QStringLiteral("alice");
    QTextStream input(stdin);
    account.password = input.readLine();
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    QNetworkAccessManager network;
    SyncEngine engine(dm, network);
    engine.setTimeZone(QTimeZone("Asia/Shanghai"));
    const SyncOutcome outcome = engine.run(account);
    std::fputs(outcome.ok ? "done\n" : qPrintable(outcome.error + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
    return outcome.ok ? 0 : 1;
}
