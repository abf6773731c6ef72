#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "app/MainWindow.h"
#include "widgets/DataGrid.h"
#include "work/StateColorGroup.h"
#include "work/WorkItemEditor.h"
#include "work/WorkListPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

// The work page over a small, known set of work items.
class TestWorkList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void filterSelectsItems_data();
    void filterSelectsItems();
    void startsWithTheInitialFilters();
    void ctrlClickChoosesOneState();
    void allStatesButton();
    void cellsShowTheirDisplayRules();
    void rowsAreColouredByStateAndPriority();
    void titleClickSortsUntilReload();
    void quickStateChange_data();
    void quickStateChange();
    void finishingARepeatingItemListsTheNext_data();
    void finishingARepeatingItemListsTheNext();
    void failedFinishWritesNothing();
    void quickPriorityChange_data();
    void quickPriorityChange();
    void deleteAsksFirst();
    void failedDeleteIsReported();
    void reminderCacheFollowsReload();
    void colourButtonsSaveTheColour();
    void splitterPositionIsSaved();
    void workTypesRefillAfterTheirWindow();
    void addPresetsTheType_data();
    void addPresetsTheType();
    void editReturnsToTheItem();

private:
    QList<int> listedIds();
    int rowOf(int id);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
    WorkListPage *m_page = nullptr;
};

void TestWorkList::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral("Delete from TWork")));
    QVERIFY(dm.execute(QStringLiteral("Delete from TWorkClass")));
    QVERIFY(dm.execute(QStringLiteral(
        "Insert into TWorkClass (Title, OrderIdx) values ('客户', 1), ('客户拜访', 2), ('办公事务', 3), "
        "('O''Neil''s 办公', 4), ('100%_完成', 5)")));
    QVERIFY(dm.execute(QStringLiteral(
        "Insert into TWork (ID, Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, LastUpTime, UseTimeHint, TimeHint, HasHinted) values "
        "(1, '拜访华信', '客户拜访', 1, 0, '2026-12-01 09:00:00', '2026-12-03 18:00:00', '2026-11-30 10:00:00', 1, '2026-12-02 08:30:00', 0), "
        "(2, '回访客户', '客户', 2, 1, NULL, '1899-12-30 00:00:00', '2026-11-30 11:00:00', 0, '1899-12-30 00:00:00', 0), "
        "(3, '整理报表', '办公事务', 3, 0, '2026-11-01 00:00:00', NULL, '2026-11-30 12:00:00', 0, NULL, 0), "
        "(4, '写信', 'O''Neil''s 办公', 4, 1, NULL, NULL, '2026-11-30 13:00:00', 0, NULL, 0), "
        "(5, '冲业绩', '100%_完成', 1, 1, NULL, NULL, '2026-11-30 14:00:00', 1, '2026-12-05 09:00:00', 1), "
        "(6, '月度总结', '办公事务', 1, 0, NULL, NULL, '2026-11-30 15:00:00', 1, '2026-12-01 17:00:00', 0)")));
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1000, 600);
    QVERIFY(m_window->startUp());
    m_page = m_window->m_workPage;
}

void TestWorkList::cleanup()
{
    m_window.reset();
    m_prompter.reset();
    m_folder.reset();
}

QList<int> TestWorkList::listedIds()
{
    QList<int> ids;
    Recordset &rs = m_page->workItems();
    for (int row = 0; row < rs.count(); ++row)
        ids.append(rs.valueAt(row, rs.fieldIndex(QStringLiteral("ID"))).toInt());
    return ids;
}

int TestWorkList::rowOf(int id)
{
    return int(listedIds().indexOf(id));
}

void TestWorkList::filterSelectsItems_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("priority");
    QTest::addColumn<QString>("states"); // FinStu values checked
    QTest::addColumn<QList<int>>("ids");

    QTest::newRow("initial filters") << "" << -1 << "12" << QList<int>{1, 2, 5, 6};
    QTest::newRow("type prefix finds the longer type too") << "客户" << -1 << "1234" << QList<int>{1, 2};
    QTest::newRow("exact longer type") << "客户拜访" << -1 << "1234" << QList<int>{1};
    QTest::newRow("type with quotes") << "O'Neil's 办公" << -1 << "1234" << QList<int>{4};
    QTest::newRow("percent and underscore are literal") << "100%_" << -1 << "1234" << QList<int>{5};
    QTest::newRow("urgent only") << "" << 1 << "1234" << QList<int>{2, 4, 5};
    QTest::newRow("normal finished") << "" << 0 << "3" << QList<int>{3};
    QTest::newRow("no state at all") << "" << -1 << "" << QList<int>{};
}

