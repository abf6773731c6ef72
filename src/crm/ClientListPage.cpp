#include "crm/ClientListPage.h"

#include "crm/CategoryTree.h"
#include "crm/ClientRecords.h"
#include "crm/FollowUpChartPanel.h"
#include "crm/FollowUpList.h"
#include "crm/ClientEditor.h"
#include "crm/ContactEditor.h"
#include "crm/ContactActivityEditor.h"
#include "crm/FollowUpEditor.h"
#include "data/Database.h"
#include "interchange/ContactCards.h"
#include "output/GridExport.h"
#include "output/ListPreviewDialog.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "widgets/ContactPickDialog.h"
#include "widgets/DataGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

GridColumn column(const char *field, const QString &title, int width = 0)
{
    return GridColumn{.field = QLatin1String(field), .title = title, .width = width};
}

GridColumn hidden(const char *field)
{
    return GridColumn{.field = QLatin1String(field), .title = QLatin1String(field), .visible = false};
}

GridColumn dated(const char *field, const QString &title, const char *format, bool visible = true)
{
    GridColumn dated = column(field, title);
    dated.dateFormat = QLatin1String(format);
    dated.visible = visible;
    return dated;
}

QList<GridColumn> clientColumns()
{
    return {hidden("ID"),
            dated("LastLinkTime", QObject::tr("最近联系时间"), "yyyy-MM-dd hh"),
            hidden("TypeCode"),
            column("ClientName", QObject::tr("客户名称"), 180),
            column("ClientCode", QObject::tr("客户简码"), 120),
            column("ClientType", QObject::tr("客户类型")),
            column("ClientComeFrom", QObject::tr("客户来源")),
            column("Tele", QObject::tr("电话"), 100),
            column("MobileCode", QObject::tr("手机号"), 100),
            column("Fax", QObject::tr("传真"), 100),
            column("EMail", QObject::tr("电子邮件"), 120),
            column("QICQ", QObject::tr("QQ号"), 80),
            column("ALWW", QObject::tr("阿里帐号")),
            column("WW", QObject::tr("淘宝帐号")),
            column("ZFBCode", QObject::tr("支付宝帐号")),
            column("Address", QObject::tr("联系地址"), 200),
            column("PostCode", QObject::tr("邮政编码")),
            column("HomePage", QObject::tr("主页"), 150),
            column("TaxCode", QObject::tr("税号"), 140),
            column("Bank", QObject::tr("开户银行"), 120),
            column("BankNo", QObject::tr("银行帐号"), 140),
            column("SalerName", QObject::tr("业务员")),
            dated("RecTime", QObject::tr("记录时间"), "yyyy-MM-dd HH:mm:ss"),
            column("Desp", QObject::tr("备注"), 200)};
}

QList<GridColumn> contactColumns()
{
    GridColumn isMain = column("IsMain", QObject::tr("主联系人"));
    isMain.alignment = Qt::AlignCenter;
    isMain.keys = QStringList{QStringLiteral("0"), QStringLiteral("1")};
    isMain.picks = QStringList{QString(), QObject::tr("是")};
    return {hidden("ID"),
            hidden("ClientID"),
            column("Linker", QObject::tr("联系人姓名"), 80),
            isMain,
            column("Depart", QObject::tr("部门"), 70),
            column("Job", QObject::tr("职位"), 80),
            column("Tele", QObject::tr("办公电话"), 100),
            column("MobileCode", QObject::tr("移动电话"), 100),
            column("HomeTele", QObject::tr("家庭电话"), 100),
            column("Fax", QObject::tr("传真"), 100),
            column("QICQ", QObject::tr("QQ号码"), 80),
            column("ALWW", QObject::tr("阿里帐号")),
            column("WW", QObject::tr("淘宝帐号")),
            column("ZFBCode", QObject::tr("支付宝帐号")),
            column("EMail", QObject::tr("电子邮件"), 140),
            dated("Birthday", QObject::tr("生日"), "yyyy-MM-dd", false),
            column("Address", QObject::tr("详细地址"), 200),
            column("Fancy", QObject::tr("个人嗜好"), 120)};
}

