#include "crm/FollowUpValues.h"

#include "data/Recordset.h"
#include "util/AmountCapitals.h"

#include <QLocale>
#include <QRegularExpression>

int TrackStepModel::indexOf(qint64 stepId) const
{
    for (int i = 0; i < steps.size(); ++i) {
        if (steps.at(i).id == stepId)
            return i;
    }
    return -1;
}

std::optional<TrackStepModel> readTrackSteps(Database &database)
{
    Recordset rows(database);
    if (!rows.open(QStringLiteral("Select * from TCTrackStep Order by StepIndex ASC")))
        return std::nullopt;
    TrackStepModel model;
    for (int row = 0; row < rows.count(); ++row) {
        rows.moveTo(row);
        const qint64 id = rows.integer(QStringLiteral("ID"));
        const double rate = rows.number(QStringLiteral("StepRate"));
        model.steps.append({id, rows.text(QStringLiteral("StepTitle")), plainNumber(rate)});
        // A later step with the same special rate takes its place.
        if (rate == 100)
            model.finishedStepId = id;
        else if (rate == 0)
            model.deadStepId = id;
    }
    return model;
}

QString moneyText(double value)
{
    return QString::number(value, 'f', 2);
}

QString storedNumberText(double value)
{
    const QString money = moneyText(value);
    return money.toDouble() == value ? money : plainNumber(value);
}

QString plainNumber(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

std::optional<double> boxNumber(const QString &text)
{
    // Digits with at most one point: what the boxes' key filters let through. Anything else
    // (two points, a pasted sign or exponent) is no number here.
    static const QRegularExpression plain(QStringLiteral(R"(^\s*(\d+\.?\d*|\.\d+)\s*$)"));
    if (!plain.match(text).hasMatch())
        return std::nullopt;
    return text.trimmed().toDouble();
}

bool needsCorrection(const QString &text)
{
    return text.isEmpty() || text == QLatin1String(".");
}

std::optional<QString> followUpAmount(const QString &quantity, const QString &price)
{
    const std::optional<double> qty = boxNumber(quantity);
    const std::optional<double> each = boxNumber(price);
    if (!qty || !each)
        return std::nullopt;
    return roundedToFen(decimalProduct(quantity, price));
}

std::optional<QString> followUpVirtualValue(const QString &amount, const QString &rate)
{
    const std::optional<double> total = boxNumber(amount);
    const std::optional<double> percent = boxNumber(rate);
    if (!total || !percent)
        return std::nullopt;
    return roundedToFen(decimalProduct(amount, rate, 2));
}
