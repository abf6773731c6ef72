#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "widgets/DataGrid.h"
#include "work/TfrmWorkClass.h"

#include <QMap>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

// Each case: its own program folder, scripted prompts and a work-type window over it.
class TestWorkClass : public QObject
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
    void showWorkTypesRunsModally();

private:
    TDM &dm() { return m_folder->dm(); }
    // Replaces the types by 甲, 乙, 丙 … with IDs 1, 2, 3 … at these positions.
    void setTypes(const QList<int> &positions);
    QList<int> positionsById();
    QStringList listedTitles() const;
    QString currentTitle() const;
    QPushButton *button(const QString &name) const;

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<TfrmWorkClass> m_window;
};

namespace {

const QStringList typeTitles{"甲", "乙", "丙", "丁"};
const QString deleteQuestion = QStringLiteral("您确认删除选定的数据记录吗？");

} // namespace

void TestWorkClass::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_window = std::make_unique<TfrmWorkClass>();
}

void TestWorkClass::cleanup()
{
    m_window.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestWorkClass::setTypes(const QList<int> &positions)
{
    QVERIFY(dm().execute(QStringLiteral("Delete from TWorkClass")));
    for (int i = 0; i < positions.size(); ++i) {
        QVERIFY(dm().execute(QStringLiteral("Insert into TWorkClass (ID, Title, OrderIdx) values (?, ?, ?)"),
                             {i + 1, typeTitles.at(i), positions.at(i)}));
    }
}

QList<int> TestWorkClass::positionsById()
{
    QStringList stored;
    dm().GetItemsBySQL(QStringLiteral("Select OrderIdx from TWorkClass Order by ID"), stored);
    QList<int> positions;
    for (const QString &position : stored)
        positions.append(position.toInt());
    return positions;
}

QStringList TestWorkClass::listedTitles() const
{
    QStringList titles;
    for (int row = 0; row < m_window->grid->model().rowCount(); ++row)
        titles.append(m_window->grid->cellText(row, 1));
    return titles;
}

QString TestWorkClass::currentTitle() const
{
    return m_window->types().text(QStringLiteral("Title"));
}

QPushButton *TestWorkClass::button(const QString &name) const
{
    const QMap<QString, QPushButton *> buttons{{"add", m_window->cmdAdd},       {"edit", m_window->cmdEdit},
                                               {"delete", m_window->cmdDelete}, {"up", m_window->cmdUp},
                                               {"down", m_window->cmdDown}};
    return buttons.value(name);
}

void TestWorkClass::addTakesNextPosition_data()
{
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<int>("expected");

    QTest::newRow("first type of an empty table") << QList<int>{} << 1;
    QTest::newRow("after the highest position") << QList<int>{2, 1, 3} << 4;
    QTest::newRow("gaps are not filled") << QList<int>{1, 7} << 8;
}

void TestWorkClass::addTakesNextPosition()
{
    QFETCH(QList<int>, positions);
    QFETCH(int, expected);
    setTypes(positions);
    QVERIFY(m_window->ReadyData());

    m_prompter->answerText(QStringLiteral("客户回访"));
    m_window->cmdAdd->click();

    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("请输入新的事务类型：")});
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select OrderIdx from TWorkClass where Title='客户回访'")),
             QString::number(expected));
    // Shown at the end of the list without reloading it, and selected.
    QCOMPARE(listedTitles().size(), positions.size() + 1);
    QCOMPARE(listedTitles().constLast(), QStringLiteral("客户回访"));
    QCOMPARE(m_window->grid->view()->currentIndex().row(), positions.size());
    QCOMPARE(m_window->grid->cellText(positions.size(), 0), QString::number(expected));
}

void TestWorkClass::addWithoutTitleAddsNothing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancel") << true;
    QTest::newRow("empty answer") << false;
}

void TestWorkClass::addWithoutTitleAddsNothing()
{
    QFETCH(bool, cancel);
    QVERIFY(m_window->ReadyData());
    const int before = m_window->types().count();

    cancel ? m_prompter->answerCancel() : m_prompter->answerText(QString());
    m_window->cmdAdd->click();

    QCOMPARE(m_window->types().count(), before);
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select count(*) from TWorkClass")), QString::number(before));
    QCOMPARE(m_prompter->shown().size(), 1); // the input box only
}

void TestWorkClass::titlesAreStoredAsTyped()
{
    setTypes({});
    QVERIFY(m_window->ReadyData());
    const QString added = QStringLiteral("O'Neil's 100% \"急\"_件");
    const QString renamed = QStringLiteral("50%_'回访'");

    m_prompter->answerText(added);
    m_window->cmdAdd->click();
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select Title from TWorkClass")), added);

    m_prompter->answerText(renamed);
    m_window->cmdEdit->click();
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select Title from TWorkClass")), renamed);
    QVERIFY(m_window->ReadyData());
    QCOMPARE(listedTitles(), QStringList{renamed});
}

void TestWorkClass::moveShiftsBothPositions_data()
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

