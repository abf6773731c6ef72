#include "util/Weekday.h"

int WeekdayNumber(const QDate &date)
{
    return date.dayOfWeek() - 1;
}

int WeekdayNumber(const QDateTime &dateTime)
{
    return WeekdayNumber(dateTime.date());
}
