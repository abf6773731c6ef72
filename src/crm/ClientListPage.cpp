#include "crm/ClientListPage.h"

#include "crm/CategoryTree.h"
#include "crm/ClientRecords.h"
#include "crm/FollowUpList.h"
#include "crm/TfrmClientEdit.h"
#include "crm/TfrmClientLinkerEdit.h"
#include "crm/TfrmClientLinkerRecEdit.h"
#include "crm/TfrmClientTrackEdit.h"
#include "data/TDM.h"
#include "output/SendGridToExcel.h"
#include "output/TfrmPreview.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
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

QList<GridColumn> linkerColumns()
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

QList<GridColumn> linkRecColumns()
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
    , TreeView1(new CategoryTree(clientCategories()))
    , cmdAddRoot(new QPushButton(tr("添加根")))
    , cndAddSon(new QPushButton(tr("添加下级")))
    , cmdEdit(new QPushButton(tr("修改")))
    , cmdDelete(new QPushButton(tr("删除")))
    , DBGridEh2(new DataGrid(m_clients))
    , cmdFindClient(new QPushButton(tr("查找(&F)")))
    , cmdAddClient(new QPushButton(tr("增加(&A)")))
    , cmdEditClient(new QPushButton(tr("修改(&E)")))
    , cmdDeleteClient(new QPushButton(tr("删除(&D)")))
    , pcDetail(new QTabWidget)
    , DBGridEh3(new DataGrid(m_linkers))
    , DBGridEh4(new DataGrid(m_linkRecs))
    , DBGridEh5(new DataGrid(m_tracks))
    , SBAddNew(new QToolButton)
    , SBEdit(new QToolButton)
    , SBDelete(new QToolButton)
    , splitter(new QSplitter(Qt::Vertical))
{
    splitter->addWidget(buildListPane());
    splitter->addWidget(buildDetailPane());
    splitter->setChildrenCollapsible(false);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(buildTreePane());
    layout->addWidget(splitter, 1);
    buildMenus();
}

void ClientListPage::buildMenus()
{
    auto *popGrid = new QMenu(this);
    popGrid->addAction(tr("发送到&Excel"), this, [this] { SendGridToExcel(tr("客户资料"), *DBGridEh2); });
    popGrid->addAction(tr("打印(&P)"), this, [this] { ShowPrintPreview(tr("客户资料"), *DBGridEh2); });
    connect(DBGridEh2, &DataGrid::contextMenuRequested, popGrid, [popGrid](const QPoint &at) { popGrid->popup(at); });

    auto *PopupMenu2 = new QMenu(this);
    PopupMenu2->addAction(tr("打印"), this, &ClientListPage::MenuItem4Click);
    PopupMenu2->addAction(tr("发送到Excel"), this, &ClientListPage::MenuItem6Click);
    for (DataGrid *grid : {DBGridEh3, DBGridEh4, DBGridEh5})
        connect(grid, &DataGrid::contextMenuRequested, PopupMenu2, [PopupMenu2](const QPoint &at) { PopupMenu2->popup(at); });
}

DataGrid *ClientListPage::shownDetail(QString &title) const
{
    const struct {
        DataGrid *grid;
        const char *title;
    } pages[] = {{DBGridEh3, QT_TR_NOOP("联系人")}, {DBGridEh4, QT_TR_NOOP("联系活动")}, {DBGridEh5, QT_TR_NOOP("跟踪记录")}};
    const int page = pcDetail->currentIndex();
    if (page < 0 || page > 2 || !pages[page].grid->recordset().isOpen())
        return nullptr;
    title = tr(pages[page].title);
    return pages[page].grid;
}

void ClientListPage::MenuItem4Click()
{
    QString title;
    if (DataGrid *grid = shownDetail(title))
        ShowPrintPreview(title, *grid);
}

void ClientListPage::MenuItem6Click()
{
    QString title;
    if (DataGrid *grid = shownDetail(title))
        SendGridToExcel(title, *grid);
}

