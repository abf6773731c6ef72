#include "desk/AddressBookTab.h"

#include "data/TDM.h"
#include "desk/TfrmEditALinker.h"
#include "platform/Prompter.h"
#include "widgets/DataGrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QList<GridColumn> linkerColumns()
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

std::optional<QString> askClassName(const QString &initial)
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
    , DBGridEh8(new DataGrid(m_classes))
    , Button11(plainButton(tr("添加分类")))
    , Button12(plainButton(tr("编辑分类")))
    , Button13(plainButton(tr("删除分类")))
    , grpLinkers(new QGroupBox(tr("选定分类联系人列举")))
    , DBGridEh7(new DataGrid(m_linkers))
    , Button14(plainButton(tr("添加联系人")))
    , Button15(plainButton(tr("编辑联系人")))
    , Button16(plainButton(tr("删除联系人")))
{
    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(buildClassPane());
    splitter->addWidget(buildLinkerPane());
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({180, 780});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);

    connect(&m_classes, &Recordset::currentChanged, this, &AddressBookTab::dsLinkClassAfterScroll);
    connect(Button11, &QPushButton::clicked, this, &AddressBookTab::Button11Click);
    connect(Button12, &QPushButton::clicked, this, &AddressBookTab::Button12Click);
    connect(DBGridEh8, &DataGrid::rowActivated, this, &AddressBookTab::Button12Click);
    connect(Button13, &QPushButton::clicked, this, &AddressBookTab::Button13Click);
    connect(Button14, &QPushButton::clicked, this, &AddressBookTab::Button14Click);
    connect(Button15, &QPushButton::clicked, this, &AddressBookTab::Button15Click);
    connect(DBGridEh7, &DataGrid::rowActivated, this, &AddressBookTab::Button15Click);
    connect(Button16, &QPushButton::clicked, this, &AddressBookTab::Button16Click);
}

QWidget *AddressBookTab::buildClassPane()
{
    DBGridEh8->setColumns({
        GridColumn{.field = QStringLiteral("TitleName"), .title = tr("联系人分类"), .width = 150},
        GridColumn{.field = QStringLiteral("ID"), .title = QStringLiteral("ID"), .visible = false},
    });
    DBGridEh8->view()->horizontalHeader()->setStretchLastSection(true);

    auto *pane = new QGroupBox(tr("联系人分类"));
    auto *layout = new QVBoxLayout(pane);
    layout->addWidget(DBGridEh8, 1);
    for (QPushButton *button : {Button11, Button12, Button13})
        layout->addWidget(button);
    return pane;
}

QWidget *AddressBookTab::buildLinkerPane()
{
    DBGridEh7->setColumns(linkerColumns());
    DBGridEh7->view()->setToolTip(tr("鼠标双击编辑联系人信息"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {Button14, Button15, Button16})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(grpLinkers);
    layout->addWidget(DBGridEh7, 1);
    layout->addLayout(buttons);
    return grpLinkers;
}

qint64 AddressBookTab::currentClassId() const
{
    return m_classes.integer(QStringLiteral("ID"));
}

bool AddressBookTab::ReaduLinker()
{
    if (m_classes.open(QStringLiteral("Select * from TLinkerClass Order by TitleName collate PINYIN, ID")))
        return true;
    platform::prompter().message(tr("读取联系人分类信息发生错误！"), platform::Prompter::Icon::Error);
    return false;
}

void AddressBookTab::dsLinkClassAfterScroll()
{
    if (m_classes.isEmpty()) {
        // No category is left to show: neither are contacts of one that is gone.
        m_linkers.close();
        grpLinkers->setTitle(tr("选定分类联系人列举"));
        return;
    }
    if (m_classes.isNull(QStringLiteral("ID")))
        return; // a category being added has no contacts yet
    grpLinkers->setTitle(tr("选定分类[") + m_classes.text(QStringLiteral("TitleName")) + tr("]联系人列举"));
    m_linkers.open(QStringLiteral("Select * from TLinker where ClassID=? Order by Linker collate PINYIN, ID"),
                   {currentClassId()});
}

void AddressBookTab::Button11Click()
{
    const std::optional<QString> name = askClassName(QString());
    if (!name || name->isEmpty())
        return;
    m_classes.append();
    if (!m_classes.set(QStringLiteral("TitleName"), *name) || !m_classes.post()) {
        m_classes.cancel();
        reportUpdateFailure();
        return;
    }
    dsLinkClassAfterScroll();
}

void AddressBookTab::Button12Click()
{
    if (m_classes.isEmpty())
        return;
    const std::optional<QString> name = askClassName(m_classes.text(QStringLiteral("TitleName")));
    if (!name || name->isEmpty())
        return;
    if (!m_classes.set(QStringLiteral("TitleName"), *name) || !m_classes.post()) {
        m_classes.cancel();
        reportUpdateFailure();
        return;
    }
    grpLinkers->setTitle(tr("选定分类[") + *name + tr("]联系人列举"));
}

void AddressBookTab::Button13Click()
{
    if (m_classes.isEmpty())
        return;
    // Asked of the table, not of the list shown: contacts left without their category could
    // never be seen again.
    const QString contacts = TDM::instance().GetDataBySQL(
        QStringLiteral("Select count(*) from TLinker where ClassID=?"), {currentClassId()});
    if (contacts != QLatin1String("0")) {
        platform::prompter().message(tr("本分类下有联系人信息，不能直接删除！"), platform::Prompter::Icon::Warning);
        return;
    }
    if (!platform::prompter().confirm(tr("您确认删除选定的联系人分类记录吗？")))
        return;
    if (!m_classes.deleteCurrent())
        reportDeleteFailure();
}

void AddressBookTab::Button14Click()
{
    if (m_classes.isEmpty()) {
        platform::prompter().message(tr("请首先增加一个联系人分类！"), platform::Prompter::Icon::Warning);
        return;
    }
    if (ShowAddressBookEditor(currentClassId(), -1))
        dsLinkClassAfterScroll();
}

void AddressBookTab::Button15Click()
{
    if (m_linkers.isEmpty()) {
        platform::prompter().message(tr("没有可用于修改的联系人！"), platform::Prompter::Icon::Warning);
        return;
    }
    const qint64 id = m_linkers.integer(QStringLiteral("ID"));
    if (ShowAddressBookEditor(currentClassId(), id)) {
        dsLinkClassAfterScroll();
        m_linkers.locate(id);
    }
}

void AddressBookTab::Button16Click()
{
    if (m_linkers.isEmpty())
        return;
    if (!platform::prompter().confirm(tr("您确认删除选定的联系人记录吗？")))
        return;
    if (!m_linkers.deleteCurrent())
        reportDeleteFailure();
}
