#include "TestMain.h"

#include "document/TableCommands.h"

#include <QRect>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <functional>
#include <memory>

using Command = std::function<bool(QTextCursor &)>;
Q_DECLARE_METATYPE(Command)

namespace tc = tablecommands;

// Every case starts from a paragraph "before" and a 3 × 3 table holding a … i row by row.
// Tables are compared through a picture of their grid: rows separated by " | ", the cells that
// start in a row separated by ",", each as its text (paragraphs joined by "/", "_" when empty)
// with ":rows x columns" when it spans more than one position.
class TestTableCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void commandsReshapeTheTable_data();
    void commandsReshapeTheTable();
    void nothingToDoChangesNothing_data();
    void nothingToDoChangesNothing();
    void columnWidthsStayAtFullWidth_data();
    void columnWidthsStayAtFullWidth();
    void defaultTableIsTenBySixRaised();

private:
    QTextTable *table() const;
    QString picture() const;
    QTextCursor cursorOver(const QRect &cells) const;

    std::unique_ptr<QTextDocument> m_document;
};

namespace {

const QString noTable = "no table";

// Grid areas as QRect(column, row, columns, rows).
const QRect cellE(1, 1, 1, 1);

Command unmerge(tc::Unmerge how)
{
    return [how](QTextCursor &cursor) { return tc::unmergeCells(cursor, how); };
}

Command splitVertically(int parts)
{
    return [parts](QTextCursor &cursor) { return tc::splitVertically(cursor, parts); };
}

Command splitHorizontally(int parts)
{
    return [parts](QTextCursor &cursor) { return tc::splitHorizontally(cursor, parts); };
}

QString cellText(const QTextTableCell &cell)
{
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    const QString text = cursor.selectedText().replace(QChar::ParagraphSeparator, '/');
    return text.isEmpty() ? "_" : text;
}

} // namespace

void TestTableCommands::init()
{
    m_document = std::make_unique<QTextDocument>();
    QTextCursor cursor(m_document.get());
    cursor.insertText("before");
    QTextTable *grid = cursor.insertTable(3, 3);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QChar letter('a' + row * 3 + column);
            grid->cellAt(row, column).firstCursorPosition().insertText(letter);
        }
    }
}

QTextTable *TestTableCommands::table() const
{
    const auto frames = m_document->rootFrame()->childFrames();
    return frames.isEmpty() ? nullptr : qobject_cast<QTextTable *>(frames.first());
}

QString TestTableCommands::picture() const
{
    const QTextTable *grid = table();
    if (!grid)
        return noTable;
    QStringList rows;
    for (int row = 0; row < grid->rows(); ++row) {
        QStringList cells;
        for (int column = 0; column < grid->columns(); ++column) {
            const QTextTableCell cell = grid->cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue;
            const bool merged = cell.rowSpan() > 1 || cell.columnSpan() > 1;
            cells << cellText(cell)
                         + (merged ? QString(":%1x%2").arg(cell.rowSpan()).arg(cell.columnSpan())
                                   : QString());
        }
        rows << cells.join(',');
    }
    return rows.join(" | ");
}

// A cursor in the cell at the area's top-left, selecting up to the cell at its bottom-right.
QTextCursor TestTableCommands::cursorOver(const QRect &cells) const
{
    QTextCursor cursor(m_document.get());
    cursor.setPosition(table()->cellAt(cells.top(), cells.left()).firstPosition());
    if (cells.size() != QSize(1, 1)) {
        cursor.setPosition(table()->cellAt(cells.bottom(), cells.right()).firstPosition(),
                           QTextCursor::KeepAnchor);
    }
    return cursor;
}

