#include "ManualClock.h"
#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "app/MainWindow.h"
#include "crm/CategoryTree.h"
#include "crm/ClientListPage.h"
#include "crm/ClientRecords.h"
#include "crm/ClientEditor.h"
#include "crm/ContactActivityEditor.h"
#include "widgets/DataGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

// Each case: its own program folder with the sample client register, scripted prompts, a
// fixed clock and a client page over them.
class TestClientList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startShowsTheSampleRegister();
    void categoryListsOnlyItsOwnClients_data();
    void categoryListsOnlyItsOwnClients();
    void currentClientLoadsItsDetails();
    void titleSortKeepsDetailsWithTheRow();
    void codesSortAlikeOnLoadAndTitleClick();
    void addAndEditNeedACategory();
    void addClientFilesItUnderTheCategory();
    void editReturnsToTheClient();
    void clickBesideTheTreeNodesKeepsTheListEditable();
    void deleteRemovesExactlyTheClientsRows();
    void deleteFailingMidwayKeepsEverything_data();
    void deleteFailingMidwayKeepsEverything();
    void deleteAnsweredNoKeepsTheClient();
    void detailButtonsNeedAClient();
    void emptyDetailPageHasNothingToChange();
    void newActivityStampsTheClient();
    void editedActivityLeavesTheStamp();
    void deleteContactAsksFirst_data();
    void deleteContactAsksFirst();
    void contactTitlesSortActivitiesDoNot();
    void enterOnTheTreeRenames();
    void unreadableDetailsAreReported();
    void mainWindowLoadsAndReloadsTheTree();

private:
    Database &database() { return m_folder->database(); }
    QList<qint64> listedClients() const;
    QList<qint64> ids(const Recordset &list) const;
    int count(const QString &sql, const QVariantList &params = {});
    void select(const QString &code);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<ClientListPage> m_page;
};

namespace {

const QString kChooseClient = QStringLiteral("请首先选择一个客户！");
const QString kDeleteClient = QStringLiteral("您确认删除选定客户资料吗？客户对应的联系人，联系记录，跟踪记录都将被删除！");

} // namespace

void TestClientList::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(15, 42, 7)));
    m_page = std::make_unique<ClientListPage>();
    QVERIFY(m_page->loadTree());
}

void TestClientList::cleanup()
{
    m_page.reset();
    m_clock.reset();
    m_prompter.reset();
    m_folder.reset();
}

QList<qint64> TestClientList::ids(const Recordset &list) const
{
    QList<qint64> found;
    for (int row = 0; row < list.count(); ++row)
        found.append(list.valueAt(row, list.fieldIndex(QStringLiteral("ID"))).toLongLong());
    return found;
}

QList<qint64> TestClientList::listedClients() const
{
    return ids(m_page->clients());
}

int TestClientList::count(const QString &sql, const QVariantList &params)
{
    return database().queryValue(sql, params).toInt();
}

void TestClientList::select(const QString &code)
{
    QTreeWidgetItem *node = m_page->m_categoryTree->findNode(code);
    QVERIFY(node);
    m_page->m_categoryTree->setCurrentItem(node);
}

void TestClientList::startShowsTheSampleRegister()
{
    QCOMPARE(m_page->m_categoryTree->selectedRecord()->typeCode, QStringLiteral("0004"));
    QCOMPARE(listedClients(), QList<qint64>{10});
    QCOMPARE(ids(m_page->contacts()).size(), 2);
    QCOMPARE(ids(m_page->activities()).size(), 2);
    // Newest first.
    const QList<qint64> contacts = ids(m_page->contacts());
    QVERIFY(contacts.at(0) > contacts.at(1));
    QCOMPARE(m_page->m_clientGrid->cellText(0, 3), QStringLiteral("上海申达实业集团有限公司"));
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestClientList::categoryListsOnlyItsOwnClients_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QList<qint64>>("clients"); // in short-code order
    QTest::newRow("上海客户") << "00010001" << QList<qint64>{2, 1};
    QTest::newRow("root without own clients") << "0001" << QList<qint64>{};
}

