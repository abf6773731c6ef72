#include "crm/ClientSearchWindow.h"

#include "crm/ClientSearch.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "widgets/DataGrid.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
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
        GridColumn{.field = QStringLiteral("ClientName"), .title = ClientSearchWindow::tr("客户名称"), .width = 190},
        GridColumn{.field = QStringLiteral("ClientCode"), .title = ClientSearchWindow::tr("客户简码"), .width = 100},
        GridColumn{.field = QStringLiteral("Tele"), .title = ClientSearchWindow::tr("电话"), .width = 100},
        GridColumn{.field = QStringLiteral("MobileCode"), .title = ClientSearchWindow::tr("手机号"), .width = 100},
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
    auto *box = new QGroupBox(ClientSearchWindow::tr("查找结果记录"));
    auto *layout = new QHBoxLayout(box);
    layout->addWidget(grid, 1);
    layout->addLayout(buttons);
    return box;
}

} // namespace

ClientSearchWindow::ClientSearchWindow(Locate locate, QWidget *parent)
    // A window of its own, not a dialog: it can be minimised alone, and stays above its owner.
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_searchTabs(new QTabWidget)
    , m_nameEdit(new QLineEdit)
    , m_nameSearchButton(new QPushButton(tr("模糊查找")))
    , m_nameResultsGrid(new DataGrid(m_byName))
    , m_nameLocateButton(new QPushButton(tr("定位该客户")))
    , m_nameExitButton(new QPushButton(tr("退出(X)")))
    , m_daysBox(new QSpinBox)
    , m_daysSearchButton(new QPushButton(tr("过滤")))
    , m_daysResultsGrid(new DataGrid(m_byDays))
    , m_daysLocateButton(new QPushButton(tr("定位该客户")))
    , m_daysExitButton(new QPushButton(tr("退出(X)")))
    , m_locate(std::move(locate))
{
    setWindowTitle(tr("查找客户"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_searchTabs->addTab(buildNamePage(), tr("根据客户名称查找"));
    m_searchTabs->addTab(buildDaysPage(), tr("一定时间内没有联系的客户"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_searchTabs);
    resize(700, 400);

    connect(m_nameSearchButton, &QPushButton::clicked, this, &ClientSearchWindow::searchByName);
    connect(m_nameEdit, &QLineEdit::returnPressed, this, &ClientSearchWindow::searchByName);
    connect(m_daysSearchButton, &QPushButton::clicked, this, &ClientSearchWindow::searchByDays);
    for (QPushButton *button : {m_nameLocateButton, m_daysLocateButton})
        connect(button, &QPushButton::clicked, this, &ClientSearchWindow::locateSelectedClient);
    for (DataGrid *grid : {m_nameResultsGrid, m_daysResultsGrid})
        connect(grid, &DataGrid::rowActivated, this, &ClientSearchWindow::locateSelectedClient);
    for (QPushButton *button : {m_nameExitButton, m_daysExitButton})
        connect(button, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    m_nameEdit->setFocus();
}

QWidget *ClientSearchWindow::buildNamePage()
{
    auto *search = new QHBoxLayout;
    search->addWidget(new QLabel(tr("输入客户名称/简码名称")));
    search->addWidget(m_nameEdit, 1);
    search->addWidget(m_nameSearchButton);
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(search);
    layout->addWidget(resultBox(m_nameResultsGrid, m_nameLocateButton, m_nameExitButton), 1);
    return page;
}

QWidget *ClientSearchWindow::buildDaysPage()
{
    // The spin box is the days box and its up-down control in one: digits only, 0 to 2000.
    m_daysBox->setRange(0, kMaxDays);
    m_daysBox->setValue(30);
    auto *filter = new QHBoxLayout;
    filter->addWidget(new QLabel(tr("超过")));
    filter->addWidget(m_daysBox);
    filter->addWidget(new QLabel(tr("天没有联系的客户")));
    filter->addStretch(1);
    filter->addWidget(m_daysSearchButton);
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(filter);
    layout->addWidget(resultBox(m_daysResultsGrid, m_daysLocateButton, m_daysExitButton), 1);
    return page;
}

void ClientSearchWindow::open(Recordset &results, const ClientQuery &query)
{
    // Opening clears the rows first; a search that fails must leave the earlier results shown.
    Recordset trial;
    if (!trial.open(query.sql, query.params) || !results.open(query.sql, query.params))
        platform::prompter().message(tr("读取数据库发生错误！"), platform::Prompter::Icon::Error);
}

void ClientSearchWindow::searchByName()
{
    if (m_nameEdit->text().isEmpty())
        return;
    open(m_byName, clientsByNameQuery(m_nameEdit->text()));
}

void ClientSearchWindow::searchByDays()
{
    open(m_byDays, clientsNotContactedQuery(m_daysBox->value(), platform::clock().now()));
}

void ClientSearchWindow::locateSelectedClient()
{
    locateCurrent(m_searchTabs->currentIndex() == 0 ? m_byName : m_byDays);
}

void ClientSearchWindow::locateCurrent(const Recordset &results)
{
    if (results.position() < 0 || !m_locate)
        return;
    m_locate(results.text(QStringLiteral("TypeCode")), results.integer(QStringLiteral("ID")));
}

ClientSearchWindow *openClientSearch(ClientSearchWindow::Locate locate, QWidget *owner, const QWidget *button)
{
    ClientSearchWindow *lowest = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *open = qobject_cast<ClientSearchWindow *>(widget);
        if (open && open->isVisible() && !open->isMinimized() && (!lowest || open->y() > lowest->y()))
            lowest = open;
    }
    auto *window = new ClientSearchWindow(std::move(locate), owner);
    window->adjustSize();
    if (lowest) {
        // Each further window steps down and right from the lowest one, so that it is seen to open.
        window->move(lowest->pos() + QPoint(24, 24));
    } else if (button) {
        // Above the button, or below it where the screen has no room, so it stays in reach.
        const QRect clicked(button->mapToGlobal(QPoint(0, 0)), button->size());
        const QRect screen = button->screen()->availableGeometry();
        const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
        int y = clicked.top() - window->height() - titleBar - 8;
        if (y < screen.top())
            y = clicked.bottom() + 8;
        const int x = std::clamp(clicked.right() - window->width(), screen.left(),
                                 std::max(screen.left(), screen.right() - window->width()));
        window->move(x, y);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
