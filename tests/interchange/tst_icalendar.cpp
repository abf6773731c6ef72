#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/Recordset.h"
#include "interchange/ICalendarFile.h"
#include "interchange/WorkItemCalendar.h"
#include "work/WorkBody.h"
#include "work/WorkCalendarCommands.h"
#include "work/WorkListPage.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QStringEncoder>
#include <QTextDocument>


// Work items to and from iCalendar files, on the real database and real files.
class TestICalendar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void exportThenImportIsTheIdentity_data();
    void exportThenImportIsTheIdentity();
    void exportWritesTheZoneAndAnAbsoluteAlarm();
    void exportToAFolderThatIsNotThereSaysSo();
    void filesOfOtherPrograms_data();
    void filesOfOtherPrograms();
    void unknownZoneUsesTheFileOffset();
    void encodingsAreRecognised_data();
    void encodingsAreRecognised();
    void importingTwiceNeverDuplicates();
    void storedItemsAreUpdatedOnlyWhenAgreed();
    void skippedItemsAreCountedWithTheirReasons();
    void calendarWithoutItemsSaysSo();
    void damagedFileLeavesTheDatabaseUnchanged_data();
    void damagedFileLeavesTheDatabaseUnchanged();
    void hugeFileIsRefusedUnread();
    void menuExportsTheListAndImportsBack();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);
    QString importText(const QByteArray &components, const QString &name = QStringLiteral("in.ics"));
    QVariantMap rowOf(const QString &uid);
    int rowCount();

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    const QTimeZone m_shanghai{"Asia/Shanghai"};
};

namespace {

// A calendar around the components, with CRLF line ends as RFC 5545 has them.
QByteArray calendar(const QByteArray &components)
{
    QByteArray text = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Example Corp//Test//EN\n" + components
        + "END:VCALENDAR\n";
    return text.replace("\n", "\r\n");
}

QString plainBody(Database &dm, qint64 id)
{
    QTextDocument document;
    workbody::load(dm, id, document);
    return document.toPlainText();
}

} // namespace

void TestICalendar::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    m_prompter = std::make_unique<ScriptedPrompter>();
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral("Delete from TWork")));
    QVERIFY(dm.execute(QStringLiteral("Delete from TWorkClass")));
    QVERIFY(dm.execute(QStringLiteral("Insert into TWorkClass (Title, OrderIdx) values ('办公事务', 1), ('客户拜访', 2), "
                                      "('生日, 节日; 纪念', 3)")));
}

void TestICalendar::cleanup()
{
    m_prompter.reset();
    m_folder.reset();
}

QString TestICalendar::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_folder->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

QString TestICalendar::importText(const QByteArray &components, const QString &name)
{
    const QString path = writeFile(name, calendar(components));
    workcalendar::importFromFile(m_folder->database(), path, m_shanghai);
    return m_prompter->lastShown();
}

QVariantMap TestICalendar::rowOf(const QString &uid)
{
    QVariantMap row;
    Recordset rs(m_folder->database());
    if (!rs.open(QStringLiteral("Select * from TWork where UID=?"), {uid}) || rs.count() != 1)
        return row;
    for (int column = 0; column < rs.fieldCount(); ++column)
        row.insert(rs.fieldName(column), rs.value(rs.fieldName(column)));
    row.insert(QStringLiteral("Body"), plainBody(m_folder->database(), rs.integer(QStringLiteral("ID"))));
    return row;
}

int TestICalendar::rowCount()
{
    return m_folder->database().queryValue(QStringLiteral("Select count(*) from TWork")).toInt();
}

