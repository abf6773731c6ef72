#pragma once

#include <QByteArray>
#include <QVariant>
#include <QVariantList>
#include <vector>

class SqliteStatement;

// The rows of a result set, each kept as one block of bytes in the form SQLite hands them
// out: UTF-8 text stays UTF-8 until a cell is read. A list of fifty thousand clients then
// costs fifty thousand allocations instead of one per text cell, and a grid converts only
// the cells it shows.
class RowStore
{
public:
    explicit RowStore(int columns = 0) : m_columns(columns) {}

    int columnCount() const { return m_columns; }
    int rowCount() const { return int(m_rows.size()); }
    void clear() { m_rows.clear(); }

    // The statement's current row, whose column count must be columnCount().
    void appendRow(const SqliteStatement &query);
    // A row of NULLs.
    void appendEmptyRow();
    void removeRow(int row);
    // Puts the rows in this order: order[i] is the row that becomes row i.
    void reorder(const std::vector<int> &order);

    // INTEGER → qlonglong, REAL → double, TEXT → QString, BLOB → QByteArray, NULL → invalid,
    // as SqliteStatement::value reads them.
    QVariant value(int row, int column) const;
    // value(row, column).toString() without the QVariant between: for loops over many cells.
    QString text(int row, int column) const;
    QVariantList rowValues(int row) const;
    // Stores a value as the database would hand it back: numbers as qlonglong or double,
    // byte arrays as blobs, everything else as its text.
    void setRowValues(int row, const QVariantList &values);
    void setValue(int row, int column, const QVariant &value);

private:
    QByteArray encode(const QVariantList &values) const;

    int m_columns;
    std::vector<QByteArray> m_rows;
};
