#include "RadicaleServer.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/Database.h"
#include "data/Recordset.h"
#include "data/Schema.h"
#include "data/Settings.h"
#include "data/Sqlite.h"
#include "data/SyncBodyBackups.h"
#include "data/WorkItemUid.h"
#include "document/DocumentStore.h"
#include "safety/DataSafety.h"
#include "sync/SyncEngine.h"

#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextDocument>
#include <QThread>

// The sync against a real radicale, with two program folders as two machines.
class TestSyncEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void discoveryFindsTheCollections();
    void changesTravelBothWays_data();
    void changesTravelBothWays();
    void conflictKeepsServerVersionAndLocalCopy_data();
    void conflictKeepsServerVersionAndLocalCopy();
    void repeatingItemKeepsItsRule();
    void descriptionChangedOnServerKeepsOldBody();
    void fiveHundredContactsThenNoChangeSyncIsOneRequest();
    void failuresLeaveLocalDataAlone_data();
    void failuresLeaveLocalDataAlone();
    void restoreComparesEverythingAgain();
    void clearingKeepsServerData();
    void killedSyncResumesWithoutDuplicates();
    void olderFileGetsTheSyncTablesOnce();
    void reminderFlagIsNoChange();

private:
    RadicaleServer m_server;
    int m_collections = 0;
};

namespace {

enum class Kind { Work, Contact };

// One machine: a program folder with its database, and the sync of it.
class Machine
{
public:
    Machine()
        : engine(folder.database(), network)
    {
        // The sample rows of the template are no part of these cases.
        folder.database().execute(QStringLiteral("Delete from TWork"));
        folder.database().execute(QStringLiteral("Delete from TLinker"));
        engine.setTimeZone(QTimeZone("Asia/Shanghai"));
    }

    Database &db() { return folder.database(); }

    qint64 add(Kind kind, const QString &name, const QString &body = {})
    {
        if (kind == Kind::Work)
            db().execute(QStringLiteral("Insert into TWork (Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, LastUpTime, "
                                        "UseTimeHint, HasHinted, Content, RRule, UID) values (?, '工作', 1, 0, "
                                        "'2024-03-15 00:00:00', '2024-03-16 00:00:00', '2024-03-15 09:00:00', 0, 0, ?, '', ?)"),
                         {name, bodyOfPlainText(body), newWorkItemUid()});
        else
            db().execute(QStringLiteral("Insert into TLinker (ClassID, Linker, MobileCode, Desp) values (1, ?, '13800138000', ?)"),
                         {name, body});
        return db().connection().lastInsertId();
    }
    qint64 idOf(Kind kind, const QString &name)
    {
        return db().queryValue(kind == Kind::Work ? QStringLiteral("Select ID from TWork where Title=?")
                                                  : QStringLiteral("Select ID from TLinker where Linker=?"),
                               {name}).toLongLong();
    }
    void rename(Kind kind, const QString &from, const QString &to)
    {
        QVERIFY(db().execute(kind == Kind::Work ? QStringLiteral("Update TWork Set Title=? where Title=?")
                                                : QStringLiteral("Update TLinker Set Linker=? where Linker=?"),
                             {to, from}));
    }
    void remove(Kind kind, const QString &name)
    {
        QVERIFY(db().execute(kind == Kind::Work ? QStringLiteral("Delete from TWork where Title=?")
                                                : QStringLiteral("Delete from TLinker where Linker=?"),
                             {name}));
    }
    QStringList names(Kind kind)
    {
        QStringList list;
        db().queryColumn(kind == Kind::Work ? QStringLiteral("Select Title from TWork order by Title")
                                            : QStringLiteral("Select Linker from TLinker order by Linker"),
                         list);
        return list;
    }
    // Everything the sync may touch, to tell whether it did.
    QByteArray snapshot()
    {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        for (const char *table : {"TWork", "TLinker", "TLinkerClass", "TSyncItem", "TSyncCollection", "TSyncBodyBackup"}) {
            SqliteStatement rows(db().connection(), QStringLiteral("Select * from %1 order by ID").arg(QLatin1String(table)));
            while (rows.next()) {
                for (int column = 0; column < rows.columnCount(); ++column)
                    hash.addData(rows.value(column).toString().toUtf8() + '|' + rows.value(column).toByteArray());
            }
        }
        return hash.result();
    }

