#include "crm/ClientSearch.h"

#include "data/DbDates.h"
#include "data/Sqlite.h"

ClientQuery clientsByNameQuery(const QString &text)
{
    const QString pattern = QLatin1Char('%') + likePrefix(text);
    return {QStringLiteral("Select * From TClient where ClientName Like ? escape '\\' "
                           "Or ClientCode Like ? escape '\\' Order by ClientName collate PINYIN"),
            {pattern, pattern}};
}

ClientQuery clientsNotContactedQuery(int days, const QDateTime &now)
{
    const QString limit = now.date().addDays(-days).toString(QLatin1String(dbdates::kDateFormat));
    // Stored dates are ISO text, so they compare as text; the lower bound leaves out the
    // empty date that stands for "never contacted".
    const QString empty = dbdates::toText(dbdates::zeroDateTime().addDays(100));
    return {QStringLiteral("Select * From TClient where LastLinkTime<? and LastLinkTime>? "
                           "Order by ClientName collate PINYIN"),
            {limit, empty}};
}
