#pragma once

#include <QString>
#include <QVariantList>

// The time zone of each place the world-clock list ships with, so that a place's clock
// follows its daylight saving. A place without a zone of its own (贝克岛) is not listed and
// keeps the fixed offset of its row.
struct PlaceZoneFill {
    QString sql;
    QVariantList params;
};
// One statement that gives every shipped place in `TTimeZone` its zone, leaving rows that
// have one already (or that are not shipped) as they are.
PlaceZoneFill placeZoneFill();
