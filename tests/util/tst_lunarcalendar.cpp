#include "TestMain.h"

#include "util/LunarCalendar.h"
#include "widgets/LunarMonthView.h"
#include "util/MoonPosition.h"
#include "util/NewMoons.h"
#include "util/SolarTerms.h"
#include "util/SunPosition.h"

#include <cmath>

#include <span>

namespace {

using AlmanacRow = std::pair<QDate, const char *>;

void addAlmanacRows(std::span<const AlmanacRow> rows)
{
    for (const auto &[date, text] : rows)
        QTest::newRow(qPrintable(date.toString(Qt::ISODate))) << date << QString::fromUtf8(text);
}

} // namespace

// Every expected value comes from published almanacs: the Hong Kong Observatory's
// Gregorian–Lunar conversion tables and the official calendar of the mainland.
class TestLunarCalendar : public QObject
{
    Q_OBJECT

private slots:
    void lunarDates_data();
    void lunarDates();
    void springFestivals_data();
    void springFestivals();
    void leapMonths_data();
    void leapMonths();
    void monthsFollowTheRuleOverTheWholeRange();
    void outsideTheRangeNoLunarDate();
    void solarTermDays_data();
    void solarTermDays();
    void wholeYearOfTerms();
    void sunAsTheCompleteTheoryPutsIt_data();
    void sunAsTheCompleteTheoryPutsIt();
    void termInstantToTheSecond();
    void moonAndNutationAsPublished();
    void newMoonAsPublished();
    void festivals_data();
    void festivals();
    void dayAnnotations_data();
    void dayAnnotations();
};

void TestLunarCalendar::lunarDates_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("lunar");

    const AlmanacRow almanac[] = {
        {QDate(1901, 2, 19), "辛丑年（牛年）正月初一"},
        {QDate(1923, 1, 16), "壬戌年（狗年）冬月三十"},
        {QDate(1923, 1, 17), "壬戌年（狗年）腊月初一"},
        {QDate(1923, 2, 16), "癸亥年（猪年）正月初一"},
        {QDate(1978, 1, 8), "丁巳年（蛇年）冬月廿九"},
        {QDate(1978, 2, 7), "戊午年（马年）正月初一"},
        {QDate(1984, 11, 23), "甲子年（鼠年）闰十月初一"},
        {QDate(1988, 2, 29), "戊辰年（龙年）正月十三"},
        {QDate(2009, 1, 25), "戊子年（鼠年）腊月三十"},
        {QDate(2009, 1, 26), "己丑年（牛年）正月初一"},
        {QDate(2014, 9, 24), "甲午年（马年）九月初一"},
        {QDate(2014, 10, 24), "甲午年（马年）闰九月初一"},
        {QDate(2020, 5, 23), "庚子年（鼠年）闰四月初一"},
        {QDate(2023, 3, 21), "癸卯年（兔年）二月三十"},
        {QDate(2023, 3, 22), "癸卯年（兔年）闰二月初一"},
        {QDate(2024, 2, 9), "癸卯年（兔年）腊月三十"},
        {QDate(2024, 2, 10), "甲辰年（龙年）正月初一"},
        {QDate(2025, 1, 28), "甲辰年（龙年）腊月廿九"},
        {QDate(2025, 1, 29), "乙巳年（蛇年）正月初一"},
        {QDate(2025, 7, 25), "乙巳年（蛇年）闰六月初一"},
        {QDate(2033, 12, 22), "癸丑年（牛年）闰冬月初一"},
        {QDate(2099, 1, 21), "己未年（羊年）正月初一"},
        // The new moon of 2027-02-06 falls at 23:56 in China time.
        {QDate(2027, 2, 5), "丙午年（马年）腊月廿九"},
        {QDate(2027, 2, 6), "丁未年（羊年）正月初一"},
        {QDate(2030, 2, 2), "己酉年（鸡年）腊月三十"},
        {QDate(2030, 2, 3), "庚戌年（狗年）正月初一"},
        // 1987's leap month is the sixth: the month from 08-24 holds 处暑.
        {QDate(1987, 7, 25), "丁卯年（兔年）六月三十"},
        {QDate(1987, 7, 26), "丁卯年（兔年）闰六月初一"},
        {QDate(1987, 8, 23), "丁卯年（兔年）闰六月廿九"},
        {QDate(1987, 8, 24), "丁卯年（兔年）七月初一"},
        {QDate(2012, 8, 17), "壬辰年（龙年）七月初一"},
        {QDate(1999, 1, 17), "戊寅年（虎年）腊月初一"},
        {QDate(2018, 11, 8), "戊戌年（狗年）十月初一"}, // new moon at 00:02
        {QDate(1900, 1, 1), "己亥年（猪年）腊月初一"},
        {QDate(1901, 1, 1), "庚子年（鼠年）冬月十一"},
    };
    addAlmanacRows(almanac);
}

