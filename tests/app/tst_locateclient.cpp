#include "StartedMainWindow.h"
#include "TestMain.h"

#include "app/MainWindow.h"
#include "crm/CategoryTree.h"
#include "crm/ClientListPage.h"
#include "crm/ClientSearchWindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

// Moving the client page to a client found by the search window, in the main window over
// the sample register.
class TestLocateClient : public QObject
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
    ClientListPage *page() const { return m_window->m_clientPage; }
    QList<qint64> listedClients() const;

    StartedMainWindow m_started;
    MainWindow *m_window = nullptr;
};

void TestLocateClient::init()
{
    QVERIFY(m_started.start());
    m_window = m_started.window.get();
    QCOMPARE(m_window->m_pageTabs->currentIndex(), int(MainWindow::WorkPage));
}

void TestLocateClient::cleanup()
{
    m_window = nullptr;
    m_started.reset();
}

QList<qint64> TestLocateClient::listedClients() const
{
    const Recordset &clients = page()->clients();
    QList<qint64> ids;
    for (int row = 0; row < clients.count(); ++row)
        ids.append(clients.valueAt(row, clients.fieldIndex("ID")).toLongLong());
    return ids;
}

void TestLocateClient::locatesClientUnderChildCategory_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QList<qint64>>("listed");
    QTest::addColumn<qint64>("current");

    QTest::newRow("child category, second in its list") << "00010001" << qint64(1) << QList<qint64>{2, 1} << qint64(1);
    QTest::newRow("category already selected") << "0004" << qint64(10) << QList<qint64>{10} << qint64(10);
    QTest::newRow("client no longer there: first row") << "00010002" << qint64(99) << QList<qint64>{3, 4} << qint64(3);
}

void TestLocateClient::locatesClientUnderChildCategory()
{
    QFETCH(QString, code);
    QFETCH(qint64, id);
    QFETCH(QList<qint64>, listed);
    QFETCH(qint64, current);
    m_window->locateClient(code, id);

    QCOMPARE(page()->m_categoryTree->selectedRecord()->typeCode, code);
    QCOMPARE(listedClients(), listed);
    QCOMPARE(page()->clients().integer("ID"), current);
    // The details follow the client: each of these has follow-ups.
    const Recordset &tracks = page()->followUps();
    QVERIFY(!tracks.isEmpty());
    for (int row = 0; row < tracks.count(); ++row)
        QCOMPARE(tracks.valueAt(row, tracks.fieldIndex("ClientID")).toLongLong(), current);
    QCOMPARE(m_window->m_pageTabs->currentWidget(), page());
    QVERIFY(m_started.prompter->shown().isEmpty());
}

void TestLocateClient::unknownCategoryChangesNothing()
{
    m_window->m_pageTabs->setCurrentIndex(MainWindow::ClientPage); // loads the page
    m_window->m_pageTabs->setCurrentIndex(MainWindow::WorkPage);
    const QList<qint64> before = listedClients();
    QVERIFY(!before.isEmpty());
    m_window->locateClient("0009", 1);
    QCOMPARE(page()->m_categoryTree->selectedRecord()->typeCode, "0004");
    QCOMPARE(listedClients(), before);
    QCOMPARE(m_window->m_pageTabs->currentIndex(), int(MainWindow::WorkPage));
}

void TestLocateClient::searchWindowsOpenFromTheClientPage()
{
    page()->m_findClientButton->click();
    page()->m_findClientButton->click();
    const QList<ClientSearchWindow *> windows = m_window->findChildren<ClientSearchWindow *>();
    QCOMPARE(windows.size(), 2);
    ClientSearchWindow *search = windows.constLast();
    QVERIFY(search->isVisible());
    search->m_nameEdit->setText("SZHT");
    search->m_nameSearchButton->click();
    search->m_nameLocateButton->click();

    QCOMPARE(page()->m_categoryTree->selectedRecord()->typeCode, "00010002");
    QCOMPARE(page()->clients().integer("ID"), 4);
    QCOMPARE(m_window->m_pageTabs->currentWidget(), page());
    QVERIFY(search->isVisible());
}

PANDREL_TEST_MAIN(TestLocateClient)
#include "tst_locateclient.moc"
