#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

// Dates are stored as ISO text: "yyyy-MM-dd HH:mm:ss" for date-times, "yyyy-MM-dd" for dates.
// Day 0 is 1899-12-30; a stored date counts as empty when it is NULL or not after 1900-04-09
// (day 100), which is how "no date" has always been written.
namespace dbdates {

inline constexpr char kDateTimeFormat[] = "yyyy-MM-dd HH:mm:ss";
inline constexpr char kDateFormat[] = "yyyy-MM-dd";

QDate zeroDate();                         // 1899-12-30
QDateTime zeroDateTime();                 // 1899-12-30 00:00:00

QString toText(const QDateTime &value);   // invalid → "1899-12-30 00:00:00"
QString toText(const QDate &value);       // invalid → "1899-12-30"

// Reads a stored value: ISO text (date or date-time), or a number of days since day 0.
// NULL and unreadable values give an invalid QDateTime.
QDateTime fromValue(const QVariant &stored);

bool isEmpty(const QVariant &stored);

// Days since 1899-12-30, the time of day as the fraction; and back.
double toSerial(const QDateTime &value);
QDateTime fromSerial(double days);

} // namespace dbdates
