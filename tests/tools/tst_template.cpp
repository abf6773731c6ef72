#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/Recordset.h"
#include "template/TemplateBuilder.h"
#include "work/WorkBody.h"

#include <QRegularExpression>
#include <QTimeZone>
#include <QTextDocument>
#include <QUrl>

// The database a new installation starts with: its tables, its shipped rows and its samples.
class TestTemplate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void tablesHaveTheirColumns_data();
    void tablesHaveTheirColumns();
    void settingsRowHasSafeDefaults();
    void followUpStepsFormOneModel();
    void searchSitesTakeKeywordsAtTheEnd();
    void postCodesCoverEveryProvince();
    void worldClockPlaces();
    void sampleDataIsComplete();
    void sampleReferencesResolve_data();
    void sampleReferencesResolve();
    void tsvFilesParse_data();
    void tsvFilesParse();

private:
    std::unique_ptr<TestProgramFolder> m_folder;
    Database &database() { return m_folder->database(); }
    int count(const QString &sql) { return database().queryValue(sql).toInt(); }
};

void TestTemplate::initTestCase()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
}

void TestTemplate::cleanupTestCase()
{
    m_folder.reset();
}

void TestTemplate::tablesHaveTheirColumns_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("columns"); // name:type, in order, after the key ID

    QTest::newRow("TPara") << "TPara"
        << "LogPass:TEXT UsePassLog:BOOLEAN ColorWorkNoDeal:INTEGER ColorWorkNowDeal:INTEGER ColorWorkFin:INTEGER "
           "ColorWorkWaste:INTEGER LastDocWidth:INTEGER StartWithWIn:BOOLEAN AutoHide:INTEGER AutoBak:INTEGER "
           "AutoBakPath:TEXT AutoBakType:TEXT WinMaximized:INTEGER AutoBakKeep:INTEGER";
    QTest::newRow("TWork") << "TWork"
        << "Title:VARCHAR(50) WorkType:VARCHAR(50) FinStu:INTEGER ZY:INTEGER TimeStart:DATETIME TimeEnd:DATETIME "
           "LastUpTime:DATETIME UseTimeHint:INTEGER TimeHint:DATETIME HasHinted:INTEGER Content:BLOB RRule:TEXT UID:TEXT";
    QTest::newRow("TWorkClass") << "TWorkClass" << "Title:TEXT OrderIdx:INTEGER";
    const QString category = QStringLiteral("TypeCode:TEXT TypeName:TEXT ParTypeCode:TEXT nLeveal:INTEGER");
    QTest::newRow("TClientClass") << "TClientClass" << category;
    QTest::newRow("TGoodsClass") << "TGoodsClass" << category;
    QTest::newRow("TClient") << "TClient"
        << "TypeCode:TEXT TypeName:TEXT ClientName:TEXT ClientCode:TEXT ClientType:TEXT ClientComeFrom:TEXT "
           "Address:TEXT PostCode:TEXT Tele:TEXT MobileCode:TEXT Fax:TEXT EMail:TEXT HomePage:TEXT QICQ:TEXT "
           "ALWW:TEXT WW:TEXT ZFBCode:TEXT TaxCode:TEXT Bank:TEXT BankNo:TEXT Desp:TEXT RecTime:DATETIME "
           "LastLinkTime:DATETIME SalerName:TEXT";
    QTest::newRow("TCLinker") << "TCLinker"
        << "ClientID:INTEGER Linker:TEXT IsMain:INTEGER Depart:TEXT Job:TEXT Tele:TEXT MobileCode:TEXT "
           "HomeTele:TEXT Fax:TEXT QICQ:TEXT WW:TEXT ALWW:TEXT ZFBCode:TEXT EMail:TEXT Birthday:DATE "
           "Address:TEXT Fancy:TEXT Desp:TEXT";
    QTest::newRow("TCLinkRec") << "TCLinkRec"
        << "ClientID:INTEGER GoDate:DATE Title:TEXT Dealer:TEXT RunStyle:TEXT HintDate:DATE Desp:TEXT";
    QTest::newRow("TCTrack") << "TCTrack"
        << "ClientID:INTEGER GoodsName:TEXT Style:TEXT Unit:TEXT Price:REAL Qty:REAL Total:REAL StepID:INTEGER "
           "StepTotal:REAL Desp:TEXT RecTime:DATETIME";
    QTest::newRow("TCTrackStep") << "TCTrackStep" << "StepIndex:INTEGER StepTitle:TEXT StepRate:REAL";
    QTest::newRow("TGoods") << "TGoods"
        << "TypeCode:TEXT GoodsCode:TEXT GoodsName:TEXT Style:TEXT Unit:TEXT Price:REAL Desp:TEXT";
    QTest::newRow("TLinkerClass") << "TLinkerClass" << "TitleName:TEXT";
    QTest::newRow("TLinker") << "TLinker"
        << "ClassID:INTEGER Linker:VARCHAR(30) Job:VARCHAR(20) Tele:VARCHAR(30) MobileCode:VARCHAR(30) "
           "HomeTele:VARCHAR(30) Fax:VARCHAR(20) QICQ:VARCHAR(50) ALWW:VARCHAR(20) WW:VARCHAR(50) "
           "ZFBCode:VARCHAR(50) EMail:VARCHAR(30) Birthday:DATE Address:VARCHAR(50) Fancy:VARCHAR(100) "
           "Desp:VARCHAR(250)";
    QTest::newRow("TFolder") << "TFolder" << "FolderName:TEXT FolderPath:TEXT";
    QTest::newRow("TNetSearch") << "TNetSearch" << "NetName:TEXT NetAddress:TEXT";
    QTest::newRow("YBQH") << "YBQH" << "DQ:TEXT SM:TEXT YB:TEXT QH:TEXT";
    QTest::newRow("TTimeZone") << "TTimeZone" << "AddName:TEXT AddTimes:REAL ZoneName:TEXT";
    QTest::newRow("TCustomInfo") << "TCustomInfo" << "Title:TEXT RecDate:DATETIME Content:BLOB";
}

