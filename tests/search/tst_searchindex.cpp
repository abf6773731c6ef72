#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/SearchIndex.h"
#include "document/DocumentStore.h"
#include "safety/DataSafety.h"
#include "search/SearchIndexUpkeep.h"
#include "search/SearchQuery.h"
#include "util/PinyinInitials.h"
#include "util/SearchText.h"

#include <QRandomGenerator>
#include <QTextDocument>

using searchindex::Kind;

namespace {

// One record of the fixture: where it is stored and the texts a search may find in it.
struct Record
{
    Kind kind;
    QString title;
    QString text; // stored in the kind's first text column besides the title
    QString code = {};
};

using Hits = QSet<QPair<int, qint64>>;

// The fixture's records, kept where each page keeps them; the cleared template leaves only these.
QList<QPair<Record, qint64>> storeRecords(Database &database, const QList<Record> &records)
{
    for (const char *table : {"TWork", "TClient", "TCLinker", "TCLinkRec", "TCTrack", "TGoods", "TLinker"})
        database.execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    QList<QPair<Record, qint64>> stored;
    for (const Record &r : records) {
        bool ok = false;
        switch (r.kind) {
        case Kind::WorkItem: {
            QTextDocument body;
            body.setPlainText(r.text);
            ok = database.execute(QStringLiteral("INSERT INTO TWork (Title, FinStu, Content) VALUES (?, 1, ?)"),
                                  {r.title, saveDocument(body)});
            break;
        }
        case Kind::Client:
            ok = database.execute(QStringLiteral("INSERT INTO TClient (ClientName, Address, ClientCode) VALUES (?, ?, ?)"),
                                  {r.title, r.text, r.code});
            break;
        case Kind::Contact:
            ok = database.execute(QStringLiteral("INSERT INTO TCLinker (ClientID, Linker, MobileCode) VALUES (1, ?, ?)"),
                                  {r.title, r.text});
            break;
        case Kind::Activity:
            ok = database.execute(QStringLiteral("INSERT INTO TCLinkRec (ClientID, Title, Desp) VALUES (1, ?, ?)"),
                                  {r.title, r.text});
            break;
        case Kind::FollowUp:
            ok = database.execute(QStringLiteral("INSERT INTO TCTrack (ClientID, GoodsName, Desp) VALUES (1, ?, ?)"),
                                  {r.title, r.text});
            break;
        case Kind::Goods:
            ok = database.execute(QStringLiteral("INSERT INTO TGoods (GoodsName, Desp, GoodsCode) VALUES (?, ?, ?)"),
                                  {r.title, r.text, r.code});
            break;
        case Kind::AddressBookEntry:
            ok = database.execute(QStringLiteral("INSERT INTO TLinker (ClassID, Linker, Tele) VALUES (1, ?, ?)"),
                                  {r.title, r.text});
            break;
        }
        if (!ok)
            qWarning() << database.lastError();
        stored.append({r, database.connection().lastInsertId()});
    }
    return stored;
}

const QList<Record> &fixture()
{
    static const QList<Record> records{
        {Kind::WorkItem, QStringLiteral("签订合同书"), QStringLiteral("与张三签订合同，金额 50% 预付。\n电话 13812345678")},
        {Kind::WorkItem, QStringLiteral("Contract review"), QStringLiteral("ABC company 合同 draft_2 \"final\"")},
        {Kind::WorkItem, QStringLiteral("周报"), QStringLiteral("abc合同书 o'brien C:\\path")},
        {Kind::Client, QStringLiteral("张三贸易"), QStringLiteral("北京市 100_200 号"), QStringLiteral("ZSMY")},
        {Kind::Contact, QStringLiteral("张三"), QStringLiteral("13812345678")},
        {Kind::Contact, QStringLiteral("Zhang Contractor"), QStringLiteral("+86 (010) 5678-1234")},
        {Kind::Activity, QStringLiteral("电话联系"), QStringLiteral("讨论合同 50%")},
        {Kind::FollowUp, QStringLiteral("打印机"), QStringLiteral("签订合同 back\\slash")},
        {Kind::Goods, QStringLiteral("激光打印机"), QStringLiteral("ＡＢＣ型 １３８"), QStringLiteral("JGDYJ")},
        {Kind::AddressBookEntry, QStringLiteral("赵四"), QStringLiteral("010-5678")},
    };
    return records;
}

// The brute-force answer: every record all of whose runs are found in one of its texts.
Hits scanAll(const QList<QPair<Record, qint64>> &stored, const QString &query)
{
    const QList<searchtext::Run> runs = searchtext::queryRuns(query);
    Hits hits;
    if (runs.isEmpty())
        return hits;
    for (const auto &[record, id] : stored) {
        QString code = record.code;
        if (record.kind == Kind::Contact || record.kind == Kind::AddressBookEntry)
            code = pinyinInitials(record.title);
        const QStringList texts{record.title, record.text, code};
        const bool all = std::all_of(runs.begin(), runs.end(), [&texts](const searchtext::Run &run) {
            return std::any_of(texts.begin(), texts.end(),
                               [&run](const QString &text) { return searchtext::findRun(searchtext::fold(text), run) >= 0; });
        });
        if (all)
            hits.insert({int(record.kind), id});
    }
    return hits;
}

Hits searchFor(Database &database, const QString &query)
{
    Hits hits;
    const search::Found found = search::find(database.connection(), query, 1000);
    for (const search::Hit &hit : found.hits)
        hits.insert({int(hit.kind), hit.recordId});
    return hits;
}

} // namespace

