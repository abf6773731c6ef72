// The address book, favourite folders and web searches tabs with the sample data, and their
// windows: the contact editor, the folder editor and the amount converter.
#include "Shots.h"

#include "desk/AddressBookTab.h"
#include "desk/FolderList.h"
#include "desk/FolderTab.h"
#include "desk/SearchTab.h"
#include "desk/TfrmEditACustFolder.h"
#include "desk/TfrmEditALinker.h"
#include "desk/TfrmJEZH.h"

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
    addressBook.ReaduLinker();
    shootTab(shots, addressBook, QStringLiteral("desk-addressbook"));

    FolderTab folders;
    folders.ReadyCustPath();
    folders.ListFolder->setCurrentItem(folders.ListFolder->topLevelItem(1));
    shootTab(shots, folders, QStringLiteral("desk-folders"));

    SearchTab search;
    search.ReadyNetSearch();
    search.EditToSearch->setText(QStringLiteral("北京 天气"));
    shootTab(shots, search, QStringLiteral("desk-search"));

    TfrmEditALinker contact(1, addressBook.dsLinker().integer(QStringLiteral("ID")));
    contact.ReadyData();
    contact.show();
    QCoreApplication::processEvents();
    shots.take(contact, QStringLiteral("dialog-contact"));
    contact.hide();

    TfrmEditALinker newContact(1, -1);
    newContact.ReadyData();
    newContact.show();
    QCoreApplication::processEvents();
    shots.take(newContact, QStringLiteral("dialog-contact-new"));
    newContact.hide();

    TfrmEditACustFolder folder(QStringLiteral("-1"), QStringLiteral("项目资料"), QStringLiteral("/home/user/项目"));
    folder.show();
    QCoreApplication::processEvents();
    shots.take(folder, QStringLiteral("dialog-folder"));
    folder.hide();

    TfrmJEZH converter;
    converter.EditDitital->setCursorPosition(0);
    converter.EditDitital->insert(QStringLiteral("20304"));
    converter.EditDitital->setCursorPosition(13);
    converter.EditDitital->insert(QStringLiteral("07"));
    converter.cmdConvertClick();
    converter.show();
    QCoreApplication::processEvents();
    shots.take(converter, QStringLiteral("dialog-amountconverter"));
    converter.hide();
}

const ShotSet deskBook("desk-book", shootDeskBook);

} // namespace
