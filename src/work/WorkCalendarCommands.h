#pragma once

#include <QList>
#include <QString>
#include <QTimeZone>
#include <optional>

class Database;

// Work items to and from iCalendar files, as the work list's menu offers it. Dialogs and
// messages go through the Prompter; times in the database are wall-clock times of `zone`.
namespace workcalendar {

// Asks for a file and writes the items `ids` to it, in that order.
void exportWorkItems(Database &dm, const QList<qint64> &ids);
// Writes without asking: the number of items written, or nothing (after its message) when
// the file cannot be written.
std::optional<int> exportToFile(Database &dm, const QList<qint64> &ids, const QString &path,
                  const QTimeZone &zone = QTimeZone::systemTimeZone());

// Asks for a file and imports it. True when the database changed.
bool importWorkItems(Database &dm);
// Imports without the file dialog: the question about stored items and the final message
// still go through the Prompter. All or nothing, in one transaction.
bool importFromFile(Database &dm, const QString &path, const QTimeZone &zone = QTimeZone::systemTimeZone());

} // namespace workcalendar
