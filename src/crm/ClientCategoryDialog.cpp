#include "crm/TfrmClientClassSel.h"

#include "platform/ModalDialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

CategoryTreeConfig selectionTree()
{
    CategoryTreeConfig config = clientCategories();
    config.selectFirst = false;
    return config;
}

} // namespace

TfrmClientClassSel::TfrmClientClassSel(QWidget *parent)
    : QDialog(parent)
    , tree(new CategoryTree(selectionTree()))
    , cmdReg(new QPushButton(tr("选中(&S)")))
    , cmdClose(new QPushButton(tr("取消(&X)")))
{
    setWindowTitle(tr("客户分类选择"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdReg);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tree, 1);
    layout->addLayout(buttons);
    resize(280, 360);

    connect(cmdReg, &QPushButton::clicked, this, &TfrmClientClassSel::cmdRegClick);
    connect(tree, &QTreeWidget::itemDoubleClicked, this, &TfrmClientClassSel::cmdRegClick);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmClientClassSel::ReadyData()
{
    return tree->ReadyTree();
}

void TfrmClientClassSel::cmdRegClick()
{
    const GoodsClass *selected = tree->selectedRecord();
    if (!selected)
        return;
    m_chosen = *selected;
    accept();
}

std::optional<GoodsClass> SelectClientClass()
{
    TfrmClientClassSel window;
    if (!window.ReadyData())
        return std::nullopt;
    platform::execModal(window);
    return window.chosen();
}
