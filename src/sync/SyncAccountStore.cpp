#include "sync/SyncAccountStore.h"

#include "data/Database.h"
#include "data/DbDates.h"
#include "data/Recordset.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace syncaccount {

namespace {

bool g_secretStoreUsed = true;

const QString kService = QStringLiteral("Pandrel");

QString secretKey(const SyncAccount &account)
{
    return account.userName + QLatin1Char('@') + account.serverUrl;
}

// A job of the secret store, waited for with a time-out: a desktop without one answers at
// once with an error, but a store that asks the user may take its time.
bool runJob(QKeychain::Job &job)
{
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    job.setAutoDelete(false);
    job.start();
    loop.exec();
    return job.error() == QKeychain::NoError;
}

std::optional<QString> readSecret(const SyncAccount &account)
{
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(secretKey(account));
    if (!runJob(job))
        return std::nullopt;
    return job.textData();
}

bool writeSecret(const SyncAccount &account)
{
    QKeychain::WritePasswordJob job(kService);
    job.setInsecureFallback(false);
    job.setKey(secretKey(account));
    job.setTextData(account.password);
    return runJob(job);
}

} // namespace

void setSecretStoreUsed(bool used)
{
    g_secretStoreUsed = used;
}

StoredSyncAccount load(Database &db)
{
    StoredSyncAccount stored;
    Recordset row(db);
    if (!row.open(QStringLiteral("Select * from TSyncAccount order by ID LIMIT 1")) || row.isEmpty())
        return stored;
    SyncAccount &account = stored.account;
    account.serverUrl = row.text(QStringLiteral("ServerUrl"));
    account.userName = row.text(QStringLiteral("UserName"));
    account.taskListUrl = row.text(QStringLiteral("TaskListUrl"));
    account.addressBookUrl = row.text(QStringLiteral("AddressBookUrl"));
    account.plainHttpAllowed = row.integer(QStringLiteral("AllowHttp")) != 0;
    account.trustedCertificates = row.text(QStringLiteral("TrustedCerts")).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    stored.syncMinutes = int(row.integer(QStringLiteral("SyncMinutes")));
    stored.passwordPlace = StoredSyncAccount::PasswordPlace(row.integer(QStringLiteral("PasswordPlace")));
    if (stored.passwordPlace == StoredSyncAccount::PasswordPlace::Database)
        account.password = row.text(QStringLiteral("Password"));
    else if (stored.passwordPlace == StoredSyncAccount::PasswordPlace::SecretStore && g_secretStoreUsed)
        account.password = readSecret(account).value_or(QString());
    if (!row.isNull(QStringLiteral("LastSync")))
        stored.lastSync = row.dateTime(QStringLiteral("LastSync"));
    stored.lastResult = row.text(QStringLiteral("LastResult"));
    stored.lastError = row.text(QStringLiteral("LastError"));
    return stored;
}

bool save(Database &db, StoredSyncAccount &stored)
{
    const SyncAccount &account = stored.account;
    using Place = StoredSyncAccount::PasswordPlace;
    stored.passwordPlace = account.password.isEmpty() ? Place::None
        : g_secretStoreUsed && writeSecret(account)   ? Place::SecretStore
                                                      : Place::Database;
    const QVariantList values{account.serverUrl, account.userName, account.taskListUrl, account.addressBookUrl,
                              stored.syncMinutes, int(stored.passwordPlace),
                              stored.passwordPlace == Place::Database ? QVariant(account.password) : QVariant(),
                              account.plainHttpAllowed ? 1 : 0, account.trustedCertificates.join(QLatin1Char('\n'))};
    return db.inTransaction([&] {
        if (db.queryValue(QStringLiteral("Select count(*) from TSyncAccount")) == QStringLiteral("0")
            && !db.execute(QStringLiteral("Insert into TSyncAccount (SyncMinutes) values (0)")))
            return false;
        return db.execute(QStringLiteral("Update TSyncAccount Set ServerUrl=?, UserName=?, TaskListUrl=?, AddressBookUrl=?, "
                                         "SyncMinutes=?, PasswordPlace=?, Password=?, AllowHttp=?, TrustedCerts=?"),
                          values);
    });
}

void recordOutcome(Database &db, const SyncOutcome &outcome, const QDateTime &when)
{
    if (outcome.ok)
        db.execute(QStringLiteral("Update TSyncAccount Set LastSync=?, LastResult=?, LastError=''"),
                   {dbdates::toText(when), outcome.summary()});
    else
        db.execute(QStringLiteral("Update TSyncAccount Set LastError=?"),
                   {dbdates::toText(when).left(16) + QLatin1Char(' ') + outcome.error});
}

} // namespace syncaccount
