// Time from process start to the first paint of the main window, with a database of
// 10 000 work items, 5 000 clients with their contacts and activities and 2 000 address-book
// contacts; against a separate small program that links only Qt Widgets and SQLCipher,
// opens the same database and shows the work list in one table (baseline/bare_worklist).
// Both run as child processes, alternately, on the xcb platform under an Xvfb of their own
// when Xvfb is installed (offscreen otherwise); the medians and their ratio are printed. The
// splash's fixed time is the program's own pause, not work: it is reported apart. So is the
// running-copy check, which is left out. Then both again on the untouched sample database:
// the peak resident memory a second after the first paint, and its ratio.
#include "DataGenerator.h"
#include "FirstPaint.h"

#include "app/SplashScreen.h"
#include "app/Startup.h"
#include "app/MainWindow.h"
#include "data/ProgramFolder.h"
#include "data/Database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

const int kRounds = 7;

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

struct ChildRun {
    double milliseconds = -1; // from starting the child to its "painted"
    double peakMebibytes = -1;
};

ChildRun runChild(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    child.start(program, arguments);
    while (!child.canReadLine() && child.state() != QProcess::NotRunning)
        child.waitForReadyRead(60000);
    ChildRun run;
    const double elapsed = timer.nsecsElapsed() / 1e6;
    if (child.readLine().trimmed() == "painted")
        run.milliseconds = elapsed;
    child.waitForFinished(10000);
    const QList<QByteArray> peak = child.readLine().trimmed().split(' ');
    if (peak.size() == 2 && peak.constFirst() == "peak-kib")
        run.peakMebibytes = peak.constLast().toDouble() / 1024;
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0) {
        QApplication app(argc, argv);
        return runProgram(QString::fromLocal8Bit(argv[2]));
    }

    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir folder;
    QTemporaryDir sampleFolder;
    QTemporaryDir home; // the program writes its autostart entry: never into the real home
    if (!benchdata::prepareProgramFolder(sampleFolder.path()) || !benchdata::prepareProgramFolder(folder.path())) {
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
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral(".local/share")));
    // A display of our own, as a desktop shows the windows; offscreen where there is none.
    QProcess display;
    QString platform = QStringLiteral("offscreen");
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (!xvfb.isEmpty()) {
        display.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                             QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (display.waitForReadyRead(10000)) {
            environment.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + QString::fromLatin1(display.readLine().trimmed()));
            platform = QStringLiteral("xcb");
        }
    }
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);

    const QString databaseFile = QDir(folder.path()).filePath(QStringLiteral("db/DOZA.dat"));
    const QStringList bareArguments{databaseFile, QString::fromLatin1(databaseKey())};
    const QStringList programArguments{QStringLiteral("--child"), folder.path()};
    const QString bareProgram = QStringLiteral(BARE_WORKLIST);
    std::vector<double> program, bare, programPeak, barePeak;
    runChild(bareProgram, bareArguments, environment); // warms the file cache for both
    for (int round = 0; round < kRounds; ++round) {
        bare.push_back(runChild(bareProgram, bareArguments, environment).milliseconds);
        program.push_back(runChild(QCoreApplication::applicationFilePath(), programArguments, environment).milliseconds);
    }
    const QStringList sampleBareArguments{QDir(sampleFolder.path()).filePath(QStringLiteral("db/DOZA.dat")),
                                          QString::fromLatin1(databaseKey())};
    const QStringList sampleProgramArguments{QStringLiteral("--child"), sampleFolder.path()};
    for (int round = 0; round < 3; ++round) {
        barePeak.push_back(runChild(bareProgram, sampleBareArguments, environment).peakMebibytes);
        programPeak.push_back(runChild(QCoreApplication::applicationFilePath(), sampleProgramArguments, environment).peakMebibytes);
    }
    display.terminate();
    display.waitForFinished(5000);
    const auto failed = [](const std::vector<double> &values) { return *std::min_element(values.begin(), values.end()) < 0; };
    if (failed(bare) || failed(program) || failed(barePeak) || failed(programPeak)) {
        out << "bench_startup: a child never painted\n";
        return 1;
    }
    const double programMs = benchdata::median(program);
    const double bareMs = benchdata::median(bare);
    out << QStringLiteral("start-up to first paint on %1 (median of %2): program %3 ms, bare Qt Widgets + SQLCipher table %4 ms, "
                          "ratio %5 (goal <= 1.3); the splash adds its fixed %6 ms before the program\n")
               .arg(platform)
               .arg(kRounds)
               .arg(programMs, 0, 'f', 1)
               .arg(bareMs, 0, 'f', 1)
               .arg(programMs / bareMs, 0, 'f', 2)
               .arg(kSplashMilliseconds);
    out << QStringLiteral("peak resident memory a second after the first paint, sample database (median of 3): program %1 MiB, "
                          "bare %2 MiB, ratio %3 (goal <= 1.3)\n")
               .arg(benchdata::median(programPeak), 0, 'f', 1)
               .arg(benchdata::median(barePeak), 0, 'f', 1)
               .arg(benchdata::median(programPeak) / benchdata::median(barePeak), 0, 'f', 2);
    return 0;
}
