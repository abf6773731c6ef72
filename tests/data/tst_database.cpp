#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/Recordset.h"
#include "data/Sqlite.h"
#include "data/Database.h"

#include <QFile>
#include <QTemporaryDir>

namespace {
const QString kInstallMessage = QStringLiteral("请确认您的程序是否安装正确，或者没有安装MDAC数据访问组件！");
}

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void fileIsEncrypted();
    void unusableFileShowsInstallMessage_data();
    void unusableFileShowsInstallMessage();
    void queryValueReadsTheFirstCell_data();
    void queryValueReadsTheFirstCell();
    void queryColumnReplacesTheList_data();
    void queryColumnReplacesTheList();
    void appendNonEmptyValuesAddsToTheList_data();
    void appendNonEmptyValuesAddsToTheList();
    void awkwardTextRoundTrips_data();
    void awkwardTextRoundTrips();
    void likePrefixMatchesLiterally();
    void pinyinCollationOrdersChineseNames();
    void transactionIsAllOrNothing();
    void closingClosesRecordsetsAndReopens();
    void readingAnUnchangingFileLeavesItAsItIs_data();
    void readingAnUnchangingFileLeavesItAsItIs();

private:
    // A table with the first-column values the list queries read.
    void fillWorkTypes(Database &database);
};

void TestDatabase::fileIsEncrypted()
{
    QFile file(templateDatabasePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.read(16).startsWith("SQLite format 3"));

    SqliteConnection db;
    QVERIFY(db.open(templateDatabasePath(), databaseKey()));
    QVERIFY(!db.open(templateDatabasePath(), QByteArrayLiteral("qmzt51736208")));
}

void TestDatabase::unusableFileShowsInstallMessage_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QByteArray>("key");      // empty: the program's key

    QTest::newRow("missing file") << QByteArray() << QByteArray();
    QTest::newRow("not a database") << QByteArray("just some text, not a database") << QByteArray();
    QTest::newRow("another key") << QByteArray("-") << QByteArray("someone-else");
}

void TestDatabase::unusableFileShowsInstallMessage()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, key);
    TestProgramFolder folder(TestProgramFolder::DatabaseSetup::Missing);
    if (!key.isEmpty()) {
        SqliteConnection other;
        QVERIFY(other.open(folder.databasePath(), key, SqliteConnection::Access::CreateIfMissing));
        QVERIFY(other.execute(QStringLiteral("CREATE TABLE TPara (ID INTEGER PRIMARY KEY)")));
    } else if (!content.isEmpty()) {
        QFile file(folder.databasePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    ScriptedPrompter prompter;

    folder.database().openAtStartup();

    QVERIFY(!folder.database().isOpen());
    QCOMPARE(prompter.shown(), QStringList{kInstallMessage});
    // Later queries fail quietly instead of crashing.
    QCOMPARE(folder.database().queryValue(QStringLiteral("Select Title from TWork")), QString());
    Recordset work(folder.database());
    QVERIFY(!work.open(QStringLiteral("Select * from TWork")));
}

void TestDatabase::fillWorkTypes(Database &database)
{
    QVERIFY(database.execute(QStringLiteral("Delete from TWorkClass")));
    const QVariantList titles{QStringLiteral("办公事务"), QVariant(), QString(), QStringLiteral("私人事务")};
    for (int i = 0; i < titles.size(); ++i) {
        QVERIFY(database.execute(QStringLiteral("Insert into TWorkClass (Title, OrderIdx) values (?, ?)"),
                           {titles.at(i), i + 1}));
    }
}

void TestDatabase::queryValueReadsTheFirstCell_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first column of first row")
        << "Select Title, ID from TWorkClass Order by OrderIdx" << QStringLiteral("办公事务");
    QTest::newRow("number as text") << "Select Max(OrderIdx) from TWorkClass" << "4";
    QTest::newRow("no rows") << "Select Title from TWorkClass where ID < 0" << QString();
    QTest::newRow("NULL value") << "Select Title from TWorkClass where OrderIdx = 2" << QString();
    QTest::newRow("syntax error") << "Selec Title frm TWorkClass" << QString();
}

