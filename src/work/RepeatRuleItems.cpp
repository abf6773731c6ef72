#include "work/RepeatRuleItems.h"

#include "data/Database.h"
#include "data/DbDates.h"
#include "data/Recordset.h"
#include "data/WorkItemUid.h"
#include "work/RepeatRule.h"

#include <QCoreApplication>
#include <QUuid>

namespace {

constexpr int Finished = 3;

// The namespace of the UIDs given to next occurrences; any fixed UUID would do.
const QUuid NextOccurrenceNamespace(QStringLiteral("{5b0c6f57-3d0e-4a3c-9a8f-2f6c1d7e4b21}"));

QString nextOccurrenceUid(const QString &finishedUid)
{
    return QUuid::createUuidV5(NextOccurrenceNamespace, finishedUid).toString(QUuid::WithoutBraces);
}

// The item as it will be stored: the pending row over the stored one, whose columns the list's
// Recordset does not load.
class ItemValues
{
public:
    ItemValues(Database &dm, const Recordset &work)
        : m_work(work)
        , m_stored(dm)
    {
        if (!work.isNull(QStringLiteral("ID")))
            m_stored.open(QStringLiteral("Select * from TWork where ID=?"), {work.integer(QStringLiteral("ID"))});
    }

    QVariant value(const QString &field) const
    {
        return m_work.hasField(field) ? m_work.value(field) : m_stored.value(field);
    }
    QString text(const QString &field) const { return value(field).toString(); }
    bool readable() const { return m_work.isNull(QStringLiteral("ID")) || m_stored.isOpen(); }

private:
    const Recordset &m_work;
    Recordset m_stored;
};

QVariant movedBy(const QVariant &stored, qint64 days)
{
    if (dbdates::isEmpty(stored))
        return stored;
    return dbdates::toText(dbdates::fromValue(stored).addDays(days));
}

enum class Outcome { Nothing, Inserted, Failed };

// Inserts the occurrence after the finished item, unless its rule has ended or the occurrence
// is already there. `uid` is the finished item's.
Outcome insertNextOccurrence(Database &dm, const ItemValues &item, const QString &uid, const QDateTime &now, qint64 &nextId)
{
    const QString rule = item.text(QStringLiteral("RRule")).trimmed();
    const bool useReminder = item.value(QStringLiteral("UseTimeHint")).toInt() != 0;
    const QVariant start = item.value(QStringLiteral("TimeStart"));
    const QVariant end = item.value(QStringLiteral("TimeEnd"));
    const QVariant reminder = item.value(QStringLiteral("TimeHint"));
    const QDate finished = occurrenceDay(start, useReminder, reminder, end, item.value(QStringLiteral("LastUpTime")));
    const std::optional<repeat::NextOccurrence> next = repeat::nextOccurrence(rule, finished.isValid() ? finished : now.date(), now.date());
    if (!next)
        return Outcome::Nothing;
    const QString nextUid = nextOccurrenceUid(uid);
    if (!dm.queryValue(QStringLiteral("Select ID from TWork where UID=?"), {nextUid}).isEmpty())
        return Outcome::Nothing;

    const qint64 step = (finished.isValid() ? finished : now.date()).daysTo(next->date);
    const bool undated = dbdates::isEmpty(start) && dbdates::isEmpty(end) && !(useReminder && !dbdates::isEmpty(reminder));
    Recordset row(dm);
    if (!row.open(QStringLiteral("Select * from TWork where ID=-1")))
        return Outcome::Failed;
    row.append();
    const bool written =
        row.set(QStringLiteral("Title"), item.value(QStringLiteral("Title")))
        && row.set(QStringLiteral("WorkType"), item.value(QStringLiteral("WorkType")))
        && row.set(QStringLiteral("FinStu"), 1)
        && row.set(QStringLiteral("ZY"), item.value(QStringLiteral("ZY")))
        // An item without dates gets the day it stands for, so that its own next one follows.
        && row.set(QStringLiteral("TimeStart"), undated ? QVariant(dbdates::toText(next->date)) : movedBy(start, step))
        && row.set(QStringLiteral("TimeEnd"), movedBy(end, step))
        && row.set(QStringLiteral("LastUpTime"), now)
        && row.set(QStringLiteral("UseTimeHint"), useReminder ? 1 : 0)
        && row.set(QStringLiteral("TimeHint"), movedBy(reminder, step))
        && row.set(QStringLiteral("HasHinted"), 0)
        && row.set(QStringLiteral("Content"), item.value(QStringLiteral("Content")))
        && row.set(QStringLiteral("RRule"), next->rule)
        && row.set(QStringLiteral("UID"), nextUid)
        && row.post();
    if (!written)
        return Outcome::Failed;
    nextId = row.integer(QStringLiteral("ID"));
    return Outcome::Inserted;
}

} // namespace

QDate occurrenceDay(const QVariant &start, bool useReminder, const QVariant &reminder, const QVariant &end,
                    const QVariant &lastUpdate)
{
    for (const QVariant &day : {start, useReminder ? reminder : QVariant(), end, lastUpdate}) {
        if (!dbdates::isEmpty(day))
            return dbdates::fromValue(day).date();
    }
    return {};
}

StoredWorkItem postWorkItem(Database &dm, Recordset &work, const QDateTime &now)
{
    StoredWorkItem result;
    result.stored = dm.inTransaction([&] {
        const ItemValues item(dm, work);
        const QString rule = item.text(QStringLiteral("RRule")).trimmed();
        if (item.value(QStringLiteral("FinStu")).toInt() != Finished || rule.isEmpty())
            return work.post();
        if (!item.readable())
            return false;
        result.problem = repeat::ruleProblem(rule);
        if (!result.problem.isEmpty()) {
            result.problem += QCoreApplication::translate("RepeatRule", "\r没有生成下一次的事务。");
            return work.post();
        }
        QString uid = item.text(QStringLiteral("UID"));
        if (uid.isEmpty()) {
            // The samples of a new installation and files edited by hand lack one.
            uid = newWorkItemUid();
            const bool given = work.hasField(QStringLiteral("UID"))
                                   ? work.set(QStringLiteral("UID"), uid)
                                   : dm.execute(QStringLiteral("Update TWork Set UID=? where ID=?"), {uid, work.integer(QStringLiteral("ID"))});
            if (!given)
                return false;
        }
        qint64 nextId = -1;
        if (insertNextOccurrence(dm, item, uid, now, nextId) == Outcome::Failed || !work.post())
            return false;
        result.nextId = nextId;
        return true;
    });
    if (!result.stored)
        result.nextId = -1;
    return result;
}

qint64 continueSeries(Database &dm, qint64 id, const QDateTime &now)
{
    qint64 nextId = -1;
    dm.inTransaction([&] {
        Recordset work(dm);
        if (!work.open(QStringLiteral("Select ID from TWork where ID=?"), {id}) || work.isEmpty())
            return false;
        const ItemValues item(dm, work);
        const QString uid = item.text(QStringLiteral("UID"));
        const QString rule = item.text(QStringLiteral("RRule")).trimmed();
        if (!item.readable() || uid.isEmpty() || rule.isEmpty() || !repeat::ruleProblem(rule).isEmpty())
            return false;
        return insertNextOccurrence(dm, item, uid, now, nextId) == Outcome::Inserted;
    });
    return nextId;
}
