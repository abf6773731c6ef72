#include "work/WorkListPage.h"

#include "data/Database.h"
#include "data/SyncBodyBackups.h"
#include "output/GridExport.h"
#include "output/ListPreviewDialog.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "widgets/DataGrid.h"
#include "document/RichTextEditor.h"
#include "work/WorkBody.h"
#include "work/WorkChartPanel.h"
#include "work/WorkCalendarCommands.h"
#include "work/RepeatRuleItems.h"
#include "work/WorkItemEditor.h"
#include "work/WorkTypesDialog.h"

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
    , m_workTypeCombo(new QComboBox)
    , m_editTypesButton(new QToolButton)
    , m_priorityCombo(new QComboBox)
    , m_pendingCheck(new QCheckBox(tr("未处理")))
    , m_inProgressCheck(new QCheckBox(tr("正在处理")))
    , m_doneCheck(new QCheckBox(tr("已完成")))
    , m_abandonedCheck(new QCheckBox(tr("已废弃")))
    , m_allStatesButton(new QToolButton)
    , m_workGrid(new DataGrid(m_work))
    , m_addButton(new QPushButton(tr("添加事务(&A)")))
    , m_editButton(new QPushButton(tr("编辑事务(&E)")))
    , m_deleteButton(new QPushButton(tr("删除事务(&D)")))
    , m_listMenu(new QMenu(this))
    , m_splitter(new QSplitter(Qt::Horizontal))
    , m_documentEditor(new RichTextEditor(RichTextEditor::Variant::MainWindow))
    , m_chartToggle(new QToolButton)
{
    m_stateColors.fill(palette().color(QPalette::Text));
    m_splitter->addWidget(buildListPane());
    m_splitter->addWidget(buildDocumentPane());
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    // Without live resizing the splitter reports one move, when the user lets go.
    m_splitter->setOpaqueResize(false);
    connect(m_splitter, &QSplitter::splitterMoved, this, &WorkListPage::listWidthChanged);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(buildFilters());
    layout->addWidget(m_splitter, 1);
    buildMenu();
}

QWidget *WorkListPage::buildFilters()
{
    m_priorityCombo->addItems({tr("普通"), tr("紧急"), tr("全部")});
    m_priorityCombo->setCurrentIndex(2);
    m_workTypeCombo->setMinimumContentsLength(8);
    m_workTypeCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_editTypesButton->setText(QStringLiteral("…"));
    m_editTypesButton->setToolTip(tr("调整事务类型信息"));
    m_allStatesButton->setText(tr("全部"));
    m_allStatesButton->setToolTip(tr("选择全部处理状态"));
    m_pendingCheck->setChecked(true);
    m_inProgressCheck->setChecked(true);

    auto *bar = new QWidget;
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(tr("事务类型")));
    row->addWidget(m_workTypeCombo);
    row->addWidget(m_editTypesButton);
    row->addSpacing(12);
    row->addWidget(new QLabel(tr("优先级")));
    row->addWidget(m_priorityCombo);
    row->addSpacing(12);
    row->addWidget(new QLabel(tr("处理状态")));
    for (QCheckBox *box : stateBoxes()) {
        box->setToolTip(tr("按下Ctrl点鼠标可进行排它性选择"));
        box->installEventFilter(this);
        row->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this, box] { stateBoxClicked(box); });
    }
    row->addWidget(m_allStatesButton);
    row->addStretch(1);
    m_chartToggle->setText(tr("图表"));
    m_chartToggle->setToolTip(tr("在事务列表下方显示图表"));
    m_chartToggle->setCheckable(true);
    m_chartToggle->setAutoRaise(true);
    row->addWidget(m_chartToggle);
    connect(m_chartToggle, &QToolButton::toggled, this, &WorkListPage::showWorkChart);

    connect(m_workTypeCombo, &QComboBox::activated, this, &WorkListPage::loadList);
    connect(m_priorityCombo, &QComboBox::activated, this, &WorkListPage::loadList);
    connect(m_allStatesButton, &QToolButton::clicked, this, &WorkListPage::selectAllStates);
    connect(m_editTypesButton, &QToolButton::clicked, this, [this] {
        editWorkTypes();
        fillWorkTypes();
    });
    return bar;
}