// The full-text index: what it finds, how it keeps up with changes, and how it is built.
class TestSearchIndex : public QObject
{
    Q_OBJECT

private slots:
    void findsWhatAScanFinds_data();
    void findsWhatAScanFinds();
    void changesShowAtOnce_data();
    void changesShowAtOnce();
    void bulkInsertionIndexesAsTheTriggerDoes_data() { changesShowAtOnce_data(); }
    void bulkInsertionIndexesAsTheTriggerDoes();
    void missingOrStaleIndexIsRebuilt();
    void clearingEmptiesAndRestoreBringsItsOwn();
    void anyBytesAreIndexedAndFound();
    void snippetHighlightsTheMatch();
};

void TestSearchIndex::findsWhatAScanFinds_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("expected"); // how many records match, so that the table stays honest

    QTest::newRow("one character") << QStringLiteral("同") << 5;
    QTest::newRow("two characters") << QStringLiteral("合同") << 5;
    QTest::newRow("phrase") << QStringLiteral("签订合同书") << 1;
    QTest::newRow("phrase across no boundary") << QStringLiteral("合同书") << 2;
    QTest::newRow("characters apart are no phrase") << QStringLiteral("合签") << 0;
    QTest::newRow("Chinese and Latin") << QStringLiteral("合同 abc") << 2;
    QTest::newRow("Latin glued to Chinese") << QStringLiteral("abc合同") << 2;
    QTest::newRow("Latin any case") << QStringLiteral("CONTRACT") << 2;
    QTest::newRow("start of a word") << QStringLiteral("contr") << 2;
    QTest::newRow("middle of a word") << QStringLiteral("tract") << 0;
    QTest::newRow("digits in a phone number") << QStringLiteral("5678") << 4;
    QTest::newRow("end of a phone number") << QStringLiteral("45678") << 2;
    QTest::newRow("full-width digits") << QStringLiteral("１３８１２") << 2;
    QTest::newRow("full-width letters find half-width") << QStringLiteral("ＣＯＭＰＡＮＹ") << 1;
    QTest::newRow("half-width letters find full-width") << QStringLiteral("abc型") << 1;
    QTest::newRow("pinyin initials of a client's code") << QStringLiteral("zsmy") << 1;
    QTest::newRow("pinyin initials of names") << QStringLiteral("zs") << 3;
    QTest::newRow("several words narrow") << QStringLiteral("合同 50") << 2;
    QTest::newRow("percent") << QStringLiteral("50%") << 2;
    QTest::newRow("underscore") << QStringLiteral("100_200") << 1;
    QTest::newRow("underscore alone") << QStringLiteral("_") << 0;
    QTest::newRow("quote") << QStringLiteral("o'brien") << 1;
    QTest::newRow("double quote") << QStringLiteral("\"final") << 1;
    QTest::newRow("backslash") << QStringLiteral("back\\slash") << 1;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("spaces only") << QStringLiteral("   ") << 0;
    QTest::newRow("200 characters") << QString(QStringLiteral("签订合同")).repeated(50) << 0;
    QTest::newRow("200 words") << QString(QStringLiteral("a ")).repeated(100) + QString(QStringLiteral("合 ")).repeated(100) << 2;
}

