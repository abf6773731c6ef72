#include "data/RowStore.h"

#include "data/Sqlite.h"

#include <sqlcipher/sqlite3.h>

#include <QVarLengthArray>
#include <cstring>

// A row's bytes: one type byte per column (SQLite's own type codes), then one 32-bit end
// offset per column, then the cells' contents one after the other. Numbers take their eight
// bytes, text its UTF-8, a blob its bytes, NULL nothing.
namespace {

using Offset = quint32;

int headerSize(int columns)
{
    return columns * int(1 + sizeof(Offset));
}

Offset endOf(const char *row, int columns, int column)
{
    Offset end;
    std::memcpy(&end, row + columns + column * int(sizeof(Offset)), sizeof end);
    return end;
}

struct Cell
{
    int type = SQLITE_NULL;
    const void *data = nullptr;
    qsizetype size = 0;
    qint64 integer = 0;
    double real = 0;
    QByteArray owned; // text or bytes converted from a QVariant
};

QByteArray pack(const Cell *cells, int columns)
{
    qsizetype total = headerSize(columns);
    for (int c = 0; c < columns; ++c)
        total += cells[c].size;
    QByteArray row(total, Qt::Uninitialized);
    char *out = row.data();
    Offset end = Offset(headerSize(columns));
    for (int c = 0; c < columns; ++c) {
        const Cell &cell = cells[c];
        out[c] = char(cell.type);
        if (cell.size > 0)
            std::memcpy(out + end, cell.data, size_t(cell.size));
        end += Offset(cell.size);
        std::memcpy(out + columns + c * int(sizeof(Offset)), &end, sizeof end);
    }
    return row;
}

void setNumber(Cell &cell, int type, const void *number)
{
    cell.type = type;
    cell.data = number;
    cell.size = 8;
}

} // namespace

void RowStore::appendRow(const SqliteStatement &query)
{
    sqlite3_stmt *stmt = query.handle();
    QVarLengthArray<Cell, 64> cells(m_columns);
    for (int c = 0; c < m_columns; ++c) {
        Cell &cell = cells[c];
        switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_INTEGER:
            cell.integer = sqlite3_column_int64(stmt, c);
            setNumber(cell, SQLITE_INTEGER, &cell.integer);
            break;
        case SQLITE_FLOAT:
            cell.real = sqlite3_column_double(stmt, c);
            setNumber(cell, SQLITE_FLOAT, &cell.real);
            break;
        case SQLITE_TEXT:
            cell.type = SQLITE_TEXT;
            cell.data = sqlite3_column_text(stmt, c);
            cell.size = sqlite3_column_bytes(stmt, c);
            break;
        case SQLITE_BLOB:
            cell.type = SQLITE_BLOB;
            cell.data = sqlite3_column_blob(stmt, c);
            cell.size = sqlite3_column_bytes(stmt, c);
            break;
        default:
            break;
        }
    }
    m_rows.push_back(pack(cells.constData(), m_columns));
}

void RowStore::appendEmptyRow()
{
    const QVarLengthArray<Cell, 64> cells(m_columns);
    m_rows.push_back(pack(cells.constData(), m_columns));
}

void RowStore::removeRow(int row)
{
    m_rows.erase(m_rows.begin() + row);
}

void RowStore::reorder(const std::vector<int> &order)
{
    std::vector<QByteArray> ordered;
    ordered.reserve(order.size());
    for (int row : order)
        ordered.push_back(std::move(m_rows[size_t(row)]));
    m_rows = std::move(ordered);
}

QVariant RowStore::value(int row, int column) const
{
    const char *bytes = m_rows[size_t(row)].constData();
    const Offset start = column == 0 ? Offset(headerSize(m_columns)) : endOf(bytes, m_columns, column - 1);
    const Offset end = endOf(bytes, m_columns, column);
    const char *data = bytes + start;
    switch (bytes[column]) {
    case SQLITE_INTEGER: {
        qint64 integer;
        std::memcpy(&integer, data, sizeof integer);
        return qlonglong(integer);
    }
    case SQLITE_FLOAT: {
        double real;
        std::memcpy(&real, data, sizeof real);
        return real;
    }
    case SQLITE_TEXT: return QString::fromUtf8(data, qsizetype(end - start));
    case SQLITE_BLOB: return QByteArray(data, qsizetype(end - start));
    default: return {};
    }
}

QString RowStore::text(int row, int column) const
{
    const char *bytes = m_rows[size_t(row)].constData();
    if (bytes[column] != SQLITE_TEXT)
        return value(row, column).toString();
    const Offset start = column == 0 ? Offset(headerSize(m_columns)) : endOf(bytes, m_columns, column - 1);
    return QString::fromUtf8(bytes + start, qsizetype(endOf(bytes, m_columns, column) - start));
}

QVariantList RowStore::rowValues(int row) const
{
    QVariantList values;
    values.reserve(m_columns);
    for (int c = 0; c < m_columns; ++c)
        values.append(value(row, c));
    return values;
}

void RowStore::setRowValues(int row, const QVariantList &values)
{
    m_rows[size_t(row)] = encode(values);
}

void RowStore::setValue(int row, int column, const QVariant &value)
{
    QVariantList values = rowValues(row);
    values[column] = value;
    setRowValues(row, values);
}

QByteArray RowStore::encode(const QVariantList &values) const
{
    QVarLengthArray<Cell, 64> cells(m_columns);
    for (int c = 0; c < m_columns; ++c) {
        const QVariant value = values.value(c);
        Cell &cell = cells[c];
        switch (storageClassOf(value)) {
        case SQLITE_INTEGER:
            cell.integer = value.toLongLong();
            setNumber(cell, SQLITE_INTEGER, &cell.integer);
            break;
        case SQLITE_FLOAT:
            cell.real = value.toDouble();
            setNumber(cell, SQLITE_FLOAT, &cell.real);
            break;
        case SQLITE_BLOB:
            cell.type = SQLITE_BLOB;
            cell.owned = value.toByteArray();
            break;
        case SQLITE_TEXT:
            cell.type = SQLITE_TEXT;
            cell.owned = value.toString().toUtf8();
            break;
        default:
            break;
        }
        if (cell.type == SQLITE_BLOB || cell.type == SQLITE_TEXT) {
            cell.data = cell.owned.constData();
            cell.size = cell.owned.size();
        }
    }
    return pack(cells.constData(), m_columns);
}