void TestClientList::categoryListsOnlyItsOwnClients()
{
    QFETCH(QString, code);
    QFETCH(QList<qint64>, clients);
    select(code);
    QCOMPARE(listedClients(), clients);
    // An empty list closes the details; otherwise they belong to the first client.
    QCOMPARE(m_page->contacts().isOpen(), !clients.isEmpty());
    QCOMPARE(m_page->activities().isOpen(), !clients.isEmpty());
    if (!clients.isEmpty())
        QCOMPARE(m_page->contacts().integer(QStringLiteral("ClientID")), clients.first());
}

void TestClientList::currentClientLoadsItsDetails()
{
    select(QStringLiteral("00030001"));
    QVERIFY(m_page->clients().locate(8));
    QCOMPARE(ids(m_page->contacts()).size(), count(QStringLiteral("Select count(*) from TCLinker where ClientID=8")));
    QCOMPARE(ids(m_page->activities()).size(), count(QStringLiteral("Select count(*) from TCLinkRec where ClientID=8")));
    QCOMPARE(m_page->activities().integer(QStringLiteral("ClientID")), 8);
}

void TestClientList::titleSortKeepsDetailsWithTheRow()
{
    select(QStringLiteral("00010001")); // 2 before 1 by short code
    m_page->m_clientGrid->sortByColumn(3);  // by name: 上海东方 (dong) before 上海华信 (hua)
    QCOMPARE(listedClients(), (QList<qint64>{2, 1}));
    QCOMPARE(m_page->m_clientGrid->sortColumn(), 3);
    m_page->clients().locate(1);
    QCOMPARE(m_page->contacts().integer(QStringLiteral("ClientID")), 1);
    m_page->m_clientGrid->sortByColumn(1); // by last contact: 1 (Nov 5) before 2 (Nov 12)
    QCOMPARE(listedClients(), (QList<qint64>{1, 2}));
    QCOMPARE(m_page->clients().integer(QStringLiteral("ID")), m_page->contacts().integer(QStringLiteral("ClientID")));
}

// Codes in one order whichever way the list was sorted: letter case does not split them.
void TestClientList::codesSortAlikeOnLoadAndTitleClick()
{
    QVERIFY(database().execute(QStringLiteral("Delete from TClient where TypeCode='00010001'")));
    for (const QString code : {"BJ", "abc", "bz", "Ac"})
        QVERIFY(database().execute(QStringLiteral("Insert into TClient (TypeCode, ClientCode, ClientName) values ('00010001', ?, ?)"),
                                   {code, QStringLiteral("客户") + code}));
    select(QStringLiteral("00010001"));
    const auto codes = [this] {
        QStringList listed;
        for (int row = 0; row < m_page->clients().count(); ++row)
            listed.append(m_page->clients().valueAt(row, m_page->clients().fieldIndex(QStringLiteral("ClientCode"))).toString());
        return listed;
    };
    const QStringList expected{"abc", "Ac", "BJ", "bz"};
    QCOMPARE(codes(), expected);
    int codeColumn = 0;
    while (m_page->m_clientGrid->columns().at(codeColumn).field != QStringLiteral("ClientCode"))
        ++codeColumn;
    emit m_page->m_clientGrid->view()->horizontalHeader()->sectionClicked(codeColumn);
    QCOMPARE(m_page->m_clientGrid->sortColumn(), codeColumn);
    QCOMPARE(codes(), expected);
}

void TestClientList::addAndEditNeedACategory()
{
    QVERIFY(database().execute(QStringLiteral("Delete from TClientClass")));
    ClientListPage empty;
    QVERIFY(empty.loadTree());
    empty.m_addClientButton->click();
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("请先选择一个分类！"));
    empty.m_editClientButton->click();
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("请首先建立或者选择一个客户分类！"));

    m_page->m_categoryTree->setCurrentItem(nullptr);
    m_page->m_addClientButton->click();
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("请首先建立或者选择一个客户分类！"));

    select(QStringLiteral("0001"));
    m_page->m_editClientButton->click();
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("没有可修改的记录！"));
    m_page->m_deleteClientButton->click();
    QCOMPARE(m_prompter->shown().size(), 4); // delete on an empty list asks nothing
}

