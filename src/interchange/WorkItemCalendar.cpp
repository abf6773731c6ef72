#include "interchange/WorkItemCalendar.h"

#include <libical/ical.h>

#include <cstdlib>

#include <QCryptographicHash>
#include <QHash>
#include <QSet>
#include <memory>

namespace {

using ComponentPtr = std::unique_ptr<icalcomponent, void (*)(icalcomponent *)>;

QByteArray renderAndFree(char *text)
{
    QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}

// ---- writing ----

// A zone whose times are written as UTC: UTC itself, and zones libical has no VTIMEZONE for.
struct ZoneOut {
    QTimeZone zone;
    QByteArray tzid;              // empty: UTC
    icaltimezone *known = nullptr; // libical's copy of the zone, when it has one
    bool utc = false;             // wall-clock times are UTC times
};

icaltimetype icalDate(const QDate &date)
{
    icaltimetype time = icaltime_null_date();
    time.year = date.year();
    time.month = date.month();
    time.day = date.day();
    return time;
}

icaltimetype icalDateTime(const QDateTime &value)
{
    icaltimetype time = icaltime_null_time();
    time.year = value.date().year();
    time.month = value.date().month();
    time.day = value.date().day();
    time.hour = value.time().hour();
    time.minute = value.time().minute();
    time.second = value.time().second();
    return time;
}

icaltimetype icalUtc(const QDateTime &wallClock, const ZoneOut &out)
{
    icaltimetype time;
    if (out.utc) {
        time = icalDateTime(wallClock);
    } else if (out.known) {
        // libical's own conversion: several times as fast as Qt's, and an export of many
        // items makes four of them an item.
        time = icalDateTime(wallClock);
        icaltimezone_convert_time(&time, out.known, icaltimezone_get_utc_timezone());
    } else {
        time = icalDateTime(QDateTime(wallClock.date(), wallClock.time(), out.zone).toUTC());
    }
    time.zone = icaltimezone_get_utc_timezone();
    return time;
}

bool isUtcLike(const QTimeZone &zone)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return !zone.isValid() || (zone.offsetFromUtc(now) == 0 && !zone.hasDaylightTime());
}

ZoneOut addZone(icalcomponent *calendar, const QTimeZone &zone)
{
    ZoneOut out{zone, {}};
    out.utc = isUtcLike(zone);
    if (out.utc)
        return out;
    const QByteArray id = zone.id();
    icaltimezone *known = icaltimezone_get_builtin_timezone(id.constData());
    icalcomponent *definition = known ? icaltimezone_get_component(known) : nullptr;
    if (!definition)
        return out;
    // libical names its zones with a prefix of its own; other programs expect the plain name.
    icalcomponent *copy = icalcomponent_new_clone(definition);
    if (icalproperty *tzid = icalcomponent_get_first_property(copy, ICAL_TZID_PROPERTY))
        icalproperty_set_tzid(tzid, id.constData());
    icalcomponent_add_component(calendar, copy);
    out.tzid = id;
    out.known = known;
    return out;
}

icalproperty *timeProperty(icalproperty *(*make)(icaltimetype), const QDateTime &value, bool dateOnly,
                           const ZoneOut &out)
{
    if (dateOnly)
        return make(icalDate(value.date()));
    if (out.tzid.isEmpty())
        return make(icalUtc(value, out));
    icalproperty *property = make(icalDateTime(value));
    icalproperty_add_parameter(property, icalparameter_new_tzid(out.tzid.constData()));
    return property;
}

bool isMidnightOrNone(const QDateTime &value)
{
    return !value.isValid() || value.time() == QTime(0, 0);
}

const icalproperty_status kStatuses[] = {ICAL_STATUS_NEEDSACTION, ICAL_STATUS_INPROCESS, ICAL_STATUS_COMPLETED,
                                         ICAL_STATUS_CANCELLED};
const int kPercents[] = {0, 50, 100, -1};

