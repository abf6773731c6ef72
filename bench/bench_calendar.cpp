// The perpetual calendar's costs: annotating every day from 1901 to 2099 (lunar date, festivals,
// solar term), and turning the calendar page a month on and drawing it, as "下一月" does.
#include "desk/CalendarPage.h"
#include "widgets/LunarMonthView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

volatile qsizetype sink = 0;

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
    annotateEveryDay(out);
    turnPages(out);
    return 0;
}
