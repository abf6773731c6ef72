#include "sync/SyncEngine.h"

#include "data/Database.h"
#include "sync/DavXml.h"
#include "sync/SyncItems.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHash>
#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QSet>
#include <QUuid>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Sync", text);
}

// Hrefs asked for in one multiget: large enough to keep requests few, small enough that one
// answer stays a few megabytes.
constexpr int kMultigetBatch = 100;
// Upload states written in one transaction.
constexpr int kUploadBatch = 200;

QString withSlash(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

// A resource name from the UID: the UID itself when it is plain, else its hash.
QString resourceName(const QString &uid, const QString &suffix)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9@._-]{1,120}$"));
    const QString name = plain.match(uid).hasMatch()
        ? uid
        : QString::fromLatin1(QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex());
    return name + suffix;
}

} // namespace

QString syncFailureText(const DavReply &reply)
{
    switch (reply.failure) {
    case DavReply::Failure::Authentication: return tr("用户名或密码不正确，服务器拒绝登录。");
    case DavReply::Failure::Network: return tr("无法连接同步服务器：%1").arg(reply.detail);
    case DavReply::Failure::Timeout: return tr("同步服务器长时间没有回应。");
    case DavReply::Failure::Certificate: return tr("同步服务器的证书不受系统信任。");
    case DavReply::Failure::PlainHttp: return tr("服务器地址不是加密的 https 地址，没有连接。");
    case DavReply::Failure::None: break;
    }
    return tr("同步服务器返回错误（%1）。").arg(reply.status);
}

namespace {

// A client for the account, on a fresh connection: one kept open from before carries the
// certificate decision it was opened with.
DavClient clientFor(QNetworkAccessManager &network, const SyncAccount &account, int timeout)
{
    network.clearConnectionCache();
    DavClient client(network, QUrl(account.serverUrl), account.userName, account.password);
    client.setTimeout(timeout);
    client.setTrustedCertificates(account.trustedCertificates);
    client.setPlainHttpAllowed(account.plainHttpAllowed);
    return client;
}

void setFailure(SyncOutcome &outcome, const DavReply &reply)
{
    outcome.failure = reply.failure;
    outcome.fingerprint = reply.fingerprint;
    outcome.serverKey = reply.serverKey;
    outcome.error = syncFailureText(reply);
}

} // namespace

QString SyncOutcome::summary() const
{
    QStringList parts;
    const std::pair<int, const char *> counts[] = {
        {uploaded, QT_TRANSLATE_NOOP("Sync", "上传 %1 项")},        {downloaded, QT_TRANSLATE_NOOP("Sync", "下载 %1 项")},
        {deletedHere, QT_TRANSLATE_NOOP("Sync", "本机删除 %1 项")},  {deletedThere, QT_TRANSLATE_NOOP("Sync", "服务器删除 %1 项")},
        {conflicts, QT_TRANSLATE_NOOP("Sync", "冲突 %1 项（已保留冲突副本）")}, {unreadable, QT_TRANSLATE_NOOP("Sync", "%1 项无法识别，已跳过")}};
    for (const auto &[count, text] : counts) {
        if (count > 0)
            parts.append(tr(text).arg(count));
    }
    return parts.isEmpty() ? tr("没有变化") : parts.join(tr("，"));
}

struct SyncEngine::Status {
    qint64 row = -1;
    qint64 localId = -1;
    QString uid;
    QString href;
    QString etag;
    QByteArray hash;
    bool trusted() const { return !hash.isEmpty(); }
};

struct SyncEngine::Listing {
    bool full = true;
    QHash<QString, QString> etags; // href → ETag
    QSet<QString> removed;
    QString token;
    bool tokenUsed = false;
};

// One sync of one account; stops at the first request that fails.
class SyncEngine::Run
{
public:
    Run(SyncEngine &engine, DavClient &client, SyncOutcome &outcome)
        : m_engine(engine)
        , m_db(engine.m_db)
        , m_client(client)
        , m_outcome(outcome)
    {
    }

