#include "crm/CategoryTree.h"

#include <QMouseEvent>

#include "data/PinyinCollation.h"
#include "data/Recordset.h"
#include "data/Database.h"
#include "platform/Prompter.h"
#include "util/Gbk.h"
#include "util/TextHelpers.h"

#include <QStyle>
#include <QTreeWidgetItemIterator>

namespace {

constexpr int kSegmentWidth = 4;
constexpr int kLastSegment = 9999;
constexpr int kNameBytes = 30;

// A node of the tree: the row it stands for travels with it, and siblings are shown in
// pinyin order of their names.
class CategoryNode final : public QTreeWidgetItem
{
public:
    explicit CategoryNode(const GoodsClass &record) : m_record(record) { setText(0, record.typeName); }
    GoodsClass &record() { return m_record; }
    const GoodsClass &record() const { return m_record; }

    bool operator<(const QTreeWidgetItem &other) const override
    {
        return comparePinyin(text(0), other.text(0)) < 0;
    }

private:
    GoodsClass m_record;
};

void reportDataError()
{
    platform::prompter().message(CategoryTree::tr("读取数据出现错误。"), platform::Prompter::Icon::Error);
}

} // namespace

CategoryTreeConfig clientCategories()
{
    return CategoryTreeConfig{
        .table = QStringLiteral("TClientClass"),
        .deepestChildParent = 0,
        .childLevel = 1,
        .addRootPrompt = CategoryTree::tr("输入客户主分类名称"),
        .addChildPrompt = CategoryTree::tr("输入客户二级分类名称"),
        .renamePrompt = CategoryTree::tr("输入新的客户分类名称"),
        .loadFailure = CategoryTree::tr("读取数据发生错误！"),
        .selectFirst = true,
        .itemsTable = QStringLiteral("TClient"),
        .itemsRefusal = CategoryTree::tr("对应分类下还有客户资料，不能直接删除！"),
    };
}

CategoryTreeConfig goodsCategories()
{
    return CategoryTreeConfig{
        .table = QStringLiteral("TGoodsClass"),
        .deepestChildParent = 0,
        .childLevel = 1,
        .addRootPrompt = CategoryTree::tr("输入商品主分类名称"),
        .addChildPrompt = CategoryTree::tr("输入商品二级分类名称"),
        .renamePrompt = CategoryTree::tr("输入新的商品分类名称"),
        .loadFailure = CategoryTree::tr("读取数据出现错误。"),
        .selectFirst = true,
        // Goods keep their category's code; a later category given the same code would
        // show them again where the user had deleted them.
        .itemsTable = QStringLiteral("TGoods"),
        .itemsRefusal = CategoryTree::tr("对应分类下还有商品资料，不能直接删除！"),
    };
}

CategoryTree::CategoryTree(CategoryTreeConfig config, QWidget *parent)
    : QTreeWidget(parent)
    , m_config(std::move(config))
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(false);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        if (const GoodsClass *selected = record(current))
            emit categorySelected(selected->typeCode);
    });
}

