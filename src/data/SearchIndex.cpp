#include "data/SearchIndex.h"

#include "data/SearchTokenizer.h"
#include "data/Sqlite.h"
#include "util/Compression.h"
#include "util/PinyinInitials.h"

#include <sqlcipher/sqlite3.h>

#include <QMutex>

#include <algorithm>
#include <iterator>

namespace searchindex {
namespace {

// What each indexed table gives the index: a title, the text to search and show in snippets,
// and short codes (pinyin initials of names) that are searched but never shown. `$.` stands
// for the row: the new or old row in a trigger, the table's row in a rebuild.
struct IndexedTable
{
    Kind kind;
    const char *table;
    const char *title;
    const char *body;
    const char *codes;
    const char *watchedColumns; // an update of any other column leaves the index alone
};

#define TEXT(column) "coalesce($." column ",'')"
#define JOIN " || ' ' || "

const IndexedTable kTables[] = {
    {Kind::WorkItem, "TWork", TEXT("Title"), "search_body_text($.Content)", "''", "Title, Content"},
    {Kind::Client, "TClient", TEXT("ClientName"),
     TEXT("Address") JOIN TEXT("PostCode") JOIN TEXT("Tele") JOIN TEXT("MobileCode") JOIN TEXT("Fax") JOIN TEXT("EMail")
         JOIN TEXT("HomePage") JOIN TEXT("QICQ") JOIN TEXT("WW") JOIN TEXT("ALWW") JOIN TEXT("ClientType")
             JOIN TEXT("SalerName") JOIN TEXT("Desp"),
     TEXT("ClientCode"),
     "ClientName, ClientCode, Address, PostCode, Tele, MobileCode, Fax, EMail, HomePage, QICQ, WW, ALWW, ClientType, "
     "SalerName, Desp"},
    {Kind::Contact, "TCLinker", TEXT("Linker"),
     TEXT("Depart") JOIN TEXT("Job") JOIN TEXT("Tele") JOIN TEXT("MobileCode") JOIN TEXT("HomeTele") JOIN TEXT("Fax")
         JOIN TEXT("QICQ") JOIN TEXT("WW") JOIN TEXT("EMail") JOIN TEXT("Address") JOIN TEXT("Fancy") JOIN TEXT("Desp"),
     "search_initials($.Linker)",
     "Linker, Depart, Job, Tele, MobileCode, HomeTele, Fax, QICQ, WW, EMail, Address, Fancy, Desp"},
    {Kind::Activity, "TCLinkRec", TEXT("Title"), TEXT("Dealer") JOIN TEXT("RunStyle") JOIN TEXT("Desp"), "''",
     "Title, Dealer, RunStyle, Desp"},
    {Kind::FollowUp, "TCTrack", TEXT("GoodsName"), TEXT("Style") JOIN TEXT("Unit") JOIN TEXT("Desp"), "''",
     "GoodsName, Style, Unit, Desp"},
    {Kind::Goods, "TGoods", TEXT("GoodsName"), TEXT("GoodsCode") JOIN TEXT("Style") JOIN TEXT("Unit") JOIN TEXT("Desp"),
     TEXT("GoodsCode"), "GoodsName, GoodsCode, Style, Unit, Desp"},
    {Kind::AddressBookEntry, "TLinker", TEXT("Linker"),
     TEXT("Job") JOIN TEXT("Tele") JOIN TEXT("MobileCode") JOIN TEXT("HomeTele") JOIN TEXT("Fax") JOIN TEXT("QICQ")
         JOIN TEXT("WW") JOIN TEXT("EMail") JOIN TEXT("Address") JOIN TEXT("Fancy") JOIN TEXT("Desp"),
     "search_initials($.Linker)", "Linker, Job, Tele, MobileCode, HomeTele, Fax, QICQ, WW, EMail, Address, Fancy, Desp"},
};

#undef TEXT
#undef JOIN

// The values of one index row for the row called `row`.
QString indexValues(const IndexedTable &t, const QString &row)
{
    return QStringLiteral("%1+$.ID, %2, %3, %4")
        .arg(documentId(t.kind, 0))
        .arg(QString::fromLatin1(t.body), QString::fromLatin1(t.title), QString::fromLatin1(t.codes))
        .replace(QStringLiteral("$."), row + u'.');
}

const QString kInsertInto = QStringLiteral("INSERT INTO SearchIndex(docid, Body, Title, Codes) ");

const IndexedTable &tableOf(Kind kind)
{
    return *std::find_if(std::begin(kTables), std::end(kTables), [kind](const IndexedTable &t) { return t.kind == kind; });
}

QString insertTriggerName(const IndexedTable &t)
{
    return QStringLiteral("search_%1_insert").arg(QString::fromLatin1(t.table));
}

QString insertTriggerStatement(const IndexedTable &t)
{
    return QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS %1 AFTER INSERT ON main.%2 BEGIN %3 VALUES(%4); END")
        .arg(insertTriggerName(t), QString::fromLatin1(t.table), kInsertInto, indexValues(t, QStringLiteral("new")));
}

// One row's values looked up by its ID (?1) in single-row subqueries: an INSERT ... SELECT
// would make SQLite journal the statement, as the trigger does.
QString indexValuesOfId(const IndexedTable &t)
{
    auto lookUp = [&t](const char *expression) {
        return QStringLiteral("(SELECT %1 FROM %2 AS r WHERE r.ID=?1)")
            .arg(QString::fromLatin1(expression).replace(QStringLiteral("$."), QStringLiteral("r.")),
                 QString::fromLatin1(t.table));
    };
    return QStringLiteral("%1+?1, %2, %3, %4").arg(documentId(t.kind, 0)).arg(lookUp(t.body), lookUp(t.title), lookUp(t.codes));
}

QStringList triggerStatements(const IndexedTable &t)
{
    const QString table = QString::fromLatin1(t.table);
    const QString watched = QString::fromLatin1(t.watchedColumns);
    QStringList changed;
    for (const QString &column : watched.split(QStringLiteral(", ")))
        changed.append(QStringLiteral("old.%1 IS NOT new.%1").arg(column));
    const QString oldDocid = QStringLiteral("%1+old.ID").arg(documentId(t.kind, 0));
    return {
        insertTriggerStatement(t),
        QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS search_%1_update AFTER UPDATE OF %2 ON main.%1 WHEN %3 BEGIN "
                       "DELETE FROM SearchIndex WHERE docid=%4; %5 VALUES(%6); END")
            .arg(table, watched, changed.join(QStringLiteral(" OR ")), oldDocid, kInsertInto,
                 indexValues(t, QStringLiteral("new"))),
        QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS search_%1_delete AFTER DELETE ON main.%1 BEGIN "
                       "DELETE FROM SearchIndex WHERE docid=%2; END")
            .arg(table, oldDocid),
    };
}