    bool collection(SyncItems &items, const QString &url);
    int localWrites() const { return m_localWrites; }

private:
    bool fail(const DavReply &reply)
    {
        setFailure(m_outcome, reply);
        return false;
    }
    bool failText(const QString &text)
    {
        m_outcome.error = text;
        return false;
    }
    bool garbage() { return failText(tr("同步服务器的回答无法识别。")); }
    bool storeFailed() { return failText(tr("存储同步数据发生错误！") + QLatin1Char(' ') + m_db.lastError()); }

    void progress(const QString &text)
    {
        if (m_engine.m_progress)
            m_engine.m_progress(text);
    }

    bool list(const QString &token, Listing &listing);
    bool fetch(const QStringList &hrefs, QHash<QString, std::pair<QString, QByteArray>> &fetched);
    // One resource; `failed` (after the message is set) when the server could not be asked.
    struct Fetched {
        bool failed = false;
        bool found = false;
        QString etag;
        QByteArray data;
    };
    Fetched get(const QString &href);

    QList<Status> loadStatus();
    bool saveStatus(Status &status);
    bool dropStatus(const Status &status);
    // A local write and the state it leaves, all or nothing.
    bool write(const std::function<bool()> &work)
    {
        if (!keep(work))
            return false;
        ++m_localWrites;
        return true;
    }
    // The same for the sync's own bookkeeping, which changes none of the user's data.
    bool keep(const std::function<bool()> &work) { return m_db.inTransaction(work) || storeFailed(); }

    bool pull(const QString &href, const QString &etag, const QByteArray &data, QHash<QString, Status> &byHref,
              QHash<QString, Status> &byUid, const QHash<qint64, SyncItems::Local> &local,
              const QHash<QString, qint64> &localByUid);
    bool conflict(Status &status, qint64 localId, const QString &etag, const QByteArray &data);
    bool push(Status &status, const SyncItems::Local &local);
    // The states of uploads, written a batch at a time: each upload was named beforehand, so
    // one whose state is lost to an interruption is found again by name and compared.
    bool flushUploads()
    {
        if (m_uploads.isEmpty())
            return true;
        const bool ok = keep([&] {
            for (Status &status : m_uploads) {
                if (!saveStatus(status))
                    return false;
            }
            return true;
        });
        m_uploads.clear();
        return ok;
    }
    bool pushDeletion(Status &status);

    SyncEngine &m_engine;
    Database &m_db;
    DavClient &m_client;
    SyncOutcome &m_outcome;
    SyncItems *m_items = nullptr;
    QString m_collection;
    int m_localWrites = 0;
    QList<Status> m_uploads;
};

bool SyncEngine::Run::list(const QString &token, Listing &listing)
{
    const QUrl url = m_client.urlOf(m_collection);
    if (m_engine.m_useSyncCollection) {
        QString from = token;
        DavReply reply = m_client.report(url, 0, davbody::syncCollection(from));
        if (!from.isEmpty() && (reply.status == 403 || reply.status == 409 || reply.status == 400)
            && reply.body.contains("valid-sync-token")) {
            // The server has forgotten the token: everything from the start.
            from.clear();
            reply = m_client.report(url, 0, davbody::syncCollection(from));
        }
        if (reply.failure != DavReply::Failure::None)
            return fail(reply);
        if (reply.status == 207) {
            const Multistatus answer = parseMultistatus(reply.body);
            if (!answer.readable || answer.syncToken.isEmpty())
                return garbage();
            listing.full = from.isEmpty();
            for (const DavResource &resource : answer.resources) {
                if (withSlash(resource.href) == m_collection)
                    continue;
                if (resource.status == 404)
                    listing.removed.insert(resource.href);
                else if (!resource.isCollection)
                    listing.etags.insert(resource.href, resource.etag);
            }
            listing.token = answer.syncToken;
            listing.tokenUsed = true;
            return true;
        }
        // No sync-collection here: the ETags of the whole collection instead.
    }
    const DavReply reply = m_client.propfind(url, 1, davbody::etagQuery());
    if (reply.failure != DavReply::Failure::None)
        return fail(reply);
    if (reply.status != 207)
        return fail(reply);
    const Multistatus answer = parseMultistatus(reply.body);
    if (!answer.readable)
        return garbage();
    listing.full = true;
    for (const DavResource &resource : answer.resources) {
        if (withSlash(resource.href) != m_collection && !resource.isCollection)
            listing.etags.insert(resource.href, resource.etag);
    }
    return true;
}

