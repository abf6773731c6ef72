#include "data/Settings.h"

#include "data/Recordset.h"
#include "data/TDM.h"

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

void runPair(TDM &dm, const QList<Statement> &statements, QStringList &ran)
{
    for (const Statement &statement : statements) {
        ran.append(statement.sql);
        if (!dm.execute(statement.sql, statement.params))
            return;
    }
}

} // namespace

bool FieldExists(const QString &name, const Recordset &recordset)
{
    return recordset.hasField(name);
}

QStringList upgradeSchema(TDM &dm, const QString &programFolder)
{
    QStringList ran;
    Recordset rs(dm);
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
    };
    for (const UpgradeStep &step : settingsSteps) {
        if (!FieldExists(step.column, rs))
            runPair(dm, step.statements, ran); // a failed pair is skipped; the next one still runs
    }

    if (!rs.open(QStringLiteral("Select * from TWork LIMIT 1")))
        return ran;
    if (!FieldExists(QStringLiteral("HasHinted"), rs))
        runPair(dm, {{QStringLiteral("alter table TWork add HasHinted int"), {}}, {QStringLiteral("Update TWork Set HasHinted=0"), {}}}, ran);
    return ran;
}

std::optional<Settings> loadSettings(TDM &dm)
{
    Recordset rs(dm);
    if (!rs.open(kSettingsRow))
        return std::nullopt;
    Settings settings;
    if (rs.isEmpty())
        return settings;
    // Column by column in the stored order: one missing column (an older or damaged file)
    // must not drop the others, above all not the login password and its switch.
    auto read = [&rs](const char *column, auto apply) {
        const QString name = QLatin1String(column);
        if (FieldExists(name, rs))
            apply(name);
    };
    read("LogPass", [&](const QString &name) { settings.logPass = rs.text(name); });
    read("AutoHide", [&](const QString &name) { settings.autoHide = rs.integer(name) != 0; });
    read("AutoBak", [&](const QString &name) { settings.autoBak = rs.integer(name) != 0; });
    read("AutoBakPath", [&](const QString &name) { settings.autoBakPath = rs.text(name); });
    read("AutoBakTYpe", [&](const QString &name) { settings.autoBakType = rs.text(name); });
    read("ColorWorkNoDeal", [&](const QString &name) { settings.colorWorkNoDeal = int(rs.integer(name)); });
    read("ColorWorkNowDeal", [&](const QString &name) { settings.colorWorkNowDeal = int(rs.integer(name)); });
    read("ColorWorkFin", [&](const QString &name) { settings.colorWorkFin = int(rs.integer(name)); });
    read("ColorWorkWaste", [&](const QString &name) { settings.colorWorkWaste = int(rs.integer(name)); });
    read("UsePassLog", [&](const QString &name) { settings.usePassLog = rs.boolean(name); });
    read("LastDocWidth", [&](const QString &name) { settings.lastDocWidth = int(rs.integer(name)); });
    read("StartWithWIn", [&](const QString &name) { settings.startWithWin = rs.boolean(name); });
    return settings;
}

SaveResult saveSettings(TDM &dm, const Settings &settings)
{
    Recordset rs(dm);
    if (!rs.open(kSettingsRow))
        return SaveResult::Unreadable;
    rs.edit();
    const bool set = rs.set(QStringLiteral("ColorWorkNoDeal"), settings.colorWorkNoDeal)
                     && rs.set(QStringLiteral("ColorWorkNowDeal"), settings.colorWorkNowDeal)
                     && rs.set(QStringLiteral("ColorWorkFin"), settings.colorWorkFin)
                     && rs.set(QStringLiteral("ColorWorkWaste"), settings.colorWorkWaste)
                     && rs.set(QStringLiteral("UsePassLog"), settings.usePassLog)
                     && rs.set(QStringLiteral("LastDocWidth"), settings.lastDocWidth)
                     && rs.set(QStringLiteral("AutoBakTYpe"), settings.autoBakType)
                     && rs.set(QStringLiteral("StartWithWIn"), settings.startWithWin)
                     && rs.set(QStringLiteral("AutoHide"), settings.autoHide ? 1 : 0)
                     && rs.set(QStringLiteral("AutoBak"), settings.autoBak ? 1 : 0)
                     && rs.set(QStringLiteral("AutoBakPath"), settings.autoBakPath);
    return set && rs.post() ? SaveResult::Saved : SaveResult::NotStored;
}

bool saveLoginPassword(TDM &dm, const QString &storedPassword)
{
    Recordset rs(dm);
    if (!rs.open(kSettingsRow))
        return false;
    rs.edit();
    return rs.set(QStringLiteral("LogPass"), storedPassword) && rs.post();
}
