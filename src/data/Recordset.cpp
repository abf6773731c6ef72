#include "data/Recordset.h"

#include "data/DbDates.h"
#include "data/PinyinCollation.h"
#include "data/Database.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <numeric>

namespace {

QString tableAfterFrom(const QString &sql)
{
    static const QRegularExpression from(QStringLiteral(R"(\bfrom\s+\[?(\w+)\]?)"),
                                         QRegularExpression::CaseInsensitiveOption);
    return from.match(sql).captured(1);
}

// The stored form of a value: what the database would hand back after writing it.
QVariant storedForm(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDateTime: return dbdates::toText(value.toDateTime());
    case QMetaType::QDate: return dbdates::toText(value.toDate());
    case QMetaType::Bool: return qlonglong(value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long: return value.toLongLong();
    case QMetaType::Float: return value.toDouble();
    default: return value;
    }
}

bool isNumber(const QVariant &value)
{
    return value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Double;
}

// NULL first, then numbers, then text in pinyin order, then blobs.
int compareCells(const QVariant &a, const QVariant &b)
{
    if (a.isNull() != b.isNull())
        return a.isNull() ? -1 : 1;
    if (a.isNull())
        return 0;
    if (isNumber(a) && isNumber(b)) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (isNumber(a) != isNumber(b))
        return isNumber(a) ? -1 : 1;
    return comparePinyin(a.toString(), b.toString());
}

} // namespace

Recordset::Recordset(QObject *parent)
    : Recordset(Database::instance(), parent)
{
}

Recordset::Recordset(Database &database, QObject *parent)
    : QObject(parent)
    , m_database(database)
{
    connect(&m_database, &Database::connectionClosed, this, &Recordset::close);
}

bool Recordset::open(const QString &sql, const QVariantList &params)
{
    clearRows();
    m_fields.clear();
    m_state = State::Closed;
    m_lastError.clear();
    m_updateTable = tableAfterFrom(sql);

    SqliteStatement query(m_database.connection(), sql);
    if (!query.bind(params)) {
        fail(m_database.lastError());
        return false;
    }
    const int columns = query.columnCount();
    for (int c = 0; c < columns; ++c)
        m_fields.append(query.columnName(c));
    m_rows = RowStore(columns);
    while (query.next())
        m_rows.appendRow(query);
    if (query.failed()) {
        fail(m_database.lastError());
        return false;
    }
    m_state = State::Browse;
    m_current = isEmpty() ? -1 : 0;
    m_eof = false;
    emit reset();
    emit currentChanged(m_current);
    return true;
}

void Recordset::close()
{
    if (m_state == State::Closed && m_fields.isEmpty())
        return;
    clearRows();
    m_fields.clear();
    m_state = State::Closed;
    emit reset();
    emit currentChanged(-1);
}

void Recordset::clearRows()
{
    m_rows.clear();
    m_current = -1;
    m_eof = false;
    m_beforeEdit.clear();
    m_changed.clear();
}

void Recordset::fail(const QString &error)
{
    clearRows();
    m_fields.clear();
    m_state = State::Closed;
    m_lastError = error;
    emit reset();
    emit currentChanged(-1);
}

int Recordset::fieldIndex(const QString &field) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Recordset::moveTo(int row)
{
    if (row < 0 || row >= count())
        return false;
    // Leaving a row writes what was typed into it, so moving on never loses an edit.
    if ((m_state == State::Edit || m_state == State::Insert) && !post())
        return false;
    m_eof = false;
    if (row != m_current) {
        m_current = row;
        emit currentChanged(m_current);
    }
    return true;
}

bool Recordset::next()
{
    if (m_current + 1 >= count()) {
        m_eof = true;
        return false;
    }
    return moveTo(m_current + 1);
}

bool Recordset::prior()
{
    return moveTo(m_current - 1);
}

QVariant Recordset::value(const QString &field) const
{
    const int column = fieldIndex(field);
    if (column < 0 || m_current < 0)
        return {};
    return cell(m_current, column);
}

QVariant Recordset::valueAt(int row, int column) const
{
    if (row < 0 || row >= count() || column < 0 || column >= m_fields.size())
        return {};
    return cell(row, column);
}

