// Backs up and restores a 1 GiB database and copies the same file with cp, each flushed to
// the disk, in the same run; prints the throughputs and the ratios to cp's, the time of the
// check that a restore makes of the backup before it replaces the database, and the restore
// against the bare sequence it cannot do without: cp + fsync of the backup, then opening the
// copy with the key and SQLite's quick check. The files live in a temporary folder that is
// removed at the end.
#include "DataGenerator.h"

#include "data/Database.h"
#include "data/Sqlite.h"
#include "safety/DataSafety.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

const int kNotes = 960;
const int kNoteBytes = 1 << 20;
const int kRounds = 3;

bool copyWithCp(const QString &source, const QString &target)
{
    if (QProcess::execute(QStringLiteral("cp"), {source, target}) != 0)
        return false;
    const int fd = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return synced;
}

// Opens the copy with the key and runs SQLite's quick check, as a restore must.
bool quickCheck(const QString &path)
{
    SqliteConnection db;
    if (!db.open(path, databaseKey()))
        return false;
    SqliteStatement check(db, QStringLiteral("PRAGMA quick_check"));
    return check.next() && check.value(0).toString() == QLatin1String("ok");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QElapsedTimer timer;
    timer.start();
    benchdata::ScratchProgram program; // the big files go with it
    Database &dm = program.database();
    if (!program.isReady() || !benchdata::addNotes(dm, kNotes, kNoteBytes)) {
        out << "cannot generate data: " << dm.lastError() << '\n';
        return 1;
    }
    const QString database = dm.databasePath();
    const double mebibytes = double(QFileInfo(database).size()) / (1 << 20);
    out << "generated a database of " << qRound(mebibytes) << " MiB in " << timer.elapsed() << " ms\n";

    const QString copied = program.filePath(QStringLiteral("Bak/cp.WBK"));
    const QString backup = program.filePath(QStringLiteral("Bak/2026121012.WBK"));
    std::vector<double> cpMs;
    std::vector<double> backupMs;
    std::vector<double> restoreMs;
    std::vector<double> checkMs;
    std::vector<double> bareRestoreMs;
    for (int round = 0; round < kRounds; ++round) {
        QFile::remove(copied);
        QFile::remove(backup);
        // Taking turns at going first, so that neither always meets the disk after the other.
        for (int turn = 0; turn < 2; ++turn) {
            timer.restart();
            if ((turn + round) % 2 == 0) {
                if (!copyWithCp(database, copied)) {
                    out << "cp failed\n";
                    return 1;
                }
                cpMs.push_back(double(timer.nsecsElapsed()) / 1e6);
            } else if (const FileResult result = backupDatabase(dm, backup); !result) {
                out << "backup failed: " << result.error << '\n';
                return 1;
            } else {
                backupMs.push_back(double(timer.nsecsElapsed()) / 1e6);
            }
        }
        timer.restart();
        if (const FileResult result = restoreDatabase(dm, backup); !result) {
            out << "restore failed: " << result.error << '\n';
            return 1;
        }
        restoreMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        if (!isProgramDatabaseCopy(backup)) {
            out << "the backup does not pass the check\n";
            return 1;
        }
        checkMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        QFile::remove(copied);
        timer.restart();
        if (!copyWithCp(backup, copied) || !quickCheck(copied)) {
            out << "the bare restore sequence failed\n";
            return 1;
        }
        bareRestoreMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    QFile::remove(copied);
    QFile::remove(backup);

    const double cp = benchdata::median(cpMs);
    auto line = [&](const char *name, double ms) {
        out << "  " << name << QString::number(ms, 'f', 0).rightJustified(8) << " ms  "
            << QString::number(mebibytes / (ms / 1000), 'f', 0).rightJustified(6) << " MiB/s  ("
            << QString::number(cp / ms, 'f', 2) << "x cp's throughput)\n";
    };
    out << "backup and restore of " << qRound(mebibytes) << " MiB, flushed to the disk, median of " << kRounds << " rounds\n";
    line("cp + fsync  ", cp);
    line("backup      ", benchdata::median(backupMs));
    line("restore     ", benchdata::median(restoreMs));
    line("  its check ", benchdata::median(checkMs)); // opening with the key and SQLite's quick check
    const double bare = benchdata::median(bareRestoreMs);
    line("bare restore", bare);
    out << "restore / bare restore (cp + fsync + key + quick check): "
        << QString::number(benchdata::median(restoreMs) / bare, 'f', 2) << "x (goal <= 1.05x)\n";
    return 0;
}