void TestTableCommands::commandsReshapeTheTable_data()
{
    QTest::addColumn<QList<QRect>>("merged");
    QTest::addColumn<QRect>("selection");
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("expected");

    const QList<QRect> none;
    const QList<QRect> topLeftSquare{QRect(0, 0, 2, 2)};
    const QList<QRect> firstColumnDown{QRect(0, 0, 1, 3)};

    QTest::newRow("row above") << none << cellE << Command(tc::insertRowAbove)
                               << "a,b,c | _,_,_ | d,e,f | g,h,i";
    QTest::newRow("row below") << none << cellE << Command(tc::insertRowBelow)
                               << "a,b,c | d,e,f | _,_,_ | g,h,i";
    QTest::newRow("row below a selection") << none << QRect(0, 0, 2, 2)
                                           << Command(tc::insertRowBelow)
                                           << "a,b,c | d,e,f | _,_,_ | g,h,i";
    QTest::newRow("column left") << none << cellE << Command(tc::insertColumnLeft)
                                 << "a,_,b,c | d,_,e,f | g,_,h,i";
    QTest::newRow("column right") << none << cellE << Command(tc::insertColumnRight)
                                  << "a,b,_,c | d,e,_,f | g,h,_,i";

    QTest::newRow("delete a row") << none << cellE << Command(tc::deleteRows) << "a,b,c | g,h,i";
    QTest::newRow("delete two rows") << none << QRect(0, 0, 3, 2) << Command(tc::deleteRows)
                                     << "g,h,i";
    QTest::newRow("delete every row") << none << QRect(1, 0, 1, 3) << Command(tc::deleteRows)
                                      << noTable;
    QTest::newRow("delete a row through a merged cell")
        << firstColumnDown << cellE << Command(tc::deleteRows) << "a/d/g:2x1,b,c | h,i";
    QTest::newRow("delete two rows through a merged cell")
        << firstColumnDown << QRect(1, 0, 2, 2) << Command(tc::deleteRows) << "a/d/g,h,i";
    QTest::newRow("delete a row, then the column it alone started cells in")
        << QList<QRect>{QRect(0, 0, 2, 1), QRect(0, 2, 2, 1)} << cellE << Command(tc::deleteRows)
        << "a b,c | g h,i";

    QTest::newRow("delete a column") << none << cellE << Command(tc::deleteColumns)
                                     << "a,c | d,f | g,i";
    QTest::newRow("delete every column") << none << QRect(0, 1, 3, 1) << Command(tc::deleteColumns)
                                         << noTable;
    QTest::newRow("delete a column, then the row it alone started cells in")
        << QList<QRect>{QRect(0, 0, 1, 2), QRect(2, 0, 1, 2)} << cellE << Command(tc::deleteColumns)
        << "a/d,c/f | g,i";
    QTest::newRow("delete a column through a cell spanning rows and columns")
        << QList<QRect>{QRect(0, 0, 3, 2)} << QRect(1, 2, 1, 1) << Command(tc::deleteColumns)
        << "a b c/d e f:1x2 | g,i";

    QTest::newRow("merge a square") << none << QRect(0, 0, 2, 2) << Command(tc::mergeCells)
                                    << "a b/d e:2x2,c | f | g,h,i";
    QTest::newRow("merge whole rows drops the emptied row")
        << none << QRect(0, 0, 3, 2) << Command(tc::mergeCells) << "a b c/d e f:1x3 | g,h,i";
    QTest::newRow("merge whole columns")
        << none << QRect(0, 0, 2, 3) << Command(tc::mergeCells) << "a b/d e/g h:3x1,c | f | i";
    QTest::newRow("merge takes in a merged cell the selection cuts")
        << QList<QRect>{QRect(1, 1, 2, 1)} << QRect(0, 0, 2, 3) << Command(tc::mergeCells)
        << "a b c/d e f/g h i";

    QTest::newRow("unmerge by rows") << topLeftSquare << QRect(0, 0, 1, 1)
                                     << unmerge(tc::Unmerge::Rows)
                                     << "a b/d e:1x2,c | _:1x2,f | g,h,i";
    QTest::newRow("unmerge by columns") << topLeftSquare << QRect(0, 0, 1, 1)
                                        << unmerge(tc::Unmerge::Columns)
                                        << "a b/d e:2x1,_:2x1,c | f | g,h,i";
    QTest::newRow("unmerge both") << topLeftSquare << QRect(0, 0, 1, 1)
                                  << unmerge(tc::Unmerge::Both) << "a b/d e,_,c | _,_,f | g,h,i";
    QTest::newRow("unmerge every merged cell selected")
        << QList<QRect>{QRect(0, 0, 2, 1), QRect(0, 2, 2, 1)} << QRect(0, 0, 1, 3)
        << unmerge(tc::Unmerge::Columns) << "a b,_,c | d,e,f | g h,_,i";

    QTest::newRow("split vertically into 3") << none << cellE << splitVertically(3)
                                             << "a,b:1x3,c | d,e,_,_,f | g,h:1x3,i";
    QTest::newRow("split horizontally into 3") << none << cellE << splitHorizontally(3)
                                               << "a,b,c | d:3x1,e,f:3x1 | _ | _ | g,h,i";
    QTest::newRow("split a wide cell within its span")
        << QList<QRect>{QRect(0, 0, 3, 1)} << QRect(0, 0, 1, 1) << splitVertically(3)
        << "a b c,_,_ | d,e,f | g,h,i";
    QTest::newRow("split a wide cell into uneven pieces")
        << QList<QRect>{QRect(0, 0, 3, 1)} << QRect(0, 0, 1, 1) << splitVertically(2)
        << "a b c:1x2,_ | d,e,f | g,h,i";
    QTest::newRow("split two cells of a column")
        << none << QRect(1, 0, 1, 2) << splitVertically(2) << "a,b,_,c | d,e,_,f | g,h:1x2,i";
    QTest::newRow("split beside a cell spanning the new rows")
        << QList<QRect>{QRect(0, 0, 1, 2)} << QRect(1, 0, 1, 1) << splitHorizontally(2)
        << "a/d:3x1,b,c:2x1 | _ | e,f | g,h,i";
}

