#pragma once

#include <QDateTime>
#include <QString>

class Database;
class Recordset;

// What storing a work item did about its repeat rule.
struct StoredWorkItem {
    bool stored = false;   // the row and the next occurrence, if any, are written
    qint64 nextId = -1;    // the next occurrence created now; -1 when none was
    QString problem;       // the message when the rule could not be read: the item is stored, nothing follows
};

// Posts the pending row of a `TWork` Recordset (all columns, or at least ID). When it leaves a
// repeating item finished, the next occurrence is inserted in the same transaction: a new
// item with the title, type, priority, body and rule, its dates and reminder moved to the
// next occurrence, not handled yet. The next occurrence's UID is derived from the finished
// one's, so finishing the same occurrence again (after setting it back) finds it and creates
// nothing more. On failure nothing is written and the row's edit stays pending, as after a
// failed post.
StoredWorkItem postWorkItem(Database &dm, Recordset &work, const QDateTime &now);

// Puts the occurrence that follows a repeating item in the list when that item's reminder
// comes, finished or not, so that every occurrence reminds at its time even when the user
// never finishes the earlier ones. It is the occurrence finishing would create, under the same
// UID, so a later finishing finds it and creates nothing more. The new item's ID; -1 when the
// item does not repeat, its rule cannot be read or has ended, the next one is already there,
// or it could not be written (then nothing is).
qint64 continueSeries(Database &dm, qint64 id, const QDateTime &now);

// The day an item stands for in its series: its start, else its reminder, else its end, else
// the day it was last saved.
QDate occurrenceDay(const QVariant &start, bool useReminder, const QVariant &reminder, const QVariant &end,
                    const QVariant &lastUpdate);
