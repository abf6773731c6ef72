#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"
#include "WhenModal.h"

#include "crm/CategoryTree.h"
#include "crm/GoodsCatalogueDialog.h"
#include "crm/GoodsEditor.h"
#include "widgets/DataGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

// The goods window over the sample catalogue: its tree, its list, picking and maintenance.
class TestGoodsCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnFirstCategory();
    void clickingCategoryListsItsOwnGoods();
    void codesSortAlikeOnLoadAndTitleClick();
    void pickReturnsTheCurrentGoods_data();
    void pickReturnsTheCurrentGoods();
    void pickingFromEmptyListDoesNothing();
    void addedGoodsIsListedAndCurrent();
    void goodsButtonsNeedCategoryAndRow_data();
    void goodsButtonsNeedCategoryAndRow();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void categoryDeleteKeepsGoodsFiled_data();
    void categoryDeleteKeepsGoodsFiled();
    void pickGoodsRunsModally_data();
    void pickGoodsRunsModally();
    void unreadableCategoriesShowNothing();

private:
    Database &database() { return m_folder->database(); }
    void selectCategory(const QString &code);
    QStringList listedNames() const;

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<GoodsCatalogueDialog> m_window;
};

namespace {
const QString kPrinters = QStringLiteral("00010001");
}

void TestGoodsCatalogue::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_window = std::make_unique<GoodsCatalogueDialog>();
}

void TestGoodsCatalogue::cleanup()
{
    m_window.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestGoodsCatalogue::selectCategory(const QString &code)
{
    QTreeWidgetItem *node = m_window->m_categoryTree->findNode(code);
    QVERIFY(node);
    m_window->m_categoryTree->setCurrentItem(node);
}

QStringList TestGoodsCatalogue::listedNames() const
{
    QStringList names;
    for (int row = 0; row < m_window->m_goodsGrid->model().rowCount(); ++row)
        names.append(m_window->m_goodsGrid->cellText(row, 3));
    return names;
}

void TestGoodsCatalogue::opensOnFirstCategory()
{
    QVERIFY(m_window->loadCatalogue());
    // Roots in name order: 办公耗材 before 办公设备; it holds no goods of its own.
    QCOMPARE(m_window->m_categoryTree->selectedRecord()->typeName, "办公耗材");
    QVERIFY(m_window->goods().isOpen());
    QCOMPARE(listedNames(), QStringList{});
}

void TestGoodsCatalogue::clickingCategoryListsItsOwnGoods()
{
    QVERIFY(m_window->loadCatalogue());
    selectCategory(kPrinters);
    // In code order: CSPMDYJ, HBJGDYJ.
    QCOMPARE(listedNames(), (QStringList{"彩色喷墨打印机", "黑白激光打印机"}));
    QCOMPARE(m_window->m_goodsGrid->cellText(1, 6), "1580.00");
    selectCategory("0001");
    QCOMPARE(listedNames(), QStringList{});
}

// Codes in one order whichever way the list was sorted: letter case does not split them.
void TestGoodsCatalogue::codesSortAlikeOnLoadAndTitleClick()
{
    QVERIFY(database().execute("Delete from TGoods where TypeCode=?", {kPrinters}));
    for (const QString code : {"BJ", "abc", "bz", "Ac"})
        QVERIFY(database().execute("Insert into TGoods (TypeCode, GoodsCode, GoodsName) values (?, ?, ?)",
                                   {kPrinters, code, QStringLiteral("纸") + code}));
    QVERIFY(m_window->loadCatalogue());
    selectCategory(kPrinters);
    const QStringList expected{"纸abc", "纸Ac", "纸BJ", "纸bz"};
    QCOMPARE(listedNames(), expected);
    int codeColumn = 0;
    while (m_window->m_goodsGrid->columns().at(codeColumn).field != QStringLiteral("GoodsCode"))
        ++codeColumn;
    emit m_window->m_goodsGrid->view()->horizontalHeader()->sectionClicked(codeColumn);
    QCOMPARE(m_window->m_goodsGrid->sortColumn(), codeColumn);
    QCOMPARE(listedNames(), expected);
}

void TestGoodsCatalogue::pickReturnsTheCurrentGoods_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("选中") << false;
    QTest::newRow("double-click") << true;
}

