#include "TestMain.h"
#include "TestProgramFolder.h"

#include "data/Recordset.h"
#include "widgets/DataGrid.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

// The footer row of sums of DataGrid over a real Recordset.
class TestDataGridFooter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sumsTheLoadedRows_data();
    void sumsTheLoadedRows();
    void followsEveryChangeOfTheRows();
    void listWithoutFooterHasNone();
    void footerSitsUnderTheRows();
    void numberColumnsFitTheirWidestValue_data();
    void numberColumnsFitTheirWidestValue();

private:
    Database &dm() { return m_folder->database(); }
    void addRows(const QList<QVariantList> &rows);
    std::unique_ptr<DataGrid> makeGrid(bool footer);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Recordset> m_rows;
};

void TestDataGridFooter::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    QVERIFY(dm().execute(QStringLiteral("Delete from TCTrack")));
    m_rows = std::make_unique<Recordset>(dm());
}

void TestDataGridFooter::cleanup()
{
    m_rows.reset();
    m_folder.reset();
}

// Rows of (GoodsName, Qty, Total) for client 1.
void TestDataGridFooter::addRows(const QList<QVariantList> &rows)
{
    for (const QVariantList &row : rows)
        QVERIFY(dm().execute(QStringLiteral("Insert into TCTrack (ClientID, GoodsName, Qty, Total) values (1, ?, ?, ?)"), row));
}

std::unique_ptr<DataGrid> TestDataGridFooter::makeGrid(bool footer)
{
    auto grid = std::make_unique<DataGrid>(*m_rows);
    const auto sum = footer ? GridColumn::Footer::Sum : GridColumn::Footer::None;
    grid->setColumns({
        GridColumn{.field = "GoodsName", .title = "商品名称", .footer = footer ? GridColumn::Footer::Text : GridColumn::Footer::None,
                   .footerText = "合计"},
        GridColumn{.field = "Qty", .title = "数量", .decimals = 0, .footer = sum},
        GridColumn{.field = "Total", .title = "金额", .decimals = 2, .footer = sum, .footerDecimals = 1},
        GridColumn{.field = "ID", .title = "ID"},
    });
    return grid;
}

void TestDataGridFooter::sumsTheLoadedRows_data()
{
    QTest::addColumn<QList<QVariantList>>("rows");
    QTest::addColumn<QStringList>("footer");
    QTest::addColumn<QString>("firstQuantity");

    QTest::newRow("no rows") << QList<QVariantList>{} << QStringList{"合计", "0.00", "0.0", ""} << QString();
    // The cells keep their own format: quantities are shown whole, their sum is not.
    QTest::newRow("whole quantities, sum with two decimals")
        << QList<QVariantList>{{"纸", 3, 37.5}, {"墨", 2.5, 10}} << QStringList{"合计", "5.50", "47.5", ""} << "3";
    QTest::newRow("empty values count as nothing")
        << QList<QVariantList>{{"纸", QVariant(), 1.5}, {"墨", 4, QVariant()}} << QStringList{"合计", "4.00", "1.5", ""}
        << "";
}

void TestDataGridFooter::sumsTheLoadedRows()
{
    QFETCH(QList<QVariantList>, rows);
    QFETCH(QStringList, footer);
    QFETCH(QString, firstQuantity);
    addRows(rows);
    auto grid = makeGrid(true);
    QVERIFY(m_rows->open("Select * from TCTrack where ClientID=1"));

    QVERIFY(grid->hasFooter());
    QStringList shown;
    for (int column = 0; column < grid->columns().size(); ++column)
        shown.append(grid->footerText(column));
    QCOMPARE(shown, footer);
    QCOMPARE(grid->cellText(0, 1), firstQuantity);
}

