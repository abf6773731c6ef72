#include "sync/SyncItems.h"

#include "data/Database.h"
#include "data/DbDates.h"
#include "data/Recordset.h"
#include "data/WorkItemUid.h"
#include "document/DocumentStore.h"
#include "interchange/ICalendarFile.h"
#include "interchange/WorkItemCalendar.h"
#include "interchange/WorkItemRows.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>

QString conflictCopySuffix()
{
    return QCoreApplication::translate("Sync", "（冲突副本）");
}

QByteArray rowHash(const SqliteStatement &row, int firstColumn)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int column = firstColumn; column < row.columnCount(); ++column) {
        const QVariant value = row.value(column);
        if (!value.isValid()) {
            hash.addData(QByteArrayView("\0N", 2));
            continue;
        }
        const QByteArray bytes = value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8();
        const qint64 size = bytes.size();
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(&size), sizeof size));
        hash.addData(bytes);
    }
    return hash.result().toHex();
}

namespace {

// The synced columns; LastUpTime and HasHinted change without the item changing.
const char kHashedColumns[] = "UID, Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, UseTimeHint, TimeHint, Content, RRule";

class WorkItems final : public SyncItems
{
public:
    WorkItems(Database &db, const QTimeZone &zone)
        : m_db(db)
        , m_zone(zone)
    {
    }

    Kind kind() const override { return Kind::WorkItems; }
    QByteArray contentType() const override { return QByteArrayLiteral("text/calendar; charset=utf-8"); }
    QString suffix() const override { return QStringLiteral(".ics"); }
    bool isCalendar() const override { return true; }

    QList<Local> scan() override
    {
        // Items stored by something that gave them no UID get theirs now.
        m_db.execute(fillMissingWorkItemUidsStatement());
        QList<Local> items;
        SqliteStatement rows(m_db.connection(), QStringLiteral("Select ID, %1 from TWork").arg(QLatin1String(kHashedColumns)));
        while (rows.next())
            items.append({rows.value(0).toLongLong(), rows.value(1).toString(), rowHash(rows, 1)});
        return items;
    }

    QByteArray hashOf(qint64 id) override
    {
        SqliteStatement row(m_db.connection(), QStringLiteral("Select ID, %1 from TWork where ID=?").arg(QLatin1String(kHashedColumns)));
        return row.bind({id}) && row.next() ? rowHash(row, 1) : QByteArray();
    }

    QByteArray render(qint64 id, const QString &uid) override
    {
        const std::optional<CalendarWorkItem> item = itemOf(id);
        if (!item)
            return {};
        CalendarWorkItem named = *item;
        named.uid = uid;
        return writeWorkItemCalendar({named}, m_zone);
    }

    Remote read(const QByteArray &data) override
    {
        Remote remote;
        if (const std::optional<CalendarWorkItem> item = parse(data)) {
            remote.readable = true;
            remote.uid = item->uid;
            remote.title = item->title;
        }
        return remote;
    }

    bool sameContent(qint64 id, const QString &uid, const QByteArray &data) override
    {
        const std::optional<CalendarWorkItem> ours = parse(render(id, uid));
        const std::optional<CalendarWorkItem> theirs = parse(data);
        if (!ours || !theirs)
            return false;
        return ours->title == theirs->title && ours->body == theirs->body && ours->categories == theirs->categories
            && ours->state == theirs->state && ours->priority == theirs->priority && ours->start == theirs->start
            && ours->end == theirs->end && ours->reminder == theirs->reminder && ours->repeatRule == theirs->repeatRule;
    }

    std::optional<qint64> insert(const QByteArray &data) override
    {
        const std::optional<CalendarWorkItem> item = parse(data);
        if (!item)
            return std::nullopt;
        QVariantList values = workRowValues(*item, workTypes(), platform::clock().now());
        values[kWorkBodyValue] = bodyOfPlainText(values.at(kWorkBodyValue).toString());
        values.append(item->uid);
        if (!m_db.execute(QStringLiteral("Insert into TWork (Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, LastUpTime, "
                                         "UseTimeHint, TimeHint, HasHinted, Content, RRule, UID) "
                                         "values (?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?)"),
                          values))
            return std::nullopt;
        return m_db.connection().lastInsertId();
    }

