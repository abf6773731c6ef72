#include "work/WorkListPage.h"

#include "data/TDM.h"
#include "output/SendGridToExcel.h"
#include "output/TfrmPreview.h"
#include "platform/Prompter.h"
#include "widgets/DataGrid.h"
#include "document/RichTextEditor.h"
#include "work/WorkBody.h"
#include "work/TfrmEditAWork.h"
#include "work/TfrmWorkClass.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The background of urgent items: red 255, green 235, blue 234.
const QColor kUrgentBackground(255, 235, 234);

QList<GridColumn> workColumns()
{
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignCenter;
    GridColumn id{QStringLiteral("ID"), QObject::tr("编号"), 29, right};
    GridColumn type{QStringLiteral("WorkType"), QObject::tr("事务类型"), 76};
    GridColumn title{QStringLiteral("Title"), QObject::tr("事务主题"), 164};
    GridColumn state{QStringLiteral("FinStu"), QObject::tr("执行状态"), 54, centre};
    state.keys = QStringList{"1", "2", "3", "4"};
    state.picks = workStateNames();
    GridColumn priority{QStringLiteral("ZY"), QObject::tr("优先级"), 41, centre};
    priority.keys = QStringList{"0", "1"};
    priority.picks = QStringList{QObject::tr("普通"), QObject::tr("紧急")};
    GridColumn start{QStringLiteral("TimeStart"), QObject::tr("开始时间"), 72, centre};
    start.dateFormat = QStringLiteral("yyyy-MM-dd");
    GridColumn end = start;
    end.field = QStringLiteral("TimeEnd");
    end.title = QObject::tr("结束时间");
    GridColumn registered = start;
    registered.field = QStringLiteral("LastUpTime");
    registered.title = QObject::tr("登记时间");
    registered.width = 68;
    GridColumn useHint{QStringLiteral("UseTimeHint"), QObject::tr("是否提示"), 0, centre};
    useHint.keys = QStringList{"0", "1"};
    useHint.picks = QStringList{QStringLiteral(" "), QObject::tr("提示")};
    GridColumn hint{QStringLiteral("TimeHint"), QObject::tr("提示时间"), 90, centre};
    hint.dateFormat = QStringLiteral("yy-MM-dd HH:mm");
    return {id, type, title, state, priority, start, end, registered, useHint, hint};
}

} // namespace

WorkListPage::WorkListPage(QWidget *parent)
    : QWidget(parent)
    , cmbWorkType(new QComboBox)
    , sbEditWorkType(new QToolButton)
    , cmbClass(new QComboBox)
    , chkStuNoDeal(new QCheckBox(tr("未处理")))
    , chkStuNowDeal(new QCheckBox(tr("正在处理")))
    , chkStuFin(new QCheckBox(tr("已完成")))
    , chkStuWaste(new QCheckBox(tr("已废弃")))
    , sbAllRunStu(new QToolButton)
    , DBGridEh1(new DataGrid(m_work))
    , cmdAddWork(new QPushButton(tr("添加事务(&A)")))
    , cmdEditWork(new QPushButton(tr("编辑事务(&E)")))
    , cmdDeleteWork(new QPushButton(tr("删除事务(&D)")))
    , PopupMenu1(new QMenu(this))
    , splitter(new QSplitter(Qt::Horizontal))
    , editor(new RichTextEditor(RichTextEditor::Variant::MainWindow))
{
    m_stateColors.fill(palette().color(QPalette::Text));
    splitter->addWidget(buildListPane());
    splitter->addWidget(buildDocumentPane());
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    // Without live resizing the splitter reports one move, when the user lets go.
    splitter->setOpaqueResize(false);
    connect(splitter, &QSplitter::splitterMoved, this, &WorkListPage::listWidthChanged);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(buildFilters());
    layout->addWidget(splitter, 1);
    buildMenu();
}

