#include "crm/ClientRecords.h"

#include "data/Database.h"

bool deleteClientWithRecords(Database &database, qint64 clientId)
{
    return database.inTransaction([&] {
        return database.execute(QStringLiteral("Delete from TCLinker Where ClientID=?"), {clientId})
            && database.execute(QStringLiteral("Delete from TCLinkRec Where ClientID=?"), {clientId})
            && database.execute(QStringLiteral("Delete from TCTrack Where ClientID=?"), {clientId})
            && database.execute(QStringLiteral("Delete from TClient Where ID=?"), {clientId});
    });
}