void TestTemplate::tablesHaveTheirColumns()
{
    QFETCH(QString, table);
    QFETCH(QString, columns);
    Recordset info(database());
    QVERIFY(info.open(QStringLiteral("PRAGMA table_info(%1)").arg(table)));

    QStringList actual;
    for (; !info.eof(); info.next()) {
        if (info.text(QStringLiteral("name")) == QLatin1String("ID")) {
            QCOMPARE(info.integer(QStringLiteral("pk")), 1);
            continue;
        }
        actual.append(info.text(QStringLiteral("name")) + ':' + info.text(QStringLiteral("type")));
    }
    QCOMPARE(actual.join(' '), columns);
    // Keys count on from the shipped rows instead of reusing numbers of deleted rows.
    QVERIFY(database().queryValue(QStringLiteral("Select sql from sqlite_master where name = ?"), {table})
                .contains(QLatin1String("AUTOINCREMENT")));
}

void TestTemplate::settingsRowHasSafeDefaults()
{
    Recordset para(database());
    QVERIFY(para.open(QStringLiteral("Select * from TPara")));
    QCOMPARE(para.count(), 1);
    QCOMPARE(para.text(QStringLiteral("LogPass")), QString());
    QVERIFY(!para.boolean(QStringLiteral("UsePassLog")));
    QVERIFY(!para.boolean(QStringLiteral("AutoHide")));
    QVERIFY(!para.boolean(QStringLiteral("StartWithWIn")));
    QVERIFY(para.boolean(QStringLiteral("AutoBak")));
    // Empty means the Bak folder of wherever the program runs from.
    QCOMPARE(para.text(QStringLiteral("AutoBakPath")), QString());
    QVERIFY(QRegularExpression(QStringLiteral("^(0,|1,[0-6],)([01]\\d|2[0-3]):[0-5]\\d$"))
                .match(para.text(QStringLiteral("AutoBakTYpe"))).hasMatch());
    QVERIFY(para.integer(QStringLiteral("LastDocWidth")) > 100);
}

void TestTemplate::followUpStepsFormOneModel()
{
    Recordset steps(database());
    QVERIFY(steps.open(QStringLiteral("Select * from TCTrackStep Order by StepIndex")));
    QVERIFY(steps.count() >= 6 && steps.count() <= 8);
    QCOMPARE(count(QStringLiteral("Select count(*) from TCTrackStep where StepRate = 100")), 1);
    QCOMPARE(count(QStringLiteral("Select count(*) from TCTrackStep where StepRate = 0")), 1);
    QCOMPARE(count(QStringLiteral("Select count(distinct StepIndex) from TCTrackStep")), steps.count());
    for (; !steps.eof(); steps.next()) {
        QVERIFY(!steps.text(QStringLiteral("StepTitle")).isEmpty());
        const double rate = steps.number(QStringLiteral("StepRate"));
        QVERIFY2(rate >= 0 && rate <= 100, qPrintable(steps.text(QStringLiteral("StepTitle"))));
    }
}

void TestTemplate::searchSitesTakeKeywordsAtTheEnd()
{
    Recordset sites(database());
    QVERIFY(sites.open(QStringLiteral("Select * from TNetSearch")));
    QVERIFY(sites.count() >= 8);
    QStringList hosts;
    for (; !sites.eof(); sites.next()) {
        const QString address = sites.text(QStringLiteral("NetAddress"));
        const QUrl url(address + QStringLiteral("%E5%AE%A2%E6%88%B7"));
        QVERIFY2(address.endsWith('='), qPrintable(address));
        QVERIFY2(url.isValid() && url.scheme().startsWith(QLatin1String("http")), qPrintable(address));
        QVERIFY(!sites.text(QStringLiteral("NetName")).isEmpty());
        hosts.append(url.host());
    }
    QVERIFY(hosts.contains(QStringLiteral("www.baidu.com")));
    hosts.removeDuplicates();
    QCOMPARE(hosts.size(), sites.count());
}

