#pragma once

#include <QString>
#include <QTreeWidget>
#include <optional>

class Database;

// The data of one category node: the row of the category table it was built from.
struct GoodsClass {
    qint32 id = 0; // not used by category nodes
    QString typeCode;
    QString parentTypeCode;
    QString typeName;
    qint32 level = 0;
};

// What differs between the category tables that share the code scheme.
struct CategoryTreeConfig {
    QString table;               // TClientClass, TGoodsClass
    int deepestChildParent = 0;  // the deepest level at which a child may be added
    int childLevel = 1;          // nLeveal written for a child
    QString addRootPrompt;
    QString addChildPrompt;
    QString renamePrompt;
    QString loadFailure;
    bool selectFirst = true;     // select the first node after loading
    // The items filed under a category, which must be gone before it may be deleted; an
    // empty table means the items do not keep a category from being deleted.
    QString itemsTable = {};
    QString itemsRefusal = {};
};

CategoryTreeConfig clientCategories();
CategoryTreeConfig goodsCategories();

// Category codes are built of 4-digit segments, one per level: a child's code is its
// parent's code and one more segment. The tree shows a category table by name; its four
// operations change a node and its row together, asking the user through the Prompter.
class CategoryTree : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CategoryTree(CategoryTreeConfig config, QWidget *parent = nullptr);

    // The next free code directly under `parent` (empty: a root). Empty, after saying why,
    // when the table cannot be read or the parent has no free code left.
    QString nextFreeCode(const QString &parent);
    // Rebuilds the tree from the table; false (the tree left as it was) when it cannot be read.
    bool loadTree();
    // The first node in display order whose code is exactly `code`.
    QTreeWidgetItem *findNode(const QString &code) const;

    void addRootCategory();
    void addSubcategory();
    void renameCategory();
    void deleteCategory();

    // The record of a node; nullptr for none.
    static const GoodsClass *record(const QTreeWidgetItem *node);
    // The record of the selected node; nullptr when none is selected.
    const GoodsClass *selectedRecord() const;

    const CategoryTreeConfig &config() const { return m_config; }

signals:
    // The user selected a category (or loadTree selected the first one).
    void categorySelected(const QString &code);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    std::optional<QString> askName(const QString &prompt, const QString &initial);
    QTreeWidgetItem *addNode(QTreeWidgetItem *parent, const GoodsClass &record);
    void showNodeOrder();
    bool insertRow(const GoodsClass &record);

    CategoryTreeConfig m_config;
};
