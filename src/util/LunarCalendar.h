#pragma once

#include <QDate>
#include <QString>

// The Chinese lunar calendar of a Gregorian day and the names a Chinese calendar prints for it.
// The months are reckoned by the modern rule from new moons and solar terms in China time
// (UTC+8): the month holding the winter solstice is the eleventh, and in a span of thirteen
// months between two such months the first one without a major term (中气) is the leap month.
struct LunarDate {
    int cycleYear = 0; // 1 … 60 in the sexagenary cycle, 1 being 甲子
    int month = 0;     // 1 … 12
    bool leapMonth = false;
    int day = 0;       // 1 … 30

    bool isValid() const { return day > 0; }
    bool operator==(const LunarDate &) const = default;
};

// An invalid LunarDate outside 1900-01-01 … 2100-12-31, where the months are not worked out.
LunarDate lunarDate(const QDate &date);

QString lunarDayName(int day);                    // 初一 … 三十
QString lunarMonthName(int month, bool leap);     // 正月 … 冬月, 腊月; 闰二月
QString ganzhiYearName(int cycleYear);            // 甲子 … 癸亥
QString zodiacName(int cycleYear);                // 鼠 … 猪

// "甲辰年（龙年）正月初一"
QString lunarDateText(const QDate &date);

// The traditional festival of the day: 春节, 元宵, 端午, 七夕, 中元, 中秋, 重阳, 腊八 on their
// lunar days (never in a leap month), 除夕 on the lunar year's last day, 29th or 30th.
QString lunarFestival(const QDate &date);
// The common Gregorian holidays and days of observance (元旦, 劳动节, 国庆节, 母亲节 …).
QString gregorianFestival(const QDate &date);
