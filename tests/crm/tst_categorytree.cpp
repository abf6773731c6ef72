#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "crm/CategoryTree.h"
#include "util/Gbk.h"

#include <QSignalSpy>

// Each case: its own program folder and scripted prompts; the category tables hold exactly
// the rows the case sets.
class TestCategoryTree : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void nextCodeUnderParent_data();
    void nextCodeUnderParent();
    void lastCodeUnderParentIsRefused();
    void treeShowsNamesInPinyinOrder();
    void childBeforeAnyRootStaysAtTopLevel();
    void firstNodeSelectedOnlyWhenConfigured_data();
    void firstNodeSelectedOnlyWhenConfigured();
    void emptyTableSelectsNothing();
    void unreadableTableKeepsTheTree();
    void findNodeByExactCode();
    void addRootStoresTheName_data();
    void addRootStoresTheName();
    void addWithoutNameAddsNothing_data();
    void addWithoutNameAddsNothing();
    void failedInsertLeavesNoNode();
    void addChildUnderRoot();
    void addChildUnderChildIsRefused();
    void renameStoresAndShows();
    void renameCancelledOrFailedKeepsName_data();
    void renameCancelledOrFailedKeepsName();
    void deleteRefusals_data();
    void deleteRefusals();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void clickBesideTheNodesKeepsTheSelection_data();
    void clickBesideTheNodesKeepsTheSelection();

private:
    Database &database() { return m_folder->database(); }
    // Category rows as "code name", the parent and level following from the code.
    void setCategories(const QString &table, const QStringList &rows);
    QStringList shownNames(const CategoryTree &tree) const;
    QString storedName(const QString &code);
    int storedCount(const QString &table);
    void failOn(const QString &table, const QString &event);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

namespace {

const QString kDataError = QStringLiteral("读取数据出现错误。");

// Display order, depth first, children indented by two spaces.
void collect(QTreeWidgetItem *node, const QString &indent, QStringList &names)
{
    names.append(indent + node->text(0));
    for (int i = 0; i < node->childCount(); ++i)
        collect(node->child(i), indent + QStringLiteral("  "), names);
}

} // namespace

void TestCategoryTree::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    setCategories(QStringLiteral("TClientClass"), {});
    setCategories(QStringLiteral("TGoodsClass"), {});
}

void TestCategoryTree::cleanup()
{
    m_prompter.reset();
    m_folder.reset();
}

void TestCategoryTree::setCategories(const QString &table, const QStringList &rows)
{
    QVERIFY(database().execute(QStringLiteral("Delete from %1").arg(table)));
    for (const QString &row : rows) {
        const QString code = row.section(' ', 0, 0);
        const QString parent = code.left(code.length() - 4);
        QVERIFY(database().execute(
            QStringLiteral("Insert into %1 (TypeCode,TypeName,ParTypeCode,nLeveal) values (?,?,?,?)").arg(table),
            {code, row.section(' ', 1), parent, code.length() / 4 - 1}));
    }
}

QStringList TestCategoryTree::shownNames(const CategoryTree &tree) const
{
    QStringList names;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        collect(tree.topLevelItem(i), QString(), names);
    return names;
}

QString TestCategoryTree::storedName(const QString &code)
{
    return database().queryValue(QStringLiteral("Select TypeName from TClientClass where TypeCode=?"), {code});
}

int TestCategoryTree::storedCount(const QString &table)
{
    return database().queryValue(QStringLiteral("Select count(*) from %1").arg(table)).toInt();
}

void TestCategoryTree::failOn(const QString &table, const QString &event)
{
    QVERIFY(database().execute(QStringLiteral("Create trigger fail_%1 before %1 on %2 begin select raise(abort, 'refused'); end")
                             .arg(event, table)));
}

void TestCategoryTree::nextCodeUnderParent_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first root") << QStringList{} << QString() << "0001";
    QTest::newRow("after 0003") << QStringList{"0001 a", "0002 b", "0003 c"} << QString() << "0004";
    QStringList ten;
    for (int i = 1; i <= 10; ++i)
        ten.append(QStringLiteral("%1 n%1").arg(i, 4, 10, QChar('0')));
    QTest::newRow("0010 is the text maximum") << ten << QString() << "0011";
    QTest::newRow("first child") << QStringList{"0001 a"} << "0001" << "00010001";
    QTest::newRow("after a child 0005")
        << QStringList{"0002 a", "00020001 b", "00020005 c", "0003 d", "00030009 e"} << "0002" << "00020006";
    QTest::newRow("first child at depth 3") << QStringList{} << "000100020003" << "0001000200030001";
    QTest::newRow("root 9998 leaves one") << QStringList{"9998 a"} << QString() << "9999";
}