void TestGoodsCatalogue::pickReturnsTheCurrentGoods()
{
    QFETCH(bool, doubleClick);
    QVERIFY(database().execute("Update TGoods Set Price=1580.5 where GoodsCode='HBJGDYJ'"));
    QVERIFY(m_window->loadCatalogue());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    selectCategory(kPrinters);
    QTableView *view = m_window->m_goodsGrid->view();
    const QPoint second = view->visualRect(m_window->m_goodsGrid->model().index(1, 3)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second);
    if (doubleClick)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, second);
    else
        m_window->m_chooseButton->click();

    QCOMPARE(m_window->result(), int(QDialog::Accepted));
    QVERIFY(m_window->picked());
    const PickedGoods &goods = *m_window->picked();
    QCOMPARE(goods.id, database().queryValue("Select ID from TGoods where GoodsCode='HBJGDYJ'").toLongLong());
    QCOMPARE(goods.name, "黑白激光打印机");
    QCOMPARE(goods.style, "LP-2300D");
    QCOMPARE(goods.unit, "台");
    QCOMPARE(goods.price, "1580.5");
}

void TestGoodsCatalogue::pickingFromEmptyListDoesNothing()
{
    QVERIFY(m_window->loadCatalogue());
    m_window->show();
    m_window->m_chooseButton->click();
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->picked());
    m_window->m_closeButton->click();
    QVERIFY(!m_window->isVisible());
    QVERIFY(!m_window->picked());
}

void TestGoodsCatalogue::addedGoodsIsListedAndCurrent()
{
    QVERIFY(m_window->loadCatalogue());
    selectCategory(kPrinters);
    whenModal<GoodsEditor>(this, [](GoodsEditor *editor) {
        editor->m_nameEdit->setText("针式打印机");
        editor->m_codeEdit->setText("ZSDYJ");
        editor->m_saveButton->click();
    });
    m_window->m_addGoodsButton->click();
    QCOMPARE(listedNames(), (QStringList{"彩色喷墨打印机", "黑白激光打印机", "针式打印机"}));
    QCOMPARE(m_window->goods().text("GoodsName"), "针式打印机");
    QCOMPARE(m_window->goods().text("TypeCode"), kPrinters);

    whenModal<GoodsEditor>(this, [](GoodsEditor *editor) {
        editor->m_codeEdit->setText("AAA");
        editor->m_saveButton->click();
    });
    m_window->m_editGoodsButton->click();
    // Re-listed in code order, still on the edited goods.
    QCOMPARE(listedNames().constFirst(), "针式打印机");
    QCOMPARE(m_window->goods().text("GoodsCode"), "AAA");
}

void TestGoodsCatalogue::goodsButtonsNeedCategoryAndRow_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("withCategory");
    QTest::addColumn<QStringList>("shown");

    const QStringList noCategory{"请首先建立或者选择一个商品分类！"};
    QTest::newRow("add without category") << "add" << false << noCategory;
    QTest::newRow("edit without category") << "edit" << false << noCategory;
    QTest::newRow("edit on empty list") << "edit" << true << QStringList{"没有可修改的记录！"};
    QTest::newRow("delete on empty list") << "delete" << true << QStringList{};
    QTest::newRow("delete without category") << "delete" << false << QStringList{};
}

