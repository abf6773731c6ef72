#include "ManualClock.h"
#include "TestMain.h"

#include "desk/CalendarPage.h"
#include "widgets/LunarMonthView.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

class TestCalendarPage : public QObject
{
    Q_OBJECT

private slots:
    void opensOnToday();
    void twelveStepsBackFromMidJune();
    void stepsAreThirtyDays_data();
    void stepsAreThirtyDays();
    void todayComesFromTheClock();
    void yearAndMonthFollowTheShownPage();
    void choosingAMonthKeepsTheDay_data();
    void choosingAMonthKeepsTheDay();
    void stepsStopAtTheCalendarsEnds();
    void barShowsTheSelectedDay();
    void lunarMonthsOfAGregorianMonth_data();
    void lunarMonthsOfAGregorianMonth();
};

void TestCalendarPage::opensOnToday()
{
    ManualClock clock(QDateTime(QDate(2023, 3, 22), QTime(9, 30)));
    CalendarPage page;
    QCOMPARE(page.currentDate(), QDate(2023, 3, 22));
    QCOMPARE(page.m_monthView->today(), QDate(2023, 3, 22));
    QCOMPARE(page.m_monthView->yearShown(), 2023);
    QCOMPARE(page.m_monthView->monthShown(), 3);
}

void TestCalendarPage::twelveStepsBackFromMidJune()
{
    CalendarPage page;
    page.setCurrentDate(QDate(2010, 6, 15));
    for (int press = 0; press < 12; ++press)
        page.m_backButton->click();
    QCOMPARE(page.currentDate(), QDate(2009, 6, 20));
    QCOMPARE(page.m_monthView->monthShown(), 6);
    QCOMPARE(page.m_monthView->yearShown(), 2009);
}

void TestCalendarPage::stepsAreThirtyDays_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QDate>("to");

    QTest::newRow("31 January on") << QDate(2023, 1, 31) << true << QDate(2023, 3, 2);
    QTest::newRow("31 January on, leap year") << QDate(2024, 1, 31) << true << QDate(2024, 3, 1);
    QTest::newRow("31 March back") << QDate(2024, 3, 31) << false << QDate(2024, 3, 1);
    QTest::newRow("across the year") << QDate(2024, 12, 20) << true << QDate(2025, 1, 19);
}

void TestCalendarPage::stepsAreThirtyDays()
{
    QFETCH(QDate, from);
    QFETCH(bool, forward);
    QFETCH(QDate, to);
    CalendarPage page;
    page.setCurrentDate(from);
    (forward ? page.m_forwardButton : page.m_backButton)->click();
    QCOMPARE(page.currentDate(), to);
    QCOMPARE(page.m_monthView->monthShown(), to.month());
}

void TestCalendarPage::todayComesFromTheClock()
{
    ManualClock clock(QDateTime(QDate(2024, 2, 9), QTime(23, 59)));
    CalendarPage page;
    page.setCurrentDate(QDate(1999, 12, 31));
    clock.set(QDateTime(QDate(2024, 2, 10), QTime(0, 1)));
    page.m_todayButton->click();
    QCOMPARE(page.currentDate(), QDate(2024, 2, 10));
    QCOMPARE(page.m_monthView->today(), QDate(2024, 2, 10));
    QCOMPARE(page.m_yearBox->value(), 2024);
    QCOMPARE(page.m_monthCombo->currentIndex(), 1);
}

void TestCalendarPage::yearAndMonthFollowTheShownPage()
{
    CalendarPage page;
    page.setCurrentDate(QDate(2024, 1, 31));
    page.m_forwardButton->click();
    QCOMPARE(page.m_yearBox->value(), 2024);
    QCOMPARE(page.m_monthCombo->currentIndex(), 2);
    page.m_monthView->showNextMonth();
    QCOMPARE(page.m_monthCombo->currentIndex(), 3);
}

void TestCalendarPage::choosingAMonthKeepsTheDay_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<QDate>("to");

    QTest::newRow("another year") << QDate(2024, 6, 15) << 1984 << 6 << QDate(1984, 6, 15);
    QTest::newRow("another month") << QDate(2024, 6, 15) << 2024 << 9 << QDate(2024, 9, 15);
    QTest::newRow("shorter month") << QDate(2024, 1, 31) << 2024 << 2 << QDate(2024, 2, 29);
    QTest::newRow("29 February, common year") << QDate(2024, 2, 29) << 2023 << 2 << QDate(2023, 2, 28);
}

void TestCalendarPage::choosingAMonthKeepsTheDay()
{
    QFETCH(QDate, from);
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(QDate, to);
    CalendarPage page;
    page.setCurrentDate(from);
    page.m_monthCombo->setCurrentIndex(month - 1);
    page.m_yearBox->setValue(year);
    QCOMPARE(page.currentDate(), to);
    QCOMPARE(page.m_monthView->yearShown(), year);
    QCOMPARE(page.m_monthView->monthShown(), month);
}

void TestCalendarPage::stepsStopAtTheCalendarsEnds()
{
    CalendarPage page;
    page.setCurrentDate(QDate(2099, 12, 20));
    page.m_forwardButton->click();
    QCOMPARE(page.currentDate(), QDate(2099, 12, 31));
    page.setCurrentDate(QDate(1901, 1, 10));
    page.m_backButton->click();
    QCOMPARE(page.currentDate(), QDate(1901, 1, 1));
    QVERIFY(!page.m_selectedDayLabel->text().isEmpty());
}

void TestCalendarPage::barShowsTheSelectedDay()
{
    CalendarPage page;
    page.setCurrentDate(QDate(2024, 2, 10));
    QCOMPARE(page.m_selectedDayLabel->text(), QStringLiteral("2024年2月10日 星期六　农历甲辰年（龙年）正月初一　春节"));
    page.m_monthView->setSelectedDate(QDate(2023, 3, 22));
    QCOMPARE(page.m_selectedDayLabel->text(), QStringLiteral("2023年3月22日 星期三　农历癸卯年（兔年）闰二月初一"));
}

void TestCalendarPage::lunarMonthsOfAGregorianMonth_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("text");

    QTest::newRow("leap month begins") << 2014 << 10 << "甲午年（马年）九月 · 闰九月";
    QTest::newRow("new year begins") << 2024 << 2 << "癸卯年（兔年）腊月 · 甲辰年（龙年）正月";
    QTest::newRow("leap second month") << 2023 << 3 << "癸卯年（兔年）二月 · 闰二月";
}

void TestCalendarPage::lunarMonthsOfAGregorianMonth()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(QString, text);
    QCOMPARE(lunarMonthsText(year, month), text);

    CalendarPage page;
    page.setCurrentDate(QDate(year, month, 15));
    QCOMPARE(page.m_lunarMonthsLabel->text(), text);
}

PANDREL_TEST_MAIN(TestCalendarPage)
#include "tst_calendarpage.moc"