void TestTemplate::postCodesCoverEveryProvince()
{
    const QStringList provinces{
        "北京市", "天津市", "河北省", "山西省", "内蒙古自治区", "辽宁省", "吉林省", "黑龙江省",
        "上海市", "江苏省", "浙江省", "安徽省", "福建省", "江西省", "山东省", "河南省",
        "湖北省", "湖南省", "广东省", "广西壮族自治区", "海南省", "重庆市", "四川省", "贵州省",
        "云南省", "西藏自治区", "陕西省", "甘肃省", "青海省", "宁夏回族自治区", "新疆维吾尔自治区"};
    QStringList present;
    database().queryColumn(QStringLiteral("Select distinct SM from YBQH"), present);
    for (const QString &province : provinces)
        QVERIFY2(present.contains(province), qPrintable(province));

    QVERIFY(count(QStringLiteral("Select count(*) from YBQH")) >= 333);
    QCOMPARE(count(QStringLiteral("Select count(*) from YBQH where length(YB) <> 6 or YB glob '*[^0-9]*'")), 0);
    QCOMPARE(count(QStringLiteral("Select count(*) from YBQH where QH not glob '0[1-9]*' or length(QH) not in (3, 4)")), 0);
    // Two well-known pairs.
    QCOMPARE(database().queryValue(QStringLiteral("Select YB || ' ' || QH from YBQH where DQ like '广州%'")),
             QStringLiteral("510000 020"));
    QCOMPARE(database().queryValue(QStringLiteral("Select YB || ' ' || QH from YBQH where DQ like '石家庄%'")),
             QStringLiteral("050000 0311"));
}

void TestTemplate::worldClockPlaces()
{
    QVERIFY(count(QStringLiteral("Select count(*) from TTimeZone")) >= 100);
    QCOMPARE(count(QStringLiteral("Select count(*) from TTimeZone where AddTimes < -12 or AddTimes > 14")), 0);
    QCOMPARE(count(QStringLiteral("Select count(*) from TTimeZone where AddName = '' or AddName is null")), 0);
    QCOMPARE(count(QStringLiteral("Select count(*) - count(distinct AddName) from TTimeZone")), 0);
    QCOMPARE(database().queryValue(QStringLiteral("Select AddTimes from TTimeZone where AddName = '东京'")).toDouble(), 9.0);
    QCOMPARE(database().queryValue(QStringLiteral("Select AddTimes from TTimeZone where AddName = '新德里'")).toDouble(), 5.5);

    // Every place but Baker Island has a zone this machine knows, and the zone agrees with
    // the row's offset in one half of the year: a mistyped zone would not.
    QCOMPARE(database().queryValue(QStringLiteral("Select group_concat(AddName) from TTimeZone where ZoneName is null")),
             QStringLiteral("贝克岛"));
    Recordset places(database());
    QVERIFY(places.open(QStringLiteral("Select AddName, AddTimes, ZoneName from TTimeZone where ZoneName is not null")));
    for (int row = 0; row < places.count(); ++row) {
        places.moveTo(row);
        const QTimeZone zone(places.text(QStringLiteral("ZoneName")).toLatin1());
        QVERIFY2(zone.isValid(), qPrintable(places.text(QStringLiteral("ZoneName"))));
        const int offset = int(places.number(QStringLiteral("AddTimes")) * 3600);
        const QDateTime january(QDate(2025, 1, 15), QTime(0, 0), Qt::UTC);
        const QDateTime july(QDate(2025, 7, 15), QTime(0, 0), Qt::UTC);
        QVERIFY2(zone.offsetFromUtc(january) == offset || zone.offsetFromUtc(july) == offset,
                 qPrintable(places.text(QStringLiteral("AddName"))));
    }
}