void TestICalendar::exportThenImportIsTheIdentity_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QVariantList>("row"); // Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, LastUpTime, UseTimeHint, TimeHint, RRule, body

    const QVariant none;
    const QString noTime = QStringLiteral("1899-12-30 00:00:00");
    QTest::newRow("dates, reminder, weekly rule, in Shanghai")
        << QByteArray("Asia/Shanghai")
        << QVariantList{"拜访华信, 带上合同; 报价", "客户拜访", 2, 1, "2026-12-01 00:00:00", "2026-12-03 00:00:00",
                        "2026-11-30 10:15:42", 1, "2026-12-02 08:30:00",
                        "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR;UNTIL=20270630T000000",
                        "第一行，逗号, 分号; 反斜杠 \\ 结束\n第二行\n\n空行之后"};
    QTest::newRow("times of day, lunar rule, type with comma and semicolon")
        << QByteArray("Asia/Shanghai")
        << QVariantList{"妈妈生日", "生日, 节日; 纪念", 3, 0, "2026-09-25 09:00:00", "2026-09-25 18:30:00",
                        "2026-01-05 23:59:59", 1, "2026-09-24 20:00:00",
                        "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=8;BYMONTHDAY=15;SKIP=BACKWARD", "买蛋糕"};
    QTest::newRow("nothing but a subject, abandoned")
        << QByteArray("Asia/Shanghai")
        << QVariantList{"写信", "办公事务", 4, 0, none, none, "2026-02-28 12:00:00", 0, noTime, "", ""};
    QTest::newRow("start only, across the change to summer time in New York")
        << QByteArray("America/New_York")
        << QVariantList{"月度总结", "办公事务", 1, 0, "2027-03-14 02:30:00", none, "2027-03-14 01:59:00", 1,
                        "2027-11-07 01:30:00", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", "x"};
    QTest::newRow("a machine on UTC")
        << QByteArray("UTC")
        << QVariantList{"冲业绩", "办公事务", 1, 1, "2026-12-31 23:00:00", "2027-01-01 01:00:00",
                        "2026-12-31 23:59:59", 1, "2026-12-31 22:45:00", "FREQ=DAILY;COUNT=10", "年终"};
}

void TestICalendar::exportThenImportIsTheIdentity()
{
    QFETCH(QByteArray, zone);
    QFETCH(QVariantList, row);
    const QTimeZone timeZone(zone);
    QVERIFY(timeZone.isValid());
    Database &dm = m_folder->database();
    const QStringList columns{"Title", "WorkType", "FinStu", "ZY", "TimeStart", "TimeEnd", "LastUpTime",
                              "UseTimeHint", "TimeHint", "RRule"};
    QVariantList values = row.mid(0, columns.size());
    values.append(QStringLiteral("b3c1e7a0-0000-4000-8000-00000000abcd"));
    QVERIFY(dm.execute(QStringLiteral("Insert into TWork (Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, LastUpTime, "
                                      "UseTimeHint, TimeHint, RRule, UID, HasHinted) values (?,?,?,?,?,?,?,?,?,?,?,1)"),
                       values));
    const qint64 id = dm.queryValue(QStringLiteral("Select ID from TWork")).toLongLong();
    QTextDocument body;
    body.setPlainText(row.last().toString());
    QCOMPARE(workbody::save(dm, id, body), workbody::SaveResult::Saved);

    const QString path = m_folder->filePath(QStringLiteral("out.ics"));
    QCOMPARE(workcalendar::exportToFile(dm, {id}, path, timeZone), std::optional<int>(1));
    QVERIFY(dm.execute(QStringLiteral("Delete from TWork")));
    QVERIFY(workcalendar::importFromFile(dm, path, timeZone));
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("导入完成：新增1个事务，更新0个，跳过0个。"));

    const QVariantMap imported = rowOf(values.last().toString());
    QVERIFY(!imported.isEmpty());
    for (int i = 0; i < columns.size(); ++i) {
        const QVariant expected = row.at(i);
        QVariant actual = imported.value(columns.at(i));
        if (expected.isNull())
            QVERIFY2(actual.isNull(), qPrintable(columns.at(i)));
        else
            QCOMPARE(actual.toString(), expected.toString());
    }
    QCOMPARE(imported.value("Body").toString(), row.last().toString());
    QCOMPARE(imported.value("HasHinted").toInt(), 0); // a reminder brought in is a reminder to show
}

