// The address book, favourite folders and web searches tabs with the sample data, and their
// windows: the contact editor, the folder editor and the amount converter.
#include "Shots.h"

#include "desk/AddressBookTab.h"
#include "desk/FolderList.h"
#include "desk/FolderTab.h"
#include "desk/SearchTab.h"
#include "desk/FolderEditor.h"
#include "desk/AddressBookEditor.h"
#include "desk/AmountConverter.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTreeWidgetItem>

namespace {

const QSize kTabSize(971, 520); // the page area of the main window at its usual size

void shootTab(Shots &shots, QWidget &tab, const QString &name)
{
    tab.resize(kTabSize);
    tab.show();
    QCoreApplication::processEvents();
    shots.take(tab, name);
    tab.hide();
}

void shootDeskBook(Shots &shots)
{
    AddressBookTab addressBook;
    addressBook.loadCategories();
    shootTab(shots, addressBook, QStringLiteral("desk-addressbook"));

    FolderTab folders;
    folders.loadFolders();
    folders.m_folderList->setCurrentItem(folders.m_folderList->topLevelItem(1));
    shootTab(shots, folders, QStringLiteral("desk-folders"));

    SearchTab search;
    search.loadSites();
    search.m_keywordsEdit->setText(QStringLiteral("北京 天气"));
    shootTab(shots, search, QStringLiteral("desk-search"));

    AddressBookEditor contact(1, addressBook.contacts().integer(QStringLiteral("ID")));
    contact.loadRecord();
    contact.show();
    QCoreApplication::processEvents();
    shots.take(contact, QStringLiteral("dialog-contact"));
    contact.hide();

    AddressBookEditor newContact(1, -1);
    newContact.loadRecord();
    newContact.show();
    QCoreApplication::processEvents();
    shots.take(newContact, QStringLiteral("dialog-contact-new"));
    newContact.hide();

    FolderEditor folder(QStringLiteral("-1"), QStringLiteral("项目资料"), QStringLiteral("/home/user/项目"));
    folder.show();
    QCoreApplication::processEvents();
    shots.take(folder, QStringLiteral("dialog-folder"));
    folder.hide();

    AmountConverter converter;
    converter.m_amountEdit->setCursorPosition(0);
    converter.m_amountEdit->insert(QStringLiteral("20304"));
    converter.m_amountEdit->setCursorPosition(13);
    converter.m_amountEdit->insert(QStringLiteral("07"));
    converter.convertAmount();
    converter.show();
    QCoreApplication::processEvents();
    shots.take(converter, QStringLiteral("dialog-amountconverter"));
    converter.hide();
}

const ShotSet deskBook("desk-book", shootDeskBook);

} // namespace