void TestSearchIndex::findsWhatAScanFinds()
{
    QFETCH(QString, query);
    QFETCH(int, expected);
    TestProgramFolder folder;
    const auto stored = storeRecords(folder.database(), fixture());
    const Hits scanned = scanAll(stored, query);
    QCOMPARE(scanned.size(), expected);
    QCOMPARE(searchFor(folder.database(), query), scanned);
}

void TestSearchIndex::changesShowAtOnce_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("kind");

    QTest::newRow("work item title") << "TWork" << "Title" << int(Kind::WorkItem);
    QTest::newRow("client address") << "TClient" << "Address" << int(Kind::Client);
    QTest::newRow("contact remarks") << "TCLinker" << "Desp" << int(Kind::Contact);
    QTest::newRow("activity remarks") << "TCLinkRec" << "Desp" << int(Kind::Activity);
    QTest::newRow("follow-up style") << "TCTrack" << "Style" << int(Kind::FollowUp);
    QTest::newRow("goods remarks") << "TGoods" << "Desp" << int(Kind::Goods);
    QTest::newRow("address book e-mail") << "TLinker" << "EMail" << int(Kind::AddressBookEntry);
}

void TestSearchIndex::changesShowAtOnce()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(int, kind);
    TestProgramFolder folder;
    Database &database = folder.database();
    storeRecords(database, fixture());

    QVERIFY(database.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES ('新增甲乙')").arg(table, column)));
    const qint64 id = database.connection().lastInsertId();
    QCOMPARE(searchFor(database, QStringLiteral("甲乙")), Hits({{kind, id}}));

    // A change in a transaction that is rolled back leaves the index as it was.
    QVERIFY(!database.inTransaction([&] {
        database.execute(QStringLiteral("UPDATE %1 SET %2='改为丙丁' WHERE ID=?").arg(table, column), {id});
        return false;
    }));
    QCOMPARE(searchFor(database, QStringLiteral("甲乙")), Hits({{kind, id}}));

    QVERIFY(database.execute(QStringLiteral("UPDATE %1 SET %2='改为丙丁' WHERE ID=?").arg(table, column), {id}));
    QVERIFY(searchFor(database, QStringLiteral("甲乙")).isEmpty());
    QCOMPARE(searchFor(database, QStringLiteral("丙丁")), Hits({{kind, id}}));

    QVERIFY(database.execute(QStringLiteral("DELETE FROM %1 WHERE ID=?").arg(table), {id}));
    QVERIFY(searchFor(database, QStringLiteral("丙丁")).isEmpty());
    QVERIFY(searchindex::isComplete(database.connection()));
}

