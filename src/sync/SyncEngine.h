#pragma once

#include "sync/DavClient.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <functional>

class Database;
class QNetworkAccessManager;
class SyncItems;

// The account of the calendar and contacts server, as the settings window keeps it.
struct SyncAccount {
    QString serverUrl;
    QString userName;
    QString password;
    QString taskListUrl;      // empty: work items are not synced
    QString addressBookUrl;   // empty: contacts are not synced
    bool plainHttpAllowed = false;
    QStringList trustedCertificates; // "host:port fingerprint"
};

struct SyncCollectionInfo {
    QString url;
    QString name;
};

// Why a sync or a discovery stopped, and what it did.
struct SyncOutcome {
    bool ok = false;
    QString error;            // the message for the user
    DavReply::Failure failure = DavReply::Failure::None;
    QString fingerprint;      // an untrusted certificate's, for the question to the user
    QString serverKey;
    int uploaded = 0;
    int downloaded = 0;
    int deletedHere = 0;
    int deletedThere = 0;
    int conflicts = 0;
    int unreadable = 0;
    int requests = 0;
    QList<SyncCollectionInfo> taskLists;    // discovery only
    QList<SyncCollectionInfo> addressBooks; // discovery only

    // "上传 2 项，下载 1 项…", or that nothing changed.
    QString summary() const;
};

// Two-way sync of the work items with a task list and of the address book with an address
// book on a CalDAV/CardDAV server. For every item the state of both sides at its last sync
// is kept (TSyncItem), so that a change, a conflict and a deletion are told apart; every
// local write and its state go in one transaction, and every server write is conditional,
// so a sync cut short anywhere resumes at the next one without duplicates.
class SyncEngine
{
public:
    SyncEngine(Database &db, QNetworkAccessManager &network);
    ~SyncEngine();

    void setTimeout(int milliseconds) { m_timeout = milliseconds; }
    // Off: the collection's ETags are listed in full each time, as for a server without
    // sync-collection.
    void setSyncCollectionUsed(bool used) { m_useSyncCollection = used; }
    void setTimeZone(const QTimeZone &zone) { m_zone = zone; }
    void setProgress(std::function<void(const QString &)> progress) { m_progress = std::move(progress); }

    // The account's task lists and address books (RFC 6764 well-known addresses,
    // current-user-principal, then the home sets).
    SyncOutcome discover(const SyncAccount &account);
    SyncOutcome run(const SyncAccount &account);

private:
    struct Status;
    struct Listing;
    class Run;

    Database &m_db;
    QNetworkAccessManager &m_network;
    int m_timeout = 30000;
    bool m_useSyncCollection = true;
    QTimeZone m_zone = QTimeZone::systemTimeZone();
    std::function<void(const QString &)> m_progress;
};

// The user's words for a failed request.
QString syncFailureText(const DavReply &reply);