void TestLunarCalendar::lunarDates()
{
    QFETCH(QDate, date);
    QFETCH(QString, lunar);
    QCOMPARE(lunarDateText(date), lunar);
}

void TestLunarCalendar::springFestivals_data()
{
    QTest::addColumn<QDate>("date");

    const QDate almanac[] = {
        {1901, 2, 19}, {1912, 2, 18}, {1920, 2, 20}, {1924, 2, 5},  {1931, 2, 17}, {1949, 1, 29},
        {1954, 2, 3},  {1966, 1, 21}, {1978, 2, 7},  {1985, 2, 20}, {1987, 1, 29}, {1996, 2, 19},
        {2000, 2, 5},  {2008, 2, 7},  {2020, 1, 25}, {2026, 2, 17}, {2027, 2, 6},  {2028, 1, 26},
        {2030, 2, 3},  {2031, 1, 23}, {2034, 2, 19}, {2050, 1, 23}, {2099, 1, 21},
    };
    for (const QDate &date : almanac)
        QTest::newRow(qPrintable(date.toString(Qt::ISODate))) << date;
}

void TestLunarCalendar::springFestivals()
{
    QFETCH(QDate, date);
    QCOMPARE(lunarFestival(date), QStringLiteral("春节"));
    QCOMPARE(lunarFestival(date.addDays(-1)), QStringLiteral("除夕"));
    for (int day = -45; day <= 45; ++day) {
        const LunarDate lunar = lunarDate(date.addDays(day));
        QCOMPARE(lunar.month == 1 && lunar.day == 1 && !lunar.leapMonth, day == 0);
    }
}

void TestLunarCalendar::leapMonths_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("leapMonth"); // of the lunar year that begins in `year`; empty: none
    QTest::addColumn<QDate>("firstDay");

    QTest::newRow("1987") << 1987 << "闰六月" << QDate(1987, 7, 26);
    QTest::newRow("2001") << 2001 << "闰四月" << QDate(2001, 5, 23);
    QTest::newRow("2004") << 2004 << "闰二月" << QDate(2004, 3, 21);
    QTest::newRow("2006") << 2006 << "闰七月" << QDate(2006, 8, 24);
    QTest::newRow("2009") << 2009 << "闰五月" << QDate(2009, 6, 23);
    QTest::newRow("2012") << 2012 << "闰四月" << QDate(2012, 5, 21);
    QTest::newRow("2014") << 2014 << "闰九月" << QDate(2014, 10, 24);
    QTest::newRow("2017") << 2017 << "闰六月" << QDate(2017, 7, 23);
    QTest::newRow("2020") << 2020 << "闰四月" << QDate(2020, 5, 23);
    QTest::newRow("2023") << 2023 << "闰二月" << QDate(2023, 3, 22);
    QTest::newRow("2025") << 2025 << "闰六月" << QDate(2025, 7, 25);
    QTest::newRow("2028") << 2028 << "闰五月" << QDate(2028, 6, 23);
    QTest::newRow("2033, after the solstice") << 2033 << "闰冬月" << QDate(2033, 12, 22);
    QTest::newRow("1900") << 1900 << "闰八月" << QDate(1900, 9, 24);
    QTest::newRow("2024 has none") << 2024 << "" << QDate();
    QTest::newRow("2027 has none") << 2027 << "" << QDate();
}

void TestLunarCalendar::leapMonths()
{
    QFETCH(int, year);
    QFETCH(QString, leapMonth);
    QFETCH(QDate, firstDay);
    // Every day from the lunar year's 正月初一 to the next one.
    QDate day(year, 1, 1);
    while (lunarFestival(day) != QStringLiteral("春节"))
        day = day.addDays(1);
    const int cycleYear = lunarDate(day).cycleYear;
    QStringList leapMonths;
    QDate leapStart;
    for (; lunarDate(day).cycleYear == cycleYear; day = day.addDays(1)) {
        const LunarDate lunar = lunarDate(day);
        if (lunar.leapMonth && lunar.day == 1) {
            leapMonths << lunarMonthName(lunar.month, true);
            leapStart = day;
        }
    }
    QCOMPARE(leapMonths.join(QLatin1Char(' ')), leapMonth);
    QCOMPARE(leapStart, firstDay);
}