void TestSearchIndex::bulkInsertionIndexesAsTheTriggerDoes()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(int, kind);
    TestProgramFolder folder;
    Database &database = folder.database();
    storeRecords(database, fixture());
    // A work item's body is indexed from its stored form.
    const bool work = table == QLatin1String("TWork");
    const QString insert = work ? QStringLiteral("INSERT INTO TWork (Title, Content) VALUES (?, ?)")
                                : QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(table, column);
    const QVariantList values = work ? QVariantList{QStringLiteral("新增甲乙"), bodyOfPlainText(QStringLiteral("正文里的戊己"))}
                                     : QVariantList{QStringLiteral("新增甲乙")};
    auto insertRow = [&] { return database.execute(insert, values); };
    auto indexRow = [&](qint64 id) {
        SqliteStatement row(database.connection(), QStringLiteral("SELECT Body, Title, Codes FROM SearchIndex WHERE docid=?"));
        row.bind({searchindex::documentId(Kind(kind), id)});
        return row.next() ? QStringList{row.value(0).toString(), row.value(1).toString(), row.value(2).toString()}
                          : QStringList();
    };

    qint64 rolledBack = 0;
    QVERIFY(!database.inTransaction([&] {
        searchindex::BulkInsertion indexing(database.connection(), Kind(kind));
        insertRow();
        rolledBack = database.connection().lastInsertId();
        indexing.add(rolledBack);
        return false;
    }));
    QVERIFY(indexRow(rolledBack).isEmpty());

    qint64 bulk = 0;
    QVERIFY(database.inTransaction([&] {
        searchindex::BulkInsertion indexing(database.connection(), Kind(kind));
        if (!insertRow())
            return false;
        bulk = database.connection().lastInsertId();
        // A change of another kind meanwhile still goes through its trigger.
        return indexing.add(bulk)
               && database.execute(kind == int(Kind::Goods) ? QStringLiteral("INSERT INTO TClient (ClientName) VALUES ('同时甲乙')")
                                                            : QStringLiteral("INSERT INTO TGoods (GoodsName) VALUES ('同时甲乙')"));
    }));
    QVERIFY(insertRow()); // through the trigger again
    const qint64 byTrigger = database.connection().lastInsertId();

    QCOMPARE(indexRow(bulk), indexRow(byTrigger));
    QVERIFY(!indexRow(bulk).isEmpty());
    QVERIFY(!work || indexRow(bulk).first().contains(QStringLiteral("戊己")));
    const Hits found = searchFor(database, QStringLiteral("甲乙"));
    QVERIFY(found.contains({kind, bulk}) && found.contains({kind, byTrigger}));
    QCOMPARE(found.size(), 3); // and the other kind's row of the same transaction
    QVERIFY(searchindex::isComplete(database.connection()));
}

void TestSearchIndex::missingOrStaleIndexIsRebuilt()
{
    TestProgramFolder folder;
    Database &database = folder.database();
    const auto stored = storeRecords(database, fixture());
    const Hits before = searchFor(database, QStringLiteral("合同"));
    QVERIFY(!before.isEmpty());

    // A file of an older version has no index; its bodies are read when it is built.
    QVERIFY(database.execute(QStringLiteral("DROP TABLE SearchIndex")));
    QVERIFY(database.open());
    QVERIFY(!searchindex::isComplete(database.connection()));
    QVERIFY(ensureSearchIndex(database, nullptr));
    QCOMPARE(searchFor(database, QStringLiteral("合同")), before);

    // An older version adds a row without the index.
    QVERIFY(database.execute(QStringLiteral("DROP TRIGGER temp.search_TGoods_insert")));
    QVERIFY(database.execute(QStringLiteral("INSERT INTO TGoods (GoodsName) VALUES ('合同章')")));
    const qint64 added = database.connection().lastInsertId();
    QVERIFY(!searchindex::isComplete(database.connection()));
    QVERIFY(database.open());
    QVERIFY(ensureSearchIndex(database, nullptr));
    QCOMPARE(searchFor(database, QStringLiteral("合同")), before + Hits({{int(Kind::Goods), added}}));
}

