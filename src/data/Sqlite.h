#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

// Thin RAII layer over SQLCipher: one keyed connection and its prepared statements.
// Values always travel as bound parameters, never as SQL text.
class SqliteConnection
{
public:
    SqliteConnection() = default;
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection &) = delete;
    SqliteConnection &operator=(const SqliteConnection &) = delete;

    enum class Access {
        ReadWrite,
        // A missing file is created (only the template generator and tests make new files).
        CreateIfMissing,
        // Reads only, through a memory map, without SQLite's locks and without playing back a
        // journal beside the file: for a file of the program's own that nothing else writes,
        // such as a copy it has just made.
        ReadUnchanging,
    };

    // Opens an existing encrypted file and proves the key by reading the schema.
    bool open(const QString &path, const QByteArray &key, Access access = Access::ReadWrite);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    // Runs one statement that returns no rows.
    bool execute(const QString &sql, const QVariantList &params = {});
    QString lastError() const { return m_lastError; }
    qint64 lastInsertId() const;

private:
    friend class SqliteStatement;
    void setError(const QString &context);

    sqlite3 *m_db = nullptr;
    QString m_lastError;
};

// A LIKE pattern that matches `text` literally at the start of a value, for statements
// written as  X like ? escape '\': % and _ in names are ordinary characters there.
QString likePrefix(const QString &text);

// The SQLite type a value is stored as (SQLITE_NULL, _INTEGER, _FLOAT, _BLOB or _TEXT):
// integers and booleans as integers, floating point as reals, byte arrays as blobs, and
// everything else as its text.
int storageClassOf(const QVariant &value);

class SqliteStatement
{
public:
    SqliteStatement(SqliteConnection &connection, const QString &sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    bool isValid() const { return m_stmt != nullptr; }
    // Binds the values; binding again runs the statement again from its start.
    bool bind(const QVariantList &params);
    // Binds the values and runs the statement through, for one that returns no rows.
    bool execute(const QVariantList &params = {});
    // Steps to the next row: true while there is a row, false at the end or on error
    // (then `failed()` says which).
    bool next();
    bool failed() const { return m_failed; }

    int columnCount() const;
    QString columnName(int column) const;
    // INTEGER → qlonglong, REAL → double, TEXT → QString, BLOB → QByteArray, NULL → invalid.
    QVariant value(int column) const;
    sqlite3_stmt *handle() const { return m_stmt; }

private:
    SqliteConnection &m_connection;
    sqlite3_stmt *m_stmt = nullptr;
    bool m_failed = false;
};