void TestLunarCalendar::monthsFollowTheRuleOverTheWholeRange()
{
    // Every day of the supported range, with the rule checked month by month: 29 or 30 days,
    // months in order with at most one leap month between two 冬月, and that only in a span
    // of thirteen; a leap month holds no major term and is the span's first month without
    // one; 冬月 holds the winter solstice; the cycle year turns on 正月初一.
    const QDate first(1900, 1, 1);
    const QDate last(2100, 12, 31);
    LunarDate previous = lunarDate(first);
    QDate monthStart;
    bool monthHoldsMajorTerm = false;
    bool monthHoldsSolstice = false;
    int monthsSinceWinterMonth = -1;
    int leapsSinceWinterMonth = 0;
    bool monthWithoutMajorTermBefore = false; // since the last 冬月 began
    for (QDate date = first.addDays(1); date <= last; date = date.addDays(1)) {
        const LunarDate lunar = lunarDate(date);
        QVERIFY2(lunar.isValid(), qPrintable(date.toString(Qt::ISODate)));
        const int term = solarTermOn(date);
        if (lunar.day != 1) {
            QCOMPARE(lunar.day, previous.day + 1);
            QCOMPARE(lunar.month, previous.month);
            QCOMPARE(lunar.leapMonth, previous.leapMonth);
            QCOMPARE(lunar.cycleYear, previous.cycleYear);
        } else {
            const QString where = date.toString(Qt::ISODate);
            QVERIFY2(previous.day == 29 || previous.day == 30, qPrintable(where));
            if (monthStart.isValid()) {
                QVERIFY2(!(previous.leapMonth && monthHoldsMajorTerm), qPrintable(where));
                QCOMPARE(monthHoldsSolstice, previous.month == 11 && !previous.leapMonth);
                monthWithoutMajorTermBefore = monthWithoutMajorTermBefore || !monthHoldsMajorTerm;
            }
            if (lunar.leapMonth) {
                QCOMPARE(lunar.month, previous.month);
                QVERIFY2(!monthWithoutMajorTermBefore, qPrintable(where)); // the first such month
            } else
                QCOMPARE(lunar.month, previous.month % 12 + 1);
            QCOMPARE(lunar.cycleYear, lunar.month == 1 && !lunar.leapMonth ? previous.cycleYear % 60 + 1
                                                                             : previous.cycleYear);
            if (lunar.month == 11 && !lunar.leapMonth) {
                if (monthsSinceWinterMonth >= 0) {
                    QVERIFY2(monthsSinceWinterMonth == 12 + leapsSinceWinterMonth, qPrintable(where));
                    QVERIFY2(leapsSinceWinterMonth <= 1, qPrintable(where));
                }
                monthsSinceWinterMonth = 0;
                leapsSinceWinterMonth = 0;
                monthWithoutMajorTermBefore = false;
            }
            if (monthsSinceWinterMonth >= 0) {
                ++monthsSinceWinterMonth;
                leapsSinceWinterMonth += lunar.leapMonth;
            }
            monthStart = date;
            monthHoldsMajorTerm = false;
            monthHoldsSolstice = false;
        }
        monthHoldsMajorTerm = monthHoldsMajorTerm || term % 2 == 1;
        monthHoldsSolstice = monthHoldsSolstice || term == 23;
        previous = lunar;
    }
}

void TestLunarCalendar::outsideTheRangeNoLunarDate()
{
    for (const QDate &date : {QDate(1899, 12, 31), QDate(2101, 1, 1), QDate()}) {
        QVERIFY(!lunarDate(date).isValid());
        QCOMPARE(lunarDateText(date), QString());
        QCOMPARE(lunarFestival(date), QString());
    }
}

