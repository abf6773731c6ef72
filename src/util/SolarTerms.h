#pragma once

#include <QDate>
#include <QString>

// The 24 solar terms, the instants the sun's apparent longitude reaches a multiple of 15°,
// dated in China time (UTC+8). From 1900 to 2100 the instants stay within about 4 s (rms) and
// 15 s at worst of the complete VSOP87 with the same ΔT, and every term falls on the day the
// complete theory gives, the closest to midnight (大寒 of 1979) included.
//
// Terms are numbered as they fall in a Gregorian year: 0 is 小寒 (285°), 1 大寒, 2 立春 …
// 23 冬至 (270°). Every Gregorian month holds exactly two: 2(m−1) and 2(m−1)+1. The odd ones
// are the major terms (中气) that number the lunar months.

constexpr int SolarTermCount = 24;

QString solarTermName(int term);

// The moment of the term in China time, as a Julian day (UT + 8 h, days from noon).
double solarTermBeijingJulianDay(int year, int term);
QDate solarTermDate(int year, int term);

// The term that falls on `date` (China time), or −1.
int solarTermOn(const QDate &date);
