#include "document/rtf/RtfFlow.h"

#include <algorithm>
#include <utility>

namespace {

// A row definition stays in force for the rows after it, so a few bytes per "\row" could
// otherwise make millions of cells.
constexpr int kMaxTableCells = 100'000;

} // namespace

void RtfFlow::addParagraph(RtfParagraph paragraph, bool inTable)
{
    if (inTable) {
        m_cellParagraphs.append(std::move(paragraph));
        return;
    }
    closeTable();
    m_items.push_back(std::move(paragraph));
}

void RtfFlow::endCell(RtfParagraph last)
{
    m_cellParagraphs.append(std::move(last));
    closeCell();
}

void RtfFlow::closeCell()
{
    QList<RtfParagraph> paragraphs = std::exchange(m_cellParagraphs, {});
    if (m_rowCells.size() < kMaxRtfColumns)
        m_rowCells.append(std::move(paragraphs));
}

void RtfFlow::endRow()
{
    if (m_rowCells.isEmpty() && rowDefinition.definitions.isEmpty())
        return;
    RtfRow row = rowDefinition;
    row.cells = std::exchange(m_rowCells, {});
    const int cells = int(std::max(row.cells.size(), row.definitions.size()));
    if (m_tableCells + cells > kMaxTableCells)
        return;
    m_tableCells += cells;
    m_tableRows.append(std::move(row));
}

void RtfFlow::closeTable()
{
    if (!m_cellParagraphs.isEmpty())
        closeCell();
    if (!m_rowCells.isEmpty())
        endRow();
    if (m_tableRows.isEmpty())
        return;
    m_items.push_back(RtfTable{std::exchange(m_tableRows, {})});
    m_tableCells = 0;
}

std::vector<std::variant<RtfParagraph, RtfTable>> RtfFlow::finish(RtfParagraph last)
{
    closeTable();
    m_items.push_back(std::move(last));
    return std::exchange(m_items, {});
}