void CategoryTree::mousePressEvent(QMouseEvent *event)
{
    // A click beside the nodes would clear the selection and leave the category's list on
    // screen with nothing chosen for it; the category stays selected instead.
    if (!itemAt(event->position().toPoint())) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

const GoodsClass *CategoryTree::record(const QTreeWidgetItem *node)
{
    const auto *category = dynamic_cast<const CategoryNode *>(node);
    return category ? &category->record() : nullptr;
}

const GoodsClass *CategoryTree::selectedRecord() const
{
    // Focus alone can make a node current without selecting it.
    const QTreeWidgetItem *current = currentItem();
    return current && current->isSelected() ? record(current) : nullptr;
}

QString CategoryTree::nextFreeCode(const QString &parent)
{
    Recordset scratch;
    if (!scratch.open(QStringLiteral("Select Max(TypeCode) from %1 Where ParTypeCode=?").arg(m_config.table),
                      {parent})) {
        reportDataError();
        return {};
    }
    const QString highest = scratch.isEmpty() ? QString() : scratch.textAt(0, 0);
    if (highest.isEmpty())
        return parent + padWithZeros(QStringLiteral("1"), kSegmentWidth);
    const QString segment = highest.length() > kSegmentWidth ? highest.mid(parent.length()) : highest;
    const int next = segment.toInt() + 1;
    // A fifth digit would sort "10000" before "9999" and break the order of the codes.
    if (next > kLastSegment) {
        platform::prompter().message(tr("同一级分类最多只能建立%1个，不能再添加！").arg(kLastSegment),
                                     platform::Prompter::Icon::Warning);
        return {};
    }
    return parent + padWithZeros(QString::number(next), kSegmentWidth);
}

QTreeWidgetItem *CategoryTree::addNode(QTreeWidgetItem *parent, const GoodsClass &record)
{
    auto *node = new CategoryNode(record);
    node->setIcon(0, style()->standardIcon(record.level == 0 ? QStyle::SP_DirIcon : QStyle::SP_FileIcon));
    if (parent == nullptr)
        addTopLevelItem(node);
    else
        parent->addChild(node);
    return node;
}

void CategoryTree::showNodeOrder()
{
    sortItems(0, Qt::AscendingOrder);
}

bool CategoryTree::loadTree()
{
    Recordset rows;
    if (!rows.open(QStringLiteral("Select * from %1 Order by TypeCode").arg(m_config.table))) {
        platform::prompter().message(m_config.loadFailure, platform::Prompter::Icon::Error);
        return false;
    }
    {
        const QSignalBlocker quiet(this);
        clear();
        QTreeWidgetItem *root = nullptr;
        for (int row = 0; row < rows.count(); ++row) {
            rows.moveTo(row);
            const GoodsClass record{0, rows.text(QStringLiteral("TypeCode")), rows.text(QStringLiteral("ParTypeCode")),
                                    rows.text(QStringLiteral("TypeName")),
                                    qint32(rows.integer(QStringLiteral("nLeveal")))};
            // Codes sort parents before their children, so a child follows its root.
            if (record.level == 0)
                root = addNode(nullptr, record);
            else
                addNode(root, record);
        }
        showNodeOrder();
        expandAll();
    }
    // The tree was cleared, so this is a change of the current node: it reports the selection.
    if (m_config.selectFirst && topLevelItemCount() > 0)
        setCurrentItem(topLevelItem(0));
    return true;
}

QTreeWidgetItem *CategoryTree::findNode(const QString &code) const
{
    for (QTreeWidgetItemIterator it(const_cast<CategoryTree *>(this)); *it; ++it) {
        if (const GoodsClass *found = record(*it); found && found->typeCode == code)
            return *it;
    }
    return nullptr;
}

std::optional<QString> CategoryTree::askName(const QString &prompt, const QString &initial)
{
    const std::optional<QString> answer = platform::prompter().inputText(prompt, prompt, initial);
    if (!answer || answer->isEmpty())
        return std::nullopt;
    return gbkTruncate(*answer, kNameBytes);
}

bool CategoryTree::insertRow(const GoodsClass &record)
{
    const bool stored = Database::instance().execute(
        QStringLiteral("Insert into %1 (TypeCode,TypeName,ParTypeCode,nLeveal) Values(?,?,?,?)").arg(m_config.table),
        {record.typeCode, record.typeName, record.parentTypeCode, record.level});
    if (!stored)
        reportDataError();
    return stored;
}

void CategoryTree::addRootCategory()
{
    const std::optional<QString> name = askName(m_config.addRootPrompt, QString());
    if (!name)
        return;
    const QString code = nextFreeCode(QString());
    if (code.isEmpty())
        return;
    // The node is shown once its row is stored, so the tree never holds a category the
    // table does not.
    const GoodsClass added{0, code, QString(), *name, 0};
    if (!insertRow(added))
        return;
    addNode(nullptr, added);
    showNodeOrder();
}

void CategoryTree::addSubcategory()
{
    QTreeWidgetItem *parentNode = currentItem();
    const GoodsClass *parentRecord = record(parentNode);
    if (!parentRecord)
        return;
    if (parentRecord->level > m_config.deepestChildParent) {
        platform::prompter().message(tr("选择根分类再添加下级"), platform::Prompter::Icon::Information);
        return;
    }
    const std::optional<QString> name = askName(m_config.addChildPrompt, QString());
    if (!name)
        return;
    const QString code = nextFreeCode(parentRecord->typeCode);
    if (code.isEmpty())
        return;
    GoodsClass added{0, code, parentRecord->typeCode, *name, m_config.childLevel};
    if (!insertRow(added))
        return;
    addNode(parentNode, added);
    showNodeOrder();
    parentNode->setExpanded(true);
}

void CategoryTree::renameCategory()
{
    auto *node = dynamic_cast<CategoryNode *>(currentItem());
    if (!node)
        return;
    const std::optional<QString> name = askName(m_config.renamePrompt, node->record().typeName);
    if (!name)
        return;
    if (!Database::instance().execute(QStringLiteral("Update %1 Set TypeName=? Where TypeCode=?").arg(m_config.table),
                                 {*name, node->record().typeCode})) {
        reportDataError();
        return;
    }
    node->record().typeName = *name;
    node->setText(0, *name);
    showNodeOrder();
}

void CategoryTree::deleteCategory()
{
    QTreeWidgetItem *node = currentItem();
    const GoodsClass *selected = record(node);
    if (!selected)
        return;
    platform::Prompter &prompter = platform::prompter();
    if (node->childCount() > 0) {
        prompter.message(tr("指定分类下有子分类，不能直接删除！请先删除子分类！"), platform::Prompter::Icon::Information);
        return;
    }
    if (!m_config.itemsTable.isEmpty()) {
        Recordset items;
        if (!items.open(QStringLiteral("Select ID from %1 Where TypeCode=? limit 1").arg(m_config.itemsTable),
                        {selected->typeCode})) {
            reportDataError();
            return;
        }
        if (!items.isEmpty()) {
            prompter.message(m_config.itemsRefusal, platform::Prompter::Icon::Information);
            return;
        }
    }
    if (!prompter.confirm(tr("您确认删除吗？")))
        return;
    if (!Database::instance().execute(QStringLiteral("Delete from %1 Where TypeCode=?").arg(m_config.table),
                                 {selected->typeCode})) {
        reportDataError();
        return;
    }
    delete node;
}
