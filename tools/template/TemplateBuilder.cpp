#include "template/TemplateBuilder.h"

#include "data/Schema.h"
#include "data/SearchIndex.h"
#include "data/Sqlite.h"
#include "data/Database.h"
#include "data/PlaceZones.h"
#include "document/DocumentStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

namespace {

QVariant unescapeCell(const QString &cell)
{
    if (cell == QLatin1String("\\N"))
        return {};
    QString text;
    text.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar c = cell.at(i);
        if (c != '\\' || i + 1 == cell.size()) {
            text.append(c);
            continue;
        }
        const QChar escaped = cell.at(++i);
        text.append(escaped == 'n' ? QChar('\n') : escaped == 't' ? QChar('\t') : escaped);
    }
    return text;
}

const TableDef *findTable(const QString &name)
{
    for (const TableDef &table : schemaTables()) {
        if (name.compare(QLatin1String(table.name), Qt::CaseInsensitive) == 0)
            return &table;
    }
    return nullptr;
}

bool hasColumn(const TableDef &table, const QString &column)
{
    if (column.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
        return true;
    for (const ColumnDef &def : table.columns) {
        if (column.compare(QLatin1String(def.name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool loadFile(SqliteConnection &db, const QFileInfo &file, QString &error)
{
    const QString name = file.completeBaseName();
    const TableDef *table = findTable(name);
    if (!table) {
        error = QStringLiteral("%1: no table %2").arg(file.filePath(), name);
        return false;
    }
    QFile input(file.filePath());
    if (!input.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(file.filePath(), input.errorString());
        return false;
    }
    TsvTable rows;
    if (!parseTsv(input.readAll(), rows, error)) {
        error = file.filePath() + QStringLiteral(": ") + error;
        return false;
    }
    QStringList quoted;
    for (const QString &column : rows.columns) {
        if (!hasColumn(*table, column)) {
            error = QStringLiteral("%1: table %2 has no column %3").arg(file.filePath(), name, column);
            return false;
        }
        quoted.append('"' + column + '"');
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(QLatin1String(table->name), quoted.join(','),
                                 QStringList(quoted.size(), QStringLiteral("?")).join(','));
    // Bodies are written as HTML in the data files and stored in the program's own form.
    const qsizetype body = QString::fromLatin1(table->name) == QLatin1String("TWork")
                               ? rows.columns.indexOf(QStringLiteral("Content"))
                               : -1;
    for (QVariantList row : rows.rows) {
        if (body >= 0 && !row.at(body).isNull()) {
            QTextDocument document;
            document.setDefaultFont(defaultDocumentFont());
            document.setHtml(row.at(body).toString());
            row[body] = saveDocument(document);
        }
        if (!db.execute(sql, row)) {
            error = QStringLiteral("%1: %2").arg(file.filePath(), db.lastError());
            return false;
        }
    }
    return true;
}

} // namespace

bool parseTsv(const QByteArray &content, TsvTable &table, QString &error)
{
    table = {};
    const QStringList lines = QString::fromUtf8(content).split('\n');
    for (qsizetype number = 0; number < lines.size(); ++number) {
        QString line = lines.at(number);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList cells = line.split('\t');
        if (table.columns.isEmpty()) {
            table.columns = cells;
            continue;
        }
        if (cells.size() != table.columns.size()) {
            error = QStringLiteral("line %1 has %2 cells for %3 columns")
                        .arg(number + 1)
                        .arg(cells.size())
                        .arg(table.columns.size());
            return false;
        }
        QVariantList row;
        row.reserve(cells.size());
        for (const QString &cell : cells)
            row.append(unescapeCell(cell));
        table.rows.append(row);
    }
    if (table.columns.isEmpty()) {
        error = QStringLiteral("no header line");
        return false;
    }
    return true;
}

bool buildTemplateDatabase(const QString &dataFolder, const QString &target, QString &error)
{
    if (QFileInfo::exists(target)) {
        error = QStringLiteral("%1 exists already").arg(target);
        return false;
    }
    QDir().mkpath(QFileInfo(target).absolutePath());
    SqliteConnection db;
    if (!db.open(target, databaseKey(), SqliteConnection::Access::CreateIfMissing)) {
        error = db.lastError();
        return false;
    }
    bool ok = db.execute(QStringLiteral("BEGIN"));
    for (const QString &statement : schemaStatements()) {
        if (ok && !db.execute(statement))
            ok = false;
    }
    if (!ok)
        error = db.lastError();
    for (const char *part : {"shipped", "sample"}) {
        const QDir folder(QDir(dataFolder).filePath(QString::fromLatin1(part)));
        const QFileInfoList files = folder.entryInfoList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name);
        for (const QFileInfo &file : files) {
            if (ok && !loadFile(db, file, error))
                ok = false;
        }
    }
    const PlaceZoneFill zones = placeZoneFill();
    // The sample items get their UIDs in each installation, when they are first exported or
    // synced: UIDs made here would be the same on every machine, and two machines syncing
    // through one server would take each other's samples for the same items.
    if (ok && !db.execute(zones.sql, zones.params)) {
        error = db.lastError();
        ok = false;
    }
    if (ok && !db.execute(QStringLiteral("COMMIT"))) {
        error = db.lastError();
        ok = false;
    }
    if (ok && !searchindex::rebuild(db)) {
        error = db.lastError();
        ok = false;
    }
    db.close();
    if (!ok)
        QFile::remove(target);
    return ok;
}
