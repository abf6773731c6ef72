#include "safety/BackupSchedule.h"

#include "safety/DataSafety.h"
#include "util/Weekday.h"

#include <QDir>
#include <QFileInfo>

namespace {

std::optional<QTime> readTime(const QString &text)
{
    for (const char *format : {"hh:mm", "h:mm"}) {
        const QTime time = QTime::fromString(text, QLatin1String(format));
        if (time.isValid())
            return time;
    }
    return std::nullopt;
}

} // namespace

std::optional<BackupSchedule> parseBackupSchedule(const QString &text)
{
    if (text.size() < 2 || text.at(1) != ',')
        return std::nullopt;
    BackupSchedule schedule;
    schedule.weekly = text.at(0) != '0';
    QString time = text.mid(2);
    if (schedule.weekly) {
        if (time.size() < 2 || time.at(0) < '0' || time.at(0) > '6' || time.at(1) != ',')
            return std::nullopt;
        schedule.weekday = time.at(0).digitValue();
        time = time.mid(2);
    }
    const std::optional<QTime> read = readTime(time);
    if (!read)
        return std::nullopt;
    schedule.time = *read;
    return schedule;
}

QString formatBackupSchedule(const BackupSchedule &schedule)
{
    const QString time = schedule.time.toString(QStringLiteral("HH:mm"));
    return schedule.weekly ? QStringLiteral("1,%1,%2").arg(schedule.weekday).arg(time) : QStringLiteral("0,") + time;
}

QDateTime lastScheduledBackup(const BackupSchedule &schedule, const QDateTime &now)
{
    const QTime time(schedule.time.hour(), schedule.time.minute());
    const int daysBack = schedule.weekly ? (weekdayIndex(now) - schedule.weekday + 7) % 7 : 0;
    QDateTime moment(now.date().addDays(-daysBack), time);
    if (moment > now)
        moment = moment.addDays(schedule.weekly ? -7 : -1);
    return moment;
}

QString autoBackupPath(const QString &folder, const QDateTime &now)
{
    return QDir(folder).filePath(now.toString(QStringLiteral("yyyyMMddhh")) + QStringLiteral(".WBK"));
}

bool autoBackupTakenSince(const QString &folder, const QDateTime &since)
{
    // Only the program's own names: a file of the user's just saved there is no backup taken.
    const QDir dir(folder);
    const QStringList backups = automaticBackups(folder);
    return std::any_of(backups.cbegin(), backups.cend(),
                       [&](const QString &backup) { return QFileInfo(dir.filePath(backup)).lastModified() >= since; });
}

bool BackupScheduler::isDue(bool enabled, const QString &folder, const QString &schedule, const QDateTime &now)
{
    if (!enabled || folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    const std::optional<BackupSchedule> parsed = parseBackupSchedule(schedule);
    if (!parsed)
        return false;
    const QDateTime moment = lastScheduledBackup(*parsed, now);
    if (moment == m_handled)
        return false;
    m_handled = moment;
    return moment.secsTo(now) < 60 || !autoBackupTakenSince(folder, moment);
}
