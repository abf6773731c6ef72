#pragma once

// Where the sun and the earth's axis point, to the precision a calendar needs: a day boundary
// must be decided for instants a few seconds from midnight. Times are Julian Ephemeris Days
// (Terrestrial Time); deltaTSeconds() turns them into Universal Time.

constexpr double J2000 = 2451545.0;

// The sun's apparent geocentric longitude in degrees [0, 360): the complete VSOP87 series,
// referred to FK5, with the full IAU 1980 nutation and the annual aberration.
double sunApparentLongitude(double julianEphemerisDay);

// Nutation in longitude in arc seconds (IAU 1980, all 63 periodic terms).
double nutationInLongitude(double julianEphemerisDay);

// TT − UT in seconds for a decimal year (the Espenak–Meeus polynomials, 1860 to 2150).
double deltaTSeconds(double decimalYear);

// A Julian Ephemeris Day as a Julian day in China time (UTC+8).
double chinaTimeFromEphemeris(double julianEphemerisDay);

double normalizedDegrees(double degrees);
