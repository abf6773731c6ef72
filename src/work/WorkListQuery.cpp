#include "work/WorkListQuery.h"

#include "data/Sqlite.h"

#include <QStringList>

WorkListQuery buildWorkListQuery(const WorkFilter &filter)
{
    WorkListQuery query;
    query.sql = QStringLiteral("Select ID,Title,TimeStart,TimeEnd,WorkType,FinStu,LastUpTime,ZY,UseTimeHint,TimeHint "
                               "from TWork where 1=1");
    if (!filter.workType.isEmpty()) {
        query.sql += QStringLiteral(" and WorkType like ? escape '\\'");
        query.params.append(likePrefix(filter.workType));
    }
    if (filter.priority >= 0) {
        query.sql += QStringLiteral(" and ZY=?");
        query.params.append(filter.priority);
    }
    QStringList states;
    for (int state = 1; state <= 4; ++state) {
        if (filter.states[size_t(state - 1)])
            states.append(QStringLiteral("+FinStu=%1").arg(state));
    }
    // The unary + keeps SQLite off the state index: with four states, each holds a large share
    // of the rows, and reading the table in ID order beats looking every row up from the index.
    query.sql += states.isEmpty() ? QStringLiteral(" and FinStu=-1")
                                  : QStringLiteral(" and (%1)").arg(states.join(QStringLiteral(" Or ")));
    query.sql += QStringLiteral(" Order by ID");
    return query;
}