void TestTemplate::sampleDataIsComplete()
{
    QCOMPARE(database().queryValue(QStringLiteral("Select group_concat(FinStu) from (Select distinct FinStu from TWork Order by 1)")),
             QStringLiteral("1,2,3,4"));
    QCOMPARE(database().queryValue(QStringLiteral("Select group_concat(ZY) from (Select distinct ZY from TWork Order by 1)")),
             QStringLiteral("0,1"));
    // Some items come with a formatted body.
    QVERIFY(count(QStringLiteral("Select count(*) from TWork where length(Content) > 10")) > 0);
    QTextDocument body;
    workbody::load(database(), count(QStringLiteral("Select min(ID) from TWork where length(Content) > 10")), body);
    QVERIFY(body.toPlainText().size() > 20);
    QVERIFY(body.toHtml().contains(QLatin1String("font-weight")));
    // The reminders still to come have not been shown: they remind when their time comes.
    QCOMPARE(count(QStringLiteral("Select count(*) from TWork where FinStu=1 and UseTimeHint=1 and HasHinted<>0")), 0);
    // Each installation gives the samples UIDs of its own.
    QCOMPARE(count(QStringLiteral("Select count(*) from TWork where UID<>''")), 0);
    QVERIFY(count(QStringLiteral("Select count(*) from TWork where FinStu=1 and UseTimeHint=1")) >= 3);
    for (const char *table : {"TClientClass", "TGoodsClass"}) {
        QVERIFY(count(QStringLiteral("Select count(*) from %1 where nLeveal = 0 and ParTypeCode = '' and length(TypeCode) = 4").arg(table)) > 1);
        QVERIFY(count(QStringLiteral("Select count(*) from %1 where nLeveal = 1 and length(TypeCode) = 8").arg(table)) > 1);
    }
    for (const char *table : {"TWorkClass", "TClient", "TCLinker", "TCLinkRec", "TCTrack", "TGoods",
                              "TLinkerClass", "TLinker", "TFolder", "TCustomInfo"})
        QVERIFY2(count(QStringLiteral("Select count(*) from %1").arg(table)) > 0, table);
}

void TestTemplate::sampleReferencesResolve_data()
{
    QTest::addColumn<QString>("orphans");

    QTest::newRow("work types") << "Select count(*) from TWork where WorkType not in (Select Title from TWorkClass)";
    QTest::newRow("category parents") << "Select count(*) from TClientClass c where nLeveal = 1 and "
                                         "(ParTypeCode not in (Select TypeCode from TClientClass) or substr(TypeCode, 1, 4) <> ParTypeCode)";
    QTest::newRow("goods category parents") << "Select count(*) from TGoodsClass where nLeveal = 1 and "
                                               "(ParTypeCode not in (Select TypeCode from TGoodsClass) or substr(TypeCode, 1, 4) <> ParTypeCode)";
    QTest::newRow("client categories") << "Select count(*) from TClient where TypeCode not in (Select TypeCode from TClientClass)";
    QTest::newRow("contacts") << "Select count(*) from TCLinker where ClientID not in (Select ID from TClient)";
    QTest::newRow("activities") << "Select count(*) from TCLinkRec where ClientID not in (Select ID from TClient)";
    QTest::newRow("follow-up clients") << "Select count(*) from TCTrack where ClientID not in (Select ID from TClient)";
    QTest::newRow("follow-up steps") << "Select count(*) from TCTrack where StepID not in (Select ID from TCTrackStep)";
    QTest::newRow("follow-up values") << "Select count(*) from TCTrack t join TCTrackStep s on s.ID = t.StepID "
                                         "where abs(t.Total - t.Qty * t.Price) > 0.005 or abs(t.StepTotal - t.Total * s.StepRate / 100) > 0.005";
    QTest::newRow("goods categories") << "Select count(*) from TGoods where TypeCode not in (Select TypeCode from TGoodsClass)";
    QTest::newRow("address book") << "Select count(*) from TLinker where ClassID not in (Select ID from TLinkerClass)";
}

void TestTemplate::sampleReferencesResolve()
{
    QFETCH(QString, orphans);
    QCOMPARE(count(orphans), 0);
}

void TestTemplate::tsvFilesParse_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QList<QVariantList>>("rows");

    QTest::newRow("escapes and NULL") << QByteArray("# note\nA\tB\n\\N\tx\\ty\\\\n\\nz\n\n") << true
                                      << QList<QVariantList>{{QVariant(), QStringLiteral("x\ty\\n\nz")}};
    QTest::newRow("empty cells stay text") << QByteArray("A\tB\r\n\t\r\n") << true
                                           << QList<QVariantList>{{QString(""), QString("")}};
    QTest::newRow("too few cells") << QByteArray("A\tB\nonly\n") << false << QList<QVariantList>{};
    QTest::newRow("no header") << QByteArray("# only a comment\n") << false << QList<QVariantList>{};
}

void TestTemplate::tsvFilesParse()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, valid);
    QFETCH(QList<QVariantList>, rows);
    TsvTable table;
    QString error;

    QCOMPARE(parseTsv(content, table, error), valid);

    QCOMPARE(error.isEmpty(), valid);
    if (valid) {
        QCOMPARE(table.columns, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
        QCOMPARE(table.rows, rows);
    }
}

PANDREL_TEST_MAIN(TestTemplate)
#include "tst_template.moc"