void TestSearchIndex::clearingEmptiesAndRestoreBringsItsOwn()
{
    TestProgramFolder folder;
    Database &database = folder.database();
    storeRecords(database, fixture());
    const Hits stored = searchFor(database, QStringLiteral("合同"));
    const QString withIndex = folder.filePath(QStringLiteral("Bak/with.WBK"));
    QVERIFY(backupDatabase(database, withIndex));
    QVERIFY(database.execute(QStringLiteral("DROP TABLE SearchIndex")));
    const QString withoutIndex = folder.filePath(QStringLiteral("Bak/without.WBK"));
    QVERIFY(backupDatabase(database, withoutIndex));
    QVERIFY(database.open());
    QVERIFY(ensureSearchIndex(database, nullptr));

    QVERIFY(clearUserData(database));
    QVERIFY(searchFor(database, QStringLiteral("合同")).isEmpty());
    QVERIFY(searchindex::isComplete(database.connection()));

    QVERIFY(restoreDatabase(database, withIndex));
    QVERIFY(searchindex::isComplete(database.connection()));
    QCOMPARE(searchFor(database, QStringLiteral("合同")), stored);

    // A backup made before the index existed gets one when the pages load again.
    QVERIFY(restoreDatabase(database, withoutIndex));
    QVERIFY(!searchindex::isComplete(database.connection()));
    QVERIFY(ensureSearchIndex(database, nullptr));
    QCOMPARE(searchFor(database, QStringLiteral("合同")), stored);
}

void TestSearchIndex::anyBytesAreIndexedAndFound()
{
    TestProgramFolder folder;
    Database &database = folder.database();
    storeRecords(database, {});
    // Text of every shape the tokenizer may meet: broken UTF-8, four-byte characters, a
    // private-use character where a query puts its mark, long runs.
    const QList<QByteArray> pieces{"\xe5\x90", "\xff", "\xf0\x9f\x98\x80", "\xee\x80\x80", "\xe5\x90\x88", "\xe5\x90\x8c",
                                   "a", "Z", "9", " ", "%", "\"", "\\", "\xef\xbc\xa1", "\xe3\x80\x80"};
    QRandomGenerator random(30);
    QList<QByteArray> names{"\xe5\x90\x88\xe5\x90\x8c\xee\x80\x80"}; // 合同 and a private-use character
    for (int i = 0; i < 120; ++i) {
        QByteArray name;
        for (int k = random.bounded(1, 24); k > 0; --k)
            name += pieces.at(random.bounded(pieces.size()));
        names.append(name);
    }
    QList<qint64> ids;
    for (const QByteArray &name : names) {
        QVERIFY(database.execute(QStringLiteral("INSERT INTO TGoods (GoodsName) VALUES (CAST(? AS TEXT))"), {name}));
        ids.append(database.connection().lastInsertId());
    }
    QVERIFY(database.execute(QStringLiteral("INSERT INTO SearchIndex(SearchIndex) VALUES('integrity-check')")));
    // Every name is found by its whole text and by each of its characters searched as
    // substrings (a letter finds only the words it starts).
    for (int i = 0; i < names.size(); ++i) {
        const QString text = QString::fromUtf8(names.at(i));
        for (const QString &query : QStringList{text} + text.split(QString())) {
            const QList<searchtext::Run> runs = searchtext::queryRuns(query);
            if (!runs.isEmpty() && (query == text || runs.first().kind == searchtext::RunKind::Substring))
                QVERIFY2(searchFor(database, query).contains({int(Kind::Goods), ids.at(i)}),
                         (names.at(i).toHex() + " by " + query.toUtf8().toHex()).constData());
        }
    }
    QVERIFY(database.execute(QStringLiteral("DELETE FROM TGoods")));
    QVERIFY(database.execute(QStringLiteral("INSERT INTO SearchIndex(SearchIndex) VALUES('integrity-check')")));
}

void TestSearchIndex::snippetHighlightsTheMatch()
{
    const QString text = QString(QStringLiteral("前")).repeated(40) + QStringLiteral("签订<合同>，ABC公司");
    const QString snippet = search::snippet(text, QStringLiteral("合同 abc"), 30);
    QVERIFY2(snippet.startsWith(QStringLiteral("…")), qPrintable(snippet));
    QVERIFY2(snippet.contains(QStringLiteral("&lt;<b>合同</b>&gt;，<b>ABC</b>公司")), qPrintable(snippet));
}

PANDREL_TEST_MAIN(TestSearchIndex)
#include "tst_searchindex.moc"
