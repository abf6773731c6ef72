#include "DataGenerator.h"

#include "data/DbDates.h"
#include "data/ProgramFolder.h"
#include "data/TDM.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace benchdata {

namespace {

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

bool addWorkItems(TDM &dm, int count, int bodyBytes)
{
    QRandomGenerator random(20261210);
    const QDateTime start(QDate(2026, 1, 1), QTime(9, 0));
    return dm.inTransaction([&] {
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
            if (!dm.execute(QStringLiteral("Insert into TWork (Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, "
                                           "LastUpTime, UseTimeHint, TimeHint, HasHinted, Content) "
                                           "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                            row))
                return false;
        }
        return true;
    });
}

bool addClients(TDM &dm, int count, int contactsEach)
{
    QStringList categories;
    dm.GetItemsBySQL(QStringLiteral("Select TypeCode from TClientClass where nLeveal = 1"), categories);
    if (categories.isEmpty())
        return false;
    return dm.inTransaction([&] {
        for (int i = 0; i < count; ++i) {
            const QString name = QStringLiteral("测试商贸有限公司%1").arg(i);
            if (!dm.execute(QStringLiteral("Insert into TClient (TypeCode, ClientName, ClientCode, ClientType, "
                                           "Tele, RecTime) values (?, ?, ?, ?, ?, ?)"),
                            {categories.at(i % categories.size()), name, QStringLiteral("CSSMYXGS%1").arg(i),
                             QStringLiteral("意向客户"), QStringLiteral("021-6000%1").arg(i % 10000, 4, 10, QChar('0')),
                             dbdates::toText(QDateTime(QDate(2026, 1, 1), QTime(10, 0)).addSecs(i))}))
                return false;
            const qint64 client = dm.connection().lastInsertId();
            for (int c = 0; c < contactsEach; ++c) {
                if (!dm.execute(QStringLiteral("Insert into TCLinker (ClientID, Linker, IsMain, Tele) values (?, ?, ?, ?)"),
                                {client, QStringLiteral("联系人%1").arg(c), c == 0 ? 1 : 0, QStringLiteral("13800000000")})
                    || !dm.execute(QStringLiteral("Insert into TCLinkRec (ClientID, GoDate, Title, Dealer) values (?, ?, ?, ?)"),
                                   {client, QStringLiteral("2026-11-%1").arg(1 + c % 28, 2, 10, QChar('0')),
                                    QStringLiteral("电话回访"), QStringLiteral("张伟")}))
                    return false;
            }
        }
        return true;
    });
}

bool addNotes(TDM &dm, int count, int bodyBytes)
{
    QRandomGenerator random(20261211);
    return dm.inTransaction([&] {
        for (int i = 0; i < count; ++i) {
            if (!dm.execute(QStringLiteral("Insert into TCustomInfo (Title, RecDate, Content) values (?, ?, ?)"),
                            {QStringLiteral("常用信息%1").arg(i), dbdates::toText(QDateTime(QDate(2026, 1, 1), QTime(9, 0))),
                             body(random, bodyBytes)}))
                return false;
        }
        return true;
    });
}

} // namespace benchdata
