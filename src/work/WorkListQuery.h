#pragma once

#include <QString>
#include <QVariantList>
#include <array>

// What the work list shows: the filters above it.
struct WorkFilter {
    QString workType;                 // empty: every type; otherwise a prefix of the type
    int priority = -1;                // -1: every priority; otherwise the ZY value
    std::array<bool, 4> states{true, true, false, false}; // FinStu 1 to 4
};

struct WorkListQuery {
    QString sql;
    QVariantList params;
};

// The list's statement: the columns of the list, the filters, ordered by ID. No state chosen
// gives an empty list.
WorkListQuery buildWorkListQuery(const WorkFilter &filter);

// Names of the processing states as the list shows them, indexed by FinStu - 1.
inline const QStringList &workStateNames()
{
    static const QStringList names{QStringLiteral("未处理"), QStringLiteral("正在处理"), QStringLiteral("已完成"),
                                   QStringLiteral("废弃")};
    return names;
}
