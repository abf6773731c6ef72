// Work items to and from iCalendar: the mapping of 10 000 items to a file's text and back,
// against a bare libical loop that builds and parses the same components from values made
// ready beforehand; then the whole commands on the database (bodies included), for scale.
#include "DataGenerator.h"

#include "data/Database.h"
#include "data/WorkItemUid.h"
#include "interchange/WorkItemCalendar.h"
#include "platform/Prompter.h"
#include "work/WorkCalendarCommands.h"

#include <libical/ical.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

const int kItems = 10000;
const int kRounds = 9;
const QTimeZone kZone("Asia/Shanghai");

volatile qsizetype sink = 0;

// The commands end with a message box; here nobody is there to close it.
class SilentPrompter final : public platform::Prompter
{
public:
    void message(const QString &, Icon, const std::optional<QString> &) override {}
    bool confirm(const QString &) override { return true; }
    std::optional<QString> inputText(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> inputPassword(const QString &, const QString &) override { return {}; }
    std::optional<QString> openFileName(const FileRequest &) override { return {}; }
    std::optional<QString> saveFileName(const FileRequest &) override { return {}; }
    std::optional<QString> existingFolder(const QString &, const QString &) override { return {}; }
    std::optional<QColor> color(const QColor &) override { return {}; }
    std::optional<QFont> font(const QFont &) override { return {}; }
};

QList<CalendarWorkItem> makeItems()
{
    QList<CalendarWorkItem> items;
    // Plain date and time fields, as the commands read them from the database.
    const QDateTime first(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC);
    for (int i = 0; i < kItems; ++i) {
        CalendarWorkItem item;
        item.uid = QStringLiteral("0b7f3c2e-5d1a-4c8e-9f00-%1").arg(i, 12, 10, QLatin1Char('0'));
        item.title = QStringLiteral("拜访客户，商谈合同第%1项").arg(i);
        item.body = QStringLiteral("带上报价单和样品；下午三点前到。\n联系人：张经理, 电话 010-12345678\n").repeated(3);
        item.categories = {QStringLiteral("客户拜访")};
        item.state = 1 + i % 4;
        item.priority = i % 5 == 0 ? 1 : 0;
        item.start = first.addSecs(qint64(i) * 600);
        item.end = item.start.addDays(3);
        if (i % 7 == 0)
            item.reminder = item.start.addSecs(-1800);
        if (i % 3 == 0)
            item.repeatRule = QStringLiteral("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR");
        item.lastModified = item.start.addSecs(-86400);
        items.append(item);
    }
    return items;
}

// What a C program would hold: UTF-8 strings and libical times, made before the clock runs.
struct BareItem {
    QByteArray uid, title, body, category, rule;
    icaltimetype start, end, reminder, modified;
    int state, priority;
};

icaltimetype bareTime(const QDateTime &wallClock, bool utc)
{
    const QDateTime value = utc ? QDateTime(wallClock.date(), wallClock.time(), kZone).toUTC() : wallClock;
    icaltimetype time = icaltime_null_time();
    time.year = value.date().year();
    time.month = value.date().month();
    time.day = value.date().day();
    time.hour = value.time().hour();
    time.minute = value.time().minute();
    time.second = value.time().second();
    if (utc)
        time.zone = icaltimezone_get_utc_timezone();
    return time;
}

std::vector<BareItem> bareItems(const QList<CalendarWorkItem> &items)
{
    std::vector<BareItem> bare;
    for (const CalendarWorkItem &item : items) {
        bare.push_back({item.uid.toUtf8(), item.title.toUtf8(), item.body.toUtf8(), item.categories.value(0).toUtf8(),
                        item.repeatRule.toUtf8(), bareTime(item.start, false), bareTime(item.end, false),
                        item.reminder.isValid() ? bareTime(item.reminder, true) : icaltime_null_time(),
                        bareTime(item.lastModified, true), item.state, item.priority});
    }
    return bare;
}

QByteArray bareBuild(const std::vector<BareItem> &items)
{
    const icalproperty_status statuses[] = {ICAL_STATUS_NEEDSACTION, ICAL_STATUS_INPROCESS, ICAL_STATUS_COMPLETED,
                                            ICAL_STATUS_CANCELLED};
    icalcomponent *calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar, icalproperty_new_prodid("-//bare//EN"));
    icalcomponent_add_component(calendar,
        icalcomponent_new_clone(icaltimezone_get_component(icaltimezone_get_builtin_timezone("Asia/Shanghai"))));
    for (const BareItem &item : items) {
        icalcomponent *todo = icalcomponent_new(ICAL_VTODO_COMPONENT);
        icalcomponent_add_property(todo, icalproperty_new_uid(item.uid.constData()));
        icalcomponent_add_property(todo, icalproperty_new_dtstamp(item.modified));
        icalcomponent_add_property(todo, icalproperty_new_summary(item.title.constData()));
        icalcomponent_add_property(todo, icalproperty_new_description(item.body.constData()));
        icalcomponent_add_property(todo, icalproperty_new_categories(item.category.constData()));
        icalcomponent_add_property(todo, icalproperty_new_status(statuses[item.state - 1]));
        if (item.state != 4)
            icalcomponent_add_property(todo, icalproperty_new_percentcomplete(item.state == 1 ? 0 : item.state == 2 ? 50 : 100));
        icalcomponent_add_property(todo, icalproperty_new_priority(item.priority ? 1 : 5));
        icalproperty *start = icalproperty_new_dtstart(item.start);
        icalproperty_add_parameter(start, icalparameter_new_tzid("Asia/Shanghai"));
        icalcomponent_add_property(todo, start);
        icalproperty *due = icalproperty_new_due(item.end);
        icalproperty_add_parameter(due, icalparameter_new_tzid("Asia/Shanghai"));
        icalcomponent_add_property(todo, due);
        if (!item.rule.isEmpty())
            icalcomponent_add_property(todo, icalproperty_new_rrule(icalrecurrencetype_from_string(item.rule.constData())));
        icalcomponent_add_property(todo, icalproperty_new_created(item.modified));
        icalcomponent_add_property(todo, icalproperty_new_lastmodified(item.modified));
        if (!icaltime_is_null_time(item.reminder)) {
            icalcomponent *alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
            icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
            icaltriggertype trigger;
            trigger.time = item.reminder;
            trigger.duration = icaldurationtype_null_duration();
            icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
            icalcomponent_add_property(alarm, icalproperty_new_description(item.title.constData()));
            icalcomponent_add_component(todo, alarm);
        }
        icalcomponent_add_component(calendar, todo);
    }
    char *text = icalcomponent_as_ical_string_r(calendar);
    QByteArray bytes(text);
    icalmemory_free_buffer(text);
    icalcomponent_free(calendar);
    return bytes;
}