void TestClientList::addClientFilesItUnderTheCategory()
{
    select(QStringLiteral("00010002"));
    QString category;
    QTimer::singleShot(0, [&] {
        auto *editor = qobject_cast<ClientEditor *>(QApplication::activeModalWidget());
        QVERIFY(editor);
        category = editor->m_categoryEdit->text();
        editor->m_nameEdit->setText(QStringLiteral("无锡'100%_新材料😀"));
        editor->m_saveButton->click();
    });
    m_page->m_addClientButton->click();

    QCOMPARE(category, QStringLiteral("江浙客户"));
    QCOMPARE(m_page->clients().count(), 3);
    QCOMPARE(m_page->clients().text(QStringLiteral("ClientName")), QStringLiteral("无锡'100%_新材料😀"));
    QCOMPARE(m_page->clients().text(QStringLiteral("TypeCode")), QStringLiteral("00010002"));
    // A new client has no contacts yet.
    QCOMPARE(m_page->contacts().count(), 0);
}

void TestClientList::editReturnsToTheClient()
{
    select(QStringLiteral("00010001"));
    m_page->clients().locate(1);
    QTimer::singleShot(0, [] {
        auto *editor = qobject_cast<ClientEditor *>(QApplication::activeModalWidget());
        QVERIFY(editor);
        editor->m_codeEdit->setText(QStringLiteral("AAA"));
        editor->m_saveButton->click();
    });
    emit m_page->m_clientGrid->rowActivated(m_page->clients().position());
    QCOMPARE(listedClients(), (QList<qint64>{1, 2}));
    QCOMPARE(m_page->clients().integer(QStringLiteral("ID")), 1);
}

void TestClientList::clickBesideTheTreeNodesKeepsTheListEditable()
{
    m_page->resize(900, 600);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    CategoryTree *tree = m_page->m_categoryTree;
    QTreeWidgetItem *node = tree->findNode(QStringLiteral("00010001"));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(10, tree->viewport()->height() - 5));
    QVERIFY(node->isSelected());

    m_page->clients().locate(1);
    QTimer::singleShot(0, [] {
        auto *editor = qobject_cast<ClientEditor *>(QApplication::activeModalWidget());
        QVERIFY(editor);
        editor->close();
    });
    m_page->m_editClientButton->click();
    QCOMPARE(m_prompter->shown(), QStringList{});
}

void TestClientList::deleteRemovesExactlyTheClientsRows()
{
    const QStringList tables{"TCLinker", "TCLinkRec", "TCTrack"};
    QMap<QString, int> others;
    for (const QString &table : tables) {
        QVERIFY(count(QStringLiteral("Select count(*) from %1 where ClientID=1").arg(table)) > 0);
        others[table] = count(QStringLiteral("Select count(*) from %1 where ClientID<>1").arg(table));
    }
    const int steps = count(QStringLiteral("Select count(*) from TCTrackStep"));
    select(QStringLiteral("00010001"));
    m_page->clients().locate(1);

    m_page->m_deleteClientButton->click();

    QCOMPARE(m_prompter->shown(), QStringList{kDeleteClient});
    for (const QString &table : tables) {
        QCOMPARE(count(QStringLiteral("Select count(*) from %1 where ClientID=1").arg(table)), 0);
        QCOMPARE(count(QStringLiteral("Select count(*) from %1 where ClientID<>1").arg(table)), others[table]);
    }
    QCOMPARE(count(QStringLiteral("Select count(*) from TClient where ID=1")), 0);
    QCOMPARE(count(QStringLiteral("Select count(*) from TClient")), 9);
    QCOMPARE(count(QStringLiteral("Select count(*) from TCTrackStep")), steps);
    QCOMPARE(listedClients(), QList<qint64>{2});
}

void TestClientList::deleteFailingMidwayKeepsEverything_data()
{
    QTest::addColumn<QString>("failingTable");
    QTest::newRow("follow-ups") << "TCTrack";
    QTest::newRow("the client row") << "TClient";
}

