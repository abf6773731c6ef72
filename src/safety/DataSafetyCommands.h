#pragma once

#include <QDate>

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

// The name the backup dialog proposes for a backup taken on `day`.
QString proposedBackupName(const QDate &day);