void TestICalendar::exportWritesTheZoneAndAnAbsoluteAlarm()
{
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral(
        "Insert into TWork (Title, WorkType, FinStu, ZY, TimeStart, LastUpTime, UseTimeHint, TimeHint, UID) values "
        "('开会', '办公事务', 1, 0, '2026-12-01 09:00:00', '2026-11-30 10:00:00', 1, '2026-12-01 08:30:00', 'u-1')")));
    const QString path = m_folder->filePath(QStringLiteral("out.ics"));
    QVERIFY(workcalendar::exportToFile(dm, {dm.queryValue("Select ID from TWork").toLongLong()}, path, m_shanghai));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("BEGIN:VTIMEZONE\r\nTZID:Asia/Shanghai\r\n"));
    QVERIFY(text.contains("DTSTART;TZID=Asia/Shanghai:20261201T090000\r\n"));
    QVERIFY(text.contains("TRIGGER;VALUE=DATE-TIME:20261201T003000Z\r\n"));
    QVERIFY(text.contains("LAST-MODIFIED:20261130T020000Z\r\n"));
    QVERIFY(text.contains("STATUS:NEEDS-ACTION\r\n"));
    QVERIFY(text.contains("CATEGORIES:办公事务\r\n"));
}

void TestICalendar::exportToAFolderThatIsNotThereSaysSo()
{
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral("Insert into TWork (Title, WorkType, FinStu, ZY, UID) values ('开会', '办公事务', 1, 0, 'u-1')")));
    const QString path = m_folder->filePath(QStringLiteral("no such folder/out.ics"));
    QCOMPARE(workcalendar::exportToFile(dm, {dm.queryValue("Select ID from TWork").toLongLong()}, path, m_shanghai),
             std::nullopt);
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("写入日历文件发生错误！\n%1").arg(path));
}

