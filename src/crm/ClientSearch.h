#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantList>

// The two client searches, across all categories, as statements with their bound values.
struct ClientQuery {
    QString sql;
    QVariantList params;
};

// Clients whose name or short code contains `text`, matched literally (a % or _ in the text
// is an ordinary character), letter case aside; in name order.
ClientQuery clientsByNameQuery(const QString &text);

// Clients whose last contact activity was added before midnight at the start of the day
// `days` days before `now`; clients never contacted are not among them. In name order.
ClientQuery clientsNotContactedQuery(int days, const QDateTime &now);
