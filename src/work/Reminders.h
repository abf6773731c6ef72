#pragma once

#include <QDateTime>
#include <QList>

class Database;

// A work item waiting to be reminded of.
struct ReminderEntry {
    qint32 id = 0;
    QDateTime time;
    bool shown = false;
};

// The items still to be reminded of: not handled yet, with a reminder time that has not been
// shown. Rebuilt with every reload of the work list; empty when the query fails.
QList<ReminderEntry> loadReminderCache(Database &dm);

// The first entry in cache order that is due at `now` and not shown yet; -1 when none is.
// Due means its time, written "yy-MM-dd HH:mm", is not after the current minute so written.
int dueReminder(const QList<ReminderEntry> &cache, const QDateTime &now);

// Marks the entry shown, in the cache and in the table. A failed write is let go: the item
// then comes back with the next reload of the list.
void markReminderShown(Database &dm, ReminderEntry &entry);

// Puts the item's reminder `minutes` from the current minute and makes it due again.
// The new time, or an invalid one when it could not be stored (nothing changed then).
QDateTime snoozeReminder(Database &dm, qint32 id, int minutes, const QDateTime &now);

// Gives the cache the item's new reminder time, not shown yet, so the minute tick finds it
// without a reload of the list.
void rescheduleReminder(QList<ReminderEntry> &cache, qint32 id, const QDateTime &time);
