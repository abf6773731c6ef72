#include "TestMain.h"

#include "widgets/LunarCalendar.h"
#include "widgets/LunarMonthView.h"
#include "widgets/SolarTerms.h"
#include "widgets/SunPosition.h"

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
    void solarTermDays_data();
    void solarTermDays();
    void wholeYearOfTerms();
    void sunAtTheSolstice();
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
    };
    addAlmanacRows(almanac);
}

void TestLunarCalendar::lunarDates()
{
    QFETCH(QDate, date);
    QFETCH(QString, lunar);
    QCOMPARE(lunarDateText(date), lunar);
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

void TestLunarCalendar::sunAtTheSolstice()
{
    // Meeus, "Astronomical Algorithms", example 27.a: the June solstice of 1962 falls at
    // 21:24:42 TD on June 21 (his approximate formula gives 21:25:08, 26 s late).
    const double solstice = 2437836.5 + (21 + 24 / 60.0 + 42 / 3600.0) / 24;
    QVERIFY(qAbs(sunApparentLongitude(solstice) - 90.0) < 0.0002); // under 20 seconds of time
    QVERIFY(sunApparentLongitude(solstice - 1) < 89.1);
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
