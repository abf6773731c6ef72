#pragma once

#include "data/Recordset.h"

#include <QWidget>

class DataGrid;
class QGroupBox;
class QMenu;
class QPushButton;

// The address book tab: the contact categories on the left, the contacts of the current
// category on the right, each kept with its own buttons.
class AddressBookTab : public QWidget
{
    Q_OBJECT
    // First, so the grids built in the constructor find them constructed.
    Recordset m_categories;
    Recordset m_contacts;

public:
    explicit AddressBookTab(QWidget *parent = nullptr);

    // Loads the categories in name order and the contacts of the first; false (after saying
    // so) when they cannot be read.
    bool loadCategories();
    // Shows the contacts of the current category.
    void showContactsOfCategory();

    void addCategory();
    void renameCategory();
    void deleteCategory();
    void addContact();
    void editSelectedContact();
    // The entry's window, then its category's list with the entry current.
    void editEntry(qint64 categoryId, qint64 id);
    void deleteSelectedContact();
    // The selected contacts, or all listed ones, to a card file; contacts from one, picked.
    void exportContactCards();
    void importContactCards();

    Recordset &categories() { return m_categories; }
    Recordset &contacts() { return m_contacts; }

    DataGrid *m_categoryGrid;
    QPushButton *m_addCategoryButton;
    QPushButton *m_renameCategoryButton;
    QPushButton *m_deleteCategoryButton;
    QGroupBox *m_contactsBox;
    DataGrid *m_contactGrid;
    QPushButton *m_addContactButton;
    QPushButton *m_editContactButton;
    QPushButton *m_deleteContactButton;
    // The contact list's menu: print it, send it to the spreadsheet program, cards out and in.
    QMenu *m_contactMenu;

private:
    QWidget *buildCategoryPane();
    QWidget *buildContactPane();
    qint64 currentCategoryId() const;
};