void TestCategoryTree::nextCodeUnderParent()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, parent);
    QFETCH(QString, expected);
    setCategories(QStringLiteral("TClientClass"), rows);
    CategoryTree tree(clientCategories());
    QCOMPARE(tree.nextFreeCode(parent), expected);
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestCategoryTree::lastCodeUnderParentIsRefused()
{
    setCategories(QStringLiteral("TClientClass"), {"0001 a", "00019999 b"});
    CategoryTree tree(clientCategories());
    QVERIFY(tree.loadTree());
    tree.setCurrentItem(tree.findNode(QStringLiteral("0001")));

    m_prompter->answerText(QStringLiteral("新分类"));
    tree.addSubcategory();

    QCOMPARE(m_prompter->lastShown(), QStringLiteral("同一级分类最多只能建立9999个，不能再添加！"));
    QCOMPARE(storedCount(QStringLiteral("TClientClass")), 2);
    QCOMPARE(tree.topLevelItem(0)->childCount(), 1);
}

void TestCategoryTree::treeShowsNamesInPinyinOrder()
{
    // 北京 (bei) before 上海 (shang) before 武汉 (wu), whatever the codes say.
    setCategories(QStringLiteral("TClientClass"),
                  {"0001 武汉", "00010001 z区", "00010002 A区", "0002 北京", "0003 上海", "00030001 浦东"});
    CategoryTree tree(clientCategories());
    QVERIFY(tree.loadTree());
    QCOMPARE(shownNames(tree), (QStringList{"北京", "上海", "  浦东", "武汉", "  A区", "  z区"}));
    QCOMPARE(tree.topLevelItem(0)->icon(0).isNull(), false);
    const GoodsClass *child = CategoryTree::record(tree.findNode(QStringLiteral("00030001")));
    QVERIFY(child);
    QCOMPARE(child->parentTypeCode, QStringLiteral("0003"));
    QCOMPARE(child->level, 1);
}

void TestCategoryTree::childBeforeAnyRootStaysAtTopLevel()
{
    QVERIFY(database().execute(QStringLiteral("Insert into TClientClass (TypeCode,TypeName,ParTypeCode,nLeveal) "
                                        "values ('00000001','孤儿','0000',1), ('0001','根','',0)")));
    CategoryTree tree(clientCategories());
    QVERIFY(tree.loadTree());
    QCOMPARE(shownNames(tree), (QStringList{"根", "孤儿"}));
}

void TestCategoryTree::firstNodeSelectedOnlyWhenConfigured_data()
{
    QTest::addColumn<bool>("selectFirst");
    QTest::newRow("main window") << true;
    QTest::newRow("selection window") << false;
}

void TestCategoryTree::firstNodeSelectedOnlyWhenConfigured()
{
    QFETCH(bool, selectFirst);
    setCategories(QStringLiteral("TClientClass"), {"0001 上海", "0002 北京"});
    CategoryTreeConfig config = clientCategories();
    config.selectFirst = selectFirst;
    CategoryTree tree(config);
    QSignalSpy selected(&tree, &CategoryTree::categorySelected);
    QVERIFY(tree.loadTree());
    if (selectFirst) {
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.at(0).at(0).toString(), QStringLiteral("0002"));
        QCOMPARE(tree.selectedRecord()->typeName, QStringLiteral("北京"));
    } else {
        QCOMPARE(selected.size(), 0);
        QVERIFY(!tree.selectedRecord());
    }
    // A reload selects afresh.
    QVERIFY(tree.loadTree());
    QCOMPARE(selected.size(), selectFirst ? 2 : 0);
}

void TestCategoryTree::emptyTableSelectsNothing()
{
    CategoryTree tree(clientCategories());
    QSignalSpy selected(&tree, &CategoryTree::categorySelected);
    QVERIFY(tree.loadTree());
    QCOMPARE(tree.topLevelItemCount(), 0);
    QCOMPARE(selected.size(), 0);
    QVERIFY(!tree.selectedRecord());
}