bool SyncEngine::Run::fetch(const QStringList &hrefs, QHash<QString, std::pair<QString, QByteArray>> &fetched)
{
    for (qsizetype start = 0; start < hrefs.size(); start += kMultigetBatch) {
        QStringList encoded;
        for (const QString &href : hrefs.mid(start, kMultigetBatch))
            encoded.append(DavClient::encodedPath(href));
        progress(tr("正在下载（%1/%2）…").arg(start).arg(hrefs.size()));
        const DavReply reply = m_client.report(m_client.urlOf(m_collection), 1, davbody::multiget(m_items->isCalendar(), encoded));
        if (reply.failure != DavReply::Failure::None || reply.status != 207)
            return fail(reply);
        const Multistatus answer = parseMultistatus(reply.body);
        if (!answer.readable)
            return garbage();
        for (const DavResource &resource : answer.resources) {
            if (!resource.data.isEmpty())
                fetched.insert(resource.href, {resource.etag, resource.data});
        }
    }
    return true;
}

SyncEngine::Run::Fetched SyncEngine::Run::get(const QString &href)
{
    Fetched fetched;
    const DavReply reply = m_client.send("GET", m_client.urlOf(href));
    if (reply.status == 404 || reply.status == 410)
        return fetched;
    if (!reply.ok()) {
        fetched.failed = true;
        fail(reply);
        return fetched;
    }
    fetched.found = true;
    fetched.etag = reply.etag;
    fetched.data = reply.body;
    return fetched;
}

QList<SyncEngine::Status> SyncEngine::Run::loadStatus()
{
    QList<Status> rows;
    SqliteStatement query(m_db.connection(),
                          QStringLiteral("Select ID, LocalID, UID, Href, ETag, LocalHash from TSyncItem where Kind=?"));
    query.bind({int(m_items->kind())});
    while (query.next()) {
        rows.append({query.value(0).toLongLong(), query.value(1).toLongLong(), query.value(2).toString(),
                     query.value(3).toString(), query.value(4).toString(), query.value(5).toByteArray()});
    }
    return rows;
}

bool SyncEngine::Run::saveStatus(Status &status)
{
    const QVariant etag = status.etag.isEmpty() ? QVariant() : QVariant(status.etag);
    const QVariant hash = status.hash.isEmpty() ? QVariant() : QVariant(QString::fromLatin1(status.hash));
    if (status.row >= 0)
        return m_db.execute(QStringLiteral("Update TSyncItem Set LocalID=?, UID=?, Href=?, ETag=?, LocalHash=? where ID=?"),
                            {status.localId, status.uid, status.href, etag, hash, status.row});
    if (!m_db.execute(QStringLiteral("Insert into TSyncItem (Kind, LocalID, UID, Href, ETag, LocalHash) values (?, ?, ?, ?, ?, ?)"),
                      {int(m_items->kind()), status.localId, status.uid, status.href, etag, hash}))
        return false;
    status.row = m_db.connection().lastInsertId();
    return true;
}

bool SyncEngine::Run::dropStatus(const Status &status)
{
    return status.row < 0 || m_db.execute(QStringLiteral("Delete from TSyncItem where ID=?"), {status.row});
}

