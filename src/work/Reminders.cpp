#include "work/Reminders.h"

#include "data/Recordset.h"

QList<ReminderEntry> loadReminderCache(TDM &dm)
{
    QList<ReminderEntry> cache;
    Recordset rs(dm);
    if (!rs.open(QStringLiteral("Select ID,TimeHint,HasHinted from TWork where FinStu=1 and UseTimeHint=1 and HasHinted<>1")))
        return cache;
    cache.reserve(rs.count());
    for (; !rs.eof(); rs.next())
        cache.append({qint32(rs.integer(QStringLiteral("ID"))), rs.dateTime(QStringLiteral("TimeHint")), false});
    return cache;
}
