#include "util/SunPosition.h"

#include "util/EarthOrbit.h"

#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double DegreesPerRadian = 180.0 / Pi;

double sinDegrees(double degrees)
{
    return std::sin(degrees / DegreesPerRadian);
}

struct NutationTerm {
    signed char elongation, sunAnomaly, moonAnomaly, latitudeArgument, node; // D M M' F Ω
    double sine;     // 0.0001″
    double sineRate; // 0.0001″ per Julian century
};

// IAU 1980 theory of nutation, the longitude terms (Meeus table 22.A). The short form of four
// terms is off by up to half an arc second, twelve seconds of the sun's motion.
constexpr NutationTerm Nutation[] = {
    {0, 0, 0, 0, 1, -171996, -174.2}, {-2, 0, 0, 2, 2, -13187, -1.6}, {0, 0, 0, 2, 2, -2274, -0.2},
    {0, 0, 0, 0, 2, 2062, 0.2},       {0, 1, 0, 0, 0, 1426, -3.4},    {0, 0, 1, 0, 0, 712, 0.1},
    {-2, 1, 0, 2, 2, -517, 1.2},      {0, 0, 0, 2, 1, -386, -0.4},    {0, 0, 1, 2, 2, -301, 0},
    {-2, -1, 0, 2, 2, 217, -0.5},     {-2, 0, 1, 0, 0, -158, 0},      {-2, 0, 0, 2, 1, 129, 0.1},
    {0, 0, -1, 2, 2, 123, 0},         {2, 0, 0, 0, 0, 63, 0},         {0, 0, 1, 0, 1, 63, 0.1},
    {2, 0, -1, 2, 2, -59, 0},         {0, 0, -1, 0, 1, -58, -0.1},    {0, 0, 1, 2, 1, -51, 0},
    {-2, 0, 2, 0, 0, 48, 0},          {0, 0, -2, 2, 1, 46, 0},        {2, 0, 0, 2, 2, -38, 0},
    {0, 0, 2, 2, 2, -31, 0},          {0, 0, 2, 0, 0, 29, 0},         {-2, 0, 1, 2, 2, 29, 0},
    {0, 0, 0, 2, 0, 26, 0},           {-2, 0, 0, 2, 0, -22, 0},       {0, 0, -1, 2, 1, 21, 0},
    {0, 2, 0, 0, 0, 17, -0.1},        {2, 0, -1, 0, 1, 16, 0},        {-2, 2, 0, 2, 2, -16, 0.1},
    {0, 1, 0, 0, 1, -15, 0},          {-2, 0, 1, 0, 1, -13, 0},       {0, -1, 0, 0, 1, -12, 0},
    {0, 0, 2, -2, 0, 11, 0},          {2, 0, -1, 2, 1, -10, 0},       {2, 0, 1, 2, 2, -8, 0},
    {0, 1, 0, 2, 2, 7, 0},            {-2, 1, 1, 0, 0, -7, 0},        {0, -1, 0, 2, 2, -7, 0},
    {2, 0, 0, 2, 1, -7, 0},           {2, 0, 1, 0, 0, 6, 0},          {-2, 0, 2, 2, 2, 6, 0},
    {-2, 0, 1, 2, 1, 6, 0},           {2, 0, -2, 0, 1, -6, 0},        {2, 0, 0, 0, 1, -6, 0},
    {0, -1, 1, 0, 0, 5, 0},           {-2, -1, 0, 2, 1, -5, 0},       {-2, 0, 0, 0, 1, -5, 0},
    {0, 0, 2, 2, 1, -5, 0},           {-2, 0, 2, 0, 1, 4, 0},         {-2, 1, 0, 2, 1, 4, 0},
    {0, 0, 1, -2, 0, 4, 0},           {-1, 0, 1, 0, 0, -4, 0},        {-2, 1, 0, 0, 0, -4, 0},
    {1, 0, 0, 0, 0, -4, 0},           {0, 0, 1, 2, 0, 3, 0},          {0, 0, -2, 2, 2, -3, 0},
    {-1, -1, 1, 0, 0, -3, 0},         {0, 1, 1, 0, 0, -3, 0},         {0, -1, 1, 2, 2, -3, 0},
    {2, -1, -1, 2, 2, -3, 0},         {0, 0, 3, 2, 2, -3, 0},         {2, -1, 0, 2, 2, -3, 0},
};

