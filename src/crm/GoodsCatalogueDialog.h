#pragma once

#include "data/Recordset.h"

#include <QDialog>
#include <optional>

class CategoryTree;
class DataGrid;
class QPushButton;

// Goods chosen in the catalogue, as the follow-up editor takes them.
struct PickedGoods {
    qint64 id = -1;
    QString name;
    QString style;
    QString unit;
    QString price; // the stored number's plain text
};

// The goods catalogue: its two-level category tree, the goods of the selected category, and
// their maintenance; opened to pick goods for a follow-up.
class GoodsCatalogueDialog : public QDialog
{
    Q_OBJECT
    // Declared before the controls: the grid is built over it.
    Recordset m_goods;

public:
    explicit GoodsCatalogueDialog(QWidget *parent = nullptr);

    // Builds the tree and lists the first category's goods; false (after saying so) when
    // the categories cannot be read.
    bool loadCatalogue();
    bool loadGoods(const QString &code);
    QString nextFreeCode(const QString &parent);

    void addGoods();
    void editCurrentGoods();
    void deleteCurrentGoods();
    void chooseCurrentGoods();

    // The goods chosen with "选中(&S)"; none when the window was closed otherwise.
    const std::optional<PickedGoods> &picked() const { return m_picked; }
    Recordset &goods() { return m_goods; }

    CategoryTree *m_categoryTree;
    QPushButton *m_addRootButton;
    QPushButton *m_addSubcategoryButton;
    QPushButton *m_renameCategoryButton;
    QPushButton *m_deleteCategoryButton;
    DataGrid *m_goodsGrid;
    QPushButton *m_addGoodsButton;
    QPushButton *m_editGoodsButton;
    QPushButton *m_deleteGoodsButton;
    QPushButton *m_closeButton;
    QPushButton *m_chooseButton;

private:
    QWidget *buildCategories();
    QWidget *buildGoodsList();
    // The selected category's code; empty (after saying so) when none is selected.
    QString selectedCategory();
    void reloadAt(qint64 id);

    std::optional<PickedGoods> m_picked;
};

// Opens the catalogue modally to pick goods; none when nothing was picked.
std::optional<PickedGoods> pickGoods(QWidget *parent = nullptr);
