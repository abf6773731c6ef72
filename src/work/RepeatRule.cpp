#include "work/RepeatRule.h"

#include "util/LunarCalendar.h"

#include <libical/ical.h>

#include <cstdlib>

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <functional>

namespace repeat {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RepeatRule", text);
}

const QStringList WeekdayCodes{QStringLiteral("MO"), QStringLiteral("TU"), QStringLiteral("WE"), QStringLiteral("TH"),
                               QStringLiteral("FR"), QStringLiteral("SA"), QStringLiteral("SU")};

QString weekdayName(int weekday)
{
    static const QStringList names{QStringLiteral("周一"), QStringLiteral("周二"), QStringLiteral("周三"), QStringLiteral("周四"),
                                   QStringLiteral("周五"), QStringLiteral("周六"), QStringLiteral("周日")};
    return names.value(weekday - 1);
}

// The rule's parts in their order, names in capitals, values as written.
struct Parts {
    QList<std::pair<QString, QString>> items;

    bool has(const QString &name) const { return index(name) >= 0; }
    QString value(const QString &name) const { return index(name) >= 0 ? items.at(index(name)).second : QString(); }
    int index(const QString &name) const
    {
        for (int i = 0; i < items.size(); ++i) {
            if (items.at(i).first == name)
                return i;
        }
        return -1;
    }
    // Whether every part is one of `allowed`.
    bool onlyOf(const QStringList &allowed) const
    {
        return std::all_of(items.cbegin(), items.cend(), [&](const auto &part) { return allowed.contains(part.first); });
    }
    QString text() const
    {
        QStringList written;
        for (const auto &[name, value] : items)
            written << name + QLatin1Char('=') + value;
        return written.join(QLatin1Char(';'));
    }
};

// Nothing when a part is not NAME=VALUE or a name comes twice.
std::optional<Parts> splitParts(const QString &rule)
{
    Parts parts;
    for (const QString &item : rule.trimmed().split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int equals = item.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return std::nullopt;
        const QString name = item.left(equals).trimmed().toUpper();
        if (parts.has(name))
            return std::nullopt;
        parts.items.append({name, item.mid(equals + 1).trimmed()});
    }
    return parts;
}

bool isLunar(const Parts &parts)
{
    return parts.has(QStringLiteral("RSCALE"));
}

// A positive whole number in `min` … `max`, or 0.
int number(const QString &text, int min, int max)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= min && value <= max ? value : 0;
}

// UNTIL as a day: a DATE, or a DATE-TIME whose day is taken (the items are kept by day).
QDate untilDay(const QString &text)
{
    return QDate::fromString(text.left(8), QStringLiteral("yyyyMMdd"));
}

int intervalOf(const Parts &parts)
{
    return parts.has(QStringLiteral("INTERVAL")) ? number(parts.value(QStringLiteral("INTERVAL")), 1, 1000) : 1;
}

// The lunar rule's month: its number and whether it names the leap month ("6L").
struct LunarMonth {
    int month = 0;
    bool leap = false;
};

LunarMonth lunarMonthOf(const Parts &parts)
{
    QString text = parts.value(QStringLiteral("BYMONTH"));
    LunarMonth month;
    if (text.endsWith(QLatin1Char('L'), Qt::CaseInsensitive)) {
        month.leap = true;
        text.chop(1);
    }
    month.month = number(text, 1, 12);
    return month;
}

QString lunarProblem(const Parts &parts, const QString &rule)
{
    const QString skip = parts.value(QStringLiteral("SKIP")).toUpper();
    const bool sound =
        parts.onlyOf({QStringLiteral("RSCALE"), QStringLiteral("FREQ"), QStringLiteral("INTERVAL"), QStringLiteral("BYMONTH"),
                      QStringLiteral("BYMONTHDAY"), QStringLiteral("SKIP"), QStringLiteral("UNTIL"), QStringLiteral("COUNT")})
        && parts.value(QStringLiteral("RSCALE")).toUpper() == QLatin1String("CHINESE")
        && parts.value(QStringLiteral("FREQ")).toUpper() == QLatin1String("YEARLY") && intervalOf(parts) > 0
        && lunarMonthOf(parts).month > 0 && number(parts.value(QStringLiteral("BYMONTHDAY")), 1, 30) > 0
        && (skip.isEmpty() || skip == QLatin1String("OMIT") || skip == QLatin1String("BACKWARD") || skip == QLatin1String("FORWARD"))
        && !(parts.has(QStringLiteral("UNTIL")) && parts.has(QStringLiteral("COUNT")))
        && (!parts.has(QStringLiteral("UNTIL")) || untilDay(parts.value(QStringLiteral("UNTIL"))).isValid())
        && (!parts.has(QStringLiteral("COUNT")) || number(parts.value(QStringLiteral("COUNT")), 1, 1000000) > 0);
    return sound ? QString() : tr("无法识别的农历重复规则：%1").arg(rule);
}

