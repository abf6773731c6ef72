#include "TestMain.h"

#include "document/SpecialCharacterDialog.h"

#include <QClipboard>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

// Each case: a shown picker and a clipboard holding a known text.
class TestSpecialCharacterDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void cellsHoldTheTableRowByRow_data();
    void cellsHoldTheTableRowByRow();
    void tableFillsCellsWithoutGaps();
    void wholeGridFitsTheWindow();
    void choosingCopiesTheSymbol_data();
    void choosingCopiesTheSymbol();
    void doubleClickChooses();
    void emptyCellChoosesNothing_data();
    void emptyCellChoosesNothing();
    void leavingKeepsTheClipboard_data();
    void leavingKeepsTheClipboard();
    void pickSpecialCharacterTellsWhetherChosen_data();
    void pickSpecialCharacterTellsWhetherChosen();

private:
    QString cellText(int row, int column) const;

    std::unique_ptr<SpecialCharacterDialog> m_window;
};

namespace {

const QString knownClipboard = QStringLiteral("剪贴板原有内容");

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

} // namespace

void TestSpecialCharacterDialog::init()
{
    QGuiApplication::clipboard()->setText(knownClipboard);
    m_window = std::make_unique<SpecialCharacterDialog>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestSpecialCharacterDialog::cleanup()
{
    m_window.reset();
}

QString TestSpecialCharacterDialog::cellText(int row, int column) const
{
    const QTableWidgetItem *item = m_window->m_characterGrid->item(row, column);
    return item ? item->text() : QString();
}

void TestSpecialCharacterDialog::cellsHoldTheTableRowByRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("symbol");

    // Symbols on both sides of each joint of the table, so a lost or doubled one shifts a check.
    QTest::newRow("first") << 0 << 0 << QStringLiteral("。");
    QTest::newRow("last GB2312 row 2") << 5 << 23 << QStringLiteral("Ⅻ");
    QTest::newRow("full-width punctuation") << 5 << 24 << QStringLiteral("！");
    QTest::newRow("full-width O") << 7 << 18 << QStringLiteral("Ｏ");
    QTest::newRow("full-width P") << 7 << 19 << QStringLiteral("Ｐ");
    QTest::newRow("Greek eta") << 9 << 26 << QStringLiteral("η");
    QTest::newRow("arrow") << 11 << 14 << QStringLiteral("↘");
    QTest::newRow("shade") << 12 << 22 << QStringLiteral("▓");
    QTest::newRow("private use A8BC") << 14 << 3 << QString(QChar(0xE7C7));
    QTest::newRow("n acute after it") << 14 << 4 << QStringLiteral("ń");
    QTest::newRow("private use A8BF") << 14 << 6 << QString(QChar(0xE7C8));
    QTest::newRow("script g after it") << 14 << 7 << QStringLiteral("ɡ");
    QTest::newRow("units") << 14 << 18 << QStringLiteral("㎎");
    QTest::newRow("small hyphen-minus") << 16 << 7 << QStringLiteral("﹣");
    QTest::newRow("last") << 16 << 28 << QStringLiteral("┌");
}

void TestSpecialCharacterDialog::cellsHoldTheTableRowByRow()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, symbol);

    QCOMPARE(cellText(row, column), symbol);
    QCOMPARE(m_window->m_characterGrid->item(row, column)->textAlignment(), int(Qt::AlignCenter));
}

void TestSpecialCharacterDialog::tableFillsCellsWithoutGaps()
{
    const QTableWidget *grid = m_window->m_characterGrid;
    QCOMPARE(grid->rowCount(), 18);
    QCOMPARE(grid->columnCount(), 30);

    QString table;
    for (int row = 0; row < grid->rowCount(); ++row) {
        for (int column = 0; column < grid->columnCount(); ++column) {
            const QString text = cellText(row, column);
            QVERIFY2(text.size() <= 1, qPrintable(QStringLiteral("%1,%2").arg(row).arg(column)));
            // Row-major order: no filled cell may follow an empty one.
            QVERIFY2(text.isEmpty() || table.size() == row * grid->columnCount() + column,
                     qPrintable(QStringLiteral("gap before %1,%2").arg(row).arg(column)));
            table += text;
        }
    }
    QCOMPARE(table.size(), 509);
    QVERIFY(table.endsWith(QStringLiteral("┌")));
    QCOMPARE(table.count(QStringLiteral("┌")), 1);
}

