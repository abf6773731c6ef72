#pragma once

#include "interchange/WorkItemCalendar.h"

#include <QDateTime>
#include <QStringList>
#include <QVariantList>

class Recordset;

// Work item rows of `TWork` as calendar items and back, shared by the calendar files and the
// calendar server. The body is left to the caller: its plain text needs the document store.

// The columns itemOfWorkRow() reads.
inline constexpr const char *kWorkItemColumns = "ID, Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, LastUpTime, "
                                                "UseTimeHint, TimeHint, Content, RRule, UID";

// A stored date as plain date and time fields (Qt::UTC); invalid when empty.
QDateTime storedWorkTime(const QVariant &stored);

// The current row of `rows` without its body.
CalendarWorkItem itemOfWorkRow(const Recordset &rows);

// The work type of an item read from a calendar: a category that is one of `types`; else the
// categories joined again, as a type whose title holds a comma comes back in pieces; else
// the first type, as the editor would preselect.
QString workTypeOfCategories(const QStringList &categories, const QStringList &types);

// As long as the editor lets a subject be.
inline constexpr int kWorkTitleLength = 50;

// The values of Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, LastUpTime, UseTimeHint,
// TimeHint, then the plain body (kWorkBodyValue) and RRule, for an insert or update. A title
// longer than the editor allows is cut, and the whole of it starts the body.
QVariantList workRowValues(const CalendarWorkItem &item, const QStringList &types, const QDateTime &now);
inline constexpr int kWorkBodyValue = 9;
