#include "util/MoonPosition.h"

#include "util/SunPosition.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double Pi = 3.14159265358979323846;

struct LongitudeTerm {
    signed char elongation, sunAnomaly, moonAnomaly, latitudeArgument; // D M M' F
    int sine;                                                          // 1e-6 degree
};

// Meeus, "Astronomical Algorithms", 2nd ed., table 47.A.
constexpr LongitudeTerm Longitude[] = {
    {0, 0, 1, 0, 6288774}, {2, 0, -1, 0, 1274027}, {2, 0, 0, 0, 658314},  {0, 0, 2, 0, 213618},
    {0, 1, 0, 0, -185116}, {0, 0, 0, 2, -114332},  {2, 0, -2, 0, 58793},  {2, -1, -1, 0, 57066},
    {2, 0, 1, 0, 53322},   {2, -1, 0, 0, 45758},   {0, 1, -1, 0, -40923}, {1, 0, 0, 0, -34720},
    {0, 1, 1, 0, -30383},  {2, 0, 0, -2, 15327},   {0, 0, 1, 2, -12528},  {0, 0, 1, -2, 10980},
    {4, 0, -1, 0, 10675},  {0, 0, 3, 0, 10034},    {4, 0, -2, 0, 8548},   {2, 1, -1, 0, -7888},
    {2, 1, 0, 0, -6766},   {1, 0, -1, 0, -5163},   {1, 1, 0, 0, 4987},    {2, -1, 1, 0, 4036},
    {2, 0, 2, 0, 3994},    {4, 0, 0, 0, 3861},     {2, 0, -3, 0, 3665},   {0, 1, -2, 0, -2689},
    {2, 0, -1, 2, -2602},  {2, -1, -2, 0, 2390},   {1, 0, 1, 0, -2348},   {2, -2, 0, 0, 2236},
    {0, 1, 2, 0, -2120},   {0, 2, 0, 0, -2069},    {2, -2, -1, 0, 2048},  {2, 0, 1, -2, -1773},
    {2, 0, 0, 2, -1595},   {4, -1, -1, 0, 1215},   {0, 0, 2, 2, -1110},   {3, 0, -1, 0, -892},
    {2, 1, 1, 0, -810},    {4, -1, -2, 0, 759},    {0, 2, -1, 0, -713},   {2, 2, -1, 0, -700},
    {2, 1, -2, 0, 691},    {2, -1, 0, -2, 596},    {4, 0, 1, 0, 549},     {0, 0, 4, 0, 537},
    {4, -1, 0, 0, 520},    {1, 0, -2, 0, -487},    {2, 1, 0, -2, -399},   {0, 0, 2, -2, -381},
    {1, 1, 1, 0, 351},     {3, 0, -2, 0, -340},    {4, 0, -3, 0, 330},    {2, -1, 2, 0, 327},
    {0, 2, 1, 0, -323},    {1, 1, -1, 0, 299},     {2, 0, 3, 0, 294},
};

double radians(double degrees)
{
    return degrees * Pi / 180.0;
}

} // namespace

double moonApparentLongitude(double julianEphemerisDay)
{
    const double t = (julianEphemerisDay - J2000) / 36525.0;
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    // Mean longitude (with the constant part of the light time), elongation, the anomalies
    // of sun and moon, the moon's argument of latitude.
    const double meanLongitude = 218.3164477 + 481267.88123421 * t - 0.0015786 * t2 + t3 / 538841 - t4 / 65194000;
    const double elongation = 297.8501921 + 445267.1114034 * t - 0.0018819 * t2 + t3 / 545868 - t4 / 113065000;
    const double sunAnomaly = 357.5291092 + 35999.0502909 * t - 0.0001536 * t2 + t3 / 24490000;
    const double moonAnomaly = 134.9633964 + 477198.8675055 * t + 0.0087414 * t2 + t3 / 69699 - t4 / 14712000;
    const double latitudeArgument = 93.2720950 + 483202.0175233 * t - 0.0036539 * t2 - t3 / 3526000 + t4 / 863310000;
    // The earth's orbit grows rounder, and the terms of the sun's anomaly weaker with it.
    const double eccentricity = 1 - 0.002516 * t - 0.0000074 * t2;

    double sum = 0;
    for (const LongitudeTerm &term : Longitude) {
        const double argument = term.elongation * elongation + term.sunAnomaly * sunAnomaly
                                + term.moonAnomaly * moonAnomaly + term.latitudeArgument * latitudeArgument;
        double amplitude = term.sine;
        for (int power = std::abs(term.sunAnomaly); power > 0; --power)
            amplitude *= eccentricity;
        sum += amplitude * std::sin(radians(argument));
    }
    // Venus, Jupiter and the earth's flattening.
    const double venus = 119.75 + 131.849 * t;
    const double jupiter = 53.09 + 479264.290 * t;
    sum += 3958 * std::sin(radians(venus)) + 1962 * std::sin(radians(meanLongitude - latitudeArgument))
           + 318 * std::sin(radians(jupiter));

    const double longitude = meanLongitude + sum * 1e-6 + nutationInLongitude(julianEphemerisDay) / 3600.0;
    return normalizedDegrees(longitude);
}
