#include "document/rtf/RtfTableGrid.h"

#include <algorithm>

namespace {

constexpr int kDefaultCellWidth = 1440;

// The right edges of a row's cells, strictly increasing; a cell without a definition is
// given a default width.
QList<int> rightEdges(const RtfRow &row)
{
    const qsizetype count = std::max(row.definitions.size(), row.cells.size());
    QList<int> edges;
    int previous = row.left;
    for (qsizetype i = 0; i < count; ++i) {
        const int wanted = i < row.definitions.size() ? row.definitions.at(i).right
                                                      : previous + kDefaultCellWidth;
        previous = std::max(wanted, previous + 1);
        edges.append(previous);
    }
    return edges;
}

struct Slot
{
    int start = 0;
    int end = 0;
    qsizetype owner = 0; // index into the grid's cells
};

} // namespace

RtfTableGrid layoutRtfTable(const RtfTable &table)
{
    RtfTableGrid grid;
    grid.rows = int(table.rows.size());
    if (table.rows.isEmpty())
        return grid;

    QList<QList<int>> rowEdges;
    QList<int> allEdges;
    int tableLeft = table.rows.first().left;
    for (const RtfRow &row : table.rows) {
        rowEdges.append(rightEdges(row));
        allEdges.append(rowEdges.last());
        tableLeft = std::min(tableLeft, row.left);
        grid.bordered = grid.bordered
                        || std::any_of(row.definitions.begin(), row.definitions.end(),
                                       [](const RtfCellDefinition &cell) { return cell.bordered; });
    }
    std::sort(allEdges.begin(), allEdges.end());
    allEdges.erase(std::unique(allEdges.begin(), allEdges.end()), allEdges.end());
    const int columns = int(std::min<qsizetype>(allEdges.size(), kMaxRtfColumns));
    for (int column = 0; column < columns; ++column)
        grid.columnWidths.append(allEdges.at(column) - (column == 0 ? tableLeft : allEdges.at(column - 1)));
    grid.gap = table.rows.first().gap;

    QList<Slot> above;
    for (int row = 0; row < grid.rows; ++row) {
        const RtfRow &source = table.rows.at(row);
        QList<Slot> rowSlots;
        int start = 0;
        for (qsizetype i = 0; i < rowEdges.at(row).size() && start < columns; ++i) {
            const auto beyond = std::upper_bound(allEdges.begin(), allEdges.end(), rowEdges.at(row).at(i));
            const int end = std::min(int(beyond - allEdges.begin()), columns);
            const RtfCellDefinition definition = source.definitions.value(i);
            const auto sameColumns = [&](const Slot &slot) { return slot.start == start && slot.end == end; };
            const auto cellAbove = std::find_if(above.begin(), above.end(), sameColumns);
            if (definition.continuesAbove && cellAbove != above.end()) {
                ++grid.cells[cellAbove->owner].rowSpan;
                rowSlots.append({start, end, cellAbove->owner});
            } else if (definition.mergesLeft && !rowSlots.isEmpty()
                       && grid.cells.at(rowSlots.last().owner).row == row) {
                grid.cells[rowSlots.last().owner].columnSpan = end - grid.cells.at(rowSlots.last().owner).column;
                rowSlots.last().end = end;
            } else {
                const QList<RtfParagraph> *paragraphs = i < source.cells.size() ? &source.cells.at(i) : nullptr;
                grid.cells.append({row, start, 1, end - start, paragraphs, definition.background});
                rowSlots.append({start, end, grid.cells.size() - 1});
            }
            start = end;
        }
        above = rowSlots;
    }
    return grid;
}
