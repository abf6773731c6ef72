#include "safety/DataSafety.h"

#include "data/ProgramFolder.h"
#include "data/Sqlite.h"
#include "data/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

QString journalOf(const QString &database)
{
    return database + QStringLiteral("-journal");
}

FileResult refused(const QString &path, const char *reason)
{
    return FileResult::failure(
        QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), QCoreApplication::translate("DataSafety", reason)));
}

// Copies the backup to `staging`, checks the copy and renames it over the database.
FileResult replaceDatabase(const QString &source, const QString &staging, const QString &database)
{
    // Left over from a restore that was cut short.
    QFile::remove(staging);
    QFile::remove(journalOf(staging));

    const FileResult copied = copyFileBytes(source, staging);
    if (!copied)
        return copied;
    if (!isProgramDatabase(staging))
        return refused(source, "不是本软件的备份文件");

    // A program in the middle of writing the database keeps it locked: it is not replaced
    // under that program's feet. A journal without such a program belongs to a database that
    // could not be opened to play it back; it must not be played back onto the restored file.
    const ExclusiveFileLock lock(database);
    if (!lock.held())
        return refused(database, "数据库正被其他程序使用");
    QFile::remove(journalOf(database));
    if (std::rename(QFile::encodeName(staging).constData(), QFile::encodeName(database).constData()) != 0)
        return refused(database, "无法替换数据库文件");
    syncFolder(QFileInfo(database).absolutePath());
    return FileResult::success();
}

} // namespace

const QStringList &userDataTables()
{
    static const QStringList tables{
        QStringLiteral("TCLinker"), QStringLiteral("TCLinkRec"), QStringLiteral("TCTrack"),
        QStringLiteral("TClientClass"), QStringLiteral("TCLient"), QStringLiteral("TFolder"),
        QStringLiteral("TGoods"), QStringLiteral("TGoodsClass"), QStringLiteral("TLinker"),
        QStringLiteral("TLinkerClass"), QStringLiteral("TWork"), QStringLiteral("TWorkClass"),
        QStringLiteral("TCustomInfo")};
    return tables;
}

QString programBackupFolder()
{
    const QString folder = programFolder() + QString::fromLatin1(kBackupFolder);
    QDir().mkpath(folder);
    return folder;
}

FileResult backupDatabase(Database &dm, const QString &target)
{
    dm.close();
    FileResult result = copyFileBytes(dm.databasePath(), target);
    if (!dm.open() && result)
        result = FileResult::failure(dm.lastError());
    return result;
}

bool isProgramDatabase(const QString &path)
{
    SqliteConnection db;
    if (!db.open(path, databaseKey()))
        return false;
    SqliteStatement settings(db, QStringLiteral(
        "Select count(*) from sqlite_master where type='table' and name='TPara' collate nocase"));
    if (!settings.next() || settings.value(0).toLongLong() != 1)
        return false;
    SqliteStatement check(db, QStringLiteral("PRAGMA quick_check"));
    return check.next() && check.value(0).toString() == QLatin1String("ok");
}

FileResult restoreDatabase(Database &dm, const QString &source)
{
    const QString database = dm.databasePath();
    if (isSameFile(source, database))
        return refused(source, "是数据库文件本身");
    const QString staging = database + QStringLiteral(".restore");
    dm.close();
    FileResult result = replaceDatabase(source, staging, database);
    if (!result)
        QFile::remove(staging);
    if (!dm.open() && result)
        result = FileResult::failure(dm.lastError());
    return result;
}

bool clearUserData(Database &dm)
{
    return dm.inTransaction([&dm] {
        for (const QString &table : userDataTables()) {
            if (!dm.execute(QStringLiteral("Delete from ") + table))
                return false;
        }
        return true;
    });
}
