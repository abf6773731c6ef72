#include "crm/TfrmFindClient.h"

#include "crm/ClientSearch.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "widgets/DataGrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kMaxDays = 2000;

QList<GridColumn> resultColumns()
{
    return {
        GridColumn{.field = QStringLiteral("ID"), .title = QStringLiteral("ID"), .visible = false},
        GridColumn{.field = QStringLiteral("TypeCode"), .title = QStringLiteral("TypeCode"), .visible = false},
        GridColumn{.field = QStringLiteral("ClientName"), .title = TfrmFindClient::tr("客户名称"), .width = 190},
        GridColumn{.field = QStringLiteral("ClientCode"), .title = TfrmFindClient::tr("客户简码"), .width = 100},
        GridColumn{.field = QStringLiteral("Tele"), .title = TfrmFindClient::tr("电话"), .width = 100},
        GridColumn{.field = QStringLiteral("MobileCode"), .title = TfrmFindClient::tr("手机号"), .width = 100},
    };
}

// The results with their two buttons beside them, in the group box of either page.
QGroupBox *resultBox(DataGrid *grid, QPushButton *locate, QPushButton *exit)
{
    grid->setColumns(resultColumns());
    grid->view()->horizontalHeader()->setStretchLastSection(true);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(locate);
    buttons->addStretch(1);
    buttons->addWidget(exit);
    auto *box = new QGroupBox(TfrmFindClient::tr("查找结果记录"));
    auto *layout = new QHBoxLayout(box);
    layout->addWidget(grid, 1);
    layout->addLayout(buttons);
    return box;
}

} // namespace

TfrmFindClient::TfrmFindClient(Locate locate, QWidget *parent)
    : QWidget(parent, Qt::Dialog)
    , pages(new QTabWidget)
    , EditName(new QLineEdit)
    , Button1(new QPushButton(tr("模糊查找")))
    , DBGridEh2(new DataGrid(m_byName))
    , cmdLocateClient(new QPushButton(tr("定位该客户")))
    , Button3(new QPushButton(tr("退出(X)")))
    , EditDays(new QSpinBox)
    , Button5(new QPushButton(tr("过滤")))
    , DBGridEh1(new DataGrid(m_byDays))
    , Button2(new QPushButton(tr("定位该客户")))
    , Button4(new QPushButton(tr("退出(X)")))
    , m_locate(std::move(locate))
{
    setWindowTitle(tr("查找客户"));
    setAttribute(Qt::WA_DeleteOnClose);
    pages->addTab(buildNamePage(), tr("根据客户名称查找"));
    pages->addTab(buildDaysPage(), tr("一定时间内没有联系的客户"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    resize(700, 400);

    connect(Button1, &QPushButton::clicked, this, &TfrmFindClient::ReadyData);
    connect(EditName, &QLineEdit::returnPressed, this, &TfrmFindClient::ReadyData);
    connect(Button5, &QPushButton::clicked, this, &TfrmFindClient::ReadyData1);
    for (QPushButton *button : {cmdLocateClient, Button2})
        connect(button, &QPushButton::clicked, this, &TfrmFindClient::cmdLocateClientClick);
    for (DataGrid *grid : {DBGridEh2, DBGridEh1})
        connect(grid, &DataGrid::rowActivated, this, &TfrmFindClient::cmdLocateClientClick);
    for (QPushButton *button : {Button3, Button4})
        connect(button, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    EditName->setFocus();
}

QWidget *TfrmFindClient::buildNamePage()
{
    auto *search = new QHBoxLayout;
    search->addWidget(new QLabel(tr("输入客户名称/简码名称")));
    search->addWidget(EditName, 1);
    search->addWidget(Button1);
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(search);
    layout->addWidget(resultBox(DBGridEh2, cmdLocateClient, Button3), 1);
    return page;
}

QWidget *TfrmFindClient::buildDaysPage()
{
    // The spin box is the days box and its up-down control in one: digits only, 0 to 2000.
    EditDays->setRange(0, kMaxDays);
    EditDays->setValue(30);
    auto *filter = new QHBoxLayout;
    filter->addWidget(new QLabel(tr("超过")));
    filter->addWidget(EditDays);
    filter->addWidget(new QLabel(tr("天没有联系的客户")));
    filter->addStretch(1);
    filter->addWidget(Button5);
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(filter);
    layout->addWidget(resultBox(DBGridEh1, Button2, Button4), 1);
    return page;
}

void TfrmFindClient::open(Recordset &results, const ClientQuery &query)
{
    if (!results.open(query.sql, query.params))
        platform::prompter().message(tr("读取数据库发生错误！"), platform::Prompter::Icon::Error);
}

void TfrmFindClient::ReadyData()
{
    if (EditName->text().isEmpty())
        return;
    open(m_byName, clientsByNameQuery(EditName->text()));
}

void TfrmFindClient::ReadyData1()
{
    open(m_byDays, clientsNotContactedQuery(EditDays->value(), platform::clock().now()));
}

void TfrmFindClient::cmdLocateClientClick()
{
    locateCurrent(pages->currentIndex() == 0 ? m_byName : m_byDays);
}

void TfrmFindClient::locateCurrent(const Recordset &results)
{
    if (results.position() < 0 || !m_locate)
        return;
    m_locate(results.text(QStringLiteral("TypeCode")), results.integer(QStringLiteral("ID")));
}

TfrmFindClient *ShowFindClient(TfrmFindClient::Locate locate, QWidget *owner)
{
    auto *window = new TfrmFindClient(std::move(locate), owner);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
