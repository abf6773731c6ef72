#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "app/TfrmWorkMain.h"
#include "crm/CategoryTree.h"
#include "crm/ClientListPage.h"
#include "crm/TfrmFindClient.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

// Moving the client page to a client found by the search window, in the main window over
// the sample register.
class TestLocateAClient : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void locatesClientUnderChildCategory_data();
    void locatesClientUnderChildCategory();
    void unknownCategoryChangesNothing();
    void searchWindowsOpenFromTheClientPage();

private:
    ClientListPage *page() const { return m_window->TabSheet2; }
    QList<qint64> listedClients() const;

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RecordingShell> m_shell;
    std::unique_ptr<TfrmWorkMain> m_window;
};

void TestLocateAClient::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_shell = std::make_unique<RecordingShell>();
    m_window = std::make_unique<TfrmWorkMain>();
    QVERIFY(m_window->FormCreate());
    QCOMPARE(m_window->PageControl1->currentIndex(), int(TfrmWorkMain::WorkPage));
}

void TestLocateAClient::cleanup()
{
    m_window.reset();
    m_shell.reset();
    m_prompter.reset();
    m_folder.reset();
}

QList<qint64> TestLocateAClient::listedClients() const
{
    const Recordset &clients = page()->dsClient();
    QList<qint64> ids;
    for (int row = 0; row < clients.count(); ++row)
        ids.append(clients.valueAt(row, clients.fieldIndex("ID")).toLongLong());
    return ids;
}

void TestLocateAClient::locatesClientUnderChildCategory_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QList<qint64>>("listed");
    QTest::addColumn<qint64>("current");

    QTest::newRow("child category, second in its list") << "00010001" << qint64(1) << QList<qint64>{2, 1} << qint64(1);
    QTest::newRow("category already selected") << "0004" << qint64(10) << QList<qint64>{10} << qint64(10);
    QTest::newRow("client no longer there: first row") << "00010002" << qint64(99) << QList<qint64>{3, 4} << qint64(3);
}

void TestLocateAClient::locatesClientUnderChildCategory()
{
    QFETCH(QString, code);
    QFETCH(qint64, id);
    QFETCH(QList<qint64>, listed);
    QFETCH(qint64, current);
    m_window->LocateAClient(code, id);

    QCOMPARE(page()->TreeView1->selectedRecord()->TypeCode, code);
    QCOMPARE(listedClients(), listed);
    QCOMPARE(page()->dsClient().integer("ID"), current);
    // The details follow the client: each of these has follow-ups.
    const Recordset &tracks = page()->dsTrack();
    QVERIFY(!tracks.isEmpty());
    for (int row = 0; row < tracks.count(); ++row)
        QCOMPARE(tracks.valueAt(row, tracks.fieldIndex("ClientID")).toLongLong(), current);
    QCOMPARE(m_window->PageControl1->currentWidget(), page());
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestLocateAClient::unknownCategoryChangesNothing()
{
    m_window->PageControl1->setCurrentIndex(TfrmWorkMain::ClientPage); // loads the page
    m_window->PageControl1->setCurrentIndex(TfrmWorkMain::WorkPage);
    const QList<qint64> before = listedClients();
    QVERIFY(!before.isEmpty());
    m_window->LocateAClient("0009", 1);
    QCOMPARE(page()->TreeView1->selectedRecord()->TypeCode, "0004");
    QCOMPARE(listedClients(), before);
    QCOMPARE(m_window->PageControl1->currentIndex(), int(TfrmWorkMain::WorkPage));
}

void TestLocateAClient::searchWindowsOpenFromTheClientPage()
{
    page()->cmdFindClient->click();
    page()->cmdFindClient->click();
    const QList<TfrmFindClient *> windows = m_window->findChildren<TfrmFindClient *>();
    QCOMPARE(windows.size(), 2);
    TfrmFindClient *search = windows.constLast();
    QVERIFY(search->isVisible());
    search->EditName->setText("SZHT");
    search->Button1->click();
    search->cmdLocateClient->click();

    QCOMPARE(page()->TreeView1->selectedRecord()->TypeCode, "00010002");
    QCOMPARE(page()->dsClient().integer("ID"), 4);
    QCOMPARE(m_window->PageControl1->currentWidget(), page());
    QVERIFY(search->isVisible());
}

PANDREL_TEST_MAIN(TestLocateAClient)
#include "tst_locateaclient.moc"