void TestICalendar::filesOfOtherPrograms_data()
{
    QTest::addColumn<QByteArray>("component");
    // Title, TimeStart, TimeEnd, TimeHint ("" none), FinStu, ZY, WorkType, body, RRule
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("all-day event") << QByteArray(
        "BEGIN:VEVENT\nUID:19970901T130000Z-123403@example.com\nDTSTAMP:19970901T130000Z\n"
        "DTSTART;VALUE=DATE:19971102\nDTEND;VALUE=DATE:19971103\nSUMMARY:Our Blissful Anniversary\n"
        "TRANSP:TRANSPARENT\nCLASS:CONFIDENTIAL\nCATEGORIES:ANNIVERSARY,PERSONAL,SPECIAL OCCASION\n"
        "RRULE:FREQ=YEARLY\nEND:VEVENT\n")
        << QStringList{"Our Blissful Anniversary", "1997-11-02 00:00:00", "1997-11-02 00:00:00", "", "1", "0",
                       "办公事务", "", "FREQ=YEARLY"};
    QTest::newRow("floating times stay as they are") << QByteArray(
        "BEGIN:VTODO\nUID:floating@example.com\nDTSTAMP:19980130T134500Z\nDTSTART:19980118T230000\n"
        "DUE:19980415T000000\nSUMMARY:Submit Income Taxes\nSTATUS:NEEDS-ACTION\nEND:VTODO\n")
        << QStringList{"Submit Income Taxes", "1998-01-18 23:00:00", "1998-04-15 00:00:00", "", "1", "0", "办公事务",
                       "", ""};
    QTest::newRow("UTC times in Shanghai time") << QByteArray(
        "BEGIN:VEVENT\nUID:utc@example.com\nDTSTAMP:19970610T172345Z\nDTSTART:19970714T170000Z\n"
        "DTEND:19970715T040000Z\nSUMMARY:Bastille Day Party\nEND:VEVENT\n")
        << QStringList{"Bastille Day Party", "1997-07-15 01:00:00", "1997-07-15 12:00:00", "", "1", "0", "办公事务",
                       "", ""};
    QTest::newRow("folded lines, escaped commas and semicolons") << QByteArray(
        "BEGIN:VTODO\nUID:folded@example.com\nDTSTAMP:20070313T123432Z\nSUMMARY:Networld+Interop Conferenc\n"
        " e\\, Lunch\\; 午\n 饭\nDESCRIPTION:Networld+Interop Conference\n   and Exhibit\\nAtlanta World Congress Center\\n\n"
        " Atlanta\\, Georgia\nPRIORITY:1\nSTATUS:COMPLETED\nCATEGORIES:客户拜访\nEND:VTODO\n")
        << QStringList{"Networld+Interop Conference, Lunch; 午饭", "", "", "", "3", "1", "客户拜访",
                       "Networld+Interop Conference  and Exhibit\nAtlanta World Congress Center\nAtlanta, Georgia", ""};
    QTest::newRow("alarm relative to the start, zone named in the file") << QByteArray(
        "BEGIN:VEVENT\nUID:start-alarm@example.com\nDTSTAMP:19980309T231000Z\n"
        "DTSTART;TZID=America/New_York:19980312T083000\nDTEND;TZID=America/New_York:19980312T093000\n"
        "SUMMARY:XYZ Project Review\nBEGIN:VALARM\nACTION:EMAIL\nTRIGGER:-PT1H\nSUMMARY:mail\n"
        "DESCRIPTION:mail\nATTENDEE:mailto:john_doe@example.com\nEND:VALARM\n"
        "BEGIN:VALARM\nTRIGGER:-PT15M\nACTION:DISPLAY\nDESCRIPTION:Reminder\nEND:VALARM\nEND:VEVENT\n")
        << QStringList{"XYZ Project Review", "1998-03-12 21:30:00", "1998-03-12 22:30:00", "1998-03-12 21:15:00",
                       "1", "0", "办公事务", "", ""};
    QTest::newRow("alarm relative to the due time, a rule the editor cannot show") << QByteArray(
        "BEGIN:VTODO\nUID:end-alarm@example.com\nDTSTAMP:19980130T134500Z\nDTSTART;VALUE=DATE:19980401\n"
        "DUE;VALUE=DATE:19980415\nSUMMARY:报税\nSTATUS:IN-PROCESS\n"
        "RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1\n"
        "BEGIN:VALARM\nACTION:AUDIO\nTRIGGER;RELATED=END:-P1DT2H\nATTACH;FMTTYPE=audio/basic:ftp://example.com/a.aud\n"
        "END:VALARM\nEND:VTODO\n")
        << QStringList{"报税", "1998-04-01 00:00:00", "1998-04-15 00:00:00", "1998-04-13 22:00:00", "2", "0",
                       "办公事务", "", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1"};
    const QString longTitle = QString(60, QChar(0x5B57)); // 60 × 字
    QTest::newRow("a subject longer than the list keeps") << ("BEGIN:VTODO\nUID:long@example.com\nSUMMARY:" + longTitle.toUtf8()
                                                          + "\nDESCRIPTION:正文\nEND:VTODO\n")
        << QStringList{longTitle.left(50), "", "", "", "1", "0", "办公事务", longTitle + "\n正文", ""};
    QTest::newRow("event with a duration, reminder before its end") << QByteArray(
        "BEGIN:VEVENT\nUID:duration@example.com\nDTSTAMP:19980130T134500Z\nDTSTART:20261201T010000Z\n"
        "DURATION:PT1H30M\nSUMMARY:电话会议\nSTATUS:CANCELLED\n"
        "BEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:x\nTRIGGER;RELATED=END:-PT10M\nEND:VALARM\nEND:VEVENT\n")
        << QStringList{"电话会议", "2026-12-01 09:00:00", "2026-12-01 10:30:00", "2026-12-01 10:20:00", "4", "0",
                       "办公事务", "", ""};
}

void TestICalendar::filesOfOtherPrograms()
{
    QFETCH(QByteArray, component);
    QFETCH(QStringList, expected);
    QCOMPARE(importText(component), QStringLiteral("导入完成：新增1个事务，更新0个，跳过0个。"));
    Recordset rs(m_folder->database());
    QVERIFY(rs.open(QStringLiteral("Select * from TWork")));
    QCOMPARE(rs.count(), 1);
    QCOMPARE(rs.text("Title"), expected.at(0));
    QCOMPARE(rs.text("TimeStart"), expected.at(1));
    QCOMPARE(rs.text("TimeEnd"), expected.at(2));
    QCOMPARE(rs.integer("UseTimeHint"), expected.at(3).isEmpty() ? 0 : 1);
    QCOMPARE(rs.text("TimeHint"), expected.at(3).isEmpty() ? QStringLiteral("1899-12-30 00:00:00") : expected.at(3));
    QCOMPARE(rs.text("FinStu"), expected.at(4));
    QCOMPARE(rs.text("ZY"), expected.at(5));
    QCOMPARE(rs.text("WorkType"), expected.at(6));
    QCOMPARE(plainBody(m_folder->database(), rs.integer("ID")), expected.at(7));
    QCOMPARE(rs.text("RRule"), expected.at(8));
    QCOMPARE(rs.integer("HasHinted"), 0);
}

void TestICalendar::unknownZoneUsesTheFileOffset()
{
    // Summer time by the zone's own rules: the RRULEs of a VTIMEZONE are libical's to read.
    const QByteArray component =
        "BEGIN:VTIMEZONE\nTZID:Fictitious Standard Time\n"
        "BEGIN:STANDARD\nDTSTART:19701025T030000\nTZOFFSETFROM:+0300\nTZOFFSETTO:+0200\n"
        "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\nEND:STANDARD\n"
        "BEGIN:DAYLIGHT\nDTSTART:19700329T020000\nTZOFFSETFROM:+0200\nTZOFFSETTO:+0300\n"
        "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\nEND:DAYLIGHT\nEND:VTIMEZONE\n"
        "BEGIN:VTODO\nUID:winter@example.com\nDTSTART;TZID=Fictitious Standard Time:20261201T080000\n"
        "SUMMARY:冬天的会\nEND:VTODO\n"
        "BEGIN:VTODO\nUID:summer@example.com\nDTSTART;TZID=Fictitious Standard Time:20260701T080000\n"
        "SUMMARY:夏天的会\nEND:VTODO\n";
    importText(component);
    QCOMPARE(rowOf("winter@example.com").value("TimeStart").toString(), QStringLiteral("2026-12-01 14:00:00"));
    QCOMPARE(rowOf("summer@example.com").value("TimeStart").toString(), QStringLiteral("2026-07-01 13:00:00"));
}

void TestICalendar::encodingsAreRecognised_data()
{
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<QByteArray>("byteOrderMark");
    QTest::newRow("GB18030, as older Chinese programs write") << QByteArray("GB18030") << QByteArray();
    QTest::newRow("UTF-8 with a byte order mark") << QByteArray("UTF-8") << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("UTF-16 with a byte order mark") << QByteArray("UTF-16LE") << QByteArray("\xFF\xFE");
}

void TestICalendar::encodingsAreRecognised()
{
    QFETCH(QByteArray, encoding);
    QFETCH(QByteArray, byteOrderMark);
    const QString text = QString::fromUtf8(calendar(
        "BEGIN:VTODO\nUID:gb@example.com\nSUMMARY:拜访客户𠀀\nDESCRIPTION:带上报价单\nEND:VTODO\n"));
    QStringEncoder encoder(encoding.constData());
    const QByteArray bytes = byteOrderMark + QByteArray(encoder(text));
    QVERIFY(!encoder.hasError());
    workcalendar::importFromFile(m_folder->database(), writeFile("encoded.ics", bytes), m_shanghai);
    const QVariantMap row = rowOf("gb@example.com");
    QCOMPARE(row.value("Title").toString(), QStringLiteral("拜访客户𠀀"));
    QCOMPARE(row.value("Body").toString(), QStringLiteral("带上报价单"));
}

void TestICalendar::importingTwiceNeverDuplicates()
{
    // The second component has no UID: it is known by its content instead.
    const QByteArray components = "BEGIN:VTODO\nUID:twice@example.com\nSUMMARY:一\nEND:VTODO\n"
                                  "BEGIN:VEVENT\nDTSTART:20261201T010000Z\nSUMMARY:二\nEND:VEVENT\n";
    importText(components);
    QCOMPARE(rowCount(), 2);
    m_prompter->answerYes();
    QCOMPARE(importText(components), QStringLiteral("导入完成：新增0个事务，更新2个，跳过0个。"));
    QCOMPARE(rowCount(), 2);
}

void TestICalendar::storedItemsAreUpdatedOnlyWhenAgreed()
{
    importText("BEGIN:VTODO\nUID:agree@example.com\nSUMMARY:旧的主题\nDESCRIPTION:正文\nEND:VTODO\n");
    const QByteArray changed = "BEGIN:VTODO\nUID:agree@example.com\nSUMMARY:新的主题\nDESCRIPTION:正文\nEND:VTODO\n"
                               "BEGIN:VTODO\nUID:new@example.com\nSUMMARY:另一个\nEND:VTODO\n";
    m_prompter->answerNo();
    QCOMPARE(importText(changed),
             QStringLiteral("导入完成：新增1个事务，更新0个，跳过1个。\n跳过的原因：\n在本机已经存在，按您的选择没有更新：1个"));
    QVERIFY(m_prompter->shown().contains(QStringLiteral("日历文件中有1个事务在本机已经存在，要用文件中的内容更新它们吗？")));
    QCOMPARE(rowOf("agree@example.com").value("Title").toString(), QStringLiteral("旧的主题"));

    m_prompter->answerYes();
    importText(changed);
    QCOMPARE(rowOf("agree@example.com").value("Title").toString(), QStringLiteral("新的主题"));
    QCOMPARE(rowCount(), 2);
}

void TestICalendar::skippedItemsAreCountedWithTheirReasons()
{
    const QString message = importText(
        "BEGIN:VTODO\nUID:ok@example.com\nSUMMARY:留下\nEND:VTODO\n"
        "BEGIN:VTODO\nUID:notitle@example.com\nDESCRIPTION:只有正文\nEND:VTODO\n"
        "BEGIN:VEVENT\nUID:series@example.com\nRECURRENCE-ID:20261208T010000Z\nDTSTART:20261208T020000Z\n"
        "SUMMARY:改过的一次\nEND:VEVENT\n"
        "BEGIN:VTODO\nUID:ok@example.com\nSUMMARY:同一个UID\nEND:VTODO\n"
        "BEGIN:VTODO\nUID:rule@example.com\nSUMMARY:读不懂的规则\nRRULE:FREQ=SOMETIMES\nEND:VTODO\n"
        "BEGIN:VTODO\nUID:date@example.com\nSUMMARY:读不懂的日期\nDUE:20261341T250000\nEND:VTODO\n"
        "BEGIN:VJOURNAL\nUID:journal@example.com\nSUMMARY:日记不是事务\nEND:VJOURNAL\n");
    QCOMPARE(message, QStringLiteral("导入完成：新增1个事务，更新0个，跳过5个。\n跳过的原因："
                                     "\n与文件中前面的条目相同：1个\n内容有错误，无法识别：2个\n没有主题：1个"
                                     "\n重复日程中单独改动的某一次（只导入整个系列）：1个"));
    QCOMPARE(rowCount(), 1);
}

void TestICalendar::calendarWithoutItemsSaysSo()
{
    QCOMPARE(importText("BEGIN:VJOURNAL\nUID:journal@example.com\nSUMMARY:日记\nEND:VJOURNAL\n"),
             QStringLiteral("日历文件中没有可导入的事务或日程。"));
    QCOMPARE(rowCount(), 0);
}

void TestICalendar::damagedFileLeavesTheDatabaseUnchanged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    const QString damaged = QStringLiteral("日历文件已损坏或不完整，没有导入任何事务。");
    const QString notCalendar = QStringLiteral("这个文件不是日历文件（.ics），没有导入任何事务。");
    const QByteArray good = calendar("BEGIN:VTODO\nUID:a@example.com\nSUMMARY:一\nEND:VTODO\n"
                                     "BEGIN:VTODO\nUID:b@example.com\nSUMMARY:二\nEND:VTODO\n");
    QTest::newRow("truncated") << good.left(good.indexOf("BEGIN:VTODO\r\nUID:b")) << damaged;
    QTest::newRow("cut inside a line") << good.left(good.indexOf("SUMMARY:二") + 9) << damaged;
    QTest::newRow("END of another component") << QByteArray(good).replace("END:VTODO\r\nBEGIN:VTODO\r\nUID:b",
                                                                           "END:VEVENT\r\nBEGIN:VTODO\r\nUID:b")
                                              << damaged;
    QTest::newRow("garbage after the calendar") << good + "垃圾\r\n" << damaged;
    QTest::newRow("a line that is no property") << QByteArray(good).replace("SUMMARY:二", "SUMMARY二") << damaged;
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << notCalendar;
    QTest::newRow("text of another kind") << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:张三\r\nEND:VCARD\r\n")
                                          << notCalendar;
    QTest::newRow("empty") << QByteArray() << notCalendar;
}

