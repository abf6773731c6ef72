#include "document/rtf/RtfFlow.h"

#include <algorithm>
#include <utility>

bool RtfFlow::admit(const RtfParagraph &paragraph)
{
    qsizetype characters = 0;
    for (const RtfRun &run : paragraph.runs)
        characters += run.text.size();
    if (m_overflow.isEmpty() && m_documentParagraphs < kMaxDocumentParagraphs
        && m_documentCharacters + characters <= kMaxDocumentCharacters) {
        ++m_documentParagraphs;
        m_documentCharacters += characters;
        return true;
    }
    for (const RtfRun &run : paragraph.runs) {
        if (m_overflow.size() > kMaxOverflowCharacters)
            break;
        if (!m_overflow.isEmpty() && !m_overflow.back().isSpace())
            m_overflow += u' ';
        m_overflow += run.text;
    }
    // An overflow begun with an empty paragraph still keeps later ones out.
    if (m_overflow.isEmpty())
        m_overflow = QStringLiteral(" ");
    return false;
}

void RtfFlow::addParagraph(RtfParagraph paragraph, bool inTable)
{
    if (!admit(paragraph))
        return;
    if (inTable) {
        m_cellParagraphs.append(std::move(paragraph));
        return;
    }
    closeTable();
    m_items.push_back(std::move(paragraph));
}

void RtfFlow::endCell(RtfParagraph last)
{
    if (admit(last))
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
    if (m_documentCells + cells > kMaxRtfDocumentCells) {
        keepTextOf(row);
        return;
    }
    m_documentCells += cells;
    m_tableRows.append(std::move(row));
}

// A row beyond the bound ends the table; the text of its cells follows as paragraphs.
void RtfFlow::keepTextOf(RtfRow &row)
{
    closeTable();
    for (QList<RtfParagraph> &cell : row.cells) {
        for (RtfParagraph &paragraph : cell) {
            if (!paragraph.runs.isEmpty())
                m_items.push_back(std::move(paragraph));
        }
    }
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
}

std::vector<std::variant<RtfParagraph, RtfTable>> RtfFlow::finish(std::optional<RtfParagraph> last)
{
    closeTable();
    if (last && admit(*last))
        m_items.push_back(std::move(*last));
    if (const QString overflow = m_overflow.trimmed(); !overflow.isEmpty())
        m_items.push_back(RtfParagraph{{}, {}, {RtfRun{cutOverflow(overflow), {}}}});
    return std::exchange(m_items, {});
}
