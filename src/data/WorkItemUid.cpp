#include "data/WorkItemUid.h"

#include <QUuid>

QString newWorkItemUid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString fillMissingWorkItemUidsStatement()
{
    // A version 4 UUID in SQL: the statement runs once over a whole older file, far faster
    // than reading every row out and writing it back.
    return QStringLiteral(
        "Update TWork Set UID=lower(hex(randomblob(4)) || '-' || hex(randomblob(2)) || '-4' || "
        "substr(hex(randomblob(2)), 2) || '-' || substr('89ab', 1 + (abs(random()) % 4), 1) || "
        "substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6))) where UID is null or UID=''");
}
