#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

class Database;

// Which follow-ups a chart counts: every one, those of the clients filed under one category
// code, or one client's.
struct FollowUpScope {
    enum Kind { Everyone, Category, Client };
    Kind kind = Everyone;
    qint64 clientId = -1;
    QString categoryCode;
};

// The follow-ups on one progress step. Money is in fen, summed exactly.
struct FollowUpStepBar {
    qint64 stepId = -1;       // -1: follow-ups whose step is no longer in the model
    QString title;
    int count = 0;
    qint64 amountFen = 0;     // sum of Total
    qint64 virtualFen = 0;    // sum of StepTotal, as the list's footer sums it
};

// One month's amounts: the deals won (on the closing 100 % step) and all the others.
struct FollowUpMonthColumn {
    QDate month;              // its first day
    qint64 wonFen = 0;
    qint64 otherFen = 0;
};

// Every step of the model in StepIndex order, each with its follow-ups (none is a zero
// bar), then one bar for follow-ups whose step left the model, when there are any.
// nullopt when the tables cannot be read.
std::optional<QList<FollowUpStepBar>> followUpsByStep(Database &database, const FollowUpScope &scope);

// The twelve months up to and including the month of `today`, oldest first, by the month
// of each follow-up's record time. Follow-ups without a record time are left out.
std::optional<QList<FollowUpMonthColumn>> followUpsByMonth(Database &database, const FollowUpScope &scope,
                                                           const QDate &today);

// Fen as yuan with two decimals and thousands separators: 123456789 gives "1,234,567.89".
QString yuanText(qint64 fen);
