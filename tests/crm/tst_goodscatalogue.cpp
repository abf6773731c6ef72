#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"
#include "WhenModal.h"

#include "crm/CategoryTree.h"
#include "crm/TfrmGoods.h"
#include "crm/TfrmGoodsEdit.h"
#include "widgets/DataGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

// The goods window over the sample catalogue: its tree, its list, picking and maintenance.
class TestGoods : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnFirstCategory();
    void clickingCategoryListsItsOwnGoods();
    void pickReturnsTheCurrentGoods_data();
    void pickReturnsTheCurrentGoods();
    void pickingFromEmptyListDoesNothing();
    void addedGoodsIsListedAndCurrent();
    void goodsButtonsNeedCategoryAndRow_data();
    void goodsButtonsNeedCategoryAndRow();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void categoryHoldingGoodsCanBeDeleted();
    void pickGoodsRunsModally_data();
    void pickGoodsRunsModally();
    void unreadableCategoriesShowNothing();

private:
    TDM &dm() { return m_folder->dm(); }
    void selectCategory(const QString &code);
    QStringList listedNames() const;

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<TfrmGoods> m_window;
};

namespace {
const QString kPrinters = QStringLiteral("00010001");
}

void TestGoods::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_window = std::make_unique<TfrmGoods>();
}

void TestGoods::cleanup()
{
    m_window.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestGoods::selectCategory(const QString &code)
{
    QTreeWidgetItem *node = m_window->tree->FindNode(code);
    QVERIFY(node);
    m_window->tree->setCurrentItem(node);
}

QStringList TestGoods::listedNames() const
{
    QStringList names;
    for (int row = 0; row < m_window->DBGridEh1->model().rowCount(); ++row)
        names.append(m_window->DBGridEh1->cellText(row, 3));
    return names;
}

void TestGoods::opensOnFirstCategory()
{
    QVERIFY(m_window->ReadyData());
    // Roots in name order: 办公耗材 before 办公设备; it holds no goods of its own.
    QCOMPARE(m_window->tree->selectedRecord()->TypeName, "办公耗材");
    QVERIFY(m_window->goods().isOpen());
    QCOMPARE(listedNames(), QStringList{});
}

void TestGoods::clickingCategoryListsItsOwnGoods()
{
    QVERIFY(m_window->ReadyData());
    selectCategory(kPrinters);
    // In code order: CSPMDYJ, HBJGDYJ.
    QCOMPARE(listedNames(), (QStringList{"彩色喷墨打印机", "黑白激光打印机"}));
    QCOMPARE(m_window->DBGridEh1->cellText(1, 6), "1580.00");
    selectCategory("0001");
    QCOMPARE(listedNames(), QStringList{});
}

void TestGoods::pickReturnsTheCurrentGoods_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("选中") << false;
    QTest::newRow("double-click") << true;
}

void TestGoods::pickReturnsTheCurrentGoods()
{
    QFETCH(bool, doubleClick);
    QVERIFY(dm().execute("Update TGoods Set Price=1580.5 where GoodsCode='HBJGDYJ'"));
    QVERIFY(m_window->ReadyData());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    selectCategory(kPrinters);
    QTableView *view = m_window->DBGridEh1->view();
    const QPoint second = view->visualRect(m_window->DBGridEh1->model().index(1, 3)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second);
    if (doubleClick)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, second);
    else
        m_window->cmdSelect->click();

    QCOMPARE(m_window->result(), int(QDialog::Accepted));
    QVERIFY(m_window->picked());
    const PickedGoods &goods = *m_window->picked();
    QCOMPARE(goods.id, dm().GetDataBySQL("Select ID from TGoods where GoodsCode='HBJGDYJ'").toLongLong());
    QCOMPARE(goods.name, "黑白激光打印机");
    QCOMPARE(goods.style, "LP-2300D");
    QCOMPARE(goods.unit, "台");
    QCOMPARE(goods.price, "1580.5");
}

void TestGoods::pickingFromEmptyListDoesNothing()
{
    QVERIFY(m_window->ReadyData());
    m_window->show();
    m_window->cmdSelect->click();
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->picked());
    m_window->cmdClose->click();
    QVERIFY(!m_window->isVisible());
    QVERIFY(!m_window->picked());
}