    TestProgramFolder folder;
    QNetworkAccessManager network;
    SyncEngine engine;
};

QString uniqueNames(const QStringList &names)
{
    QStringList sorted = names;
    sorted.removeDuplicates();
    return sorted.size() == names.size() ? QString() : QStringLiteral("duplicates in ") + names.join(',');
}

} // namespace

void TestSyncEngine::initTestCase()
{
    QVERIFY2(m_server.start(), "radicale did not start");
}

// Fresh collections for each case, so cases never see each other's items.
static SyncAccount freshAccount(RadicaleServer &server, int &counter, bool work = true, bool contacts = true)
{
    SyncAccount account;
    account.serverUrl = server.url();
    account.userName = RadicaleServer::user();
    account.password = RadicaleServer::password();
    ++counter;
    if (work)
        account.taskListUrl = server.makeTaskList(QStringLiteral("tasks%1").arg(counter));
    if (contacts)
        account.addressBookUrl = server.makeAddressBook(QStringLiteral("book%1").arg(counter));
    return account;
}

#define SYNC(machine, account)                                                                                         \
    do {                                                                                                               \
        const SyncOutcome outcome_ = (machine).engine.run(account);                                                    \
        QVERIFY2(outcome_.ok, qPrintable(outcome_.error));                                                             \
    } while (false)

void TestSyncEngine::discoveryFindsTheCollections()
{
    const SyncAccount made = freshAccount(m_server, m_collections);
    QVERIFY(!made.taskListUrl.isEmpty() && !made.addressBookUrl.isEmpty());
    Machine a;
    SyncAccount account;
    account.serverUrl = m_server.url();
    account.userName = RadicaleServer::user();
    account.password = RadicaleServer::password();
    const SyncOutcome found = a.engine.discover(account);
    QVERIFY2(found.ok, qPrintable(found.error));
    QStringList taskLists;
    for (const SyncCollectionInfo &info : found.taskLists)
        taskLists.append(info.url);
    QStringList books;
    for (const SyncCollectionInfo &info : found.addressBooks)
        books.append(info.url);
    QVERIFY2(taskLists.contains(made.taskListUrl), qPrintable(taskLists.join(' ')));
    QVERIFY2(books.contains(made.addressBookUrl), qPrintable(books.join(' ')));
    QVERIFY(!taskLists.contains(made.addressBookUrl));
}

void TestSyncEngine::changesTravelBothWays_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("syncCollection");
    QTest::newRow("work items, sync-collection") << Kind::Work << true;
    QTest::newRow("work items, ETags") << Kind::Work << false;
    QTest::newRow("contacts, sync-collection") << Kind::Contact << true;
    QTest::newRow("contacts, ETags") << Kind::Contact << false;
}

