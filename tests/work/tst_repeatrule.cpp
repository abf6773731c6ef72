#include "TestMain.h"

#include "util/LunarCalendar.h"
#include "work/RepeatRule.h"

using repeat::EditorRule;
using repeat::Ending;
using repeat::Kind;
using repeat::MonthlyBy;

Q_DECLARE_METATYPE(repeat::EditorRule)

// Repeat rules as text: reading, writing and describing them, and the days they fall on.
class TestRepeatRule : public QObject
{
    Q_OBJECT

private slots:
    void occurrenceLists_data();
    void occurrenceLists();
    void lunarMonthsMatchTheAlmanac_data();
    void lunarMonthsMatchTheAlmanac();
    void leapMonthItemRepeatsInTheOrdinaryMonth();
    void nextOccurrence_data();
    void nextOccurrence();
    void editorRulesRoundTrip_data();
    void editorRulesRoundTrip();
    void rulesTheEditorCannotShow_data();
    void rulesTheEditorCannotShow();
    void badRulesAreNamed_data();
    void badRulesAreNamed();
};

namespace {

QList<QDate> days(const QString &list)
{
    QList<QDate> parsed;
    for (const QString &day : list.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        parsed << QDate::fromString(day, Qt::ISODate);
    return parsed;
}

} // namespace

void TestRepeatRule::occurrenceLists_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("expected");

    QTest::newRow("every second week, until a day") << "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR;UNTIL=20270630T000000"
                                                     << QDate(2027, 6, 2) << 10 << "2027-06-04 2027-06-14 2027-06-18 2027-06-28";
    QTest::newRow("until written as a date") << "FREQ=DAILY;UNTIL=20270103" << QDate(2027, 1, 1) << 10
                                             << "2027-01-01 2027-01-02 2027-01-03";
    QTest::newRow("31st skips short months") << "FREQ=MONTHLY;BYMONTHDAY=31;COUNT=5" << QDate(2027, 1, 31) << 10
                                             << "2027-01-31 2027-03-31 2027-05-31 2027-07-31 2027-08-31";
    QTest::newRow("last Friday of the month") << "FREQ=MONTHLY;BYDAY=-1FR" << QDate(2027, 1, 31) << 3
                                              << "2027-02-26 2027-03-26 2027-04-30";
    QTest::newRow("29 February in leap years") << "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29;COUNT=3" << QDate(2024, 2, 29) << 10
                                               << "2024-02-29 2028-02-29 2032-02-29";
    QTest::newRow("every third day across the year") << "FREQ=DAILY;INTERVAL=3;COUNT=4" << QDate(2026, 12, 30) << 10
                                                     << "2026-12-30 2027-01-02 2027-01-05 2027-01-08";
    QTest::newRow("working days from a Friday") << "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR" << QDate(2027, 1, 1) << 4
                                                << "2027-01-01 2027-01-04 2027-01-05 2027-01-06";
    QTest::newRow("every second month") << "FREQ=MONTHLY;INTERVAL=2;BYMONTHDAY=15" << QDate(2027, 1, 15) << 3
                                        << "2027-01-15 2027-03-15 2027-05-15";
    QTest::newRow("set positions") << "FREQ=MONTHLY;BYDAY=MO;BYSETPOS=2,-1" << QDate(2027, 1, 1) << 4
                                   << "2027-01-11 2027-01-25 2027-02-08 2027-02-22";
    QTest::newRow("two times a day count as one day") << "FREQ=DAILY;BYHOUR=9,17;COUNT=4" << QDate(2027, 1, 1) << 10
                                                      << "2027-01-01 2027-01-02";

