#include "document/rtf/RtfContent.h"

#include "document/DocumentBounds.h"
#include "document/rtf/RtfTableGrid.h"
#include "document/rtf/RtfUnits.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace {

// The first paragraph of a cell, and the one after a table, go into the empty block Qt
// already keeps there. The mark of a cell's first block also holds the cell's format (its
// spans), so the paragraph's mark format is merged into it, not set over it.
void insertParagraph(QTextCursor &cursor, const RtfParagraph &paragraph, bool intoEmptyBlock)
{
    if (intoEmptyBlock) {
        cursor.setBlockFormat(paragraph.format);
        cursor.mergeBlockCharFormat(paragraph.markFormat);
    } else {
        cursor.insertBlock(paragraph.format, paragraph.markFormat);
    }
    for (const RtfRun &run : paragraph.runs) {
        if (run.format.isImageFormat())
            cursor.insertImage(run.format.toImageFormat());
        else
            cursor.insertText(run.text, run.format);
    }
}

QTextTableFormat tableFormat(const RtfTableGrid &grid)
{
    QTextTableFormat format;
    format.setBorder(grid.bordered ? 1 : 0);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(pixelsFromTwips(std::clamp(grid.gap, 0, kMaxTwips)));
    QList<QTextLength> widths;
    for (int width : grid.columnWidths)
        widths.append(QTextLength(QTextLength::FixedLength, pixelsFromTwips(std::clamp(width, 1, kMaxTwips))));
    format.setColumnWidthConstraints(widths);
    return format;
}

// Leaves the cursor in the empty block Qt keeps after every table. False when the table has
// no cells and nothing was inserted.
bool insertTable(QTextCursor &cursor, const RtfTable &source)
{
    const RtfTableGrid grid = layoutRtfTable(source);
    if (grid.rows == 0 || grid.columnWidths.isEmpty())
        return false;
    QTextTable *table = cursor.insertTable(grid.rows, int(grid.columnWidths.size()), tableFormat(grid));
    for (const RtfGridCell &cell : grid.cells) {
        if (cell.rowSpan > 1 || cell.columnSpan > 1)
            table->mergeCells(cell.row, cell.column, cell.rowSpan, cell.columnSpan);
    }
    for (const RtfGridCell &cell : grid.cells) {
        QTextTableCell target = table->cellAt(cell.row, cell.column);
        if (cell.background.isValid()) {
            QTextTableCellFormat format = target.format().toTableCellFormat();
            format.setBackground(cell.background);
            target.setFormat(format);
        }
        if (!cell.paragraphs)
            continue;
        QTextCursor inCell = target.firstCursorPosition();
        for (const RtfParagraph &paragraph : *cell.paragraphs)
            insertParagraph(inCell, paragraph, &paragraph == &cell.paragraphs->first());
    }
    cursor.setPosition(table->lastPosition() + 1);
    return true;
}

} // namespace

void buildRtfDocument(const RtfContent &content, QTextDocument &document)
{
    const bool undoable = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    for (const auto &[name, image] : content.images)
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);

    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    bool emptyBlock = true;
    for (const auto &item : content.items) {
        if (const auto *paragraph = std::get_if<RtfParagraph>(&item)) {
            insertParagraph(cursor, *paragraph, emptyBlock);
            emptyBlock = false;
        } else if (insertTable(cursor, std::get<RtfTable>(item))) {
            emptyBlock = true;
        }
    }
    addBreakOpportunities(document);
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undoable);
}
