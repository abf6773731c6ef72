#include "data/StoredColor.h"

QColor fromStoredColor(qint64 stored, const QColor &systemColor)
{
    const quint32 value = quint32(stored);
    if ((value >> 24) == 0xFF)
        return systemColor;
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

qint64 toStoredColor(const QColor &color)
{
    return qint64(color.red()) | (qint64(color.green()) << 8) | (qint64(color.blue()) << 16);
}