icalcomponent *todoOf(const CalendarWorkItem &item, const ZoneOut &out)
{
    icalcomponent *todo = icalcomponent_new(ICAL_VTODO_COMPONENT);
    auto add = [todo](icalproperty *property) { icalcomponent_add_property(todo, property); };
    const QByteArray title = item.title.toUtf8();
    const icaltimetype modified = item.lastModified.isValid() ? icalUtc(item.lastModified, out) : icaltime_null_time();
    add(icalproperty_new_uid(item.uid.toUtf8().constData()));
    add(icalproperty_new_dtstamp(item.lastModified.isValid() ? modified
                                                             : icaltime_current_time_with_zone(icaltimezone_get_utc_timezone())));
    add(icalproperty_new_summary(title.constData()));
    if (!item.body.isEmpty())
        add(icalproperty_new_description(item.body.toUtf8().constData()));
    for (const QString &category : item.categories) {
        if (!category.isEmpty())
            add(icalproperty_new_categories(category.toUtf8().constData()));
    }
    const int state = std::clamp(item.state, 1, 4);
    add(icalproperty_new_status(kStatuses[state - 1]));
    if (kPercents[state - 1] >= 0)
        add(icalproperty_new_percentcomplete(kPercents[state - 1]));
    add(icalproperty_new_priority(item.priority == 1 ? 1 : 5));
    // Dates the editor sets carry no time of day; DTSTART and DUE must then both be dates.
    const bool dateOnly = isMidnightOrNone(item.start) && isMidnightOrNone(item.end);
    if (item.start.isValid())
        add(timeProperty(icalproperty_new_dtstart, item.start, dateOnly, out));
    if (item.end.isValid())
        add(timeProperty(icalproperty_new_due, item.end, dateOnly, out));
    if (!item.repeatRule.trimmed().isEmpty()) {
        // As stored, whatever the rule: libical would rewrite it in an order of its own, and
        // drop one it cannot read.
        QByteArray rule = item.repeatRule.trimmed().toUtf8();
        rule.replace('\r', "").replace('\n', "");
        icalproperty *property = icalproperty_new_x(rule.constData());
        icalproperty_set_x_name(property, "RRULE");
        add(property);
    }
    if (item.lastModified.isValid()) {
        add(icalproperty_new_created(modified));
        add(icalproperty_new_lastmodified(modified));
    }
    if (item.reminder.isValid()) {
        icalcomponent *alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype trigger;
        trigger.time = icalUtc(item.reminder, out);
        trigger.duration = icaldurationtype_null_duration();
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_property(alarm, icalproperty_new_description(title.constData()));
        icalcomponent_add_component(todo, alarm);
    }
    return todo;
}

// ---- reading ----

// libical rewrites a rule it reads in an order of its own. The RRULE lines of to-dos and
// events are renamed before parsing, so their text comes through as the file has it; those
// of time zone definitions stay, for libical to use.
const char kRawRule[] = "X-PANDREL-RAW-RRULE";

bool startsWithNoCase(QByteArrayView line, QByteArrayView start)
{
    return line.size() >= start.size() && line.first(start.size()).compare(start, Qt::CaseInsensitive) == 0;
}

QByteArray withRawRules(const QByteArray &text)
{
    QByteArray result;
    result.reserve(text.size() + 4096);
    QList<QByteArray> open;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        end = end < 0 ? text.size() : end + 1;
        const QByteArrayView line(text.constData() + start, end - start);
        start = end;
        if (startsWithNoCase(line, "BEGIN:")) {
            open.append(line.sliced(6).trimmed().toByteArray().toUpper());
        } else if (startsWithNoCase(line, "END:")) {
            if (!open.isEmpty())
                open.removeLast();
        } else if (!open.isEmpty() && (open.last() == "VTODO" || open.last() == "VEVENT")
                   && startsWithNoCase(line, "RRULE") && line.size() > 5 && (line.at(5) == ':' || line.at(5) == ';')) {
            result.append(kRawRule);
            result.append(line.sliced(5));
            continue;
        }
        result.append(line);
    }
    return result;
}

