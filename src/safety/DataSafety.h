#pragma once

#include "safety/FileCopy.h"

#include <QDateTime>
#include <QStringList>

#include <functional>

class Database;

// The database file operations behind backup, restore and clearing. None of them, however it
// is interrupted, leaves the database file damaged or half replaced.

// The tables of the user's own data, in the order clearing empties them. The settings, the
// follow-up steps, the search sites, the post codes and the time zones stay.
const QStringList &userDataTables();

// The program's own backup folder, created when it is missing.
QString programBackupFolder();

// The database as it was before the last restore or clearing, in the program's backup
// folder; the undo command restores it.
QString undoFilePath();

// Closes the connection, copies the database file to `target`, opens the connection again.
FileResult backupDatabase(Database &dm, const QString &target);

// True when the file opens with the program's key, holds the settings table and every
// user-data table, and passes SQLite's quick check.
bool isProgramDatabase(const QString &path);

// isProgramDatabase for a copy of the program's own that nothing else writes, as restore and
// the backup check make: read through a memory map, it spends its time decrypting rather than
// entering the kernel. What that reading refuses is checked again the ordinary way, so that it
// refuses exactly what isProgramDatabase refuses.
bool isProgramDatabaseCopy(const QString &copy);

// Replaces the database file with the backup `source`. The backup is copied beside the
// database first, checked with isProgramDatabaseCopy and only then renamed over the database, so
// a file that is not a sound backup of this program, or the database file itself, leaves the
// database exactly as it was. Once the backup has passed, the database as it was is kept as
// the undo file (a second name of the replaced file, or a copy); when that fails, nothing is
// replaced and `undoError`, if given, receives the reason. Restoring the undo file itself swaps the two, so an undo can be undone. The
// connection is closed meanwhile and opened again afterwards.
FileResult restoreDatabase(Database &dm, const QString &source, QString *undoError = nullptr);

// Keeps the database as the undo file, then deletes every row of the user-data tables in one
// transaction: all or nothing. When the undo copy fails nothing is deleted and `undoError`, if
// given, receives the reason.
bool clearUserData(Database &dm, QString *undoError = nullptr);

// What a backup file holds, found on a copy of it with the same check a restore makes; the
// file itself is never opened by the database engine.
struct BackupSummary {
    bool restorable = false;
    QString reason;          // why it would not restore
    QDateTime modified;
    qint64 size = 0;
    qint64 workItems = 0;
    qint64 clients = 0;
};
BackupSummary inspectBackup(const QString &path);

// What a backup folder holds of the program's automatic backups ("yyyyMMddhh.WBK", files of
// that exact pattern only), oldest first.
QStringList automaticBackups(const QString &folder);

// Removes the oldest automatic backups of `folder` until `keep` remain, never `newest` (the
// backup just written) and nothing when `keep` is 0. Returns the names removed; a file that
// cannot be removed stays and counts as kept.
QStringList pruneAutomaticBackups(const QString &folder, int keep, const QString &newest);

// Free bytes for a new file in `folder`; negative when the system cannot tell.
qint64 folderFreeSpace(const QString &folder);
using FreeSpaceQuery = std::function<qint64(const QString &folder)>;

// True when `available` bytes hold a copy of `databaseSize` bytes with a tenth to spare (an
// unknown free space does not stop a backup).
bool hasRoomForBackup(qint64 available, qint64 databaseSize);

// Removes what copies that were killed left behind: an undo file that is the database itself
// under a second name (a restore cut short), "<database>.restore" and
// "<database>.restore.part" beside the database, "<name>.WBK.part" in the given backup
// folders. Returns the paths removed.
QStringList removeCopyLeftovers(const QString &database, const QStringList &backupFolders);
