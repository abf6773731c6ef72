#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The automatic backup's schedule as stored in the settings: "0,hh:nn" daily, or
// "1,d,hh:nn" weekly on weekday d (0 Monday … 6 Sunday).
struct BackupSchedule {
    bool weekly = false;
    int weekday = 4;
    QTime time{12, 30};
};

// Nothing when the text does not follow either form.
std::optional<BackupSchedule> parseBackupSchedule(const QString &text);
QString formatBackupSchedule(const BackupSchedule &schedule);

// The latest scheduled moment at or before `now`.
QDateTime lastScheduledBackup(const BackupSchedule &schedule, const QDateTime &now);

// folder + "yyyyMMddhh.WBK" of `now`, with one separator between them.
QString autoBackupPath(const QString &folder, const QDateTime &now);

// True when `folder` holds an automatic backup written at or after `since`.
bool autoBackupTakenSince(const QString &folder, const QDateTime &since);

// Decides, tick by tick, when the automatic backup is due: in the scheduled minute, and, for a
// scheduled moment that passed while the program was not running or the machine slept, at the
// first tick after it when the folder holds no backup taken since. Each scheduled moment
// counts once, whether its backup then succeeds or fails.
class BackupScheduler
{
public:
    // `enabled` and `folder` as the settings page shows them now; no backup into a folder that
    // does not exist, and no message about it.
    bool isDue(bool enabled, const QString &folder, const QString &schedule, const QDateTime &now);

private:
    QDateTime m_handled;
};