void TestSpecialCharacterDialog::wholeGridFitsTheWindow()
{
    const QTableWidget *grid = m_window->m_characterGrid;
    QCOMPARE(m_window->size(), QSize(636, 425));
    const QRect lastCell(grid->columnViewportPosition(29), grid->rowViewportPosition(17),
                         grid->columnWidth(29), grid->rowHeight(17));
    QCOMPARE(lastCell.size(), QSize(20, 20));
    QVERIFY(grid->viewport()->rect().contains(lastCell));
    QVERIFY(m_window->rect().contains(grid->geometry()));
    QVERIFY(m_window->rect().contains(m_window->m_exitButton->geometry()));
}

void TestSpecialCharacterDialog::choosingCopiesTheSymbol_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<bool>("enter");

    QTest::newRow("first") << 0 << 0 << QStringLiteral("。") << false;
    QTest::newRow("full-width") << 5 << 24 << QStringLiteral("！") << false;
    QTest::newRow("private use") << 14 << 3 << QString(QChar(0xE7C7)) << false;
    QTest::newRow("last") << 16 << 28 << QStringLiteral("┌") << false;
    QTest::newRow("Enter on the grid") << 9 << 26 << QStringLiteral("η") << true;
}

void TestSpecialCharacterDialog::choosingCopiesTheSymbol()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, symbol);
    QFETCH(bool, enter);

    m_window->m_characterGrid->setCurrentCell(row, column);
    if (enter)
        QTest::keyClick(m_window->m_characterGrid, Qt::Key_Return);
    else
        m_window->m_chooseButton->click();

    QCOMPARE(clipboardText(), symbol);
    QVERIFY(m_window->chosen());
    QVERIFY(!m_window->isVisible());
}

void TestSpecialCharacterDialog::doubleClickChooses()
{
    QTableWidget *grid = m_window->m_characterGrid;
    const QPoint centre = grid->visualRect(grid->model()->index(3, 7)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);

    QCOMPARE(clipboardText(), cellText(3, 7));
    QVERIFY(!clipboardText().isEmpty());
    QVERIFY(m_window->chosen());
    QVERIFY(!m_window->isVisible());
}

void TestSpecialCharacterDialog::emptyCellChoosesNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("doubleClick");

    QTest::newRow("after the last, button") << 16 << 29 << false;
    QTest::newRow("last row, button") << 17 << 0 << false;
    QTest::newRow("last row, double-click") << 17 << 15 << true;
}

void TestSpecialCharacterDialog::emptyCellChoosesNothing()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, doubleClick);

    QTableWidget *grid = m_window->m_characterGrid;
    const QPoint centre = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(grid->currentRow(), row);
    QCOMPARE(grid->currentColumn(), column);
    if (doubleClick)
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
    else
        m_window->m_chooseButton->click();

    QCOMPARE(clipboardText(), knownClipboard);
    QVERIFY(!m_window->chosen());
    QVERIFY(m_window->isVisible());
}

void TestSpecialCharacterDialog::leavingKeepsTheClipboard_data()
{
    QTest::addColumn<bool>("escape");

    QTest::newRow("退出(&X)") << false;
    QTest::newRow("Escape") << true;
}

void TestSpecialCharacterDialog::leavingKeepsTheClipboard()
{
    QFETCH(bool, escape);

    m_window->m_characterGrid->setCurrentCell(2, 2);
    if (escape)
        QTest::keyClick(m_window->m_characterGrid, Qt::Key_Escape);
    else
        m_window->m_exitButton->click();

    QVERIFY(!m_window->isVisible());
    QVERIFY(!m_window->chosen());
    QCOMPARE(clipboardText(), knownClipboard);
}

void TestSpecialCharacterDialog::pickSpecialCharacterTellsWhetherChosen_data()
{
    QTest::addColumn<bool>("choose");
    QTest::addColumn<QString>("clipboard");

    QTest::newRow("选中(&S)") << true << QStringLiteral("·");
    QTest::newRow("退出(&X)") << false << knownClipboard;
}

void TestSpecialCharacterDialog::pickSpecialCharacterTellsWhetherChosen()
{
    QFETCH(bool, choose);
    QFETCH(QString, clipboard);
    m_window.reset(); // only the modal one of pickSpecialCharacter

    bool found = false;
    QTimer::singleShot(0, [&] {
        auto *picker = qobject_cast<SpecialCharacterDialog *>(QApplication::activeModalWidget());
        found = picker != nullptr;
        if (!picker)
            return;
        picker->m_characterGrid->setCurrentCell(0, 1);
        (choose ? picker->m_chooseButton : picker->m_exitButton)->click();
    });

    QCOMPARE(pickSpecialCharacter(), choose);
    QVERIFY(found);
    QCOMPARE(clipboardText(), clipboard);
}

PANDREL_TEST_MAIN(TestSpecialCharacterDialog)
#include "tst_specialcharacterdialog.moc"