void TestCategoryTree::unreadableTableKeepsTheTree()
{
    setCategories(QStringLiteral("TGoodsClass"), {"0001 办公用品"});
    CategoryTree tree(goodsCategories());
    QVERIFY(tree.loadTree());
    QVERIFY(database().execute(QStringLiteral("Drop table TGoodsClass")));
    QVERIFY(!tree.loadTree());
    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("读取数据出现错误。")});
    QCOMPARE(shownNames(tree), QStringList{"办公用品"});

    CategoryTree clients(clientCategories());
    QVERIFY(database().execute(QStringLiteral("Drop table TClientClass")));
    QVERIFY(!clients.loadTree());
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("读取数据发生错误！"));
}

void TestCategoryTree::findNodeByExactCode()
{
    setCategories(QStringLiteral("TClientClass"), {"0001 甲", "00010001 乙", "0002 丙"});
    CategoryTree tree(clientCategories());
    QVERIFY(tree.loadTree());
    QCOMPARE(tree.findNode(QStringLiteral("00010001"))->text(0), QStringLiteral("乙"));
    QVERIFY(!tree.findNode(QStringLiteral("000100")));
    QVERIFY(!tree.findNode(QString()));
}

void TestCategoryTree::addRootStoresTheName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    const QString twenty = QStringLiteral("一二三四五六七八九十一二三四五六七八九十");
    QTest::newRow("20 characters keep 15") << twenty << twenty.left(15);
    QTest::newRow("no half character") << QStringLiteral("a一二三四五六七八九十一二三四五")
                                       << QStringLiteral("a一二三四五六七八九十一二三四");
    QTest::newRow("quote, percent, underscore, emoji") << QStringLiteral("O'Brien 100%_😀")
                                                       << QStringLiteral("O'Brien 100%_😀");
}

void TestCategoryTree::addRootStoresTheName()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    setCategories(QStringLiteral("TClientClass"), {"0001 华东"});
    CategoryTree tree(clientCategories());
    QVERIFY(tree.loadTree());

    m_prompter->answerText(typed);
    tree.addRootCategory();

    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("输入客户主分类名称")});
    QCOMPARE(m_prompter->titles().value(0), QStringLiteral("输入客户主分类名称"));
    QCOMPARE(storedName(QStringLiteral("0002")), stored);
    QCOMPARE(database().queryValue(QStringLiteral("Select ParTypeCode || '/' || nLeveal from TClientClass "
                                              "where TypeCode='0002'")),
             QStringLiteral("/0"));
    QVERIFY(gbkByteLength(stored) <= 30);
    QTreeWidgetItem *added = tree.findNode(QStringLiteral("0002"));
    QVERIFY(added);
    QCOMPARE(added->text(0), stored);
    QCOMPARE(tree.currentItem()->text(0), QStringLiteral("华东")); // the new node is not selected
}

void TestCategoryTree::addWithoutNameAddsNothing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancel") << true;
    QTest::newRow("empty") << false;
}

void TestCategoryTree::addWithoutNameAddsNothing()
{
    QFETCH(bool, cancel);
    CategoryTree tree(goodsCategories());
    QVERIFY(tree.loadTree());
    cancel ? m_prompter->answerCancel() : m_prompter->answerText(QString());
    tree.addRootCategory();
    QCOMPARE(storedCount(QStringLiteral("TGoodsClass")), 0);
    QCOMPARE(tree.topLevelItemCount(), 0);
    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("输入商品主分类名称")});
}

void TestCategoryTree::failedInsertLeavesNoNode()
{
    setCategories(QStringLiteral("TClientClass"), {"0001 华东"});
    CategoryTree tree(clientCategories());
    QVERIFY(tree.loadTree());
    failOn(QStringLiteral("TClientClass"), QStringLiteral("insert"));

    m_prompter->answerText(QStringLiteral("华南"));
    tree.addRootCategory();
    m_prompter->answerText(QStringLiteral("上海"));
    tree.addSubcategory();

    QCOMPARE(m_prompter->shown().count(kDataError), 2);
    QCOMPARE(shownNames(tree), QStringList{"华东"});
}