bool SyncEngine::Run::conflict(Status &status, qint64 localId, const QString &etag, const QByteArray &data)
{
    // The server's version stays the item; ours becomes a copy of its own, uploaded as new.
    return write([&] {
        if (!m_items->insertConflictCopy(localId) || !m_items->update(localId, data))
            return false;
        status.localId = localId;
        status.etag = etag;
        status.hash = m_items->hashOf(localId);
        ++m_outcome.conflicts;
        return saveStatus(status);
    });
}

bool SyncEngine::Run::pull(const QString &href, const QString &etag, const QByteArray &data, QHash<QString, Status> &byHref,
                           QHash<QString, Status> &byUid, const QHash<qint64, SyncItems::Local> &local,
                           const QHash<QString, qint64> &localByUid)
{
    const SyncItems::Remote remote = m_items->read(data);
    if (!remote.readable) {
        ++m_outcome.unreadable;
        return true;
    }
    const QString uid = remote.uid.isEmpty() ? href : remote.uid;
    Status status = byHref.contains(href) ? byHref.value(href) : byUid.value(uid);
    if (status.row < 0) {
        status.uid = uid;
        status.localId = localByUid.value(uid, -1);
    }
    status.href = href;
    const auto found = local.constFind(status.localId);
    const bool here = found != local.constEnd();
    bool done = true;
    if (!here) {
        // New on the server, or changed there after it was deleted here: the change wins.
        done = write([&] {
            const std::optional<qint64> id = m_items->insert(data);
            if (!id)
                return false;
            status.localId = *id;
            status.etag = etag;
            status.hash = m_items->hashOf(*id);
            ++m_outcome.downloaded;
            return saveStatus(status);
        });
    } else if (status.trusted() && found->hash == status.hash) {
        done = write([&] {
            // Changed here meanwhile: left for the next sync, which finds both changed.
            if (m_items->hashOf(found->id) != found->hash)
                return true;
            if (!m_items->update(found->id, data))
                return false;
            status.etag = etag;
            status.hash = m_items->hashOf(found->id);
            ++m_outcome.downloaded;
            return saveStatus(status);
        });
    } else if (m_items->sameContent(found->id, status.uid, data)) {
        // Both sides say the same: a write of ours whose answer was lost, or the same change.
        done = write([&] {
            status.etag = etag;
            status.hash = found->hash;
            return saveStatus(status);
        });
    } else {
        done = conflict(status, found->id, etag, data);
    }
    byHref.insert(href, status);
    byUid.insert(uid, status);
    return done;
}

bool SyncEngine::Run::push(Status &status, const SyncItems::Local &local)
{
    const QByteArray body = m_items->render(local.id, status.uid);
    if (body.isEmpty())
        return true; // gone meanwhile
    const bool known = status.trusted() && !status.etag.isEmpty();
    if (status.trusted() && status.etag.isEmpty()) {
        // Our last write's answer had no ETag: ask for it, so the write can still be conditional.
        const Fetched current = get(status.href);
        if (current.failed)
            return false;
        if (current.found) {
            status.etag = current.etag;
            if (status.etag.isEmpty())
                return conflict(status, local.id, QString(), current.data);
            return push(status, local);
        }
    }
    DavClient::Headers headers{{"Content-Type", m_items->contentType()}};
    if (known)
        headers.append({QByteArray("If-Match"), status.etag.toUtf8()});
    else
        headers.append({QByteArray("If-None-Match"), QByteArray("*")});
    const DavReply reply = m_client.send("PUT", m_client.urlOf(status.href), body, headers);
    if (reply.ok()) {
        ++m_outcome.uploaded;
        status.localId = local.id;
        status.etag = reply.etag;
        status.hash = local.hash;
        m_uploads.append(status);
        return m_uploads.size() < kUploadBatch || flushUploads();
    }
    if (reply.status != 412)
        return fail(reply);
    // Changed or made on the server since we last looked.
    const Fetched current = get(status.href);
    if (current.failed)
        return false;
    if (!current.found) {
        // Deleted there while changed here: the change wins, uploaded anew.
        status.etag.clear();
        status.hash.clear();
        return push(status, local);
    }
    if (m_items->sameContent(local.id, status.uid, current.data)) {
        return write([&] {
            status.etag = current.etag;
            status.hash = local.hash;
            return saveStatus(status);
        });
    }
    return conflict(status, local.id, current.etag, current.data);
}

