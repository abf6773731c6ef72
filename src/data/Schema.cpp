#include "data/Schema.h"

namespace {

// Columns shared by the two category tables of the code scheme.
std::vector<ColumnDef> categoryColumns()
{
    return {{"TypeCode", "TEXT"}, {"TypeName", "TEXT"}, {"ParTypeCode", "TEXT"}, {"nLeveal", "INTEGER"}};
}

std::vector<TableDef> buildTables()
{
    return {
        {"TPara",
         {{"LogPass", "TEXT"},
          {"UsePassLog", "BOOLEAN"},
          {"ColorWorkNoDeal", "INTEGER"},
          {"ColorWorkNowDeal", "INTEGER"},
          {"ColorWorkFin", "INTEGER"},
          {"ColorWorkWaste", "INTEGER"},
          {"LastDocWidth", "INTEGER"},
          {"StartWithWIn", "BOOLEAN"},
          {"AutoHide", "INTEGER"},
          {"AutoBak", "INTEGER"},
          {"AutoBakPath", "TEXT"},
          {"AutoBakType", "TEXT"},
          {"WinMaximized", "INTEGER"},
          {"AutoBakKeep", "INTEGER"}}},
        {"TWork",
         {{"Title", "VARCHAR(50)"},
          {"WorkType", "VARCHAR(50)"},
          {"FinStu", "INTEGER"},
          {"ZY", "INTEGER"},
          {"TimeStart", "DATETIME"},
          {"TimeEnd", "DATETIME"},
          {"LastUpTime", "DATETIME"},
          {"UseTimeHint", "INTEGER"},
          {"TimeHint", "DATETIME"},
          {"HasHinted", "INTEGER"},
          {"Content", "BLOB"},
          {"RRule", "TEXT"},
          {"UID", "TEXT"}}},
        {"TWorkClass", {{"Title", "TEXT"}, {"OrderIdx", "INTEGER"}}},
        {"TClientClass", categoryColumns()},
        {"TClient",
         {{"TypeCode", "TEXT"},       {"TypeName", "TEXT"},   {"ClientName", "TEXT"},
          {"ClientCode", "TEXT"},     {"ClientType", "TEXT"}, {"ClientComeFrom", "TEXT"},
          {"Address", "TEXT"},        {"PostCode", "TEXT"},   {"Tele", "TEXT"},
          {"MobileCode", "TEXT"},     {"Fax", "TEXT"},        {"EMail", "TEXT"},
          {"HomePage", "TEXT"},       {"QICQ", "TEXT"},       {"ALWW", "TEXT"},
          {"WW", "TEXT"},             {"ZFBCode", "TEXT"},    {"TaxCode", "TEXT"},
          {"Bank", "TEXT"},           {"BankNo", "TEXT"},     {"Desp", "TEXT"},
          {"RecTime", "DATETIME"},    {"LastLinkTime", "DATETIME"}, {"SalerName", "TEXT"}}},
        {"TCLinker",
         {{"ClientID", "INTEGER"}, {"Linker", "TEXT"},   {"IsMain", "INTEGER"},   {"Depart", "TEXT"},
          {"Job", "TEXT"},         {"Tele", "TEXT"},     {"MobileCode", "TEXT"},  {"HomeTele", "TEXT"},
          {"Fax", "TEXT"},         {"QICQ", "TEXT"},     {"WW", "TEXT"},          {"ALWW", "TEXT"},
          {"ZFBCode", "TEXT"},     {"EMail", "TEXT"},    {"Birthday", "DATE"},    {"Address", "TEXT"},
          {"Fancy", "TEXT"},       {"Desp", "TEXT"}}},
        {"TCLinkRec",
         {{"ClientID", "INTEGER"}, {"GoDate", "DATE"}, {"Title", "TEXT"}, {"Dealer", "TEXT"},
          {"RunStyle", "TEXT"},    {"HintDate", "DATE"}, {"Desp", "TEXT"}}},
        {"TCTrack",
         {{"ClientID", "INTEGER"}, {"GoodsName", "TEXT"}, {"Style", "TEXT"},  {"Unit", "TEXT"},
          {"Price", "REAL"},       {"Qty", "REAL"},       {"Total", "REAL"},  {"StepID", "INTEGER"},
          {"StepTotal", "REAL"},   {"Desp", "TEXT"},      {"RecTime", "DATETIME"}}},
        {"TCTrackStep", {{"StepIndex", "INTEGER"}, {"StepTitle", "TEXT"}, {"StepRate", "REAL"}}},
        {"TGoodsClass", categoryColumns()},
        {"TGoods",
         {{"TypeCode", "TEXT"}, {"GoodsCode", "TEXT"}, {"GoodsName", "TEXT"}, {"Style", "TEXT"},
          {"Unit", "TEXT"},     {"Price", "REAL"},     {"Desp", "TEXT"}}},
        {"TLinkerClass", {{"TitleName", "TEXT"}}},
        {"TLinker",
         {{"ClassID", "INTEGER"},       {"Linker", "VARCHAR(30)"},   {"Job", "VARCHAR(20)"},
          {"Tele", "VARCHAR(30)"},      {"MobileCode", "VARCHAR(30)"}, {"HomeTele", "VARCHAR(30)"},
          {"Fax", "VARCHAR(20)"},       {"QICQ", "VARCHAR(50)"},     {"ALWW", "VARCHAR(20)"},
          {"WW", "VARCHAR(50)"},        {"ZFBCode", "VARCHAR(50)"},  {"EMail", "VARCHAR(30)"},
          {"Birthday", "DATE"},         {"Address", "VARCHAR(50)"},  {"Fancy", "VARCHAR(100)"},
          {"Desp", "VARCHAR(250)"}}},
        {"TFolder", {{"FolderName", "TEXT"}, {"FolderPath", "TEXT"}}},
        {"TNetSearch", {{"NetName", "TEXT"}, {"NetAddress", "TEXT"}}},
        {"YBQH", {{"DQ", "TEXT"}, {"SM", "TEXT"}, {"YB", "TEXT"}, {"QH", "TEXT"}}},
        {"TTimeZone", {{"AddName", "TEXT"}, {"AddTimes", "REAL"}, {"ZoneName", "TEXT"}}},
        {"TCustomInfo", {{"Title", "TEXT"}, {"RecDate", "DATETIME"}, {"Content", "BLOB"}}},
        // The calendar and contacts server: the account (one row), then the sync state.
        {"TSyncAccount",
         {{"ServerUrl", "TEXT"},     {"UserName", "TEXT"},     {"TaskListUrl", "TEXT"},
          {"AddressBookUrl", "TEXT"}, {"SyncMinutes", "INTEGER"}, {"PasswordPlace", "INTEGER"},
          {"Password", "TEXT"},      {"AllowHttp", "INTEGER"},  {"TrustedCerts", "TEXT"},
          {"LastSync", "DATETIME"},  {"LastResult", "TEXT"},    {"LastError", "TEXT"}}},
        // Per item, what both sides held at its last sync: a three-way comparison with it tells
        // a change from a conflict from a deletion. A row whose local item is gone is a local
        // deletion the server has not yet been told of. Empty ETag and LocalHash: not trusted.
        {"TSyncItem",
         {{"Kind", "INTEGER"}, {"LocalID", "INTEGER"}, {"UID", "TEXT"}, {"Href", "TEXT"},
          {"ETag", "TEXT"},    {"LocalHash", "TEXT"}}},
        // LocalChanges counts the writes to the synced table (kept by triggers); ScannedAt is
        // the count when the last sync that went through began looking at the local items, so
        // a sync finds out at once that nothing changed here.
        {"TSyncCollection",
         {{"Kind", "INTEGER"}, {"Url", "TEXT"}, {"SyncToken", "TEXT"}, {"LocalChanges", "INTEGER DEFAULT 0"},
          {"ScannedAt", "INTEGER"}}},
        // Bodies replaced by a description changed on the server, for the item's menu to restore.
        {"TSyncBodyBackup", {{"WorkID", "INTEGER"}, {"SavedAt", "DATETIME"}, {"Content", "BLOB"}}},
    };
}

// The lookups that the lists make on every load.
const char *const kIndexes[] = {
    "CREATE INDEX IX_TWork_FinStu ON TWork (FinStu)",
    "CREATE INDEX IX_TClient_TypeCode ON TClient (TypeCode)",
    "CREATE INDEX IX_TCLinker_ClientID ON TCLinker (ClientID)",
    "CREATE INDEX IX_TCLinkRec_ClientID ON TCLinkRec (ClientID)",
    "CREATE INDEX IX_TCTrack_ClientID ON TCTrack (ClientID)",
    "CREATE INDEX IX_TGoods_TypeCode ON TGoods (TypeCode)",
    "CREATE INDEX IX_TLinker_ClassID ON TLinker (ClassID)",
    "CREATE INDEX IX_YBQH_YB ON YBQH (YB)",
    "CREATE INDEX IX_TSyncItem_Local ON TSyncItem (Kind, LocalID)",
};

const char *const kSyncTables[] = {"TSyncAccount", "TSyncItem", "TSyncCollection", "TSyncBodyBackup"};

// Work items count as changed for the sync when a column it sends changes, never for the
// reminder's flag; contacts on any change.
const char *const kSyncTriggers[] = {
    "CREATE TRIGGER IF NOT EXISTS TSync_WorkInserted AFTER INSERT ON TWork BEGIN "
    "Update TSyncCollection Set LocalChanges=LocalChanges+1 where Kind=0; END",
    "CREATE TRIGGER IF NOT EXISTS TSync_WorkDeleted AFTER DELETE ON TWork BEGIN "
    "Update TSyncCollection Set LocalChanges=LocalChanges+1 where Kind=0; END",
    "CREATE TRIGGER IF NOT EXISTS TSync_WorkUpdated AFTER UPDATE OF Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, "
    "UseTimeHint, TimeHint, Content, RRule, UID ON TWork BEGIN "
    "Update TSyncCollection Set LocalChanges=LocalChanges+1 where Kind=0; END",
    "CREATE TRIGGER IF NOT EXISTS TSync_ContactInserted AFTER INSERT ON TLinker BEGIN "
    "Update TSyncCollection Set LocalChanges=LocalChanges+1 where Kind=1; END",
    "CREATE TRIGGER IF NOT EXISTS TSync_ContactDeleted AFTER DELETE ON TLinker BEGIN "
    "Update TSyncCollection Set LocalChanges=LocalChanges+1 where Kind=1; END",
    "CREATE TRIGGER IF NOT EXISTS TSync_ContactUpdated AFTER UPDATE ON TLinker BEGIN "
    "Update TSyncCollection Set LocalChanges=LocalChanges+1 where Kind=1; END",
};

} // namespace

