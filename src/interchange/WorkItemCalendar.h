#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>

// Work items as iCalendar to-dos (RFC 5545): the mapping both ways, with no database.
// Times here are wall-clock times of `zone`, as the database stores them; read ones come in
// Qt::UTC date-times that hold the plain date and time fields.

struct CalendarWorkItem {
    QString uid;
    QString title;
    QString body;              // plain text
    QStringList categories;    // written: the work type; read: every category, in order
    int state = 1;             // 1 not handled, 2 in progress, 3 finished, 4 abandoned
    int priority = 0;          // 0 normal, 1 urgent
    QDateTime start;           // invalid: none
    QDateTime end;             // invalid: none
    QDateTime reminder;        // invalid: no reminder
    QString repeatRule;        // an RRULE value; empty: none
    QDateTime lastModified;    // invalid: unknown
};

// A whole VCALENDAR with one VTODO per item, and the VTIMEZONE of `zone` when its times
// are written with it (a zone libical does not know is written in UTC instead).
QByteArray writeWorkItemCalendar(const QList<CalendarWorkItem> &items, const QTimeZone &zone);

struct CalendarSkip {
    enum class Reason { NoTitle, Unreadable, SingleOccurrenceChange, RepeatedUid };
    QString title;
    Reason reason;
};

struct CalendarReadResult {
    bool parsed = false;       // false: libical found no calendar in the text
    QList<CalendarWorkItem> items;
    QList<CalendarSkip> skipped;
};

// Every VTODO and VEVENT of the text (UTF-8 that icalendarfile has checked). A component
// without a UID gets one made from its content, so reading the same file twice gives the
// same UIDs. Times with a zone the machine does not know use the file's own VTIMEZONE.
CalendarReadResult readWorkItemCalendar(const QByteArray &utf8, const QTimeZone &zone);