bool SyncEngine::Run::pushDeletion(Status &status)
{
    if (!status.trusted())
        return keep([&] { return dropStatus(status); });
    if (status.etag.isEmpty()) {
        const Fetched current = get(status.href);
        if (current.failed)
            return false;
        if (!current.found || current.etag.isEmpty())
            return keep([&] { return dropStatus(status); });
        status.etag = current.etag;
    }
    DavClient::Headers headers;
    if (!status.etag.isEmpty())
        headers.append({QByteArray("If-Match"), status.etag.toUtf8()});
    const DavReply reply = m_client.send("DELETE", m_client.urlOf(status.href), {}, headers);
    if (reply.ok() || reply.status == 404 || reply.status == 410) {
        ++m_outcome.deletedThere;
        return write([&] { return dropStatus(status); });
    }
    if (reply.status != 412)
        return fail(reply);
    // Changed on the server after it was deleted here: the change comes back.
    const Fetched current = get(status.href);
    if (current.failed)
        return false;
    if (!current.found)
        return keep([&] { return dropStatus(status); });
    return write([&] {
        const std::optional<qint64> id = m_items->insert(current.data);
        if (!id)
            return false;
        status.localId = *id;
        status.etag = current.etag;
        status.hash = m_items->hashOf(*id);
        ++m_outcome.downloaded;
        return saveStatus(status);
    });
}