QWidget *ClientListPage::buildTreePane()
{
    cmdAddRoot->setToolTip(tr("添加根分组"));
    cndAddSon->setToolTip(tr("添加下级分组"));
    cmdEdit->setToolTip(tr("修改分组名称"));
    cmdDelete->setToolTip(tr("删除选定分组"));
    connect(cmdAddRoot, &QPushButton::clicked, TreeView1, &CategoryTree::AddRoot);
    connect(cndAddSon, &QPushButton::clicked, TreeView1, &CategoryTree::AddChild);
    connect(cmdEdit, &QPushButton::clicked, TreeView1, &CategoryTree::Rename);
    connect(cmdDelete, &QPushButton::clicked, TreeView1, &CategoryTree::Delete);
    connect(TreeView1, &CategoryTree::categorySelected, this, &ClientListPage::ReadyList);
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, TreeView1, &CategoryTree::Rename);
    TreeView1->installEventFilter(this);

    auto *box = new QGroupBox(tr("客户资料分类"));
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(TreeView1, 1);
    auto *buttons = new QGridLayout;
    buttons->addWidget(cmdAddRoot, 0, 0);
    buttons->addWidget(cndAddSon, 0, 1);
    buttons->addWidget(cmdEdit, 1, 0);
    buttons->addWidget(cmdDelete, 1, 1);
    layout->addLayout(buttons);
    box->setFixedWidth(190);
    return box;
}

QWidget *ClientListPage::buildListPane()
{
    DBGridEh2->setColumns(clientColumns());
    DBGridEh2->view()->setToolTip(tr("鼠标双击编辑客户资料"));
    connect(DBGridEh2, &DataGrid::rowActivated, this, &ClientListPage::cmdEditClientClick);
    connect(DBGridEh2, &DataGrid::titleClicked, this, &ClientListPage::loadDetails);
    connect(&m_clients, &Recordset::currentChanged, this, &ClientListPage::loadDetails);
    connect(cmdAddClient, &QPushButton::clicked, this, &ClientListPage::cmdAddClientClick);
    connect(cmdEditClient, &QPushButton::clicked, this, &ClientListPage::cmdEditClientClick);
    connect(cmdDeleteClient, &QPushButton::clicked, this, &ClientListPage::cmdDeleteClientClick);

    auto *box = new QGroupBox(tr("客户资料列表"));
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(DBGridEh2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {cmdFindClient, cmdAddClient, cmdEditClient, cmdDeleteClient})
        buttons->addWidget(button);
    layout->addLayout(buttons);
    return box;
}