void TestICalendar::damagedFileLeavesTheDatabaseUnchanged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    importText("BEGIN:VTODO\nUID:before@example.com\nSUMMARY:原有的\nEND:VTODO\n");
    const QString before = m_folder->database().queryValue(
        QStringLiteral("Select group_concat(ID || Title || UID || LastUpTime) from TWork"));

    QVERIFY(!workcalendar::importFromFile(m_folder->database(), writeFile("bad.ics", bytes), m_shanghai));
    QCOMPARE(m_prompter->lastShown(), message);
    QCOMPARE(m_folder->database().queryValue(
                 QStringLiteral("Select group_concat(ID || Title || UID || LastUpTime) from TWork")),
             before);
}

void TestICalendar::hugeFileIsRefusedUnread()
{
    // A sparse file: large on disk, written in no time.
    const QString path = writeFile("huge.ics", calendar("BEGIN:VTODO\nSUMMARY:x\nEND:VTODO\n"));
    QFile file(path);
    QVERIFY(file.resize(icalendarfile::kMaxBytes + 1));
    QVERIFY(!workcalendar::importFromFile(m_folder->database(), path, m_shanghai));
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("日历文件太大（超过64MB），没有导入任何事务。"));
    QCOMPARE(rowCount(), 0);
}

void TestICalendar::menuExportsTheListAndImportsBack()
{
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral(
        "Insert into TWork (Title, WorkType, FinStu, ZY, LastUpTime, UseTimeHint, TimeHint, UID) values "
        "('甲', '办公事务', 1, 0, '2026-11-30 10:00:00', 0, NULL, 'u-a'), "
        "('乙', '客户拜访', 2, 1, '2026-11-30 11:00:00', 0, NULL, NULL), "
        "('丙', '办公事务', 3, 0, '2026-11-30 12:00:00', 0, NULL, 'u-c')")));
    WorkListPage page;
    page.fillWorkTypes();
    QVERIFY(page.loadList()); // states 1 and 2 are listed, not the finished one
    auto action = [&page](const QString &text) {
        for (QAction *candidate : page.m_listMenu->actions()) {
            if (candidate->text() == text)
                return candidate;
        }
        return static_cast<QAction *>(nullptr);
    };
    QAction *exportAction = action(QStringLiteral("导出到日历文件…"));
    QAction *importAction = action(QStringLiteral("从日历文件导入…"));
    QVERIFY(exportAction && importAction);

    const QString path = m_folder->filePath(QStringLiteral("listed.ics"));
    m_prompter->answerText(path);
    exportAction->trigger();
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("已将2个事务导出到日历文件：\n%1").arg(path));

    // The item stored without a UID was given one as it went out, and comes back with it.
    const QString given = dm.queryValue(QStringLiteral("Select UID from TWork where Title='乙'"));
    QVERIFY(!given.isEmpty());
    QVERIFY(dm.execute(QStringLiteral("Delete from TWork where UID<>'u-c'")));
    QVERIFY(page.loadList());
    QCOMPARE(page.workItems().count(), 0);
    m_prompter->answerText(path);
    importAction->trigger();
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("导入完成：新增2个事务，更新0个，跳过0个。"));
    QCOMPARE(page.workItems().count(), 2); // the list shows them at once
    QCOMPARE(rowCount(), 3);
    QCOMPARE(dm.queryValue(QStringLiteral("Select UID from TWork where Title='乙'")), given);
}

PANDREL_TEST_MAIN(TestICalendar)
#include "tst_icalendar.moc"