void TestGoodsCatalogue::goodsButtonsNeedCategoryAndRow()
{
    QFETCH(QString, button);
    QFETCH(bool, withCategory);
    QFETCH(QStringList, shown);
    if (!withCategory)
        QVERIFY(database().execute("Delete from TGoodsClass"));
    QVERIFY(m_window->loadCatalogue());
    QCOMPARE(m_window->m_categoryTree->selectedRecord() != nullptr, withCategory);
    const QString goodsBefore = database().queryValue("Select count(*) from TGoods");
    (button == "add" ? m_window->m_addGoodsButton : button == "edit" ? m_window->m_editGoodsButton : m_window->m_deleteGoodsButton)->click();
    QCOMPARE(m_prompter->shown(), shown);
    QCOMPARE(database().queryValue("Select count(*) from TGoods"), goodsBefore);
}

void TestGoodsCatalogue::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestGoodsCatalogue::deleteAsksFirst()
{
    QFETCH(bool, yes);
    QVERIFY(m_window->loadCatalogue());
    selectCategory(kPrinters);
    yes ? m_prompter->answerYes() : m_prompter->answerNo();
    m_window->m_deleteGoodsButton->click();
    QCOMPARE(m_prompter->shown(), QStringList{"您确认删除选定商品资料吗？"});
    QCOMPARE(listedNames(), yes ? QStringList{"黑白激光打印机"} : (QStringList{"彩色喷墨打印机", "黑白激光打印机"}));
    QCOMPARE(database().queryValue("Select count(*) from TGoods where TypeCode=?", {kPrinters}), yes ? "1" : "2");
}

void TestGoodsCatalogue::categoryDeleteKeepsGoodsFiled_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("deleted");

    QTest::newRow("holding goods") << kPrinters << QStringList{"对应分类下还有商品资料，不能直接删除！"} << false;
    QTest::newRow("children holding goods") << "0001"
        << QStringList{"指定分类下有子分类，不能直接删除！请先删除子分类！"} << false;
    QTest::newRow("emptied") << kPrinters << QStringList{"您确认删除吗？"} << true;
}

// A category's goods keep its code: deleting the category under them would let the next one
// added under the same parent take the code and show them again.
void TestGoodsCatalogue::categoryDeleteKeepsGoodsFiled()
{
    QFETCH(QString, category);
    QFETCH(QStringList, shown);
    QFETCH(bool, deleted);
    if (deleted)
        QVERIFY(database().execute("Delete from TGoods where TypeCode=?", {category}));
    QVERIFY(m_window->loadCatalogue());
    const QString goodsBefore = database().queryValue("Select count(*) from TGoods");
    selectCategory(category);
    m_window->m_deleteCategoryButton->click();
    QCOMPARE(m_prompter->shown(), shown);
    QCOMPARE(!m_window->m_categoryTree->findNode(category), deleted);
    QCOMPARE(database().queryValue("Select count(*) from TGoodsClass where TypeCode=?", {category}), deleted ? "0" : "1");
    QCOMPARE(database().queryValue("Select count(*) from TGoods"), goodsBefore);
}

void TestGoodsCatalogue::pickGoodsRunsModally_data()
{
    QTest::addColumn<bool>("choose");
    QTest::newRow("chosen") << true;
    QTest::newRow("closed") << false;
}

void TestGoodsCatalogue::pickGoodsRunsModally()
{
    QFETCH(bool, choose);
    m_window.reset();
    whenModal<GoodsCatalogueDialog>(this, [choose](GoodsCatalogueDialog *window) {
        window->m_categoryTree->setCurrentItem(window->m_categoryTree->findNode(kPrinters));
        (choose ? window->m_chooseButton : window->m_closeButton)->click();
    });
    const std::optional<PickedGoods> goods = pickGoods();
    QCOMPARE(goods.has_value(), choose);
    if (choose)
        QCOMPARE(goods->name, "彩色喷墨打印机");
}

void TestGoodsCatalogue::unreadableCategoriesShowNothing()
{
    QVERIFY(database().execute("Drop table TGoodsClass"));
    QVERIFY(!m_window->loadCatalogue());
    QCOMPARE(m_prompter->shown(), QStringList{"读取数据出现错误。"});
    QVERIFY(!pickGoods());
}

PANDREL_TEST_MAIN(TestGoodsCatalogue)
#include "tst_goodscatalogue.moc"
