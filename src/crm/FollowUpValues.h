#pragma once

#include <QList>
#include <QString>
#include <optional>

class Database;

// One progress step of the value model, as the follow-up editor offers it.
struct TrackStep {
    qint64 id = -1;
    QString title;
    QString rateText; // the rate in percent, as plain number text
};

// The progress-step value model, in StepIndex order. A deal on the last step with the rate
// 100 is won, on the last with the rate 0 lost; either way it is closed to changes.
struct TrackStepModel {
    QList<TrackStep> steps;
    qint64 finishedStepId = -1;
    qint64 deadStepId = -1;

    bool closes(qint64 stepId) const { return stepId >= 0 && (stepId == finishedStepId || stepId == deadStepId); }
    // The position of the step in `steps`; -1 when the model has no such step.
    int indexOf(qint64 stepId) const;
};

// Reads the model afresh; nullopt when the table cannot be read.
std::optional<TrackStepModel> readTrackSteps(Database &database);

// A number as a box shows it: "0.00".
QString moneyText(double value);
// A stored number in a box: "0.00" when that keeps its value, else all its decimals, so
// that saving an item unchanged stores the same number ("12.345" stays so).
QString storedNumberText(double value);
// A stored number as its plain text: no exponent, no trailing zeros ("1580", "12.5").
QString plainNumber(double value);
// The number a box holds; nullopt for text that is no plain decimal number.
std::optional<double> boxNumber(const QString &text);
// An empty box or one holding only a point: the computations first put a default number in.
bool needsCorrection(const QString &text);

// Amount = quantity × price, and virtual value = amount × rate / 100, both as "0.00" worked
// out on the decimal digits and rounded half up;
// nullopt when a box's text is no number, so the computation stops and nothing changes.
std::optional<QString> followUpAmount(const QString &quantity, const QString &price);
std::optional<QString> followUpVirtualValue(const QString &amount, const QString &rate);
