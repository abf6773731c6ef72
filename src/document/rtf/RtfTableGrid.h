#pragma once

#include "document/rtf/RtfContent.h"

// RTF describes a table row by row, each cell by its right edge; a merged cell is a wide
// cell, a cell marked as merged into its left neighbour, or one marked as continuing the
// cell above. This puts the cells on one grid of columns.
struct RtfGridCell
{
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
    const QList<RtfParagraph> *paragraphs = nullptr; // none for a cell without content
    QColor background;
};

struct RtfTableGrid
{
    int rows = 0;
    QList<int> columnWidths; // twips
    QList<RtfGridCell> cells;
    bool bordered = false;
    int gap = 0;
};

// The columns are the distinct right edges of all rows (at most kMaxRtfColumns; cells beyond
// are dropped). Edges that do not increase along a row are moved right.
RtfTableGrid layoutRtfTable(const RtfTable &table);