void TestClientList::deleteFailingMidwayKeepsEverything()
{
    QFETCH(QString, failingTable);
    const QString totals = QStringLiteral("Select (Select count(*) from TCLinker) || '/' || (Select count(*) from "
                                          "TCLinkRec) || '/' || (Select count(*) from TCTrack) || '/' || "
                                          "(Select count(*) from TClient)");
    const QString before = database().queryValue(totals);
    QVERIFY(database().execute(QStringLiteral("Create trigger refuse before delete on %1 "
                                        "begin select raise(abort, 'refused'); end").arg(failingTable)));
    select(QStringLiteral("00010001"));
    m_page->clients().locate(1);

    m_page->m_deleteClientButton->click();

    QCOMPARE(database().queryValue(totals), before);
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("删除数据发生错误！"));
    QCOMPARE(listedClients(), (QList<qint64>{2, 1}));
    QVERIFY(!deleteClientWithRecords(database(), 1));
    QCOMPARE(database().queryValue(totals), before);
}

void TestClientList::deleteAnsweredNoKeepsTheClient()
{
    select(QStringLiteral("00010001"));
    m_prompter->answerNo();
    m_page->m_deleteClientButton->click();
    QCOMPARE(count(QStringLiteral("Select count(*) from TCLinker where ClientID=2")), 1);
    QCOMPARE(listedClients(), (QList<qint64>{2, 1}));
}

void TestClientList::detailButtonsNeedAClient()
{
    select(QStringLiteral("0001"));
    for (int page = 0; page < 3; ++page) {
        m_page->m_detailTabs->setCurrentIndex(page);
        for (QToolButton *button : {m_page->m_addDetailButton, m_page->m_editDetailButton, m_page->m_deleteDetailButton}) {
            button->click();
            QCOMPARE(m_prompter->lastShown(), kChooseClient);
        }
    }
    QCOMPARE(m_prompter->shown().size(), 9);
}

void TestClientList::emptyDetailPageHasNothingToChange()
{
    QVERIFY(database().execute(QStringLiteral("Insert into TClient (TypeCode, ClientName) values ('0001', '新客户')")));
    select(QStringLiteral("0001"));
    QCOMPARE(m_page->clients().count(), 1);
    QCOMPARE(m_page->contacts().count(), 0);
    for (int page = 0; page < 2; ++page) {
        m_page->m_detailTabs->setCurrentIndex(page);
        m_page->m_editDetailButton->click();
        m_page->m_deleteDetailButton->click();
    }
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestClientList::newActivityStampsTheClient()
{
    select(QStringLiteral("00010001"));
    m_page->clients().locate(2);
    m_page->m_detailTabs->setCurrentIndex(ClientListPage::ActivityPage);
    const int before = m_page->activities().count();
    QTimer::singleShot(0, [] {
        auto *editor = qobject_cast<ContactActivityEditor *>(QApplication::activeModalWidget());
        QVERIFY(editor);
        editor->m_subjectCombo->setEditText(QStringLiteral("电话回访"));
        editor->m_saveButton->click();
    });
    m_page->m_addDetailButton->click();

    QCOMPARE(m_page->activities().count(), before + 1);
    QCOMPARE(m_page->clients().integer(QStringLiteral("ID")), 2);
    QCOMPARE(m_page->m_clientGrid->cellText(m_page->clients().position(), 1), QStringLiteral("2026-12-10 15"));
    QCOMPARE(database().queryValue(QStringLiteral("Select LastLinkTime from TClient where ID=2")),
             QStringLiteral("2026-12-10 15:42:07"));
    QCOMPARE(m_page->m_activityGrid->cellText(0, 2), QStringLiteral("26-12-10"));
}

void TestClientList::editedActivityLeavesTheStamp()
{
    select(QStringLiteral("00010001"));
    m_page->clients().locate(1);
    const QString stamp = database().queryValue(QStringLiteral("Select LastLinkTime from TClient where ID=1"));
    m_page->m_detailTabs->setCurrentIndex(ClientListPage::ActivityPage);
    m_page->activities().moveTo(1);
    const qint64 edited = m_page->activities().integer(QStringLiteral("ID"));
    QTimer::singleShot(0, [] {
        auto *editor = qobject_cast<ContactActivityEditor *>(QApplication::activeModalWidget());
        QVERIFY(editor);
        editor->m_handlerCombo->setEditText(QStringLiteral("王芳"));
        editor->m_saveButton->click();
    });
    emit m_page->m_activityGrid->rowActivated(1);

    QCOMPARE(m_page->activities().integer(QStringLiteral("ID")), edited);
    QCOMPARE(m_page->activities().text(QStringLiteral("Dealer")), QStringLiteral("王芳"));
    QCOMPARE(database().queryValue(QStringLiteral("Select LastLinkTime from TClient where ID=1")), stamp);

    m_page->m_deleteDetailButton->click();
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("您确认删除选定的联系活动记录吗？"));
    QCOMPARE(count(QStringLiteral("Select count(*) from TCLinkRec where ID=?"), {edited}), 0);
    QCOMPARE(database().queryValue(QStringLiteral("Select LastLinkTime from TClient where ID=1")), stamp);
}

