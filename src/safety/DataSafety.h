#pragma once

#include "safety/FileCopy.h"

#include <QStringList>

class Database;

// The database file operations behind backup, restore and clearing. None of them, however it
// is interrupted, leaves the database file damaged or half replaced.

// The tables of the user's own data, in the order clearing empties them. The settings, the
// follow-up steps, the search sites, the post codes and the time zones stay.
const QStringList &userDataTables();

// The program's own backup folder, created when it is missing.
QString programBackupFolder();

// Closes the connection, copies the database file to `target`, opens the connection again.
FileResult backupDatabase(Database &dm, const QString &target);

// True when the file opens with the program's key, holds the settings table and passes
// SQLite's quick check.
bool isProgramDatabase(const QString &path);

// Replaces the database file with the backup `source`. The backup is copied beside the
// database first, checked with isProgramDatabase and only then renamed over the database, so
// a file that is not a sound backup of this program, or the database file itself, leaves the
// database exactly as it was. The connection is closed meanwhile and opened again afterwards.
FileResult restoreDatabase(Database &dm, const QString &source);

// Deletes every row of the user-data tables in one transaction: all or nothing.
bool clearUserData(Database &dm);