// The first rule of the component as written; nullopt when there is one libical cannot read.
std::optional<QString> ruleOf(icalcomponent *component)
{
    for (icalproperty *property = icalcomponent_get_first_property(component, ICAL_X_PROPERTY); property;
         property = icalcomponent_get_next_property(component, ICAL_X_PROPERTY)) {
        if (qstrcmp(icalproperty_get_x_name(property), kRawRule) != 0)
            continue;
        const QByteArray rule = QByteArray(icalproperty_get_x(property)).trimmed();
        icalrecurrencetype parsed = icalrecurrencetype_from_string(rule.constData());
        std::free(parsed.rscale); // libical 3.0 leaves the RSCALE text it copied to the caller
        if (parsed.freq == ICAL_NO_RECURRENCE)
            return std::nullopt;
        return QString::fromUtf8(rule);
    }
    return QString();
}

class TimeReader
{
public:
    TimeReader(icalcomponent *calendar, const QTimeZone &zone) : m_calendar(calendar), m_zone(zone) {}

    // The wall-clock time in our zone; invalid for a missing or impossible value.
    QDateTime read(icaltimetype time, icalproperty *property, bool *isDate = nullptr)
    {
        if (isDate)
            *isDate = false;
        if (icaltime_is_null_time(time))
            return {};
        const QDate date(time.year, time.month, time.day);
        if (!date.isValid())
            return {};
        if (time.is_date) {
            if (isDate)
                *isDate = true;
            return naive(date, QTime(0, 0));
        }
        const QTime clock(time.hour, time.minute, std::min(time.second, 59));
        if (!clock.isValid())
            return {};
        if (icaltime_is_utc(time))
            return wallClock(QDateTime(date, clock, Qt::UTC));
        icalparameter *tzid = property ? icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER) : nullptr;
        const char *name = tzid ? icalparameter_get_tzid(tzid) : nullptr;
        if (!name)
            return naive(date, clock); // floating: the same wall-clock time everywhere
        const QTimeZone known = machineZone(name);
        if (known == m_zone)
            return naive(date, clock);
        if (known.isValid())
            return wallClock(QDateTime(date, clock, known));
        if (icaltimezone *fileZone = icalcomponent_get_timezone(m_calendar, name)) {
            icaltimetype utc = time;
            utc.zone = nullptr;
            icaltimezone_convert_time(&utc, fileZone, icaltimezone_get_utc_timezone());
            return wallClock(QDateTime(QDate(utc.year, utc.month, utc.day),
                                       QTime(utc.hour, utc.minute, std::min(utc.second, 59)), Qt::UTC));
        }
        const QTimeZone windows(QTimeZone::windowsIdToDefaultIanaId(name));
        if (windows.isValid())
            return wallClock(QDateTime(date, clock, windows));
        return naive(date, clock);
    }

private:
    // Wall-clock values are held as Qt::UTC times: the machine's own zone would shift a time that
    // falls in its summer-time gap, and asks the system for its offset on every value.
    static QDateTime naive(const QDate &date, const QTime &time) { return QDateTime(date, time, Qt::UTC); }

    QDateTime wallClock(const QDateTime &instant) const
    {
        const QDateTime here = instant.toTimeZone(m_zone);
        return naive(here.date(), here.time());
    }

    QTimeZone machineZone(const char *name)
    {
        const QByteArray id(name);
        auto found = m_zones.constFind(id);
        if (found == m_zones.constEnd())
            found = m_zones.insert(id, QTimeZone::isTimeZoneIdAvailable(id) ? QTimeZone(id) : QTimeZone());
        return *found;
    }

    icalcomponent *m_calendar;
    QTimeZone m_zone;
    QHash<QByteArray, QTimeZone> m_zones;
};

int stateOf(icalcomponent *component, bool isTodo)
{
    if (icalproperty *status = icalcomponent_get_first_property(component, ICAL_STATUS_PROPERTY)) {
        switch (icalproperty_get_status(status)) {
        case ICAL_STATUS_INPROCESS: return 2;
        case ICAL_STATUS_COMPLETED: return 3;
        case ICAL_STATUS_CANCELLED: return 4;
        case ICAL_STATUS_NEEDSACTION: return 1;
        default: break;
        }
    }
    if (!isTodo)
        return 1;
    if (icalcomponent_get_first_property(component, ICAL_COMPLETED_PROPERTY))
        return 3;
    if (icalproperty *percent = icalcomponent_get_first_property(component, ICAL_PERCENTCOMPLETE_PROPERTY)) {
        const int value = icalproperty_get_percentcomplete(percent);
        return value >= 100 ? 3 : value > 0 ? 2 : 1;
    }
    return 1;
}

