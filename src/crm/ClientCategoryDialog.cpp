#include "crm/ClientCategoryDialog.h"

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

ClientCategoryDialog::ClientCategoryDialog(QWidget *parent)
    : QDialog(parent)
    , m_categoryTree(new CategoryTree(selectionTree()))
    , m_chooseButton(new QPushButton(tr("选中(&S)")))
    , m_cancelButton(new QPushButton(tr("取消(&X)")))
{
    setWindowTitle(tr("客户分类选择"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_chooseButton);
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_categoryTree, 1);
    layout->addLayout(buttons);
    resize(280, 360);

    connect(m_chooseButton, &QPushButton::clicked, this, &ClientCategoryDialog::chooseSelectedCategory);
    connect(m_categoryTree, &QTreeWidget::itemDoubleClicked, this, &ClientCategoryDialog::chooseSelectedCategory);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool ClientCategoryDialog::loadCategories()
{
    return m_categoryTree->loadTree();
}

void ClientCategoryDialog::chooseSelectedCategory()
{
    const GoodsClass *selected = m_categoryTree->selectedRecord();
    if (!selected)
        return;
    m_chosen = *selected;
    accept();
}

std::optional<GoodsClass> pickClientCategory()
{
    ClientCategoryDialog window;
    if (!window.loadCategories())
        return std::nullopt;
    platform::execModal(window);
    return window.chosen();
}