QWidget *ClientListPage::buildDetailPane()
{
    DBGridEh3->setColumns(linkerColumns());
    DBGridEh3->view()->setToolTip(tr("鼠标双击编辑联系人信息"));
    DBGridEh4->setColumns(linkRecColumns());
    DBGridEh4->view()->setToolTip(tr("鼠标双击编辑联系活动信息"));
    // Activities stay in the order they were logged, newest first.
    DBGridEh4->view()->horizontalHeader()->setSectionsClickable(false);
    DBGridEh5->setColumns(followUpColumns());
    DBGridEh5->view()->setToolTip(tr("鼠标双击编辑跟单记录信息"));
    DBGridEh5->view()->horizontalHeader()->setSectionsClickable(false);
    pcDetail->addTab(DBGridEh3, tr("联系人"));
    pcDetail->addTab(DBGridEh4, tr("联系活动"));
    pcDetail->addTab(DBGridEh5, tr("跟单记录"));
    pcDetail->setTabPosition(QTabWidget::South);
    for (DataGrid *grid : {DBGridEh3, DBGridEh4, DBGridEh5})
        connect(grid, &DataGrid::rowActivated, this, &ClientListPage::SBEditClick);

    auto *box = new QGroupBox(tr("选定客户的详细信息>>"));
    auto *layout = new QHBoxLayout(box);
    layout->addWidget(pcDetail, 1);
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
    } buttons[] = {{SBAddNew, tr("添加"), QStyle::SP_FileDialogNewFolder, &ClientListPage::SBAddNewClick},
                   {SBEdit, tr("修改"), QStyle::SP_FileDialogDetailedView, &ClientListPage::SBEditClick},
                   {SBDelete, tr("删除"), QStyle::SP_TrashIcon, &ClientListPage::SBDeleteClick}};
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
    if (watched == TreeView1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            TreeView1->Rename();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ClientListPage::ReadyTree()
{
    return TreeView1->ReadyTree();
}

bool ClientListPage::ReadyList(const QString &code)
{
    m_listLoaded = true;
    // The client list's first row loads the details, so they follow the list as it opens.
    if (!m_clients.open(QStringLiteral("Select * from TClient Where TypeCode=? Order by ClientCode"), {code})) {
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
    const GoodsClass *selected = TreeView1->selectedRecord();
    return selected ? selected->TypeCode : QString();
}

void ClientListPage::loadDetails()
{
    const qint64 client = currentClient();
    if (client < 0)
        return;
    for (int page : {LinkerPage, LinkRecPage, TrackPage})
        ReadyAClientDetail(client, page);
}

void ClientListPage::closeDetails()
{
    for (Recordset *list : {&m_linkers, &m_linkRecs, &m_tracks})
        list->close();
}

bool ClientListPage::ReadyAClientDetail(qint64 clientId, int page)
{
    QString sql;
    switch (page) {
    case LinkerPage: sql = QStringLiteral("Select * from TCLinker Where ClientID=? Order by id desc"); break;
    case LinkRecPage: sql = QStringLiteral("Select * from TCLinkRec Where ClientID=? Order by id desc"); break;
    case TrackPage:
        if (loadFollowUps(m_tracks, clientId))
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
    case LinkerPage: return m_linkers;
    case LinkRecPage: return m_linkRecs;
    default: return m_tracks;
    }
}

void ClientListPage::cmdAddClientClick()
{
    if (!m_listLoaded) {
        platform::prompter().message(tr("请先选择一个分类！"), platform::Prompter::Icon::Information);
        return;
    }
    const GoodsClass *selected = TreeView1->selectedRecord();
    if (!selected) {
        platform::prompter().message(tr("请首先建立或者选择一个客户分类！"), platform::Prompter::Icon::Information);
        return;
    }
    const QString code = selected->TypeCode;
    qint64 saved = -1;
    if (ShowClientEditor(code, selected->TypeName, -1, &saved)) {
        ReadyList(code);
        m_clients.locate(saved);
    }
}

void ClientListPage::cmdEditClientClick()
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
    if (ShowClientEditor(code, QString(), id)) {
        ReadyList(code);
        m_clients.locate(id);
    }
}

void ClientListPage::cmdDeleteClientClick()
{
    const QString code = selectedCode();
    if (code.isEmpty() || m_clients.isEmpty())
        return;
    if (!platform::prompter().confirm(
            tr("您确认删除选定客户资料吗？客户对应的联系人，联系记录，跟踪记录都将被删除！")))
        return;
    // All or nothing: a client is never left half deleted.
    if (!deleteClientWithRecords(TDM::instance(), currentClient()))
        platform::prompter().message(tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
    ReadyList(code);
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
    case LinkerPage: return ShowContactEditor(clientId, id);
    case LinkRecPage: return ShowActivityEditor(clientId, id);
    default: return ShowFollowUpEditor(clientId, id);
    }
}

void ClientListPage::reloadDetail(int page, qint64 locateId)
{
    const qint64 client = currentClient();
    if (ReadyAClientDetail(client, page) && locateId >= 0)
        detailList(page).locate(locateId);
}

void ClientListPage::SBAddNewClick()
{
    const qint64 client = currentClient();
    if (client < 0) {
        platform::prompter().message(tr("请首先选择一个客户！"), platform::Prompter::Icon::Information);
        return;
    }
    const int page = pcDetail->currentIndex();
    if (!editDetail(page, client, -1))
        return;
    if (page == LinkRecPage)
        stampLastLink();
    reloadDetail(page, -1);
}

void ClientListPage::SBEditClick()
{
    const qint64 client = currentClient();
    if (client < 0) {
        platform::prompter().message(tr("请首先选择一个客户！"), platform::Prompter::Icon::Information);
        return;
    }
    const int page = pcDetail->currentIndex();
    Recordset &list = detailList(page);
    if (list.isEmpty())
        return;
    const qint64 id = list.integer(QStringLiteral("ID"));
    if (editDetail(page, client, id))
        reloadDetail(page, id);
}

void ClientListPage::SBDeleteClick()
{
    if (currentClient() < 0) {
        platform::prompter().message(tr("请首先选择一个客户！"), platform::Prompter::Icon::Information);
        return;
    }
    const int page = pcDetail->currentIndex();
    Recordset &list = detailList(page);
    if (list.isEmpty())
        return;
    const QString question = page == LinkerPage    ? tr("您确认删除选定的联系人记录吗？")
                             : page == LinkRecPage ? tr("您确认删除选定的联系活动记录吗？")
                                                   : tr("您确认删除选定的跟单记录吗？");
    if (!platform::prompter().confirm(question))
        return;
    if (!list.deleteCurrent())
        platform::prompter().message(tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
}
