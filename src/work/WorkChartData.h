#pragma once

#include "work/WorkListQuery.h"

#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <optional>

class Database;

// The items of one work type, counted by processing state (FinStu 1 to 4).
struct WorkTypeStates {
    QString type;
    std::array<int, 4> counts{};
    int total() const { return counts[0] + counts[1] + counts[2] + counts[3]; }
};

// The items finished in one week, Monday to Sunday.
struct WorkWeekColumn {
    QDate monday;
    int count = 0;
};

// The charts count every state, so the states' share stays visible whatever states the list
// shows; the type and priority filters of the list apply.
//
// Each work type with its items, most items first (ties by type); items of a state outside 1
// to 4 count as abandoned, as the list colours them. nullopt when the table cannot be read.
std::optional<QList<WorkTypeStates>> workItemsByType(Database &database, const WorkFilter &filter);

// The twelve weeks up to and including the week of `today`, oldest first: the finished
// items (state 3) by the day they ended, their end date, or when it is empty, the day they
// were last saved. nullopt when the table cannot be read.
std::optional<QList<WorkWeekColumn>> finishedPerWeek(Database &database, const WorkFilter &filter, const QDate &today);
