#include "data/TDM.h"

#include "data/ProgramFolder.h"
#include "platform/Prompter.h"

#include <QCoreApplication>

namespace {
TDM *current = nullptr;
}

QByteArray databaseKey()
{
    return QByteArrayLiteral("qmzt51736209");
}

TDM::TDM(QObject *parent)
    : QObject(parent)
{
    current = this;
}

TDM::~TDM()
{
    close();
    if (current == this)
        current = nullptr;
}

TDM &TDM::instance()
{
    Q_ASSERT_X(current, "TDM::instance", "no data module has been created");
    return *current;
}

QString TDM::databasePath() const
{
    return programFolder() + QString::fromLatin1(kDatabaseFile);
}

void TDM::DataModuleCreate()
{
    if (!open()) {
        platform::prompter().message(
            QCoreApplication::translate("TDM", "请确认您的程序是否安装正确，或者没有安装MDAC数据访问组件！"),
            platform::Prompter::Icon::Error);
    }
}

bool TDM::open()
{
    close();
    return m_connection.open(databasePath(), databaseKey());
}

void TDM::close()
{
    if (!m_connection.isOpen())
        return;
    emit connectionClosed();
    m_connection.close();
}

QString TDM::GetDataBySQL(const QString &sql, const QVariantList &params)
{
    SqliteStatement query(m_connection, sql);
    if (!query.bind(params) || !query.next() || query.columnCount() == 0)
        return {};
    return query.value(0).toString();
}

void TDM::GetItemsBySQL(const QString &sql, QStringList &items, const QVariantList &params)
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

void TDM::GetDataBySQLToItems(const QString &sql, QStringList &items, bool clear,
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

bool TDM::execute(const QString &sql, const QVariantList &params)
{
    return m_connection.execute(sql, params);
}

bool TDM::inTransaction(const std::function<bool()> &work)
{
    if (!execute(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    if (work() && execute(QStringLiteral("COMMIT")))
        return true;
    // The rollback succeeds quietly, so lastError() still names what went wrong.
    execute(QStringLiteral("ROLLBACK"));
    return false;
}
