#include "work/TfrmWorkClass.h"

#include "data/TDM.h"
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
    platform::prompter().message(TfrmWorkClass::tr("更新数据发生错误！"), platform::Prompter::Icon::Error);
}

} // namespace

TfrmWorkClass::TfrmWorkClass(QWidget *parent)
    : QDialog(parent)
    , grid(new DataGrid(m_types))
    , cmdAdd(new QPushButton(tr("添加分类")))
    , cmdEdit(new QPushButton(tr("修改分类")))
    , cmdDelete(new QPushButton(tr("删除分类")))
    , cmdUp(new QPushButton(tr("前移")))
    , cmdDown(new QPushButton(tr("后移")))
    , Button4(new QPushButton(tr("退出(&X)")))
{
    setWindowTitle(tr("事务类型信息维护"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    grid->setColumns({
        GridColumn{.field = QStringLiteral("OrderIdx"), .title = tr("序号"), .width = 38,
                   .alignment = Qt::AlignRight | Qt::AlignVCenter},
        GridColumn{.field = QStringLiteral("Title"), .title = tr("事务类型标题"), .width = 198},
        GridColumn{.field = QStringLiteral("ID"), .title = QStringLiteral("ID"), .visible = false},
    });
    // Both columns whole, with room for the frame and a vertical scroll bar.
    QTableView *view = grid->view();
    view->setMinimumWidth(view->columnWidth(0) + view->columnWidth(1) + 2 * view->frameWidth()
                          + view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
    view->horizontalHeader()->setStretchLastSection(true);

    auto *listBox = new QGroupBox(tr("事务类型列表"));
    auto *listLayout = new QVBoxLayout(listBox);
    listLayout->addWidget(grid);

    // No default button: Enter on the list renames the current type, Escape closes the window.
    for (QPushButton *button : {cmdAdd, cmdEdit, cmdDelete, cmdUp, cmdDown, Button4})
        button->setAutoDefault(false);

    auto *buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 8, 0, 0); // clear of the group's title line
    for (QPushButton *button : {cmdAdd, cmdEdit, cmdDelete})
        buttons->addWidget(button);
    buttons->addSpacing(12);
    buttons->addWidget(cmdUp);
    buttons->addWidget(cmdDown);
    buttons->addStretch();
    buttons->addWidget(Button4);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(listBox, 1);
    layout->addLayout(buttons);
    resize(400, 340);

    connect(cmdAdd, &QPushButton::clicked, this, &TfrmWorkClass::cmdAddClick);
    connect(cmdEdit, &QPushButton::clicked, this, &TfrmWorkClass::cmdEditClick);
    connect(cmdDelete, &QPushButton::clicked, this, &TfrmWorkClass::cmdDeleteClick);
    connect(cmdUp, &QPushButton::clicked, this, &TfrmWorkClass::cmdUpClick);
    connect(cmdDown, &QPushButton::clicked, this, &TfrmWorkClass::cmdDownClick);
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid, &DataGrid::rowActivated, this, &TfrmWorkClass::cmdEditClick);
}

bool TfrmWorkClass::ReadyData()
{
    // ID breaks ties, so types sharing a position keep one order from load to load.
    if (m_types.open(QStringLiteral("Select * from TWorkClass Order by OrderIdx, ID")))
        return true;
    platform::prompter().message(tr("读取事务分类数据发生错误！"), platform::Prompter::Icon::Error);
    return false;
}

void TfrmWorkClass::cmdAddClick()
{
    const std::optional<QString> title =
        platform::prompter().inputText(tr("请输入新的事务类型"), tr("请输入新的事务类型："));
    if (!title || title->isEmpty())
        return;
    // No rows gives an empty text, which counts as position 0.
    const int last = TDM::instance().GetDataBySQL(QStringLiteral("Select Max(OrderIdx) from TWorkClass")).toInt();

    m_types.append();
    m_types.set(QStringLiteral("OrderIdx"), last + 1);
    m_types.set(QStringLiteral("Title"), *title);
    if (!m_types.post()) {
        m_types.cancel();
        reportUpdateFailure();
    }
}

void TfrmWorkClass::cmdEditClick()
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

void TfrmWorkClass::cmdDeleteClick()
{
    if (!platform::prompter().confirm(tr("您确认删除选定的数据记录吗？")))
        return;
    if (!m_types.deleteCurrent())
        platform::prompter().message(tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
}

void TfrmWorkClass::cmdUpClick()
{
    moveCurrent(-1);
}

void TfrmWorkClass::cmdDownClick()
{
    moveCurrent(+1);
}

void TfrmWorkClass::moveCurrent(int step)
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
    TDM &dm = TDM::instance();
    const QString shift = QStringLiteral("Update TWorkClass Set OrderIdx=OrderIdx+? where ID=?");
    if (!dm.execute(shift, {step, moved}) || !dm.execute(shift, {-step, neighbour})) {
        reportUpdateFailure();
        return;
    }
    if (ReadyData())
        m_types.locate(moved);
}

void ShowWorkTypes()
{
    TfrmWorkClass window;
    if (window.ReadyData())
        platform::execModal(window);
}

void appendWorkTypeTitles(QStringList &items)
{
    TDM::instance().GetDataBySQLToItems(QStringLiteral("select Title from TWorkClass Order by OrderIdx"), items, false);
}
