#pragma once

#include "safety/DataSafety.h"

#include <QDate>
#include <QDateTime>

class Database;

// The backup, restore and clearing commands of the settings page, with their dialogs and
// messages.
enum class CommandOutcome {
    Cancelled,
    // Reported to the user; the connection is open again, but the result sets bound to it
    // were closed with it and need loading again.
    Failed,
    // The user has been told that the program now restarts; the caller restarts it.
    Done,
};
CommandOutcome backupByUser(Database &dm, const QDate &today);
CommandOutcome restoreByUser(Database &dm);
CommandOutcome clearDataByUser(Database &dm);
// Brings back the data as it was before the last restore or clearing, after one question.
CommandOutcome undoByUser(Database &dm);

// Asks for a backup file and tells whether it would restore, with its date, size and how many
// work items and clients it holds; changes nothing.
void checkBackupByUser();

// The automatic backup of the minute tick into `folder`: not started when the disk lacks room
// for the copy, and once the copy is written and checked, the oldest automatic backups beyond
// `keep` are removed. Returns what the user is to be told, empty when the backup was taken.
QString takeAutomaticBackup(Database &dm, const QString &folder, const QDateTime &now, int keep,
                            const FreeSpaceQuery &freeSpace = folderFreeSpace);

// The name the backup dialog proposes for a backup taken on `day`.
QString proposedBackupName(const QDate &day);