QWidget *WorkListPage::buildFilters()
{
    cmbClass->addItems({tr("普通"), tr("紧急"), tr("全部")});
    cmbClass->setCurrentIndex(2);
    cmbWorkType->setMinimumContentsLength(8);
    cmbWorkType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    sbEditWorkType->setText(QStringLiteral("…"));
    sbEditWorkType->setToolTip(tr("调整事务类型信息"));
    sbAllRunStu->setText(tr("全部"));
    sbAllRunStu->setToolTip(tr("选择全部处理状态"));
    chkStuNoDeal->setChecked(true);
    chkStuNowDeal->setChecked(true);

    auto *bar = new QWidget;
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(tr("事务类型")));
    row->addWidget(cmbWorkType);
    row->addWidget(sbEditWorkType);
    row->addSpacing(12);
    row->addWidget(new QLabel(tr("优先级")));
    row->addWidget(cmbClass);
    row->addSpacing(12);
    row->addWidget(new QLabel(tr("处理状态")));
    for (QCheckBox *box : stateBoxes()) {
        box->setToolTip(tr("按下Ctrl点鼠标可进行排它性选择"));
        box->installEventFilter(this);
        row->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this, box] { stateBoxClicked(box); });
    }
    row->addWidget(sbAllRunStu);
    row->addStretch(1);

    connect(cmbWorkType, &QComboBox::activated, this, &WorkListPage::ReadyWork);
    connect(cmbClass, &QComboBox::activated, this, &WorkListPage::ReadyWork);
    connect(sbAllRunStu, &QToolButton::clicked, this, &WorkListPage::sbAllRunStuClick);
    connect(sbEditWorkType, &QToolButton::clicked, this, [this] {
        ShowWorkTypes();
        fillWorkTypes();
    });
    return bar;
}

QWidget *WorkListPage::buildDocumentPane()
{
    auto *pane = new QGroupBox(tr("事务详细内容"));
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(editor);
    connect(&m_work, &Recordset::currentChanged, this, [this] {
        if (m_pageShown)
            loadCurrentDocument();
    });
    connect(editor, &RichTextEditor::editorExited, this, &WorkListPage::SaveDoc);
    connect(editor, &RichTextEditor::saveRequested, this, &WorkListPage::SaveDoc);
    return pane;
}

QWidget *WorkListPage::buildListPane()
{
    DBGridEh1->setColumns(workColumns());
    DBGridEh1->view()->setToolTip(tr("鼠标双击编辑事务属性和内容"));
    DBGridEh1->setColorizer([this](int row, int) {
        const Recordset &rs = m_work;
        const int state = rs.valueAt(row, rs.fieldIndex(QStringLiteral("FinStu"))).toInt();
        const bool urgent = rs.valueAt(row, rs.fieldIndex(QStringLiteral("ZY"))).toInt() == 1;
        const QColor text = m_stateColors[size_t(state >= 1 && state <= 3 ? state - 1 : 3)];
        return RecordsetModel::CellColors{text, urgent ? kUrgentBackground : QColor()};
    });
    connect(DBGridEh1, &DataGrid::titleClicked, this, [this] { m_work.first(); });
    connect(DBGridEh1, &DataGrid::pressed, this, &WorkListPage::listPressed);
    connect(DBGridEh1, &DataGrid::contextMenuRequested, this, [this](const QPoint &at) { PopupMenu1->popup(at); });
    connect(cmdAddWork, &QPushButton::clicked, this, &WorkListPage::cmdAddWorkClick);
    connect(cmdEditWork, &QPushButton::clicked, this, &WorkListPage::cmdEditWorkClick);
    connect(DBGridEh1, &DataGrid::rowActivated, this, &WorkListPage::cmdEditWorkClick);
    connect(cmdDeleteWork, &QPushButton::clicked, this, &WorkListPage::cmdDeleteWorkClick);

    auto *pane = new QWidget;
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(DBGridEh1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdAddWork);
    buttons->addWidget(cmdEditWork);
    buttons->addWidget(cmdDeleteWork);
    layout->addLayout(buttons);
    return pane;
}

void WorkListPage::buildMenu()
{
    const QStringList states{tr("-->未处理"), tr("-->正在处理"), tr("-->已完成"), tr("-->已废弃")};
    for (int state = 1; state <= 4; ++state)
        PopupMenu1->addAction(states.at(state - 1), this, [this, state] { mnuNoDealClick(state); });
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(tr("-->普通"), this, [this] { N17Click(0); });
    PopupMenu1->addAction(tr("-->紧急"), this, [this] { N17Click(1); });
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(tr("打印"), this, [this] { ShowPrintPreview(tr("事务档案"), *DBGridEh1); });
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(tr("发送到Excel"), this, [this] { SendGridToExcel(tr("事务档案"), *DBGridEh1); });
}

QList<QCheckBox *> WorkListPage::stateBoxes() const
{
    return {chkStuNoDeal, chkStuNowDeal, chkStuFin, chkStuWaste};
}

void WorkListPage::fillWorkTypes()
{
    QStringList types{tr("全部")};
    appendWorkTypeTitles(types);
    cmbWorkType->clear();
    cmbWorkType->addItems(types);
    cmbWorkType->setCurrentIndex(0);
}

WorkFilter WorkListPage::filter() const
{
    WorkFilter filter;
    if (cmbWorkType->currentIndex() > 0)
        filter.workType = cmbWorkType->currentText();
    if (cmbClass->currentIndex() != 2)
        filter.priority = cmbClass->currentIndex();
    const QList<QCheckBox *> boxes = stateBoxes();
    for (int i = 0; i < 4; ++i)
        filter.states[size_t(i)] = boxes.at(i)->isChecked();
    return filter;
}

