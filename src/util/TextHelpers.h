#pragma once

#include <QString>
#include <QStringList>

// The index of the first entry equal to `text` (case-sensitive), or with `prefix` the first
// entry starting with it; -1 when none. An empty text is no prefix of anything.
int indexOfEntry(const QStringList &list, const QString &text, bool prefix);

// Non-overlapping occurrences of `part` in `text`, searched from the left; 0 for an empty part.
int occurrenceCount(const QString &part, const QString &text);

// `text` with "0" put in front up to `width` characters; a longer text is never cut.
QString padWithZeros(const QString &text, int width);
