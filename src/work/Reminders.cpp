#include "work/Reminders.h"

#include "data/DbDates.h"
#include "data/Recordset.h"
#include "data/Database.h"

#include <algorithm>

QList<ReminderEntry> loadReminderCache(Database &dm)
{
    QList<ReminderEntry> cache;
    Recordset rs(dm);
    // Exactly the condition of the pending-reminder index, so only those rows are read; in
    // that index's order, or the planner may take the state index, which holds every item in
    // that state, reminder or not.
    if (!rs.open(QStringLiteral("Select ID,TimeHint from TWork where FinStu=1 and UseTimeHint=1 and HasHinted<>1 "
                                "Order by FinStu, TimeHint")))
        return cache;
    cache.reserve(rs.count());
    for (; !rs.eof(); rs.next()) {
        // A reminder switched on without a time is never due, as one on the zero date.
        if (dbdates::isEmpty(rs.value(QStringLiteral("TimeHint"))))
            continue;
        cache.append({qint32(rs.integer(QStringLiteral("ID"))), rs.dateTime(QStringLiteral("TimeHint")), false});
    }
    // The index yields them by time; of several due at once the oldest item comes first.
    std::sort(cache.begin(), cache.end(), [](const ReminderEntry &a, const ReminderEntry &b) { return a.id < b.id; });
    return cache;
}

int dueReminder(const QList<ReminderEntry> &cache, const QDateTime &now)
{
    const QString format = QStringLiteral("yy-MM-dd HH:mm");
    const QString current = now.toString(format);
    for (int i = 0; i < cache.size(); ++i) {
        if (!cache.at(i).shown && cache.at(i).time.toString(format) <= current)
            return i;
    }
    return -1;
}

void markReminderShown(Database &dm, ReminderEntry &entry)
{
    dm.execute(QStringLiteral("Update TWork Set HasHinted=1 where ID=?"), {entry.id});
    entry.shown = true;
}

QDateTime snoozeReminder(Database &dm, qint32 id, int minutes, const QDateTime &now)
{
    const QDateTime minute(now.date(), QTime(now.time().hour(), now.time().minute()));
    const QDateTime time = minute.addSecs(qint64(minutes) * 60);
    if (!dm.execute(QStringLiteral("Update TWork Set TimeHint=?, HasHinted=0 where ID=?"), {dbdates::toText(time), id}))
        return {};
    return time;
}

void rescheduleReminder(QList<ReminderEntry> &cache, qint32 id, const QDateTime &time)
{
    for (ReminderEntry &entry : cache) {
        if (entry.id == id) {
            entry.time = time;
            entry.shown = false;
            return;
        }
    }
    cache.append({id, time, false});
}