QWidget *WorkListPage::buildDocumentPane()
{
    auto *pane = new QGroupBox(tr("事务详细内容"));
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_documentEditor);
    connect(&m_work, &Recordset::currentChanged, this, [this] {
        if (m_pageShown)
            loadCurrentDocument();
    });
    connect(m_documentEditor, &RichTextEditor::editorExited, this, &WorkListPage::saveCurrentDocument);
    connect(m_documentEditor, &RichTextEditor::saveRequested, this, &WorkListPage::saveCurrentDocument);
    return pane;
}

QWidget *WorkListPage::buildListPane()
{
    m_workGrid->setColumns(workColumns());
    m_workGrid->view()->setToolTip(tr("鼠标双击编辑事务属性和内容"));
    m_workGrid->setColorizer([this](int row, int) {
        const Recordset &rs = m_work;
        const int state = rs.valueAt(row, rs.fieldIndex(QStringLiteral("FinStu"))).toInt();
        const bool urgent = rs.valueAt(row, rs.fieldIndex(QStringLiteral("ZY"))).toInt() == 1;
        const QColor text = m_stateColors[size_t(state >= 1 && state <= 3 ? state - 1 : 3)];
        return RecordsetModel::CellColors{text, urgent ? kUrgentBackground : QColor()};
    });
    connect(m_workGrid, &DataGrid::titleClicked, this, [this] { m_work.first(); });
    connect(m_workGrid, &DataGrid::pressed, this, &WorkListPage::listPressed);
    connect(m_workGrid, &DataGrid::contextMenuRequested, this, [this](const QPoint &at) { m_listMenu->popup(at); });
    connect(m_addButton, &QPushButton::clicked, this, &WorkListPage::addWorkItem);
    connect(m_editButton, &QPushButton::clicked, this, &WorkListPage::editCurrentWorkItem);
    connect(m_workGrid, &DataGrid::rowActivated, this, &WorkListPage::editCurrentWorkItem);
    connect(m_deleteButton, &QPushButton::clicked, this, &WorkListPage::deleteCurrentWorkItem);

    auto *pane = new QWidget;
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_workGrid, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_editButton);
    buttons->addWidget(m_deleteButton);
    layout->addLayout(buttons);
    return pane;
}

void WorkListPage::buildMenu()
{
    const QStringList states{tr("-->未处理"), tr("-->正在处理"), tr("-->已完成"), tr("-->已废弃")};
    for (int state = 1; state <= 4; ++state)
        m_listMenu->addAction(states.at(state - 1), this, [this, state] { changeItemState(state); });
    m_listMenu->addSeparator();
    m_listMenu->addAction(tr("-->普通"), this, [this] { changeItemPriority(0); });
    m_listMenu->addAction(tr("-->紧急"), this, [this] { changeItemPriority(1); });
    m_listMenu->addSeparator();
    QAction *restoreBody = m_listMenu->addAction(tr("恢复同步前的正文"), this, &WorkListPage::restoreBodyBeforeSync);
    connect(m_listMenu, &QMenu::aboutToShow, restoreBody, [this, restoreBody] {
        restoreBody->setEnabled(!m_work.isEmpty() && hasBodyBackup(Database::instance(), m_work.integer(QStringLiteral("ID"))));
    });
    m_listMenu->addSeparator();
    // Before the list's own print and export, which end every list's menu.
    m_listMenu->addAction(tr("导出到日历文件…"), this, &WorkListPage::exportToCalendar);
    m_listMenu->addAction(tr("从日历文件导入…"), this, &WorkListPage::importFromCalendar);
    m_listMenu->addSeparator();
    m_listMenu->addAction(tr("打印"), this, [this] { previewList(tr("事务档案"), *m_workGrid); });
    m_listMenu->addSeparator();
    m_listMenu->addAction(tr("发送到Excel"), this, [this] { exportGridToSpreadsheet(tr("事务档案"), *m_workGrid); });
}

