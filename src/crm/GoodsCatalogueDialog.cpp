#include "crm/TfrmGoods.h"

#include "crm/CategoryTree.h"
#include "crm/FollowUpValues.h"
#include "crm/TfrmGoodsEdit.h"
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

TfrmGoods::TfrmGoods(QWidget *parent)
    : QDialog(parent)
    , tree(new CategoryTree(goodsCategories()))
    , cmdAddRoot(new QPushButton(tr("添加根")))
    , cndAddSon(new QPushButton(tr("添加下级")))
    , cmdEdit(new QPushButton(tr("修改")))
    , cmdDelete(new QPushButton(tr("删除")))
    , DBGridEh1(new DataGrid(m_goods))
    , cmdAddClient(new QPushButton(tr("增加(&A)")))
    , cmdEditClient(new QPushButton(tr("修改(&E)")))
    , cmdDeleteClient(new QPushButton(tr("删除(&D)")))
    , cmdClose(new QPushButton(tr("关闭(&X)")))
    , cmdSelect(new QPushButton(tr("选中(&S)")))
{
    setWindowTitle(tr("商品信息维护"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(buildCategories());
    layout->addWidget(buildGoodsList(), 1);
    resize(760, 440);

    connect(tree, &CategoryTree::categorySelected, this, &TfrmGoods::ReadyList);
    connect(cmdAddRoot, &QPushButton::clicked, tree, &CategoryTree::AddRoot);
    connect(cndAddSon, &QPushButton::clicked, tree, &CategoryTree::AddChild);
    connect(cmdEdit, &QPushButton::clicked, tree, &CategoryTree::Rename);
    connect(cmdDelete, &QPushButton::clicked, this, [this] {
        tree->Delete();
        // The goods of a category that is gone are no longer listed anywhere.
        if (!tree->selectedRecord())
            m_goods.close();
    });
    connect(cmdAddClient, &QPushButton::clicked, this, &TfrmGoods::cmdAddClientClick);
    connect(cmdEditClient, &QPushButton::clicked, this, &TfrmGoods::cmdEditClientClick);
    connect(cmdDeleteClient, &QPushButton::clicked, this, &TfrmGoods::cmdDeleteClientClick);
    connect(cmdSelect, &QPushButton::clicked, this, &TfrmGoods::cmdSelectClick);
    connect(DBGridEh1, &DataGrid::rowActivated, this, &TfrmGoods::cmdSelectClick);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    DBGridEh1->view()->setFocus();
}

QWidget *TfrmGoods::buildCategories()
{
    cmdAddRoot->setToolTip(tr("添加根分组"));
    cndAddSon->setToolTip(tr("添加下级分组"));
    cmdEdit->setToolTip(tr("修改分组名称"));
    cmdDelete->setToolTip(tr("删除选定分组"));
    auto *buttons = new QGridLayout;
    buttons->addWidget(cmdAddRoot, 0, 0);
    buttons->addWidget(cndAddSon, 0, 1);
    buttons->addWidget(cmdEdit, 1, 0);
    buttons->addWidget(cmdDelete, 1, 1);
    auto *box = new QGroupBox(tr("商品分类"));
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(tree, 1);
    layout->addLayout(buttons);
    box->setFixedWidth(200);
    return box;
}

QWidget *TfrmGoods::buildGoodsList()
{
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    DBGridEh1->setColumns({
        GridColumn{.field = QStringLiteral("ID"), .title = QStringLiteral("ID"), .visible = false},
        GridColumn{.field = QStringLiteral("TypeCode"), .title = QStringLiteral("TypeCode"), .visible = false},
        GridColumn{.field = QStringLiteral("GoodsCode"), .title = tr("商品简码"), .width = 75},
        GridColumn{.field = QStringLiteral("GoodsName"), .title = tr("商品名称"), .width = 120},
        GridColumn{.field = QStringLiteral("Style"), .title = tr("规格型号"), .width = 80},
        GridColumn{.field = QStringLiteral("Unit"), .title = tr("单位"), .width = 40},
        GridColumn{.field = QStringLiteral("Price"), .title = tr("单价"), .width = 70, .alignment = right, .decimals = 2},
        GridColumn{.field = QStringLiteral("Desp"), .title = tr("备注"), .width = 100},
    });
    DBGridEh1->view()->horizontalHeader()->setStretchLastSection(true);
    DBGridEh1->view()->setToolTip(tr("鼠标双击选中商品"));
    // Enter picks goods; it never adds, changes or deletes anything.
    for (QPushButton *button : {cmdAddRoot, cndAddSon, cmdEdit, cmdDelete, cmdAddClient, cmdEditClient, cmdDeleteClient})
        button->setAutoDefault(false);
    cmdSelect->setDefault(true);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {cmdAddClient, cmdEditClient, cmdDeleteClient})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(cmdSelect);
    buttons->addWidget(cmdClose);
    auto *box = new QGroupBox(tr("商品列表"));
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(DBGridEh1, 1);
    layout->addLayout(buttons);
    return box;
}

bool TfrmGoods::ReadyData()
{
    return tree->ReadyTree();
}

QString TfrmGoods::GetMaxNum(const QString &parent)
{
    return tree->GetMaxNum(parent);
}

bool TfrmGoods::ReadyList(const QString &code)
{
    if (m_goods.open(QStringLiteral("Select * from TGoods Where TypeCode=? Order by GoodsCode"), {code}))
        return true;
    platform::prompter().message(tr("读取数据出现错误。"), platform::Prompter::Icon::Error);
    return false;
}

QString TfrmGoods::selectedCategory()
{
    if (const GoodsClass *selected = tree->selectedRecord())
        return selected->TypeCode;
    platform::prompter().message(tr("请首先建立或者选择一个商品分类！"), platform::Prompter::Icon::Information);
    return {};
}

void TfrmGoods::reloadAt(qint64 id)
{
    if (const GoodsClass *selected = tree->selectedRecord(); selected && ReadyList(selected->TypeCode))
        m_goods.locate(id);
}

void TfrmGoods::cmdAddClientClick()
{
    const QString code = selectedCategory();
    if (code.isEmpty())
        return;
    qint64 added = -1;
    if (ShowGoodsEditor(code, -1, &added))
        reloadAt(added);
}

void TfrmGoods::cmdEditClientClick()
{
    const QString code = selectedCategory();
    if (code.isEmpty())
        return;
    if (m_goods.position() < 0) {
        platform::prompter().message(tr("没有可修改的记录！"), platform::Prompter::Icon::Information);
        return;
    }
    const qint64 id = m_goods.integer(QStringLiteral("ID"));
    if (ShowGoodsEditor(code, id))
        reloadAt(id);
}

void TfrmGoods::cmdDeleteClientClick()
{
    if (!tree->selectedRecord() || m_goods.position() < 0)
        return;
    if (!platform::prompter().confirm(tr("您确认删除选定商品资料吗？")))
        return;
    if (!m_goods.deleteCurrent())
        platform::prompter().message(tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
}

void TfrmGoods::cmdSelectClick()
{
    if (m_goods.position() < 0)
        return;
    m_picked = PickedGoods{m_goods.integer(QStringLiteral("ID")), m_goods.text(QStringLiteral("GoodsName")),
                           m_goods.text(QStringLiteral("Style")), m_goods.text(QStringLiteral("Unit")),
                           plainNumber(m_goods.number(QStringLiteral("Price")))};
    accept();
}

std::optional<PickedGoods> PickGoods(QWidget *parent)
{
    TfrmGoods window(parent);
    if (!window.ReadyData())
        return std::nullopt;
    platform::execModal(window);
    return window.picked();
}