int priorityOf(icalcomponent *component)
{
    // RFC 5545: 1 to 4 are the high priorities, 0 none.
    icalproperty *priority = icalcomponent_get_first_property(component, ICAL_PRIORITY_PROPERTY);
    const int value = priority ? icalproperty_get_priority(priority) : 0;
    return value >= 1 && value <= 4 ? 1 : 0;
}

QString textOf(const char *text)
{
    return text ? QString::fromUtf8(text) : QString();
}

bool hasOwnErrors(icalcomponent *component)
{
    return icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY) != nullptr;
}

QString madeUpUid(icalcomponent *component)
{
    const QByteArray text = renderAndFree(icalcomponent_as_ical_string_r(component));
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha1).toHex())
        + QStringLiteral("@imported");
}

// The reminder of the first display or audio alarm; relative triggers count from the start or,
// with RELATED=END, from the end (`end` before any all-day adjustment).
QDateTime reminderOf(icalcomponent *component, TimeReader &times, const QDateTime &start, const QDateTime &end)
{
    for (icalcomponent *alarm = icalcomponent_get_first_component(component, ICAL_VALARM_COMPONENT); alarm;
         alarm = icalcomponent_get_next_component(component, ICAL_VALARM_COMPONENT)) {
        icalproperty *action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY);
        const icalproperty_action kind = action ? icalproperty_get_action(action) : ICAL_ACTION_NONE;
        if (kind != ICAL_ACTION_DISPLAY && kind != ICAL_ACTION_AUDIO)
            continue;
        icalproperty *triggerProperty = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (!triggerProperty)
            return {};
        const icaltriggertype trigger = icalproperty_get_trigger(triggerProperty);
        if (!icaltime_is_null_time(trigger.time))
            return times.read(trigger.time, triggerProperty);
        icalparameter *related = icalproperty_get_first_parameter(triggerProperty, ICAL_RELATED_PARAMETER);
        const bool fromEnd = related && icalparameter_get_related(related) == ICAL_RELATED_END;
        const QDateTime anchor = fromEnd ? end : start;
        return anchor.isValid() ? anchor.addSecs(icaldurationtype_as_int(trigger.duration)) : QDateTime();
    }
    return {};
}