void TestLunarCalendar::solarTermDays_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("term");

    const AlmanacRow almanac[] = {
        {QDate(1901, 2, 4), "立春"},
        {QDate(1923, 1, 6), "小寒"},
        {QDate(1923, 2, 5), "立春"},
        {QDate(1923, 3, 6), "惊蛰"},
        {QDate(1932, 1, 21), "大寒"},
        {QDate(1932, 12, 22), "冬至"},
        {QDate(1978, 1, 20), "大寒"},
        {QDate(1978, 3, 21), "春分"},
        {QDate(1988, 3, 5), "惊蛰"},
        {QDate(2009, 2, 18), "雨水"},
        {QDate(2009, 3, 20), "春分"},
        {QDate(2024, 2, 4), "立春"},
        {QDate(2024, 12, 21), "冬至"},
        {QDate(2025, 4, 4), "清明"},
        // Within a minute of midnight in Beijing: a small error would move them a day.
        {QDate(1923, 2, 19), "雨水"},
        {QDate(2014, 3, 6), "惊蛰"},
        {QDate(2021, 12, 21), "冬至"},
        {QDate(1979, 1, 20), "大寒"},
        {QDate(1987, 8, 24), "处暑"},
    };
    addAlmanacRows(almanac);
}

void TestLunarCalendar::solarTermDays()
{
    QFETCH(QDate, date);
    QFETCH(QString, term);
    QCOMPARE(solarTermName(solarTermOn(date)), term);
    QCOMPARE(solarTermOn(date.addDays(-1)), -1);
    QCOMPARE(solarTermOn(date.addDays(1)), -1);
}

void TestLunarCalendar::wholeYearOfTerms()
{
    // The Observatory's table of 2014, 小寒 to 冬至.
    const int days[SolarTermCount] = {5, 20, 4, 19, 6, 21, 5, 20, 5, 21, 6, 21,
                                      7, 23, 7, 23, 8, 23, 8, 23, 7, 22, 7, 22};
    for (int term = 0; term < SolarTermCount; ++term)
        QCOMPARE(solarTermDate(2014, term), QDate(2014, term / 2 + 1, days[term]));
}

void TestLunarCalendar::sunAsTheCompleteTheoryPutsIt_data()
{
    QTest::addColumn<double>("ephemerisDay");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("toleranceArcSeconds");

    // Meeus, "Astronomical Algorithms": the values he gives from the complete VSOP87, which the
    // short series of his appendix misses by 0.07″ and 0.26″. The sun moves 0.04″ a second.
    QTest::newRow("June solstice 1962, 21:24:42 TD (example 27.a)")
        << 2437836.5 + (21 + 24 / 60.0 + 42 / 3600.0) / 24 << 90.0 << 0.04;
    QTest::newRow("1992-10-13 0h TD, 199°54′21.56″ (example 25.b)")
        << 2448908.5 << 199 + 54 / 60.0 + 21.56 / 3600 << 0.01;
}

void TestLunarCalendar::sunAsTheCompleteTheoryPutsIt()
{
    QFETCH(double, ephemerisDay);
    QFETCH(double, longitude);
    QFETCH(double, toleranceArcSeconds);
    const double offBy = (sunApparentLongitude(ephemerisDay) - longitude) * 3600;
    QVERIFY2(qAbs(offBy) <= toleranceArcSeconds, qPrintable(QString::number(offBy) + "″"));
}

void TestLunarCalendar::termInstantToTheSecond()
{
    // 大寒 of 1979 falls seconds before midnight in China time, 1979-01-20 23:59:54 as
    // published; the complete VSOP87 puts it at 23:59:56.6. A tenth of an arc second more
    // error moves it a day.
    const double instant = solarTermBeijingJulianDay(1979, 1);
    const double published = QDate(1979, 1, 20).toJulianDay() - 0.5 + (24 * 3600 - 6) / 86400.0;
    QVERIFY2(qAbs(instant - published) * 86400 < 3, qPrintable(QString::number((instant - published) * 86400)));
    QVERIFY(instant < QDate(1979, 1, 21).toJulianDay() - 0.5);
}

void TestLunarCalendar::moonAndNutationAsPublished()
{
    // Meeus, "Astronomical Algorithms", examples 22.a and 47.a.
    QVERIFY(qAbs(nutationInLongitude(2446895.5) - -3.788) < 0.001);
    QVERIFY(qAbs(moonApparentLongitude(2448724.5) - 133.167265) < 0.000005);
}

void TestLunarCalendar::newMoonAsPublished()
{
    // Meeus example 49.a: the new moon of February 1977 falls at 3h37m40s TD on the 18th.
    const double published = 2443192.5 + (3 * 3600 + 37 * 60 + 40) / 86400.0;
    QVERIFY(qAbs(newMoonEphemeris(-283) - published) * 86400 < 20);
    // 2027-02-06 15:56 UT: 23:56 in China time, the first day of 丁未.
    QCOMPARE(qint64(std::floor(newMoonChinaJulianDay(335) + 0.5)), QDate(2027, 2, 6).toJulianDay());
}

