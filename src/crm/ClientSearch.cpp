#include "crm/ClientSearch.h"

#include "data/DbDates.h"
#include "data/Sqlite.h"

namespace {

// What the result lists show and locate by: a search over many clients reads no more.
const QString kSelect = QStringLiteral("Select ID, TypeCode, ClientName, ClientCode, Tele, MobileCode From TClient ");

} // namespace

ClientQuery clientsByNameQuery(const QString &text)
{
    const QString pattern = QLatin1Char('%') + likePrefix(text);
    return {kSelect + QStringLiteral("where ClientName Like ? escape '\\' Or ClientCode Like ? escape '\\' "
                                     "Order by ClientName collate PINYIN"),
            {pattern, pattern}};
}

ClientQuery clientsNotContactedQuery(int days, const QDateTime &now)
{
    const QString limit = now.date().addDays(-days).toString(QLatin1String(dbdates::kDateFormat));
    // Stored dates are ISO text, so they compare as text; the lower bound leaves out the
    // empty date that stands for "never contacted".
    const QString empty = dbdates::toText(dbdates::zeroDateTime().addDays(100));
    return {kSelect + QStringLiteral("where LastLinkTime<? and LastLinkTime>? Order by ClientName collate PINYIN"),
            {limit, empty}};
}
