#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// A work item's repeat rule is an RFC 5545 RRULE value, stored as text in `RRule`; an empty
// text means the item does not repeat. Lunar yearly rules use the RFC 7529 form
// (RSCALE=CHINESE) and are expanded with the program's own lunar calendar.
namespace repeat {

// The choices of the editor's repeat row.
enum class Kind { None, Daily, Workdays, Weekly, Monthly, Yearly, LunarYearly };
enum class MonthlyBy { DayOfMonth, WeekdayOfMonth };
enum class Ending { Never, Until, Count };

// A rule as the editor's row shows it. The day a monthly, yearly or lunar rule falls on comes
// from the item's date when the rule is written (ruleText), and from the rule when read.
struct EditorRule {
    Kind kind = Kind::None;
    int interval = 1;
    QList<int> weekdays;            // weekly: 1 (Monday) … 7 (Sunday), ascending
    MonthlyBy monthlyBy = MonthlyBy::DayOfMonth;
    Ending ending = Ending::Never;
    QDate until;                    // Ending::Until: the last day that may hold an occurrence
    int count = 0;                  // Ending::Count: how many occurrences in all

    bool operator==(const EditorRule &) const = default;
};

// Empty when the rule can drive a work item; otherwise why not, in the user's words.
QString ruleProblem(const QString &rule);

// The rule in the editor's terms, or nothing when the row cannot show it (it is then kept as
// it stands). An empty rule reads as Kind::None.
std::optional<EditorRule> editorRule(const QString &rule);

// The RRULE text of an editor rule for an item dated `anchor`; empty for Kind::None.
QString ruleText(const EditorRule &rule, const QDate &anchor);

// The rule in plain Chinese ("每2周的周一、周五，到2027年6月30日", "每年农历八月十五"); a rule the
// editor cannot show is given as its own text; empty for no rule.
QString describeRule(const QString &rule);

// The first `limit` days (at most) the rule falls on, counted from a series that starts on
// `start`. As in RFC 5545, `start` is one of them only when the rule matches it. Empty for a
// rule with a problem.
QList<QDate> occurrences(const QString &rule, const QDate &start, int limit);

// The occurrence that follows one finished on `finished` (the start of the series its rule
// counts from): the first after it that is not before `today`. `rule` is the rule the new
// item carries: a COUNT then holds what is left of the series.
struct NextOccurrence {
    QDate date;
    QString rule;
};
std::optional<NextOccurrence> nextOccurrence(const QString &rule, const QDate &finished, const QDate &today);

// The Gregorian day of a lunar date in the lunar year that begins in Gregorian `year`;
// invalid when that month has no such day or lies outside the lunar calendar's range.
QDate lunarToGregorian(int year, int month, bool leapMonth, int day);

} // namespace repeat