QList<QCheckBox *> WorkListPage::stateBoxes() const
{
    return {m_pendingCheck, m_inProgressCheck, m_doneCheck, m_abandonedCheck};
}

void WorkListPage::fillWorkTypes()
{
    QStringList types{tr("全部")};
    appendWorkTypeTitles(types);
    m_workTypeCombo->clear();
    m_workTypeCombo->addItems(types);
    m_workTypeCombo->setCurrentIndex(0);
}

WorkFilter WorkListPage::filter() const
{
    WorkFilter filter;
    if (m_workTypeCombo->currentIndex() > 0)
        filter.workType = m_workTypeCombo->currentText();
    if (m_priorityCombo->currentIndex() != 2)
        filter.priority = m_priorityCombo->currentIndex();
    const QList<QCheckBox *> boxes = stateBoxes();
    for (int i = 0; i < 4; ++i)
        filter.states[size_t(i)] = boxes.at(i)->isChecked();
    return filter;
}

bool WorkListPage::loadList()
{
    saveCurrentDocument(); // the reload replaces the body: typing not yet stored goes first
    const WorkListQuery query = buildWorkListQuery(filter());
    const bool opened = m_work.open(query.sql, query.params);
    if (m_work.isEmpty()) {
        m_documentEditor->clear();
        m_documentEditor->document()->setModified(false);
        m_owner = -1;
    }
    m_reminders = loadReminderCache(Database::instance());
    return opened;
}

void WorkListPage::loadCurrentDocument()
{
    // Whatever moved the row (a reload, a key in the list, a button that keeps the focus
    // away from the body), the body shown is stored before another replaces it.
    saveCurrentDocument();
    m_documentEditor->clear();
    if (m_work.position() < 0 || m_work.state() == Recordset::State::Insert) {
        m_owner = -1;
        return;
    }
    m_owner = m_work.integer(QStringLiteral("ID"));
    workbody::load(Database::instance(), m_owner, *m_documentEditor->document());
    m_documentEditor->document()->setModified(false);
}

void WorkListPage::setPageShown(bool shown)
{
    m_pageShown = shown;
    if (shown)
        loadCurrentDocument();
}

void WorkListPage::saveCurrentDocument()
{
    // An unchanged document is not written back: the item may have been changed meanwhile
    // in its editor window (opened from a reminder), and this copy would overwrite that.
    if (m_owner < 0 || !m_documentEditor->document()->isModified())
        return;
    switch (workbody::save(Database::instance(), m_owner, *m_documentEditor->document())) {
    case workbody::SaveResult::Saved: m_documentEditor->document()->setModified(false); break;
    case workbody::SaveResult::NotStored:
        platform::prompter().message(tr("存储参数发生错误！"), platform::Prompter::Icon::Error);
        break;
    case workbody::SaveResult::NoRow: break;
    }
}

void WorkListPage::setStateColors(const std::array<QColor, 4> &colors)
{
    m_stateColors = colors;
    m_workGrid->view()->viewport()->update();
}

int WorkListPage::listWidth() const
{
    return m_splitter->sizes().value(0);
}

void WorkListPage::setListWidth(int width)
{
    if (width <= 0)
        return;
    const int total = std::max(m_splitter->width(), width + 200);
    m_splitter->setSizes({width, total - width});
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
    loadList();
}

void WorkListPage::selectAllStates()
{
    for (QCheckBox *box : stateBoxes())
        box->setChecked(true);
    loadList();
}

