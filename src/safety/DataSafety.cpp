#include "safety/DataSafety.h"

#include "data/Schema.h"

#include "data/ProgramFolder.h"
#include "data/Sqlite.h"
#include "data/Database.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

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

// Keeps the database about to be replaced as `undo`: under a second name of the same file,
// since nothing writes that file once the restored copy has taken its name; as a copy where
// the folder cannot hold a second name (another file system). Until the replacing, both names
// are the same file: a restore cut short there leaves the undo for the start-up to remove
// (removeCopyLeftovers), and one that fails undoes it at once.
FileResult keepAsUndo(const QString &database, const QString &undo)
{
    const QByteArray part = QFile::encodeName(undo) + ".part";
    ::unlink(part.constData());
    if (::link(QFile::encodeName(database).constData(), part.constData()) != 0)
        return copyFileBytes(database, undo);
    if (::rename(part.constData(), QFile::encodeName(undo).constData()) != 0) {
        const FileResult failed = FileResult::failure(
            QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(undo), QString::fromLocal8Bit(std::strerror(errno))));
        ::unlink(part.constData());
        return failed;
    }
    syncFolder(QFileInfo(undo).absolutePath());
    return FileResult::success();
}

bool hasProgramShapeAndPassesQuickCheck(SqliteConnection &db)
{
    // A keyed file of some other shape would restore into a program that cannot show it.
    SqliteStatement present(db, QStringLiteral(
        "Select count(*) from sqlite_master where type='table' and name=? collate nocase"));
    for (const QString &table : QStringList{QStringLiteral("TPara")} + userDataTables()) {
        if (!present.bind({table}) || !present.next() || present.value(0).toLongLong() != 1)
            return false;
    }
    SqliteStatement check(db, QStringLiteral("PRAGMA quick_check"));
    return check.next() && check.value(0).toString() == QLatin1String("ok");
}

// Copies the backup to `staging`, checks the copy, keeps the database as `undo` and renames
// the copy over the database.
FileResult replaceDatabase(const QString &source, const QString &staging, const QString &database,
                           const QString &undo, QString *undoError)
{
    // Left over from a restore that was cut short.
    QFile::remove(staging);
    QFile::remove(journalOf(staging));

    const FileResult copied = copyFileBytes(source, staging);
    if (!copied)
        return copied;
    if (!isProgramDatabaseCopy(staging))
        return refused(source, "不是本软件的备份文件");

    // A program in the middle of writing the database keeps it locked: it is not replaced
    // under that program's feet, and its half-written state is no undo either.
    if (!ExclusiveFileLock(database).held())
        return refused(database, "数据库正被其他程序使用");
    // Only now: a file that was refused leaves the undo of the last command in place. A
    // database that is missing has nothing to keep.
    const bool hadDatabase = QFileInfo::exists(database);
    if (hadDatabase) {
        const FileResult kept = keepAsUndo(database, undo);
        if (!kept) {
            if (undoError)
                *undoError = kept.error;
            return kept;
        }
    }

    // Locked again for the replacing. A journal without a program that holds the lock belongs
    // to a database that could not be opened to play it back; it must not be played back onto
    // the restored file.
    const ExclusiveFileLock lock(database);
    const char *problem = nullptr;
    if (!lock.held()) {
        problem = "数据库正被其他程序使用";
    } else {
        QFile::remove(journalOf(database));
        if (std::rename(QFile::encodeName(staging).constData(), QFile::encodeName(database).constData()) != 0)
            problem = "无法替换数据库文件";
    }
    if (problem) {
        // The database stays in use under its name: the undo must not change with it.
        if (hadDatabase && isSameFile(database, undo) && QFile::remove(undo))
            copyFileBytes(database, undo);
        return refused(database, problem);
    }
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

QString undoFilePath()
{
    return QDir(programBackupFolder()).filePath(QStringLiteral("撤销前的数据.WBK"));
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
    return db.open(path, databaseKey()) && hasProgramShapeAndPassesQuickCheck(db);
}

bool isProgramDatabaseCopy(const QString &copy)
{
    SqliteConnection db;
    if (db.open(copy, databaseKey(), SqliteConnection::Access::ReadUnchanging) && hasProgramShapeAndPassesQuickCheck(db))
        return true;
    db.close();
    return isProgramDatabase(copy);
}

FileResult restoreDatabase(Database &dm, const QString &source, QString *undoError)
{
    const QString database = dm.databasePath();
    if (isSameFile(source, database))
        return refused(source, "是数据库文件本身");
    const QString staging = database + QStringLiteral(".restore");
    dm.close();
    FileResult result = replaceDatabase(source, staging, database, undoFilePath(), undoError);
    if (!result)
        QFile::remove(staging);
    if (!dm.open() && result)
        result = FileResult::failure(dm.lastError());
    // The sync state of the backup describes the server as it was then: trusting it, the next
    // sync would pass on the deletions since then to what was just restored.
    if (result) {
        for (const QString &statement : distrustSyncStateStatements())
            dm.execute(statement); // a backup older than the sync tables gets them at the next start
    }
    return result;
}

bool clearUserData(Database &dm, QString *undoError)
{
    const FileResult kept = backupDatabase(dm, undoFilePath());
    if (!kept) {
        if (undoError)
            *undoError = kept.error;
        return false;
    }
    return dm.inTransaction([&dm] {
        for (const QString &table : userDataTables()) {
            if (!dm.execute(QStringLiteral("Delete from ") + table))
                return false;
        }
        // Without its items the sync state would tell the server to delete them all; the
        // account stays, as the settings do.
        for (const QString &table : syncStateTables()) {
            const bool present = dm.queryValue(QStringLiteral("Select count(*) from sqlite_master where name=?"), {table})
                == QStringLiteral("1");
            if (present && !dm.execute(QStringLiteral("Delete from ") + table))
                return false;
        }
        return true;
    });
}

BackupSummary inspectBackup(const QString &path)
{
    BackupSummary summary;
    const QFileInfo info(path);
    summary.modified = info.lastModified();
    summary.size = info.size();
    // A journal beside the backup would be played back into it by an opening in place.
    const QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("check.WBK"));
    const FileResult copied = scratch.isValid() ? copyFileBytes(path, copy) : FileResult::failure(scratch.errorString());
    if (!copied) {
        summary.reason = copied.error;
        return summary;
    }
    if (!isProgramDatabaseCopy(copy)) {
        summary.reason = QCoreApplication::translate("DataSafety", "不是本软件的备份文件，或者文件已经损坏");
        return summary;
    }
    SqliteConnection db;
    if (!db.open(copy, databaseKey())) {
        summary.reason = db.lastError();
        return summary;
    }
    SqliteStatement work(db, QStringLiteral("Select count(*) from TWork"));
    SqliteStatement clients(db, QStringLiteral("Select count(*) from TCLient"));
    summary.restorable = work.next() && clients.next();
    summary.workItems = work.value(0).toLongLong();
    summary.clients = clients.value(0).toLongLong();
    return summary;
}

