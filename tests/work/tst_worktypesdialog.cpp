#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "widgets/DataGrid.h"
#include "work/WorkTypesDialog.h"

#include <QMap>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

// Each case: its own program folder, scripted prompts and a work-type window over it.
class TestWorkTypesDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void addTakesNextPosition_data();
    void addTakesNextPosition();
    void addWithoutTitleAddsNothing_data();
    void addWithoutTitleAddsNothing();
    void titlesAreStoredAsTyped();
    void moveShiftsBothPositions_data();
    void moveShiftsBothPositions();
    void renameLeavesWorkItemsAlone_data();
    void renameLeavesWorkItemsAlone();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void emptyListHasNothingToChange();
    void readFailureIsReported();
    void writeFailureKeepsTheList_data();
    void writeFailureKeepsTheList();
    void editWorkTypesRunsModally();

private:
    Database &dm() { return m_folder->database(); }
    // Replaces the types by 甲, 乙, 丙 … with IDs 1, 2, 3 … at these positions.
    void setTypes(const QList<int> &positions);
    QList<int> positionsById();
    QStringList listedTitles() const;
    QString currentTitle() const;
    QPushButton *button(const QString &name) const;

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<WorkTypesDialog> m_window;
};

namespace {

const QStringList typeTitles{"甲", "乙", "丙", "丁"};
const QString deleteQuestion = QStringLiteral("您确认删除选定的数据记录吗？");

} // namespace

void TestWorkTypesDialog::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_window = std::make_unique<WorkTypesDialog>();
}

void TestWorkTypesDialog::cleanup()
{
    m_window.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestWorkTypesDialog::setTypes(const QList<int> &positions)
{
    QVERIFY(dm().execute(QStringLiteral("Delete from TWorkClass")));
    for (int i = 0; i < positions.size(); ++i) {
        QVERIFY(dm().execute(QStringLiteral("Insert into TWorkClass (ID, Title, OrderIdx) values (?, ?, ?)"),
                             {i + 1, typeTitles.at(i), positions.at(i)}));
    }
}

QList<int> TestWorkTypesDialog::positionsById()
{
    QStringList stored;
    dm().queryColumn(QStringLiteral("Select OrderIdx from TWorkClass Order by ID"), stored);
    QList<int> positions;
    for (const QString &position : stored)
        positions.append(position.toInt());
    return positions;
}

QStringList TestWorkTypesDialog::listedTitles() const
{
    QStringList titles;
    for (int row = 0; row < m_window->m_typeGrid->model().rowCount(); ++row)
        titles.append(m_window->m_typeGrid->cellText(row, 1));
    return titles;
}

QString TestWorkTypesDialog::currentTitle() const
{
    return m_window->types().text(QStringLiteral("Title"));
}

QPushButton *TestWorkTypesDialog::button(const QString &name) const
{
    const QMap<QString, QPushButton *> buttons{{"add", m_window->m_addButton},       {"edit", m_window->m_renameButton},
                                               {"delete", m_window->m_deleteButton}, {"up", m_window->m_moveUpButton},
                                               {"down", m_window->m_moveDownButton}};
    return buttons.value(name);
}

void TestWorkTypesDialog::addTakesNextPosition_data()
{
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<int>("expected");

    QTest::newRow("first type of an empty table") << QList<int>{} << 1;
    QTest::newRow("after the highest position") << QList<int>{2, 1, 3} << 4;
    QTest::newRow("gaps are not filled") << QList<int>{1, 7} << 8;
}

void TestWorkTypesDialog::addTakesNextPosition()
{
    QFETCH(QList<int>, positions);
    QFETCH(int, expected);
    setTypes(positions);
    QVERIFY(m_window->loadTypes());

    m_prompter->answerText(QStringLiteral("客户回访"));
    m_window->m_addButton->click();

    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("请输入新的事务类型：")});
    QCOMPARE(dm().queryValue(QStringLiteral("Select OrderIdx from TWorkClass where Title='客户回访'")),
             QString::number(expected));
    // Shown at the end of the list without reloading it, and selected.
    QCOMPARE(listedTitles().size(), positions.size() + 1);
    QCOMPARE(listedTitles().constLast(), QStringLiteral("客户回访"));
    QCOMPARE(m_window->m_typeGrid->view()->currentIndex().row(), positions.size());
    QCOMPARE(m_window->m_typeGrid->cellText(positions.size(), 0), QString::number(expected));
}

void TestWorkTypesDialog::addWithoutTitleAddsNothing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancel") << true;
    QTest::newRow("empty answer") << false;
}

