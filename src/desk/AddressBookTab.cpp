#include "desk/AddressBookTab.h"

#include "data/Database.h"
#include "desk/AddressBookEditor.h"
#include "interchange/ContactCards.h"
#include "output/GridExport.h"
#include "output/ListPreviewDialog.h"
#include "platform/Prompter.h"
#include "widgets/ContactPickDialog.h"
#include "widgets/DataGrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QList<GridColumn> contactColumns()
{
    const std::pair<const char *, QString> shown[] = {
        {"Linker", QObject::tr("联系人姓名")}, {"Job", QObject::tr("职位")},
        {"Tele", QObject::tr("办公电话")},     {"MobileCode", QObject::tr("移动电话")},
        {"HomeTele", QObject::tr("家庭电话")}, {"Fax", QObject::tr("传真")},
        {"QICQ", QObject::tr("QQ号码")},       {"ALWW", QObject::tr("阿里帐号")},
        {"WW", QObject::tr("淘宝帐号")},       {"ZFBCode", QObject::tr("支付宝帐号")},
        {"EMail", QObject::tr("电子邮件")},    {"Birthday", QObject::tr("生日")},
        {"Address", QObject::tr("详细地址")},  {"Fancy", QObject::tr("个人嗜好")},
    };
    QList<GridColumn> columns;
    for (const auto &[field, title] : shown)
        columns.append(GridColumn{.field = QLatin1String(field), .title = title, .width = 90});
    for (GridColumn &column : columns) {
        if (column.field == QLatin1String("Birthday")) {
            column.dateFormat = QStringLiteral("yyyy-MM-dd");
            column.alignment = Qt::AlignCenter;
        } else if (column.field == QLatin1String("EMail") || column.field == QLatin1String("Address")) {
            column.width = 160;
        } else if (column.field.endsWith(QLatin1String("Tele")) || column.field == QLatin1String("MobileCode")
                   || column.field == QLatin1String("Fax")) {
            column.width = 104; // a number with its area code
        }
    }
    columns.append(GridColumn{.field = QStringLiteral("ID"), .title = QStringLiteral("ID"), .visible = false});
    columns.append(GridColumn{.field = QStringLiteral("ClassID"), .title = QStringLiteral("ClassID"), .visible = false});
    return columns;
}

void reportUpdateFailure()
{
    platform::prompter().message(AddressBookTab::tr("更新数据发生错误！"), platform::Prompter::Icon::Error);
}

void reportDeleteFailure()
{
    platform::prompter().message(AddressBookTab::tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
}

std::optional<QString> askCategoryName(const QString &initial)
{
    return platform::prompter().inputText(AddressBookTab::tr("请输入新的联系人分类"),
                                          AddressBookTab::tr("请输入新的联系人分类："), initial);
}

QPushButton *plainButton(const QString &caption)
{
    auto *button = new QPushButton(caption);
    button->setAutoDefault(false);
    return button;
}

} // namespace

AddressBookTab::AddressBookTab(QWidget *parent)
    : QWidget(parent)
    , m_categoryGrid(new DataGrid(m_categories))
    , m_addCategoryButton(plainButton(tr("添加分类")))
    , m_renameCategoryButton(plainButton(tr("编辑分类")))
    , m_deleteCategoryButton(plainButton(tr("删除分类")))
    , m_contactsBox(new QGroupBox(tr("选定分类联系人列举")))
    , m_contactGrid(new DataGrid(m_contacts))
    , m_addContactButton(plainButton(tr("添加联系人")))
    , m_editContactButton(plainButton(tr("编辑联系人")))
    , m_deleteContactButton(plainButton(tr("删除联系人")))
    , m_contactMenu(new QMenu(this))
{
    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(buildCategoryPane());
    splitter->addWidget(buildContactPane());
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({180, 780});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);

    connect(&m_categories, &Recordset::currentChanged, this, &AddressBookTab::showContactsOfCategory);
    connect(m_addCategoryButton, &QPushButton::clicked, this, &AddressBookTab::addCategory);
    connect(m_renameCategoryButton, &QPushButton::clicked, this, &AddressBookTab::renameCategory);
    connect(m_categoryGrid, &DataGrid::rowActivated, this, &AddressBookTab::renameCategory);
    connect(m_deleteCategoryButton, &QPushButton::clicked, this, &AddressBookTab::deleteCategory);
    connect(m_addContactButton, &QPushButton::clicked, this, &AddressBookTab::addContact);
    connect(m_editContactButton, &QPushButton::clicked, this, &AddressBookTab::editSelectedContact);
    connect(m_contactGrid, &DataGrid::rowActivated, this, &AddressBookTab::editSelectedContact);
    connect(m_deleteContactButton, &QPushButton::clicked, this, &AddressBookTab::deleteSelectedContact);
}

