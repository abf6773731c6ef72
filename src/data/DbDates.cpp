#include "data/DbDates.h"

#include <cmath>

namespace dbdates {

namespace {
constexpr double kEmptyBelowOrAt = 100.0;
constexpr qint64 kMsecsPerDay = 24LL * 60 * 60 * 1000;
}

QDate zeroDate()
{
    return QDate(1899, 12, 30);
}

QDateTime zeroDateTime()
{
    return QDateTime(zeroDate(), QTime(0, 0));
}

// Written from the date and the time of day: a format string is read anew at every call, and
// the empty date made as a local time asked the system for its zone each time, which made these
// most of the cost of writing many rows.
QString toText(const QDateTime &value)
{
    if (!value.isValid())
        return QStringLiteral("1899-12-30 00:00:00");
    const QDate date = value.date();
    if (date.year() < 1000 || date.year() > 9999) // ISO has no room for them; the format has
        return value.toString(QLatin1String(kDateTimeFormat));
    return date.toString(Qt::ISODate) + QLatin1Char(' ') + value.time().toString(Qt::ISODate);
}

QString toText(const QDate &value)
{
    return (value.isValid() ? value : zeroDate()).toString(QLatin1String(kDateFormat));
}

QDateTime fromValue(const QVariant &stored)
{
    if (stored.isNull())
        return {};
    switch (stored.typeId()) {
    case QMetaType::Double:
    case QMetaType::LongLong:
    case QMetaType::Int:
        return fromSerial(stored.toDouble());
    case QMetaType::QDateTime:
        return stored.toDateTime();
    case QMetaType::QDate:
        return QDateTime(stored.toDate(), QTime(0, 0));
    default:
        break;
    }
    const QString text = stored.toString().trimmed();
    QDateTime parsed = QDateTime::fromString(text, QLatin1String(kDateTimeFormat));
    if (!parsed.isValid())
        parsed = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
    if (!parsed.isValid()) {
        const QDate date = QDate::fromString(text, QLatin1String(kDateFormat));
        if (date.isValid())
            parsed = QDateTime(date, QTime(0, 0));
    }
    return parsed;
}

bool isEmpty(const QVariant &stored)
{
    const QDateTime value = fromValue(stored);
    return !value.isValid() || toSerial(value) <= kEmptyBelowOrAt;
}

double toSerial(const QDateTime &value)
{
    const qint64 days = zeroDate().daysTo(value.date());
    const double fraction = double(value.time().msecsSinceStartOfDay()) / double(kMsecsPerDay);
    return double(days) + fraction;
}

QDateTime fromSerial(double days)
{
    // Whole days and the time of day are built separately, so no daylight-saving shift
    // of the local zone can move a stored wall-clock time.
    const qint64 total = std::llround(days * double(kMsecsPerDay));
    const qint64 whole = total >= 0 ? total / kMsecsPerDay : -((-total + kMsecsPerDay - 1) / kMsecsPerDay);
    const int msecs = int(total - whole * kMsecsPerDay);
    return QDateTime(zeroDate().addDays(whole), QTime::fromMSecsSinceStartOfDay(msecs));
}

} // namespace dbdates
