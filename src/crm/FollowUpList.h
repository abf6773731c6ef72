#pragma once

#include "widgets/GridColumn.h"

#include <QList>
#include <optional>

class Recordset;

// The follow-up list of a client (the third detail page of the client tab).

// Its columns, with the footer row of sums of quantity, amount and virtual value.
QList<GridColumn> followUpColumns();

// Loads the client's follow-ups, newest first, each with its step's title and rate. A
// follow-up whose step is no longer in the model is listed too, without them. With `stepId`,
// only the follow-ups on that step (-1: on a step no longer in the model).
bool loadFollowUps(Recordset &list, qint64 clientId, std::optional<qint64> stepId = std::nullopt);
