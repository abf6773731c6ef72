#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Rows read from one tab-separated file of the template data: a header line of column
// names, then one line per row (`\N` is NULL; `\n`, `\t`, `\\` are escapes).
struct TsvTable {
    QStringList columns;
    QList<QVariantList> rows;
};

// False with `error` naming the line when a row has the wrong number of cells.
bool parseTsv(const QByteArray &content, TsvTable &table, QString &error);

// Creates a new encrypted database at `target` with every table, then the rows of each
// <Table>.tsv under `dataFolder`/shipped and then `dataFolder`/sample. Refuses to overwrite.
// A work item's Content is given as HTML and stored as a body; that needs a QGuiApplication.
bool buildTemplateDatabase(const QString &dataFolder, const QString &target, QString &error);
