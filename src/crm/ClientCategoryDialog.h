#pragma once

#include "crm/CategoryTree.h"

#include <QDialog>
#include <optional>

class QPushButton;

// Picks a client category from the category tree.
class ClientCategoryDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ClientCategoryDialog(QWidget *parent = nullptr);

    // Builds the tree; false (after saying so) when the categories cannot be read.
    bool loadCategories();
    // The category chosen with "选中(&S)" or a double-click; none while nothing is chosen.
    std::optional<GoodsClass> chosen() const { return m_chosen; }
    void chooseSelectedCategory();

    CategoryTree *m_categoryTree;
    QPushButton *m_chooseButton;
    QPushButton *m_cancelButton;

private:
    std::optional<GoodsClass> m_chosen;
};

// Opens the selection window modally: the chosen category, or none.
std::optional<GoodsClass> pickClientCategory();
