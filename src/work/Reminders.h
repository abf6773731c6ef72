#pragma once

#include <QDateTime>
#include <QList>

class TDM;

// A work item waiting to be reminded of.
struct ReminderEntry {
    qint32 id = 0;
    QDateTime time;
    bool shown = false;
};

// The items still to be reminded of: not handled yet, with a reminder that has not been
// shown. Rebuilt with every reload of the work list; empty when the query fails.
QList<ReminderEntry> loadReminderCache(TDM &dm);
