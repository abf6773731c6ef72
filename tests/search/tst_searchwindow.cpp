#include "StartedMainWindow.h"
#include "TestMain.h"
#include "Typing.h"
#include "WhenModal.h"

#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "crm/ClientListPage.h"
#include "desk/AddressBookTab.h"
#include "document/RichTextEditor.h"
#include "search/SearchQuery.h"
#include "search/SearchWindow.h"
#include "widgets/RichTextDelegate.h"
#include "work/WorkListPage.h"

#include <QDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>

using searchindex::Kind;

// 全部查找 in the main window over the sample data: opening it, results as the user types, and
// each result opened where it lives.
class TestSearchWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensFromShortcutAndTrayMenu();
    void typingListsResultsGroupedByKind();
    void resultOpensWhereItLives_data();
    void resultOpensWhereItLives();
    void savedBodyIsFoundAtOnce();
    void damagedIndexIsRebuiltBeforeAnswering();

private:
    // Stores one record of each kind holding `text`; the ids by kind.
    QHash<int, qint64> storeOneOfEach(const QString &text);
    SearchWindow *searchFor(const QString &text);
    static QTreeWidgetItem *resultOf(SearchWindow *window, Kind kind);

    StartedMainWindow m_started;
    MainWindow *m_window = nullptr;
};

void TestSearchWindow::init()
{
    QVERIFY(m_started.start());
    m_window = m_started.window.get();
}

void TestSearchWindow::cleanup()
{
    m_window = nullptr;
    m_started.reset();
}

QHash<int, qint64> TestSearchWindow::storeOneOfEach(const QString &text)
{
    Database &dm = m_started.folder->database();
    const QString goodsCategory = dm.queryValue(QStringLiteral("Select TypeCode from TGoodsClass order by ID limit 1"));
    const QString bookCategory = dm.queryValue(QStringLiteral("Select min(ID) from TLinkerClass"));
    const QList<QPair<Kind, QString>> inserts{
        {Kind::WorkItem, QStringLiteral("Insert into TWork (Title, FinStu, ZY) values (?, 1, 1)")},
        {Kind::Client, QStringLiteral("Insert into TClient (TypeCode, ClientName) values ('0004', ?)")},
        {Kind::Contact, QStringLiteral("Insert into TCLinker (ClientID, Linker) values (10, ?)")},
        {Kind::Activity, QStringLiteral("Insert into TCLinkRec (ClientID, Title) values (10, ?)")},
        {Kind::FollowUp, QStringLiteral("Insert into TCTrack (ClientID, GoodsName, StepID) values (10, ?, 1)")},
        {Kind::Goods, QStringLiteral("Insert into TGoods (TypeCode, GoodsName) values ('%1', ?)").arg(goodsCategory)},
        {Kind::AddressBookEntry, QStringLiteral("Insert into TLinker (ClassID, Linker) values (%1, ?)").arg(bookCategory)},
    };
    QHash<int, qint64> ids;
    for (const auto &[kind, sql] : inserts) {
        if (!dm.execute(sql, {text}))
            qWarning() << dm.lastError();
        ids.insert(int(kind), dm.connection().lastInsertId());
    }
    return ids;
}

SearchWindow *TestSearchWindow::searchFor(const QString &text)
{
    SearchWindow *window = m_window->openSearch();
    window->queryEdit()->setText(text);
    window->searchNow();
    return window;
}

QTreeWidgetItem *TestSearchWindow::resultOf(SearchWindow *window, Kind kind)
{
    for (int g = 0; g < window->results()->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = window->results()->topLevelItem(g);
        if (group->childCount() > 0 && group->child(0)->data(0, Qt::UserRole).toInt() == int(kind))
            return group->child(0);
    }
    return nullptr;
}

void TestSearchWindow::opensFromShortcutAndTrayMenu()
{
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTest::keyClick(m_window->m_pageTabs->currentWidget(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    m_window->m_trayIcon->m_searchAction->trigger();
    const QList<SearchWindow *> windows = m_window->findChildren<SearchWindow *>();
    QCOMPARE(windows.size(), 2); // non-modal: each request opens one more
    for (SearchWindow *window : windows) {
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("全部查找"));
        QVERIFY(!window->isModal());
    }
}

void TestSearchWindow::typingListsResultsGroupedByKind()
{
    storeOneOfEach(QStringLiteral("甲乙丙丁合同"));
    SearchWindow *window = m_window->openSearch();
    commitInput(window->queryEdit(), QStringLiteral("乙丙"));
    QCOMPARE(window->results()->topLevelItemCount(), 0); // the typing has not paused yet
    QTRY_COMPARE(window->results()->topLevelItemCount(), 7);
    const QStringList captions{QStringLiteral("工作事项"), QStringLiteral("客户"), QStringLiteral("联系人"),
                               QStringLiteral("联系记录"), QStringLiteral("跟单"), QStringLiteral("商品"),
                               QStringLiteral("通讯录")};
    for (int g = 0; g < 7; ++g) {
        QTreeWidgetItem *group = window->results()->topLevelItem(g);
        QCOMPARE(group->text(0), captions.at(g) + QStringLiteral("（1条）"));
        QCOMPARE(group->child(0)->data(0, RichTextDelegate::kHtmlRole).toString(), QStringLiteral("甲<b>乙丙</b>丁合同"));
    }
    QVERIFY(window->results()->currentItem()); // Enter opens the first at once

    window->queryEdit()->setText(QStringLiteral("乙丙 不在"));
    window->searchNow();
    QCOMPARE(window->results()->topLevelItemCount(), 0);
}

void TestSearchWindow::resultOpensWhereItLives_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("detailPage"); // the client page's detail tab, or -1

    QTest::newRow("work item") << int(Kind::WorkItem) << -1;
    QTest::newRow("client") << int(Kind::Client) << -1;
    QTest::newRow("contact") << int(Kind::Contact) << int(ClientListPage::ContactPage);
    QTest::newRow("activity") << int(Kind::Activity) << int(ClientListPage::ActivityPage);
    QTest::newRow("follow-up") << int(Kind::FollowUp) << int(ClientListPage::FollowUpPage);
    QTest::newRow("goods") << int(Kind::Goods) << -1;
    QTest::newRow("address book") << int(Kind::AddressBookEntry) << -1;
}