icaltimetype icalDay(const QDate &day)
{
    icaltimetype time = icaltime_null_time();
    time.year = day.year();
    time.month = day.month();
    time.day = day.day();
    time.is_date = 0; // floating midnight: an UNTIL written as a date or a date-time both work
    return time;
}

// libical's parse of a Gregorian rule; freq is ICAL_NO_RECURRENCE when it does not read.
icalrecurrencetype icalRule(const QString &rule)
{
    icalrecurrencetype parsed = icalrecurrencetype_from_string(rule.trimmed().toUtf8().constData());
    icalerror_clear_errno();
    // libical 3.0 leaves the RSCALE text it copied to the caller; nothing here reads it.
    std::free(parsed.rscale);
    parsed.rscale = nullptr;
    return parsed;
}

// The lunar year a day belongs to, named by the Gregorian year of its first day.
int lunarYearOf(const QDate &day, const LunarDate &lunar)
{
    const int cycleOfYear = ((day.year() - 4) % 60 + 60) % 60 + 1; // 1984 was 甲子
    return cycleOfYear == lunar.cycleYear ? day.year() : day.year() - 1;
}

// The first day of the lunar month that holds `day`.
QDate monthStart(const QDate &day)
{
    const LunarDate lunar = lunarDate(day);
    return lunar.isValid() ? day.addDays(1 - lunar.day) : QDate();
}

int monthLength(const QDate &first)
{
    return lunarDate(first.addDays(29)).day == 30 ? 30 : 29;
}

// The first day of a lunar month, or an invalid day when that year has no such month.
QDate lunarMonthStart(int year, int month, bool leap)
{
    // The Spring Festival falls between 21 January and 20 February: 20 February lies in the
    // first or second month of the year, so at most two steps back reach the first.
    QDate start = monthStart(QDate(year, 2, 20));
    for (int step = 0; start.isValid() && step < 2; ++step) {
        const LunarDate lunar = lunarDate(start);
        if (lunar.month == 1 && !lunar.leapMonth)
            break;
        start = monthStart(start.addDays(-1));
    }
    for (int step = 0; start.isValid() && step < 13; ++step) {
        const LunarDate lunar = lunarDate(start);
        if (lunar.month == month && lunar.leapMonth == leap)
            return start;
        if (lunar.month > month || (step > 0 && lunar.month == 1))
            break;
        start = start.addDays(monthLength(start));
        if (!lunarDate(start).isValid())
            break;
    }
    return {};
}

enum class Skip { Omit, Backward, Forward };

// The day a lunar rule falls on in one year; invalid when the rule skips that year.
QDate lunarOccurrence(int year, LunarMonth month, int day, Skip skip)
{
    QDate first = lunarMonthStart(year, month.month, month.leap);
    if (!first.isValid() && month.leap) {
        // A year without that leap month: the ordinary month stands in, or the one after it.
        if (skip == Skip::Omit)
            return {};
        first = skip == Skip::Backward ? lunarMonthStart(year, month.month, false)
                                       : lunarMonthStart(year, month.month % 12 + 1, false);
    }
    if (!first.isValid())
        return {};
    const int length = monthLength(first);
    if (day <= length)
        return first.addDays(day - 1);
    switch (skip) {
    case Skip::Omit:
        return {};
    case Skip::Backward:
        return first.addDays(length - 1);
    case Skip::Forward:
        return first.addDays(length);
    }
    return {};
}