bool WorkListPage::ReadyWork()
{
    SaveDoc(); // the reload replaces the body: typing not yet stored goes first
    const WorkListQuery query = buildWorkListQuery(filter());
    const bool opened = m_work.open(query.sql, query.params);
    if (m_work.isEmpty()) {
        editor->clear();
        editor->document()->setModified(false);
        m_owner = -1;
    }
    m_reminders = loadReminderCache(TDM::instance());
    return opened;
}

void WorkListPage::loadCurrentDocument()
{
    // Whatever moved the row (a reload, a key in the list, a button that keeps the focus
    // away from the body), the body shown is stored before another replaces it.
    SaveDoc();
    editor->clear();
    if (m_work.position() < 0 || m_work.state() == Recordset::State::Insert) {
        m_owner = -1;
        return;
    }
    m_owner = m_work.integer(QStringLiteral("ID"));
    workbody::load(TDM::instance(), m_owner, *editor->document());
    editor->document()->setModified(false);
}

void WorkListPage::setPageShown(bool shown)
{
    m_pageShown = shown;
    if (shown)
        loadCurrentDocument();
}

void WorkListPage::SaveDoc()
{
    // An unchanged document is not written back: the item may have been changed meanwhile
    // in its editor window (opened from a reminder), and this copy would overwrite that.
    if (m_owner < 0 || !editor->document()->isModified())
        return;
    switch (workbody::save(TDM::instance(), m_owner, *editor->document())) {
    case workbody::SaveResult::Saved: editor->document()->setModified(false); break;
    case workbody::SaveResult::NotStored:
        platform::prompter().message(tr("存储参数发生错误！"), platform::Prompter::Icon::Error);
        break;
    case workbody::SaveResult::NoRow: break;
    }
}

void WorkListPage::setStateColors(const std::array<QColor, 4> &colors)
{
    m_stateColors = colors;
    DBGridEh1->view()->viewport()->update();
}

int WorkListPage::listWidth() const
{
    return splitter->sizes().value(0);
}

void WorkListPage::setListWidth(int width)
{
    if (width <= 0)
        return;
    const int total = std::max(splitter->width(), width + 200);
    splitter->setSizes({width, total - width});
}

bool WorkListPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && stateBoxes().contains(watched))
        m_ctrlOnRelease = static_cast<QMouseEvent *>(event)->modifiers().testFlag(Qt::ControlModifier);
    return QWidget::eventFilter(watched, event);
}

void WorkListPage::stateBoxClicked(QCheckBox *box)
{
    if (m_ctrlOnRelease) {
        for (QCheckBox *other : stateBoxes())
            other->setChecked(other == box);
    }
    m_ctrlOnRelease = false;
    ReadyWork();
}

void WorkListPage::sbAllRunStuClick()
{
    for (QCheckBox *box : stateBoxes())
        box->setChecked(true);
    ReadyWork();
}

void WorkListPage::mnuNoDealClick(int state)
{
    if (m_work.isEmpty())
        return;
    m_work.set(QStringLiteral("FinStu"), state);
    if (!m_work.post())
        m_work.cancel();
    if ((state == 3 && !chkStuFin->isChecked()) || (state == 4 && !chkStuWaste->isChecked()))
        ReadyWork();
}

void WorkListPage::N17Click(int priority)
{
    if (m_work.isEmpty())
        return;
    m_work.set(QStringLiteral("ZY"), priority);
    if (!m_work.post())
        m_work.cancel();
    if (cmbClass->currentIndex() != 2)
        ReadyWork();
}

void WorkListPage::cmdAddWorkClick()
{
    QString preset;
    if (cmbWorkType->currentIndex() > 0)
        preset = cmbWorkType->currentText();
    else if (!m_work.isEmpty())
        preset = m_work.text(QStringLiteral("WorkType"));
    if (!ShowWorkEditor(-1, preset))
        return;
    ReadyWork();
    m_work.last();
}

void WorkListPage::cmdEditWorkClick()
{
    if (m_work.isEmpty())
        return;
    const qint64 id = m_work.integer(QStringLiteral("ID"));
    SaveDoc(); // the item window reads the stored body: it must not find an older one
    if (!ShowWorkEditor(id, QString()))
        return;
    ReadyWork();
    m_work.locate(id);
}

void WorkListPage::cmdDeleteWorkClick()
{
    if (m_work.isEmpty() || !platform::prompter().confirm(tr("您确认删除选定的数据记录吗？")))
        return;
    if (!m_work.deleteCurrent())
        platform::prompter().message(tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
    ReadyWork();
}
