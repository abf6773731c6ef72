#include "util/Weekday.h"

int weekdayIndex(const QDate &date)
{
    return date.dayOfWeek() - 1;
}

int weekdayIndex(const QDateTime &dateTime)
{
    return weekdayIndex(dateTime.date());
}
