#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cmath>

// Document lengths are pixels at 96 dpi, RTF lengths twips (1/1440 inch).
inline constexpr int kTwipsPerPixel = 15;
// Far beyond any page (22 inches): longer values are damage and are cut to this.
inline constexpr int kMaxTwips = 31680;
// Font sizes go in half points; word processors take up to 1638 points.
inline constexpr int kMaxHalfPoints = 3276;

inline int twipsFromPixels(qreal pixels)
{
    return int(std::lround(std::clamp(pixels * kTwipsPerPixel, qreal(-kMaxTwips), qreal(kMaxTwips))));
}

inline qreal pixelsFromTwips(int twips)
{
    return qreal(twips) / kTwipsPerPixel;
}