QString (*bodyTextReader)(const QByteArray &) = nullptr;

struct RememberedBody
{
    QMutex mutex;
    QByteArray stored;
    QString text;
};

RememberedBody &rememberedBody()
{
    static RememberedBody remembered;
    return remembered;
}

void bodyTextFunction(sqlite3_context *context, int, sqlite3_value **arguments)
{
    const int size = sqlite3_value_bytes(arguments[0]);
    const char *bytes = static_cast<const char *>(sqlite3_value_blob(arguments[0]));
    QString text;
    if (bytes && size > 10) { // a stored body of 10 bytes or less is no body
        const QByteArray stored = QByteArray::fromRawData(bytes, size);
        RememberedBody &remembered = rememberedBody();
        QMutexLocker lock(&remembered.mutex);
        if (remembered.stored == stored)
            text = remembered.text;
        else if (bodyTextReader)
            text = bodyTextReader(stored);
    }
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void initialsFunction(sqlite3_context *context, int, sqlite3_value **arguments)
{
    const auto *utf8 = reinterpret_cast<const char *>(sqlite3_value_text(arguments[0]));
    const QByteArray initials =
        utf8 ? pinyinInitials(QString::fromUtf8(utf8, sqlite3_value_bytes(arguments[0]))).toUtf8() : QByteArray();
    sqlite3_result_text(context, initials.constData(), int(initials.size()), SQLITE_TRANSIENT);
}

// The index keeps its own copy of the text for the snippets; compressed, it takes a fraction of
// the room. Short values stay as they are, behind a first byte that says which.
void compressFunction(sqlite3_context *context, int, sqlite3_value **arguments)
{
    const auto *text = static_cast<const char *>(sqlite3_value_blob(arguments[0]));
    const int size = sqlite3_value_bytes(arguments[0]);
    QByteArray stored;
    if (size > 64) {
        stored = compression::compressed(QByteArrayView(text, size));
        stored.prepend('z');
    } else {
        stored = QByteArray(1, 't') + QByteArray(text, size);
    }
    sqlite3_result_blob(context, stored.constData(), int(stored.size()), SQLITE_TRANSIENT);
}

void uncompressFunction(sqlite3_context *context, int, sqlite3_value **arguments)
{
    const auto *bytes = static_cast<const uchar *>(sqlite3_value_blob(arguments[0]));
    const int size = sqlite3_value_bytes(arguments[0]);
    if (!bytes || size < 1) {
        sqlite3_result_text(context, "", 0, SQLITE_STATIC);
        return;
    }
    if (bytes[0] == 'z') {
        const QByteArray text = compression::uncompressed(QByteArrayView(bytes + 1, size - 1));
        sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    } else {
        sqlite3_result_text(context, reinterpret_cast<const char *>(bytes + 1), size - 1, SQLITE_TRANSIENT);
    }
}

bool installTriggers(SqliteConnection &connection)
{
    for (const IndexedTable &t : kTables) {
        for (const QString &statement : triggerStatements(t)) {
            if (!connection.execute(statement))
                return false;
        }
    }
    return true;
}

void dropTriggers(SqliteConnection &connection)
{
    for (const IndexedTable &t : kTables) {
        for (const char *event : {"insert", "update", "delete"})
            connection.execute(QStringLiteral("DROP TRIGGER IF EXISTS temp.search_%1_%2")
                                   .arg(QString::fromLatin1(t.table), QString::fromLatin1(event)));
    }
}

QString countOf(SqliteConnection &connection, const QString &sql)
{
    SqliteStatement query(connection, sql);
    return query.next() ? query.value(0).toString() : QString();
}

} // namespace

