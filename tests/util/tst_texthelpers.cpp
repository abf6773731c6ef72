#include "TestMain.h"

#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "util/ShellLaunch.h"
#include "util/TextHelpers.h"
#include "util/WebChat.h"
#include "util/Weekday.h"

#include <QTemporaryDir>

class TestTextHelpers : public QObject
{
    Q_OBJECT

private slots:
    void findsEntryByTextOrPrefix_data();
    void findsEntryByTextOrPrefix();
    void numbersWeekdaysFromMonday_data();
    void numbersWeekdaysFromMonday();
    void countsNonOverlappingOccurrences_data();
    void countsNonOverlappingOccurrences();
    void padsWithLeadingZeros_data();
    void padsWithLeadingZeros();
    void opensAddressInBrowser_data();
    void opensAddressInBrowser();
    void opensPathWithDesktop();
    void failedOpenIsSaid_data();
    void failedOpenIsSaid();
    void webChatAddress_data();
    void webChatAddress();
};

void TestTextHelpers::findsEntryByTextOrPrefix_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("prefix");
    QTest::addColumn<int>("index");

    const QStringList kinds{QStringLiteral("私人事务"), QStringLiteral("办公事务")};
    QTest::newRow("prefix found") << kinds << "办公" << true << 1;
    QTest::newRow("prefix is no exact match") << kinds << "办公" << false << -1;
    QTest::newRow("exact match") << kinds << "办公事务" << false << 1;
    QTest::newRow("whole entry is its own prefix") << kinds << "私人事务" << true << 0;
    QTest::newRow("prefix only at the start") << kinds << "事务" << true << -1;
    QTest::newRow("first of several") << QStringList{"ab", "abc", "ab"} << "ab" << true << 0;
    QTest::newRow("exact is case-sensitive") << QStringList{"Fax", "fax"} << "fax" << false << 1;
    QTest::newRow("prefix is case-sensitive") << QStringList{"Fax"} << "fa" << true << -1;
    QTest::newRow("empty text never a prefix") << kinds << "" << true << -1;
    QTest::newRow("empty text equals empty entry") << QStringList{"a", ""} << "" << false << 1;
    QTest::newRow("empty list") << QStringList() << "a" << false << -1;
}

void TestTextHelpers::findsEntryByTextOrPrefix()
{
    QFETCH(QStringList, list);
    QFETCH(QString, text);
    QFETCH(bool, prefix);
    QFETCH(int, index);
    QCOMPARE(indexOfEntry(list, text, prefix), index);
}

void TestTextHelpers::numbersWeekdaysFromMonday_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<int>("weekday");

    QTest::newRow("Sunday 1980-01-13") << QDateTime(QDate(1980, 1, 13), QTime(0, 0)) << 6;
    QTest::newRow("Monday 1980-01-14") << QDateTime(QDate(1980, 1, 14), QTime(0, 0)) << 0;
    QTest::newRow("Monday 1980-01-14 at 23:59") << QDateTime(QDate(1980, 1, 14), QTime(23, 59, 59)) << 0;
    QTest::newRow("Thursday 2024-02-29") << QDateTime(QDate(2024, 2, 29), QTime(12, 0)) << 3;
    QTest::newRow("Saturday 2024-12-28 at 23:59") << QDateTime(QDate(2024, 12, 28), QTime(23, 59)) << 5;
    QTest::newRow("UTC date, not the local one") << QDateTime(QDate(2024, 12, 29), QTime(23, 30), Qt::UTC) << 6;
}

void TestTextHelpers::numbersWeekdaysFromMonday()
{
    QFETCH(QDateTime, moment);
    QFETCH(int, weekday);
    QCOMPARE(weekdayIndex(moment), weekday);
    QCOMPARE(weekdayIndex(moment.date()), weekday);
}

void TestTextHelpers::countsNonOverlappingOccurrences_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");

    QTest::newRow("separators") << "|" << "a|b|c" << 2;
    QTest::newRow("none") << "|" << "abc" << 0;
    QTest::newRow("non-overlapping from the left") << "aa" << "aaaaa" << 2;
    QTest::newRow("Chinese part") << "客户" << "客户甲客户乙" << 2;
    QTest::newRow("empty part") << "" << "abc" << 0;
    QTest::newRow("empty text") << "|" << "" << 0;
}