void TestClientList::deleteContactAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestClientList::deleteContactAsksFirst()
{
    QFETCH(bool, yes);
    select(QStringLiteral("00010001"));
    m_page->clients().locate(1);
    const qint64 contact = m_page->contacts().integer(QStringLiteral("ID"));
    yes ? m_prompter->answerYes() : m_prompter->answerNo();
    m_page->m_deleteDetailButton->click();
    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("您确认删除选定的联系人记录吗？")});
    QCOMPARE(count(QStringLiteral("Select count(*) from TCLinker where ID=?"), {contact}), yes ? 0 : 1);
    QCOMPARE(m_page->contacts().count(), yes ? 1 : 2);
}

void TestClientList::contactTitlesSortActivitiesDoNot()
{
    select(QStringLiteral("00010001"));
    m_page->clients().locate(1);
    m_page->m_contactGrid->view()->horizontalHeader()->sectionClicked(2); // by name: 陈 (chen) before 刘 (liu)
    QCOMPARE(m_page->m_contactGrid->cellText(0, 2), QStringLiteral("陈建国"));
    QCOMPARE(m_page->m_contactGrid->cellText(0, 3), QStringLiteral("是"));
    QCOMPARE(m_page->m_contactGrid->cellText(1, 3), QString());
    QVERIFY(!m_page->m_activityGrid->view()->horizontalHeader()->sectionsClickable());
}

void TestClientList::enterOnTheTreeRenames()
{
    select(QStringLiteral("00010001"));
    m_prompter->answerText(QStringLiteral("上海市客户"));
    QTest::keyClick(m_page->m_categoryTree, Qt::Key_Return);
    QCOMPARE(database().queryValue(QStringLiteral("Select TypeName from TClientClass where TypeCode='00010001'")),
             QStringLiteral("上海市客户"));
    m_page->m_deleteCategoryButton->click();
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("对应分类下还有客户资料，不能直接删除！"));
}

void TestClientList::unreadableDetailsAreReported()
{
    QVERIFY(database().execute(QStringLiteral("Alter table TCLinkRec rename to TCLinkRecGone")));
    QVERIFY(!m_page->loadClientDetail(1, ClientListPage::ActivityPage));
    QCOMPARE(m_prompter->lastShown(), QStringLiteral("打开数据文件发生错误！"));
    QVERIFY(m_page->loadClientDetail(1, 7));
}

void TestClientList::mainWindowLoadsAndReloadsTheTree()
{
    RecordingShell shell;
    MainWindow window;
    QVERIFY(window.startUp());
    QCOMPARE(window.m_pageTabs->widget(MainWindow::ClientPage), window.m_clientPage);
    QCOMPARE(window.m_clientPage->m_categoryTree->topLevelItemCount(), 0); // not before its first show
    window.m_pageTabs->setCurrentIndex(MainWindow::ClientPage);
    QCOMPARE(ids(window.m_clientPage->clients()), QList<qint64>{10});
    QCOMPARE(window.m_clientPage->contacts().count(), 2);

    // An automatic backup reopens the database and shows what is stored again.
    QVERIFY(database().execute(QStringLiteral("Insert into TClientClass (TypeCode,TypeName,ParTypeCode,nLeveal) "
                                        "values ('0005','A类客户','',0)")));
    QVERIFY(window.runAutoBackup(m_folder->filePath(QStringLiteral("Bak"))));
    QCOMPARE(window.m_clientPage->m_categoryTree->topLevelItem(0)->text(0), QStringLiteral("A类客户"));
    QCOMPARE(window.m_clientPage->clients().count(), 0);
}

PANDREL_TEST_MAIN(TestClientList)
#include "tst_clientlist.moc"
