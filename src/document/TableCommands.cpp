#include "document/TableCommands.h"

#include "document/DocumentBounds.h"
#include "document/rtf/RtfContent.h"

#include <QList>
#include <QSet>
#include <QRect>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextTable>

#include <algorithm>
#include <limits>
#include <optional>

namespace tablecommands {
namespace {

// Rows and columns are handled by the same code, written along one axis of the grid.
enum class Axis { Rows, Columns };

Axis crossAxis(Axis axis)
{
    return axis == Axis::Rows ? Axis::Columns : Axis::Rows;
}

// Grid areas are QRects: x and width count columns, y and height count rows.
QRect areaOf(const QTextTableCell &cell)
{
    return QRect(cell.column(), cell.row(), cell.columnSpan(), cell.rowSpan());
}

int firstLine(const QRect &area, Axis axis)
{
    return axis == Axis::Rows ? area.y() : area.x();
}

int lineSpan(const QRect &area, Axis axis)
{
    return axis == Axis::Rows ? area.height() : area.width();
}

int endLine(const QRect &area, Axis axis)
{
    return firstLine(area, axis) + lineSpan(area, axis);
}

QRect grown(QRect area, Axis axis, int lines)
{
    return axis == Axis::Rows ? area.adjusted(0, 0, 0, lines) : area.adjusted(0, 0, lines, 0);
}

int lineCount(const QTextTable *table, Axis axis)
{
    return axis == Axis::Rows ? table->rows() : table->columns();
}

QTextTableCell cellAt(const QTextTable *table, Axis axis, int line, int crossLine)
{
    return axis == Axis::Rows ? table->cellAt(line, crossLine) : table->cellAt(crossLine, line);
}

void insertLines(QTextTable *table, Axis axis, int at, int count)
{
    if (axis == Axis::Rows)
        table->insertRows(at, count);
    else
        table->insertColumns(at, count);
}

void mergeArea(QTextTable *table, const QRect &area)
{
    table->mergeCells(area.y(), area.x(), area.height(), area.width());
}

void moveContent(const QTextTableCell &from, const QTextTableCell &to)
{
    QTextCursor source = from.firstCursorPosition();
    source.setPosition(from.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    if (!source.hasSelection())
        return;
    const QTextDocumentFragment content = source.selection();
    source.removeSelectedText();
    to.firstCursorPosition().insertFragment(content);
}

// QTextTable mishandles cells that span a line it removes: it shrinks a cell once per line
// removed in one call, twice when the cell spans several rows of a removed column, and leaves
// its grid stale when no cell of the line goes. So every cell spanning the line is cut into
// single cells first and merged again one line shorter afterwards; a cell that starts in the
// line keeps its content by moving it to its next line.
void removeLine(QTextTable *table, Axis axis, int line)
{
    QList<QRect> shortened;
    for (int crossLine = 0; crossLine < lineCount(table, crossAxis(axis)); ++crossLine) {
        const QRect cell = areaOf(cellAt(table, axis, line, crossLine));
        if (lineSpan(cell, axis) == 1)
            continue;
        table->splitCell(cell.y(), cell.x(), 1, 1);
        if (firstLine(cell, axis) == line) {
            moveContent(table->cellAt(cell.y(), cell.x()),
                        cellAt(table, axis, line + 1, firstLine(cell, crossAxis(axis))));
        }
        shortened << grown(cell, axis, -1);
    }
    if (axis == Axis::Rows)
        table->removeRows(line, 1);
    else
        table->removeColumns(line, 1);
    for (const QRect &area : shortened) {
        if (area.size() != QSize(1, 1))
            mergeArea(table, area);
    }
}

void removeLines(QTextTable *table, Axis axis, int first, int count)
{
    for (int line = first + count - 1; line >= first; --line)
        removeLine(table, axis, line);
}

// A line is empty when no cell starts in it: every position in it belongs to a cell merged
// in from an earlier line. Removing it shrinks those cells and changes nothing visible.
bool isEmptyLine(const QTextTable *table, Axis axis, int line)
{
    for (int crossLine = 0; crossLine < lineCount(table, crossAxis(axis)); ++crossLine) {
        if (firstLine(areaOf(cellAt(table, axis, line, crossLine)), axis) == line)
            return false;
    }
    return true;
}

void removeEmptyLines(QTextTable *table, Axis axis)
{
    for (int line = lineCount(table, axis) - 1; line >= 0; --line) {
        if (isEmptyLine(table, axis, line))
            removeLine(table, axis, line);
    }
}

void removeEmptyColumnsAndRows(QTextTable *table)
{
    removeEmptyLines(table, Axis::Columns);
    removeEmptyLines(table, Axis::Rows);
}

// QTextTable gives each new column its neighbour's width and drops the widths of removed
// ones, so percentages drift away from the full width; scale them back to 100 %.
void fitColumnWidths(QTextTable *table)
{
    QTextTableFormat format = table->format();
    QList<QTextLength> widths = format.columnWidthConstraints();
    qreal total = 0;
    for (const QTextLength &width : widths) {
        if (width.type() != QTextLength::PercentageLength)
            return;
        total += width.rawValue();
    }
    if (widths.isEmpty() || qFuzzyCompare(total, 100.0))
        return;
    for (QTextLength &width : widths)
        width = QTextLength(QTextLength::PercentageLength, width.rawValue() * 100.0 / total);
    format.setColumnWidthConstraints(widths);
    table->setFormat(format);
}

struct Selection {
    QTextTable *table;
    QRect area;
};

// The selected cell range, or the cell holding the cursor when no cells are selected.
std::optional<Selection> selectionAt(const QTextCursor &cursor)
{
    QTextTable *table = cursor.currentTable();
    if (!table)
        return std::nullopt;
    int row = -1, rows = 0, column = -1, columns = 0;
    cursor.selectedTableCells(&row, &rows, &column, &columns);
    if (row < 0)
        return Selection{table, areaOf(table->cellAt(cursor))};
    return Selection{table, QRect(column, row, columns, rows)};
}

// The cells whose top-left position lies in the area.
QList<QRect> cellsStartingIn(const QTextTable *table, const QRect &area)
{
    QList<QRect> cells;
    for (int row = area.top(); row <= area.bottom(); ++row) {
        for (int column = area.left(); column <= area.right(); ++column) {
            const QRect cell = areaOf(table->cellAt(row, column));
            if (cell.topLeft() == QPoint(column, row))
                cells << cell;
        }
    }
    return cells;
}

// QTextTable refuses to merge an area that cuts through a merged cell, so the area grows
// until every cell it touches lies wholly inside.
QRect coveringArea(const QTextTable *table, QRect area)
{
    for (QRect previous; previous != area;) {
        previous = area;
        for (int row = previous.top(); row <= previous.bottom(); ++row) {
            for (int column = previous.left(); column <= previous.right(); ++column)
                area = area.united(areaOf(table->cellAt(row, column)));
        }
    }
    return area;
}

// `total` lines in `parts` pieces as equal as can be, the larger ones first.
QList<int> evenSizes(int total, int parts)
{
    QList<int> sizes;
    for (int piece = 0; piece < parts; ++piece)
        sizes << total / parts + (piece < total % parts ? 1 : 0);
    return sizes;
}

// Cuts a cell into a grid of pieces `rowSizes` tall and `columnSizes` wide. QTextTable can
// only split a cell into its top-left piece and single cells, so the other pieces are merged
// back from those; the content stays in the top-left piece.
void retile(QTextTable *table, const QRect &cell, const QList<int> &rowSizes,
            const QList<int> &columnSizes)
{
    table->splitCell(cell.y(), cell.x(), rowSizes.first(), columnSizes.first());
    int row = cell.y();
    for (int height : rowSizes) {
        int column = cell.x();
        for (int width : columnSizes) {
            const bool topLeft = row == cell.y() && column == cell.x();
            if (!topLeft && height * width > 1)
                mergeArea(table, QRect(column, row, width, height));
            column += width;
        }
        row += height;
    }
}

// The columns a split adds share the width of the columns of the cell being split, so the
// other columns keep theirs.
void shareWidth(QTextTable *table, int firstColumn, int oldCount, int newCount)
{
    QTextTableFormat format = table->format();
    QList<QTextLength> widths = format.columnWidthConstraints();
    if (widths.size() < firstColumn + newCount)
        return;
    const QTextLength::Type type = widths.at(firstColumn).type();
    qreal total = 0;
    for (int column = firstColumn; column < firstColumn + oldCount; ++column) {
        if (widths.at(column).type() != type)
            return;
        total += widths.at(column).rawValue();
    }
    for (int column = firstColumn; column < firstColumn + newCount; ++column)
        widths[column] = QTextLength(type, total / newCount);
    format.setColumnWidthConstraints(widths);
    table->setFormat(format);
}

// Makes the cell `extra` lines longer along the axis by inserting lines right after it. In
// the other lines the cell just before the new ones grows over them, so the rest of the
// table looks as before; cells that spanned the insertion point were grown by QTextTable.
void lengthen(QTextTable *table, Axis axis, const QRect &cell, int extra)
{
    const int at = endLine(cell, axis);
    insertLines(table, axis, at, extra);
    if (axis == Axis::Columns)
        shareWidth(table, cell.x(), cell.width(), cell.width() + extra);
    for (int crossLine = 0; crossLine < lineCount(table, crossAxis(axis)); ++crossLine) {
        const QRect before = areaOf(cellAt(table, axis, at - 1, crossLine));
        const bool seenInEarlierLine = firstLine(before, crossAxis(axis)) != crossLine;
        const bool spansNewLines = endLine(before, axis) > at;
        if (!seenInEarlierLine && !spansNewLines)
            mergeArea(table, grown(before, axis, extra));
    }
}

void splitCell(QTextTable *table, Axis axis, QRect cell, int parts)
{
    if (lineSpan(cell, axis) < parts) {
        lengthen(table, axis, cell, parts - lineSpan(cell, axis));
        cell = areaOf(table->cellAt(cell.y(), cell.x()));
    }
    const QList<int> pieces = evenSizes(lineSpan(cell, axis), parts);
    const QList<int> whole = {lineSpan(cell, crossAxis(axis))};
    if (axis == Axis::Rows)
        retile(table, cell, pieces, whole);
    else
        retile(table, cell, whole, pieces);
}

int maxSplitParts(const QTextCursor &cursor, Axis axis)
{
    const auto selection = selectionAt(cursor);
    if (!selection)
        return 0;
    const QTextTable *table = selection->table;
    int mostLines = kMaxDocumentCells / std::max(1, lineCount(table, crossAxis(axis)));
    if (axis == Axis::Columns)
        mostLines = std::min(mostLines, kMaxRtfColumns);
    // Each selected cell narrower than the parts lengthens its own lines, and cells starting
    // in the same line share them.
    QSet<int> lines;
    int narrowest = std::numeric_limits<int>::max();
    for (const QRect &cell : cellsStartingIn(table, selection->area)) {
        lines.insert(firstLine(cell, axis));
        narrowest = std::min(narrowest, lineSpan(cell, axis));
    }
    if (lines.isEmpty())
        return 0;
    const int room = std::max(0, mostLines - lineCount(table, axis));
    return std::max(narrowest, room / int(lines.size()) + 1);
}

bool splitCells(QTextCursor &cursor, Axis axis, int parts)
{
    const auto selection = selectionAt(cursor);
    if (!selection || parts < 2 || parts > maxSplitParts(cursor, axis))
        return false;
    QTextTable *table = selection->table;
    // Lengthening a cell moves only the cells after it along the axis, so going from the last
    // cell backwards keeps the top-left corners of the ones still to do.
    QList<QRect> cells = cellsStartingIn(table, selection->area);
    std::sort(cells.begin(), cells.end(), [axis](const QRect &a, const QRect &b) {
        return firstLine(a, axis) > firstLine(b, axis);
    });
    cursor.beginEditBlock();
    for (const QRect &cell : cells)
        splitCell(table, axis, areaOf(table->cellAt(cell.y(), cell.x())), parts);
    fitColumnWidths(table);
    cursor.endEditBlock();
    return true;
}

bool insertLine(QTextCursor &cursor, Axis axis, bool after)
{
    const auto selection = selectionAt(cursor);
    if (!selection)
        return false;
    const QRect &area = selection->area;
    cursor.beginEditBlock();
    insertLines(selection->table, axis, after ? endLine(area, axis) : firstLine(area, axis), 1);
    fitColumnWidths(selection->table);
    cursor.endEditBlock();
    return true;
}

// Into the cell now at this grid position, or the nearest one when the table got smaller.
void placeCursor(QTextCursor &cursor, const QTextTable *table, const QPoint &position)
{
    const int row = std::min(position.y(), table->rows() - 1);
    const int column = std::min(position.x(), table->columns() - 1);
    cursor.setPosition(table->cellAt(row, column).firstCursorPosition().position());
}

void deleteTable(QTextCursor &cursor, const QTextTable *table)
{
    cursor.setPosition(table->firstPosition() - 1);
    cursor.setPosition(table->lastPosition() + 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

bool deleteLines(QTextCursor &cursor, Axis axis)
{
    const auto selection = selectionAt(cursor);
    if (!selection)
        return false;
    QTextTable *table = selection->table;
    const QRect &area = selection->area;
    if (lineSpan(area, axis) >= lineCount(table, axis)) {
        deleteTable(cursor, table);
        return true;
    }
    cursor.beginEditBlock();
    removeLines(table, axis, firstLine(area, axis), lineSpan(area, axis));
    removeEmptyColumnsAndRows(table);
    fitColumnWidths(table);
    cursor.endEditBlock();
    placeCursor(cursor, table, area.topLeft());
    return true;
}

} // namespace

bool insertRowAbove(QTextCursor &cursor)
{
    return insertLine(cursor, Axis::Rows, false);
}

bool insertRowBelow(QTextCursor &cursor)
{
    return insertLine(cursor, Axis::Rows, true);
}

bool insertColumnLeft(QTextCursor &cursor)
{
    return insertLine(cursor, Axis::Columns, false);
}

bool insertColumnRight(QTextCursor &cursor)
{
    return insertLine(cursor, Axis::Columns, true);
}

bool deleteRows(QTextCursor &cursor)
{
    return deleteLines(cursor, Axis::Rows);
}

bool deleteColumns(QTextCursor &cursor)
{
    return deleteLines(cursor, Axis::Columns);
}

bool mergeCells(QTextCursor &cursor)
{
    const auto selection = selectionAt(cursor);
    if (!selection)
        return false;
    QTextTable *table = selection->table;
    const QRect area = coveringArea(table, selection->area);
    if (areaOf(table->cellAt(area.y(), area.x())) == area)
        return false;
    cursor.beginEditBlock();
    mergeArea(table, area);
    removeEmptyColumnsAndRows(table);
    fitColumnWidths(table);
    cursor.endEditBlock();
    placeCursor(cursor, table, area.topLeft());
    return true;
}

bool unmergeCells(QTextCursor &cursor, Unmerge how)
{
    const auto selection = selectionAt(cursor);
    if (!selection)
        return false;
    QTextTable *table = selection->table;
    QList<QRect> merged = cellsStartingIn(table, selection->area);
    merged.removeIf([](const QRect &cell) { return cell.size() == QSize(1, 1); });
    if (merged.isEmpty())
        return false;
    const bool byRows = how != Unmerge::Columns;
    const bool byColumns = how != Unmerge::Rows;
    cursor.beginEditBlock();
    for (const QRect &cell : merged) {
        retile(table, cell, evenSizes(cell.height(), byRows ? cell.height() : 1),
               evenSizes(cell.width(), byColumns ? cell.width() : 1));
    }
    cursor.endEditBlock();
    return true;
}

bool splitVertically(QTextCursor &cursor, int parts)
{
    return splitCells(cursor, Axis::Columns, parts);
}

int maxSplitPartsVertically(const QTextCursor &cursor)
{
    return maxSplitParts(cursor, Axis::Columns);
}

int maxSplitPartsHorizontally(const QTextCursor &cursor)
{
    return maxSplitParts(cursor, Axis::Rows);
}

bool splitHorizontally(QTextCursor &cursor, int parts)
{
    return splitCells(cursor, Axis::Rows, parts);
}

void insertDefaultTable(QTextCursor &cursor)
{
    constexpr int rows = 10;
    constexpr int columns = 6;
    QTextTableFormat format;
    format.setBackground(Qt::white);
    // Qt draws an outset table with inset cells from the one border style. It shades a single
    // brush, lightening it for the lit edges; black has no lighter shade, so a dark grey stands
    // for the white-and-black pair.
    format.setBorder(2);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Outset);
    format.setBorderBrush(QColor(Qt::darkGray));
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setColumnWidthConstraints(
        QList<QTextLength>(columns, QTextLength(QTextLength::PercentageLength, 100.0 / columns)));
    cursor.insertTable(rows, columns, format);
}

} // namespace tablecommands
