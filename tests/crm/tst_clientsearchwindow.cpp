#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"
#include "Typing.h"

#include "crm/ClientSearchWindow.h"
#include "widgets/DataGrid.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

using Located = QList<QPair<QString, qint64>>;

// The client search window and its two searches over a real database.
class TestClientSearchWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void findsByNameOrCode_data();
    void findsByNameOrCode();
    void emptyTextDoesNothing();
    void findsClientsNotContactedForDays_data();
    void findsClientsNotContactedForDays();
    void daysBoxTakesDigitsUpTo2000();
    void locatesTheCurrentClientOfEitherPage_data();
    void locatesTheCurrentClientOfEitherPage();
    void emptyResultsLocateNothing();
    void windowsWorkIndependently();
    void failingSearchIsReported();
    void windowsCascadeClearOfTheButton();

private:
    Database &database() { return m_folder->database(); }
    // Replaces the clients by these (name, code, category, last contact) rows, IDs 1, 2, 3 …
    void setClients(const QList<QStringList> &clients);
    static QStringList names(const Recordset &results);
    std::unique_ptr<ClientSearchWindow> makeWindow();

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ManualClock> m_clock;
    Located m_located;
};

namespace {

// Today is 2026-12-10.
const QList<QStringList> kClients{
    {"上海华信贸易", "SHHXMY", "00010001", "2026-12-09 23:59:00"}, // yesterday, last minute
    {"苏州恒通电子", "SZHTDZ", "00010002", "2026-12-10 08:00:00"}, // this morning
    {"北京百货_一店", "BJBH1", "00010001", "1899-12-30 00:00:00"},  // never contacted
    {"100%纯棉服饰", "CMFS", "0002", ""},                          // never contacted (NULL)
    {"安徽华联", "AHHL", "0002", "2026-11-01 10:00:00"},
};

} // namespace

void TestClientSearchWindow::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    m_located.clear();
    setClients(kClients);
}

void TestClientSearchWindow::cleanup()
{
    m_clock.reset();
    m_prompter.reset();
    m_folder.reset();
}

void TestClientSearchWindow::setClients(const QList<QStringList> &clients)
{
    QVERIFY(database().execute("Delete from TClient"));
    for (int i = 0; i < clients.size(); ++i) {
        const QStringList &c = clients.at(i);
        QVERIFY(database().execute("Insert into TClient (ID, ClientName, ClientCode, TypeCode, LastLinkTime, Tele) "
                             "values (?, ?, ?, ?, ?, '021-6000')",
                             {i + 1, c.at(0), c.at(1), c.at(2), c.at(3).isEmpty() ? QVariant() : QVariant(c.at(3))}));
    }
}

QStringList TestClientSearchWindow::names(const Recordset &results)
{
    QStringList listed;
    for (int row = 0; row < results.count(); ++row)
        listed.append(results.valueAt(row, results.fieldIndex("ClientName")).toString());
    return listed;
}

std::unique_ptr<ClientSearchWindow> TestClientSearchWindow::makeWindow()
{
    return std::make_unique<ClientSearchWindow>(
        [this](const QString &typeCode, qint64 id) { m_located.append({typeCode, id}); });
}

void TestClientSearchWindow::findsByNameOrCode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");

    QTest::newRow("part of names, in pinyin order") << "华" << QStringList{"安徽华联", "上海华信贸易"};
    QTest::newRow("only the short code matches") << "SZHT" << QStringList{"苏州恒通电子"};
    QTest::newRow("letter case aside") << "shhx" << QStringList{"上海华信贸易"};
    QTest::newRow("percent sign is literal") << "%" << QStringList{"100%纯棉服饰"};
    QTest::newRow("underscore is literal") << "_" << QStringList{"北京百货_一店"};
    QTest::newRow("quote is literal") << "华'" << QStringList{};
}

void TestClientSearchWindow::findsByNameOrCode()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    auto window = makeWindow();
    commitInput(window->m_nameEdit, text);
    QTest::keyClick(window->m_nameEdit, Qt::Key_Return);
    QCOMPARE(names(window->byName()), found);
    QCOMPARE(window->m_nameResultsGrid->model().rowCount(), found.size());
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestClientSearchWindow::emptyTextDoesNothing()
{
    auto window = makeWindow();
    window->m_nameEdit->setText("华");
    window->m_nameSearchButton->click();
    QCOMPARE(window->byName().count(), 2);
    window->m_nameEdit->clear();
    window->m_nameSearchButton->click();
    QCOMPARE(window->byName().count(), 2);
}

void TestClientSearchWindow::findsClientsNotContactedForDays_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<QStringList>("found");

    QTest::newRow("0 days: everyone contacted before today") << 0 << QStringList{"安徽华联", "上海华信贸易"};
    QTest::newRow("1 day: before yesterday") << 1 << QStringList{"安徽华联"};
    QTest::newRow("39 days: before 11-01") << 39 << QStringList{};
    QTest::newRow("38 days: before 11-02") << 38 << QStringList{"安徽华联"};
    QTest::newRow("2000 days") << 2000 << QStringList{};
}

void TestClientSearchWindow::findsClientsNotContactedForDays()
{
    QFETCH(int, days);
    QFETCH(QStringList, found);
    auto window = makeWindow();
    window->m_daysBox->setValue(days);
    window->m_daysSearchButton->click();
    QCOMPARE(names(window->byDays()), found);
}

void TestClientSearchWindow::daysBoxTakesDigitsUpTo2000()
{
    auto window = makeWindow();
    QCOMPARE(window->m_daysBox->value(), 30);
    window->m_daysBox->selectAll();
    QTest::keyClicks(window->m_daysBox, "-9x99");
    QCOMPARE(window->m_daysBox->value(), 999);
    window->m_daysBox->selectAll();
    QTest::keyClicks(window->m_daysBox, "5000");
    QVERIFY(window->m_daysBox->value() <= 2000);
}

