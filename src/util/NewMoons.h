#pragma once

// New moons, the instants when the moon's apparent longitude equals the sun's. They are
// numbered as lunations from the new moon of 6 January 2000 (lunation 0), as in Meeus.

// The new moon as a Julian Ephemeris Day.
double newMoonEphemeris(int lunation);
// The new moon in China time (UTC+8) as a Julian day: its calendar day is floor(value + 0.5).
double newMoonChinaJulianDay(int lunation);
// The lunation whose new moon falls nearest the Julian day.
int lunationNear(double julianDay);
