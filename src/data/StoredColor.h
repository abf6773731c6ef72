#pragma once

#include <QColor>

// Colours are stored as 32-bit numbers: red in the lowest byte, then green, then blue. A top
// byte of FF names a system colour instead; those read as the desktop's text colour.
QColor fromStoredColor(qint64 stored, const QColor &systemColor);
qint64 toStoredColor(const QColor &color);
