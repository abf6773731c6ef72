#include "data/SyncBodyBackups.h"

#include "data/Database.h"
#include "data/DbDates.h"
#include "data/Sqlite.h"

bool hasBodyBackup(Database &db, qint64 workId)
{
    return db.queryValue(QStringLiteral("Select count(*) from TSyncBodyBackup where WorkID=?"), {workId}).toInt() > 0;
}

bool restoreBodyBackup(Database &db, qint64 workId, const QDateTime &now)
{
    return db.inTransaction([&] {
        SqliteStatement latest(db.connection(),
                               QStringLiteral("Select ID, Content from TSyncBodyBackup where WorkID=? order by ID desc LIMIT 1"));
        SqliteStatement current(db.connection(), QStringLiteral("Select Content from TWork where ID=?"));
        if (!latest.bind({workId}) || !latest.next() || !current.bind({workId}) || !current.next())
            return false;
        const qint64 backupId = latest.value(0).toLongLong();
        const QByteArray kept = latest.value(1).toByteArray();
        const QByteArray replaced = current.value(0).toByteArray();
        return db.execute(QStringLiteral("Update TWork Set Content=? where ID=?"), {kept, workId})
            && db.execute(QStringLiteral("Delete from TSyncBodyBackup where ID=?"), {backupId})
            && db.execute(QStringLiteral("Insert into TSyncBodyBackup (WorkID, SavedAt, Content) values (?, ?, ?)"),
                          {workId, dbdates::toText(now), replaced});
    });
}