void TestWorkList::filterSelectsItems()
{
    QFETCH(QString, type);
    QFETCH(int, priority);
    QFETCH(QString, states);
    QFETCH(QList<int>, ids);
    WorkFilter filter;
    filter.workType = type;
    filter.priority = priority;
    for (int state = 1; state <= 4; ++state)
        filter.states[size_t(state - 1)] = states.contains(QString::number(state));

    const WorkListQuery query = buildWorkListQuery(filter);
    Recordset rs(m_folder->database());
    QVERIFY2(rs.open(query.sql, query.params), qPrintable(rs.lastError()));

    QList<int> listed;
    for (; !rs.eof(); rs.next())
        listed.append(int(rs.integer(QStringLiteral("ID"))));
    QCOMPARE(listed, ids);
    if (states.isEmpty())
        QVERIFY(query.sql.endsWith(QLatin1String(" and FinStu=-1 Order by ID")));
}

void TestWorkList::startsWithTheInitialFilters()
{
    QCOMPARE(m_page->m_workTypeCombo->currentIndex(), 0);
    QCOMPARE(m_page->m_workTypeCombo->itemText(0), QStringLiteral("全部"));
    QCOMPARE(m_page->m_workTypeCombo->count(), 6);
    QCOMPARE(m_page->m_priorityCombo->currentText(), QStringLiteral("全部"));
    QVERIFY(m_page->m_pendingCheck->isChecked() && m_page->m_inProgressCheck->isChecked());
    QVERIFY(!m_page->m_doneCheck->isChecked() && !m_page->m_abandonedCheck->isChecked());
    QCOMPARE(listedIds(), (QList<int>{1, 2, 5, 6}));
}

void TestWorkList::ctrlClickChoosesOneState()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    QTest::mouseClick(m_page->m_doneCheck, Qt::LeftButton, Qt::ControlModifier);
    QVERIFY(m_page->m_doneCheck->isChecked());
    QVERIFY(!m_page->m_pendingCheck->isChecked() && !m_page->m_inProgressCheck->isChecked() && !m_page->m_abandonedCheck->isChecked());
    QCOMPARE(listedIds(), QList<int>{3});

    QTest::mouseClick(m_page->m_abandonedCheck, Qt::LeftButton); // a plain click just adds the state
    QCOMPARE(listedIds(), (QList<int>{3, 4}));
    QTest::mouseClick(m_page->m_doneCheck, Qt::LeftButton, Qt::ControlModifier); // already checked: stays, alone
    QCOMPARE(listedIds(), QList<int>{3});
}

void TestWorkList::allStatesButton()
{
    m_page->m_allStatesButton->click();
    QCOMPARE(listedIds(), (QList<int>{1, 2, 3, 4, 5, 6}));
}

void TestWorkList::cellsShowTheirDisplayRules()
{
    m_page->m_allStatesButton->click();
    const DataGrid *grid = m_page->m_workGrid;
    QStringList titles;
    for (const GridColumn &column : grid->columns())
        titles.append(column.title);
    QCOMPARE(titles, (QStringList{"编号", "事务类型", "事务主题", "执行状态", "优先级", "开始时间", "结束时间",
                                  "登记时间", "是否提示", "提示时间"}));
    auto row = [&](int id) {
        QStringList cells;
        for (int c = 0; c < grid->columns().size(); ++c)
            cells.append(grid->cellText(rowOf(id), c));
        return cells.join('|');
    };
    QCOMPARE(row(1), QStringLiteral("1|客户拜访|拜访华信|未处理|普通|2026-12-01|2026-12-03|2026-11-30|提示|26-12-02 08:30"));
    QCOMPARE(row(2), QStringLiteral("2|客户|回访客户|正在处理|紧急|||2026-11-30| |"));
    QCOMPARE(row(4), QStringLiteral("4|O'Neil's 办公|写信|废弃|紧急|||2026-11-30| |"));
}