QList<GridColumn> activityColumns()
{
    return {hidden("ID"),
            hidden("ClientID"),
            dated("GoDate", QObject::tr("跟进日期"), "yy-MM-dd"),
            column("Title", QObject::tr("主题"), 120),
            column("Dealer", QObject::tr("跟进人")),
            column("RunStyle", QObject::tr("洽谈方式")),
            dated("HintDate", QObject::tr("提醒日期"), "yy-MM-dd", false),
            column("Desp", QObject::tr("联系信息记录"), 420)};
}

void reportOpenFailure()
{
    platform::prompter().message(ClientListPage::tr("打开数据文件发生错误！"), platform::Prompter::Icon::Error);
}

} // namespace

ClientListPage::ClientListPage(QWidget *parent)
    : QWidget(parent)
    , m_categoryTree(new CategoryTree(clientCategories()))
    , m_addRootButton(new QPushButton(tr("添加根")))
    , m_addSubcategoryButton(new QPushButton(tr("添加下级")))
    , m_renameCategoryButton(new QPushButton(tr("修改")))
    , m_deleteCategoryButton(new QPushButton(tr("删除")))
    , m_clientGrid(new DataGrid(m_clients))
    , m_findClientButton(new QPushButton(tr("查找(&F)")))
    , m_addClientButton(new QPushButton(tr("增加(&A)")))
    , m_editClientButton(new QPushButton(tr("修改(&E)")))
    , m_deleteClientButton(new QPushButton(tr("删除(&D)")))
    , m_detailTabs(new QTabWidget)
    , m_contactGrid(new DataGrid(m_contacts))
    , m_activityGrid(new DataGrid(m_activities))
    , m_followUpGrid(new DataGrid(m_followUps))
    , m_addDetailButton(new QToolButton)
    , m_editDetailButton(new QToolButton)
    , m_deleteDetailButton(new QToolButton)
    , m_splitter(new QSplitter(Qt::Vertical))
    , m_chartToggle(new QToolButton)
{
    m_splitter->addWidget(buildListPane());
    m_splitter->addWidget(buildDetailPane());
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(buildTreePane());
    layout->addWidget(m_splitter, 1);
    buildMenus();
}

