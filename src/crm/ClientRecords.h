#pragma once

#include <QtGlobal>

class Database;

// Deletes a client with its contacts, activities and follow-ups in one transaction: either
// all of them go or, when any statement fails, none does.
bool deleteClientWithRecords(Database &database, qint64 clientId);
