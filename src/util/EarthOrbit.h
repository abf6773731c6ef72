#pragma once

// The earth's orbit from VSOP87D, for t in Julian millennia of Terrestrial Time from J2000.

// Heliocentric ecliptic longitude in radians, referred to the ecliptic and equinox of date; not
// reduced to one turn.
double earthHeliocentricLongitude(double millennia);

// Distance from the sun in astronomical units, to about 1e-5 AU.
double earthSunDistance(double millennia);