// Parses and reads every value the mapping reads, keeping nothing.
qsizetype bareParse(const QByteArray &text)
{
    qsizetype read = 0;
    icalcomponent *calendar = icalparser_parse_string(text.constData());
    for (icalcomponent *todo = icalcomponent_get_first_component(calendar, ICAL_VTODO_COMPONENT); todo;
         todo = icalcomponent_get_next_component(calendar, ICAL_VTODO_COMPONENT)) {
        read += qsizetype(strlen(icalcomponent_get_uid(todo)) + strlen(icalcomponent_get_summary(todo)));
        if (const char *description = icalcomponent_get_description(todo))
            read += qsizetype(strlen(description));
        for (icalproperty *p = icalcomponent_get_first_property(todo, ICAL_ANY_PROPERTY); p;
             p = icalcomponent_get_next_property(todo, ICAL_ANY_PROPERTY)) {
            switch (icalproperty_isa(p)) {
            case ICAL_DTSTART_PROPERTY: read += icalproperty_get_dtstart(p).hour; break;
            case ICAL_DUE_PROPERTY: read += icalproperty_get_due(p).hour; break;
            case ICAL_STATUS_PROPERTY: read += icalproperty_get_status(p); break;
            case ICAL_PRIORITY_PROPERTY: read += icalproperty_get_priority(p); break;
            case ICAL_CATEGORIES_PROPERTY: read += qsizetype(strlen(icalproperty_get_categories(p))); break;
            case ICAL_LASTMODIFIED_PROPERTY: read += icalproperty_get_lastmodified(p).second; break;
            case ICAL_RRULE_PROPERTY: {
                icalrecurrencetype rule = icalproperty_get_rrule(p);
                char *ruleText = icalrecurrencetype_as_string_r(&rule);
                read += qsizetype(strlen(ruleText));
                icalmemory_free_buffer(ruleText);
                break;
            }
            default: break;
            }
        }
        if (icalcomponent *alarm = icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT))
            read += icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY)).time.hour;
    }
    icalcomponent_free(calendar);
    return read;
}

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void line(QTextStream &out, const char *what, double ms, double bare)
{
    out << "  " << what << ms << " ms";
    if (bare > 0)
        out << "  (" << QString::number(ms / bare, 'f', 2) << "x)";
    out << '\n';
}