void TestSyncEngine::changesTravelBothWays()
{
    QFETCH(Kind, kind);
    QFETCH(bool, syncCollection);
    const SyncAccount account = freshAccount(m_server, m_collections, kind == Kind::Work, kind == Kind::Contact);
    const QString collection = kind == Kind::Work ? account.taskListUrl : account.addressBookUrl;
    Machine a;
    Machine b;
    a.engine.setSyncCollectionUsed(syncCollection);
    b.engine.setSyncCollectionUsed(syncCollection);

    a.add(kind, QStringLiteral("拜访王经理"), QStringLiteral("带上报价单"));
    a.add(kind, QStringLiteral("Quote, \"50%\"; done"));
    SYNC(a, account);
    SYNC(b, account);
    QCOMPARE(b.names(kind), a.names(kind));
    QCOMPARE(m_server.items(collection).size(), 2);

    b.rename(kind, QStringLiteral("拜访王经理"), QStringLiteral("拜访王经理（改期）"));
    SYNC(b, account);
    SYNC(a, account);
    QCOMPARE(a.names(kind), (QStringList{QStringLiteral("Quote, \"50%\"; done"), QStringLiteral("拜访王经理（改期）")}));

    a.remove(kind, QStringLiteral("Quote, \"50%\"; done"));
    SYNC(a, account);
    SYNC(b, account);
    QCOMPARE(b.names(kind), QStringList{QStringLiteral("拜访王经理（改期）")});
    QCOMPARE(m_server.items(collection).size(), 1);

    // Deleted on the other side now, while this side changed nothing.
    b.remove(kind, QStringLiteral("拜访王经理（改期）"));
    SYNC(b, account);
    SYNC(a, account);
    QCOMPARE(a.names(kind), QStringList());
    QCOMPARE(m_server.items(collection).size(), 0);
    // A sync with nothing to do changes nothing.
    const QByteArray before = a.snapshot();
    const SyncOutcome idle = a.engine.run(account);
    QVERIFY(idle.ok);
    QCOMPARE(idle.summary(), QStringLiteral("没有变化"));
    QCOMPARE(a.snapshot(), before);
}

void TestSyncEngine::conflictKeepsServerVersionAndLocalCopy_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("work item") << Kind::Work;
    QTest::newRow("contact") << Kind::Contact;
}

void TestSyncEngine::conflictKeepsServerVersionAndLocalCopy()
{
    QFETCH(Kind, kind);
    const SyncAccount account = freshAccount(m_server, m_collections, kind == Kind::Work, kind == Kind::Contact);
    Machine a;
    Machine b;
    a.add(kind, QStringLiteral("合同"));
    SYNC(a, account);
    SYNC(b, account);

    a.rename(kind, QStringLiteral("合同"), QStringLiteral("合同A"));
    b.rename(kind, QStringLiteral("合同"), QStringLiteral("合同B"));
    SYNC(a, account);
    const SyncOutcome conflicted = b.engine.run(account);
    QVERIFY2(conflicted.ok, qPrintable(conflicted.error));
    QCOMPARE(conflicted.conflicts, 1);
    const QStringList both{QStringLiteral("合同A"), QStringLiteral("合同B（冲突副本）")};
    QCOMPARE(b.names(kind), both);
    SYNC(a, account);
    QCOMPARE(a.names(kind), both);
    // Settled: another round changes nothing on either side.
    SYNC(b, account);
    QCOMPARE(b.names(kind), both);
}

void TestSyncEngine::repeatingItemKeepsItsRule()
{
    const SyncAccount account = freshAccount(m_server, m_collections, true, false);
    Machine a;
    Machine b;
    const qint64 id = a.add(Kind::Work, QStringLiteral("周例会"));
    QVERIFY(a.db().execute(QStringLiteral("Update TWork Set RRule='FREQ=WEEKLY;BYDAY=MO;COUNT=10', UseTimeHint=1, "
                                          "TimeHint='2024-03-18 08:45:00', TimeStart='2024-03-18 09:00:00', "
                                          "TimeEnd='2024-03-18 10:00:00' where ID=?"),
                           {id}));
    SYNC(a, account);
    SYNC(b, account);
    QCOMPARE(b.db().queryValue(QStringLiteral("Select RRule from TWork")), QStringLiteral("FREQ=WEEKLY;BYDAY=MO;COUNT=10"));
    QCOMPARE(b.db().queryValue(QStringLiteral("Select TimeStart from TWork")), QStringLiteral("2024-03-18 09:00:00"));
    QCOMPARE(b.db().queryValue(QStringLiteral("Select TimeHint from TWork")), QStringLiteral("2024-03-18 08:45:00"));
    QCOMPARE(b.db().queryValue(QStringLiteral("Select UID from TWork")),
             a.db().queryValue(QStringLiteral("Select UID from TWork")));
}

