#include "work/WorkTypesDialog.h"

#include "data/Database.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "widgets/DataGrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {

void reportUpdateFailure()
{
    platform::prompter().message(WorkTypesDialog::tr("更新数据发生错误！"), platform::Prompter::Icon::Error);
}

} // namespace

WorkTypesDialog::WorkTypesDialog(QWidget *parent)
    : QDialog(parent)
    , m_typeGrid(new DataGrid(m_types))
    , m_addButton(new QPushButton(tr("添加分类")))
    , m_renameButton(new QPushButton(tr("修改分类")))
    , m_deleteButton(new QPushButton(tr("删除分类")))
    , m_moveUpButton(new QPushButton(tr("前移")))
    , m_moveDownButton(new QPushButton(tr("后移")))
    , m_exitButton(new QPushButton(tr("退出(&X)")))
{
    setWindowTitle(tr("事务类型信息维护"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_typeGrid->setColumns({
        GridColumn{.field = QStringLiteral("OrderIdx"), .title = tr("序号"), .width = 38,
                   .alignment = Qt::AlignRight | Qt::AlignVCenter},
        GridColumn{.field = QStringLiteral("Title"), .title = tr("事务类型标题"), .width = 198},
        GridColumn{.field = QStringLiteral("ID"), .title = QStringLiteral("ID"), .visible = false},
    });
    // Both columns whole, with room for the frame and a vertical scroll bar.
    QTableView *view = m_typeGrid->view();
    view->setMinimumWidth(view->columnWidth(0) + view->columnWidth(1) + 2 * view->frameWidth()
                          + view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
    view->horizontalHeader()->setStretchLastSection(true);

    auto *listBox = new QGroupBox(tr("事务类型列表"));
    auto *listLayout = new QVBoxLayout(listBox);
    listLayout->addWidget(m_typeGrid);

    // No default button: Enter on the list renames the current type, Escape closes the window.
    for (QPushButton *button : {m_addButton, m_renameButton, m_deleteButton, m_moveUpButton, m_moveDownButton, m_exitButton})
        button->setAutoDefault(false);

    auto *buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 8, 0, 0); // clear of the group's title line
    for (QPushButton *button : {m_addButton, m_renameButton, m_deleteButton})
        buttons->addWidget(button);
    buttons->addSpacing(12);
    buttons->addWidget(m_moveUpButton);
    buttons->addWidget(m_moveDownButton);
    buttons->addStretch();
    buttons->addWidget(m_exitButton);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(listBox, 1);
    layout->addLayout(buttons);
    resize(400, 340);

    connect(m_addButton, &QPushButton::clicked, this, &WorkTypesDialog::addType);
    connect(m_renameButton, &QPushButton::clicked, this, &WorkTypesDialog::renameType);
    connect(m_deleteButton, &QPushButton::clicked, this, &WorkTypesDialog::deleteType);
    connect(m_moveUpButton, &QPushButton::clicked, this, &WorkTypesDialog::moveTypeUp);
    connect(m_moveDownButton, &QPushButton::clicked, this, &WorkTypesDialog::moveTypeDown);
    connect(m_exitButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_typeGrid, &DataGrid::rowActivated, this, &WorkTypesDialog::renameType);
}

bool WorkTypesDialog::loadTypes()
{
    // ID breaks ties, so types sharing a position keep one order from load to load.
    if (m_types.open(QStringLiteral("Select * from TWorkClass Order by OrderIdx, ID")))
        return true;
    platform::prompter().message(tr("读取事务分类数据发生错误！"), platform::Prompter::Icon::Error);
    return false;
}

void WorkTypesDialog::addType()
{
    const std::optional<QString> title =
        platform::prompter().inputText(tr("请输入新的事务类型"), tr("请输入新的事务类型："));
    if (!title || title->isEmpty())
        return;
    // No rows gives an empty text, which counts as position 0.
    const int last = Database::instance().queryValue(QStringLiteral("Select Max(OrderIdx) from TWorkClass")).toInt();

    m_types.append();
    m_types.set(QStringLiteral("OrderIdx"), last + 1);
    m_types.set(QStringLiteral("Title"), *title);
    if (!m_types.post()) {
        m_types.cancel();
        reportUpdateFailure();
    }
}

void WorkTypesDialog::renameType()
{
    if (m_types.position() < 0)
        return;
    const std::optional<QString> title = platform::prompter().inputText(
        tr("请输入新的事事务类型"), tr("请输入新的事务类型："), m_types.text(QStringLiteral("Title")));
    if (!title || title->isEmpty())
        return;
    m_types.set(QStringLiteral("Title"), *title);
    if (!m_types.post()) {
        m_types.cancel();
        reportUpdateFailure();
    }
}

void WorkTypesDialog::deleteType()
{
    if (!platform::prompter().confirm(tr("您确认删除选定的数据记录吗？")))
        return;
    if (!m_types.deleteCurrent())
        platform::prompter().message(tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
}

void WorkTypesDialog::moveTypeUp()
{
    moveCurrent(-1);
}

void WorkTypesDialog::moveTypeDown()
{
    moveCurrent(+1);
}

void WorkTypesDialog::moveCurrent(int step)
{
    if (m_types.position() < 0)
        return;
    const qint64 moved = m_types.integer(QStringLiteral("ID"));
    const bool hasNeighbour = step < 0 ? m_types.prior() : m_types.next();
    if (!hasNeighbour)
        return;
    const qint64 neighbour = m_types.integer(QStringLiteral("ID"));

    // Each position shifts by one rather than the two being swapped: where positions have
    // gaps, a move may only close the gap or give both the same position.
    Database &dm = Database::instance();
    const QString shift = QStringLiteral("Update TWorkClass Set OrderIdx=OrderIdx+? where ID=?");
    if (!dm.execute(shift, {step, moved}) || !dm.execute(shift, {-step, neighbour})) {
        reportUpdateFailure();
        return;
    }
    if (loadTypes())
        m_types.locate(moved);
}

void editWorkTypes()
{
    WorkTypesDialog window;
    if (window.loadTypes())
        platform::execModal(window);
}

void appendWorkTypeTitles(QStringList &items)
{
    Database::instance().appendNonEmptyValues(QStringLiteral("select Title from TWorkClass Order by OrderIdx"), items, false);
}
