#include "ManualClock.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"
#include "Typing.h"
#include "WhenModal.h"

#include "crm/CategoryTree.h"
#include "crm/ClientListPage.h"
#include "crm/FollowUpEditor.h"
#include "widgets/DataGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

// The follow-up page of the client page over the sample register: its list with the footer
// sums, and its add, edit and delete buttons.
class TestFollowUpList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listsTheClientsFollowUpsNewestFirst();
    void followUpWhoseStepWasRemovedStaysListed();
    void addedFollowUpIsListedAndSummed();
    void editedFollowUpStaysCurrent();
    void partQuantitiesShowTheirDecimals();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void withoutStepModelNothingOpens();

private:
    Database &database() { return m_folder->database(); }
    DataGrid *grid() const { return m_page->m_followUpGrid; }
    int column(const QString &field) const;
    QStringList listed(const QString &field) const;
    QStringList footer() const;

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<ClientListPage> m_page;
};

void TestFollowUpList::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2026, 12, 10), QTime(15, 0)));
    m_page = std::make_unique<ClientListPage>();
    QVERIFY(m_page->loadTree());
    // 上海华信贸易有限公司: two follow-ups in the sample register.
    m_page->m_categoryTree->setCurrentItem(m_page->m_categoryTree->findNode("00010001"));
    QVERIFY(m_page->clients().locate(1));
    m_page->m_detailTabs->setCurrentIndex(ClientListPage::FollowUpPage);
}

void TestFollowUpList::cleanup()
{
    m_page.reset();
    m_clock.reset();
    m_prompter.reset();
    m_folder.reset();
}

int TestFollowUpList::column(const QString &field) const
{
    for (int c = 0; c < grid()->columns().size(); ++c) {
        if (grid()->columns().at(c).field == field)
            return c;
    }
    return -1;
}

QStringList TestFollowUpList::listed(const QString &field) const
{
    QStringList texts;
    for (int row = 0; row < grid()->model().rowCount(); ++row)
        texts.append(grid()->cellText(row, column(field)));
    return texts;
}

// Quantity, amount and virtual value under the list, after the "合计" under the goods.
QStringList TestFollowUpList::footer() const
{
    QStringList texts;
    for (const QString field : {"GoodsName", "Qty", "Total", "StepTotal"})
        texts.append(grid()->footerText(column(field)));
    return texts;
}

void TestFollowUpList::listsTheClientsFollowUpsNewestFirst()
{
    QCOMPARE(listed("GoodsName"), (QStringList{"激光打印机硒鼓", "黑白激光打印机"}));
    QCOMPARE(listed("StepTitle"), (QStringList{"合同签订", "成交回款"}));
    QCOMPARE(listed("StepRate"), (QStringList{"80.00", "100.00"}));
    // Quantities whole, their sum with two decimals.
    QCOMPARE(listed("Qty"), (QStringList{"20", "10"}));
    QCOMPARE(footer(), (QStringList{"合计", "30.00", "21000.00", "19960.00"}));
    for (const QString hidden : {"ID", "ClientID", "StepID"})
        QVERIFY(!grid()->columns().at(column(hidden)).visible);
}

void TestFollowUpList::followUpWhoseStepWasRemovedStaysListed()
{
    QVERIFY(database().execute("Delete from TCTrackStep where StepTitle='合同签订'"));
    QVERIFY(m_page->loadClientDetail(1, ClientListPage::FollowUpPage));
    QCOMPARE(listed("GoodsName"), (QStringList{"激光打印机硒鼓", "黑白激光打印机"}));
    QCOMPARE(listed("StepTitle"), (QStringList{"", "成交回款"}));
    QCOMPARE(footer(), (QStringList{"合计", "30.00", "21000.00", "19960.00"}));
}

