#pragma once

#include "document/rtf/RtfContent.h"

#include <optional>

// Puts the paragraphs the reader finishes into the document's flow and its tables: a
// paragraph marked as in a table goes into the cell being filled, \cell closes the cell,
// \row the row, and the first paragraph outside a table closes the table.
class RtfFlow
{
public:
    // The cell definitions in force: \trowd starts them anew, and they stay for the rows
    // after it until the next \trowd.
    RtfRow rowDefinition;

    void addParagraph(RtfParagraph paragraph, bool inTable);
    bool hasOpenCell() const { return !m_cellParagraphs.isEmpty(); }
    void endCell(RtfParagraph last);
    void endRow();
    // Closes what is still open and adds the document's last paragraph, if it has one.
    std::vector<std::variant<RtfParagraph, RtfTable>> finish(std::optional<RtfParagraph> last);

private:
    void closeCell();
    void closeTable();
    void keepTextOf(RtfRow &row);
    // False when the paragraph is past the document's bound: its text then joins the
    // overflow.
    bool admit(const RtfParagraph &paragraph);

    std::vector<std::variant<RtfParagraph, RtfTable>> m_items;
    QList<RtfParagraph> m_cellParagraphs;
    QList<QList<RtfParagraph>> m_rowCells;
    QList<RtfRow> m_tableRows;
    int m_documentCells = 0;
    int m_documentParagraphs = 0;
    qsizetype m_documentCharacters = 0;
    QString m_overflow;
};
