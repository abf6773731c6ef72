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
    for (const char *column : {"LogPass", "AutoHide", "AutoBak", "AutoBakPath", "AutoBakTYpe", "ColorWorkNoDeal",
                               "ColorWorkNowDeal", "ColorWorkFin", "ColorWorkWaste", "UsePassLog", "LastDocWidth",
                               "StartWithWIn"}) {
        if (!FieldExists(QLatin1String(column), rs))
            return std::nullopt;
    }
    Settings settings;
    if (rs.isEmpty())
        return settings;
    settings.logPass = rs.text(QStringLiteral("LogPass"));
    settings.autoHide = rs.integer(QStringLiteral("AutoHide")) != 0;
    settings.autoBak = rs.integer(QStringLiteral("AutoBak")) != 0;
    settings.autoBakPath = rs.text(QStringLiteral("AutoBakPath"));
    settings.autoBakType = rs.text(QStringLiteral("AutoBakTYpe"));
    settings.colorWorkNoDeal = int(rs.integer(QStringLiteral("ColorWorkNoDeal")));
    settings.colorWorkNowDeal = int(rs.integer(QStringLiteral("ColorWorkNowDeal")));
    settings.colorWorkFin = int(rs.integer(QStringLiteral("ColorWorkFin")));
    settings.colorWorkWaste = int(rs.integer(QStringLiteral("ColorWorkWaste")));
    settings.usePassLog = rs.boolean(QStringLiteral("UsePassLog"));
    settings.lastDocWidth = int(rs.integer(QStringLiteral("LastDocWidth")));
    settings.startWithWin = rs.boolean(QStringLiteral("StartWithWIn"));
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