void TestFollowUpList::addedFollowUpIsListedAndSummed()
{
    whenModal<FollowUpEditor>(this, [](FollowUpEditor *editor) {
        editor->m_goodsNameEdit->setText("A4复印纸");
        typeOver(editor->m_quantityEdit, "3");
        typeOver(editor->m_priceEdit, "12.5");
        editor->m_saveButton->click();
    });
    m_page->m_addDetailButton->click();
    QCOMPARE(listed("GoodsName"), (QStringList{"A4复印纸", "激光打印机硒鼓", "黑白激光打印机"}));
    QCOMPARE(m_page->followUps().text("GoodsName"), "A4复印纸");
    // The shipped model's second step, 需求确认, is worth 20 %.
    QCOMPARE(listed("StepTitle").constFirst(), "需求确认");
    QCOMPARE(footer(), (QStringList{"合计", "33.00", "21037.50", "19967.50"}));
    QCOMPARE(database().queryValue("Select ClientID from TCTrack where GoodsName='A4复印纸' and Qty=3"), "1");
}

// Rounded to whole numbers, 2.5 and 0.25 read as 3 and 0 over a sum of 4.50.
void TestFollowUpList::partQuantitiesShowTheirDecimals()
{
    QVERIFY(database().execute("Delete from TCTrack where ClientID=1"));
    for (const double quantity : {2.5, 0.25, 1.75})
        QVERIFY(database().execute("Insert into TCTrack (ClientID, GoodsName, Price, Qty, Total, StepID, StepTotal) "
                                   "values (1, '碳粉', 12.5, ?, ?, 1, 0)",
                                   {quantity, quantity * 12.5}));
    QVERIFY(m_page->loadClientDetail(1, ClientListPage::FollowUpPage));
    QCOMPARE(listed("Qty"), (QStringList{"1.75", "0.25", "2.5"}));
    QCOMPARE(footer().at(1), "4.50");
}

void TestFollowUpList::editedFollowUpStaysCurrent()
{
    // On 商务谈判 (60 %), so still open to changes.
    QVERIFY(database().execute("Update TCTrack set StepID=4 where ClientID=1 and GoodsName='黑白激光打印机'"));
    QVERIFY(m_page->loadClientDetail(1, ClientListPage::FollowUpPage));
    QVERIFY(m_page->followUps().last());
    const qint64 id = m_page->followUps().integer("ID");
    whenModal<FollowUpEditor>(this, [](FollowUpEditor *editor) {
        QVERIFY(editor->m_saveButton->isVisible());
        typeOver(editor->m_quantityEdit, "5");
        editor->m_saveButton->click();
    });
    m_page->m_editDetailButton->click();
    QCOMPARE(m_page->followUps().integer("ID"), id);
    QCOMPARE(listed("Qty"), (QStringList{"20", "5"}));
    QCOMPARE(footer(), (QStringList{"合计", "25.00", "13100.00", "8900.00"}));
}

void TestFollowUpList::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestFollowUpList::deleteAsksFirst()
{
    QFETCH(bool, yes);
    yes ? m_prompter->answerYes() : m_prompter->answerNo();
    m_page->m_deleteDetailButton->click();
    QCOMPARE(m_prompter->shown(), QStringList{"您确认删除选定的跟单记录吗？"});
    QCOMPARE(listed("GoodsName"), yes ? QStringList{"黑白激光打印机"} : (QStringList{"激光打印机硒鼓", "黑白激光打印机"}));
    QCOMPARE(footer().at(2), yes ? "15800.00" : "21000.00");
    QCOMPARE(database().queryValue("Select count(*) from TCTrack where ClientID=1"), yes ? "1" : "2");
}

void TestFollowUpList::withoutStepModelNothingOpens()
{
    QVERIFY(database().execute("Delete from TCTrackStep"));
    for (QToolButton *button : {m_page->m_addDetailButton, m_page->m_editDetailButton}) {
        button->click();
        QCOMPARE(m_prompter->lastShown(), "在增加跟踪任务之前，请首先增加客户跟踪进度分段指标的价值模型！");
    }
    QCOMPARE(database().queryValue("Select count(*) from TCTrack where ClientID=1"), "2");
}

PANDREL_TEST_MAIN(TestFollowUpList)
#include "tst_followuplist.moc"
