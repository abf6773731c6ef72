#pragma once

#include "sync/SyncEngine.h"

#include <QDateTime>
#include <optional>

class Database;

// The account of the calendar and contacts server as stored (TSyncAccount, one row). The
// password goes to the desktop's secret store where one answers; otherwise it stays in the
// encrypted database, and the settings window says which.
struct StoredSyncAccount {
    enum class PasswordPlace { None = 0, SecretStore = 1, Database = 2 };

    SyncAccount account;
    int syncMinutes = 0;          // 5, 15 or 60; 0: only by hand
    PasswordPlace passwordPlace = PasswordPlace::None;
    QDateTime lastSync;           // invalid: never
    QString lastResult;
    QString lastError;

    bool isSetUp() const
    {
        return !account.serverUrl.isEmpty() && (!account.taskListUrl.isEmpty() || !account.addressBookUrl.isEmpty());
    }
};

namespace syncaccount {

// Without a row, an account that is not set up.
StoredSyncAccount load(Database &db);
// Writes the account and puts the password where it can go; `account.passwordPlace` tells where.
bool save(Database &db, StoredSyncAccount &account);
void recordOutcome(Database &db, const SyncOutcome &outcome, const QDateTime &when);
// Off in tests and wherever no secret store should be asked.
void setSecretStoreUsed(bool used);

} // namespace syncaccount
