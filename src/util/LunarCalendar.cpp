#include "util/LunarCalendar.h"

#include "util/NewMoons.h"
#include "util/SolarTerms.h"

#include <QList>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

// The months are worked out for these days; the solar terms and ΔT are sound a year beyond.
const QDate FirstSupportedDay(1900, 1, 1);
const QDate LastSupportedDay(2100, 12, 31);

struct LunarMonthSpan {
    qint64 firstDay = 0; // Julian day of the month's first day
    int length = 0;
    LunarDate month;     // its year and month; day 1
};

// The months from the one that holds the winter solstice of `year` − 1 up to the one that
// holds the solstice of `year`: the span the modern rule numbers as one whole.
struct SolsticeYear {
    int year = 0;
    QList<LunarMonthSpan> months;

    qint64 firstDay() const { return months.first().firstDay; }
    qint64 endDay() const { return months.last().firstDay + months.last().length; }
    bool holds(qint64 day) const { return day >= firstDay() && day < endDay(); }
};

qint64 chinaDay(double chinaJulianDay)
{
    // Julian days begin at noon; the calendar day begins half a day earlier.
    return qint64(std::floor(chinaJulianDay + 0.5));
}

qint64 newMoonDay(int lunation)
{
    return chinaDay(newMoonChinaJulianDay(lunation));
}

// The lunation whose first day is `day` or the last before it.
int lunationOnOrBefore(qint64 day)
{
    int lunation = lunationNear(double(day));
    while (newMoonDay(lunation) > day)
        --lunation;
    while (newMoonDay(lunation + 1) <= day)
        ++lunation;
    return lunation;
}

int cycleYearOf(int year)
{
    return ((year - 4) % 60 + 60) % 60 + 1; // 1984 was 甲子
}

SolsticeYear computeSolsticeYear(int year)
{
    constexpr int WinterSolstice = 23;
    const int first = lunationOnOrBefore(chinaDay(solarTermBeijingJulianDay(year - 1, WinterSolstice)));
    const int last = lunationOnOrBefore(chinaDay(solarTermBeijingJulianDay(year, WinterSolstice)));
    const int monthCount = last - first; // 12, or 13 with a leap month

    QList<qint64> starts;
    for (int lunation = first; lunation <= last + 1; ++lunation)
        starts << newMoonDay(lunation);

    // A leap month is the first of a thirteen-month span that holds no major term (中气);
    // the major terms are the odd ones, from 大寒 on, and the solstice that opens the span.
    int leapIndex = -1;
    if (monthCount == 13) {
        QList<qint64> majorTermDays{chinaDay(solarTermBeijingJulianDay(year - 1, WinterSolstice))};
        for (int term = 1; term < SolarTermCount; term += 2)
            majorTermDays << chinaDay(solarTermBeijingJulianDay(year, term));
        for (int index = 1; index < monthCount && leapIndex < 0; ++index) {
            const bool holdsMajorTerm = std::any_of(majorTermDays.cbegin(), majorTermDays.cend(), [&](qint64 day) {
                return day >= starts[index] && day < starts[index + 1];
            });
            if (!holdsMajorTerm)
                leapIndex = index;
        }
    }

    SolsticeYear months;
    months.year = year;
    int number = 11;
    for (int index = 0; index < monthCount; ++index) {
        const bool leap = index == leapIndex;
        if (index > 0 && !leap)
            number = number % 12 + 1;
        LunarMonthSpan span;
        span.firstDay = starts[index];
        span.length = int(starts[index + 1] - starts[index]);
        span.month.month = number;
        span.month.leapMonth = leap;
        span.month.day = 1;
        // 冬月 and 腊月 close the lunar year that began before the solstice.
        span.month.cycleYear = cycleYearOf(number >= 11 ? year - 1 : year);
        months.months << span;
    }
    return months;
}

// A calendar page asks for every day of a few lunar months, each several times; the months
// of the last few years are kept, and a day is counted from its month's first day.
QList<SolsticeYear> &recentYears()
{
    static QList<SolsticeYear> recent;
    return recent;
}

const SolsticeYear &solsticeYear(int year)
{
    QList<SolsticeYear> &recent = recentYears();
    const auto found = std::find_if(recent.cbegin(), recent.cend(), [year](const SolsticeYear &months) {
        return months.year == year;
    });
    if (found != recent.cend())
        return *found;
    constexpr qsizetype RecentYears = 8;
    if (recent.size() == RecentYears)
        recent.removeLast();
    recent.prepend(computeSolsticeYear(year));
    return recent.first();
}

const SolsticeYear &solsticeYearHolding(qint64 day, int gregorianYear)
{
    const QList<SolsticeYear> &recent = recentYears();
    const auto found = std::find_if(recent.cbegin(), recent.cend(), [day](const SolsticeYear &months) {
        return months.holds(day);
    });
    if (found != recent.cend())
        return *found;
    // The span named after a Gregorian year covers it up to the month of its winter
    // solstice; the days after that begin the next one.
    const SolsticeYear &months = solsticeYear(gregorianYear);
    if (months.holds(day))
        return months;
    return solsticeYear(day < months.firstDay() ? gregorianYear - 1 : gregorianYear + 1);
}

QStringList split(const char *names)
{
    return QString::fromUtf8(names).split(QLatin1Char(' '));
}

} // namespace

LunarDate lunarDate(const QDate &date)
{
    if (!date.isValid() || date < FirstSupportedDay || date > LastSupportedDay)
        return {};
    const qint64 day = date.toJulianDay();
    const SolsticeYear &year = solsticeYearHolding(day, date.year());
    const auto month = std::find_if(year.months.cbegin(), year.months.cend(), [day](const LunarMonthSpan &span) {
        return day < span.firstDay + span.length;
    });
    LunarDate lunar = month->month;
    lunar.day = int(day - month->firstDay) + 1;
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