void TestSyncEngine::descriptionChangedOnServerKeepsOldBody()
{
    const SyncAccount account = freshAccount(m_server, m_collections, true, false);
    Machine a;
    Machine b;
    const qint64 id = a.add(Kind::Work, QStringLiteral("方案"));
    QTextDocument rich;
    rich.setHtml(QStringLiteral("<p><b>加粗的</b>第一版</p>"));
    const QByteArray richBody = saveDocument(rich);
    QVERIFY(a.db().execute(QStringLiteral("Update TWork Set Content=? where ID=?"), {richBody, id}));
    SYNC(a, account);
    SYNC(b, account);
    Recordset copied(b.db());
    QVERIFY(copied.open(QStringLiteral("Select Content from TWork")));
    QCOMPARE(storedDocumentText(copied.blob(QStringLiteral("Content"))), QStringLiteral("加粗的第一版"));

    // Only the title changes elsewhere: the formatted body stays as it is.
    b.rename(Kind::Work, QStringLiteral("方案"), QStringLiteral("方案定稿"));
    SYNC(b, account);
    SYNC(a, account);
    Recordset row(a.db());
    QVERIFY(row.open(QStringLiteral("Select Title, Content from TWork where ID=?"), {id}));
    QCOMPARE(row.text(QStringLiteral("Title")), QStringLiteral("方案定稿"));
    QCOMPARE(row.blob(QStringLiteral("Content")), richBody);
    QCOMPARE(a.db().queryValue(QStringLiteral("Select count(*) from TSyncBodyBackup")), QStringLiteral("0"));

    // The text changes elsewhere: it replaces the body, and the old body is kept.
    QVERIFY(b.db().execute(QStringLiteral("Update TWork Set Content=?"), {bodyOfPlainText(QStringLiteral("第二版"))}));
    SYNC(b, account);
    SYNC(a, account);
    QVERIFY(row.open(QStringLiteral("Select Content from TWork where ID=?"), {id}));
    QCOMPARE(storedDocumentText(row.blob(QStringLiteral("Content"))), QStringLiteral("第二版"));
    Recordset kept(a.db());
    QVERIFY(kept.open(QStringLiteral("Select WorkID, Content from TSyncBodyBackup")));
    QCOMPARE(kept.count(), 1);
    QCOMPARE(kept.integer(QStringLiteral("WorkID")), id);
    QCOMPARE(kept.blob(QStringLiteral("Content")), richBody);

    // The item's menu puts the formatted body back, keeping the one it replaces.
    QVERIFY(hasBodyBackup(a.db(), id));
    QVERIFY(restoreBodyBackup(a.db(), id, QDateTime(QDate(2024, 3, 15), QTime(10, 0))));
    QVERIFY(row.open(QStringLiteral("Select Content from TWork where ID=?"), {id}));
    QCOMPARE(row.blob(QStringLiteral("Content")), richBody);
    QVERIFY(kept.open(QStringLiteral("Select Content from TSyncBodyBackup")));
    QCOMPARE(kept.count(), 1);
    QCOMPARE(storedDocumentText(kept.blob(QStringLiteral("Content"))), QStringLiteral("第二版"));
    // The restored body is a local change like any other: the other machine gets its text.
    SYNC(a, account);
    SYNC(b, account);
    Recordset other(b.db());
    QVERIFY(other.open(QStringLiteral("Select Content from TWork")));
    QCOMPARE(storedDocumentText(other.blob(QStringLiteral("Content"))), QStringLiteral("加粗的第一版"));
}