void ClientListPage::buildMenus()
{
    auto *clientMenu = new QMenu(this);
    clientMenu->addAction(tr("发送到&Excel"), this, [this] { exportGridToSpreadsheet(tr("客户资料"), *m_clientGrid); });
    clientMenu->addAction(tr("打印(&P)"), this, [this] { previewList(tr("客户资料"), *m_clientGrid); });
    connect(m_clientGrid, &DataGrid::contextMenuRequested, clientMenu, [clientMenu](const QPoint &at) { clientMenu->popup(at); });

    auto *detailMenu = new QMenu(this);
    detailMenu->addAction(tr("打印"), this, &ClientListPage::printShownDetail);
    detailMenu->addAction(tr("发送到Excel"), this, &ClientListPage::exportShownDetail);
    for (DataGrid *grid : {m_activityGrid, m_followUpGrid})
        connect(grid, &DataGrid::contextMenuRequested, detailMenu, [detailMenu](const QPoint &at) { detailMenu->popup(at); });
    auto *contactMenu = new QMenu(this);
    contactMenu->addAction(tr("导出为名片文件（vCard）…"), this, &ClientListPage::exportContactCards);
    contactMenu->addAction(tr("从名片文件导入…"), this, &ClientListPage::importContactCards);
    contactMenu->addSeparator();
    contactMenu->addActions(detailMenu->actions());
    connect(m_contactGrid, &DataGrid::contextMenuRequested, contactMenu, [contactMenu](const QPoint &at) { contactMenu->popup(at); });
    m_contactGrid->view()->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

DataGrid *ClientListPage::shownDetail(QString &title) const
{
    const struct {
        DataGrid *grid;
        const char *title;
    } pages[] = {{m_contactGrid, QT_TR_NOOP("联系人")}, {m_activityGrid, QT_TR_NOOP("联系活动")}, {m_followUpGrid, QT_TR_NOOP("跟踪记录")}};
    const int page = m_detailTabs->currentIndex();
    if (page < 0 || page > 2 || !pages[page].grid->recordset().isOpen())
        return nullptr;
    title = tr(pages[page].title);
    return pages[page].grid;
}

void ClientListPage::printShownDetail()
{
    QString title;
    if (DataGrid *grid = shownDetail(title))
        previewList(title, *grid);
}

void ClientListPage::exportShownDetail()
{
    QString title;
    if (DataGrid *grid = shownDetail(title))
        exportGridToSpreadsheet(title, *grid);
}

QWidget *ClientListPage::buildTreePane()
{
    m_addRootButton->setToolTip(tr("添加根分组"));
    m_addSubcategoryButton->setToolTip(tr("添加下级分组"));
    m_renameCategoryButton->setToolTip(tr("修改分组名称"));
    m_deleteCategoryButton->setToolTip(tr("删除选定分组"));
    connect(m_addRootButton, &QPushButton::clicked, m_categoryTree, &CategoryTree::addRootCategory);
    connect(m_addSubcategoryButton, &QPushButton::clicked, m_categoryTree, &CategoryTree::addSubcategory);
    connect(m_renameCategoryButton, &QPushButton::clicked, m_categoryTree, &CategoryTree::renameCategory);
    connect(m_deleteCategoryButton, &QPushButton::clicked, m_categoryTree, &CategoryTree::deleteCategory);
    connect(m_categoryTree, &CategoryTree::categorySelected, this, &ClientListPage::loadClients);
    connect(m_categoryTree, &QTreeWidget::itemDoubleClicked, m_categoryTree, &CategoryTree::renameCategory);
    m_categoryTree->installEventFilter(this);

    auto *box = new QGroupBox(tr("客户资料分类"));
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(m_categoryTree, 1);
    auto *buttons = new QGridLayout;
    buttons->addWidget(m_addRootButton, 0, 0);
    buttons->addWidget(m_addSubcategoryButton, 0, 1);
    buttons->addWidget(m_renameCategoryButton, 1, 0);
    buttons->addWidget(m_deleteCategoryButton, 1, 1);
    layout->addLayout(buttons);
    box->setFixedWidth(190);
    return box;
}

QWidget *ClientListPage::buildListPane()
{
    m_clientGrid->setColumns(clientColumns());
    m_clientGrid->view()->setToolTip(tr("鼠标双击编辑客户资料"));
    connect(m_clientGrid, &DataGrid::rowActivated, this, &ClientListPage::editCurrentClient);
    connect(m_clientGrid, &DataGrid::titleClicked, this, &ClientListPage::loadDetails);
    connect(&m_clients, &Recordset::currentChanged, this, &ClientListPage::loadDetails);
    connect(m_addClientButton, &QPushButton::clicked, this, &ClientListPage::addClient);
    connect(m_editClientButton, &QPushButton::clicked, this, &ClientListPage::editCurrentClient);
    connect(m_deleteClientButton, &QPushButton::clicked, this, &ClientListPage::deleteCurrentClient);

    auto *box = new QGroupBox(tr("客户资料列表"));
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(m_clientGrid, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {m_findClientButton, m_addClientButton, m_editClientButton, m_deleteClientButton})
        buttons->addWidget(button);
    layout->addLayout(buttons);
    return box;
}

QWidget *ClientListPage::buildDetailPane()
{
    m_contactGrid->setColumns(contactColumns());
    m_contactGrid->view()->setToolTip(tr("鼠标双击编辑联系人信息"));
    m_activityGrid->setColumns(activityColumns());
    m_activityGrid->view()->setToolTip(tr("鼠标双击编辑联系活动信息"));
    // Activities stay in the order they were logged, newest first.
    m_activityGrid->view()->horizontalHeader()->setSectionsClickable(false);
    m_followUpGrid->setColumns(followUpColumns());
    m_followUpGrid->view()->setToolTip(tr("鼠标双击编辑跟单记录信息"));
    m_followUpGrid->view()->horizontalHeader()->setSectionsClickable(false);
    m_detailTabs->addTab(m_contactGrid, tr("联系人"));
    m_detailTabs->addTab(m_activityGrid, tr("联系活动"));
    m_detailTabs->addTab(m_followUpGrid, tr("跟单记录"));
    m_detailTabs->setTabPosition(QTabWidget::South);
    // In the tab bar's empty corner, so the lists keep their places.
    m_chartToggle->setText(tr("图表"));
    m_chartToggle->setToolTip(tr("在跟单记录旁显示图表"));
    m_chartToggle->setCheckable(true);
    m_chartToggle->setAutoRaise(true);
    m_detailTabs->setCornerWidget(m_chartToggle, Qt::BottomRightCorner);
    connect(m_chartToggle, &QToolButton::toggled, this, &ClientListPage::showFollowUpChart);
    for (DataGrid *grid : {m_contactGrid, m_activityGrid, m_followUpGrid})
        connect(grid, &DataGrid::rowActivated, this, &ClientListPage::editCurrentDetailRecord);

    auto *box = new QGroupBox(tr("选定客户的详细信息>>"));
    auto *layout = new QHBoxLayout(box);
    layout->addWidget(m_detailTabs, 1);
    layout->addWidget(buildSideBar());
    return box;
}

QWidget *ClientListPage::buildSideBar()
{
    const struct {
        QToolButton *button;
        QString hint;
        QStyle::StandardPixmap icon;
        void (ClientListPage::*click)();
    } buttons[] = {{m_addDetailButton, tr("添加"), QStyle::SP_FileDialogNewFolder, &ClientListPage::addDetailRecord},
                   {m_editDetailButton, tr("修改"), QStyle::SP_FileDialogDetailedView, &ClientListPage::editCurrentDetailRecord},
                   {m_deleteDetailButton, tr("删除"), QStyle::SP_TrashIcon, &ClientListPage::deleteCurrentDetailRecord}};
    auto *bar = new QWidget;
    auto *layout = new QVBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const auto &entry : buttons) {
        entry.button->setToolTip(entry.hint);
        entry.button->setIcon(style()->standardIcon(entry.icon));
        entry.button->setAutoRaise(true);
        layout->addWidget(entry.button);
        connect(entry.button, &QToolButton::clicked, this, entry.click);
    }
    layout->addStretch(1);
    return bar;
}