QStringList automaticBackups(const QString &folder)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{10})\\.WBK$"));
    QStringList found;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QRegularExpressionMatch match = pattern.match(entry.fileName());
        // A link or a name that is no date and hour was not written by the program.
        if (match.hasMatch() && !entry.isSymLink() && entry.isFile()
            && QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMddhh")).isValid())
            found.append(entry.fileName());
    }
    return found; // the name is the date and hour, so name order is age order
}

QStringList pruneAutomaticBackups(const QString &folder, int keep, const QString &newest)
{
    QStringList removed;
    if (keep <= 0)
        return removed;
    const QDir dir(folder);
    QStringList older = automaticBackups(folder);
    older.removeAll(QFileInfo(newest).fileName());
    // The newest is one of the kept, whatever its name says about the clock.
    qsizetype surplus = older.size() - (keep - 1);
    for (qsizetype i = 0; i < older.size() && surplus > 0; ++i) {
        if (QFile::remove(dir.filePath(older.at(i)))) {
            removed.append(older.at(i));
            --surplus;
        }
    }
    if (!removed.isEmpty())
        syncFolder(folder);
    return removed;
}

qint64 folderFreeSpace(const QString &folder)
{
    const QStorageInfo storage(folder);
    return storage.isValid() && storage.isReady() ? storage.bytesAvailable() : -1;
}

bool hasRoomForBackup(qint64 available, qint64 databaseSize)
{
    return available < 0 || available >= databaseSize + (databaseSize + 9) / 10;
}

QStringList removeCopyLeftovers(const QString &database, const QStringList &backupFolders)
{
    QStringList candidates{database + QStringLiteral(".restore"), database + QStringLiteral(".restore.part")};
    for (const QString &folder : backupFolders) {
        if (folder.isEmpty())
            continue;
        const QDir dir(folder);
        for (const QString &name : dir.entryList({QStringLiteral("*.WBK.part")}, QDir::Files | QDir::Hidden | QDir::System)) {
            if (name.endsWith(QLatin1String(".WBK.part"))) // the filter ignores case; the copy's name does not
                candidates.append(dir.filePath(name));
        }
    }
    QStringList removed;
    // A restore cut short between keeping the undo and replacing the database leaves the undo
    // as a second name of the database itself: it holds nothing the database does not, and
    // would change with it.
    const QString undo = undoFilePath();
    if (isSameFile(undo, database) && QFile::remove(undo))
        removed.append(QFileInfo(undo).absoluteFilePath());
    for (const QString &path : candidates) {
        const QFileInfo info(path);
        if (info.isFile() && !info.isSymLink() && !removed.contains(info.absoluteFilePath()) && QFile::remove(path))
            removed.append(info.absoluteFilePath());
    }
    return removed;
}