void TestWorkTypesDialog::addWithoutTitleAddsNothing()
{
    QFETCH(bool, cancel);
    QVERIFY(m_window->loadTypes());
    const int before = m_window->types().count();

    cancel ? m_prompter->answerCancel() : m_prompter->answerText(QString());
    m_window->m_addButton->click();

    QCOMPARE(m_window->types().count(), before);
    QCOMPARE(dm().queryValue(QStringLiteral("Select count(*) from TWorkClass")), QString::number(before));
    QCOMPARE(m_prompter->shown().size(), 1); // the input box only
}

void TestWorkTypesDialog::titlesAreStoredAsTyped()
{
    setTypes({});
    QVERIFY(m_window->loadTypes());
    const QString added = QStringLiteral("O'Neil's 100% \"急\"_件");
    const QString renamed = QStringLiteral("50%_'回访'");

    m_prompter->answerText(added);
    m_window->m_addButton->click();
    QCOMPARE(dm().queryValue(QStringLiteral("Select Title from TWorkClass")), added);

    m_prompter->answerText(renamed);
    m_window->m_renameButton->click();
    QCOMPARE(dm().queryValue(QStringLiteral("Select Title from TWorkClass")), renamed);
    QVERIFY(m_window->loadTypes());
    QCOMPARE(listedTitles(), QStringList{renamed});
}

void TestWorkTypesDialog::moveShiftsBothPositions_data()
{
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QList<int>>("expected"); // positions afterwards, by ID
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("third up") << QList<int>{1, 2, 3} << 2 << true << QList<int>{1, 3, 2}
                              << QStringList{"甲", "丙", "乙"};
    QTest::newRow("first down") << QList<int>{1, 2, 3} << 0 << false << QList<int>{2, 1, 3}
                                << QStringList{"乙", "甲", "丙"};
    QTest::newRow("last up over a gap shares a position")
        << QList<int>{1, 2, 4} << 2 << true << QList<int>{1, 3, 3} << QStringList{"甲", "乙", "丙"};
    QTest::newRow("first down over a gap shares a position")
        << QList<int>{1, 3, 4} << 0 << false << QList<int>{2, 2, 4} << QStringList{"甲", "乙", "丙"};
    QTest::newRow("first up") << QList<int>{1, 2, 3} << 0 << true << QList<int>{1, 2, 3}
                              << QStringList{"甲", "乙", "丙"};
    QTest::newRow("last down") << QList<int>{1, 2, 3} << 2 << false << QList<int>{1, 2, 3}
                               << QStringList{"甲", "乙", "丙"};
}

void TestWorkTypesDialog::moveShiftsBothPositions()
{
    QFETCH(QList<int>, positions);
    QFETCH(int, row);
    QFETCH(bool, up);
    QFETCH(QList<int>, expected);
    QFETCH(QStringList, listed);
    setTypes(positions);
    QVERIFY(m_window->loadTypes());
    m_window->m_typeGrid->view()->selectRow(row);
    const QString moved = typeTitles.at(row);
    QCOMPARE(currentTitle(), moved);

    (up ? m_window->m_moveUpButton : m_window->m_moveDownButton)->click();

    QCOMPARE(positionsById(), expected);
    QCOMPARE(listedTitles(), listed);
    QVERIFY(m_prompter->shown().isEmpty());
    if (expected != positions) { // the moved type stays selected where the reload put it
        QCOMPARE(currentTitle(), moved);
        QCOMPARE(m_window->m_typeGrid->view()->currentIndex().row(), listed.indexOf(moved));
    }
}

void TestWorkTypesDialog::renameLeavesWorkItemsAlone_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("double-click") << true;
    QTest::newRow("Enter") << false;
}

void TestWorkTypesDialog::renameLeavesWorkItemsAlone()
{
    QFETCH(bool, doubleClick);
    const QString oldTitle = QStringLiteral("办公事务");
    const QString newTitle = QStringLiteral("日常办公");
    const QString itemsWith = QStringLiteral("Select count(*) from TWork where WorkType=?");
    const int items = dm().queryValue(itemsWith, {oldTitle}).toInt();
    QVERIFY(items > 0);
    QVERIFY(m_window->loadTypes());
    QVERIFY(m_window->types().locate(dm().queryValue(QStringLiteral("Select ID from TWorkClass where Title=?"),
                                                       {oldTitle}).toLongLong()));

    m_prompter->answerText(newTitle);
    QTableView *view = m_window->m_typeGrid->view();
    if (doubleClick) {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        const QRect cell = view->visualRect(view->currentIndex());
        // A widget receives a double-click as a click followed by the double-click event.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    } else {
        QTest::keyClick(view, Qt::Key_Return);
    }

    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("请输入新的事务类型：")});
    QCOMPARE(dm().queryValue(QStringLiteral("Select count(*) from TWorkClass where Title=?"), {newTitle}),
             QStringLiteral("1"));
    QCOMPARE(dm().queryValue(itemsWith, {oldTitle}).toInt(), items);
    QCOMPARE(dm().queryValue(itemsWith, {newTitle}).toInt(), 0);
}