    const QString midAutumn = QStringLiteral("RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=8;BYMONTHDAY=15;SKIP=BACKWARD");
    QTest::newRow("lunar: mid-autumn festivals") << midAutumn << QDate(2023, 1, 1) << 8
                                                 << "2023-09-29 2024-09-17 2025-10-06 2026-09-25 2027-09-15 2028-10-03 "
                                                    "2029-09-22 2030-09-12";
    QTest::newRow("lunar: spring festivals") << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=1;BYMONTHDAY=1;SKIP=BACKWARD"
                                             << QDate(2026, 3, 1) << 5
                                             << "2027-02-06 2028-01-26 2029-02-13 2030-02-03 2031-01-23";
    // 腊月 has 29 days in the lunar years from 2024 to 2028.
    QTest::newRow("lunar: 30th falls back to the 29th") << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=30;SKIP=BACKWARD"
                                                        << QDate(2024, 3, 1) << 6
                                                        << "2025-01-28 2026-02-16 2027-02-05 2028-01-25 2029-02-12 2030-02-02";
    QTest::newRow("lunar: 30th omitted") << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=30;SKIP=OMIT"
                                         << QDate(2024, 3, 1) << 1 << "2030-02-02";
    QTest::newRow("lunar: 30th moves forward") << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=30;SKIP=FORWARD"
                                               << QDate(2024, 3, 1) << 2 << "2025-01-29 2026-02-17";
    QTest::newRow("lunar: interval and count") << midAutumn + ";INTERVAL=2;COUNT=2" << QDate(2023, 9, 29) << 10
                                               << "2023-09-29 2025-10-06";
    QTest::newRow("lunar: until") << midAutumn + ";UNTIL=20251006" << QDate(2023, 9, 30) << 10 << "2024-09-17 2025-10-06";
    // The second month of 2023 comes twice; the ordinary one is meant unless the rule says 2L.
    QTest::newRow("lunar: across a leap month") << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=1;SKIP=BACKWARD"
                                                << QDate(2023, 1, 1) << 2 << "2023-02-20 2024-03-10";
    QTest::newRow("lunar: the leap month itself") << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=2L;BYMONTHDAY=1;SKIP=OMIT"
                                                  << QDate(2023, 1, 1) << 1 << "2023-03-22";
    QTest::newRow("lunar: beyond the calendar's range") << midAutumn << QDate(2101, 1, 1) << 5 << "";
}

void TestRepeatRule::occurrenceLists()
{
    QFETCH(QString, rule);
    QFETCH(QDate, start);
    QFETCH(int, limit);
    QFETCH(QString, expected);
    QCOMPARE(repeat::occurrences(rule, start, limit), days(expected));
}

void TestRepeatRule::lunarMonthsMatchTheAlmanac_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<bool>("leap");
    QTest::addColumn<int>("day");
    QTest::addColumn<QDate>("expected");

    QTest::newRow("2027 spring festival") << 2027 << 1 << false << 1 << QDate(2027, 2, 6);
    QTest::newRow("2030 spring festival") << 2030 << 1 << false << 1 << QDate(2030, 2, 3);
    QTest::newRow("2023 leap second month") << 2023 << 2 << true << 1 << QDate(2023, 3, 22);
    QTest::newRow("2023 ordinary second month, 30th") << 2023 << 2 << false << 30 << QDate(2023, 3, 21);
    QTest::newRow("2025 leap sixth month") << 2025 << 6 << true << 1 << QDate(2025, 7, 25);
    QTest::newRow("2024 last month's 29th is new year's eve") << 2024 << 12 << false << 29 << QDate(2025, 1, 28);
    QTest::newRow("2024 last month has no 30th") << 2024 << 12 << false << 30 << QDate();
    QTest::newRow("2033 leap eleventh month") << 2033 << 11 << true << 1 << QDate(2033, 12, 22);
    QTest::newRow("no leap month in 2027") << 2027 << 6 << true << 1 << QDate();
    QTest::newRow("2026 mid-autumn") << 2026 << 8 << false << 15 << QDate(2026, 9, 25);
}

void TestRepeatRule::lunarMonthsMatchTheAlmanac()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(bool, leap);
    QFETCH(int, day);
    QFETCH(QDate, expected);
    QCOMPARE(repeat::lunarToGregorian(year, month, leap, day), expected);
}

void TestRepeatRule::leapMonthItemRepeatsInTheOrdinaryMonth()
{
    // 2025-08-08 is 闰六月十五: the yearly lunar repeat falls on 六月十五 of the next years.
    const QDate leapDay(2025, 8, 8);
    QVERIFY(lunarDate(leapDay).leapMonth);
    EditorRule lunar;
    lunar.kind = Kind::LunarYearly;
    const QString rule = repeat::ruleText(lunar, leapDay);
    QCOMPARE(rule, QStringLiteral("RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=6;BYMONTHDAY=15;SKIP=BACKWARD"));
    const QList<QDate> next = repeat::occurrences(rule, leapDay, 2);
    QCOMPARE(next.size(), 2);
    for (const QDate &day : next) {
        const LunarDate shown = lunarDate(day);
        QCOMPARE(shown.month, 6);
        QCOMPARE(shown.day, 15);
        QVERIFY(!shown.leapMonth);
    }
    QCOMPARE(next.first().year(), 2026);
}

