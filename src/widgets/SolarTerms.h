#pragma once

#include <QDate>
#include <QString>

// The 24 solar terms, computed from the sun's apparent longitude (VSOP87 as truncated by
// Meeus, with nutation and aberration) and dated in Beijing time. Accurate to well under a
// minute from 1901 to 2099, so a term a few minutes from midnight still gets its right day.
//
// Terms are numbered as they fall in a Gregorian year: 0 is 小寒 (285°), 1 大寒, 2 立春 …
// 23 冬至 (270°). Every Gregorian month holds exactly two: 2(m−1) and 2(m−1)+1.

constexpr int SolarTermCount = 24;

QString solarTermName(int term);

// The sun's apparent geocentric longitude in degrees [0, 360) at a Julian Ephemeris Day.
double sunApparentLongitude(double julianEphemerisDay);

// TT − UT in seconds for a decimal year (the Espenak–Meeus polynomials).
double deltaTSeconds(double decimalYear);

// The moment of the term in Beijing time, as a Julian day (UT + 8 h, days from noon).
double solarTermBeijingJulianDay(int year, int term);
QDate solarTermDate(int year, int term);

// The term that falls on `date` (Beijing time), or −1.
int solarTermOn(const QDate &date);
