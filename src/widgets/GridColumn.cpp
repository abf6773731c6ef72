#include "widgets/GridColumn.h"

#include "data/DbDates.h"

#include <QLocale>

QString displayText(const GridColumn &column, const QVariant &value)
{
    if (!column.keys.isEmpty()) {
        const qsizetype at = column.keys.indexOf(value.toString());
        return at >= 0 ? column.picks.value(at) : value.toString();
    }
    if (!column.dateFormat.isEmpty())
        return dbdates::isEmpty(value) ? QString() : dbdates::fromValue(value).toString(column.dateFormat);
    if (column.decimals >= 0 && !value.isNull())
        return QString::number(value.toDouble(), 'f', column.decimals);
    if (value.typeId() == QMetaType::QByteArray)
        return {};
    return value.toString();
}
