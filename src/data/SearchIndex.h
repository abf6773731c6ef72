#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class SqliteConnection;
class SqliteStatement;
struct sqlite3;

// The full-text index over every page's records: one FTS4 table `SearchIndex` in the same
// encrypted file, whose document ids say which record of which table a row indexes. Our own
// tokenizer cuts text the way util/SearchText describes. Triggers that live only in this
// program's connection keep the index current in the same transaction as every change to an
// indexed table, so a file still opens and works in a version without the index.
namespace searchindex {

// What a result is; part of the document id, so its values are stored and never change.
enum class Kind { WorkItem = 1, Client, Contact, Activity, FollowUp, Goods, AddressBookEntry };
inline constexpr int kKindCount = 7;

// The kind in the high bits and the record's ID in the low ones: the ids of one kind are
// neighbours, so the index's lists, which store the differences between ids, stay short.
inline constexpr int kKindShift = 40;
inline qint64 documentId(Kind kind, qint64 recordId) { return (qint64(kind) << kKindShift) + recordId; }
inline Kind kindOf(qint64 documentId) { return Kind(documentId >> kKindShift); }
inline qint64 recordIdOf(qint64 documentId) { return documentId & ((qint64(1) << kKindShift) - 1); }

// Registers the tokenizer and the SQL functions the triggers use on a new connection, and
// installs the triggers when the file has the index.
void prepareConnection(SqliteConnection &connection);

bool exists(SqliteConnection &connection);
// A join for a statement over TWork that brings each row's body as plain text, as the index
// holds it, in the column `SearchIndex.Body`: reading it needs no rich-text document. Only
// where exists() holds.
QString workBodyTextJoin();
// False when the index is missing or does not hold one row per indexed record (it was
// damaged, or an older version changed the records without it).
bool isComplete(SqliteConnection &connection);
// Makes the index anew and fills it from every indexed table, in one transaction;
// `progress` hears done/total as the work items' bodies are read, which is the slow part.
bool rebuild(SqliteConnection &connection, const std::function<void(int done, int total)> &progress = {});

// Adds many new rows of one table inside a transaction at about the cost of their rows alone.
// Through the insert trigger, SQLite keeps a statement journal for every row, and the index
// writes out the terms it holds at each; while a BulkInsertion lives, that trigger is off and
// add() indexes each new row by its ID with a statement of its own, so the terms pile up in
// memory until the commit. Other changes to the table are still indexed by their triggers.
// The connection's page cache grows meanwhile to hold the transaction.
class BulkInsertion
{
public:
    BulkInsertion(SqliteConnection &connection, Kind kind);
    ~BulkInsertion();
    BulkInsertion(const BulkInsertion &) = delete;
    BulkInsertion &operator=(const BulkInsertion &) = delete;

    // Indexes the row just inserted with this ID; false when the index refused it.
    bool add(qint64 recordId);

private:
    SqliteConnection &m_connection;
    Kind m_kind;
    bool m_triggerWasOn = false;
    QString m_cacheSize;
    std::unique_ptr<SqliteStatement> m_index;
};

// Reads a work item's plain text from its stored body; set by the layer that knows bodies.
void setBodyTextReader(QString (*reader)(const QByteArray &stored));
// The plain text of a body about to be stored, so that indexing it needs no second reading.
void rememberBodyText(const QByteArray &stored, const QString &text);

} // namespace searchindex
