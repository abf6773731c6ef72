#include "data/Database.h"

#include "data/ProgramFolder.h"
#include "platform/Prompter.h"

#include <QCoreApplication>

namespace {
Database *current = nullptr;
}

QByteArray databaseKey()
{
    return QByteArrayLiteral("qmzt51736209");
}

Database::Database(QObject *parent)
    : QObject(parent)
{
    current = this;
}

Database::~Database()
{
    close();
    if (current == this)
        current = nullptr;
}

Database &Database::instance()
{
    Q_ASSERT_X(current, "Database::instance", "no data module has been created");
    return *current;
}

QString Database::databasePath() const
{
    return programFolder() + QString::fromLatin1(kDatabaseFile);
}

void Database::openAtStartup()
{
    if (!open()) {
        platform::prompter().message(
            QCoreApplication::translate("Database", "请确认您的程序是否安装正确，或者没有安装MDAC数据访问组件！"),
            platform::Prompter::Icon::Error);
    }
}

bool Database::open()
{
    close();
    return m_connection.open(databasePath(), databaseKey());
}

void Database::close()
{
    if (!m_connection.isOpen())
        return;
    emit connectionClosed();
    m_connection.close();
}

QString Database::queryValue(const QString &sql, const QVariantList &params)
{
    SqliteStatement query(m_connection, sql);
    if (!query.bind(params) || !query.next() || query.columnCount() == 0)
        return {};
    return query.value(0).toString();
}

void Database::queryColumn(const QString &sql, QStringList &items, const QVariantList &params)
{
    if (sql.isEmpty())
        return;
    SqliteStatement query(m_connection, sql);
    if (!query.bind(params))
        return;
    QStringList rows;
    while (query.next())
        rows.append(query.value(0).toString());
    // A query can also fail after its first rows; the list then keeps its old contents.
    if (!query.failed())
        items = rows;
}

void Database::appendNonEmptyValues(const QString &sql, QStringList &items, bool clear,
                              const QVariantList &params)
{
    SqliteStatement query(m_connection, sql);
    if (!query.bind(params))
        return;
    if (clear)
        items.clear();
    while (query.next()) {
        const QString text = query.value(0).toString();
        if (!text.isEmpty())
            items.append(text);
    }
}

bool Database::execute(const QString &sql, const QVariantList &params)
{
    return m_connection.execute(sql, params);
}

bool Database::inTransaction(const std::function<bool()> &work)
{
    if (!execute(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    if (work() && execute(QStringLiteral("COMMIT")))
        return true;
    // The rollback succeeds quietly, so lastError() still names what went wrong.
    execute(QStringLiteral("ROLLBACK"));
    return false;
}