void TestRepeatRule::nextOccurrence_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QDate>("finished");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("expected");
    QTest::addColumn<QString>("nextRule");

    const QString mondays = QStringLiteral("FREQ=WEEKLY;BYDAY=MO");
    QTest::newRow("on time") << mondays << QDate(2027, 1, 4) << QDate(2027, 1, 4) << QDate(2027, 1, 11) << mondays;
    QTest::newRow("early") << mondays << QDate(2027, 1, 4) << QDate(2026, 12, 20) << QDate(2027, 1, 11) << mondays;
    QTest::newRow("late skips past ones") << mondays << QDate(2027, 1, 4) << QDate(2027, 1, 20) << QDate(2027, 1, 25) << mondays;
    QTest::newRow("today is not past") << mondays << QDate(2027, 1, 4) << QDate(2027, 1, 18) << QDate(2027, 1, 18) << mondays;
    QTest::newRow("count keeps what is left") << "FREQ=WEEKLY;BYDAY=MO;COUNT=5" << QDate(2027, 1, 4) << QDate(2027, 1, 20)
                                              << QDate(2027, 1, 25) << "FREQ=WEEKLY;BYDAY=MO;COUNT=2";
    QTest::newRow("count used up") << "FREQ=DAILY;COUNT=1" << QDate(2027, 1, 4) << QDate(2027, 1, 4) << QDate() << QString();
    QTest::newRow("until passed") << "FREQ=DAILY;UNTIL=20270105" << QDate(2027, 1, 4) << QDate(2027, 1, 10) << QDate() << QString();
    QTest::newRow("month end") << "FREQ=MONTHLY;BYMONTHDAY=31" << QDate(2027, 1, 31) << QDate(2027, 1, 31) << QDate(2027, 3, 31)
                               << "FREQ=MONTHLY;BYMONTHDAY=31";
    const QString midAutumn = QStringLiteral("RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=8;BYMONTHDAY=15;SKIP=BACKWARD;COUNT=3");
    QTest::newRow("lunar") << midAutumn << QDate(2026, 9, 25) << QDate(2026, 9, 26) << QDate(2027, 9, 15)
                           << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=8;BYMONTHDAY=15;SKIP=BACKWARD;COUNT=2";
    QTest::newRow("bad rule") << "FREQ=SOMETIMES" << QDate(2027, 1, 4) << QDate(2027, 1, 4) << QDate() << QString();
}

void TestRepeatRule::nextOccurrence()
{
    QFETCH(QString, rule);
    QFETCH(QDate, finished);
    QFETCH(QDate, today);
    QFETCH(QDate, expected);
    QFETCH(QString, nextRule);
    const std::optional<repeat::NextOccurrence> next = repeat::nextOccurrence(rule, finished, today);
    QCOMPARE(next.has_value(), expected.isValid());
    if (next) {
        QCOMPARE(next->date, expected);
        QCOMPARE(next->rule, nextRule);
    }
}

void TestRepeatRule::editorRulesRoundTrip_data()
{
    QTest::addColumn<EditorRule>("shown");
    QTest::addColumn<QDate>("anchor");
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("sentence");

    auto make = [](Kind kind, int interval = 1) {
        EditorRule rule;
        rule.kind = kind;
        rule.interval = interval;
        return rule;
    };
    EditorRule weekly = make(Kind::Weekly, 2);
    weekly.weekdays = {1, 5};
    weekly.ending = Ending::Until;
    weekly.until = QDate(2027, 6, 30);
    QTest::newRow("weekly") << weekly << QDate(2027, 6, 4) << "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR;UNTIL=20270630T000000"
                            << "每2周的周一、周五，到2027年6月30日";
    EditorRule oneDay = make(Kind::Weekly);
    oneDay.weekdays = {3};
    QTest::newRow("weekly, one day") << oneDay << QDate(2027, 6, 2) << "FREQ=WEEKLY;BYDAY=WE" << "每周的周三";
    QTest::newRow("daily") << make(Kind::Daily) << QDate(2027, 1, 1) << "FREQ=DAILY" << "每天";
    EditorRule counted = make(Kind::Daily, 3);
    counted.ending = Ending::Count;
    counted.count = 10;
    QTest::newRow("every third day, ten times") << counted << QDate(2027, 1, 1) << "FREQ=DAILY;INTERVAL=3;COUNT=10"
                                                << "每3天，共10次";
    QTest::newRow("working days") << make(Kind::Workdays) << QDate(2027, 1, 1) << "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR" << "每个工作日";
    QTest::newRow("monthly by day") << make(Kind::Monthly) << QDate(2027, 1, 31) << "FREQ=MONTHLY;BYMONTHDAY=31" << "每月31日";
    EditorRule byWeekday = make(Kind::Monthly, 2);
    byWeekday.monthlyBy = MonthlyBy::WeekdayOfMonth;
    QTest::newRow("second Monday every two months") << byWeekday << QDate(2027, 1, 11) << "FREQ=MONTHLY;INTERVAL=2;BYDAY=2MO"
                                                    << "每2个月的第2个周一";
    EditorRule lastWeekday = make(Kind::Monthly);
    lastWeekday.monthlyBy = MonthlyBy::WeekdayOfMonth;
    QTest::newRow("fifth Friday is the last") << lastWeekday << QDate(2027, 1, 29) << "FREQ=MONTHLY;BYDAY=-1FR" << "每月最后一个周五";
    QTest::newRow("yearly") << make(Kind::Yearly) << QDate(2027, 6, 30) << "FREQ=YEARLY;BYMONTH=6;BYMONTHDAY=30" << "每年6月30日";
    QTest::newRow("lunar") << make(Kind::LunarYearly) << QDate(2027, 9, 15)
                           << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=8;BYMONTHDAY=15;SKIP=BACKWARD" << "每年农历八月十五";
    QTest::newRow("lunar, every other year") << make(Kind::LunarYearly, 2) << QDate(2027, 2, 5)
                                             << "RSCALE=CHINESE;FREQ=YEARLY;INTERVAL=2;BYMONTH=12;BYMONTHDAY=29;SKIP=BACKWARD"
                                             << "每2年的农历腊月廿九";
    QTest::newRow("none") << make(Kind::None) << QDate(2027, 1, 1) << QString() << QString();
}