// Calls `take` with each day of the series from `start` in order, until it returns false or
// the rule ends. Every day comes once, however many times the rule hits it.
void forEachOccurrence(const QString &rule, const QDate &start, const std::function<bool(const QDate &)> &take)
{
    if (!ruleProblem(rule).isEmpty() || rule.trimmed().isEmpty() || !start.isValid())
        return;
    const Parts parts = *splitParts(rule);
    const int count = number(parts.value(QStringLiteral("COUNT")), 1, 1000000);
    const QDate until = untilDay(parts.value(QStringLiteral("UNTIL")));
    if (isLunar(parts)) {
        const LunarDate first = lunarDate(start);
        if (!first.isValid())
            return;
        const LunarMonth month = lunarMonthOf(parts);
        const int day = number(parts.value(QStringLiteral("BYMONTHDAY")), 1, 30);
        const QString skipText = parts.value(QStringLiteral("SKIP")).toUpper();
        const Skip skip = skipText == QLatin1String("BACKWARD") ? Skip::Backward
                          : skipText == QLatin1String("FORWARD") ? Skip::Forward
                                                                 : Skip::Omit;
        int taken = 0;
        for (int year = lunarYearOf(start, first); year <= 2100; year += intervalOf(parts)) {
            const QDate occurrence = lunarOccurrence(year, month, day, skip);
            if (!occurrence.isValid() || occurrence < start)
                continue;
            if ((until.isValid() && occurrence > until) || !take(occurrence) || ++taken == count)
                return;
        }
        return;
    }
    // The items are kept by day: UNTIL ends with its whole day, whether written as a date or
    // a time (libical leaves out the day of an UNTIL date).
    Parts withoutEnd = parts;
    if (until.isValid())
        withoutEnd.items.removeAt(parts.index(QStringLiteral("UNTIL")));
    icalrecur_iterator *iterator = icalrecur_iterator_new(icalRule(withoutEnd.text()), icalDay(start));
    icalerror_clear_errno();
    if (!iterator)
        return;
    QDate last;
    // A rule that finds no day for a long time (30 February) must not hold the program.
    const QDate horizon = start.addYears(1000);
    for (int step = 0; step < 1000000; ++step) {
        const icaltimetype next = icalrecur_iterator_next(iterator);
        if (icaltime_is_null_time(next))
            break;
        const QDate day(next.year, next.month, next.day);
        if (!day.isValid() || day > horizon || (until.isValid() && day > until))
            break;
        if (day == last)
            continue;
        last = day;
        if (!take(day))
            break;
    }
    icalrecur_iterator_free(iterator);
}

QString dayText(const QDate &day)
{
    return QStringLiteral("%1年%2月%3日").arg(day.year()).arg(day.month()).arg(day.day());
}

// "每" with the interval and its unit: "每周", "每2周的"; `unit` after a number ("个月") may
// differ from the one alone ("月").
QString every(int interval, const QString &alone, const QString &counted)
{
    return interval == 1 ? tr("每") + alone : tr("每%1%2的").arg(interval).arg(counted);
}

} // namespace

QString ruleProblem(const QString &rule)
{
    if (rule.trimmed().isEmpty())
        return QString();
    const std::optional<Parts> parts = splitParts(rule);
    if (!parts)
        return tr("无法识别的重复规则：%1").arg(rule);
    if (isLunar(*parts))
        return lunarProblem(*parts, rule);
    const icalrecurrencetype parsed = icalRule(rule);
    if (parsed.freq == ICAL_NO_RECURRENCE)
        return tr("无法识别的重复规则：%1").arg(rule);
    if (parsed.freq == ICAL_SECONDLY_RECURRENCE || parsed.freq == ICAL_MINUTELY_RECURRENCE
        || parsed.freq == ICAL_HOURLY_RECURRENCE)
        return tr("事务最多每天重复一次：%1").arg(rule);
    icalrecur_iterator *iterator = icalrecur_iterator_new(parsed, icalDay(QDate(2000, 1, 1)));
    icalerror_clear_errno();
    if (!iterator)
        return tr("无法识别的重复规则：%1").arg(rule);
    icalrecur_iterator_free(iterator);
    return QString();
}

