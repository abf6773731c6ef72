#pragma once

#include <QDate>
#include <QDateTime>

// 0 for Monday … 6 for Sunday; the time of day plays no part. -1 for an invalid date.
int weekdayIndex(const QDate &date);
int weekdayIndex(const QDateTime &dateTime);