void WorkListPage::changeItemState(int state)
{
    if (m_work.isEmpty())
        return;
    const qint64 id = m_work.integer(QStringLiteral("ID"));
    m_work.set(QStringLiteral("FinStu"), state);
    // Finishing a repeating item also stores its next occurrence.
    const StoredWorkItem stored = postWorkItem(Database::instance(), m_work, platform::clock().now());
    if (!stored.stored)
        m_work.cancel();
    if (!stored.problem.isEmpty())
        platform::prompter().message(stored.problem, platform::Prompter::Icon::Warning);
    if (stored.nextId >= 0) {
        loadList();
        if (!m_work.locate(id))
            m_work.locate(stored.nextId);
    } else if ((state == 3 && !m_doneCheck->isChecked()) || (state == 4 && !m_abandonedCheck->isChecked())) {
        loadList();
    }
}

void WorkListPage::restoreBodyBeforeSync()
{
    if (m_work.isEmpty())
        return;
    saveCurrentDocument();
    const qint64 id = m_work.integer(QStringLiteral("ID"));
    if (!platform::prompter().confirm(tr("用同步前保存的正文替换当前正文吗？\r当前正文也会保存，可以再次恢复。")))
        return;
    if (!restoreBodyBackup(Database::instance(), id, platform::clock().now()))
        platform::prompter().message(tr("恢复正文发生错误！"), platform::Prompter::Icon::Error);
    loadList();
    m_work.locate(id);
}

void WorkListPage::changeItemPriority(int priority)
{
    if (m_work.isEmpty())
        return;
    m_work.set(QStringLiteral("ZY"), priority);
    if (!m_work.post())
        m_work.cancel();
    if (m_priorityCombo->currentIndex() != 2)
        loadList();
}

void WorkListPage::addWorkItem()
{
    QString preset;
    if (m_workTypeCombo->currentIndex() > 0)
        preset = m_workTypeCombo->currentText();
    else if (!m_work.isEmpty())
        preset = m_work.text(QStringLiteral("WorkType"));
    if (!editWorkItem(-1, preset))
        return;
    loadList();
    m_work.last();
}

void WorkListPage::editCurrentWorkItem()
{
    if (!m_work.isEmpty())
        editWorkItemOf(m_work.integer(QStringLiteral("ID")));
}

void WorkListPage::editWorkItemOf(qint64 id)
{
    saveCurrentDocument(); // the item window reads the stored body: it must not find an older one
    if (!editWorkItem(id, QString()))
        return;
    loadList();
    m_work.locate(id);
}

void WorkListPage::deleteCurrentWorkItem()
{
    if (m_work.isEmpty() || !platform::prompter().confirm(tr("您确认删除选定的数据记录吗？")))
        return;
    if (!m_work.deleteCurrent())
        platform::prompter().message(tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
    loadList();
}

void WorkListPage::exportToCalendar()
{
    // The list shows one selected row at a time, so what it lists is what goes out.
    saveCurrentDocument();
    QList<qint64> ids;
    const int idColumn = m_work.fieldIndex(QStringLiteral("ID"));
    for (int row = 0; row < m_work.count(); ++row)
        ids.append(m_work.valueAt(row, idColumn).toLongLong());
    workcalendar::exportWorkItems(Database::instance(), ids);
}

void WorkListPage::importFromCalendar()
{
    saveCurrentDocument();
    if (workcalendar::importWorkItems(Database::instance()))
        loadList();
}

void WorkListPage::showWorkChart(bool shown)
{
    if (shown && !m_workChart) {
        m_workChart = new WorkChartPanel;
        // Under the list and the document, where the bars have the page's width.
        static_cast<QBoxLayout *>(layout())->addWidget(m_workChart, 1);
        const auto follow = [this] { m_workChart->setFilter(filter()); };
        connect(&m_work, &Recordset::reset, m_workChart, follow);
        connect(&m_work, &Recordset::rowChanged, m_workChart, follow);
        connect(&m_work, &Recordset::rowRemoved, m_workChart, follow);
        follow();
    }
    if (m_workChart)
        m_workChart->setVisible(shown);
}
