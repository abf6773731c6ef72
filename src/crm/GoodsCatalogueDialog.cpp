#include "crm/GoodsCatalogueDialog.h"

#include "crm/CategoryTree.h"
#include "crm/FollowUpValues.h"
#include "crm/GoodsEditor.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "widgets/DataGrid.h"

#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

GoodsCatalogueDialog::GoodsCatalogueDialog(QWidget *parent)
    : QDialog(parent)
    , m_categoryTree(new CategoryTree(goodsCategories()))
    , m_addRootButton(new QPushButton(tr("添加根")))
    , m_addSubcategoryButton(new QPushButton(tr("添加下级")))
    , m_renameCategoryButton(new QPushButton(tr("修改")))
    , m_deleteCategoryButton(new QPushButton(tr("删除")))
    , m_goodsGrid(new DataGrid(m_goods))
    , m_addGoodsButton(new QPushButton(tr("增加(&A)")))
    , m_editGoodsButton(new QPushButton(tr("修改(&E)")))
    , m_deleteGoodsButton(new QPushButton(tr("删除(&D)")))
    , m_closeButton(new QPushButton(tr("关闭(&X)")))
    , m_chooseButton(new QPushButton(tr("选中(&S)")))
{
    setWindowTitle(tr("商品信息维护"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(buildCategories());
    layout->addWidget(buildGoodsList(), 1);
    resize(760, 440);

    connect(m_categoryTree, &CategoryTree::categorySelected, this, &GoodsCatalogueDialog::loadGoods);
    connect(m_addRootButton, &QPushButton::clicked, m_categoryTree, &CategoryTree::addRootCategory);
    connect(m_addSubcategoryButton, &QPushButton::clicked, m_categoryTree, &CategoryTree::addSubcategory);
    connect(m_renameCategoryButton, &QPushButton::clicked, m_categoryTree, &CategoryTree::renameCategory);
    connect(m_deleteCategoryButton, &QPushButton::clicked, this, [this] {
        m_categoryTree->deleteCategory();
        // The goods of a category that is gone are no longer listed anywhere.
        if (!m_categoryTree->selectedRecord())
            m_goods.close();
    });
    connect(m_addGoodsButton, &QPushButton::clicked, this, &GoodsCatalogueDialog::addGoods);
    connect(m_editGoodsButton, &QPushButton::clicked, this, &GoodsCatalogueDialog::editCurrentGoods);
    connect(m_deleteGoodsButton, &QPushButton::clicked, this, &GoodsCatalogueDialog::deleteCurrentGoods);
    connect(m_chooseButton, &QPushButton::clicked, this, &GoodsCatalogueDialog::chooseCurrentGoods);
    connect(m_goodsGrid, &DataGrid::rowActivated, this, &GoodsCatalogueDialog::chooseCurrentGoods);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);
    m_goodsGrid->view()->setFocus();
}

QWidget *GoodsCatalogueDialog::buildCategories()
{
    m_addRootButton->setToolTip(tr("添加根分组"));
    m_addSubcategoryButton->setToolTip(tr("添加下级分组"));
    m_renameCategoryButton->setToolTip(tr("修改分组名称"));
    m_deleteCategoryButton->setToolTip(tr("删除选定分组"));
    auto *buttons = new QGridLayout;
    buttons->addWidget(m_addRootButton, 0, 0);
    buttons->addWidget(m_addSubcategoryButton, 0, 1);
    buttons->addWidget(m_renameCategoryButton, 1, 0);
    buttons->addWidget(m_deleteCategoryButton, 1, 1);
    auto *box = new QGroupBox(tr("商品分类"));
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(m_categoryTree, 1);
    layout->addLayout(buttons);
    box->setFixedWidth(200);
    return box;
}

QWidget *GoodsCatalogueDialog::buildGoodsList()
{
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    m_goodsGrid->setColumns({
        GridColumn{.field = QStringLiteral("ID"), .title = QStringLiteral("ID"), .visible = false},
        GridColumn{.field = QStringLiteral("TypeCode"), .title = QStringLiteral("TypeCode"), .visible = false},
        GridColumn{.field = QStringLiteral("GoodsCode"), .title = tr("商品简码"), .width = 75},
        GridColumn{.field = QStringLiteral("GoodsName"), .title = tr("商品名称"), .width = 120},
        GridColumn{.field = QStringLiteral("Style"), .title = tr("规格型号"), .width = 80},
        GridColumn{.field = QStringLiteral("Unit"), .title = tr("单位"), .width = 40},
        GridColumn{.field = QStringLiteral("Price"), .title = tr("单价"), .width = 70, .alignment = right, .decimals = 2},
        GridColumn{.field = QStringLiteral("Desp"), .title = tr("备注"), .width = 100},
    });
    m_goodsGrid->view()->horizontalHeader()->setStretchLastSection(true);
    m_goodsGrid->view()->setToolTip(tr("鼠标双击选中商品"));
    // Enter picks goods; it never adds, changes or deletes anything.
    for (QPushButton *button : {m_addRootButton, m_addSubcategoryButton, m_renameCategoryButton, m_deleteCategoryButton, m_addGoodsButton, m_editGoodsButton, m_deleteGoodsButton})
        button->setAutoDefault(false);
    m_chooseButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {m_addGoodsButton, m_editGoodsButton, m_deleteGoodsButton})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(m_chooseButton);
    buttons->addWidget(m_closeButton);
    auto *box = new QGroupBox(tr("商品列表"));
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(m_goodsGrid, 1);
    layout->addLayout(buttons);
    return box;
}

