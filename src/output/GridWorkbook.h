#pragma once

#include "widgets/GridColumn.h"

#include <QList>
#include <QString>

class Recordset;

// Writes a list into a new .xlsx workbook: the title in A1, the captions of the visible
// columns in row 2, and from row 3 each row's stored values — numbers as numbers, dates as
// dates, text as text. The file appears complete or not at all: it is written beside `path`
// under a temporary name, flushed and then renamed. False when it could not be written
// (no room, no permission); nothing is left behind then.
bool writeGridWorkbook(const QString &path, const QString &title, const QList<GridColumn> &columns,
                       const Recordset &rows);
