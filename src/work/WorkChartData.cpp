#include "work/WorkChartData.h"

#include "data/Database.h"
#include "data/Recordset.h"

#include <QHash>
#include <algorithm>

namespace {

// The type and priority filters of the list, as conditions with their values, each
// starting " and ".
QString filterCondition(const WorkFilter &filter, QVariantList &params)
{
    QString condition;
    if (!filter.workType.isEmpty()) {
        condition += QStringLiteral(" and WorkType like ? escape '\\'");
        params.append(likePrefix(filter.workType));
    }
    if (filter.priority >= 0) {
        condition += QStringLiteral(" and ZY=?");
        params.append(filter.priority);
    }
    return condition;
}

} // namespace

std::optional<QList<WorkTypeStates>> workItemsByType(Database &database, const WorkFilter &filter)
{
    QVariantList params;
    const QString condition = filterCondition(filter, params);
    const QString sql = QStringLiteral("Select WorkType, FinStu, count(*) from TWork %1 Group by WorkType, FinStu")
                            .arg(condition.isEmpty() ? QString() : QStringLiteral("Where") + condition.mid(4));
    QList<WorkTypeStates> types;
    QHash<QString, qsizetype> positions;
    Recordset rows(database);
    if (!rows.open(sql, params))
        return std::nullopt;
    for (int at = 0; at < rows.count(); ++at) {
        const auto row = [&](int column) { return rows.valueAt(at, column); };
        const QString type = row(0).toString();
        auto position = positions.constFind(type);
        if (position == positions.constEnd()) {
            position = positions.insert(type, types.size());
            types.append({type});
        }
        const int state = row(1).toInt();
        types[*position].counts[size_t(state >= 1 && state <= 3 ? state - 1 : 3)] += row(2).toInt();
    }
    std::sort(types.begin(), types.end(), [](const WorkTypeStates &a, const WorkTypeStates &b) {
        return a.total() != b.total() ? a.total() > b.total() : a.type < b.type;
    });
    return types;
}

std::optional<QList<WorkWeekColumn>> finishedPerWeek(Database &database, const WorkFilter &filter, const QDate &today)
{
    const QDate thisMonday = today.addDays(1 - today.dayOfWeek());
    const QDate first = thisMonday.addDays(-7 * 11);
    QList<WorkWeekColumn> weeks;
    for (int week = 0; week < 12; ++week)
        weeks.append({first.addDays(7 * week)});

    const QString firstDay = first.toString(Qt::ISODate);
    QVariantList params{firstDay};
    const QString condition = filterCondition(filter, params);
    params << firstDay << thisMonday.addDays(7).toString(Qt::ISODate);
    // The state index is no help here: finished items are a large share of a long-kept list.
    // An end date counts from 1900-04-10 on, as the list shows dates.
    const QString sql = QStringLiteral("Select CAST((julianday(substr(Done,1,10))-julianday(?))/7 AS INTEGER) as Week, count(*) "
                                       "from (Select case when TimeEnd>='1900-04-10' then TimeEnd else LastUpTime end as Done "
                                       "from TWork Where +FinStu=3%1) Where Done>=? and Done<? Group by Week")
                            .arg(condition);
    Recordset rows(database);
    if (!rows.open(sql, params))
        return std::nullopt;
    for (int at = 0; at < rows.count(); ++at) {
        const auto row = [&](int column) { return rows.valueAt(at, column); };
        const int week = row(0).toInt();
        if (week >= 0 && week < weeks.size())
            weeks[week].count += row(1).toInt();
    }
    return weeks;
}
