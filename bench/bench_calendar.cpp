// The perpetual calendar's costs: the first lunar date of a year not seen before (its months
// worked out from new moons and solar terms), annotating every day from 1901 to 2099 (lunar
// date, festivals, solar term), and turning the calendar page a month on and drawing it, as
// "下一月" does.
#include "desk/CalendarPage.h"
#include "util/LunarCalendar.h"
#include "widgets/LunarMonthView.h"
#include "util/NewMoons.h"
#include "util/SolarTerms.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

volatile qsizetype sink = 0;

void firstDateOfEachYear(QTextStream &out)
{
    // Years in turn, each one past the months kept: every date asks for a new year's months.
    QElapsedTimer timer;
    timer.start();
    int years = 0;
    for (int year = 1901; year <= 2099; ++year, ++years)
        sink = sink + lunarDate(QDate(year, 6, 15)).day;
    const double millis = timer.nsecsElapsed() / 1e6;
    out << "first lunar date of a year: " << millis / years << " ms (" << years << " years)\n";

    timer.restart();
    const int lunations = 2000;
    double sum = 0;
    for (int lunation = -1000; lunation < 1000; ++lunation)
        sum += newMoonChinaJulianDay(lunation);
    sink = sink + qsizetype(sum);
    out << "one new moon: " << timer.nsecsElapsed() / 1e3 / lunations << " us\n";

    timer.restart();
    for (int term = 0; term < SolarTermCount; ++term)
        sum += solarTermBeijingJulianDay(2030, term);
    sink = sink + qsizetype(sum);
    out << "one solar term: " << timer.nsecsElapsed() / 1e3 / SolarTermCount << " us\n";
}

void annotateEveryDay(QTextStream &out)
{
    const QDate first(1901, 1, 1);
    const QDate last(2099, 12, 31);
    QElapsedTimer timer;
    timer.start();
    qint64 days = 0;
    for (QDate date = first; date <= last; date = date.addDays(1), ++days)
        sink = sink + annotateDay(date).note.size();
    const double seconds = timer.nsecsElapsed() / 1e9;
    out << "annotate " << days << " days: " << seconds << " s, " << seconds * 1e6 / days << " us a day\n";
}

void turnPages(QTextStream &out)
{
    CalendarPage page;
    page.resize(965, 520);
    page.setCurrentDate(QDate(1950, 1, 15));
    const int turns = 120;
    QElapsedTimer timer;
    timer.start();
    for (int turn = 0; turn < turns; ++turn) {
        page.stepForward();
        sink = sink + page.grab().width(); // drawn as on screen
    }
    const double millis = timer.nsecsElapsed() / 1e6;
    out << "turn and draw a month page: " << millis / turns << " ms each (" << turns << " turns)\n";
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    firstDateOfEachYear(out);
    annotateEveryDay(out);
    turnPages(out);
    return 0;
}
