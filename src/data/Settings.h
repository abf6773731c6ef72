#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class Recordset;
class Database;

// The single settings row TPara as values. The main window mirrors most of them in its
// controls and writes them back whenever the user changes one.
struct Settings {
    QString loginPassword;          // as stored: a password hash, or a plain value of an older file
    bool hideAtStart = false;
    bool autoBackup = false;
    QString autoBackupFolder;
    QString autoBackupSchedule;      // backup schedule, "0,hh:nn" or "1,d,hh:nn"
    int pendingWorkColor = 0;
    int inProgressWorkColor = 0;
    int finishedWorkColor = 0;
    int abandonedWorkColor = 0;
    bool requirePassword = false;
    int workListWidth = 0;
    bool startAtLogin = false;
    bool windowMaximized = false;    // the main window was maximised when last left
    int autoBackupKeep = 0;          // automatic backups kept in their folder, 0 for all
};

// True when the result set has a column of that name, compared without regard to case.
bool fieldExists(const QString &name, const Recordset &recordset);

// Brings a database file of an older version up to date: adds the settings columns, the
// reminder flag of the work items and the places' time zones that later versions
// introduced, each with its default.
// Returns the statements it ran (none on an up-to-date file); a failing pair is skipped.
QStringList upgradeSchema(Database &database, const QString &programFolder);

// Reads the settings row. Nothing when TPara cannot be read (the caller then keeps its
// defaults); an empty table reads as default settings, a missing column as its default.
std::optional<Settings> loadSettings(Database &database);

enum class SaveResult { Saved, Unreadable, NotStored };

// Writes every setting except the login password, which only the password change writes.
// Creates the row when the table is empty.
SaveResult saveSettings(Database &database, const Settings &settings);

// Stores a new login password (already hashed) in the settings row.
bool saveLoginPassword(Database &database, const QString &storedPassword);