void TestSyncEngine::fiveHundredContactsThenNoChangeSyncIsOneRequest()
{
    const SyncAccount account = freshAccount(m_server, m_collections, false, true);
    Machine a;
    Machine b;
    QVERIFY(a.db().inTransaction([&] {
        for (int i = 0; i < 500; ++i)
            a.add(Kind::Contact, QStringLiteral("联系人%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("备注\n第二行"));
        return true;
    }));
    SYNC(a, account);
    SYNC(b, account);
    const QStringList names = b.names(Kind::Contact);
    QCOMPARE(names.size(), 500);
    QCOMPARE(uniqueNames(names), QString());
    QCOMPARE(names, a.names(Kind::Contact));
    QCOMPARE(b.db().queryValue(QStringLiteral("Select Desp from TLinker where Linker='联系人007'")), QStringLiteral("备注\n第二行"));
    // The second sync of the uploader hears its own uploads once; after that, one request.
    SYNC(a, account);
    const SyncOutcome idle = a.engine.run(account);
    QVERIFY(idle.ok);
    QCOMPARE(idle.requests, 1);
    QCOMPARE(idle.summary(), QStringLiteral("没有变化"));
}

namespace {

// A server that answers every request the same way, or never.
class FakeServer : public QObject
{
public:
    explicit FakeServer(const QByteArray &answer)
        : m_answer(answer)
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                m_sockets.append(socket);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    socket->readAll();
                    if (!m_answer.isEmpty()) {
                        socket->write(m_answer);
                        socket->disconnectFromHost();
                    }
                });
            }
        });
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort()); }

private:
    QTcpServer m_server;
    QByteArray m_answer;
    QList<QTcpSocket *> m_sockets;
};

QByteArray httpAnswer(const QByteArray &status, const QByteArray &body)
{
    return "HTTP/1.1 " + status + "\r\nContent-Type: application/xml\r\nContent-Length: " + QByteArray::number(body.size())
        + "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

void TestSyncEngine::failuresLeaveLocalDataAlone_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong password") << "password" << "用户名或密码不正确";
    QTest::newRow("server down") << "down" << "无法连接同步服务器";
    QTest::newRow("garbage for a multistatus") << "garbage" << "回答无法识别";
    QTest::newRow("not HTTP at all") << "noise" << "无法连接同步服务器";
    QTest::newRow("stalls") << "stall" << "长时间没有回应";
}

void TestSyncEngine::failuresLeaveLocalDataAlone()
{
    QFETCH(QString, problem);
    QFETCH(QString, message);
    SyncAccount account = freshAccount(m_server, m_collections);
    Machine a;
    a.add(Kind::Work, QStringLiteral("已同步的事务"));
    a.add(Kind::Contact, QStringLiteral("已同步的联系人"));
    SYNC(a, account);
    a.add(Kind::Work, QStringLiteral("新事务"));
    a.rename(Kind::Contact, QStringLiteral("已同步的联系人"), QStringLiteral("改过的联系人"));
    const QByteArray before = a.snapshot();

    std::unique_ptr<FakeServer> fake;
    const auto moveTo = [&account](const QString &server) {
        const QString old = account.serverUrl;
        account.serverUrl = server;
        account.taskListUrl.replace(old, server);
        account.addressBookUrl.replace(old, server);
    };
    if (problem == QLatin1String("password")) {
        account.password = QStringLiteral("wrong-Secret");
    } else if (problem == QLatin1String("down")) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const QString unused = QStringLiteral("http://127.0.0.1:%1/").arg(probe.serverPort());
        probe.close();
        moveTo(unused);
    } else {
        const QByteArray answer = problem == QLatin1String("garbage")
            ? httpAnswer("207 Multi-Status", "<html><body>Welcome to nginx!</body")
            : problem == QLatin1String("noise") ? QByteArray("\x16\x03\x01 not a web server at all\r\n\r\n", 36)
                                                : QByteArray();
        fake = std::make_unique<FakeServer>(answer);
        moveTo(fake->url());
        a.engine.setTimeout(1500);
    }
    const SyncOutcome failed = a.engine.run(account);
    QVERIFY(!failed.ok);
    QVERIFY2(failed.error.contains(message), qPrintable(failed.error));
    QVERIFY2(failed.error.contains(QStringLiteral("本机数据没有改动")), qPrintable(failed.error));
    QVERIFY(!failed.error.contains(account.password));
    QCOMPARE(a.snapshot(), before);
}

