#pragma once

#include "data/RowStore.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <vector>

class Database;

// An updatable result set: opens a query, holds all its rows, and has a current row that is
// read by field name and written back to the query's table by its `ID`. Lists show it through
// RecordsetModel. Closing the connection closes every Recordset bound to it.
class Recordset : public QObject
{
    Q_OBJECT
public:
    enum class State { Closed, Browse, Edit, Insert };

    explicit Recordset(QObject *parent = nullptr); // on Database::instance()
    explicit Recordset(Database &database, QObject *parent = nullptr);

    // Runs the query and loads its rows; the first row becomes current. Any pending edit is
    // dropped. On failure the Recordset is closed and lastError() says why.
    bool open(const QString &sql, const QVariantList &params = {});
    void close();
    bool isOpen() const { return m_state != State::Closed; }
    State state() const { return m_state; }
    QString lastError() const { return m_lastError; }

    // The table that post() and deleteCurrent() write: the first table after FROM unless set.
    void setUpdateTable(const QString &table) { m_updateTable = table; }
    QString updateTable() const { return m_updateTable; }

    int fieldCount() const { return int(m_fields.size()); }
    QString fieldName(int column) const { return m_fields.value(column); }
    // Case-insensitive, as column names are in the database; -1 when there is no such field.
    int fieldIndex(const QString &field) const;
    bool hasField(const QString &field) const { return fieldIndex(field) >= 0; }

    int count() const { return m_rows.rowCount(); }
    bool isEmpty() const { return m_rows.rowCount() == 0; }

    // The current row: -1 when there is none. Moving emits currentChanged.
    int position() const { return m_current; }
    bool moveTo(int row);
    bool first() { return moveTo(0); }
    bool last() { return moveTo(count() - 1); }
    // Moves on; at the last row it stays there and eof() becomes true.
    bool next();
    bool prior();
    bool eof() const { return m_eof || isEmpty(); }

    // Fields of the current row. An unknown field or no current row reads as NULL.
    QVariant value(const QString &field) const;
    QVariant valueAt(int row, int column) const;
    QString textAt(int row, int column) const;
    bool isNull(const QString &field) const { return value(field).isNull(); }
    QString text(const QString &field) const;
    qint64 integer(const QString &field) const;
    double number(const QString &field) const;
    // Stored ISO text or day numbers; invalid for NULL and unreadable values.
    QDateTime dateTime(const QString &field) const;
    bool boolean(const QString &field) const;
    QByteArray blob(const QString &field) const;

    // Starts a new row at the end; it is written by post() and dropped by cancel().
    void append();
    // Starts editing the current row; on an empty Recordset it starts a new row instead.
    void edit();
    // Sets a field of the row being edited (starting an edit when browsing). Date-times and
    // dates are stored as ISO text, booleans as 0/1. False for an unknown field.
    bool set(const QString &field, const QVariant &value);
    // Writes the pending row: INSERT for a new row (its ID and defaults are read back),
    // UPDATE of the changed fields otherwise. False on failure; the edit then stays pending.
    bool post();
    void cancel();
    // Deletes the current row from the table and from the Recordset.
    bool deleteCurrent();

    // Orders the loaded rows by one field, "Name", "Name ASC" or "Name DESC", without
    // querying again; the current row stays current. Text sorts in pinyin order.
    bool sort(const QString &order);
    // Makes the row with this ID current.
    bool locate(qint64 id);

    bool blobToFile(const QString &field, const QString &path) const;
    bool blobFromFile(const QString &field, const QString &path);

signals:
    void reset();                  // opened, closed or re-ordered
    void rowAboutToBeInserted(int row); // append
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);  // delete or a cancelled append
    void rowRemoved(int row);
    void rowChanged(int row);      // a field set, a post or a cancelled edit
    void currentChanged(int row);

private:
    QVariant cell(int row, int column) const { return m_rows.value(row, column); }
    void clearRows();
    void removeRow(int row);
    void fail(const QString &error);
    QStringList tableColumns();
    // `writable`: the columns of the update table; fields outside it are not written.
    bool insertPending(const QStringList &writable);
    bool updatePending(const QStringList &writable);
    void refreshRow(int row, qint64 id);

    Database &m_database;
    State m_state = State::Closed;
    QString m_updateTable;
    QStringList m_fields;
    RowStore m_rows;
    int m_current = -1;
    bool m_eof = false;
    QVariantList m_beforeEdit;     // the row as it was when editing began
    std::vector<bool> m_changed;   // fields set since editing began
    QString m_lastError;
};
