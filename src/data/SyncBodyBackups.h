#pragma once

#include <QDateTime>

class Database;

// Bodies of work items that a description changed on the calendar server replaced: the sync
// keeps each one before it writes the server's plain text, and the item's menu puts it back.

bool hasBodyBackup(Database &db, qint64 workId);
// Puts the latest kept body back; the body it replaces is kept in its place, so a restore can
// be undone the same way. False when there is none or it cannot be written.
bool restoreBodyBackup(Database &db, qint64 workId, const QDateTime &now);
