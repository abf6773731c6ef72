#include "desk/WorldClocks.h"

#include <QCoreApplication>
#include <QTimeZone>
#include <cmath>

const QList<FixedCity> &fixedCities()
{
    static const QList<FixedCity> cities{
        {QCoreApplication::translate("WorldClocksPage", "北京"), "Asia/Shanghai"},
        {QCoreApplication::translate("WorldClocksPage", "巴黎"), "Europe/Paris"},
        {QCoreApplication::translate("WorldClocksPage", "柏林"), "Europe/Berlin"},
        {QCoreApplication::translate("WorldClocksPage", "伦敦"), "Europe/London"},
        {QCoreApplication::translate("WorldClocksPage", "拜迪"), "Asia/Dubai"},
        {QCoreApplication::translate("WorldClocksPage", "纽约"), "America/New_York"},
        {QCoreApplication::translate("WorldClocksPage", "罗马"), "Europe/Rome"},
        {QCoreApplication::translate("WorldClocksPage", "开罗"), "Africa/Cairo"},
    };
    return cities;
}

QDateTime cityTime(const QDateTime &now, const QByteArray &zone)
{
    return now.toTimeZone(QTimeZone(zone));
}

QDateTime placeTime(const QDateTime &now, const QByteArray &zone, double addTimes)
{
    if (!zone.isEmpty() && QTimeZone::isTimeZoneIdAvailable(zone))
        return cityTime(now, zone);
    const int offset = int(std::lround(addTimes * 3600));
    return now.toOffsetFromUtc(offset);
}

QString clockText(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QColor workingHoursColor(const QTime &time)
{
    return time.hour() >= 8 && time.hour() <= 17 ? QColor(Qt::blue) : QColor(Qt::black);
}