void TestTextHelpers::countsNonOverlappingOccurrences()
{
    QFETCH(QString, part);
    QFETCH(QString, text);
    QFETCH(int, count);
    QCOMPARE(occurrenceCount(part, text), count);
}

void TestTextHelpers::padsWithLeadingZeros_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("padded");

    QTest::newRow("next category segment") << "6" << 4 << "0006";
    QTest::newRow("already the width") << "1234" << 4 << "1234";
    QTest::newRow("longer is never cut") << "12345" << 4 << "12345";
    QTest::newRow("empty") << "" << 4 << "0000";
}

void TestTextHelpers::padsWithLeadingZeros()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, padded);
    QCOMPARE(padWithZeros(text, width), padded);
}

void TestTextHelpers::opensAddressInBrowser_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("recorded");

    QTest::newRow("Chinese keywords percent-encoded")
        << "https://www.baidu.com/s?wd=北京 天气"
        << "url https://www.baidu.com/s?wd=%E5%8C%97%E4%BA%AC%20%E5%A4%A9%E6%B0%94";
    QTest::newRow("encoded separators stay values")
        << "http://example.com/msgrd?V=1&Uin=10001&Site=A%26B%23C"
        << "url http://example.com/msgrd?V=1&Uin=10001&Site=A%26B%23C";
    QTest::newRow("scheme supplied") << "www.example.com" << "url http://www.example.com";
    QTest::newRow("empty address opens nothing") << "" << "";
}

void TestTextHelpers::opensAddressInBrowser()
{
    QFETCH(QString, address);
    QFETCH(QString, recorded);
    RecordingShell shell;

    openInBrowser(address);
    QCOMPARE(shell.lastCall(), recorded);
}

void TestTextHelpers::opensPathWithDesktop()
{
    RecordingShell shell;
    openWithDesktop(QStringLiteral("/home/张三/文档/报价单.xlsx"));
    QCOMPARE(shell.calls(), QStringList{QStringLiteral("open /home/张三/文档/报价单.xlsx")});
}

// The desktop had nothing that opened it: the user is told what did not open.
void TestTextHelpers::failedOpenIsSaid_data()
{
    QTest::addColumn<QString>("target"); // "folder" is a folder that exists
    QTest::addColumn<bool>("address");
    QTest::addColumn<QString>("message"); // %1: the folder

    QTest::newRow("web address") << "https://www.baidu.com/s?wd=天气" << true
                                 << "无法打开网址：https://www.baidu.com/s?wd=天气\n系统中没有找到浏览器程序，请先安装一个浏览器！";
    QTest::newRow("document") << "/home/张三/文档/报价单.xlsx" << false
                              << "系统中没有找到可以打开该文件的程序，无法打开：\n/home/张三/文档/报价单.xlsx";
    QTest::newRow("folder") << "folder" << false << "系统中没有找到可以打开文件夹的程序，无法打开：\n%1";
}

void TestTextHelpers::failedOpenIsSaid()
{
    QFETCH(QString, target);
    QFETCH(bool, address);
    QFETCH(QString, message);
    QTemporaryDir folder;
    if (target == QLatin1String("folder"))
        target = folder.path();
    RecordingShell shell;
    shell.failLaunches();
    ScriptedPrompter prompter;

    QVERIFY(!(address ? openInBrowser(target) : openWithDesktop(target)));
    QCOMPARE(prompter.shown(), QStringList{message.arg(folder.path())});
    QCOMPARE(shell.calls().size(), 1);
}

void TestTextHelpers::webChatAddress_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");

    QTest::newRow("plain") << "12345" << "Zhang" << "http://wpa.qq.com/msgrd?V=1&Uin=12345&Site=Zhang&Menu=yes";
    QTest::newRow("separators in the name stay the name")
        << "10001" << "A&B #1+" << "http://wpa.qq.com/msgrd?V=1&Uin=10001&Site=A%26B%20%231%2B&Menu=yes";
    QTest::newRow("Chinese name encoded") << "10001" << "张三" << "http://wpa.qq.com/msgrd?V=1&Uin=10001&Site=%E5%BC%A0%E4%B8%89&Menu=yes";
    QTest::newRow("no number, no address") << " " << "Zhang" << "";
}

void TestTextHelpers::webChatAddress()
{
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(QString, address);

    QCOMPARE(::webChatAddress(number, name).toString(QUrl::FullyEncoded), address);
}

PANDREL_TEST_MAIN(TestTextHelpers)
#include "tst_texthelpers.moc"
