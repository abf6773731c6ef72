// The perpetual calendar on months worth looking at: a leap month beginning with festivals
// around it, and the Spring Festival with its eve.
#include "Shots.h"

#include "desk/CalendarPage.h"
#include "platform/Clock.h"
#include "widgets/LunarMonthView.h"

#include <QCoreApplication>

namespace {

class FixedClock final : public platform::Clock
{
public:
    explicit FixedClock(const QDateTime &now) : m_now(now) { platform::setClock(this); }
    ~FixedClock() override { platform::setClock(nullptr); }
    QDateTime now() const override { return m_now; }

private:
    QDateTime m_now;
};

void shootMonth(Shots &shots, CalendarPage &page, const QDate &selected, const QSize &size, const QString &name)
{
    page.setCurrentDate(selected);
    page.resize(size);
    page.show();
    QCoreApplication::processEvents();
    shots.take(page, name);
}

void shootCalendar(Shots &shots)
{
    // 重阳 and 国庆节 open October 2014; its leap ninth month begins on the 24th.
    const FixedClock clock(QDateTime(QDate(2014, 10, 2), QTime(9, 0)));
    CalendarPage page;
    page.goToToday();
    // The page as the main window holds it, and on a smaller window.
    shootMonth(shots, page, QDate(2014, 10, 24), QSize(965, 520), QStringLiteral("calendar-leap-month"));
    shootMonth(shots, page, QDate(2024, 2, 10), QSize(965, 520), QStringLiteral("calendar-spring-festival"));
    shootMonth(shots, page, QDate(2023, 3, 22), QSize(720, 420), QStringLiteral("calendar-small"));
    page.hide();
}

const ShotSet calendar("calendar", shootCalendar);

} // namespace