bool ClientListPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_categoryTree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_categoryTree->renameCategory();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ClientListPage::loadTree()
{
    return m_categoryTree->loadTree();
}

bool ClientListPage::loadClients(const QString &code)
{
    m_listLoaded = true;
    // The client list's first row loads the details, so they follow the list as it opens.
    if (!m_clients.open(QStringLiteral("Select * from TClient Where TypeCode=? Order by ClientCode collate PINYIN"), {code})) {
        platform::prompter().message(tr("读取数据出现错误。"), platform::Prompter::Icon::Error);
        closeDetails();
        return false;
    }
    if (m_clients.isEmpty())
        closeDetails();
    return true;
}

qint64 ClientListPage::currentClient() const
{
    return m_clients.isEmpty() ? -1 : m_clients.integer(QStringLiteral("ID"));
}

QString ClientListPage::selectedCode() const
{
    const GoodsClass *selected = m_categoryTree->selectedRecord();
    return selected ? selected->typeCode : QString();
}

void ClientListPage::loadDetails()
{
    const qint64 client = currentClient();
    if (client < 0)
        return;
    for (int page : {ContactPage, ActivityPage, FollowUpPage})
        loadClientDetail(client, page);
}

void ClientListPage::closeDetails()
{
    for (Recordset *list : {&m_contacts, &m_activities, &m_followUps})
        list->close();
}