bool SyncEngine::Run::collection(SyncItems &items, const QString &url)
{
    m_items = &items;
    m_collection = withSlash(normalHref(url));
    const int kind = int(items.kind());

    // A collection other than the one the state was kept for: none of the state holds.
    const QString keptFor = m_db.queryValue(QStringLiteral("Select Url from TSyncCollection where Kind=?"), {kind});
    if (keptFor != m_collection) {
        if (!keep([&] {
                return m_db.execute(QStringLiteral("Delete from TSyncCollection where Kind=?"), {kind})
                    && m_db.execute(QStringLiteral("Update TSyncItem Set ETag=NULL, LocalHash=NULL, Href=NULL where Kind=?"), {kind})
                    && m_db.execute(QStringLiteral("Insert into TSyncCollection (Kind, Url) values (?, ?)"), {kind, m_collection});
            }))
            return false;
    }
    const QString token = m_db.queryValue(QStringLiteral("Select SyncToken from TSyncCollection where Kind=?"), {kind});
    const QString changesHere = m_db.queryValue(QStringLiteral("Select LocalChanges from TSyncCollection where Kind=?"), {kind});
    const QString scannedAt = m_db.queryValue(QStringLiteral("Select ScannedAt from TSyncCollection where Kind=?"), {kind});

    progress(tr("正在读取服务器上的变化…"));
    Listing listing;
    if (!list(token, listing))
        return false;
    // Nothing changed on either side since the last sync went through: no item is looked at.
    if (!scannedAt.isEmpty() && scannedAt == changesHere && !listing.full && listing.etags.isEmpty()
        && listing.removed.isEmpty()) {
        return listing.token == token
            || keep([&] {
                   return m_db.execute(QStringLiteral("Update TSyncCollection Set SyncToken=? where Kind=?"), {listing.token, kind});
               });
    }

    // ---- from the server ----
    QHash<QString, Status> byHref;
    QHash<QString, Status> byUid;
    for (const Status &status : loadStatus()) {
        if (!status.href.isEmpty())
            byHref.insert(status.href, status);
        byUid.insert(status.uid, status);
    }
    QHash<qint64, SyncItems::Local> local;
    QHash<QString, qint64> localByUid;
    for (const SyncItems::Local &item : items.scan()) {
        local.insert(item.id, item);
        if (!item.uid.isEmpty())
            localByUid.insert(item.uid, item.id);
    }
    QStringList wanted;
    for (auto entry = listing.etags.cbegin(); entry != listing.etags.cend(); ++entry) {
        const auto status = byHref.constFind(entry.key());
        if (status == byHref.cend() || !status->trusted() || status->etag != entry.value() || entry.value().isEmpty())
            wanted.append(entry.key());
    }
    wanted.sort();
    QHash<QString, std::pair<QString, QByteArray>> fetched;
    if (!fetch(wanted, fetched))
        return false;
    for (const QString &href : wanted) {
        const auto item = fetched.constFind(href);
        if (item != fetched.cend() && !pull(href, item->first, item->second, byHref, byUid, local, localByUid))
            return false;
    }

    QSet<QString> removed = listing.removed;
    if (listing.full) {
        for (auto status = byHref.cbegin(); status != byHref.cend(); ++status) {
            if (!listing.etags.contains(status.key()))
                removed.insert(status.key());
        }
    }
    for (const QString &href : removed) {
        const auto found = byHref.constFind(href);
        if (found == byHref.cend() || !found->trusted())
            continue; // not known as synced: the push uploads it again
        const Status status = *found;
        const bool ok = write([&] {
            const QByteArray hash = items.hashOf(status.localId);
            if (!hash.isEmpty() && hash == status.hash) {
                if (!items.remove(status.localId))
                    return false;
                ++m_outcome.deletedHere;
            }
            // A local change outlives the deletion: without its state it is uploaded as new.
            return dropStatus(status);
        });
        if (!ok)
            return false;
    }

    // ---- to the server ----
    QHash<qint64, Status> byLocal;
    for (const Status &status : loadStatus())
        byLocal.insert(status.localId, status);
    // Changes made from here on, by the user meanwhile or by this sync, are looked at next time.
    const QString scanStart = m_db.queryValue(QStringLiteral("Select LocalChanges from TSyncCollection where Kind=?"), {kind});
    const QList<SyncItems::Local> now = items.scan();
    QSet<qint64> present;
    QList<std::pair<Status, SyncItems::Local>> outgoing;
    for (const SyncItems::Local &item : now) {
        present.insert(item.id);
        Status status = byLocal.value(item.id);
        if (status.row < 0 || status.hash != item.hash || !status.trusted())
            outgoing.append({status, item});
    }
    // Named before the first attempt, all in one go, so that an attempt cut short is found
    // again by name.
    const bool named = keep([&] {
        for (auto &[status, item] : outgoing) {
            if (status.row >= 0 && !status.href.isEmpty())
                continue;
            if (status.row < 0) {
                status.localId = item.id;
                status.uid = item.uid.isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces) : item.uid;
            }
            status.href = m_collection + resourceName(status.uid, items.suffix());
            if (!saveStatus(status))
                return false;
        }
        return true;
    });
    if (!named)
        return false;
    int done = 0;
    for (auto &[status, item] : outgoing) {
        if (++done % 20 == 0)
            progress(tr("正在上传（%1/%2）…").arg(done).arg(outgoing.size()));
        if (!push(status, item)) {
            flushUploads();
            return false;
        }
    }
    if (!flushUploads())
        return false;
    for (auto status = byLocal.begin(); status != byLocal.end(); ++status) {
        if (!present.contains(status.key()) && !pushDeletion(*status))
            return false;
    }

    return keep([&] {
        return m_db.execute(QStringLiteral("Update TSyncCollection Set SyncToken=?, ScannedAt=? where Kind=?"),
                            {listing.tokenUsed ? QVariant(listing.token) : QVariant(), scanStart, kind});
    });
}