void TestWorkList::rowsAreColouredByStateAndPriority()
{
    const std::array<QColor, 4> colors{QColor(200, 0, 0), QColor(0, 0, 200), QColor(0, 140, 0), QColor(90, 90, 90)};
    m_page->setStateColors(colors);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTableView *view = m_page->m_workGrid->view();
    m_page->workItems().locate(1); // the urgent item 2 is not the selected row

    const QModelIndex urgent = view->model()->index(rowOf(2), 2);
    QCOMPARE(urgent.data(Qt::ForegroundRole).value<QColor>(), colors[1]);
    const QImage picture = view->viewport()->grab().toImage();
    const QRect cell = view->visualRect(urgent);
    QCOMPARE(QColor(picture.pixel(cell.right() - 2, cell.center().y())), QColor(255, 235, 234));

    const QRect selected = view->visualRect(view->model()->index(rowOf(1), 2));
    QCOMPARE(QColor(picture.pixel(selected.right() - 2, selected.center().y())),
             view->palette().color(QPalette::Active, QPalette::Highlight));
    QCOMPARE(view->model()->index(rowOf(6), 2).data(Qt::BackgroundRole), QVariant()); // normal: no background
}

void TestWorkList::titleClickSortsUntilReload()
{
    m_window->show();
    m_page->workItems().locate(6);
    QHeaderView *header = m_page->m_workGrid->view()->horizontalHeader();

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(2) + 5, 5));

    QCOMPARE(listedIds(), (QList<int>{1, 5, 2, 6})); // 拜访华信 冲业绩 回访客户 月度总结: by pinyin
    QCOMPARE(m_page->m_workGrid->sortColumn(), 2);
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(m_page->workItems().position(), 0);
    m_page->loadList();
    QCOMPARE(listedIds(), (QList<int>{1, 2, 5, 6}));
    QCOMPARE(m_page->m_workGrid->sortColumn(), -1);
}

void TestWorkList::quickStateChange_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("state");
    QTest::addColumn<QList<int>>("listed");

    QTest::newRow("finished while hidden: leaves the list") << 1 << 3 << QList<int>{2, 5, 6};
    QTest::newRow("abandoned while hidden: leaves the list") << 6 << 4 << QList<int>{1, 2, 5};
    QTest::newRow("in progress: stays") << 1 << 2 << QList<int>{1, 2, 5, 6};
}

void TestWorkList::quickStateChange()
{
    QFETCH(int, id);
    QFETCH(int, state);
    QFETCH(QList<int>, listed);
    QVERIFY(m_page->workItems().locate(id));

    m_page->m_listMenu->actions().at(state - 1)->trigger();

    QCOMPARE(listedIds(), listed);
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select FinStu || LastUpTime from TWork where ID=?"), {id}),
             QString::number(state) + QStringLiteral("2026-11-30 ") + (id == 1 ? "10" : "15") + QStringLiteral(":00:00"));
}

void TestWorkList::finishingARepeatingItemListsTheNext_data()
{
    QTest::addColumn<QDateTime>("finishedAt");
    QTest::addColumn<QString>("nextReminder");

    // Item 6 is reminded on 2026-12-01 at 17:00 and has no dates.
    QTest::newRow("on time") << QDateTime(QDate(2026, 12, 2), QTime(10, 0)) << "2027-01-01 17:00:00";
    QTest::newRow("late: past months are skipped") << QDateTime(QDate(2027, 2, 15), QTime(10, 0)) << "2027-03-01 17:00:00";
}

void TestWorkList::finishingARepeatingItemListsTheNext()
{
    QFETCH(QDateTime, finishedAt);
    QFETCH(QString, nextReminder);
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral("Update TWork Set RRule='FREQ=MONTHLY;BYMONTHDAY=1' where ID=6")));
    ManualClock clock(finishedAt);
    QVERIFY(m_page->workItems().locate(6));

    m_page->m_listMenu->actions().at(2)->trigger(); // 已完成

    const int next = dm.queryValue(QStringLiteral("Select max(ID) from TWork")).toInt();
    QVERIFY(next > 6);
    QCOMPARE(listedIds(), (QList<int>{1, 2, 5, next}));
    QCOMPARE(m_page->workItems().integer(QStringLiteral("ID")), next);
    QCOMPARE(dm.queryValue(QStringLiteral("Select Title || '|' || FinStu || '|' || TimeHint || '|' || ifnull(TimeStart, '') "
                                          "from TWork where ID=?"), {next}),
             QStringLiteral("月度总结|1|") + nextReminder + QStringLiteral("|"));
    QCOMPARE(m_page->reminders().constLast().id, next);
    QCOMPARE(m_page->reminders().constLast().time, QDateTime::fromString(nextReminder, QStringLiteral("yyyy-MM-dd HH:mm:ss")));

    // Set back and finished again from the list: no second copy.
    m_page->m_doneCheck->click();
    QVERIFY(m_page->workItems().locate(6));
    m_page->m_listMenu->actions().at(0)->trigger(); // 未处理
    QVERIFY(m_page->workItems().locate(6));
    m_page->m_listMenu->actions().at(2)->trigger();
    QCOMPARE(dm.queryValue(QStringLiteral("Select group_concat(ID) from TWork where Title='月度总结'")), QStringLiteral("6,%1").arg(next));
    QCOMPARE(dm.queryValue(QStringLiteral("Select FinStu from TWork where ID=6")), QStringLiteral("3"));
}

