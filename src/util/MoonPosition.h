#pragma once

// The moon's apparent geocentric longitude in degrees [0, 360) at a Julian Ephemeris Day:
// the ELP-2000/82 lunar theory as truncated by Meeus (chapter 47), within about ten arc
// seconds, twenty seconds of the moon's motion against the sun.
double moonApparentLongitude(double julianEphemerisDay);
