#pragma once

#include <QDate>
#include <QWidget>

class LunarMonthView;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// "2024年2月10日 星期六　农历甲辰年（龙年）正月初一　春节": the selected day in full.
QString calendarBarText(const QDate &date);

// The lunar months a Gregorian month spans, each year named once:
// "癸卯年（兔年）腊月 · 甲辰年（龙年）正月", "甲午年（马年）九月 · 闰九月".
QString lunarMonthsText(int year, int month);

// The perpetual calendar page: the month view over the whole page, the year and month to
// jump to, the 30-day steps back and forth and the way back to today; under it the selected
// day in full.
class CalendarPage : public QWidget
{
    Q_OBJECT
public:
    explicit CalendarPage(QWidget *parent = nullptr);

    QDate currentDate() const;
    void setCurrentDate(const QDate &date);

    // "转到今天": today as the clock has it, also marked as today.
    void goToToday();
    // "上一月" and "下一月": 30 days back or on, not a calendar month.
    void stepBack();
    void stepForward();

    LunarMonthView *m_monthView;
    QSpinBox *m_yearBox;
    QComboBox *m_monthCombo;
    QPushButton *m_backButton;
    QPushButton *m_todayButton;
    QPushButton *m_forwardButton;
    QLabel *m_lunarMonthsLabel;
    QLabel *m_selectedDayLabel;

private:
    void pageShown(int year, int month);
    void jumpToChosenMonth();
    void selectionChanged();
};
