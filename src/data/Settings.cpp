#include "data/Settings.h"

#include "data/PlaceZones.h"
#include "data/Recordset.h"
#include "data/Schema.h"
#include "data/Database.h"
#include "data/WorkItemUid.h"

#include <algorithm>

namespace {

const QString kSettingsRow = QStringLiteral("Select * from TPara LIMIT 1");

struct Statement {
    QString sql;
    QVariantList params;
};

struct UpgradeStep {
    QString column;
    QList<Statement> statements;
};

void runPair(Database &database, const QList<Statement> &statements, QStringList &ran)
{
    for (const Statement &statement : statements) {
        ran.append(statement.sql);
        if (!database.execute(statement.sql, statement.params))
            return;
    }
}

} // namespace

bool fieldExists(const QString &name, const Recordset &recordset)
{
    return recordset.hasField(name);
}

QStringList upgradeSchema(Database &database, const QString &programFolder)
{
    QStringList ran;
    Recordset rs(database);
    if (!rs.open(kSettingsRow))
        return ran;
    const QList<UpgradeStep> settingsSteps{
        {QStringLiteral("AutoHide"),
         {{QStringLiteral("alter table TPara add AutoHide int"), {}}, {QStringLiteral("Update TPara Set AutoHide=1"), {}}}},
        {QStringLiteral("AutoBak"),
         {{QStringLiteral("alter table TPara add AutoBak int"), {}}, {QStringLiteral("Update TPara Set AutoBak=1"), {}}}},
        {QStringLiteral("AutoBakPath"),
         {{QStringLiteral("alter table TPara add AutoBakPath text"), {}},
          {QStringLiteral("Update TPara Set AutoBakPath=?"), {programFolder + QStringLiteral("Bak/")}}}},
        {QStringLiteral("AutoBakType"),
         {{QStringLiteral("alter table TPara add AutoBakType text"), {}},
          {QStringLiteral("Update TPara Set AutoBakType='0,12:30'"), {}}}},
        {QStringLiteral("WinMaximized"),
         {{QStringLiteral("alter table TPara add WinMaximized int"), {}}, {QStringLiteral("Update TPara Set WinMaximized=0"), {}}}},
        // An existing installation keeps all its backups until the user says otherwise.
        {QStringLiteral("AutoBakKeep"),
         {{QStringLiteral("alter table TPara add AutoBakKeep int"), {}}, {QStringLiteral("Update TPara Set AutoBakKeep=0"), {}}}},
    };
    for (const UpgradeStep &step : settingsSteps) {
        if (!fieldExists(step.column, rs))
            runPair(database, step.statements, ran); // a failed pair is skipped; the next one still runs
    }

    if (!rs.open(QStringLiteral("Select * from TWork LIMIT 1")))
        return ran;
    if (!fieldExists(QStringLiteral("HasHinted"), rs))
        runPair(database, {{QStringLiteral("alter table TWork add HasHinted int"), {}}, {QStringLiteral("Update TWork Set HasHinted=0"), {}}}, ran);
    // An item without a repeat rule keeps an empty one: older versions read the file as before.
    if (!fieldExists(QStringLiteral("RRule"), rs))
        runPair(database, {{QStringLiteral("alter table TWork add RRule text"), {}}}, ran);
    if (!fieldExists(QStringLiteral("UID"), rs))
        runPair(database, {{QStringLiteral("alter table TWork add UID text"), {}}, {fillMissingWorkItemUidsStatement(), {}}}, ran);
    if (database.queryValue(QStringLiteral("Select count(*) from sqlite_master where type='index' and name='IX_TWork_PendingReminder'"))
        == QStringLiteral("0"))
        runPair(database, {{pendingReminderIndexStatement(), {}}}, ran);

    for (const QString &table : syncTables()) {
        if (database.queryValue(QStringLiteral("Select count(*) from sqlite_master where type='table' and name=?"), {table})
            != QStringLiteral("0"))
            continue;
        QList<Statement> create;
        for (const QString &statement : syncTableStatements(table))
            create.append({statement, {}});
        runPair(database, create, ran);
    }
    if (database.queryValue(QStringLiteral("Select count(*) from sqlite_master where type='trigger' and name like 'TSync%'"))
        != QString::number(syncTriggerStatements().size())) {
        QList<Statement> create;
        for (const QString &statement : syncTriggerStatements())
            create.append({statement, {}});
        runPair(database, create, ran);
    }

    if (rs.open(QStringLiteral("Select * from TTimeZone LIMIT 1")) && !fieldExists(QStringLiteral("ZoneName"), rs)) {
        const PlaceZoneFill fill = placeZoneFill();
        runPair(database, {{QStringLiteral("alter table TTimeZone add ZoneName text"), {}}, {fill.sql, fill.params}}, ran);
    }
    return ran;
}