void TestDataGridFooter::followsEveryChangeOfTheRows()
{
    addRows({{"纸", 1, 10}, {"墨", 2, 20}});
    auto grid = makeGrid(true);
    QVERIFY(m_rows->open("Select * from TCTrack where ClientID=1 Order by ID"));
    QCOMPARE(grid->footerText(2), "30.0");

    m_rows->set("Total", 15);
    QCOMPARE(grid->footerText(2), "35.0");
    QVERIFY(m_rows->post());

    m_rows->append();
    m_rows->set("Total", 100);
    QCOMPARE(grid->footerText(2), "135.0");
    m_rows->cancel();
    QCOMPARE(grid->footerText(2), "35.0");

    QVERIFY(m_rows->first());
    QVERIFY(m_rows->deleteCurrent());
    QCOMPARE(grid->footerText(2), "20.0");

    m_rows->close();
    QCOMPARE(grid->footerText(2), "0.0");
}

void TestDataGridFooter::listWithoutFooterHasNone()
{
    addRows({{"纸", 1, 10}});
    auto grid = makeGrid(false);
    QVERIFY(m_rows->open("Select * from TCTrack"));
    QVERIFY(!grid->hasFooter());
    for (int column = 0; column < grid->columns().size(); ++column)
        QCOMPARE(grid->footerText(column), QString());
    grid->resize(400, 200);
    grid->show();
    QVERIFY(!grid->view()->findChild<QWidget *>("footerRow"));
}

void TestDataGridFooter::footerSitsUnderTheRows()
{
    addRows({{"纸", 1, 10}});
    auto grid = makeGrid(true);
    QVERIFY(m_rows->open("Select * from TCTrack"));
    // Narrow enough for a horizontal scroll bar.
    grid->resize(150, 200);
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));

    QTableView *view = grid->view();
    QWidget *footer = view->findChild<QWidget *>("footerRow");
    QVERIFY(footer && footer->isVisible());
    const QRect rows = view->viewport()->geometry();
    QCOMPARE(footer->geometry().top(), rows.bottom() + 1);
    QCOMPARE(footer->geometry().left(), rows.left());
    QCOMPARE(footer->width(), rows.width());
    QCOMPARE(footer->height(), view->verticalHeader()->defaultSectionSize());
    QVERIFY(view->horizontalScrollBar()->isVisible());
    QVERIFY(footer->mapTo(view, QPoint(0, footer->height())).y() <= view->horizontalScrollBar()->mapTo(view, QPoint()).y());
}

void TestDataGridFooter::numberColumnsFitTheirWidestValue_data()
{
    QTest::addColumn<QList<QVariantList>>("rows");
    QTest::addColumn<bool>("shown");

    QTest::newRow("large amount, before showing") << QList<QVariantList>{{"纸", 1, 1000000.25}} << false;
    QTest::newRow("large amount, shown") << QList<QVariantList>{{"纸", 1, 1000000.25}} << true;
    QTest::newRow("large sum of small amounts")
        << QList<QVariantList>{{"纸", 1, 999999.5}, {"墨", 1, 999999.5}} << true;
}

// A number cut short at the column's edge reads as another number: each value and each sum
// of a number column is shown whole once the list is loaded.
void TestDataGridFooter::numberColumnsFitTheirWidestValue()
{
    QFETCH(QList<QVariantList>, rows);
    QFETCH(bool, shown);
    addRows(rows);
    auto grid = makeGrid(true);
    grid->resize(600, 300);
    if (shown) {
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    }
    QVERIFY(m_rows->open("Select * from TCTrack where ClientID=1"));
    const QFontMetrics cells = grid->view()->fontMetrics();
    for (const int column : {1, 2}) {
        int widest = cells.horizontalAdvance(grid->footerText(column));
        for (int row = 0; row < grid->model().rowCount(); ++row)
            widest = std::max(widest, cells.horizontalAdvance(grid->cellText(row, column)));
        QVERIFY2(grid->view()->columnWidth(column) > widest + 4, qPrintable(grid->footerText(column)));
    }
}

PANDREL_TEST_MAIN(TestDataGridFooter)
#include "tst_datagridfooter.moc"