void TestWorkList::failedFinishWritesNothing()
{
    Database &dm = m_folder->database();
    QVERIFY(dm.execute(QStringLiteral("Update TWork Set RRule='FREQ=MONTHLY;BYMONTHDAY=1' where ID=6")));
    QVERIFY(dm.execute(QStringLiteral("Create trigger refuse before insert on TWork begin select raise(abort, 'refused'); end")));
    ManualClock clock(QDateTime(QDate(2026, 12, 2), QTime(10, 0)));
    QVERIFY(m_page->workItems().locate(6));

    m_page->m_listMenu->actions().at(2)->trigger();

    // The state change and the next occurrence go together, or neither.
    QCOMPARE(dm.queryValue(QStringLiteral("Select FinStu from TWork where ID=6")), QStringLiteral("1"));
    QCOMPARE(dm.queryValue(QStringLiteral("Select count(*) from TWork")), QStringLiteral("6"));
    QCOMPARE(listedIds(), (QList<int>{1, 2, 5, 6}));
    QCOMPARE(m_page->workItems().integer(QStringLiteral("FinStu")), 1);
}

void TestWorkList::quickPriorityChange_data()
{
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QList<int>>("listed");

    QTest::newRow("all priorities: stays") << 2 << QList<int>{1, 2, 5, 6};
    QTest::newRow("normal only: reloaded") << 0 << QList<int>{6};
}

void TestWorkList::quickPriorityChange()
{
    QFETCH(int, filterIndex);
    QFETCH(QList<int>, listed);
    m_page->m_priorityCombo->setCurrentIndex(filterIndex);
    m_page->loadList();
    m_page->workItems().locate(1);

    m_page->m_listMenu->actions().at(6)->trigger(); // -->紧急

    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select ZY from TWork where ID=1")), QStringLiteral("1"));
    QCOMPARE(listedIds(), listed);
}

void TestWorkList::deleteAsksFirst()
{
    m_page->workItems().locate(5);
    m_prompter->answerNo();
    m_page->deleteCurrentWorkItem();
    QCOMPARE(listedIds(), (QList<int>{1, 2, 5, 6}));

    m_prompter->answerYes();
    m_page->deleteCurrentWorkItem();

    QCOMPARE(m_prompter->shown(), QStringList(2, QStringLiteral("您确认删除选定的数据记录吗？")));
    QCOMPARE(listedIds(), (QList<int>{1, 2, 6}));
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select count(*) from TWork where ID=5")), QStringLiteral("0"));
}

void TestWorkList::failedDeleteIsReported()
{
    QVERIFY(m_folder->database().execute(QStringLiteral(
        "Create trigger keep before delete on TWork begin select raise(abort, 'kept'); end")));
    m_prompter->answerYes();

    m_page->deleteCurrentWorkItem();

    QCOMPARE(m_prompter->lastShown(), QStringLiteral("删除数据发生错误！"));
    QCOMPARE(listedIds(), (QList<int>{1, 2, 5, 6}));
}

void TestWorkList::reminderCacheFollowsReload()
{
    auto ids = [this] {
        QList<int> ids;
        for (const ReminderEntry &entry : m_page->reminders())
            ids.append(entry.id);
        return ids;
    };
    QCOMPARE(ids(), (QList<int>{1, 6}));
    QCOMPARE(m_page->reminders().first().time, QDateTime(QDate(2026, 12, 2), QTime(8, 30)));

    QVERIFY(m_folder->database().execute(QStringLiteral("Update TWork Set FinStu=2 where ID=6")));
    QCOMPARE(ids(), (QList<int>{1, 6})); // changes elsewhere wait for the next reload
    m_page->loadList();
    QCOMPARE(ids(), QList<int>{1});
}