void TestClientSearchWindow::locatesTheCurrentClientOfEitherPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("doubleClick");

    QTest::newRow("by name, button") << 0 << false;
    QTest::newRow("by name, double-click") << 0 << true;
    QTest::newRow("by days, button") << 1 << false;
    QTest::newRow("by days, double-click") << 1 << true;
}

void TestClientSearchWindow::locatesTheCurrentClientOfEitherPage()
{
    QFETCH(int, page);
    QFETCH(bool, doubleClick);
    auto window = makeWindow();
    window->resize(640, 400);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->m_nameEdit->setText("华");
    window->m_nameSearchButton->click();
    window->m_daysBox->setValue(0);
    window->m_daysSearchButton->click();
    window->m_searchTabs->setCurrentIndex(page);

    DataGrid *grid = page == 0 ? window->m_nameResultsGrid : window->m_daysResultsGrid;
    QTableView *view = grid->view();
    const QPoint secondRow = view->visualRect(grid->model().index(1, 2)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, secondRow);
    if (doubleClick)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, secondRow);
    else
        (page == 0 ? window->m_nameLocateButton : window->m_daysLocateButton)->click();

    // 上海华信贸易 is second in both lists.
    QCOMPARE(m_located, (Located{{"00010001", 1}}));
    QVERIFY(window->isVisible());
}

void TestClientSearchWindow::emptyResultsLocateNothing()
{
    auto window = makeWindow();
    window->m_nameEdit->setText("无此客户");
    window->m_nameSearchButton->click();
    window->m_nameLocateButton->click();
    window->m_searchTabs->setCurrentIndex(1);
    window->m_daysLocateButton->click(); // never searched
    QVERIFY(m_located.isEmpty());
}

void TestClientSearchWindow::windowsWorkIndependently()
{
    QWidget owner;
    auto locate = [this](const QString &typeCode, qint64 id) { m_located.append({typeCode, id}); };
    QPointer<ClientSearchWindow> first = openClientSearch(locate, &owner);
    QPointer<ClientSearchWindow> second = openClientSearch(locate, &owner);
    QVERIFY(first && second && first != second);
    QVERIFY(first->isVisible() && second->isVisible());
    QVERIFY(!first->isModal() && !second->isModal());

    first->m_nameEdit->setText("SZHT");
    first->m_nameSearchButton->click();
    second->m_nameEdit->setText("华");
    second->m_nameSearchButton->click();
    QCOMPARE(names(first->byName()), QStringList{"苏州恒通电子"});
    QCOMPARE(names(second->byName()), (QStringList{"安徽华联", "上海华信贸易"}));

    second->m_nameLocateButton->click();
    first->m_nameLocateButton->click();
    QCOMPARE(m_located, (Located{{"0002", 5}, {"00010002", 2}}));

    // Closing one destroys it and leaves the other as it was.
    first->m_nameExitButton->click();
    QTRY_VERIFY(!first);
    QVERIFY(second && second->isVisible());
    QCOMPARE(second->byName().count(), 2);
    second->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(second));
    QTest::keyClick(second, Qt::Key_Escape);
    QTRY_VERIFY(!second);
}

void TestClientSearchWindow::failingSearchIsReported()
{
    auto window = makeWindow();
    window->m_nameEdit->setText("华");
    window->m_nameSearchButton->click();
    window->m_daysSearchButton->click();
    const QStringList byName = names(window->byName());
    const QStringList byDays = names(window->byDays());
    QVERIFY(!byName.isEmpty() && !byDays.isEmpty());

    QVERIFY(database().execute("Drop table TClient"));
    window->m_nameEdit->setText("苏州");
    window->m_nameSearchButton->click();
    window->m_daysSearchButton->click();
    QCOMPARE(m_prompter->shown(), (QStringList{"读取数据库发生错误！", "读取数据库发生错误！"}));
    // The earlier results stay on screen.
    QCOMPARE(names(window->byName()), byName);
    QCOMPARE(names(window->byDays()), byDays);
    QCOMPARE(window->m_nameResultsGrid->model().rowCount(), byName.size());
}

// Each window opens where it is seen: the first clear of the button clicked, the next ones
// stepping down and right; each can be minimised alone.
void TestClientSearchWindow::windowsCascadeClearOfTheButton()
{
    QWidget owner;
    owner.setGeometry(0, 0, 800, 600);
    auto *button = new QPushButton("查找(&F)", &owner);
    button->setGeometry(400, 540, 80, 26);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    const auto locate = [](const QString &, qint64) {};
    QPointer<ClientSearchWindow> first = openClientSearch(locate, &owner, button);
    QPointer<ClientSearchWindow> second = openClientSearch(locate, &owner, button);
    QPointer<ClientSearchWindow> third = openClientSearch(locate, &owner, button);
    const QRect clicked(button->mapToGlobal(QPoint(0, 0)), button->size());
    QVERIFY(!first->frameGeometry().intersects(clicked));
    QCOMPARE(second->pos(), first->pos() + QPoint(24, 24));
    QCOMPARE(third->pos(), second->pos() + QPoint(24, 24));

    QVERIFY(second->windowFlags() & Qt::WindowMinimizeButtonHint);
    second->showMinimized();
    QVERIFY(!owner.isMinimized());
    QVERIFY(first->isVisible() && !first->isMinimized());
    for (ClientSearchWindow *window : {first.data(), second.data(), third.data()})
        window->close();
}

PANDREL_TEST_MAIN(TestClientSearchWindow)
#include "tst_clientsearchwindow.moc"
