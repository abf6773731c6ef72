#pragma once

#include "document/DocumentBounds.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <utility>
#include <variant>
#include <vector>

class QTextDocument;

// What the reader gathers from RTF before it touches the document, so that input it refuses
// leaves nothing half-built behind.

// Word processors allow 63 columns; more comes only from damaged or hostile input.
inline constexpr int kMaxRtfColumns = 64;
// A row definition stays in force for the rows after it, so a few bytes per "\\row" could
// otherwise make millions of cells. Rows beyond the document's bound leave their text as
// paragraphs.
inline constexpr int kMaxRtfDocumentCells = kMaxDocumentCells;

struct RtfRun
{
    QString text;
    QTextCharFormat format; // an image format (and no text) for a picture
};

struct RtfParagraph
{
    QTextBlockFormat format;
    QTextCharFormat markFormat; // of the paragraph mark: the height of an empty line
    QList<RtfRun> runs;
};

struct RtfCellDefinition
{
    int right = 0; // twips
    bool mergesLeft = false;
    bool continuesAbove = false;
    bool bordered = false;
    QColor background;
};

struct RtfRow
{
    QList<RtfCellDefinition> definitions;
    QList<QList<RtfParagraph>> cells;
    int left = 0; // twips
    int gap = 0;  // twips between a cell's border and its text
};

struct RtfTable
{
    QList<RtfRow> rows;
};

struct RtfContent
{
    std::vector<std::variant<RtfParagraph, RtfTable>> items;
    QList<std::pair<QString, QImage>> images; // resource name, picture
};

// Replaces the document's content, as one step that cannot be undone.
void buildRtfDocument(const RtfContent &content, QTextDocument &document);