bool GoodsCatalogueDialog::loadCatalogue()
{
    return m_categoryTree->loadTree();
}

QString GoodsCatalogueDialog::nextFreeCode(const QString &parent)
{
    return m_categoryTree->nextFreeCode(parent);
}

bool GoodsCatalogueDialog::loadGoods(const QString &code)
{
    if (m_goods.open(QStringLiteral("Select * from TGoods Where TypeCode=? Order by GoodsCode collate PINYIN"), {code}))
        return true;
    platform::prompter().message(tr("读取数据出现错误。"), platform::Prompter::Icon::Error);
    return false;
}

QString GoodsCatalogueDialog::selectedCategory()
{
    if (const GoodsClass *selected = m_categoryTree->selectedRecord())
        return selected->typeCode;
    platform::prompter().message(tr("请首先建立或者选择一个商品分类！"), platform::Prompter::Icon::Information);
    return {};
}

void GoodsCatalogueDialog::reloadAt(qint64 id)
{
    if (const GoodsClass *selected = m_categoryTree->selectedRecord(); selected && loadGoods(selected->typeCode))
        m_goods.locate(id);
}

void GoodsCatalogueDialog::addGoods()
{
    const QString code = selectedCategory();
    if (code.isEmpty())
        return;
    qint64 added = -1;
    if (editGoods(code, -1, &added))
        reloadAt(added);
}

void GoodsCatalogueDialog::editCurrentGoods()
{
    const QString code = selectedCategory();
    if (code.isEmpty())
        return;
    if (m_goods.position() < 0) {
        platform::prompter().message(tr("没有可修改的记录！"), platform::Prompter::Icon::Information);
        return;
    }
    const qint64 id = m_goods.integer(QStringLiteral("ID"));
    if (editGoods(code, id))
        reloadAt(id);
}

void GoodsCatalogueDialog::deleteCurrentGoods()
{
    if (!m_categoryTree->selectedRecord() || m_goods.position() < 0)
        return;
    if (!platform::prompter().confirm(tr("您确认删除选定商品资料吗？")))
        return;
    if (!m_goods.deleteCurrent())
        platform::prompter().message(tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
}

void GoodsCatalogueDialog::chooseCurrentGoods()
{
    if (m_goods.position() < 0)
        return;
    m_picked = PickedGoods{m_goods.integer(QStringLiteral("ID")), m_goods.text(QStringLiteral("GoodsName")),
                           m_goods.text(QStringLiteral("Style")), m_goods.text(QStringLiteral("Unit")),
                           plainNumber(m_goods.number(QStringLiteral("Price")))};
    accept();
}

std::optional<PickedGoods> pickGoods(QWidget *parent)
{
    GoodsCatalogueDialog window(parent);
    if (!window.loadCatalogue())
        return std::nullopt;
    platform::execModal(window);
    return window.picked();
}