bool ClientListPage::loadClientDetail(qint64 clientId, int page)
{
    QString sql;
    switch (page) {
    case ContactPage: sql = QStringLiteral("Select * from TCLinker Where ClientID=? Order by id desc"); break;
    case ActivityPage: sql = QStringLiteral("Select * from TCLinkRec Where ClientID=? Order by id desc"); break;
    case FollowUpPage:
        if (loadFollowUps(m_followUps, clientId, m_followUpStep))
            return true;
        reportOpenFailure();
        return false;
    default: return true;
    }
    if (detailList(page).open(sql, {clientId}))
        return true;
    reportOpenFailure();
    return false;
}

Recordset &ClientListPage::detailList(int page)
{
    switch (page) {
    case ContactPage: return m_contacts;
    case ActivityPage: return m_activities;
    default: return m_followUps;
    }
}

void ClientListPage::addClient()
{
    if (!m_listLoaded) {
        platform::prompter().message(tr("请先选择一个分类！"), platform::Prompter::Icon::Information);
        return;
    }
    const GoodsClass *selected = m_categoryTree->selectedRecord();
    if (!selected) {
        platform::prompter().message(tr("请首先建立或者选择一个客户分类！"), platform::Prompter::Icon::Information);
        return;
    }
    const QString code = selected->typeCode;
    qint64 saved = -1;
    if (editClient(code, selected->typeName, -1, &saved)) {
        loadClients(code);
        m_clients.locate(saved);
    }
}

void ClientListPage::editCurrentClient()
{
    const QString code = selectedCode();
    if (code.isEmpty()) {
        platform::prompter().message(tr("请首先建立或者选择一个客户分类！"), platform::Prompter::Icon::Information);
        return;
    }
    if (m_clients.isEmpty()) {
        platform::prompter().message(tr("没有可修改的记录！"), platform::Prompter::Icon::Information);
        return;
    }
    const qint64 id = currentClient();
    if (editClient(code, QString(), id)) {
        loadClients(code);
        m_clients.locate(id);
    }
}

