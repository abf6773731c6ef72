#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The tables of the database file with their declared types. Dates are DATETIME/DATE
// (ISO text), Yes/No columns BOOLEAN (0/1), long binary BLOB; every table has the key `ID`.
struct ColumnDef {
    const char *name;
    const char *type;
};

struct TableDef {
    const char *name;
    std::vector<ColumnDef> columns; // without `ID`, which every table has first
};

const std::vector<TableDef> &schemaTables();

// The index of the work items with a reminder still to come, so that the reminder cache
// reads those few rows instead of the whole work table. Every new file has it; the start-up
// upgrade adds it to an older one.
QString pendingReminderIndexStatement();

QString createTableStatement(const TableDef &table);

// The tables of the calendar and contacts server, which the start-up upgrade adds to an older
// file: the account, then the sync state. Clearing the data empties the state but keeps the
// account; after a restore the state is distrusted, so the next sync compares every item
// again and passes on no deletion it cannot be sure of.
QStringList syncTables();
QStringList syncStateTables();
// CREATE TABLE and CREATE INDEX statements of one of them.
QStringList syncTableStatements(const QString &table);
QStringList distrustSyncStateStatements();
// The triggers that count the local changes of the synced tables.
QStringList syncTriggerStatements();

// CREATE TABLE and CREATE INDEX statements for an empty database.
QStringList schemaStatements();