std::optional<CalendarSkip::Reason> readComponent(icalcomponent *component, TimeReader &times,
                                                  CalendarWorkItem &item)
{
    const bool isTodo = icalcomponent_isa(component) == ICAL_VTODO_COMPONENT;
    // A subject is one line.
    item.title = textOf(icalcomponent_get_summary(component)).replace(QLatin1Char('\r'), QString()).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (hasOwnErrors(component))
        return CalendarSkip::Reason::Unreadable;
    if (icalcomponent_get_first_property(component, ICAL_RECURRENCEID_PROPERTY))
        return CalendarSkip::Reason::SingleOccurrenceChange;
    if (item.title.trimmed().isEmpty())
        return CalendarSkip::Reason::NoTitle;
    item.uid = textOf(icalcomponent_get_uid(component));
    if (item.uid.isEmpty())
        item.uid = madeUpUid(component);
    item.body = textOf(icalcomponent_get_description(component));

    bool startIsDate = false;
    icalproperty *startProperty = icalcomponent_get_first_property(component, ICAL_DTSTART_PROPERTY);
    if (startProperty) {
        item.start = times.read(icalproperty_get_dtstart(startProperty), startProperty, &startIsDate);
        if (!item.start.isValid())
            return CalendarSkip::Reason::Unreadable; // libical lets a 13th month through
    }
    QDateTime end;
    bool endIsDate = false;
    if (icalproperty *due = icalcomponent_get_first_property(component, isTodo ? ICAL_DUE_PROPERTY : ICAL_DTEND_PROPERTY)) {
        end = times.read(isTodo ? icalproperty_get_due(due) : icalproperty_get_dtend(due), due, &endIsDate);
        if (!end.isValid())
            return CalendarSkip::Reason::Unreadable;
    } else if (icalproperty *duration = icalcomponent_get_first_property(component, ICAL_DURATION_PROPERTY);
             duration && item.start.isValid()) {
        end = item.start.addSecs(icaldurationtype_as_int(icalproperty_get_duration(duration)));
        endIsDate = startIsDate;
    }
    item.end = end;
    // An all-day event ends at the start of the day after its last one.
    if (!isTodo && startIsDate && end.isValid() && end.time() == QTime(0, 0) && end.date() > item.start.date())
        item.end = end.addDays(-1);
    item.reminder = reminderOf(component, times, item.start, end);

    item.state = stateOf(component, isTodo);
    item.priority = priorityOf(component);
    for (icalproperty *category = icalcomponent_get_first_property(component, ICAL_CATEGORIES_PROPERTY); category;
         category = icalcomponent_get_next_property(component, ICAL_CATEGORIES_PROPERTY)) {
        const QString name = textOf(icalproperty_get_categories(category)).trimmed();
        if (!name.isEmpty())
            item.categories.append(name);
    }
    const std::optional<QString> rule = ruleOf(component);
    if (!rule)
        return CalendarSkip::Reason::Unreadable;
    item.repeatRule = *rule;
    for (const icalproperty_kind kind : {ICAL_LASTMODIFIED_PROPERTY, ICAL_CREATED_PROPERTY, ICAL_DTSTAMP_PROPERTY}) {
        if (icalproperty *stamp = icalcomponent_get_first_property(component, kind)) {
            item.lastModified = times.read(icalvalue_get_datetime(icalproperty_get_value(stamp)), stamp);
            if (item.lastModified.isValid())
                break;
        }
    }
    return std::nullopt;
}

void readCalendar(icalcomponent *calendar, const QTimeZone &zone, QSet<QString> &uids, CalendarReadResult &result)
{
    TimeReader times(calendar, zone);
    for (icalcomponent *component = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); component;
         component = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind kind = icalcomponent_isa(component);
        if (kind != ICAL_VTODO_COMPONENT && kind != ICAL_VEVENT_COMPONENT)
            continue;
        CalendarWorkItem item;
        std::optional<CalendarSkip::Reason> skip = readComponent(component, times, item);
        if (!skip && uids.contains(item.uid))
            skip = CalendarSkip::Reason::RepeatedUid;
        if (skip) {
            result.skipped.append({item.title, *skip});
            continue;
        }
        uids.insert(item.uid);
        result.items.append(std::move(item));
    }
}

} // namespace

QByteArray writeWorkItemCalendar(const QList<CalendarWorkItem> &items, const QTimeZone &requestedZone)
{
    // A machine whose zone Qt cannot name still gets a readable file, in UTC.
    const QTimeZone zone = requestedZone.isValid() ? requestedZone : QTimeZone::utc();
    ComponentPtr calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT), icalcomponent_free);
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Pandrel//Zorvik//ZH"));
    const ZoneOut out = addZone(calendar.get(), zone);
    for (const CalendarWorkItem &item : items)
        icalcomponent_add_component(calendar.get(), todoOf(item, out));
    return renderAndFree(icalcomponent_as_ical_string_r(calendar.get()));
}

CalendarReadResult readWorkItemCalendar(const QByteArray &utf8, const QTimeZone &requestedZone)
{
    const QTimeZone zone = requestedZone.isValid() ? requestedZone : QTimeZone::utc();
    CalendarReadResult result;
    ComponentPtr root(icalparser_parse_string(withRawRules(utf8).constData()), icalcomponent_free);
    if (!root)
        return result;
    QSet<QString> uids;
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        result.parsed = true;
        readCalendar(root.get(), zone, uids, result);
        return result;
    }
    // Several calendars in one file come back under one root.
    for (icalcomponent *calendar = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT); calendar;
         calendar = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT)) {
        result.parsed = true;
        readCalendar(calendar, zone, uids, result);
    }
    return result;
}