std::optional<EditorRule> editorRule(const QString &rule)
{
    EditorRule shown;
    if (rule.trimmed().isEmpty())
        return shown;
    if (!ruleProblem(rule).isEmpty())
        return std::nullopt;
    const Parts parts = *splitParts(rule);
    shown.interval = intervalOf(parts);
    if (parts.has(QStringLiteral("UNTIL"))) {
        shown.ending = Ending::Until;
        shown.until = untilDay(parts.value(QStringLiteral("UNTIL")));
    } else if (parts.has(QStringLiteral("COUNT"))) {
        shown.ending = Ending::Count;
        shown.count = number(parts.value(QStringLiteral("COUNT")), 1, 1000000);
    }
    const QStringList common{QStringLiteral("FREQ"), QStringLiteral("INTERVAL"), QStringLiteral("UNTIL"), QStringLiteral("COUNT")};
    const QString frequency = parts.value(QStringLiteral("FREQ")).toUpper();
    const QStringList days = parts.value(QStringLiteral("BYDAY")).toUpper().split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (isLunar(parts)) {
        const bool plain = !lunarMonthOf(parts).leap && parts.value(QStringLiteral("SKIP")).toUpper() == QLatin1String("BACKWARD");
        if (!plain)
            return std::nullopt;
        shown.kind = Kind::LunarYearly;
    } else if (frequency == QLatin1String("DAILY") && parts.onlyOf(common)) {
        shown.kind = Kind::Daily;
    } else if (frequency == QLatin1String("WEEKLY") && parts.onlyOf(common + QStringList{QStringLiteral("BYDAY")})
               && !days.isEmpty()) {
        for (const QString &day : days) {
            const int weekday = WeekdayCodes.indexOf(day) + 1;
            if (weekday == 0 || shown.weekdays.contains(weekday))
                return std::nullopt;
            shown.weekdays.append(weekday);
        }
        std::sort(shown.weekdays.begin(), shown.weekdays.end());
        const bool workdays = shown.weekdays == QList<int>{1, 2, 3, 4, 5} && shown.interval == 1;
        shown.kind = workdays ? Kind::Workdays : Kind::Weekly;
        if (workdays)
            shown.weekdays.clear();
    } else if (frequency == QLatin1String("MONTHLY") && parts.onlyOf(common + QStringList{QStringLiteral("BYMONTHDAY")})
               && number(parts.value(QStringLiteral("BYMONTHDAY")), 1, 31) > 0) {
        shown.kind = Kind::Monthly;
    } else if (frequency == QLatin1String("MONTHLY") && parts.onlyOf(common + QStringList{QStringLiteral("BYDAY")})
               && days.size() == 1 && WeekdayCodes.contains(days.first().right(2))
               && QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                              QStringLiteral("5"), QStringLiteral("-1")}.contains(days.first().chopped(2).remove(QLatin1Char('+')))) {
        shown.kind = Kind::Monthly;
        shown.monthlyBy = MonthlyBy::WeekdayOfMonth;
    } else if (frequency == QLatin1String("YEARLY")
               && parts.onlyOf(common + QStringList{QStringLiteral("BYMONTH"), QStringLiteral("BYMONTHDAY")})
               && number(parts.value(QStringLiteral("BYMONTH")), 1, 12) > 0
               && number(parts.value(QStringLiteral("BYMONTHDAY")), 1, 31) > 0) {
        shown.kind = Kind::Yearly;
    } else {
        return std::nullopt;
    }
    return shown;
}

QString ruleText(const EditorRule &rule, const QDate &anchor)
{
    if (rule.kind == Kind::None || !anchor.isValid())
        return QString();
    QStringList parts;
    const QString interval = rule.interval > 1 ? QStringLiteral("INTERVAL=%1").arg(rule.interval) : QString();
    switch (rule.kind) {
    case Kind::None:
        break;
    case Kind::Daily:
        parts << QStringLiteral("FREQ=DAILY") << interval;
        break;
    case Kind::Workdays:
        parts << QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR");
        break;
    case Kind::Weekly: {
        QStringList days;
        for (int weekday : rule.weekdays.isEmpty() ? QList<int>{anchor.dayOfWeek()} : rule.weekdays)
            days << WeekdayCodes.at(weekday - 1);
        parts << QStringLiteral("FREQ=WEEKLY") << interval << QStringLiteral("BYDAY=") + days.join(QLatin1Char(','));
        break;
    }
    case Kind::Monthly:
        parts << QStringLiteral("FREQ=MONTHLY") << interval;
        if (rule.monthlyBy == MonthlyBy::DayOfMonth) {
            parts << QStringLiteral("BYMONTHDAY=%1").arg(anchor.day());
        } else {
            const int ordinal = (anchor.day() - 1) / 7 + 1;
            parts << QStringLiteral("BYDAY=%1%2").arg(ordinal == 5 ? -1 : ordinal).arg(WeekdayCodes.at(anchor.dayOfWeek() - 1));
        }
        break;
    case Kind::Yearly:
        parts << QStringLiteral("FREQ=YEARLY") << interval
              << QStringLiteral("BYMONTH=%1;BYMONTHDAY=%2").arg(anchor.month()).arg(anchor.day());
        break;
    case Kind::LunarYearly: {
        // A day of a leap month repeats in the ordinary month of its number.
        const LunarDate lunar = lunarDate(anchor);
        if (!lunar.isValid())
            return QString();
        parts << QStringLiteral("RSCALE=CHINESE;FREQ=YEARLY") << interval
              << QStringLiteral("BYMONTH=%1;BYMONTHDAY=%2;SKIP=BACKWARD").arg(lunar.month).arg(lunar.day);
        break;
    }
    }
    if (rule.ending == Ending::Until && rule.until.isValid())
        parts << QStringLiteral("UNTIL=") + rule.until.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("T000000");
    else if (rule.ending == Ending::Count && rule.count > 0)
        parts << QStringLiteral("COUNT=%1").arg(rule.count);
    parts.removeAll(QString());
    return parts.join(QLatin1Char(';'));
}