void TestSyncEngine::restoreComparesEverythingAgain()
{
    const SyncAccount account = freshAccount(m_server, m_collections, true, false);
    Machine a;
    a.add(Kind::Work, QStringLiteral("留下的"));
    a.add(Kind::Work, QStringLiteral("误删的"));
    SYNC(a, account);
    const QString backup = a.folder.filePath(QStringLiteral("Bak/before.WBK"));
    QVERIFY(backupDatabase(a.db(), backup));
    a.remove(Kind::Work, QStringLiteral("误删的"));
    SYNC(a, account);
    QCOMPARE(m_server.items(account.taskListUrl).size(), 1);

    // The backup still holds the state from before the deletion reached the server; trusted,
    // it would delete the item again. Compared afresh, it goes back to the server.
    QVERIFY(restoreDatabase(a.db(), backup));
    const SyncOutcome after = a.engine.run(account);
    QVERIFY2(after.ok, qPrintable(after.error));
    QCOMPARE(a.names(Kind::Work), (QStringList{QStringLiteral("留下的"), QStringLiteral("误删的")}));
    QCOMPARE(m_server.items(account.taskListUrl).size(), 2);
    QCOMPARE(after.conflicts, 0);
}

void TestSyncEngine::clearingKeepsServerData()
{
    const SyncAccount account = freshAccount(m_server, m_collections);
    Machine a;
    a.add(Kind::Work, QStringLiteral("事务一"));
    a.add(Kind::Contact, QStringLiteral("张三"));
    SYNC(a, account);
    QVERIFY(clearUserData(a.db()));
    for (const char *table : {"TSyncItem", "TSyncCollection"})
        QCOMPARE(a.db().queryValue(QStringLiteral("Select count(*) from %1").arg(QLatin1String(table))), QStringLiteral("0"));
    // Nothing here is no deletion: the server's items come back.
    SYNC(a, account);
    QCOMPARE(a.names(Kind::Work), QStringList{QStringLiteral("事务一")});
    QCOMPARE(a.names(Kind::Contact), QStringList{QStringLiteral("张三")});
    QCOMPARE(m_server.items(account.taskListUrl).size(), 1);
}