void TestDatabase::queryValueReadsTheFirstCell()
{
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    TestProgramFolder folder;
    QVERIFY(folder.isValid());
    fillWorkTypes(folder.database());

    QCOMPARE(folder.database().queryValue(sql), expected);
}

void TestDatabase::queryColumnReplacesTheList_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("expected");
    const QStringList before{QStringLiteral("原有")};

    QTest::newRow("empty values kept as lines")
        << "Select Title from TWorkClass Order by OrderIdx"
        << QStringList{QStringLiteral("办公事务"), QString(), QString(), QStringLiteral("私人事务")};
    QTest::newRow("no rows empties the list") << "Select Title from TWorkClass where ID < 0" << QStringList();
    QTest::newRow("syntax error keeps the list") << "Select Title frm TWorkClass" << before;
    QTest::newRow("empty SQL keeps the list") << QString() << before;
}

void TestDatabase::queryColumnReplacesTheList()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, expected);
    TestProgramFolder folder;
    fillWorkTypes(folder.database());
    QStringList items{QStringLiteral("原有")};

    folder.database().queryColumn(sql, items);

    QCOMPARE(items, expected);
}

void TestDatabase::appendNonEmptyValuesAddsToTheList_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<QStringList>("expected");
    const QString all = QStringLiteral("Select Title from TWorkClass Order by OrderIdx");
    const QString none = QStringLiteral("Select Title from TWorkClass where ID < 0");
    const QString bad = QStringLiteral("Select Title frm TWorkClass");
    const QString old = QStringLiteral("全部");

    QTest::newRow("appends, skipping empty and NULL")
        << all << false << QStringList{old, QStringLiteral("办公事务"), QStringLiteral("私人事务")};
    QTest::newRow("clears first") << all << true << QStringList{QStringLiteral("办公事务"), QStringLiteral("私人事务")};
    QTest::newRow("no rows") << none << false << QStringList{old};
    QTest::newRow("no rows, cleared") << none << true << QStringList();
    QTest::newRow("syntax error is not cleared") << bad << true << QStringList{old};
}

void TestDatabase::appendNonEmptyValuesAddsToTheList()
{
    QFETCH(QString, sql);
    QFETCH(bool, clear);
    QFETCH(QStringList, expected);
    TestProgramFolder folder;
    fillWorkTypes(folder.database());
    QStringList items{QStringLiteral("全部")};

    folder.database().appendNonEmptyValues(sql, items, clear);

    QCOMPARE(items, expected);
}

void TestDatabase::awkwardTextRoundTrips_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("single quote") << QStringLiteral("O'Neil's 办公室");
    QTest::newRow("percent and underscore") << QStringLiteral("完成率 100%_以上");
    QTest::newRow("emoji") << QStringLiteral("生日快乐 🎂👍🏽");
    QTest::newRow("backslash and double quote") << QStringLiteral("C:\\文档\\\"报价\".doc");
    QTest::newRow("SQL in a name") << QStringLiteral("x'); Delete from TWork; --");
    QTest::newRow("rare CJK extension B") << QStringLiteral("𠀀𪚥");
}

void TestDatabase::awkwardTextRoundTrips()
{
    QFETCH(QString, text);
    TestProgramFolder folder;
    const int itemsBefore = folder.database().queryValue(QStringLiteral("Select count(*) from TWork")).toInt();

    Recordset work(folder.database());
    QVERIFY(work.open(QStringLiteral("Select * from TWork where ID < 0")));
    work.append();
    QVERIFY(work.set(QStringLiteral("Title"), text));
    QVERIFY(work.set(QStringLiteral("WorkType"), text));
    QVERIFY2(work.post(), qPrintable(work.lastError()));

    QCOMPARE(folder.database().queryValue(QStringLiteral("Select Title from TWork where WorkType = ?"), {text}), text);
    QCOMPARE(folder.database().queryValue(QStringLiteral("Select count(*) from TWork")).toInt(), itemsBefore + 1);
}

void TestDatabase::likePrefixMatchesLiterally()
{
    TestProgramFolder folder;
    for (const QString &type : {QStringLiteral("50%_折扣"), QStringLiteral("50%X折扣"), QStringLiteral("500元")})
        QVERIFY(folder.database().execute(QStringLiteral("Insert into TWork (WorkType) values (?)"), {type}));
    QStringList found;

    folder.database().queryColumn(QStringLiteral("Select WorkType from TWork where WorkType like ? escape '\\'"), found,
                              {likePrefix(QStringLiteral("50%_"))});

    QCOMPARE(found, QStringList{QStringLiteral("50%_折扣")});
}