void TestRepeatRule::editorRulesRoundTrip()
{
    QFETCH(EditorRule, shown);
    QFETCH(QDate, anchor);
    QFETCH(QString, rule);
    QFETCH(QString, sentence);
    QCOMPARE(repeat::ruleText(shown, anchor), rule);
    QCOMPARE(repeat::ruleProblem(rule), QString());
    const std::optional<EditorRule> read = repeat::editorRule(rule);
    QVERIFY(read.has_value());
    QCOMPARE(*read, shown);
    QCOMPARE(repeat::describeRule(rule), sentence);
    if (!rule.isEmpty())
        QVERIFY(!repeat::occurrences(rule, anchor, 1).isEmpty());
}

void TestRepeatRule::rulesTheEditorCannotShow_data()
{
    QTest::addColumn<QString>("rule");
    QTest::newRow("set positions") << "FREQ=MONTHLY;BYDAY=MO;BYSETPOS=2,-1";
    QTest::newRow("week starting on Sunday") << "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO;WKST=SU";
    QTest::newRow("yearly from the start date") << "FREQ=YEARLY";
    QTest::newRow("named leap month") << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=6L;BYMONTHDAY=15;SKIP=BACKWARD";
    QTest::newRow("lunar, omitting") << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=30";
    QTest::newRow("two days of the month") << "FREQ=MONTHLY;BYMONTHDAY=1,15";
    QTest::newRow("hours") << "FREQ=DAILY;BYHOUR=9,17";
}

void TestRepeatRule::rulesTheEditorCannotShow()
{
    QFETCH(QString, rule);
    QCOMPARE(repeat::ruleProblem(rule), QString());
    QVERIFY(!repeat::editorRule(rule).has_value());
    QCOMPARE(repeat::describeRule(rule), rule);
}

void TestRepeatRule::badRulesAreNamed_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("problem");
    QTest::newRow("not a rule") << "每周一" << "无法识别的重复规则：每周一";
    QTest::newRow("unknown frequency") << "FREQ=SOMETIMES" << "无法识别的重复规则：FREQ=SOMETIMES";
    QTest::newRow("count and until") << "FREQ=DAILY;COUNT=3;UNTIL=20270101" << "无法识别的重复规则：FREQ=DAILY;COUNT=3;UNTIL=20270101";
    QTest::newRow("twice given") << "FREQ=DAILY;FREQ=WEEKLY" << "无法识别的重复规则：FREQ=DAILY;FREQ=WEEKLY";
    QTest::newRow("hourly") << "FREQ=HOURLY" << "事务最多每天重复一次：FREQ=HOURLY";
    QTest::newRow("lunar monthly") << "RSCALE=CHINESE;FREQ=MONTHLY;BYMONTHDAY=1"
                                   << "无法识别的农历重复规则：RSCALE=CHINESE;FREQ=MONTHLY;BYMONTHDAY=1";
    QTest::newRow("lunar 31st") << "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=8;BYMONTHDAY=31"
                                << "无法识别的农历重复规则：RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=8;BYMONTHDAY=31";
    QTest::newRow("another calendar") << "RSCALE=HEBREW;FREQ=YEARLY;BYMONTH=5L;BYMONTHDAY=8"
                                      << "无法识别的农历重复规则：RSCALE=HEBREW;FREQ=YEARLY;BYMONTH=5L;BYMONTHDAY=8";
}

void TestRepeatRule::badRulesAreNamed()
{
    QFETCH(QString, rule);
    QFETCH(QString, problem);
    QCOMPARE(repeat::ruleProblem(rule), problem);
    QVERIFY(!repeat::editorRule(rule).has_value());
    QVERIFY(repeat::occurrences(rule, QDate(2027, 1, 1), 5).isEmpty());
}

PANDREL_TEST_MAIN(TestRepeatRule)
#include "tst_repeatrule.moc"
