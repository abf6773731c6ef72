#pragma once

#include <QDate>
#include <QString>

// The 24 solar terms, the instants the sun's apparent longitude reaches a multiple of 15°,
// dated in China time (UTC+8). The sun is the complete VSOP87 theory's, so an instant is as good
// as ΔT, the earth's slowing, allows: within a second or two for past years.
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