QWidget *AddressBookTab::buildCategoryPane()
{
    m_categoryGrid->setColumns({
        GridColumn{.field = QStringLiteral("TitleName"), .title = tr("联系人分类"), .width = 150},
        GridColumn{.field = QStringLiteral("ID"), .title = QStringLiteral("ID"), .visible = false},
    });
    m_categoryGrid->view()->horizontalHeader()->setStretchLastSection(true);

    auto *pane = new QGroupBox(tr("联系人分类"));
    auto *layout = new QVBoxLayout(pane);
    layout->addWidget(m_categoryGrid, 1);
    for (QPushButton *button : {m_addCategoryButton, m_renameCategoryButton, m_deleteCategoryButton})
        layout->addWidget(button);
    return pane;
}

QWidget *AddressBookTab::buildContactPane()
{
    m_contactGrid->setColumns(contactColumns());
    m_contactGrid->view()->setToolTip(tr("鼠标双击编辑联系人信息"));
    const QString title = tr("联系人档案");
    m_contactMenu->addAction(tr("导出为名片文件（vCard）…"), this, &AddressBookTab::exportContactCards);
    m_contactMenu->addAction(tr("从名片文件导入…"), this, &AddressBookTab::importContactCards);
    m_contactMenu->addSeparator();
    m_contactMenu->addAction(tr("打印"), this, [this, title] { previewList(title, *m_contactGrid); });
    m_contactMenu->addSeparator();
    m_contactMenu->addAction(tr("发送到Excel"), this, [this, title] { exportGridToSpreadsheet(title, *m_contactGrid); });
    m_contactGrid->view()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(m_contactGrid, &DataGrid::contextMenuRequested, this, [this](const QPoint &at) { m_contactMenu->popup(at); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {m_addContactButton, m_editContactButton, m_deleteContactButton})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(m_contactsBox);
    layout->addWidget(m_contactGrid, 1);
    layout->addLayout(buttons);
    return m_contactsBox;
}

qint64 AddressBookTab::currentCategoryId() const
{
    return m_categories.integer(QStringLiteral("ID"));
}

bool AddressBookTab::loadCategories()
{
    if (m_categories.open(QStringLiteral("Select * from TLinkerClass Order by TitleName collate PINYIN, ID")))
        return true;
    platform::prompter().message(tr("读取联系人分类信息发生错误！"), platform::Prompter::Icon::Error);
    return false;
}

void AddressBookTab::showContactsOfCategory()
{
    if (m_categories.isEmpty()) {
        // No category is left to show: neither are contacts of one that is gone.
        m_contacts.close();
        m_contactsBox->setTitle(tr("选定分类联系人列举"));
        return;
    }
    if (m_categories.isNull(QStringLiteral("ID")))
        return; // a category being added has no contacts yet
    m_contactsBox->setTitle(tr("选定分类[") + m_categories.text(QStringLiteral("TitleName")) + tr("]联系人列举"));
    m_contacts.open(QStringLiteral("Select * from TLinker where ClassID=? Order by Linker collate PINYIN, ID"),
                   {currentCategoryId()});
}

void AddressBookTab::addCategory()
{
    const std::optional<QString> name = askCategoryName(QString());
    if (!name || name->isEmpty())
        return;
    m_categories.append();
    if (!m_categories.set(QStringLiteral("TitleName"), *name) || !m_categories.post()) {
        m_categories.cancel();
        reportUpdateFailure();
        return;
    }
    showContactsOfCategory();
}

void AddressBookTab::renameCategory()
{
    if (m_categories.isEmpty())
        return;
    const std::optional<QString> name = askCategoryName(m_categories.text(QStringLiteral("TitleName")));
    if (!name || name->isEmpty())
        return;
    if (!m_categories.set(QStringLiteral("TitleName"), *name) || !m_categories.post()) {
        m_categories.cancel();
        reportUpdateFailure();
        return;
    }
    m_contactsBox->setTitle(tr("选定分类[") + *name + tr("]联系人列举"));
}

void AddressBookTab::deleteCategory()
{
    if (m_categories.isEmpty())
        return;
    // Asked of the table, not of the list shown: contacts left without their category could
    // never be seen again.
    const QString contacts = Database::instance().queryValue(
        QStringLiteral("Select count(*) from TLinker where ClassID=?"), {currentCategoryId()});
    if (contacts != QLatin1String("0")) {
        platform::prompter().message(tr("本分类下有联系人信息，不能直接删除！"), platform::Prompter::Icon::Warning);
        return;
    }
    if (!platform::prompter().confirm(tr("您确认删除选定的联系人分类记录吗？")))
        return;
    if (!m_categories.deleteCurrent())
        reportDeleteFailure();
}

void AddressBookTab::addContact()
{
    if (m_categories.isEmpty()) {
        platform::prompter().message(tr("请首先增加一个联系人分类！"), platform::Prompter::Icon::Warning);
        return;
    }
    if (editAddressBookEntry(currentCategoryId(), -1))
        showContactsOfCategory();
}

void AddressBookTab::editSelectedContact()
{
    if (m_contacts.isEmpty()) {
        platform::prompter().message(tr("没有可用于修改的联系人！"), platform::Prompter::Icon::Warning);
        return;
    }
    editEntry(currentCategoryId(), m_contacts.integer(QStringLiteral("ID")));
}

void AddressBookTab::editEntry(qint64 categoryId, qint64 id)
{
    if (!editAddressBookEntry(categoryId, id))
        return;
    if (categoryId != currentCategoryId())
        m_categories.locate(categoryId);
    showContactsOfCategory();
    m_contacts.locate(id);
}

void AddressBookTab::deleteSelectedContact()
{
    if (m_contacts.isEmpty())
        return;
    if (!platform::prompter().confirm(tr("您确认删除选定的联系人记录吗？")))
        return;
    if (!m_contacts.deleteCurrent())
        reportDeleteFailure();
}

void AddressBookTab::exportContactCards()
{
    if (m_contacts.isEmpty())
        return;
    const std::optional<ContactCardFileChoice> file = askContactCardFileToSave(m_categories.text(QStringLiteral("TitleName")));
    if (!file)
        return;
    const auto [written, message] = ContactCardImport::exportRows(m_contacts, selectedOrAllRows(*m_contactGrid),
                                                                  ContactList::addressBook(), file->path, file->forOlderPhones);
    platform::prompter().message(message, written ? platform::Prompter::Icon::Information : platform::Prompter::Icon::Error);
}

void AddressBookTab::importContactCards()
{
    if (m_categories.isEmpty()) {
        platform::prompter().message(tr("请首先增加一个联系人分类！"), platform::Prompter::Icon::Warning);
        return;
    }
    const std::optional<QString> path = askContactCardFileToOpen();
    if (!path)
        return;
    ContactCardImport import(ContactList::addressBook());
    if (!import.read(*path)) {
        platform::prompter().message(import.errorText(), platform::Prompter::Icon::Warning);
        return;
    }
    QStringList names;
    QList<qint64> ids;
    for (int row = 0; row < m_categories.count(); ++row) {
        names.append(m_categories.textAt(row, m_categories.fieldIndex(QStringLiteral("TitleName"))));
        ids.append(m_categories.valueAt(row, m_categories.fieldIndex(QStringLiteral("ID"))).toLongLong());
    }
    ContactPickDialog window(import.listed(), import.storedMarks(), names, m_categories.position());
    if (!pickContacts(window))
        return;
    const qint64 category = ids.value(window.chosenCategory(), currentCategoryId());
    if (!import.store(window.tickedRows(), category)) {
        platform::prompter().message(import.errorText(), platform::Prompter::Icon::Error);
        return;
    }
    if (category == currentCategoryId())
        showContactsOfCategory();
    else
        m_categories.locate(category);
    platform::prompter().message(import.summary());
}
