#include "interchange/WorkItemRows.h"

#include "data/DbDates.h"
#include "data/Recordset.h"

namespace {

QVariant storedTime(const QDateTime &value)
{
    return value.isValid() ? QVariant(dbdates::toText(value)) : QVariant();
}

QDateTime readTime(const Recordset &rs, const QString &field)
{
    return storedWorkTime(rs.value(field));
}

// A list of names as other programs keep it: split at commas, each trimmed.
QString commaList(const QString &names)
{
    QStringList parts = names.split(QLatin1Char(','));
    for (QString &part : parts)
        part = part.trimmed();
    return parts.join(QLatin1Char(','));
}

} // namespace

// ISO text is read as it stands: the detour of dbdates through the machine's local time asks
// the system for its zone on every value, which cost an export of many items most of its time.
QDateTime storedWorkTime(const QVariant &stored)
{
    QDateTime value;
    if (stored.typeId() == QMetaType::QString) {
        const QString text = stored.toString().trimmed();
        const QDate date = QDate::fromString(QStringView(text).left(10), Qt::ISODate);
        const QTime time = text.size() == 10 ? QTime(0, 0)
            : text.size() > 11 && text.at(10) == QLatin1Char(' ') ? QTime::fromString(QStringView(text).mid(11), Qt::ISODate)
                                                                    : QTime();
        if (date.isValid() && time.isValid())
            value = QDateTime(date, time, Qt::UTC);
    }
    if (!value.isValid()) {
        const QDateTime other = dbdates::fromValue(stored); // days as a number, and other older forms
        if (!other.isValid())
            return {};
        value = QDateTime(other.date(), other.time(), Qt::UTC);
    }
    static const QDateTime lastEmpty(dbdates::zeroDate().addDays(100), QTime(0, 0), Qt::UTC);
    return value > lastEmpty ? value : QDateTime();
}

CalendarWorkItem itemOfWorkRow(const Recordset &rs)
{
    CalendarWorkItem item;
    item.uid = rs.text(QStringLiteral("UID"));
    item.title = rs.text(QStringLiteral("Title"));
    item.categories = QStringList{rs.text(QStringLiteral("WorkType"))};
    item.state = int(rs.integer(QStringLiteral("FinStu")));
    item.priority = int(rs.integer(QStringLiteral("ZY")));
    item.start = readTime(rs, QStringLiteral("TimeStart"));
    item.end = readTime(rs, QStringLiteral("TimeEnd"));
    if (rs.integer(QStringLiteral("UseTimeHint")) != 0)
        item.reminder = readTime(rs, QStringLiteral("TimeHint"));
    item.repeatRule = rs.text(QStringLiteral("RRule"));
    item.lastModified = readTime(rs, QStringLiteral("LastUpTime"));
    return item;
}

QString workTypeOfCategories(const QStringList &categories, const QStringList &types)
{
    for (const QString &category : categories) {
        if (types.contains(category.trimmed()))
            return category.trimmed();
    }
    const QString joined = commaList(categories.join(QLatin1Char(',')));
    for (const QString &type : types) {
        if (type.contains(QLatin1Char(',')) && commaList(type) == joined)
            return type;
    }
    return types.isEmpty() ? categories.value(0).trimmed() : types.first();
}

QVariantList workRowValues(const CalendarWorkItem &item, const QStringList &types, const QDateTime &now)
{
    QString title = item.title;
    QString body = item.body;
    if (title.size() > kWorkTitleLength) {
        // The whole subject stays readable at the top of the body.
        body = body.isEmpty() ? title : title + QLatin1Char('\n') + body;
        title.truncate(kWorkTitleLength);
    }
    return {title,
            workTypeOfCategories(item.categories, types),
            item.state,
            item.priority,
            storedTime(item.start),
            storedTime(item.end),
            dbdates::toText(item.lastModified.isValid() ? item.lastModified : now),
            item.reminder.isValid() ? 1 : 0,
            dbdates::toText(item.reminder),
            body,
            item.repeatRule};
}
