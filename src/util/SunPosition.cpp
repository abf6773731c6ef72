#include "util/SunPosition.h"

#include <cmath>
#include <initializer_list>
#include <span>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double DegreesPerRadian = 180.0 / Pi;

struct Term {
    double amplitude; // 1e-8 radian (longitude) or 1e-8 AU (radius)
    double phase;
    double frequency; // radian per Julian millennium
};

// The Earth's heliocentric ecliptic longitude and radius, VSOP87D as truncated in Meeus,
// "Astronomical Algorithms", 2nd ed., Appendix III.
constexpr Term L0[] = {
    {175347046, 0, 0},
    {3341656, 4.6692568, 6283.0758500},
    {34894, 4.62610, 12566.15170},
    {3497, 2.7441, 5753.3849},
    {3418, 2.8289, 3.5231},
    {3136, 3.6277, 77713.7715},
    {2676, 4.4181, 7860.4194},
    {2343, 6.1352, 3930.2097},
    {1324, 0.7425, 11506.7698},
    {1273, 2.0371, 529.6910},
    {1199, 1.1096, 1577.3435},
    {990, 5.233, 5884.927},
    {902, 2.045, 26.298},
    {857, 3.508, 398.149},
    {780, 1.179, 5223.694},
    {753, 2.533, 5507.553},
    {505, 4.583, 18849.228},
    {492, 4.205, 775.523},
    {357, 2.920, 0.067},
    {317, 5.849, 11790.629},
    {284, 1.899, 796.298},
    {271, 0.315, 10977.079},
    {243, 0.345, 5486.778},
    {206, 4.806, 2544.314},
    {205, 1.869, 5573.143},
    {202, 2.458, 6069.777},
    {156, 0.833, 213.299},
    {132, 3.411, 2942.463},
    {126, 1.083, 20.775},
    {115, 0.645, 0.980},
    {103, 0.636, 4694.003},
    {102, 0.976, 15720.839},
    {102, 4.267, 7.114},
    {99, 6.21, 2146.17},
    {98, 0.68, 155.42},
    {86, 5.98, 161000.69},
    {85, 1.30, 6275.96},
    {85, 3.67, 71430.70},
    {80, 1.81, 17260.15},
    {79, 3.04, 12036.46},
    {75, 1.76, 5088.63},
    {74, 3.50, 3154.69},
    {74, 4.68, 801.82},
    {70, 0.83, 9437.76},
    {62, 3.98, 8827.39},
    {61, 1.82, 7084.90},
    {57, 2.78, 6286.60},
    {56, 4.39, 14143.50},
    {56, 3.47, 6279.55},
    {52, 0.19, 12139.55},
    {52, 1.33, 1748.02},
    {51, 0.28, 5856.48},
    {49, 0.49, 1194.45},
    {41, 5.37, 8429.24},
    {41, 2.40, 19651.05},
    {39, 6.17, 10447.39},
    {37, 6.04, 10213.29},
    {37, 2.57, 1059.38},
    {36, 1.71, 2352.87},
    {36, 1.78, 6812.77},
    {33, 0.59, 17789.85},
    {30, 0.44, 83996.85},
    {30, 2.74, 1349.87},
    {25, 3.16, 4690.48},
};

constexpr Term L1[] = {
    {628331966747, 0, 0},
    {206059, 2.678235, 6283.075850},
    {4303, 2.6351, 12566.1517},
    {425, 1.590, 3.523},
    {119, 5.796, 26.298},
    {109, 2.966, 1577.344},
    {93, 2.59, 18849.23},
    {72, 1.14, 529.69},
    {68, 1.87, 398.15},
    {67, 4.41, 5507.55},
    {59, 2.89, 5223.69},
    {56, 2.17, 155.42},
    {45, 0.40, 796.30},
    {36, 0.47, 775.52},
    {29, 2.65, 7.11},
    {21, 5.34, 0.98},
    {19, 1.85, 5486.78},
    {19, 4.97, 213.30},
    {17, 2.99, 6275.96},
    {16, 0.03, 2544.31},
    {16, 1.43, 2146.17},
    {15, 1.21, 10977.08},
    {12, 2.83, 1748.02},
    {12, 3.26, 5088.63},
    {12, 5.27, 1194.45},
    {12, 2.08, 4694.00},
    {11, 0.77, 553.57},
    {10, 1.30, 6286.60},
    {10, 4.24, 1349.87},
    {9, 2.70, 242.73},
    {9, 5.64, 951.72},
    {8, 5.30, 2352.87},
    {6, 2.65, 9437.76},
    {6, 4.67, 4690.48},
};

constexpr Term L2[] = {
    {52919, 0, 0},
    {8720, 1.0721, 6283.0758},
    {309, 0.867, 12566.152},
    {27, 0.05, 3.52},
    {16, 5.19, 26.30},
    {16, 3.68, 155.42},
    {10, 0.76, 18849.23},
    {9, 2.06, 77713.77},
    {7, 0.83, 775.52},
    {5, 4.66, 1577.34},
    {4, 1.03, 7.11},
    {4, 3.44, 5573.14},
    {3, 5.14, 796.30},
    {3, 6.05, 5507.55},
    {3, 1.19, 242.73},
    {3, 6.12, 529.69},
    {3, 0.31, 398.15},
    {3, 2.28, 553.57},
    {2, 4.38, 5223.69},
    {2, 3.75, 0.98},
};

constexpr Term L3[] = {
    {289, 5.844, 6283.076},
    {35, 0, 0},
    {17, 5.49, 12566.15},
    {3, 5.20, 155.42},
    {1, 4.72, 3.52},
    {1, 5.30, 18849.23},
    {1, 5.97, 242.73},
};

constexpr Term L4[] = {
    {114, 3.142, 0},
    {8, 4.13, 6283.08},
    {1, 3.84, 12566.15},
};

constexpr Term L5[] = {
    {1, 3.14, 0},
};

// The radius only scales the aberration (20.5″ / R), so its leading terms are plenty.
constexpr Term R0[] = {
    {100013989, 0, 0},
    {1670700, 3.0984635, 6283.0758500},
    {13956, 3.05525, 12566.15170},
    {3084, 5.1985, 77713.7715},
    {1628, 1.1739, 5753.3849},
    {1576, 2.8469, 7860.4194},
};

constexpr Term R1[] = {
    {103019, 1.107490, 6283.075850},
    {1721, 1.0644, 12566.1517},
};

double seriesSum(std::span<const Term> terms, double millennia)
{
    double sum = 0;
    for (const Term &term : terms)
        sum += term.amplitude * std::cos(term.phase + term.frequency * millennia);
    return sum;
}

double polynomial(std::initializer_list<std::span<const Term>> series, double millennia)
{
    double sum = 0;
    double power = 1;
    for (std::span<const Term> terms : series) {
        sum += seriesSum(terms, millennia) * power;
        power *= millennia;
    }
    return sum * 1e-8;
}

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
    const double earthLongitude = polynomial({L0, L1, L2, L3, L4, L5}, millennia) * DegreesPerRadian;
    const double radius = polynomial({R0, R1}, millennia);

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