void TestCategoryTree::addChildUnderRoot()
{
    setCategories(QStringLiteral("TGoodsClass"), {"0001 办公用品", "00010001 纸张", "0002 耗材"});
    CategoryTree tree(goodsCategories());
    QVERIFY(tree.loadTree());
    QTreeWidgetItem *root = tree.findNode(QStringLiteral("0001"));
    tree.setCurrentItem(root);
    root->setExpanded(false);

    m_prompter->answerText(QStringLiteral("笔类"));
    tree.addSubcategory();

    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("输入商品二级分类名称")});
    QCOMPARE(database().queryValue(QStringLiteral("Select TypeName || '/' || ParTypeCode || '/' || nLeveal from "
                                              "TGoodsClass where TypeCode='00010002'")),
             QStringLiteral("笔类/0001/1"));
    QCOMPARE(shownNames(tree), (QStringList{"办公用品", "  笔类", "  纸张", "耗材"}));
    QVERIFY(root->isExpanded());
    QCOMPARE(tree.currentItem(), root);
    QCOMPARE(CategoryTree::record(tree.findNode(QStringLiteral("00010002")))->level, 1);
}

void TestCategoryTree::addChildUnderChildIsRefused()
{
    setCategories(QStringLiteral("TClientClass"), {"0001 华东", "00010001 上海"});
    CategoryTree tree(clientCategories());
    QVERIFY(tree.loadTree());
    tree.setCurrentItem(tree.findNode(QStringLiteral("00010001")));
    tree.addSubcategory();
    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("选择根分类再添加下级")});
    QCOMPARE(storedCount(QStringLiteral("TClientClass")), 2);

    tree.setCurrentItem(nullptr);
    tree.addSubcategory();
    tree.renameCategory();
    tree.deleteCategory();
    QCOMPARE(m_prompter->shown().size(), 1); // nothing selected: nothing asked
}

void TestCategoryTree::renameStoresAndShows()
{
    setCategories(QStringLiteral("TClientClass"), {"0001 华东", "0002 北方"});
    QVERIFY(database().execute(QStringLiteral("Insert into TClient (TypeCode, TypeName, ClientName) "
                                        "values ('0002', '北方', '甲')")));
    CategoryTree tree(clientCategories());
    QVERIFY(tree.loadTree());
    tree.setCurrentItem(tree.findNode(QStringLiteral("0002")));

    m_prompter->answerText(QStringLiteral("O'华北 50%"));
    tree.renameCategory();

    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("输入新的客户分类名称")});
    QCOMPARE(storedName(QStringLiteral("0002")), QStringLiteral("O'华北 50%"));
    QCOMPARE(shownNames(tree), (QStringList{"O'华北 50%", "华东"})); // Latin before Chinese
    QCOMPARE(tree.selectedRecord()->typeName, QStringLiteral("O'华北 50%"));
    // Clients keep the name they were filed under.
    QCOMPARE(database().queryValue(QStringLiteral("Select TypeName from TClient where TypeCode='0002'")),
             QStringLiteral("北方"));
}

void TestCategoryTree::renameCancelledOrFailedKeepsName_data()
{
    QTest::addColumn<int>("way"); // 0 cancel, 1 empty, 2 the update fails
    QTest::newRow("cancel") << 0;
    QTest::newRow("empty") << 1;
    QTest::newRow("update fails") << 2;
}

void TestCategoryTree::renameCancelledOrFailedKeepsName()
{
    QFETCH(int, way);
    setCategories(QStringLiteral("TClientClass"), {"0001 华东"});
    CategoryTree tree(clientCategories());
    QVERIFY(tree.loadTree());
    if (way == 2)
        failOn(QStringLiteral("TClientClass"), QStringLiteral("update"));
    way == 0 ? m_prompter->answerCancel() : m_prompter->answerText(way == 1 ? QString() : QStringLiteral("华南"));
    tree.renameCategory();
    QCOMPARE(storedName(QStringLiteral("0001")), QStringLiteral("华东"));
    QCOMPARE(shownNames(tree), QStringList{"华东"});
    QCOMPARE(m_prompter->lastShown(), way == 2 ? kDataError : QStringLiteral("输入新的客户分类名称"));
}