SyncEngine::SyncEngine(Database &db, QNetworkAccessManager &network)
    : m_db(db)
    , m_network(network)
{
}

SyncEngine::~SyncEngine() = default;


SyncOutcome SyncEngine::run(const SyncAccount &account)
{
    SyncOutcome outcome;
    DavClient client = clientFor(m_network, account, m_timeout);
    Run run(*this, client, outcome);
    bool ok = true;
    if (!account.taskListUrl.isEmpty()) {
        const std::unique_ptr<SyncItems> items = workItemsForSync(m_db, m_zone);
        ok = run.collection(*items, account.taskListUrl);
    }
    if (ok && !account.addressBookUrl.isEmpty()) {
        const std::unique_ptr<SyncItems> items = contactsForSync(m_db);
        ok = run.collection(*items, account.addressBookUrl);
    }
    outcome.ok = ok;
    outcome.requests = client.requestCount();
    if (!ok) {
        outcome.error += run.localWrites() == 0 ? tr("本机数据没有改动。") : tr("已完成的部分已保存，其余在下次同步时继续。");
    }
    return outcome;
}

SyncOutcome SyncEngine::discover(const SyncAccount &account)
{
    SyncOutcome outcome;
    DavClient client = clientFor(m_network, account, m_timeout);
    auto failed = [&](const DavReply &reply) {
        setFailure(outcome, reply);
        outcome.requests = client.requestCount();
        return outcome;
    };
    auto ask = [&](const QUrl &url, int depth, const QByteArray &body, Multistatus &answer) -> std::optional<DavReply> {
        const DavReply reply = client.propfind(url, depth, body);
        if (reply.failure != DavReply::Failure::None)
            return reply;
        answer = reply.status == 207 ? parseMultistatus(reply.body) : Multistatus();
        return std::nullopt;
    };

    // The principal: at the address given, else at the well-known addresses.
    QString principal;
    Multistatus answer;
    for (const QString &path : {QString(), QStringLiteral("/.well-known/caldav"), QStringLiteral("/.well-known/carddav")}) {
        const QUrl url = path.isEmpty() ? client.server() : client.urlOf(path);
        if (const auto problem = ask(url, 0, davbody::principalQuery(), answer))
            return failed(*problem);
        for (const DavResource &resource : answer.resources) {
            if (!resource.principal.isEmpty())
                principal = resource.principal;
        }
        if (!principal.isEmpty())
            break;
    }
    if (principal.isEmpty()) {
        outcome.error = tr("在这个地址找不到日历和通讯录服务（CalDAV/CardDAV）。");
        outcome.requests = client.requestCount();
        return outcome;
    }
    if (const auto problem = ask(client.urlOf(principal), 0, davbody::homeSetQuery(), answer))
        return failed(*problem);
    QStringList homes;
    for (const DavResource &resource : answer.resources) {
        for (const QString &home : {resource.calendarHome, resource.addressBookHome}) {
            if (!home.isEmpty() && !homes.contains(withSlash(home)))
                homes.append(withSlash(home));
        }
    }
    if (homes.isEmpty())
        homes.append(withSlash(principal));
    for (const QString &home : homes) {
        if (const auto problem = ask(client.urlOf(home), 1, davbody::collectionQuery(), answer))
            return failed(*problem);
        for (const DavResource &resource : answer.resources) {
            const QString path = withSlash(resource.href);
            const QString name = resource.displayName.isEmpty() ? path.section(QLatin1Char('/'), -2, -2) : resource.displayName;
            const SyncCollectionInfo info{client.urlOf(path).toString(), name};
            if (resource.isCalendar && (resource.components.isEmpty() || resource.components.contains(QStringLiteral("VTODO"))))
                outcome.taskLists.append(info);
            else if (resource.isAddressBook)
                outcome.addressBooks.append(info);
        }
    }
    outcome.ok = true;
    outcome.requests = client.requestCount();
    return outcome;
}
