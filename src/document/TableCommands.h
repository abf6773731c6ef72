#pragma once

class QTextCursor;

// The table commands of the document editors, on the table at the cursor: on its selected
// cells, or on the cell holding the cursor when no cells are selected. Each returns whether it
// changed the document, and each change is one undo step. Outside a table, and when there is
// nothing to do (merging one cell, unmerging cells that are not merged), they change nothing.
// Text outside the deleted rows and columns stays: merged cells join their text, split-off
// pieces start empty, and a merged cell reaching beyond deleted rows or columns stays, shorter,
// with its text.
namespace tablecommands {

bool insertRowAbove(QTextCursor &cursor);
bool insertRowBelow(QTextCursor &cursor);
bool insertColumnLeft(QTextCursor &cursor);
bool insertColumnRight(QTextCursor &cursor);
// Deleting every row (or as many columns as the first row has) deletes the whole table;
// otherwise the selected rows (columns) go, then any rows and columns left empty: those in
// which no cell starts, being wholly covered by cells merged in from before them.
bool deleteRows(QTextCursor &cursor);
bool deleteColumns(QTextCursor &cursor);
// Merges the selected cells, then removes rows and columns left empty. A selection cutting
// through a merged cell grows to take it in.
bool mergeCells(QTextCursor &cursor);
// Undoes the merges of the cells starting in the selection: by rows gives one cell per row,
// each as wide as the merged cell; by columns one per column, each as tall; both gives single
// cells.
enum class Unmerge { Rows, Columns, Both };
bool unmergeCells(QTextCursor &cursor, Unmerge how);
// Splits each selected cell into `parts` side by side (vertically) or stacked (horizontally).
// A cell spanning at least `parts` columns (rows) is divided within its span, as evenly as can
// be; a narrower one gets new columns (rows) right after it, over which the neighbouring cells
// of the other rows (columns) are merged, so only this cell shows the split. `parts` below 2
// changes nothing.
// More parts than maxSplitParts changes nothing either.
bool splitVertically(QTextCursor &cursor, int parts);
bool splitHorizontally(QTextCursor &cursor, int parts);
// The most parts the selected cells can be split into while the table stays within the
// document's cell bound and the 64 columns word processors allow; never less than what the
// narrowest selected cell already spans. 0 outside a table.
int maxSplitPartsVertically(const QTextCursor &cursor);
int maxSplitPartsHorizontally(const QTextCursor &cursor);
// The 10 × 6 table of "插入表格": white, a raised outer border and lowered cell borders 2 wide,
// cell padding 3, no spacing, six equal columns across the page.
void insertDefaultTable(QTextCursor &cursor);

} // namespace tablecommands