    bool update(qint64 id, const QByteArray &data) override
    {
        const std::optional<CalendarWorkItem> item = parse(data);
        if (!item)
            return false;
        QVariantList values = workRowValues(*item, workTypes(), platform::clock().now());
        const QString body = values.at(kWorkBodyValue).toString();
        SqliteStatement current(m_db.connection(), QStringLiteral("Select Content from TWork where ID=?"));
        if (!current.bind({id}) || !current.next())
            return false;
        const QByteArray stored = current.value(0).toByteArray();
        if (storedDocumentText(stored) == body) {
            values[kWorkBodyValue] = stored; // the formatting and pictures stay
        } else {
            // Only the text travels: the body it replaces is kept for the item's menu.
            if (stored.size() > kNoBodyLimit
                && !m_db.execute(QStringLiteral("Insert into TSyncBodyBackup (WorkID, SavedAt, Content) values (?, ?, ?)"),
                                 {id, dbdates::toText(platform::clock().now()), stored}))
                return false;
            values[kWorkBodyValue] = bodyOfPlainText(body);
        }
        values.append(id);
        return m_db.execute(QStringLiteral("Update TWork Set Title=?, WorkType=?, FinStu=?, ZY=?, TimeStart=?, TimeEnd=?, "
                                           "LastUpTime=?, UseTimeHint=?, TimeHint=?, Content=?, RRule=? where ID=?"),
                            values);
    }

    bool remove(qint64 id) override
    {
        return m_db.execute(QStringLiteral("Delete from TWork where ID=?"), {id});
    }

    std::optional<qint64> insertConflictCopy(qint64 id) override
    {
        const QString title = m_db.queryValue(QStringLiteral("Select Title from TWork where ID=?"), {id});
        const QString suffix = conflictCopySuffix();
        const QString copyTitle = title.left(kWorkTitleLength - suffix.size()) + suffix;
        if (!m_db.execute(QStringLiteral("Insert into TWork (Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, LastUpTime, "
                                         "UseTimeHint, TimeHint, HasHinted, Content, RRule, UID) "
                                         "Select ?, WorkType, FinStu, ZY, TimeStart, TimeEnd, LastUpTime, UseTimeHint, "
                                         "TimeHint, HasHinted, Content, RRule, ? from TWork where ID=?"),
                          {copyTitle, newWorkItemUid(), id}))
            return std::nullopt;
        return m_db.connection().lastInsertId();
    }

private:
    std::optional<CalendarWorkItem> parse(const QByteArray &data) const
    {
        const icalendarfile::Text text = icalendarfile::fromBytes(data);
        if (text.problem != icalendarfile::Problem::None)
            return std::nullopt;
        const CalendarReadResult read = readWorkItemCalendar(text.utf8, m_zone);
        if (!read.parsed || read.items.isEmpty())
            return std::nullopt;
        return read.items.first();
    }

    std::optional<CalendarWorkItem> itemOf(qint64 id)
    {
        Recordset rs(m_db);
        if (!rs.open(QStringLiteral("Select %1 from TWork where ID=?").arg(QLatin1String(kWorkItemColumns)), {id}) || rs.isEmpty())
            return std::nullopt;
        CalendarWorkItem item = itemOfWorkRow(rs);
        item.body = storedDocumentText(rs.blob(QStringLiteral("Content")));
        return item;
    }

    const QStringList &workTypes()
    {
        if (m_types.isEmpty())
            m_db.appendNonEmptyValues(QStringLiteral("select Title from TWorkClass Order by OrderIdx"), m_types, false);
        return m_types;
    }

    Database &m_db;
    QTimeZone m_zone;
    QStringList m_types;
};

} // namespace

std::unique_ptr<SyncItems> workItemsForSync(Database &db, const QTimeZone &zone)
{
    return std::make_unique<WorkItems>(db, zone);
}