QString Recordset::textAt(int row, int column) const
{
    if (row < 0 || row >= count() || column < 0 || column >= m_fields.size())
        return {};
    return m_rows.text(row, column);
}

QString Recordset::text(const QString &field) const
{
    return value(field).toString();
}

qint64 Recordset::integer(const QString &field) const
{
    const QVariant v = value(field);
    // Numbers stored as text (an INTEGER column keeps text it cannot convert) read as 0.
    return v.typeId() == QMetaType::Double ? qint64(v.toDouble()) : v.toLongLong();
}

double Recordset::number(const QString &field) const
{
    return value(field).toDouble();
}

QDateTime Recordset::dateTime(const QString &field) const
{
    return dbdates::fromValue(value(field));
}

bool Recordset::boolean(const QString &field) const
{
    return integer(field) != 0;
}

QByteArray Recordset::blob(const QString &field) const
{
    return value(field).toByteArray();
}

void Recordset::append()
{
    if (!isOpen())
        return;
    if (m_state != State::Browse)
        cancel();
    emit rowAboutToBeInserted(count());
    m_rows.appendEmptyRow();
    m_current = count() - 1;
    m_eof = false;
    m_state = State::Insert;
    m_changed.assign(size_t(m_fields.size()), false);
    emit rowInserted(m_current);
    emit currentChanged(m_current);
}

void Recordset::edit()
{
    if (m_state != State::Browse)
        return;
    if (count() == 0) {
        append();
        return;
    }
    if (m_current < 0)
        return;
    m_beforeEdit = m_rows.rowValues(m_current);
    m_changed.assign(size_t(m_fields.size()), false);
    m_state = State::Edit;
}

bool Recordset::set(const QString &field, const QVariant &value)
{
    const int column = fieldIndex(field);
    if (column < 0) {
        m_lastError = QStringLiteral("no field %1").arg(field);
        return false;
    }
    edit();
    if (m_state != State::Edit && m_state != State::Insert)
        return false;
    m_rows.setValue(m_current, column, storedForm(value));
    m_changed[size_t(column)] = true;
    emit rowChanged(m_current);
    return true;
}

QStringList Recordset::tableColumns()
{
    QStringList columns;
    SqliteStatement info(m_database.connection(), QStringLiteral("PRAGMA table_info(\"%1\")").arg(m_updateTable));
    while (info.next())
        columns.append(info.value(1).toString());
    return columns;
}

bool Recordset::post()
{
    if (m_state == State::Browse)
        return true;
    if (m_state == State::Closed || m_updateTable.isEmpty()) {
        m_lastError = QStringLiteral("nothing to write to");
        return false;
    }
    const QStringList writable = tableColumns();
    if (writable.isEmpty()) {
        m_lastError = QStringLiteral("no table %1 to write to").arg(m_updateTable);
        return false;
    }
    if (!(m_state == State::Insert ? insertPending(writable) : updatePending(writable)))
        return false;
    m_state = State::Browse;
    m_beforeEdit.clear();
    m_changed.clear();
    emit rowChanged(m_current);
    return true;
}

bool Recordset::insertPending(const QStringList &writable)
{
    QStringList names;
    QVariantList values;
    for (int c = 0; c < m_fields.size(); ++c) {
        if (m_changed[size_t(c)] && writable.contains(m_fields.at(c), Qt::CaseInsensitive)) {
            names.append('"' + m_fields.at(c) + '"');
            values.append(cell(m_current, c));
        }
    }
    const QString sql = names.isEmpty()
        ? QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(m_updateTable)
        : QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
              .arg(m_updateTable, names.join(','), QStringList(names.size(), QStringLiteral("?")).join(','));
    if (!m_database.execute(sql, values)) {
        m_lastError = m_database.lastError();
        return false;
    }
    refreshRow(m_current, m_database.connection().lastInsertId());
    return true;
}

