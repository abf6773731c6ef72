#include "data/Sqlite.h"

#include "data/MappedReadVfs.h"
#include "data/PinyinCollation.h"
#include "data/SearchIndex.h"

#include <sqlcipher/sqlite3.h>

#include <QFileInfo>
#include <QUrl>

SqliteConnection::~SqliteConnection()
{
    close();
}

namespace {

// SQLite reads its options from a URI, where the path's own '?', '#' and '%' are escaped.
QByteArray unchangingFileUri(const QString &path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + "?immutable=1";
}

} // namespace

bool SqliteConnection::open(const QString &path, const QByteArray &key, Access access)
{
    close();
    if (access != Access::CreateIfMissing && !QFileInfo(path).isFile()) {
        m_lastError = QStringLiteral("no database file at %1").arg(path);
        return false;
    }
    const bool readOnly = access == Access::ReadUnchanging;
    const int flags = readOnly ? SQLITE_OPEN_READONLY | SQLITE_OPEN_URI
                               : SQLITE_OPEN_READWRITE | (access == Access::CreateIfMissing ? SQLITE_OPEN_CREATE : 0);
    const QByteArray name = readOnly ? unchangingFileUri(path) : path.toUtf8();
    if (sqlite3_open_v2(name.constData(), &m_db, flags, readOnly ? mappedReadVfsName() : nullptr) != SQLITE_OK) {
        setError(QStringLiteral("open"));
        close();
        return false;
    }
    // The key only takes effect at the first read, so a wrong key or a foreign file
    // shows up at the schema query below, not here.
    sqlite3_key(m_db, key.constData(), int(key.size()));
    if ((!readOnly && !execute(QStringLiteral("PRAGMA journal_mode = DELETE")))
        || !execute(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        close();
        return false;
    }
    sqlite3_busy_timeout(m_db, 2000);
    registerPinyinCollation(m_db);
    searchindex::prepareConnection(*this);
    return true;
}

void SqliteConnection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool SqliteConnection::execute(const QString &sql, const QVariantList &params)
{
    SqliteStatement statement(*this, sql);
    return statement.execute(params);
}

qint64 SqliteConnection::lastInsertId() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : -1;
}

void SqliteConnection::setError(const QString &context)
{
    m_lastError = context + QStringLiteral(": ")
                  + (m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("no connection"));
}

QString likePrefix(const QString &text)
{
    QString pattern;
    pattern.reserve(text.size() + 1);
    for (const QChar c : text) {
        if (c == '\\' || c == '%' || c == '_')
            pattern.append('\\');
        pattern.append(c);
    }
    return pattern + '%';
}

SqliteStatement::SqliteStatement(SqliteConnection &connection, const QString &sql)
    : m_connection(connection)
{
    if (!connection.m_db) {
        connection.m_lastError = QStringLiteral("no connection");
        m_failed = true;
        return;
    }
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(connection.m_db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK) {
        connection.setError(sql);
        m_stmt = nullptr;
        m_failed = true;
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_stmt);
}

int storageClassOf(const QVariant &value)
{
    if (value.isNull())
        return SQLITE_NULL;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return SQLITE_INTEGER;
    case QMetaType::Double:
    case QMetaType::Float: return SQLITE_FLOAT;
    case QMetaType::QByteArray: return SQLITE_BLOB;
    default: return SQLITE_TEXT;
    }
}

bool SqliteStatement::bind(const QVariantList &params)
{
    if (!m_stmt)
        return false;
    // Binding again runs the statement again from its start.
    sqlite3_reset(m_stmt);
    m_failed = false;
    if (params.size() != sqlite3_bind_parameter_count(m_stmt)) {
        m_connection.m_lastError = QStringLiteral("%1 values for %2 parameters")
                                       .arg(params.size())
                                       .arg(sqlite3_bind_parameter_count(m_stmt));
        m_failed = true;
        return false;
    }
    for (int i = 0; i < params.size(); ++i) {
        const QVariant &value = params.at(i);
        const int index = i + 1;
        int rc = SQLITE_OK;
        switch (storageClassOf(value)) {
        case SQLITE_NULL: rc = sqlite3_bind_null(m_stmt, index); break;
        case SQLITE_INTEGER: rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong()); break;
        case SQLITE_FLOAT: rc = sqlite3_bind_double(m_stmt, index, value.toDouble()); break;
        case SQLITE_BLOB: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob64(m_stmt, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text64(m_stmt, index, text.constData(), sqlite3_uint64(text.size()), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
            break;
        }
        }
        if (rc != SQLITE_OK) {
            m_connection.setError(QStringLiteral("bind"));
            m_failed = true;
            return false;
        }
    }
    return true;
}

bool SqliteStatement::execute(const QVariantList &params)
{
    if (!isValid() || !bind(params))
        return false;
    while (next()) {
    }
    return !failed();
}

bool SqliteStatement::next()
{
    if (!m_stmt || m_failed)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE) {
        m_connection.setError(QString::fromUtf8(sqlite3_sql(m_stmt)));
        m_failed = true;
    }
    return false;
}

int SqliteStatement::columnCount() const
{
    return m_stmt ? sqlite3_column_count(m_stmt) : 0;
}

QString SqliteStatement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

QVariant SqliteStatement::value(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(m_stmt, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_stmt, column);
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)),
                                 sqlite3_column_bytes(m_stmt, column));
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, column)),
                          sqlite3_column_bytes(m_stmt, column));
    default:
        return {};
    }
}
