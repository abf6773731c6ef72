#include "crm/ClientRecords.h"

#include "data/TDM.h"

bool deleteClientWithRecords(TDM &dm, qint64 clientId)
{
    return dm.inTransaction([&] {
        return dm.execute(QStringLiteral("Delete from TCLinker Where ClientID=?"), {clientId})
            && dm.execute(QStringLiteral("Delete from TCLinkRec Where ClientID=?"), {clientId})
            && dm.execute(QStringLiteral("Delete from TCTrack Where ClientID=?"), {clientId})
            && dm.execute(QStringLiteral("Delete from TClient Where ID=?"), {clientId});
    });
}