void TestGoods::addedGoodsIsListedAndCurrent()
{
    QVERIFY(m_window->ReadyData());
    selectCategory(kPrinters);
    whenModal<TfrmGoodsEdit>(this, [](TfrmGoodsEdit *editor) {
        editor->EditGoodsName->setText("针式打印机");
        editor->EditGoodsCode->setText("ZSDYJ");
        editor->cmdReg->click();
    });
    m_window->cmdAddClient->click();
    QCOMPARE(listedNames(), (QStringList{"彩色喷墨打印机", "黑白激光打印机", "针式打印机"}));
    QCOMPARE(m_window->goods().text("GoodsName"), "针式打印机");
    QCOMPARE(m_window->goods().text("TypeCode"), kPrinters);

    whenModal<TfrmGoodsEdit>(this, [](TfrmGoodsEdit *editor) {
        editor->EditGoodsCode->setText("AAA");
        editor->cmdReg->click();
    });
    m_window->cmdEditClient->click();
    // Re-listed in code order, still on the edited goods.
    QCOMPARE(listedNames().constFirst(), "针式打印机");
    QCOMPARE(m_window->goods().text("GoodsCode"), "AAA");
}

void TestGoods::goodsButtonsNeedCategoryAndRow_data()
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

void TestGoods::goodsButtonsNeedCategoryAndRow()
{
    QFETCH(QString, button);
    QFETCH(bool, withCategory);
    QFETCH(QStringList, shown);
    if (!withCategory)
        QVERIFY(dm().execute("Delete from TGoodsClass"));
    QVERIFY(m_window->ReadyData());
    QCOMPARE(m_window->tree->selectedRecord() != nullptr, withCategory);
    const QString goodsBefore = dm().GetDataBySQL("Select count(*) from TGoods");
    (button == "add" ? m_window->cmdAddClient : button == "edit" ? m_window->cmdEditClient : m_window->cmdDeleteClient)->click();
    QCOMPARE(m_prompter->shown(), shown);
    QCOMPARE(dm().GetDataBySQL("Select count(*) from TGoods"), goodsBefore);
}

void TestGoods::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestGoods::deleteAsksFirst()
{
    QFETCH(bool, yes);
    QVERIFY(m_window->ReadyData());
    selectCategory(kPrinters);
    yes ? m_prompter->answerYes() : m_prompter->answerNo();
    m_window->cmdDeleteClient->click();
    QCOMPARE(m_prompter->shown(), QStringList{"您确认删除选定商品资料吗？"});
    QCOMPARE(listedNames(), yes ? QStringList{"黑白激光打印机"} : (QStringList{"彩色喷墨打印机", "黑白激光打印机"}));
    QCOMPARE(dm().GetDataBySQL("Select count(*) from TGoods where TypeCode=?", {kPrinters}), yes ? "1" : "2");
}

void TestGoods::categoryHoldingGoodsCanBeDeleted()
{
    QVERIFY(m_window->ReadyData());
    selectCategory(kPrinters);
    m_window->cmdDelete->click();
    QCOMPARE(m_prompter->shown(), QStringList{"您确认删除吗？"});
    QVERIFY(!m_window->tree->FindNode(kPrinters));
    QCOMPARE(dm().GetDataBySQL("Select count(*) from TGoodsClass where TypeCode=?", {kPrinters}), "0");
    // Its goods stay, filed under a code no category has.
    QCOMPARE(dm().GetDataBySQL("Select count(*) from TGoods where TypeCode=?", {kPrinters}), "2");
    QVERIFY(!listedNames().contains("黑白激光打印机"));
}

void TestGoods::pickGoodsRunsModally_data()
{
    QTest::addColumn<bool>("choose");
    QTest::newRow("chosen") << true;
    QTest::newRow("closed") << false;
}

void TestGoods::pickGoodsRunsModally()
{
    QFETCH(bool, choose);
    m_window.reset();
    whenModal<TfrmGoods>(this, [choose](TfrmGoods *window) {
        window->tree->setCurrentItem(window->tree->FindNode(kPrinters));
        (choose ? window->cmdSelect : window->cmdClose)->click();
    });
    const std::optional<PickedGoods> goods = PickGoods();
    QCOMPARE(goods.has_value(), choose);
    if (choose)
        QCOMPARE(goods->name, "彩色喷墨打印机");
}

void TestGoods::unreadableCategoriesShowNothing()
{
    QVERIFY(dm().execute("Drop table TGoodsClass"));
    QVERIFY(!m_window->ReadyData());
    QCOMPARE(m_prompter->shown(), QStringList{"读取数据出现错误。"});
    QVERIFY(!PickGoods());
}

PANDREL_TEST_MAIN(TestGoods)
#include "tst_goods.moc"