void TestLunarCalendar::festivals_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("lunar");
    QTest::addColumn<QString>("gregorian");

    QTest::newRow("spring festival") << QDate(2024, 2, 10) << "春节" << "";
    QTest::newRow("lantern") << QDate(2024, 2, 24) << "元宵" << "";
    QTest::newRow("dragon boat") << QDate(2024, 6, 10) << "端午" << "";
    QTest::newRow("qixi") << QDate(2024, 8, 10) << "七夕" << "";
    QTest::newRow("ghost festival") << QDate(2024, 8, 18) << "中元" << "";
    QTest::newRow("mid-autumn") << QDate(2024, 9, 17) << "中秋" << "";
    QTest::newRow("double ninth") << QDate(2024, 10, 11) << "重阳" << "";
    QTest::newRow("laba") << QDate(2025, 1, 7) << "腊八" << "";
    QTest::newRow("eve on the 30th") << QDate(2024, 2, 9) << "除夕" << "";
    QTest::newRow("eve on the 29th") << QDate(2025, 1, 28) << "除夕" << "";
    QTest::newRow("the 29th before a 30th") << QDate(2024, 2, 8) << "" << "";
    QTest::newRow("qixi of 2006") << QDate(2006, 7, 31) << "七夕" << "";
    QTest::newRow("7th of the leap 7th month") << QDate(2006, 8, 30) << "" << "";
    QTest::newRow("national day on mid-autumn") << QDate(2020, 10, 1) << "中秋" << "国庆节";
    QTest::newRow("mother's day") << QDate(2024, 5, 12) << "" << "母亲节";
    QTest::newRow("a Sunday before it") << QDate(2024, 5, 5) << "" << "";
    QTest::newRow("father's day") << QDate(2024, 6, 16) << "" << "父亲节";
    QTest::newRow("new year's day") << QDate(2025, 1, 1) << "" << "元旦";
}

void TestLunarCalendar::festivals()
{
    QFETCH(QDate, date);
    QFETCH(QString, lunar);
    QFETCH(QString, gregorian);
    QCOMPARE(lunarFestival(date), lunar);
    QCOMPARE(gregorianFestival(date), gregorian);
}

void TestLunarCalendar::dayAnnotations_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("lunar");
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("kind");

    using Kind = DayAnnotation::Kind;
    QTest::newRow("plain day") << QDate(2023, 3, 23) << "初二" << "" << int(Kind::None);
    QTest::newRow("leap month begins") << QDate(2023, 3, 22) << "闰二月" << "" << int(Kind::None);
    QTest::newRow("month begins") << QDate(2024, 3, 10) << "二月" << "" << int(Kind::None);
    QTest::newRow("solar term") << QDate(2024, 2, 19) << "初十" << "雨水" << int(Kind::SolarTerm);
    QTest::newRow("qingming is a festival") << QDate(2025, 4, 4) << "初七" << "清明" << int(Kind::Festival);
    QTest::newRow("spring festival") << QDate(2024, 2, 10) << "正月" << "春节" << int(Kind::Festival);
    QTest::newRow("spring festival of 2027") << QDate(2027, 2, 6) << "正月" << "春节" << int(Kind::Festival);
    QTest::newRow("new year's eve of 2027") << QDate(2027, 2, 5) << "廿九" << "除夕" << int(Kind::Festival);
    QTest::newRow("two at once") << QDate(2020, 10, 1) << "十五" << "中秋 国庆节" << int(Kind::Festival);
    QTest::newRow("gregorian holiday") << QDate(2024, 5, 1) << "廿三" << "劳动节" << int(Kind::Holiday);
}

void TestLunarCalendar::dayAnnotations()
{
    QFETCH(QDate, date);
    QFETCH(QString, lunar);
    QFETCH(QString, note);
    QFETCH(int, kind);
    const DayAnnotation day = annotateDay(date);
    QCOMPARE(day.lunar, lunar);
    QCOMPARE(day.note, note);
    QCOMPARE(int(day.kind), kind);
}

PANDREL_TEST_MAIN(TestLunarCalendar)
#include "tst_lunarcalendar.moc"
