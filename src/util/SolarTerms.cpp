#include "util/SolarTerms.h"

#include "util/SunPosition.h"

#include <QList>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double TropicalYear = 365.2422;

// A year's first term, 小寒, falls near 6 January; the later ones follow about every 15.2 days.
double firstGuess(int year, int term)
{
    return double(QDate(year, 1, 6).toJulianDay()) + term * 15.2184;
}

struct YearOfTerms {
    int year = 0;
    std::array<QDate, SolarTermCount> dates;
};

// A month page asks for the terms of each of its days; a year's 24 days are kept instead.
const YearOfTerms &yearOfTerms(int year)
{
    static QList<YearOfTerms> recent;
    constexpr qsizetype RecentYears = 4;
    const auto found = std::find_if(recent.cbegin(), recent.cend(), [year](const YearOfTerms &terms) {
        return terms.year == year;
    });
    if (found != recent.cend())
        return *found;
    YearOfTerms terms;
    terms.year = year;
    for (int term = 0; term < SolarTermCount; ++term)
        terms.dates[term] = solarTermDate(year, term);
    if (recent.size() == RecentYears)
        recent.removeLast();
    recent.prepend(terms);
    return recent.first();
}

} // namespace

QString solarTermName(int term)
{
    static const QStringList names = QStringLiteral(
        "小寒 大寒 立春 雨水 惊蛰 春分 清明 谷雨 立夏 小满 芒种 夏至 "
        "小暑 大暑 立秋 处暑 白露 秋分 寒露 霜降 立冬 小雪 大雪 冬至").split(QLatin1Char(' '));
    return term >= 0 && term < SolarTermCount ? names.at(term) : QString();
}

double solarTermBeijingJulianDay(int year, int term)
{
    const double target = normalizedDegrees(285.0 + 15.0 * term);
    double jde = firstGuess(year, term);
    // Newton's method with the sun's mean speed; it moves within 3 % of that all year.
    for (int step = 0; step < 20; ++step) {
        double gap = target - sunApparentLongitude(jde);
        gap -= 360.0 * std::round(gap / 360.0);
        jde += gap * TropicalYear / 360.0;
        if (std::abs(gap) < 1e-8)
            break;
    }
    return chinaTimeFromEphemeris(jde);
}

QDate solarTermDate(int year, int term)
{
    // Julian days begin at noon; the calendar day begins half a day earlier.
    return QDate::fromJulianDay(qint64(std::floor(solarTermBeijingJulianDay(year, term) + 0.5)));
}

int solarTermOn(const QDate &date)
{
    if (!date.isValid())
        return -1;
    const YearOfTerms &terms = yearOfTerms(date.year());
    const int first = 2 * (date.month() - 1);
    for (int term : {first, first + 1}) {
        if (terms.dates[term] == date)
            return term;
    }
    return -1;
}