void prepareConnection(SqliteConnection &connection)
{
    sqlite3 *db = connection.handle();
    registerSearchTokenizer(db);
    sqlite3_create_function_v2(db, "search_body_text", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, bodyTextFunction,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "search_compress", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, compressFunction,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "search_uncompress", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               uncompressFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "search_initials", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, initialsFunction,
                               nullptr, nullptr, nullptr);
    if (exists(connection))
        installTriggers(connection);
}

bool exists(SqliteConnection &connection)
{
    return countOf(connection, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name='SearchIndex'")) == u"1";
}

// A join, not a subquery: the index looks each row up through one cursor, where a subquery
// opened a cursor per row and compiled the index's own lookup statement for each.
QString workBodyTextJoin()
{
    return QStringLiteral(" LEFT JOIN SearchIndex ON SearchIndex.docid = %1+TWork.ID").arg(documentId(Kind::WorkItem, 0));
}

bool isComplete(SqliteConnection &connection)
{
    if (!exists(connection))
        return false;
    // The size table has one short row per indexed document, so counting it is cheap; each
    // table is counted through its smallest index.
    QStringList counts;
    for (const IndexedTable &t : kTables)
        counts.append(QStringLiteral("(SELECT count(*) FROM %1)").arg(QString::fromLatin1(t.table)));
    const QString indexed = countOf(connection, QStringLiteral("SELECT count(*) FROM SearchIndex_docsize"));
    return !indexed.isEmpty()
           && indexed == countOf(connection, QStringLiteral("SELECT ") + counts.join(QStringLiteral(" + ")));
}

bool rebuild(SqliteConnection &connection, const std::function<void(int, int)> &progress)
{
    if (!connection.execute(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    auto fill = [&] {
        // The body comes first: the index marks every column but the first in each of its
        // entries, and most entries are the bodies'.
        if (!connection.execute(QStringLiteral("DROP TABLE IF EXISTS SearchIndex"))
            || !connection.execute(QStringLiteral(
                "CREATE VIRTUAL TABLE SearchIndex USING fts4(Body, Title, Codes, tokenize=%1, "
                "compress=search_compress, uncompress=search_uncompress)").arg(kSearchTokenizerName))
            || !installTriggers(connection))
            return false;
        for (const IndexedTable &t : kTables) {
            if (t.kind == Kind::WorkItem)
                continue;
            if (!connection.execute(QStringLiteral("%1 SELECT %2 FROM %3 AS r")
                                        .arg(kInsertInto, indexValues(t, QStringLiteral("r")), QString::fromLatin1(t.table))))
                return false;
        }
        // Work items go in batches, since reading their bodies is what takes the time.
        const int total = countOf(connection, QStringLiteral("SELECT count(*) FROM TWork")).toInt();
        const QString batch = QStringLiteral("%1 SELECT %2 FROM TWork AS r WHERE r.ID > ? ORDER BY r.ID LIMIT 200")
                                  .arg(kInsertInto, indexValues(kTables[0], QStringLiteral("r")));
        SqliteStatement batchEnd(connection, QStringLiteral(
            "SELECT max(ID), count(*) FROM (SELECT ID FROM TWork WHERE ID > ? ORDER BY ID LIMIT 200)"));
        qint64 lastId = -1;
        for (int done = 0; done < total;) {
            if (progress)
                progress(done, total);
            if (!batchEnd.bind({lastId}) || !batchEnd.next() || batchEnd.value(1).toInt() == 0
                || !connection.execute(batch, {lastId}))
                return false;
            done += batchEnd.value(1).toInt();
            lastId = batchEnd.value(0).toLongLong();
        }
        if (progress)
            progress(total, total);
        return true;
    };
    if (fill() && connection.execute(QStringLiteral("COMMIT")))
        return true;
    connection.execute(QStringLiteral("ROLLBACK"));
    // Triggers over an index that the rollback took away would refuse every change.
    if (!exists(connection))
        dropTriggers(connection);
    return false;
}

BulkInsertion::BulkInsertion(SqliteConnection &connection, Kind kind) : m_connection(connection), m_kind(kind)
{
    // Room for the whole transaction's pages: spilling some of them to the file before the
    // commit encrypts and writes them twice, and syncs the journal each time.
    m_cacheSize = countOf(connection, QStringLiteral("PRAGMA cache_size"));
    connection.execute(QStringLiteral("PRAGMA cache_size = -65536"));
    if (!exists(connection))
        return;
    const IndexedTable &t = tableOf(kind);
    m_triggerWasOn = countOf(connection, QStringLiteral("SELECT count(*) FROM sqlite_temp_master WHERE name='%1'")
                                             .arg(insertTriggerName(t))) == u"1";
    // Off already when another bulk insertion is under way: that one puts it back.
    if (m_triggerWasOn && !connection.execute(QStringLiteral("DROP TRIGGER temp.%1").arg(insertTriggerName(t)))) {
        m_triggerWasOn = false;
        return; // the trigger indexes every row, as it always does
    }
    m_index = std::make_unique<SqliteStatement>(connection, kInsertInto + QStringLiteral("VALUES(%1)").arg(indexValuesOfId(t)));
}

BulkInsertion::~BulkInsertion()
{
    m_index.reset();
    if (m_triggerWasOn)
        m_connection.execute(insertTriggerStatement(tableOf(m_kind)));
    if (!m_cacheSize.isEmpty())
        m_connection.execute(QStringLiteral("PRAGMA cache_size = %1").arg(m_cacheSize.toInt()));
}

bool BulkInsertion::add(qint64 recordId)
{
    return !m_index || m_index->execute({recordId});
}

void setBodyTextReader(QString (*reader)(const QByteArray &))
{
    bodyTextReader = reader;
}

void rememberBodyText(const QByteArray &stored, const QString &text)
{
    RememberedBody &remembered = rememberedBody();
    QMutexLocker lock(&remembered.mutex);
    remembered.stored = stored;
    remembered.text = text;
}

} // namespace searchindex