void TestDatabase::pinyinCollationOrdersChineseNames()
{
    TestProgramFolder folder;
    QVERIFY(folder.database().execute(QStringLiteral("Delete from TLinkerClass")));
    for (const QString &name : {QStringLiteral("张三"), QStringLiteral("阿里"), QStringLiteral("北京"),
                                QStringLiteral("Zoe"), QStringLiteral("上海"), QStringLiteral("abc")})
        QVERIFY(folder.database().execute(QStringLiteral("Insert into TLinkerClass (TitleName) values (?)"), {name}));
    QStringList ordered;

    folder.database().queryColumn(QStringLiteral("Select TitleName from TLinkerClass Order by TitleName collate PINYIN"),
                              ordered);

    QCOMPARE(ordered, (QStringList{QStringLiteral("abc"), QStringLiteral("Zoe"), QStringLiteral("阿里"),
                                   QStringLiteral("北京"), QStringLiteral("上海"), QStringLiteral("张三")}));
}

void TestDatabase::transactionIsAllOrNothing()
{
    TestProgramFolder folder;
    Database &database = folder.database();
    const QString count = database.queryValue(QStringLiteral("Select count(*) from TWork"));
    QVERIFY(count.toInt() > 0);

    const bool committed = database.inTransaction([&] {
        return database.execute(QStringLiteral("Delete from TWork")) && database.execute(QStringLiteral("Delete from TNoSuchTable"));
    });

    QVERIFY(!committed);
    QCOMPARE(database.queryValue(QStringLiteral("Select count(*) from TWork")), count);
    QVERIFY(database.inTransaction([&] { return database.execute(QStringLiteral("Delete from TWork")); }));
    QCOMPARE(database.queryValue(QStringLiteral("Select count(*) from TWork")), QStringLiteral("0"));
}

void TestDatabase::closingClosesRecordsetsAndReopens()
{
    TestProgramFolder folder;
    Recordset work(folder.database());
    QVERIFY(work.open(QStringLiteral("Select * from TWork")));

    folder.database().close();

    QVERIFY(!work.isOpen());
    QCOMPARE(work.count(), 0);
    QVERIFY(folder.database().open());
    QVERIFY(work.open(QStringLiteral("Select * from TWork")));
    QVERIFY(work.count() > 0);
}

void TestDatabase::readingAnUnchangingFileLeavesItAsItIs_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("plain name") << "backup.WBK";
    QTest::newRow("Chinese and spaces") << "客户 备份 2027.WBK";
    QTest::newRow("what a URI escapes") << "50%#1?a=b&c.WBK";
}

void TestDatabase::readingAnUnchangingFileLeavesItAsItIs()
{
    QFETCH(QString, name);
    const QTemporaryDir dir;
    const QString path = dir.filePath(name);
    {
        SqliteConnection writer;
        QVERIFY(writer.open(path, databaseKey(), SqliteConnection::Access::CreateIfMissing));
        QVERIFY(writer.execute(QStringLiteral("create table T (Name text)")));
        QVERIFY(writer.execute(QStringLiteral("insert into T values ('只读')")));
    }
    // A journal that an opening for writing would act on.
    QFile journal(path + QStringLiteral("-journal"));
    QVERIFY(journal.open(QIODevice::WriteOnly));
    journal.write(QByteArray(4096, '\x7f'));
    journal.close();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();

    SqliteConnection reader;
    QVERIFY2(reader.open(path, databaseKey(), SqliteConnection::Access::ReadUnchanging), qPrintable(reader.lastError()));
    SqliteStatement read(reader, QStringLiteral("select Name from T"));
    QVERIFY(read.next());
    QCOMPARE(read.value(0).toString(), QStringLiteral("只读"));
    QVERIFY(!reader.execute(QStringLiteral("insert into T values ('写')")));
    reader.close();

    QVERIFY(file.seek(0));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(QFileInfo(journal).size(), 4096);
}

PANDREL_TEST_MAIN(TestDatabase)
#include "tst_database.moc"