void TestWorkTypesDialog::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("yes") << true << QStringList{"甲", "丙"};
    QTest::newRow("no") << false << QStringList{"甲", "乙", "丙"};
}

void TestWorkTypesDialog::deleteAsksFirst()
{
    QFETCH(bool, yes);
    QFETCH(QStringList, remaining);
    setTypes({1, 2, 3});
    QVERIFY(m_window->loadTypes());
    QVERIFY(m_window->types().moveTo(1));

    yes ? m_prompter->answerYes() : m_prompter->answerNo();
    m_window->m_deleteButton->click();

    QCOMPARE(m_prompter->shown(), QStringList{deleteQuestion});
    QStringList stored;
    dm().queryColumn(QStringLiteral("Select Title from TWorkClass Order by ID"), stored);
    QCOMPARE(stored, remaining);
    QCOMPARE(listedTitles(), remaining);
}

void TestWorkTypesDialog::emptyListHasNothingToChange()
{
    setTypes({});
    QVERIFY(m_window->loadTypes());

    for (QPushButton *pressed : {m_window->m_renameButton, m_window->m_moveUpButton, m_window->m_moveDownButton})
        pressed->click();
    QVERIFY(m_prompter->shown().isEmpty());

    m_prompter->answerYes();
    m_window->m_deleteButton->click();
    QCOMPARE(m_prompter->shown(), (QStringList{deleteQuestion, QStringLiteral("删除数据发生错误！")}));
    QCOMPARE(dm().queryValue(QStringLiteral("Select count(*) from TWorkClass")), QStringLiteral("0"));
}

void TestWorkTypesDialog::readFailureIsReported()
{
    QVERIFY(dm().execute(QStringLiteral("Drop table TWorkClass")));

    QVERIFY(!m_window->loadTypes());

    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("读取事务分类数据发生错误！")});
    bool windowShown = false;
    QTimer::singleShot(0, this, [&] {
        if (QWidget *window = QApplication::activeModalWidget()) {
            windowShown = true;
            window->close();
        }
    });
    editWorkTypes(); // the message, and no window after it
    QTest::qWait(20); // the check runs here, not in the next case
    QVERIFY(!windowShown);
}

void TestWorkTypesDialog::writeFailureKeepsTheList_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("message");

    const QString updateFailed = QStringLiteral("更新数据发生错误！");
    QTest::newRow("add") << "add" << updateFailed;
    QTest::newRow("edit") << "edit" << updateFailed;
    QTest::newRow("up") << "up" << updateFailed;
    QTest::newRow("down") << "down" << updateFailed;
    QTest::newRow("delete") << "delete" << QStringLiteral("删除数据发生错误！");
}

void TestWorkTypesDialog::writeFailureKeepsTheList()
{
    QFETCH(QString, action);
    QFETCH(QString, message);
    setTypes({1, 2, 3});
    for (const char *statement : {"Insert", "Update", "Delete"}) {
        QVERIFY(dm().execute(QStringLiteral("Create trigger Refuse%1 before %1 on TWorkClass "
                                            "begin select raise(abort, 'read only'); end")
                                 .arg(QLatin1String(statement))));
    }
    QVERIFY(m_window->loadTypes());
    QVERIFY(m_window->types().moveTo(1));

    action == "delete" ? m_prompter->answerYes() : m_prompter->answerText(QStringLiteral("新名称"));
    button(action)->click();

    QCOMPARE(m_prompter->lastShown(), message);
    QCOMPARE(listedTitles(), (QStringList{"甲", "乙", "丙"}));
    QCOMPARE(positionsById(), (QList<int>{1, 2, 3}));
}

void TestWorkTypesDialog::editWorkTypesRunsModally()
{
    setTypes({1, 2});
    int listed = -1;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (auto *window = qobject_cast<WorkTypesDialog *>(QApplication::activeModalWidget())) {
            closer.stop();
            listed = window->types().count();
            QTest::keyClick(window, Qt::Key_Escape);
        }
    });
    closer.start(10);

    editWorkTypes();

    QCOMPARE(listed, 2);
}

PANDREL_TEST_MAIN(TestWorkTypesDialog)
#include "tst_worktypesdialog.moc"