void ClientListPage::deleteCurrentClient()
{
    const QString code = selectedCode();
    if (code.isEmpty() || m_clients.isEmpty())
        return;
    if (!platform::prompter().confirm(
            tr("您确认删除选定客户资料吗？客户对应的联系人，联系记录，跟踪记录都将被删除！")))
        return;
    // All or nothing: a client is never left half deleted.
    if (!deleteClientWithRecords(Database::instance(), currentClient()))
        platform::prompter().message(tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
    loadClients(code);
}

void ClientListPage::stampLastLink()
{
    // Best effort: the activity is stored whether or not the stamp is.
    if (!m_clients.set(QStringLiteral("LastLinkTime"), platform::clock().now()) || !m_clients.post())
        m_clients.cancel();
}

bool ClientListPage::editDetail(int page, qint64 clientId, qint64 id)
{
    switch (page) {
    case ContactPage: return editContact(clientId, id);
    case ActivityPage: return editContactActivity(clientId, id);
    default: return editFollowUp(clientId, id);
    }
}

void ClientListPage::showDetailRecord(int page, qint64 id)
{
    m_detailTabs->setCurrentIndex(page);
    reloadDetail(page, id);
}

void ClientListPage::reloadDetail(int page, qint64 locateId)
{
    const qint64 client = currentClient();
    if (loadClientDetail(client, page) && locateId >= 0)
        detailList(page).locate(locateId);
}

void ClientListPage::addDetailRecord()
{
    const qint64 client = currentClient();
    if (client < 0) {
        platform::prompter().message(tr("请首先选择一个客户！"), platform::Prompter::Icon::Information);
        return;
    }
    const int page = m_detailTabs->currentIndex();
    if (!editDetail(page, client, -1))
        return;
    if (page == ActivityPage)
        stampLastLink();
    reloadDetail(page, -1);
}

void ClientListPage::editCurrentDetailRecord()
{
    const qint64 client = currentClient();
    if (client < 0) {
        platform::prompter().message(tr("请首先选择一个客户！"), platform::Prompter::Icon::Information);
        return;
    }
    const int page = m_detailTabs->currentIndex();
    Recordset &list = detailList(page);
    if (list.isEmpty())
        return;
    const qint64 id = list.integer(QStringLiteral("ID"));
    if (editDetail(page, client, id))
        reloadDetail(page, id);
}

void ClientListPage::deleteCurrentDetailRecord()
{
    if (currentClient() < 0) {
        platform::prompter().message(tr("请首先选择一个客户！"), platform::Prompter::Icon::Information);
        return;
    }
    const int page = m_detailTabs->currentIndex();
    Recordset &list = detailList(page);
    if (list.isEmpty())
        return;
    const QString question = page == ContactPage    ? tr("您确认删除选定的联系人记录吗？")
                             : page == ActivityPage ? tr("您确认删除选定的联系活动记录吗？")
                                                   : tr("您确认删除选定的跟单记录吗？");
    if (!platform::prompter().confirm(question))
        return;
    if (!list.deleteCurrent())
        platform::prompter().message(tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
}

void ClientListPage::showFollowUpChart(bool shown)
{
    if (shown && !m_followUpChart) {
        m_followUpChart = new FollowUpChartPanel;
        static_cast<QBoxLayout *>(m_detailTabs->parentWidget()->layout())->insertWidget(1, m_followUpChart, 3);
        const auto follow = [this] { m_followUpChart->setScope(currentClient(), selectedCode()); };
        static_cast<QBoxLayout *>(m_detailTabs->parentWidget()->layout())->setStretchFactor(m_detailTabs, 2);
        connect(&m_followUps, &Recordset::reset, m_followUpChart, follow);
        connect(&m_followUps, &Recordset::rowRemoved, m_followUpChart, follow);
        connect(m_detailTabs, &QTabWidget::currentChanged, m_followUpChart,
                [this](int page) { m_followUpChart->setVisible(m_chartToggle->isChecked() && page == FollowUpPage); });
        connect(m_followUpChart, &FollowUpChartPanel::stepChosen, this, [this](std::optional<qint64> step) {
            m_followUpStep = step;
            m_followUpChart->showStepFilter(step);
            reloadDetail(FollowUpPage, -1);
        });
        follow();
    }
    // The charts want height: the details take more of the page while they show, and give
    // it back after.
    if (shown) {
        m_detailTabs->setCurrentIndex(FollowUpPage);
        m_sizesBeforeChart = m_splitter->sizes();
        const int height = m_sizesBeforeChart.value(0) + m_sizesBeforeChart.value(1);
        m_splitter->setSizes({height / 3, height - height / 3});
    } else {
        m_splitter->setSizes(m_sizesBeforeChart);
        if (m_followUpStep)
            emit m_followUpChart->stepChosen(std::nullopt);
    }
    if (m_followUpChart)
        m_followUpChart->setVisible(shown);
}

void ClientListPage::exportContactCards()
{
    const qint64 client = currentClient();
    if (client < 0 || m_contacts.isEmpty())
        return;
    const ContactList list = ContactList::clientContacts(client);
    if (const std::optional<ContactCardFileChoice> file = askContactCardFileToSave(list.clientName)) {
        const auto [written, message] = ContactCardImport::exportRows(m_contacts, selectedOrAllRows(*m_contactGrid), list,
                                                                      file->path, file->forOlderPhones);
        platform::prompter().message(message, written ? platform::Prompter::Icon::Information : platform::Prompter::Icon::Error);
    }
}

void ClientListPage::importContactCards()
{
    const qint64 client = currentClient();
    if (client < 0) {
        platform::prompter().message(tr("请首先选择一个客户！"), platform::Prompter::Icon::Information);
        return;
    }
    const std::optional<QString> path = askContactCardFileToOpen();
    if (!path)
        return;
    ContactCardImport import(ContactList::clientContacts(client));
    if (!import.read(*path)) {
        platform::prompter().message(import.errorText(), platform::Prompter::Icon::Warning);
        return;
    }
    ContactPickDialog window(import.listed(), import.storedMarks());
    if (!pickContacts(window))
        return;
    if (!import.store(window.tickedRows())) {
        platform::prompter().message(import.errorText(), platform::Prompter::Icon::Error);
        return;
    }
    reloadDetail(ContactPage, -1);
    platform::prompter().message(import.summary());
}
