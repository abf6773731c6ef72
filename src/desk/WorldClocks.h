#pragma once

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QString>

// The eight fixed cities of the world-clock page, in the order of their clocks: each shows
// its real time from its time zone, daylight saving included, whatever zone the computer
// itself runs on.
struct FixedCity {
    QString caption;
    QByteArray zone;
};
const QList<FixedCity> &fixedCities();

// `now` (in any zone, or UTC) as the wall-clock time in `zone`.
QDateTime cityTime(const QDateTime &now, const QByteArray &zone);
// `now` as the wall-clock time of a place of the list: in its time zone, daylight saving
// included, when it has one this machine knows; otherwise at UTC + `addTimes` hours
// (fractions of an hour included).
QDateTime placeTime(const QDateTime &now, const QByteArray &zone, double addTimes);

// The digital time under a clock.
QString clockText(const QTime &time);
// Blue from 08:00:00 to 17:59:59, black otherwise.
QColor workingHoursColor(const QTime &time);
