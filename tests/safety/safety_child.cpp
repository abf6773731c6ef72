// Runs one data safety command on a program folder, the way the program runs it, for the kill
// tests: "backup <folder> <target>", "restore <folder> <source>", "clear <folder>" or
// "autobackup <folder> <backup folder>" (the backup of 2024-03-15 12:00, keeping two). Prints
// "ready" when the command starts, "done" when it has finished. Backup and restore begin by
// closing the connection, so they start without one: opening it would only spend the time
// of the key derivation.
#include "data/ProgramFolder.h"
#include "data/Database.h"
#include "safety/DataSafety.h"
#include "safety/DataSafetyCommands.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const char *command = argv[1];
    const QString file = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    setProgramFolder(QString::fromLocal8Bit(argv[2]));
    Database dm;
    const bool clear = std::strcmp(command, "clear") == 0;
    if (clear && !dm.open())
        return 3;
    std::fputs("ready\n", stdout);
    std::fflush(stdout);

    bool done = false;
    if (std::strcmp(command, "backup") == 0)
        done = backupDatabase(dm, file).ok;
    else if (std::strcmp(command, "restore") == 0)
        done = restoreDatabase(dm, file).ok;
    else if (clear)
        done = clearUserData(dm);
    else if (std::strcmp(command, "autobackup") == 0)
        done = takeAutomaticBackup(dm, file, QDateTime(QDate(2024, 3, 15), QTime(12, 0)), 2).isEmpty();
    std::fputs(done ? "done\n" : "failed\n", stdout);
    std::fflush(stdout);
    return done ? 0 : 1;
}
