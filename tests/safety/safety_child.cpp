// Runs one data safety command on a program folder, the way the program runs it, for the kill
// tests: "backup <folder> <target>", "restore <folder> <source>" or "clear <folder>". Prints
// "ready" once the database is open and the command starts, "done" when it has finished.
#include "data/ProgramFolder.h"
#include "data/TDM.h"
#include "safety/DataSafety.h"

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
    TDM dm;
    if (!dm.open())
        return 3;
    std::fputs("ready\n", stdout);
    std::fflush(stdout);

    bool done = false;
    if (std::strcmp(command, "backup") == 0)
        done = backupDatabase(dm, file).ok;
    else if (std::strcmp(command, "restore") == 0)
        done = restoreDatabase(dm, file).ok;
    else if (std::strcmp(command, "clear") == 0)
        done = clearUserData(dm);
    std::fputs(done ? "done\n" : "failed\n", stdout);
    std::fflush(stdout);
    return done ? 0 : 1;
}