void TestWorkClass::moveShiftsBothPositions()
{
    QFETCH(QList<int>, positions);
    QFETCH(int, row);
    QFETCH(bool, up);
    QFETCH(QList<int>, expected);
    QFETCH(QStringList, listed);
    setTypes(positions);
    QVERIFY(m_window->ReadyData());
    m_window->grid->view()->selectRow(row);
    const QString moved = typeTitles.at(row);
    QCOMPARE(currentTitle(), moved);

    (up ? m_window->cmdUp : m_window->cmdDown)->click();

    QCOMPARE(positionsById(), expected);
    QCOMPARE(listedTitles(), listed);
    QVERIFY(m_prompter->shown().isEmpty());
    if (expected != positions) { // the moved type stays selected where the reload put it
        QCOMPARE(currentTitle(), moved);
        QCOMPARE(m_window->grid->view()->currentIndex().row(), listed.indexOf(moved));
    }
}

void TestWorkClass::renameLeavesWorkItemsAlone_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("double-click") << true;
    QTest::newRow("Enter") << false;
}

void TestWorkClass::renameLeavesWorkItemsAlone()
{
    QFETCH(bool, doubleClick);
    const QString oldTitle = QStringLiteral("办公事务");
    const QString newTitle = QStringLiteral("日常办公");
    const QString itemsWith = QStringLiteral("Select count(*) from TWork where WorkType=?");
    const int items = dm().GetDataBySQL(itemsWith, {oldTitle}).toInt();
    QVERIFY(items > 0);
    QVERIFY(m_window->ReadyData());
    QVERIFY(m_window->types().locate(dm().GetDataBySQL(QStringLiteral("Select ID from TWorkClass where Title=?"),
                                                       {oldTitle}).toLongLong()));

    m_prompter->answerText(newTitle);
    QTableView *view = m_window->grid->view();
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
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select count(*) from TWorkClass where Title=?"), {newTitle}),
             QStringLiteral("1"));
    QCOMPARE(dm().GetDataBySQL(itemsWith, {oldTitle}).toInt(), items);
    QCOMPARE(dm().GetDataBySQL(itemsWith, {newTitle}).toInt(), 0);
}

void TestWorkClass::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("yes") << true << QStringList{"甲", "丙"};
    QTest::newRow("no") << false << QStringList{"甲", "乙", "丙"};
}

void TestWorkClass::deleteAsksFirst()
{
    QFETCH(bool, yes);
    QFETCH(QStringList, remaining);
    setTypes({1, 2, 3});
    QVERIFY(m_window->ReadyData());
    QVERIFY(m_window->types().moveTo(1));

    yes ? m_prompter->answerYes() : m_prompter->answerNo();
    m_window->cmdDelete->click();

    QCOMPARE(m_prompter->shown(), QStringList{deleteQuestion});
    QStringList stored;
    dm().GetItemsBySQL(QStringLiteral("Select Title from TWorkClass Order by ID"), stored);
    QCOMPARE(stored, remaining);
    QCOMPARE(listedTitles(), remaining);
}

void TestWorkClass::emptyListHasNothingToChange()
{
    setTypes({});
    QVERIFY(m_window->ReadyData());

    for (QPushButton *pressed : {m_window->cmdEdit, m_window->cmdUp, m_window->cmdDown})
        pressed->click();
    QVERIFY(m_prompter->shown().isEmpty());

    m_prompter->answerYes();
    m_window->cmdDelete->click();
    QCOMPARE(m_prompter->shown(), (QStringList{deleteQuestion, QStringLiteral("删除数据发生错误！")}));
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select count(*) from TWorkClass")), QStringLiteral("0"));
}

void TestWorkClass::readFailureIsReported()
{
    QVERIFY(dm().execute(QStringLiteral("Drop table TWorkClass")));

    QVERIFY(!m_window->ReadyData());

    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("读取事务分类数据发生错误！")});
    bool windowShown = false;
    QTimer::singleShot(0, this, [&] {
        if (QWidget *window = QApplication::activeModalWidget()) {
            windowShown = true;
            window->close();
        }
    });
    ShowWorkTypes(); // the message, and no window after it
    QTest::qWait(20); // the check runs here, not in the next case
    QVERIFY(!windowShown);
}

void TestWorkClass::writeFailureKeepsTheList_data()
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

void TestWorkClass::writeFailureKeepsTheList()
{
    QFETCH(QString, action);
    QFETCH(QString, message);
    setTypes({1, 2, 3});
    for (const char *statement : {"Insert", "Update", "Delete"}) {
        QVERIFY(dm().execute(QStringLiteral("Create trigger Refuse%1 before %1 on TWorkClass "
                                            "begin select raise(abort, 'read only'); end")
                                 .arg(QLatin1String(statement))));
    }
    QVERIFY(m_window->ReadyData());
    QVERIFY(m_window->types().moveTo(1));

    action == "delete" ? m_prompter->answerYes() : m_prompter->answerText(QStringLiteral("新名称"));
    button(action)->click();

    QCOMPARE(m_prompter->lastShown(), message);
    QCOMPARE(listedTitles(), (QStringList{"甲", "乙", "丙"}));
    QCOMPARE(positionsById(), (QList<int>{1, 2, 3}));
}

void TestWorkClass::showWorkTypesRunsModally()
{
    setTypes({1, 2});
    int listed = -1;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (auto *window = qobject_cast<TfrmWorkClass *>(QApplication::activeModalWidget())) {
            closer.stop();
            listed = window->types().count();
            QTest::keyClick(window, Qt::Key_Escape);
        }
    });
    closer.start(10);

    ShowWorkTypes();

    QCOMPARE(listed, 2);
}

PANDREL_TEST_MAIN(TestWorkClass)
#include "tst_workclass.moc"
