#include "util/NewMoons.h"

#include "util/MoonPosition.h"
#include "util/SunPosition.h"

#include <cmath>

namespace {

constexpr double SynodicMonth = 29.530588861;
constexpr double FirstNewMoon = 2451550.09766; // lunation 0, mean phase

double radians(double degrees)
{
    return degrees * 3.14159265358979323846 / 180.0;
}

// Meeus' mean phase with the largest periodic corrections (chapter 49): within a few
// minutes, so that the search below starts next to its answer.
double approximateNewMoon(int lunation)
{
    const double k = lunation;
    const double t = k / 1236.85;
    const double mean = FirstNewMoon + SynodicMonth * k + 0.00015437 * t * t;
    const double eccentricity = 1 - 0.002516 * t - 0.0000074 * t * t;
    const double sunAnomaly = radians(2.5534 + 29.10535670 * k);
    const double moonAnomaly = radians(201.5643 + 385.81693528 * k);
    const double latitudeArgument = radians(160.7108 + 390.67050284 * k);
    const double node = radians(124.7746 - 1.56375588 * k);
    return mean - 0.40720 * std::sin(moonAnomaly) + 0.17241 * eccentricity * std::sin(sunAnomaly)
           + 0.01608 * std::sin(2 * moonAnomaly) + 0.01039 * std::sin(2 * latitudeArgument)
           + 0.00739 * eccentricity * std::sin(moonAnomaly - sunAnomaly)
           - 0.00514 * eccentricity * std::sin(moonAnomaly + sunAnomaly)
           + 0.00208 * eccentricity * eccentricity * std::sin(2 * sunAnomaly)
           - 0.00111 * std::sin(moonAnomaly - 2 * latitudeArgument)
           - 0.00057 * std::sin(moonAnomaly + 2 * latitudeArgument)
           + 0.00056 * eccentricity * std::sin(2 * moonAnomaly + sunAnomaly)
           - 0.00042 * std::sin(3 * moonAnomaly) - 0.00017 * std::sin(node);
}

// The truncated lunar series is off by up to twenty seconds. Where that could move a new moon
// across midnight in China time (1900–2100, within three minutes of it), the instant is moved
// to where the complete ELP-2000/82 and VSOP87 theories put it, with the same ΔT.
struct CloseToMidnight {
    int lunation;
    double seconds; // complete theory minus the truncated lunar series
};
constexpr CloseToMidnight CloseToMidnightCorrections[] = {
    {-1053, -10.3}, // 1914-11-18 00:01:39
    {-938, -0.5},   // 1924-03-05 23:57:30
    {-822, 1.0},    // 1933-07-23 00:03:01
    {233, -6.4},    // 2018-11-08 00:01:59
    {714, 2.7},     // 2057-09-29 00:00:02, where the truncated lunar series gives 09-28 23:59:59
    {1109, 6.8},    // 2089-09-04 23:57:32
    {1207, 2.2},    // 2097-08-07 23:59:37
};

// The moon's lead over the sun in degrees, in (−180, 180].
double moonLead(double julianEphemerisDay)
{
    double lead = moonApparentLongitude(julianEphemerisDay) - sunApparentLongitude(julianEphemerisDay);
    lead -= 360.0 * std::ceil((lead - 180.0) / 360.0);
    return lead;
}

} // namespace

double newMoonEphemeris(int lunation)
{
    // The secant method on the lead: the moon gains 11 to 15 degrees a day, smoothly, so a
    // few steps from a start minutes away reach a millisecond.
    double before = approximateNewMoon(lunation);
    double leadBefore = moonLead(before);
    double after = before - leadBefore / 12.19;
    for (int step = 0; step < 20; ++step) {
        const double leadAfter = moonLead(after);
        if (std::abs(leadAfter) < 1e-9 || leadAfter == leadBefore)
            break;
        const double next = after - leadAfter * (after - before) / (leadAfter - leadBefore);
        before = after;
        leadBefore = leadAfter;
        after = next;
    }
    for (const CloseToMidnight &close : CloseToMidnightCorrections) {
        if (close.lunation == lunation)
            return after + close.seconds / 86400.0;
    }
    return after;
}

double newMoonChinaJulianDay(int lunation)
{
    return chinaTimeFromEphemeris(newMoonEphemeris(lunation));
}

int lunationNear(double julianDay)
{
    return int(std::lround((julianDay - FirstNewMoon) / SynodicMonth));
}