QString describeRule(const QString &rule)
{
    const std::optional<EditorRule> shown = editorRule(rule);
    if (!shown)
        return rule.trimmed();
    if (shown->kind == Kind::None)
        return QString();
    const Parts parts = *splitParts(rule);
    const int monthDay = number(parts.value(QStringLiteral("BYMONTHDAY")), 1, 31);
    QString text;
    switch (shown->kind) {
    case Kind::None:
        break;
    case Kind::Daily:
        text = shown->interval == 1 ? tr("每天") : tr("每%1天").arg(shown->interval);
        break;
    case Kind::Workdays:
        text = tr("每个工作日");
        break;
    case Kind::Weekly: {
        QStringList names;
        for (int weekday : shown->weekdays)
            names << weekdayName(weekday);
        text = every(shown->interval, tr("周的"), tr("周")) + names.join(tr("、"));
        break;
    }
    case Kind::Monthly:
        if (shown->monthlyBy == MonthlyBy::DayOfMonth) {
            text = every(shown->interval, tr("月"), tr("个月")) + tr("%1日").arg(monthDay);
        } else {
            const QString day = parts.value(QStringLiteral("BYDAY")).toUpper().remove(QLatin1Char('+'));
            const int ordinal = day.chopped(2).toInt();
            text = every(shown->interval, tr("月"), tr("个月"))
                   + (ordinal < 0 ? tr("最后一个") : tr("第%1个").arg(ordinal))
                   + weekdayName(int(WeekdayCodes.indexOf(day.right(2))) + 1);
        }
        break;
    case Kind::Yearly:
        text = every(shown->interval, tr("年"), tr("年"))
               + tr("%1月%2日").arg(number(parts.value(QStringLiteral("BYMONTH")), 1, 12)).arg(monthDay);
        break;
    case Kind::LunarYearly:
        text = every(shown->interval, tr("年"), tr("年")) + tr("农历")
               + lunarMonthName(lunarMonthOf(parts).month, false) + lunarDayName(monthDay);
        break;
    }
    if (shown->ending == Ending::Until)
        text += tr("，到") + dayText(shown->until);
    else if (shown->ending == Ending::Count)
        text += tr("，共%1次").arg(shown->count);
    return text;
}

QList<QDate> occurrences(const QString &rule, const QDate &start, int limit)
{
    QList<QDate> days;
    if (limit <= 0)
        return days;
    forEachOccurrence(rule, start, [&](const QDate &day) {
        days.append(day);
        return days.size() < limit;
    });
    return days;
}

std::optional<NextOccurrence> nextOccurrence(const QString &rule, const QDate &finished, const QDate &today)
{
    std::optional<NextOccurrence> next;
    int before = 0; // occurrences of the series used up before the next one
    forEachOccurrence(rule, finished, [&](const QDate &day) {
        if (day > finished && day >= today) {
            next = NextOccurrence{day, rule.trimmed()};
            return false;
        }
        ++before;
        return true;
    });
    if (!next)
        return next;
    Parts parts = *splitParts(rule);
    const int count = parts.index(QStringLiteral("COUNT"));
    if (count >= 0) {
        parts.items[count].second = QString::number(number(parts.items.at(count).second, 1, 1000000) - before);
        next->rule = parts.text();
    }
    return next;
}

QDate lunarToGregorian(int year, int month, bool leapMonth, int day)
{
    if (year < 1900 || year > 2100)
        return {};
    const QDate first = lunarMonthStart(year, month, leapMonth);
    if (!first.isValid() || day < 1 || day > monthLength(first))
        return {};
    return first.addDays(day - 1);
}

} // namespace repeat