// On a machine shared with other work the medians wander; the best round of each side is
// what the code itself costs.
void lines(QTextStream &out, const char *bareWhat, const std::vector<double> &bareMs, const char *what,
           const std::vector<double> &ms)
{
    const double bare = benchdata::median(bareMs);
    line(out, bareWhat, bare, 0);
    line(out, what, benchdata::median(ms), bare);
    const double bestBare = *std::min_element(bareMs.begin(), bareMs.end());
    out << "    best rounds: " << bestBare << " ms and " << *std::min_element(ms.begin(), ms.end()) << " ms  ("
        << QString::number(*std::min_element(ms.begin(), ms.end()) / bestBare, 'f', 2) << "x)\n";
}

} // namespace

int main(int argc, char **argv)
{
    benchdata::preferOffscreen();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    out << Qt::fixed;
    out.setRealNumberPrecision(1);

    const QList<CalendarWorkItem> items = makeItems();
    const std::vector<BareItem> bare = bareItems(items);
    std::vector<double> writeMs, bareWriteMs, readMs, bareReadMs;
    QByteArray text;
    QElapsedTimer timer;
    // Each round runs the two sides in turn, first one then the other, so neither always
    // finds the heap the other left behind.
    for (int round = 0; round < kRounds; ++round) {
        for (int side = 0; side < 2; ++side) {
            if ((round + side) % 2 == 0) {
                timer.restart();
                text = writeWorkItemCalendar(items, kZone);
                writeMs.push_back(msSince(timer));
                timer.restart();
                const CalendarReadResult read = readWorkItemCalendar(text, kZone);
                readMs.push_back(msSince(timer));
                if (read.items.size() != kItems) {
                    out << "read back " << read.items.size() << " items\n";
                    return 1;
                }
            } else {
                timer.restart();
                const QByteArray bareText = bareBuild(bare);
                bareWriteMs.push_back(msSince(timer));
                timer.restart();
                sink = sink + bareParse(bareText);
                bareReadMs.push_back(msSince(timer));
            }
        }
    }
    out << "iCalendar, " << kItems << " work items (" << text.size() / 1024 << " KB), median of " << kRounds << " rounds\n";
    const double bareWrite = benchdata::median(bareWriteMs);
    const double bareRead = benchdata::median(bareReadMs);
    lines(out, "bare libical build and write  ", bareWriteMs, "writeWorkItemCalendar         ", writeMs);
    lines(out, "bare libical parse and read   ", bareReadMs, "readWorkItemCalendar          ", readMs);

    // The commands as the menu runs them: rows and rich-text bodies in and out of the database.
    benchdata::ScratchProgram program;
    Database &database = program.database();
    if (!program.isReady()
        || !database.execute(QStringLiteral("Delete from TWork")) || !benchdata::addWorkItems(database, kItems, 512)
        // Every item the program stores has its UID; the generated rows get theirs before the
        // clock starts, or the export would time giving 10 000 rows a UID once.
        || !database.execute(fillMissingWorkItemUidsStatement())) {
        out << "cannot generate data\n";
        return 1;
    }
    QStringList idTexts;
    database.queryColumn(QStringLiteral("Select ID from TWork order by ID"), idTexts);
    QList<qint64> ids;
    for (const QString &id : idTexts)
        ids.append(id.toLongLong());
    SilentPrompter silent;
    platform::setPrompter(&silent);
    const QString path = program.filePath(QStringLiteral("bench.ics"));
    timer.restart();
    workcalendar::exportToFile(database, ids, path, kZone);
    const double exportMs = msSince(timer);
    database.execute(QStringLiteral("Delete from TWork"));
    timer.restart();
    workcalendar::importFromFile(database, path, kZone);
    const double importMs = msSince(timer);
    out << "the commands on the database, bodies of 512 bytes included (once)\n";
    line(out, "exportToFile                  ", exportMs, bareWrite);
    line(out, "importFromFile                ", importMs, bareRead);
    platform::setPrompter(nullptr);
    return 0;
}
