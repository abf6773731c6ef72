#include "util/TextHelpers.h"

int indexOfEntry(const QStringList &list, const QString &text, bool prefix)
{
    if (prefix && text.isEmpty())
        return -1;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (prefix ? list.at(i).startsWith(text) : list.at(i) == text)
            return int(i);
    }
    return -1;
}

int occurrenceCount(const QString &part, const QString &text)
{
    if (part.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype at = text.indexOf(part); at >= 0; at = text.indexOf(part, at + part.size()))
        ++count;
    return count;
}

QString padWithZeros(const QString &text, int width)
{
    return text.rightJustified(width, QLatin1Char('0'));
}
