// Time from process start to the first paint of the main window, offscreen, with a database
// of 10 000 work items, 5 000 clients with their contacts and activities and 2 000
// address-book contacts; against a bare Qt program that opens the same database and shows
// the work list in one table. Both run as child processes of this benchmark, alternately;
// the medians and their ratio are printed. The splash's two seconds are the program's own
// pause, not work, and are left out; so is the running-copy check.
#include "DataGenerator.h"

#include "app/Startup.h"
#include "app/MainWindow.h"
#include "data/ProgramFolder.h"
#include "data/Database.h"

#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

const int kRounds = 7;

// Ends the child at the first paint of its window: what is measured is the wait until the
// user sees something, not the teardown.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *window) : m_window(window) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->window() == m_window) {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                ::_exit(0);
            }
        }
        return false;
    }

private:
    QWidget *m_window;
};

int runProgram(const QString &folder)
{
    setUpApplication();
    setProgramFolder(folder);
    Database database;
    database.openAtStartup();
    MainWindow window;
    if (!window.startUp())
        return 1;
    FirstPaint watch(&window);
    window.show();
    return qApp->exec();
}

int runBare(const QString &folder)
{
    setProgramFolder(folder);
    Database database;
    database.openAtStartup();
    QTableWidget table;
    const QByteArray sql("Select ID,Title,TimeStart,TimeEnd,WorkType,FinStu,LastUpTime,ZY from TWork Order by ID");
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(database.connection().handle(), sql.constData(), int(sql.size()), &stmt, nullptr);
    table.setColumnCount(sqlite3_column_count(stmt));
    QList<QStringList> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            row.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c))));
        rows.append(row);
    }
    sqlite3_finalize(stmt);
    table.setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.at(r).size(); ++c)
            table.setItem(r, c, new QTableWidgetItem(rows.at(r).at(c)));
    }
    table.resize(979, 563);
    FirstPaint watch(&table);
    table.show();
    return qApp->exec();
}

// Milliseconds from starting the child to its "painted".
double timeChild(const QString &mode, const QString &folder, const QProcessEnvironment &environment)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode, folder});
    while (!child.canReadLine() && child.state() != QProcess::NotRunning)
        child.waitForReadyRead(60000);
    const double elapsed = timer.nsecsElapsed() / 1e6;
    const bool painted = child.readLine().trimmed() == "painted";
    child.waitForFinished(10000);
    return painted ? elapsed : -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0) {
        QApplication app(argc, argv);
        const QString folder = QString::fromLocal8Bit(argv[3]);
        return qstrcmp(argv[2], "program") == 0 ? runProgram(folder) : runBare(folder);
    }

    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir folder;
    QTemporaryDir home; // the program writes its autostart entry: never into the real home
    if (!benchdata::prepareProgramFolder(folder.path())) {
        out << "bench_startup: cannot prepare a program folder\n";
        return 1;
    }
    {
        Database database;
        database.openAtStartup();
        if (!benchdata::addWorkItems(database, 10000, 2000) || !benchdata::addClients(database, 5000, 2)
            || !benchdata::addAddressBookContacts(database, 2000)) {
            out << "bench_startup: cannot fill the database\n";
            return 1;
        }
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral(".local/share")));

    std::vector<double> program, bare;
    timeChild(QStringLiteral("bare"), folder.path(), environment); // warms the file cache for both
    for (int round = 0; round < kRounds; ++round) {
        bare.push_back(timeChild(QStringLiteral("bare"), folder.path(), environment));
        program.push_back(timeChild(QStringLiteral("program"), folder.path(), environment));
    }
    if (*std::min_element(bare.begin(), bare.end()) < 0 || *std::min_element(program.begin(), program.end()) < 0) {
        out << "bench_startup: a child never painted\n";
        return 1;
    }
    const double programMs = benchdata::median(program);
    const double bareMs = benchdata::median(bare);
    out << QStringLiteral("start-up to first paint (median of %1): program %2 ms, bare Qt table %3 ms, ratio %4 (goal <= 1.3)\n")
               .arg(kRounds)
               .arg(programMs, 0, 'f', 1)
               .arg(bareMs, 0, 'f', 1)
               .arg(programMs / bareMs, 0, 'f', 2);
    return 0;
}
