#include "crm/FollowUpList.h"

#include "data/Recordset.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("FollowUpList", text);
}

} // namespace

QList<GridColumn> followUpColumns()
{
    const Qt::Alignment number = Qt::AlignRight | Qt::AlignVCenter;
    const auto sum = GridColumn::Footer::Sum;
    return {
        GridColumn{.field = QStringLiteral("ID"), .title = QStringLiteral("ID"), .visible = false},
        GridColumn{.field = QStringLiteral("ClientID"), .title = QStringLiteral("ClientID"), .visible = false},
        GridColumn{.field = QStringLiteral("GoodsName"), .title = tr("商品名称"), .width = 140,
                   .footer = GridColumn::Footer::Text, .footerText = tr("合计")},
        GridColumn{.field = QStringLiteral("Style"), .title = tr("规格型号"), .width = 90},
        GridColumn{.field = QStringLiteral("Price"), .title = tr("单价"), .width = 70, .alignment = number, .decimals = 2},
        // No fixed decimals: a whole quantity shows as "3", a part one with its decimals ("2.5"),
        // so that the rows add up to the footer as read.
        GridColumn{.field = QStringLiteral("Qty"), .title = tr("数量"), .width = 60, .alignment = number, .footer = sum},
        GridColumn{.field = QStringLiteral("StepID"), .title = QStringLiteral("StepID"), .visible = false},
        GridColumn{.field = QStringLiteral("Total"), .title = tr("金额"), .width = 80, .alignment = number, .decimals = 2,
                   .footer = sum},
        GridColumn{.field = QStringLiteral("StepTitle"), .title = tr("跟踪进度"), .width = 80},
        GridColumn{.field = QStringLiteral("Unit"), .title = tr("单位"), .width = 40},
        GridColumn{.field = QStringLiteral("StepRate"), .title = tr("价值比率"), .width = 60, .alignment = number,
                   .decimals = 2},
        GridColumn{.field = QStringLiteral("StepTotal"), .title = tr("虚拟价值"), .width = 80, .alignment = number,
                   .decimals = 2, .footer = sum},
    };
}

bool loadFollowUps(Recordset &list, qint64 clientId, std::optional<qint64> stepId)
{
    QVariantList params{clientId};
    QString step;
    if (stepId && *stepId < 0) {
        step = QStringLiteral(" and TCTrackStep.ID is null");
    } else if (stepId) {
        step = QStringLiteral(" and TCTrack.StepID=?");
        params.append(*stepId);
    }
    // A left join, so that no follow-up drops out of the list (and out of its sums) when
    // its step leaves the model.
    return list.open(QStringLiteral("Select TCTrack.*,TCTrackStep.StepRate,TCTrackStep.StepTitle from TCTrack "
                                    "left join TCTrackStep on TCTrackStep.ID=TCTrack.StepID "
                                    "Where TCTrack.ClientID=?%1 Order by TCTrack.ID desc").arg(step),
                     params);
}