void TestWorkList::colourButtonsSaveTheColour()
{
    const QColor chosen(12, 34, 56);
    m_prompter->answerColor(chosen);

    m_window->m_stateColorGroup->m_inProgressColorButton->click(); // state 2

    QCOMPARE(m_window->m_stateColorGroup->m_inProgressSampleEdit->palette().color(QPalette::Text), chosen);
    QCOMPARE(m_page->m_workGrid->view()->model()->index(rowOf(2), 0).data(Qt::ForegroundRole).value<QColor>(), chosen);
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select ColorWorkNowDeal from TPara")),
             QString::number(12 + 34 * 256 + 56 * 65536));

    m_prompter->answerCancel();
    m_window->m_stateColorGroup->m_pendingColorButton->click();
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select ColorWorkNoDeal from TPara")), QStringLiteral("255"));
}

void TestWorkList::splitterPositionIsSaved()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QSplitterHandle *handle = m_page->m_splitter->handle(1);
    const QPoint grip = handle->rect().center();

    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip + QPoint(-100, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(-100, 0));

    const int width = m_page->listWidth();
    QVERIFY(width > 0);
    QCOMPARE(m_folder->database().queryValue(QStringLiteral("Select LastDocWidth from TPara")), QString::number(width));
}

void TestWorkList::workTypesRefillAfterTheirWindow()
{
    m_page->m_workTypeCombo->setCurrentIndex(2);
    QTimer::singleShot(0, [this] {
        QVERIFY(m_folder->database().execute(QStringLiteral("Insert into TWorkClass (Title, OrderIdx) values ('新类型', 9)")));
        QWidget *window = QApplication::activeModalWidget();
        QVERIFY(window);
        window->close();
    });

    m_page->m_editTypesButton->click();

    QCOMPARE(m_page->m_workTypeCombo->currentIndex(), 0);
    QCOMPARE(m_page->m_workTypeCombo->itemText(6), QStringLiteral("新类型"));
    QCOMPARE(listedIds(), (QList<int>{1, 2, 5, 6})); // not reloaded
}

void TestWorkList::addPresetsTheType_data()
{
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<bool>("emptyList");
    QTest::addColumn<QString>("preset");

    QTest::newRow("the filtered type") << 3 << false << "办公事务";
    QTest::newRow("the current item's type") << 0 << false << "客户拜访";
    QTest::newRow("empty list, all types: the editor's first") << 0 << true << "客户";
}

void TestWorkList::addPresetsTheType()
{
    QFETCH(int, filterIndex);
    QFETCH(bool, emptyList);
    QFETCH(QString, preset);
    m_page->m_workTypeCombo->setCurrentIndex(filterIndex);
    if (emptyList)
        QVERIFY(m_folder->database().execute(QStringLiteral("Delete from TWork")));
    m_page->loadList();
    QString shown;
    QTimer::singleShot(0, [&] {
        auto *editor = qobject_cast<WorkItemEditor *>(QApplication::activeModalWidget());
        QVERIFY(editor);
        shown = editor->m_typeCombo->currentText();
        editor->m_subjectEdit->setText(QStringLiteral("新加的事务"));
        editor->m_saveButton->click();
    });

    m_page->m_addButton->click();

    QCOMPARE(shown, preset);
    QCOMPARE(m_page->workItems().text(QStringLiteral("Title")), QStringLiteral("新加的事务"));
    QCOMPARE(m_page->workItems().position(), m_page->workItems().count() - 1);
}

void TestWorkList::editReturnsToTheItem()
{
    m_page->m_allStatesButton->click();
    m_page->workItems().locate(3);
    QTimer::singleShot(0, [] {
        auto *editor = qobject_cast<WorkItemEditor *>(QApplication::activeModalWidget());
        QVERIFY(editor);
        editor->m_subjectEdit->setText(QStringLiteral("报表已整理"));
        editor->m_saveButton->click();
    });

    emit m_page->m_workGrid->rowActivated(m_page->workItems().position()); // a double-click on the row

    QCOMPARE(m_page->workItems().integer(QStringLiteral("ID")), 3);
    QCOMPARE(m_page->workItems().text(QStringLiteral("Title")), QStringLiteral("报表已整理"));
}

PANDREL_TEST_MAIN(TestWorkList)
#include "tst_worklist.moc"