const std::vector<TableDef> &schemaTables()
{
    static const std::vector<TableDef> tables = buildTables();
    return tables;
}

QString pendingReminderIndexStatement()
{
    // FinStu leads so that the planner prefers this index to the state index for the cache's
    // query, whose terms are the index's own condition.
    return QStringLiteral("CREATE INDEX IF NOT EXISTS IX_TWork_PendingReminder ON TWork (FinStu, TimeHint) "
                          "WHERE FinStu=1 AND UseTimeHint=1 AND HasHinted<>1");
}

QString createTableStatement(const TableDef &table)
{
    QStringList columns{QStringLiteral("ID INTEGER PRIMARY KEY AUTOINCREMENT")};
    for (const ColumnDef &column : table.columns)
        columns.append(QString::fromLatin1(column.name) + ' ' + QString::fromLatin1(column.type));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QString::fromLatin1(table.name), columns.join(QStringLiteral(", ")));
}

QStringList syncTableStatements(const QString &table)
{
    QStringList statements;
    for (const TableDef &def : schemaTables()) {
        if (table == QLatin1String(def.name))
            statements.append(createTableStatement(def));
    }
    for (const char *index : kIndexes) {
        if (QString::fromLatin1(index).contains(QStringLiteral(" ON %1 (").arg(table)))
            statements.append(QString::fromLatin1(index));
    }
    return statements;
}

QStringList syncTriggerStatements()
{
    QStringList statements;
    for (const char *trigger : kSyncTriggers)
        statements.append(QString::fromLatin1(trigger));
    return statements;
}

QStringList syncTables()
{
    QStringList tables;
    for (const char *table : kSyncTables)
        tables.append(QString::fromLatin1(table));
    return tables;
}

QStringList syncStateTables()
{
    return syncTables().mid(1);
}

QStringList distrustSyncStateStatements()
{
    return {QStringLiteral("Update TSyncItem Set ETag=NULL, LocalHash=NULL"),
            QStringLiteral("Update TSyncCollection Set SyncToken=NULL, ScannedAt=NULL")};
}

QStringList schemaStatements()
{
    QStringList statements;
    for (const TableDef &table : schemaTables())
        statements.append(createTableStatement(table));
    for (const char *index : kIndexes)
        statements.append(QString::fromLatin1(index));
    statements.append(pendingReminderIndexStatement());
    statements.append(syncTriggerStatements());
    return statements;
}
