#include "widgets/LunarCalendar.h"

#include <QList>
#include <QStringList>

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

constexpr qint64 UnixEpochJulianDay = 2440588;
constexpr double MillisPerDay = 86400000.0;
constexpr double MillisPerHour = 3600000.0;

// Creating an ICU calendar costs far more than using one; the user-interface thread keeps one.
icu::Calendar *chineseCalendar()
{
    static std::unique_ptr<icu::Calendar> calendar = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Calendar> created(icu::Calendar::createInstance(
            icu::TimeZone::createTimeZone("Asia/Shanghai"), icu::Locale("zh_CN@calendar=chinese"), status));
        return U_SUCCESS(status) ? std::move(created) : nullptr;
    }();
    return calendar.get();
}

struct LunarMonthSpan {
    qint64 firstDay = 0; // Julian day of the month's first day
    int length = 0;
    LunarDate month;     // its year and month; day 1
};
constexpr qsizetype RecentMonths = 8;

// The lunar month that holds the Julian day `day`.
std::optional<LunarMonthSpan> monthSpanFromIcu(qint64 day)
{
    icu::Calendar *calendar = chineseCalendar();
    if (!calendar)
        return std::nullopt;
    // Noon in Beijing: well inside the day whatever the zone's history of offsets.
    const double noonBeijing = double(day - UnixEpochJulianDay) * MillisPerDay + 4 * MillisPerHour;
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(noonBeijing, status);
    LunarMonthSpan span;
    span.month.cycleYear = calendar->get(UCAL_YEAR, status);
    span.month.month = calendar->get(UCAL_MONTH, status) + 1;
    span.month.leapMonth = calendar->get(UCAL_IS_LEAP_MONTH, status) != 0;
    span.month.day = 1;
    span.firstDay = day - (calendar->get(UCAL_DATE, status) - 1);
    span.length = calendar->getActualMaximum(UCAL_DATE, status);
    if (U_FAILURE(status) || span.length < 29)
        return std::nullopt;
    return span;
}

QStringList split(const char *names)
{
    return QString::fromUtf8(names).split(QLatin1Char(' '));
}

} // namespace

LunarDate lunarDate(const QDate &date)
{
    if (!date.isValid())
        return {};
    // A calendar page asks for every day of a few lunar months, each several times; ICU is
    // asked once a month and the rest counted from the month's first day.
    static QList<LunarMonthSpan> recent;
    const qint64 day = date.toJulianDay();
    const auto holdsDay = [day](const LunarMonthSpan &span) {
        return day >= span.firstDay && day < span.firstDay + span.length;
    };
    auto found = std::find_if(recent.cbegin(), recent.cend(), holdsDay);
    if (found == recent.cend()) {
        const std::optional<LunarMonthSpan> span = monthSpanFromIcu(day);
        if (!span)
            return {};
        if (recent.size() == RecentMonths)
            recent.removeLast();
        recent.prepend(*span);
        found = recent.cbegin();
    }
    LunarDate lunar = found->month;
    lunar.day = int(day - found->firstDay) + 1;
    return lunar;
}

QString lunarDayName(int day)
{
    static const QStringList names = split(
        "初一 初二 初三 初四 初五 初六 初七 初八 初九 初十 十一 十二 十三 十四 十五 十六 十七 十八 十九 二十 "
        "廿一 廿二 廿三 廿四 廿五 廿六 廿七 廿八 廿九 三十");
    return day >= 1 && day <= 30 ? names.at(day - 1) : QString();
}

QString lunarMonthName(int month, bool leap)
{
    static const QStringList names = split("正月 二月 三月 四月 五月 六月 七月 八月 九月 十月 冬月 腊月");
    if (month < 1 || month > 12)
        return QString();
    return leap ? QStringLiteral("闰") + names.at(month - 1) : names.at(month - 1);
}

QString ganzhiYearName(int cycleYear)
{
    static const QString stems = QStringLiteral("甲乙丙丁戊己庚辛壬癸");
    static const QString branches = QStringLiteral("子丑寅卯辰巳午未申酉戌亥");
    if (cycleYear < 1 || cycleYear > 60)
        return QString();
    return QString(stems.at((cycleYear - 1) % 10)) + branches.at((cycleYear - 1) % 12);
}

QString zodiacName(int cycleYear)
{
    static const QString animals = QStringLiteral("鼠牛虎兔龙蛇马羊猴鸡狗猪");
    return cycleYear >= 1 && cycleYear <= 60 ? QString(animals.at((cycleYear - 1) % 12)) : QString();
}

QString lunarDateText(const QDate &date)
{
    const LunarDate lunar = lunarDate(date);
    if (!lunar.isValid())
        return QString();
    return QStringLiteral("%1年（%2年）%3%4")
        .arg(ganzhiYearName(lunar.cycleYear), zodiacName(lunar.cycleYear),
             lunarMonthName(lunar.month, lunar.leapMonth), lunarDayName(lunar.day));
}

QString lunarFestival(const QDate &date)
{
    const LunarDate lunar = lunarDate(date);
    if (!lunar.isValid())
        return QString();
    if (!lunar.leapMonth) {
        struct Festival {
            int month;
            int day;
            const char *name;
        };
        static constexpr Festival festivals[] = {
            {1, 1, "春节"}, {1, 15, "元宵"}, {5, 5, "端午"}, {7, 7, "七夕"},
            {7, 15, "中元"}, {8, 15, "中秋"}, {9, 9, "重阳"}, {12, 8, "腊八"},
        };
        for (const Festival &festival : festivals) {
            if (festival.month == lunar.month && festival.day == lunar.day)
                return QString::fromUtf8(festival.name);
        }
    }
    // The twelfth month has 29 or 30 days: New Year's Eve is whichever comes last.
    const LunarDate tomorrow = lunarDate(date.addDays(1));
    if (tomorrow.month == 1 && tomorrow.day == 1 && !tomorrow.leapMonth)
        return QStringLiteral("除夕");
    return QString();
}

QString gregorianFestival(const QDate &date)
{
    struct Holiday {
        int month;
        int day;
        const char *name;
    };
    static constexpr Holiday holidays[] = {
        {1, 1, "元旦"}, {2, 14, "情人节"}, {3, 8, "妇女节"}, {3, 12, "植树节"}, {4, 1, "愚人节"},
        {5, 1, "劳动节"}, {5, 4, "青年节"}, {6, 1, "儿童节"}, {7, 1, "建党节"}, {8, 1, "建军节"},
        {9, 10, "教师节"}, {10, 1, "国庆节"}, {12, 24, "平安夜"}, {12, 25, "圣诞节"},
    };
    for (const Holiday &holiday : holidays) {
        if (holiday.month == date.month() && holiday.day == date.day())
            return QString::fromUtf8(holiday.name);
    }
    // Mother's Day is May's second Sunday, Father's Day June's third.
    const int sundayOrdinal = (date.day() - 1) / 7 + 1;
    if (date.dayOfWeek() == Qt::Sunday) {
        if (date.month() == 5 && sundayOrdinal == 2)
            return QStringLiteral("母亲节");
        if (date.month() == 6 && sundayOrdinal == 3)
            return QStringLiteral("父亲节");
    }
    return QString();
}