std::optional<Settings> loadSettings(Database &database)
{
    Recordset rs(database);
    if (!rs.open(kSettingsRow))
        return std::nullopt;
    Settings settings;
    if (rs.isEmpty())
        return settings;
    // Column by column in the stored order: one missing column (an older or damaged file)
    // must not drop the others, above all not the login password and its switch.
    auto read = [&rs](const char *column, auto apply) {
        const QString name = QLatin1String(column);
        if (fieldExists(name, rs))
            apply(name);
    };
    read("LogPass", [&](const QString &name) { settings.loginPassword = rs.text(name); });
    read("AutoHide", [&](const QString &name) { settings.hideAtStart = rs.integer(name) != 0; });
    read("AutoBak", [&](const QString &name) { settings.autoBackup = rs.integer(name) != 0; });
    read("AutoBakPath", [&](const QString &name) { settings.autoBackupFolder = rs.text(name); });
    read("AutoBakTYpe", [&](const QString &name) { settings.autoBackupSchedule = rs.text(name); });
    read("ColorWorkNoDeal", [&](const QString &name) { settings.pendingWorkColor = int(rs.integer(name)); });
    read("ColorWorkNowDeal", [&](const QString &name) { settings.inProgressWorkColor = int(rs.integer(name)); });
    read("ColorWorkFin", [&](const QString &name) { settings.finishedWorkColor = int(rs.integer(name)); });
    read("ColorWorkWaste", [&](const QString &name) { settings.abandonedWorkColor = int(rs.integer(name)); });
    read("UsePassLog", [&](const QString &name) { settings.requirePassword = rs.boolean(name); });
    read("LastDocWidth", [&](const QString &name) { settings.workListWidth = int(rs.integer(name)); });
    read("StartWithWIn", [&](const QString &name) { settings.startAtLogin = rs.boolean(name); });
    read("WinMaximized", [&](const QString &name) { settings.windowMaximized = rs.integer(name) != 0; });
    read("AutoBakKeep", [&](const QString &name) { settings.autoBackupKeep = std::max(0, int(rs.integer(name))); });
    return settings;
}

SaveResult saveSettings(Database &database, const Settings &settings)
{
    Recordset rs(database);
    if (!rs.open(kSettingsRow))
        return SaveResult::Unreadable;
    rs.edit();
    const bool set = rs.set(QStringLiteral("ColorWorkNoDeal"), settings.pendingWorkColor)
                     && rs.set(QStringLiteral("ColorWorkNowDeal"), settings.inProgressWorkColor)
                     && rs.set(QStringLiteral("ColorWorkFin"), settings.finishedWorkColor)
                     && rs.set(QStringLiteral("ColorWorkWaste"), settings.abandonedWorkColor)
                     && rs.set(QStringLiteral("UsePassLog"), settings.requirePassword)
                     && rs.set(QStringLiteral("LastDocWidth"), settings.workListWidth)
                     && rs.set(QStringLiteral("AutoBakTYpe"), settings.autoBackupSchedule)
                     && rs.set(QStringLiteral("StartWithWIn"), settings.startAtLogin)
                     && rs.set(QStringLiteral("AutoHide"), settings.hideAtStart ? 1 : 0)
                     && rs.set(QStringLiteral("AutoBak"), settings.autoBackup ? 1 : 0)
                     && rs.set(QStringLiteral("AutoBakPath"), settings.autoBackupFolder)
                     && rs.set(QStringLiteral("WinMaximized"), settings.windowMaximized ? 1 : 0)
                     && rs.set(QStringLiteral("AutoBakKeep"), std::max(0, settings.autoBackupKeep));
    return set && rs.post() ? SaveResult::Saved : SaveResult::NotStored;
}

bool saveLoginPassword(Database &database, const QString &storedPassword)
{
    Recordset rs(database);
    if (!rs.open(kSettingsRow))
        return false;
    rs.edit();
    return rs.set(QStringLiteral("LogPass"), storedPassword) && rs.post();
}