void TestSyncEngine::killedSyncResumesWithoutDuplicates()
{
    const SyncAccount account = freshAccount(m_server, m_collections);
    Machine a;
    Machine b;
    for (int i = 0; i < 15; ++i) {
        a.add(Kind::Work, QStringLiteral("事务%1").arg(i));
        a.add(Kind::Contact, QStringLiteral("联系人%1").arg(i));
    }
    SYNC(a, account);
    SYNC(b, account);
    // The database file is closed by the child's sync; this side's connection stays open, so
    // the child waits for no lock: nothing here writes while it runs.
    const int trials = qEnvironmentVariableIntValue("PANDREL_SYNC_KILLS") > 0 ? qEnvironmentVariableIntValue("PANDREL_SYNC_KILLS") : 30;
    QRandomGenerator random(20241211);
    qint64 longest = 400;
    int killedMidway = 0;
    for (int trial = 0; trial < trials; ++trial) {
        // Changes on both sides, on different items: after the dust settles both must hold them all.
        const int n = trial % 15;
        a.rename(Kind::Work, a.names(Kind::Work).at(n), QStringLiteral("A改%1-%2").arg(trial).arg(n));
        const QString removed = a.names(Kind::Contact).last();
        a.remove(Kind::Contact, removed);
        a.add(Kind::Work, QStringLiteral("A新%1").arg(trial));
        a.add(Kind::Contact, QStringLiteral("A联系人%1").arg(trial));
        b.add(Kind::Work, QStringLiteral("B新%1").arg(trial));
        SYNC(b, account);

        QProcess child;
        child.start(QStringLiteral(SYNC_CHILD), {a.folder.path(), account.serverUrl, account.taskListUrl, account.addressBookUrl});
        QVERIFY(child.waitForStarted());
        child.write(account.password.toUtf8() + '\n');
        child.closeWriteChannel();
        QVERIFY(child.waitForReadyRead(20000));
        QElapsedTimer running;
        running.start();
        const qint64 delay = random.bounded(longest);
        QThread::msleep(ulong(delay));
        if (child.state() == QProcess::Running) {
            child.kill();
            ++killedMidway;
        }
        child.waitForFinished(20000);
        if (child.exitStatus() == QProcess::NormalExit)
            longest = std::max<qint64>(longest, running.elapsed());

        SYNC(a, account);
        SYNC(b, account);
        SYNC(a, account);
        const QStringList work = a.names(Kind::Work);
        const QStringList contacts = a.names(Kind::Contact);
        QCOMPARE(uniqueNames(work), QString());
        QCOMPARE(uniqueNames(contacts), QString());
        QCOMPARE(b.names(Kind::Work), work);
        QCOMPARE(b.names(Kind::Contact), contacts);
        QCOMPARE(m_server.items(account.taskListUrl).size(), work.size());
        QCOMPARE(m_server.items(account.addressBookUrl).size(), contacts.size());
        QVERIFY(work.contains(QStringLiteral("A改%1-%2").arg(trial).arg(n)));
        QVERIFY(work.contains(QStringLiteral("A新%1").arg(trial)));
        QVERIFY(work.contains(QStringLiteral("B新%1").arg(trial)));
        QVERIFY(contacts.contains(QStringLiteral("A联系人%1").arg(trial)));
        QVERIFY(!contacts.contains(removed));
    }
    QVERIFY2(killedMidway > trials / 3, "the kills came too late to cut syncs short");
}

void TestSyncEngine::olderFileGetsTheSyncTablesOnce()
{
    TestProgramFolder folder;
    Database &db = folder.database();
    for (const QString &statement : syncTriggerStatements())
        QVERIFY(db.execute(QStringLiteral("Drop trigger ") + statement.section(QLatin1Char(' '), 5, 5)));
    for (const QString &table : syncTables())
        QVERIFY(db.execute(QStringLiteral("Drop table ") + table));
    QVERIFY(!upgradeSchema(db, folder.path()).isEmpty());
    for (const QString &table : syncTables())
        QCOMPARE(db.queryValue(QStringLiteral("Select count(*) from sqlite_master where name=?"), {table}), QStringLiteral("1"));
    QCOMPARE(db.queryValue(QStringLiteral("Select count(*) from sqlite_master where type='trigger' and name like 'TSync%'")),
             QString::number(syncTriggerStatements().size()));
    QCOMPARE(upgradeSchema(db, folder.path()), QStringList());
}

void TestSyncEngine::reminderFlagIsNoChange()
{
    const SyncAccount account = freshAccount(m_server, m_collections, true, false);
    Machine a;
    a.add(Kind::Work, QStringLiteral("提醒"));
    SYNC(a, account);
    SYNC(a, account); // hears its own upload
    // The reminder tick marks the item reminded: nothing for the server, not even a look.
    QVERIFY(a.db().execute(QStringLiteral("Update TWork Set HasHinted=1")));
    QCOMPARE(a.engine.run(account).requests, 1);
    // A real change is seen at once.
    a.rename(Kind::Work, QStringLiteral("提醒"), QStringLiteral("提醒改"));
    const SyncOutcome changed = a.engine.run(account);
    QCOMPARE(changed.uploaded, 1);
}

PANDREL_TEST_MAIN(TestSyncEngine)
#include "tst_syncengine.moc"
