#include "DataGenerator.h"

#include "data/DbDates.h"
#include "data/ProgramFolder.h"
#include "data/Database.h"

#include <sqlcipher/sqlite3.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>

namespace benchdata {

namespace {

// Keeps the compiler from dropping the column reads of the bare loop.
volatile qint64 rowsSink = 0;

const QStringList kWorkTypes{QStringLiteral("办公事务"), QStringLiteral("客户拜访"), QStringLiteral("会议安排"),
                             QStringLiteral("学习培训"), QStringLiteral("私人事务")};
const QStringList kSubjects{QStringLiteral("整理季度销售报表"), QStringLiteral("回访华东区重点客户"),
                            QStringLiteral("准备新品发布会材料"), QStringLiteral("审核供应商合同"),
                            QStringLiteral("安排年度体检"), QStringLiteral("更新客户通讯录")};

QByteArray body(QRandomGenerator &random, int bytes)
{
    QByteArray data(bytes, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32 *>(data.data()), bytes / 4);
    return data;
}

} // namespace

void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

bool prepareProgramFolder(const QString &folder)
{
    QDir root(folder);
    if (!root.mkpath(QStringLiteral("db")) || !root.mkpath(QStringLiteral("Bak")))
        return false;
    setProgramFolder(folder);
    const QString database = programFolder() + QString::fromLatin1(kDatabaseFile);
    QFile::remove(database);
    return QFile::copy(QStringLiteral(PANDREL_TEMPLATE_DB), database)
           && QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
}

ScratchProgram::ScratchProgram()
{
    if (!prepareProgramFolder(m_folder.path()))
        qWarning("cannot copy the template database into %s", qPrintable(m_folder.path()));
    else if (!m_database.open())
        qWarning("cannot open the database: %s", qPrintable(m_database.lastError()));
    else
        m_ready = true;
}

bool addWorkItems(Database &database, int count, int bodyBytes)
{
    QRandomGenerator random(20261210);
    const QDateTime start(QDate(2026, 1, 1), QTime(9, 0));
    return database.inTransaction([&] {
        for (int i = 0; i < count; ++i) {
            const QDateTime begins = start.addSecs(qint64(i) * 600);
            const bool reminder = i % 7 == 0;
            const QVariantList row{
                kSubjects.at(i % kSubjects.size()) + QString::number(i),
                kWorkTypes.at(i % kWorkTypes.size()),
                1 + i % 4,
                i % 5 == 0 ? 1 : 0,
                dbdates::toText(begins),
                dbdates::toText(begins.addDays(3)),
                dbdates::toText(begins.addSecs(3600)),
                reminder ? 1 : 0,
                dbdates::toText(reminder ? begins.addDays(1) : QDateTime()),
                reminder ? 1 : 0,
                body(random, bodyBytes)};
            if (!database.execute(QStringLiteral("Insert into TWork (Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, "
                                           "LastUpTime, UseTimeHint, TimeHint, HasHinted, Content) "
                                           "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                            row))
                return false;
        }
        return true;
    });
}

bool addClients(Database &database, int count, int contactsEach)
{
    QStringList categories;
    database.queryColumn(QStringLiteral("Select TypeCode from TClientClass where nLeveal = 1"), categories);
    if (categories.isEmpty())
        return false;
    return database.inTransaction([&] {
        for (int i = 0; i < count; ++i) {
            const QString name = QStringLiteral("测试商贸有限公司%1").arg(i);
            if (!database.execute(QStringLiteral("Insert into TClient (TypeCode, ClientName, ClientCode, ClientType, "
                                           "Tele, RecTime) values (?, ?, ?, ?, ?, ?)"),
                            {categories.at(i % categories.size()), name, QStringLiteral("CSSMYXGS%1").arg(i),
                             QStringLiteral("意向客户"), QStringLiteral("021-6000%1").arg(i % 10000, 4, 10, QChar('0')),
                             dbdates::toText(QDateTime(QDate(2026, 1, 1), QTime(10, 0)).addSecs(i))}))
                return false;
            const qint64 client = database.connection().lastInsertId();
            for (int c = 0; c < contactsEach; ++c) {
                if (!database.execute(QStringLiteral("Insert into TCLinker (ClientID, Linker, IsMain, Tele) values (?, ?, ?, ?)"),
                                {client, QStringLiteral("联系人%1").arg(c), c == 0 ? 1 : 0, QStringLiteral("13800000000")})
                    || !database.execute(QStringLiteral("Insert into TCLinkRec (ClientID, GoDate, Title, Dealer) values (?, ?, ?, ?)"),
                                   {client, QStringLiteral("2026-11-%1").arg(1 + c % 28, 2, 10, QChar('0')),
                                    QStringLiteral("电话回访"), QStringLiteral("张伟")}))
                    return false;
            }
        }
        return true;
    });
}

bool addAddressBookContacts(Database &database, int count)
{
    QStringList categories;
    database.queryColumn(QStringLiteral("Select ID from TLinkerClass"), categories);
    if (categories.isEmpty())
        return false;
    return database.inTransaction([&] {
        for (int i = 0; i < count; ++i) {
            if (!database.execute(QStringLiteral("Insert into TLinker (ClassID, Linker, Job, Tele, MobileCode, EMail, Birthday) "
                                           "values (?, ?, ?, ?, ?, ?, ?)"),
                            {categories.at(i % categories.size()).toLongLong(), QStringLiteral("通讯录联系人%1").arg(i),
                             QStringLiteral("经理"), QStringLiteral("010-6500%1").arg(i % 10000, 4, 10, QChar('0')),
                             QStringLiteral("139%1").arg(i, 8, 10, QChar('0')), QStringLiteral("user%1@example.com").arg(i),
                             dbdates::toText(QDate(1980, 1, 1).addDays(i % 7000))}))
                return false;
        }
        return true;
    });
}

qint64 readAllRows(sqlite3 *db, const QString &sql, const QVariantList &params)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
        return -1;
    for (int i = 0; i < params.size(); ++i) {
        const QVariant &param = params.at(i);
        if (param.typeId() == QMetaType::LongLong || param.typeId() == QMetaType::Int) {
            sqlite3_bind_int64(stmt, i + 1, param.toLongLong());
        } else {
            const QByteArray value = param.toString().toUtf8();
            sqlite3_bind_text(stmt, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
        }
    }
    qint64 rows = 0;
    qint64 checksum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            if (sqlite3_column_type(stmt, c) == SQLITE_TEXT)
                checksum += sqlite3_column_bytes(stmt, c);
            else
                checksum += sqlite3_column_int64(stmt, c);
        }
        ++rows;
    }
    sqlite3_finalize(stmt);
    rowsSink = checksum;
    return rows;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool addClientRegister(Database &database, int clients, int inFirst, int detailsEach)
{
    // Generated by the database itself: a row at a time through the program would take minutes.
    const QString numbers = QStringLiteral("With recursive n(i) as (Select 0 union all Select i+1 from n where i<?) ");
    return database.inTransaction([&] {
        return database.execute(QStringLiteral("Delete from TCLinker")) && database.execute(QStringLiteral("Delete from TCLinkRec"))
               && database.execute(QStringLiteral("Delete from TCTrack")) && database.execute(QStringLiteral("Delete from TClient"))
               && database.execute(QStringLiteral("Delete from TClientClass"))
               && database.execute(numbers + QStringLiteral(
                                 "Insert into TClientClass (TypeCode, TypeName, ParTypeCode, nLeveal) "
                                 "Select printf('%04d', i/10+1) || (case when i%10=0 then '' else printf('%04d', i%10) end), "
                                 "'分类' || i, case when i%10=0 then '' else printf('%04d', i/10+1) end, "
                                 "case when i%10=0 then 0 else 1 end from n"),
                             {199})
               && database.execute(numbers + QStringLiteral(
                                 "Insert into TClient (TypeCode, TypeName, ClientName, ClientCode, ClientType, "
                                 "ClientComeFrom, Address, Tele, MobileCode, EMail, QICQ, RecTime, LastLinkTime) "
                                 "Select case when i<?2 then '00010001' else printf('%04d%04d', 2+i%19, 1+(i/19)%9) end, "
                                 "'分类', '测试商贸有限公司' || i, 'CSSMYXGS' || ((i*7919)%?3), '意向客户', '网络搜索', "
                                 "'上海市浦东新区张杨路' || i || '号', '021-6000' || i, '138' || i, 'c' || i || '@example.com', "
                                 "10000+i, '2026-01-01 10:00:00', '2026-11-20 15:00:00' from n"),
                             {clients - 1, inFirst, clients})
               && database.execute(numbers + QStringLiteral(
                                 "Insert into TCLinker (ClientID, Linker, IsMain, Depart, Job, Tele, MobileCode, EMail, "
                                 "Address, Birthday) Select c.ID, '联系人' || n.i, n.i=0, '采购部', '经理', c.Tele, "
                                 "c.MobileCode, c.EMail, c.Address, '1980-01-01' from TClient c, n"),
                             {detailsEach - 1})
               && database.execute(numbers + QStringLiteral(
                                 "Insert into TCLinkRec (ClientID, GoDate, Title, Dealer, RunStyle, HintDate, Desp) "
                                 "Select c.ID, '2026-11-0' || (1+n.i%9), '电话回访', '张伟', '电话', '2026-11-01', "
                                 "'询问上月订单的到货情况，客户表示满意。' from TClient c, n"),
                             {detailsEach - 1});
    });
}

bool addNotes(Database &database, int count, int bodyBytes)
{
    QRandomGenerator random(20261211);
    return database.inTransaction([&] {
        for (int i = 0; i < count; ++i) {
            if (!database.execute(QStringLiteral("Insert into TCustomInfo (Title, RecDate, Content) values (?, ?, ?)"),
                            {QStringLiteral("常用信息%1").arg(i), dbdates::toText(QDateTime(QDate(2026, 1, 1), QTime(9, 0))),
                             body(random, bodyBytes)}))
                return false;
        }
        return true;
    });
}

} // namespace benchdata