// Each command leaves the cursor in the table and is one undo step giving back the table it
// started from.
void TestTableCommands::commandsReshapeTheTable()
{
    QFETCH(QList<QRect>, merged);
    QFETCH(QRect, selection);
    QFETCH(Command, command);
    QFETCH(QString, expected);

    for (const QRect &area : merged)
        table()->mergeCells(area.top(), area.left(), area.height(), area.width());
    const QString before = picture();
    m_document->clearUndoRedoStacks();
    m_document->setModified(false);

    QTextCursor cursor = cursorOver(selection);
    QVERIFY(command(cursor));
    QCOMPARE(picture(), expected);
    QCOMPARE(cursor.currentTable(), table());
    QVERIFY(m_document->isModified());

    m_document->undo();
    QCOMPARE(picture(), before);
    QVERIFY(!m_document->isUndoAvailable());
}

void TestTableCommands::nothingToDoChangesNothing_data()
{
    QTest::addColumn<bool>("inTable");
    QTest::addColumn<Command>("command");

    const std::pair<const char *, Command> everyCommand[] = {
        {"row above", tc::insertRowAbove},
        {"row below", tc::insertRowBelow},
        {"column left", tc::insertColumnLeft},
        {"column right", tc::insertColumnRight},
        {"delete rows", tc::deleteRows},
        {"delete columns", tc::deleteColumns},
        {"merge", tc::mergeCells},
        {"unmerge rows", unmerge(tc::Unmerge::Rows)},
        {"unmerge columns", unmerge(tc::Unmerge::Columns)},
        {"unmerge both", unmerge(tc::Unmerge::Both)},
        {"split vertically", splitVertically(2)},
        {"split horizontally", splitHorizontally(2)},
    };
    for (const auto &[name, command] : everyCommand)
        QTest::addRow("outside a table: %s", name) << false << command;

    QTest::newRow("merge one cell") << true << Command(tc::mergeCells);
    QTest::newRow("unmerge a plain cell") << true << unmerge(tc::Unmerge::Both);
    QTest::newRow("split vertically into 1") << true << splitVertically(1);
    QTest::newRow("split vertically into 0") << true << splitVertically(0);
    QTest::newRow("split horizontally into 1") << true << splitHorizontally(1);
    QTest::newRow("split horizontally into 0") << true << splitHorizontally(0);
}

void TestTableCommands::nothingToDoChangesNothing()
{
    QFETCH(bool, inTable);
    QFETCH(Command, command);

    m_document->clearUndoRedoStacks();
    m_document->setModified(false);
    const QString html = m_document->toHtml();
    QTextCursor cursor = inTable ? cursorOver(cellE) : QTextCursor(m_document.get());

    QVERIFY(!command(cursor));
    QCOMPARE(m_document->toHtml(), html);
    QVERIFY(!m_document->isModified());
    QVERIFY(!m_document->isUndoAvailable());
}

void TestTableCommands::columnWidthsStayAtFullWidth_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("percentages");

    QTest::newRow("column inserted") << Command(tc::insertColumnRight)
                                     << "14.29 14.29 14.29 14.29 14.29 14.29 14.29";
    QTest::newRow("column deleted") << Command(tc::deleteColumns) << "20.00 20.00 20.00 20.00 20.00";
    QTest::newRow("split cell shares its width")
        << splitVertically(3) << "5.56 5.56 5.56 16.67 16.67 16.67 16.67 16.67";
}

// On the first cell of the 10 × 6 table.
void TestTableCommands::columnWidthsStayAtFullWidth()
{
    QFETCH(Command, command);
    QFETCH(QString, percentages);

    m_document->clear();
    QTextCursor cursor(m_document.get());
    tc::insertDefaultTable(cursor);
    QVERIFY(command(cursor));

    QStringList widths;
    for (const QTextLength &width : table()->format().columnWidthConstraints()) {
        QCOMPARE(width.type(), QTextLength::PercentageLength);
        widths << QString::number(width.rawValue(), 'f', 2);
    }
    QCOMPARE(widths.join(' '), percentages);
}

void TestTableCommands::defaultTableIsTenBySixRaised()
{
    QTextCursor cursor(m_document.get());
    tc::insertDefaultTable(cursor);

    const QTextTable *inserted = cursor.currentTable();
    QVERIFY(inserted);
    QCOMPARE(inserted->cellAt(cursor).row(), 0);
    QCOMPARE(inserted->rows(), 10);
    QCOMPARE(inserted->columns(), 6);
    const QTextTableFormat format = inserted->format();
    QCOMPARE(format.background().color(), QColor(Qt::white));
    QCOMPARE(format.border(), 2.0);
    QCOMPARE(format.borderStyle(), QTextFrameFormat::BorderStyle_Outset);
    QCOMPARE(format.cellPadding(), 3.0);
    QCOMPARE(format.cellSpacing(), 0.0);
    const QTextLength sixth(QTextLength::PercentageLength, 100.0 / 6);
    QCOMPARE(format.columnWidthConstraints(), QList<QTextLength>(6, sixth));
}

PANDREL_TEST_MAIN(TestTableCommands)
#include "tst_tablecommands.moc"
