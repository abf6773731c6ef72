#pragma once

#include "data/Sqlite.h"

#include <QObject>
#include <QStringList>
#include <functional>

// The data module: owns the one connection to the program's encrypted database file and
// answers the small list and value queries that fill drop-downs. Every window reads and
// writes through Recordsets and commands bound to this connection.
class Database : public QObject
{
    Q_OBJECT
public:
    explicit Database(QObject *parent = nullptr);
    ~Database() override;

    // The data module of the running program (the one most recently created).
    static Database &instance();

    // Opens program folder + "db/DOZA.dat". A file that is missing, not a database or keyed
    // otherwise shows the installation message once; the program then runs without data.
    void openAtStartup();
    // Opens the same file again, without a message (after the file copies of backup and restore).
    bool open();
    // Closes the connection; every Recordset bound to it closes too.
    void close();
    bool isOpen() const { return m_connection.isOpen(); }
    QString databasePath() const;

    // The first column of the first row as text; empty on no row or any failure.
    QString queryValue(const QString &sql, const QVariantList &params = {});
    // Replaces `items` with the first column of every row, empty values included. Empty SQL
    // or a failing query leaves `items` as it was.
    void queryColumn(const QString &sql, QStringList &items, const QVariantList &params = {});
    // Appends the non-empty first-column values of every row, after clearing `items` when
    // `clear` is set and the query has opened. A failing query leaves `items` as it was.
    void appendNonEmptyValues(const QString &sql, QStringList &items, bool clear,
                             const QVariantList &params = {});

    // Runs a statement that returns no rows.
    bool execute(const QString &sql, const QVariantList &params = {});
    // Runs `work` in one transaction: committed when it returns true, rolled back otherwise.
    bool inTransaction(const std::function<bool()> &work);

    SqliteConnection &connection() { return m_connection; }
    QString lastError() const { return m_connection.lastError(); }

signals:
    void connectionClosed();

private:
    SqliteConnection m_connection;
};

// The database key, fixed in the program.
QByteArray databaseKey();
