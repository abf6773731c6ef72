#include "crm/FollowUpChartData.h"

#include "crm/FollowUpValues.h"
#include "data/Database.h"
#include "data/Recordset.h"

namespace {

// Amounts are stored to the fen; counted in whole fen, 100 000 of them still add up exactly,
// where a sum of binary doubles may drift by a fen.
const char kFen[] = "CAST(ROUND(%1*100) AS INTEGER)";

QString fen(const char *column)
{
    return QString::fromLatin1(kFen).arg(QLatin1String(column));
}

// The follow-ups of the scope, as a condition on TCTrack with its values.
QString scopeCondition(const FollowUpScope &scope, QVariantList &params)
{
    switch (scope.kind) {
    case FollowUpScope::Client:
        params.append(scope.clientId);
        return QStringLiteral("TCTrack.ClientID=?");
    case FollowUpScope::Category:
        params.append(scope.categoryCode);
        return QStringLiteral("TCTrack.ClientID in (Select ID from TClient Where TypeCode=?)");
    case FollowUpScope::Everyone: break;
    }
    return QStringLiteral("1=1");
}

} // namespace

std::optional<QList<FollowUpStepBar>> followUpsByStep(Database &database, const FollowUpScope &scope)
{
    const std::optional<TrackStepModel> model = readTrackSteps(database);
    if (!model)
        return std::nullopt;
    QList<FollowUpStepBar> bars;
    for (const TrackStep &step : model->steps)
        bars.append({step.id, step.title});
    FollowUpStepBar lost{-1, QString()};

    QVariantList params;
    const QString sql = QStringLiteral("Select StepID, count(*), sum(%1), sum(%2) from TCTrack Where %3 Group by StepID")
                            .arg(fen("Total"), fen("StepTotal"), scopeCondition(scope, params));
    Recordset rows(database);
    if (!rows.open(sql, params))
        return std::nullopt;
    for (int at = 0; at < rows.count(); ++at) {
        const auto row = [&](int column) { return rows.valueAt(at, column); };
        const QVariant stepId = row(0);
        const int step = stepId.isNull() ? -1 : model->indexOf(stepId.toLongLong());
        FollowUpStepBar &bar = step >= 0 ? bars[step] : lost;
        bar.count += row(1).toInt();
        bar.amountFen += row(2).toLongLong();
        bar.virtualFen += row(3).toLongLong();
    }
    if (lost.count > 0)
        bars.append(lost);
    return bars;
}

std::optional<QList<FollowUpMonthColumn>> followUpsByMonth(Database &database, const FollowUpScope &scope,
                                                           const QDate &today)
{
    const QDate thisMonth(today.year(), today.month(), 1);
    QList<FollowUpMonthColumn> columns;
    for (int back = 11; back >= 0; --back)
        columns.append({thisMonth.addMonths(-back)});
    const std::optional<TrackStepModel> model = readTrackSteps(database);
    if (!model)
        return std::nullopt;

    // Record times are ISO text; a month's text prefix names it, and the range keeps the
    // index-free scan to one comparison a row.
    QVariantList params{model->finishedStepId};
    const QString condition = scopeCondition(scope, params);
    params << thisMonth.addMonths(-11).toString(Qt::ISODate) << thisMonth.addMonths(1).toString(Qt::ISODate);
    const QString sql = QStringLiteral("Select substr(RecTime,1,7) as Month, StepID=? as Won, sum(%1) from TCTrack "
                                       "Where %2 and RecTime>=? and RecTime<? Group by Month, Won")
                            .arg(fen("Total"), condition);
    Recordset rows(database);
    if (!rows.open(sql, params))
        return std::nullopt;
    for (int at = 0; at < rows.count(); ++at) {
        const auto row = [&](int column) { return rows.valueAt(at, column); };
        const QDate month = QDate::fromString(row(0).toString() + QStringLiteral("-01"), Qt::ISODate);
        for (FollowUpMonthColumn &column : columns) {
            if (column.month == month)
                (row(1).toInt() == 1 ? column.wonFen : column.otherFen) += row(2).toLongLong();
        }
    }
    return columns;
}

QString yuanText(qint64 fen)
{
    const bool negative = fen < 0;
    const quint64 magnitude = negative ? quint64(-(fen + 1)) + 1 : quint64(fen);
    QString whole = QString::number(magnitude / 100);
    for (int at = whole.size() - 3; at > 0; at -= 3)
        whole.insert(at, QLatin1Char(','));
    return (negative ? QStringLiteral("-") : QString()) + whole + QLatin1Char('.')
        + QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}