bool Recordset::updatePending(const QStringList &writable)
{
    const int idColumn = fieldIndex(QStringLiteral("ID"));
    if (idColumn < 0) {
        m_lastError = QStringLiteral("the query has no ID to update by");
        return false;
    }
    QStringList assignments;
    QVariantList values;
    for (int c = 0; c < m_fields.size(); ++c) {
        if (c != idColumn && m_changed[size_t(c)] && writable.contains(m_fields.at(c), Qt::CaseInsensitive)) {
            assignments.append('"' + m_fields.at(c) + "\"=?");
            values.append(cell(m_current, c));
        }
    }
    if (assignments.isEmpty())
        return true;
    values.append(cell(m_current, idColumn));
    if (!m_database.execute(QStringLiteral("UPDATE \"%1\" SET %2 WHERE ID=?").arg(m_updateTable, assignments.join(',')),
                      values)) {
        m_lastError = m_database.lastError();
        return false;
    }
    return true;
}

// Reads a freshly inserted row back, so its ID and column defaults show as stored.
void Recordset::refreshRow(int row, qint64 id)
{
    SqliteStatement query(m_database.connection(), QStringLiteral("SELECT * FROM \"%1\" WHERE ID=?").arg(m_updateTable));
    if (!query.bind({id}) || !query.next())
        return;
    QVariantList values = m_rows.rowValues(row);
    for (int c = 0; c < query.columnCount(); ++c) {
        const int column = fieldIndex(query.columnName(c));
        if (column >= 0)
            values[column] = query.value(c);
    }
    m_rows.setRowValues(row, values);
}

void Recordset::cancel()
{
    if (m_state == State::Insert) {
        m_state = State::Browse;
        removeRow(m_current);
    } else if (m_state == State::Edit) {
        m_rows.setRowValues(m_current, m_beforeEdit);
        m_state = State::Browse;
        emit rowChanged(m_current);
    }
    m_beforeEdit.clear();
    m_changed.clear();
}

void Recordset::removeRow(int row)
{
    emit rowAboutToBeRemoved(row);
    m_rows.removeRow(row);
    emit rowRemoved(row);
    m_current = std::min(row, count() - 1);
    emit currentChanged(m_current);
}

bool Recordset::deleteCurrent()
{
    if (m_state == State::Insert) {
        cancel();
        return true;
    }
    if (m_state == State::Edit)
        cancel();
    const int idColumn = fieldIndex(QStringLiteral("ID"));
    if (m_current < 0 || idColumn < 0 || m_updateTable.isEmpty()) {
        m_lastError = QStringLiteral("no row to delete");
        return false;
    }
    if (!m_database.execute(QStringLiteral("DELETE FROM \"%1\" WHERE ID=?").arg(m_updateTable),
                      {cell(m_current, idColumn)})) {
        m_lastError = m_database.lastError();
        return false;
    }
    removeRow(m_current);
    return true;
}

bool Recordset::sort(const QString &order)
{
    const QStringList parts = order.simplified().split(' ');
    const int column = fieldIndex(parts.value(0));
    if (column < 0 || parts.size() > 2)
        return false;
    const bool descending = parts.value(1).compare(QStringLiteral("DESC"), Qt::CaseInsensitive) == 0;
    if (m_state != State::Browse && !post())
        return false;

    // Each key is read once; comparing stored bytes would read them at every comparison.
    std::vector<QVariant> keys;
    keys.reserve(size_t(count()));
    for (int row = 0; row < count(); ++row)
        keys.push_back(cell(row, column));
    std::vector<int> rows(keys.size());
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const int result = compareCells(keys[size_t(a)], keys[size_t(b)]);
        return descending ? result > 0 : result < 0;
    });
    m_rows.reorder(rows);
    m_current = m_current < 0 ? -1 : int(std::find(rows.begin(), rows.end(), m_current) - rows.begin());
    emit reset();
    emit currentChanged(m_current);
    return true;
}

bool Recordset::locate(qint64 id)
{
    const int idColumn = fieldIndex(QStringLiteral("ID"));
    if (idColumn < 0)
        return false;
    for (int row = 0; row < count(); ++row) {
        const QVariant rowId = cell(row, idColumn);
        if (!rowId.isNull() && rowId.toLongLong() == id)
            return moveTo(row);
    }
    return false;
}

bool Recordset::blobToFile(const QString &field, const QString &path) const
{
    if (fieldIndex(field) < 0 || m_current < 0)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = blob(field);
    return file.write(bytes) == bytes.size();
}

bool Recordset::blobFromFile(const QString &field, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return set(field, file.readAll());
}