void TestCategoryTree::deleteRefusals_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("has children") << "0001" << "指定分类下有子分类，不能直接删除！请先删除子分类！";
    QTest::newRow("has clients") << "00010001" << "对应分类下还有客户资料，不能直接删除！";
}

void TestCategoryTree::deleteRefusals()
{
    QFETCH(QString, code);
    QFETCH(QString, message);
    setCategories(QStringLiteral("TClientClass"), {"0001 华东", "00010001 上海"});
    QVERIFY(database().execute(QStringLiteral("Insert into TClient (TypeCode, ClientName) values ('00010001', '甲')")));
    CategoryTree tree(clientCategories());
    QVERIFY(tree.loadTree());
    tree.setCurrentItem(tree.findNode(code));
    tree.deleteCategory();
    QCOMPARE(m_prompter->shown(), QStringList{message});
    QCOMPARE(storedCount(QStringLiteral("TClientClass")), 2);
    QVERIFY(tree.findNode(code));
}

void TestCategoryTree::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("goods");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("client category, yes") << false << true << false << true;
    QTest::newRow("client category, no") << false << false << false << false;
    QTest::newRow("goods category, yes") << true << true << false << true;
    QTest::newRow("delete fails") << false << true << true << false;
}

void TestCategoryTree::deleteAsksFirst()
{
    QFETCH(bool, goods);
    QFETCH(bool, yes);
    QFETCH(bool, fails);
    QFETCH(bool, deleted);
    const QString table = goods ? QStringLiteral("TGoodsClass") : QStringLiteral("TClientClass");
    setCategories(table, {"0001 华东", "0002 华南"});
    // Goods of another category do not keep this one from being deleted.
    QVERIFY(database().execute(QStringLiteral("Insert into TGoods (TypeCode, GoodsName) values ('0001', '纸')")));
    if (fails)
        failOn(table, QStringLiteral("delete"));
    CategoryTree tree(goods ? goodsCategories() : clientCategories());
    QVERIFY(tree.loadTree());
    tree.setCurrentItem(tree.findNode(QStringLiteral("0002")));

    yes ? m_prompter->answerYes() : m_prompter->answerNo();
    tree.deleteCategory();

    QCOMPARE(m_prompter->shown().value(0), QStringLiteral("您确认删除吗？"));
    QCOMPARE(m_prompter->lastShown(), fails ? kDataError : QStringLiteral("您确认删除吗？"));
    QCOMPARE(storedCount(table), deleted ? 1 : 2);
    QCOMPARE(tree.findNode(QStringLiteral("0002")) == nullptr, deleted);
    QCOMPARE(tree.topLevelItemCount(), deleted ? 1 : 2);
}

void TestCategoryTree::clickBesideTheNodesKeepsTheSelection_data()
{
    QTest::addColumn<bool>("goods");
    QTest::newRow("client categories") << false;
    QTest::newRow("goods categories") << true;
}

// The list beside the tree stays on the chosen category, so the tree's 修改 must too.
void TestCategoryTree::clickBesideTheNodesKeepsTheSelection()
{
    QFETCH(bool, goods);
    const QString table = goods ? QStringLiteral("TGoodsClass") : QStringLiteral("TClientClass");
    setCategories(table, {"0001 华东", "0002 华南"});
    CategoryTree tree(goods ? goodsCategories() : clientCategories());
    tree.resize(200, 300);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    QVERIFY(tree.loadTree());
    QTreeWidgetItem *south = tree.findNode(QStringLiteral("0002"));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(south).center());
    QCOMPARE(tree.selectedRecord()->typeCode, "0002");
    QSignalSpy selected(&tree, &CategoryTree::categorySelected);

    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(100, 250));
    QVERIFY(tree.selectedRecord());
    QCOMPARE(tree.selectedRecord()->typeCode, "0002");
    QCOMPARE(selected.count(), 0);
    m_prompter->answerText(QStringLiteral("华南区"));
    tree.renameCategory();
    QCOMPARE(south->text(0), "华南区");
    QCOMPARE(database().queryValue(QStringLiteral("Select TypeName from %1 where TypeCode='0002'").arg(table)), "华南区");
}

PANDREL_TEST_MAIN(TestCategoryTree)
#include "tst_categorytree.moc"