void TestSearchWindow::resultOpensWhereItLives()
{
    QFETCH(int, kind);
    QFETCH(int, detailPage);
    const QString text = QStringLiteral("独一无二的名字");
    const QHash<int, qint64> ids = storeOneOfEach(text);
    SearchWindow *window = searchFor(QStringLiteral("无二"));
    QTreeWidgetItem *result = resultOf(window, Kind(kind));
    QVERIFY(result);
    window->results()->setCurrentItem(result);

    // The editors open modally: the one that opens must show the record found.
    QString shownInEditor;
    QObject thisCase; // the watch ends with the case, whether an editor opened or not
    whenModal<QDialog>(&thisCase, [&shownInEditor, &text](QDialog *dialog) {
        for (QLineEdit *edit : dialog->findChildren<QLineEdit *>()) {
            if (edit->text() == text)
                shownInEditor = edit->text();
        }
        dialog->reject();
    });
    QTest::keyClick(window->results(), Qt::Key_Return);

    const ClientListPage *clientPage = m_window->m_clientPage;
    switch (Kind(kind)) {
    case Kind::WorkItem:
    case Kind::Goods:
    case Kind::AddressBookEntry:
        QCOMPARE(shownInEditor, text);
        break;
    case Kind::Client:
        QCOMPARE(m_window->m_pageTabs->currentWidget(), clientPage);
        QCOMPARE(m_window->m_clientPage->clients().integer(QStringLiteral("ID")), ids.value(kind));
        break;
    default: {
        QCOMPARE(m_window->m_pageTabs->currentWidget(), clientPage);
        QCOMPARE(m_window->m_clientPage->clients().integer(QStringLiteral("ID")), 10);
        QCOMPARE(m_window->m_clientPage->m_detailTabs->currentIndex(), detailPage);
        Recordset &detail = detailPage == ClientListPage::ContactPage    ? m_window->m_clientPage->contacts()
                            : detailPage == ClientListPage::ActivityPage ? m_window->m_clientPage->activities()
                                                                         : m_window->m_clientPage->followUps();
        QCOMPARE(detail.integer(QStringLiteral("ID")), ids.value(kind));
    }
    }
}

void TestSearchWindow::savedBodyIsFoundAtOnce()
{
    WorkListPage *page = m_window->m_workPage;
    QVERIFY(!page->workItems().isEmpty());
    const qint64 id = page->workItems().integer(QStringLiteral("ID"));
    page->m_documentEditor->m_textEdit->setFocus();
    commitInput(page->m_documentEditor->m_textEdit, QStringLiteral("会议纪要：丑寅卯辰"));
    page->saveCurrentDocument();
    SearchWindow *window = searchFor(QStringLiteral("寅卯"));
    QTreeWidgetItem *result = resultOf(window, Kind::WorkItem);
    QVERIFY(result);
    QCOMPARE(result->data(0, Qt::UserRole + 1).toLongLong(), id);
    QVERIFY(result->data(1, RichTextDelegate::kHtmlRole).toString().contains(QStringLiteral("丑<b>寅卯</b>辰")));

    // Undoing the typing and saving again takes the text out of the results.
    page->m_documentEditor->document()->undo();
    page->saveCurrentDocument();
    window->searchNow();
    QVERIFY(!resultOf(window, Kind::WorkItem));
}

void TestSearchWindow::damagedIndexIsRebuiltBeforeAnswering()
{
    const QHash<int, qint64> ids = storeOneOfEach(QStringLiteral("甲乙丙丁"));
    Database &dm = m_started.folder->database();
    QVERIFY(dm.execute(QStringLiteral("UPDATE SearchIndex_segdir SET root = x'0a0b0c'")));
    QVERIFY(search::find(dm.connection(), QStringLiteral("乙丙")).failed);
    SearchWindow *window = searchFor(QStringLiteral("乙丙"));
    QCOMPARE(window->results()->topLevelItemCount(), 7);
    QCOMPARE(resultOf(window, Kind::Goods)->data(0, Qt::UserRole + 1).toLongLong(), ids.value(int(Kind::Goods)));
}

PANDREL_TEST_MAIN(TestSearchWindow)
#include "tst_searchwindow.moc"
