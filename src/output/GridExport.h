#pragma once

#include <QDateTime>
#include <QString>

class DataGrid;

// Sends what a list shows to the desktop's spreadsheet program: the workbook is kept in the
// user's documents folder under the title and the moment, and opened from there. Without a
// program to open it, the user is told where it is and may open its folder.
void exportGridToSpreadsheet(const QString &title, DataGrid &grid);

// "<documents>/<title> yyyy-MM-dd HHmmss.xlsx"; characters a file name cannot hold become "_".
// Where that file exists (a second export within the same second), " (2)", " (3)" … go before
// the extension: an earlier export, perhaps edited since, is never replaced.
QString exportFilePath(const QString &documentsFolder, const QString &title, const QDateTime &moment);
