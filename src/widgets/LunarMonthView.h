#pragma once

#include <QCalendarWidget>
#include <QHash>

// What a day cell prints under its Gregorian day: the lunar day (the month's name on its
// first day, 闰 for a leap month) and a note, the day's festivals and solar term.
struct DayAnnotation {
    enum class Kind { None, Festival, SolarTerm, Holiday };
    QString lunar;
    QString note;
    Kind kind = Kind::None;
    bool monthStart = false; // 初一: `lunar` holds the month's name
};
DayAnnotation annotateDay(const QDate &date);

// A month view for the whole page: each day with its lunar date, solar term and festivals,
// weekends coloured, today marked. Its current date is the selected one; setting it shows
// the month that holds it.
class LunarMonthView : public QCalendarWidget
{
    Q_OBJECT
public:
    explicit LunarMonthView(QWidget *parent = nullptr);

    QDate currentDate() const { return selectedDate(); }
    void setCurrentDate(const QDate &date);
    // The day marked as today; the view has no clock of its own.
    void setToday(const QDate &today);
    QDate today() const { return m_today; }

protected:
    void paintCell(QPainter *painter, const QRect &rect, QDate date) const override;

private:
    const DayAnnotation &annotation(const QDate &date) const;

    QDate m_today;
    mutable QHash<QDate, DayAnnotation> m_annotations;
};