// The sun's daily motion in longitude, in arc seconds, which the aberration follows
// (Meeus chapter 25): the constant 20.49″ / R is off by a hundredth of an arc second.
double sunDailyMotion(double millennia)
{
    const double t = millennia;
    return 3548.193 + 118.568 * sinDegrees(87.5287 + 359993.7286 * t)
           + 2.476 * sinDegrees(85.0561 + 719987.4571 * t) + 1.376 * sinDegrees(27.8502 + 4452671.1152 * t)
           + 0.119 * sinDegrees(73.1375 + 450368.8564 * t) + 0.114 * sinDegrees(337.2264 + 329644.6718 * t)
           + 0.086 * sinDegrees(222.5400 + 659289.3436 * t) + 0.078 * sinDegrees(162.8136 + 9224659.7915 * t)
           + 0.054 * sinDegrees(82.5823 + 1079981.1857 * t) + 0.052 * sinDegrees(171.5189 + 225184.4282 * t)
           + 7.311 * t * sinDegrees(333.4515 + 359993.7286 * t) + 0.305 * t * sinDegrees(330.9814 + 719987.4571 * t)
           + 0.309 * t * t * sinDegrees(241.4518 + 359993.7286 * t);
}

} // namespace

double normalizedDegrees(double degrees)
{
    degrees = std::fmod(degrees, 360.0);
    return degrees < 0 ? degrees + 360.0 : degrees;
}

double nutationInLongitude(double julianEphemerisDay)
{
    const double t = (julianEphemerisDay - J2000) / 36525.0;
    const double elongation = 297.85036 + 445267.111480 * t - 0.0019142 * t * t + t * t * t / 189474;
    const double sunAnomaly = 357.52772 + 35999.050340 * t - 0.0001603 * t * t - t * t * t / 300000;
    const double moonAnomaly = 134.96298 + 477198.867398 * t + 0.0086972 * t * t + t * t * t / 56250;
    const double latitudeArgument = 93.27191 + 483202.017538 * t - 0.0036825 * t * t + t * t * t / 327270;
    const double node = 125.04452 - 1934.136261 * t + 0.0020708 * t * t + t * t * t / 450000;
    double sum = 0;
    for (const NutationTerm &term : Nutation) {
        const double argument = term.elongation * elongation + term.sunAnomaly * sunAnomaly
                                + term.moonAnomaly * moonAnomaly + term.latitudeArgument * latitudeArgument
                                + term.node * node;
        sum += (term.sine + term.sineRate * t) * sinDegrees(argument);
    }
    return sum * 1e-4;
}

double sunApparentLongitude(double julianEphemerisDay)
{
    const double millennia = (julianEphemerisDay - J2000) / 365250.0;
    const double earthLongitude = earthHeliocentricLongitude(millennia) * DegreesPerRadian;
    const double radius = earthSunDistance(millennia);

    // VSOP87's dynamical equinox to FK5's; then where the sun is seen: the light left it
    // 8.3 minutes earlier, and the earth's axis nods.
    const double fk5Correction = -0.09033;
    const double aberration = -0.005775518 * radius * sunDailyMotion(millennia);
    const double arcSeconds = fk5Correction + nutationInLongitude(julianEphemerisDay) + aberration;
    return normalizedDegrees(earthLongitude + 180.0 + arcSeconds / 3600.0);
}

double deltaTSeconds(double y)
{
    if (y < 1900) {
        const double t = y - 1860;
        return 7.62 + 0.5737 * t - 0.251754 * t * t + 0.01680668 * std::pow(t, 3) - 0.0004473624 * std::pow(t, 4)
               + std::pow(t, 5) / 233174;
    }
    if (y < 1920) {
        const double t = y - 1900;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t - 0.000197 * t * t * t * t;
    }
    if (y < 1941) {
        const double t = y - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (y < 1961) {
        const double t = y - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (y < 1986) {
        const double t = y - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (y < 2005) {
        const double t = y - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * std::pow(t, 3) + 0.000651814 * std::pow(t, 4)
               + 0.00002373599 * std::pow(t, 5);
    }
    if (y < 2050) {
        const double t = y - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u - 0.5628 * (2150 - y);
}

double chinaTimeFromEphemeris(double julianEphemerisDay)
{
    const double decimalYear = 2000.0 + (julianEphemerisDay - J2000) / 365.2425;
    return julianEphemerisDay - deltaTSeconds(decimalYear) / 86400.0 + 8.0 / 24.0;
}
