#include "ManualClock.h"
#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "crm/TfrmClientClassSel.h"
#include "crm/TfrmClientEdit.h"
#include "crm/TfrmClientLinkerEdit.h"
#include "crm/TfrmClientLinkerRecEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

// Each case: its own program folder with the sample client register, scripted prompts, a
// recording shell and a fixed clock.
class TestClientEditors : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newClientStartsBlank();
    void clientIsStoredAsTyped();
    void editingKeepsTheOldCategoryName();
    void clientChecks_data();
    void clientChecks();
    void failedStoreKeepsTheEditorOpen();
    void shortCodeFromTheName_data();
    void shortCodeFromTheName();
    void byteLimitsCountGbk();
    void webChatOpensEncodedAddress();
    void categoryChosenInTheSelectionWindow();
    void selectionWindowNeedsANode();
    void unreadableCategoriesShowNoSelection();
    void enterMovesOnCtrlEnterLeavesTheMemo();
    void tabLeavesTheMemo_data();
    void tabLeavesTheMemo();
    void newContactStartsFromTheClient();
    void contactIsStoredAsTyped();
    void editedContactKeepsItsBirthday();
    void pickListsOfferEachValueOnce();
    void contactAndActivityChecks_data();
    void contactAndActivityChecks();
    void newActivityStoresDatesOnly();
    void editedActivityKeepsItsValues();

private:
    TDM &dm() { return m_folder->dm(); }
    QStringList items(const QComboBox *box) const;

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RecordingShell> m_shell;
    std::unique_ptr<ManualClock> m_clock;
};

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(15, 42, 7));

// An editor with its remarks memo and the control after it.
struct MemoEditor {
    QPlainTextEdit *memo;
    QPushButton *next;
    std::unique_ptr<QDialog> window;
};
using OpenMemoEditor = std::function<MemoEditor()>;

// Types text into a widget key by key, as the input method delivers Chinese characters.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

void TestClientEditors::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_shell = std::make_unique<RecordingShell>();
    m_clock = std::make_unique<ManualClock>(kNow);
}

void TestClientEditors::cleanup()
{
    m_clock.reset();
    m_shell.reset();
    m_prompter.reset();
    m_folder.reset();
}

QStringList TestClientEditors::items(const QComboBox *box) const
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts.append(box->itemText(i));
    return texts;
}

void TestClientEditors::newClientStartsBlank()
{
    TfrmClientEdit editor(QStringLiteral("00010002"), QStringLiteral("江浙客户"));
    QVERIFY(editor.ReadyData(-1));
    QCOMPARE(editor.windowTitle(), QStringLiteral("新增客户纪录"));
    QCOMPARE(editor.EditHomtPage->text(), QStringLiteral("http://"));
    QCOMPARE(editor.EditTypeCode->text(), QStringLiteral("江浙客户"));
    QCOMPARE(editor.dtRec->dateTime(), kNow);
    QCOMPARE(editor.cmbType->currentText(), QString());
    QCOMPARE(items(editor.cmbType), (QStringList{"其他客户", "潜在客户", "意向客户", "正式客户"}));
    QCOMPARE(items(editor.cmbComeFrom), (QStringList{"其他方式", "电话联系", "客户推荐", "网络搜索"}));
}

void TestClientEditors::clientIsStoredAsTyped()
{
    TfrmClientEdit editor(QStringLiteral("00010002"), QStringLiteral("江浙客户"));
    QVERIFY(editor.ReadyData(-1));
    const QString name = QStringLiteral("O'Neil 100%_贸易😀");
    editor.EditName->setText(name);
    editor.EditCode->setText(QStringLiteral("ON_1"));
    editor.cmbType->setEditText(QStringLiteral("大客户"));
    editor.cmbComeFrom->setCurrentIndex(2);
    editor.EditQQ->setText(QStringLiteral("12345"));
    editor.EditTB->setText(QStringLiteral("tb"));
    editor.EditAL->setText(QStringLiteral("al"));
    editor.EditZFB->setText(QStringLiteral("zfb"));
    editor.EditDesp->setPlainText(QStringLiteral("第一行\n第二行"));
    editor.cmdReg->click();

    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QVERIFY(editor.saved());
    const QString stored = dm().GetDataBySQL(
        QStringLiteral("Select ClientName||'|'||ClientCode||'|'||ClientType||'|'||ClientComeFrom||'|'||QICQ||'|'||WW"
                       "||'|'||ALWW||'|'||ZFBCode||'|'||HomePage||'|'||TypeCode||'|'||TypeName||'|'||RecTime||'|'||Desp"
                       " from TClient where ID=?"),
        {editor.savedId()});
    QCOMPARE(stored, name + QStringLiteral("|ON_1|大客户|客户推荐|12345|tb|al|zfb|http://|00010002|江浙客户|"
                                           "2026-12-10 15:42:07|第一行\n第二行"));
    QVERIFY(dm().GetDataBySQL(QStringLiteral("Select LastLinkTime from TClient where ID=?"), {editor.savedId()}).isEmpty());
}

void TestClientEditors::editingKeepsTheOldCategoryName()
{
    QVERIFY(dm().execute(QStringLiteral("Update TClientClass set TypeName='沪' where TypeCode='00010001'")));
    TfrmClientEdit editor(QStringLiteral("00010001"), QString());
    QVERIFY(editor.ReadyData(1));
    QCOMPARE(editor.windowTitle(), QStringLiteral("修改客户记录"));
    QCOMPARE(editor.EditName->text(), QStringLiteral("上海华信贸易有限公司"));
    QCOMPARE(editor.EditTypeCode->text(), QStringLiteral("上海客户"));
    QCOMPARE(editor.EditHomtPage->text(), QStringLiteral("http://www.example.com/hxmy"));
    QCOMPARE(editor.dtRec->dateTime(), QDateTime(QDate(2026, 10, 12), QTime(9, 20)));
    editor.EditTele->setText(QStringLiteral("021-1"));
    QVERIFY(editor.SaveData());
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select TypeName||Tele||LastLinkTime||SalerName from TClient where ID=1")),
             QStringLiteral("上海客户021-12026-11-05 16:00:00张伟"));
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select count(*) from TClient")), QStringLiteral("10"));
}

void TestClientEditors::clientChecks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << QString() << "0001" << "客户名称必须输入！";
    QTest::newRow("no category") << "甲" << QString() << "客户分类尚未选择！";
}

void TestClientEditors::clientChecks()
{
    QFETCH(QString, name);
    QFETCH(QString, category);
    QFETCH(QString, message);
    TfrmClientEdit editor(category, QString());
    QVERIFY(editor.ReadyData(-1));
    editor.EditName->setText(name);
    QVERIFY(!editor.SaveData());
    QCOMPARE(m_prompter->shown(), QStringList{message});
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select count(*) from TClient")), QStringLiteral("10"));
}

void TestClientEditors::failedStoreKeepsTheEditorOpen()
{
    QVERIFY(dm().execute(QStringLiteral("Create trigger refuse before insert on TClient "
                                        "begin select raise(abort, 'refused'); end")));
    TfrmClientEdit editor(QStringLiteral("0001"), QStringLiteral("华东地区"));
    QVERIFY(editor.ReadyData(-1));
    editor.EditName->setText(QStringLiteral("甲"));
    editor.cmdReg->click();
    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("存储数据发生错误!")});
    QVERIFY(!editor.saved());
    QCOMPARE(editor.EditName->text(), QStringLiteral("甲"));

    QVERIFY(dm().execute(QStringLiteral("Drop trigger refuse")));
    QVERIFY(editor.SaveData());
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select count(*) from TClient where ClientName='甲'")), QStringLiteral("1"));
}

void TestClientEditors::shortCodeFromTheName_data()
{
    QTest::addColumn<QString>("typedCode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("savedFromTheName"); // Alt+S in the name box: it is never left
    QTest::newRow("pinyin initials") << QString() << "北京ab" << "BJab" << false;
    QTest::newRow("punctuation gives spaces") << QString() << "，。" << "  " << false;
    QTest::newRow("a typed code stays") << "MINE" << "北京ab" << "MINE" << false;
    QTest::newRow("saved from the name box") << QString() << "北京ab" << "BJab" << true;
    QTest::newRow("saved with a typed code") << "MINE" << "北京ab" << "MINE" << true;
}

void TestClientEditors::shortCodeFromTheName()
{
    QFETCH(QString, typedCode);
    QFETCH(QString, name);
    QFETCH(QString, code);
    QFETCH(bool, savedFromTheName);
    TfrmClientEdit editor(QStringLiteral("0001"), QString());
    QVERIFY(editor.ReadyData(-1));
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.EditCode->setText(typedCode);
    editor.EditName->setFocus();
    typeText(editor.EditName, name);
    if (savedFromTheName) {
        QVERIFY(editor.SaveData());
        QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select ClientCode from TClient where ClientName=?"), {name}), code);
    } else {
        QTest::keyClick(editor.EditName, Qt::Key_Tab);
    }
    QCOMPARE(editor.EditCode->text(), code);
}

void TestClientEditors::byteLimitsCountGbk()
{
    TfrmClientEdit editor(QStringLiteral("0001"), QString());
    QVERIFY(editor.ReadyData(-1));
    typeText(editor.EditPostCode, QStringLiteral("一二三四五六"));
    QCOMPARE(editor.EditPostCode->text(), QStringLiteral("一二三四五"));
    editor.EditDesp->setFocus();
    editor.EditDesp->setPlainText(QStringLiteral("尾"));
    editor.EditDesp->moveCursor(QTextCursor::Start);
    editor.EditDesp->insertPlainText(QString(60, QChar(0x4E00)));
    // The typed text is cut where it goes beyond 100 bytes; what was there stays.
    QCOMPARE(editor.EditDesp->toPlainText(), QString(49, QChar(0x4E00)) + QStringLiteral("尾"));
}

void TestClientEditors::webChatOpensEncodedAddress()
{
    TfrmClientEdit editor(QStringLiteral("0001"), QString());
    QVERIFY(editor.ReadyData(-1));
    editor.sbQQ->click();
    QVERIFY(m_shell->calls().isEmpty());
    editor.EditQQ->setText(QStringLiteral("10001001"));
    editor.EditName->setText(QStringLiteral("A&B 贸易"));
    editor.sbQQ->click();
    QCOMPARE(m_shell->calls(), QStringList{QStringLiteral(
                                   "url http://wpa.qq.com/msgrd?V=1&Uin=10001001&Site=A%26B%20%E8%B4%B8%E6%98%93&Menu=yes")});

    TfrmClientLinkerEdit contact(1);
    QVERIFY(contact.ReadyData(1));
    contact.sbQQ->click();
    QCOMPARE(m_shell->lastCall(), QStringLiteral("url http://wpa.qq.com/msgrd?V=1&Uin=10002001&Site=%E9%99%88%E5%BB%BA%E5%9B%BD&Menu=yes"));
}

void TestClientEditors::categoryChosenInTheSelectionWindow()
{
    TfrmClientEdit editor(QStringLiteral("0001"), QStringLiteral("华东地区"));
    QVERIFY(editor.ReadyData(-1));
    bool nothingSelected = false;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<TfrmClientClassSel *>(QApplication::activeModalWidget());
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("客户分类选择"));
        nothingSelected = window->tree->selectedRecord() == nullptr;
        window->tree->setCurrentItem(window->tree->FindNode(QStringLiteral("00020002")));
        window->cmdReg->click();
    });
    editor.SpeedButton1->click();
    QVERIFY(nothingSelected);
    QCOMPARE(editor.EditTypeCode->text(), QStringLiteral("福建客户"));
    QCOMPARE(editor.categoryCode(), QStringLiteral("00020002"));

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    editor.SpeedButton1->click();
    QCOMPARE(editor.categoryCode(), QStringLiteral("00020002"));
}

void TestClientEditors::selectionWindowNeedsANode()
{
    TfrmClientClassSel window;
    QVERIFY(window.ReadyData());
    window.cmdReg->click();
    QVERIFY(!window.chosen());
    QCOMPARE(window.result(), 0);
}

void TestClientEditors::unreadableCategoriesShowNoSelection()
{
    QVERIFY(dm().execute(QStringLiteral("Drop table TClientClass")));
    QVERIFY(!SelectClientClass());
    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("读取数据发生错误！")});
}

void TestClientEditors::enterMovesOnCtrlEnterLeavesTheMemo()
{
    TfrmClientEdit editor(QStringLiteral("0001"), QString());
    QVERIFY(editor.ReadyData(-1));
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.EditName->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), editor.EditCode);
    editor.EditDesp->setFocus();
    QTest::keyClick(editor.EditDesp, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), editor.EditDesp);
    QTest::keyClick(editor.EditDesp, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), editor.cmdReg);
}

void TestClientEditors::tabLeavesTheMemo_data()
{
    QTest::addColumn<OpenMemoEditor>("open");
    QTest::newRow("client") << OpenMemoEditor([] {
        auto editor = std::make_unique<TfrmClientEdit>(QStringLiteral("0001"), QString());
        editor->ReadyData(1);
        return MemoEditor{editor->EditDesp, editor->cmdReg, std::move(editor)};
    });
    QTest::newRow("contact") << OpenMemoEditor([] {
        auto editor = std::make_unique<TfrmClientLinkerEdit>(1);
        editor->ReadyData(-1);
        return MemoEditor{editor->EditDesp, editor->cmdSave, std::move(editor)};
    });
    QTest::newRow("activity") << OpenMemoEditor([] {
        auto editor = std::make_unique<TfrmClientLinkerRecEdit>(1);
        editor->ReadyData(-1);
        return MemoEditor{editor->EditDesp, editor->cmdSave, std::move(editor)};
    });
}

void TestClientEditors::tabLeavesTheMemo()
{
    QFETCH(OpenMemoEditor, open);
    const MemoEditor editor = open();
    editor.window->show();
    QVERIFY(QTest::qWaitForWindowActive(editor.window.get()));
    editor.memo->setFocus();
    const QString before = editor.memo->toPlainText();
    QTest::keyClick(editor.memo, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), editor.next);
    QCOMPARE(editor.memo->toPlainText(), before);
}

void TestClientEditors::newContactStartsFromTheClient()
{
    TfrmClientLinkerEdit editor(1);
    QVERIFY(editor.ReadyData(-1));
    QCOMPARE(editor.windowTitle(), QStringLiteral("新增联系人资料"));
    QCOMPARE(editor.cmbIsMain->currentText(), QStringLiteral("是"));
    QCOMPARE(editor.EditTele->text(), QStringLiteral("021-60000101"));
    QCOMPARE(editor.EditMobileCode->text(), QStringLiteral("13800000001"));
    QCOMPARE(editor.EditFax->text(), QStringLiteral("021-60000102"));
    QCOMPARE(editor.EditEMail->text(), QStringLiteral("hxmy@example.com"));
    QCOMPARE(editor.EditAddress->text(), QStringLiteral("上海市浦东新区张杨路1288号"));
    QCOMPARE(editor.EditElecHome->text(), QString());

    TfrmClientLinkerEdit orphan(999);
    QVERIFY(orphan.ReadyData(-1));
    QCOMPARE(orphan.EditTele->text(), QString());
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestClientEditors::contactIsStoredAsTyped()
{
    TfrmClientLinkerEdit editor(2);
    QVERIFY(editor.ReadyData(-1));
    editor.EditName->setText(QStringLiteral("O'Brien_%😀"));
    editor.cmbIsMain->setCurrentIndex(0);
    editor.cmbDepart->setEditText(QStringLiteral("采购部"));
    editor.cmbPos->setEditText(QStringLiteral("经理"));
    editor.EditQQ->setText(QStringLiteral("777"));
    editor.cmdSave->click();
    QVERIFY(editor.saved());
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select ClientID||'|'||IsMain||'|'||Depart||'|'||Job||'|'||QICQ||'|'||"
                                              "Birthday||'|'||Tele from TCLinker where Linker=?"),
                               {QStringLiteral("O'Brien_%😀")}),
             QStringLiteral("2|0|采购部|经理|777|2026-12-10|021-60000201"));
}

void TestClientEditors::editedContactKeepsItsBirthday()
{
    TfrmClientLinkerEdit editor(1);
    QVERIFY(editor.ReadyData(1));
    QCOMPARE(editor.windowTitle(), QStringLiteral("修改/查看联系人资料"));
    QCOMPARE(editor.EditName->text(), QStringLiteral("陈建国"));
    QCOMPARE(editor.cmbIsMain->currentText(), QStringLiteral("是"));
    QCOMPARE(editor.cmbDepart->currentText(), QStringLiteral("采购部"));
    editor.EditFancy->setText(QStringLiteral("游泳"));
    QVERIFY(editor.SaveData());
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select Birthday||Fancy||ClientID from TCLinker where ID=1")),
             QStringLiteral("1975-06-18游泳1"));
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select count(*) from TCLinker")), QStringLiteral("16"));
}

void TestClientEditors::pickListsOfferEachValueOnce()
{
    QVERIFY(dm().execute(QStringLiteral("Update TCLinker set Depart='' where ID=3")));
    TfrmClientLinkerEdit contact(1);
    QVERIFY(contact.ReadyData(-1));
    QStringList departs;
    dm().GetItemsBySQL(QStringLiteral("Select distinct Depart from TCLinker where Depart<>''"), departs);
    const QStringList offered = items(contact.cmbDepart);
    QCOMPARE(offered.size(), departs.size());
    QCOMPARE(QSet<QString>(offered.begin(), offered.end()).size(), departs.size());
    QVERIFY(!items(contact.cmbDepart).contains(QString()));
    QVERIFY(items(contact.cmbDepart).indexOf(QStringLiteral("财务部")) < items(contact.cmbDepart).indexOf(QStringLiteral("采购部")));
    QCOMPARE(contact.cmbDepart->currentText(), QString());

    TfrmClientLinkerRecEdit activity(1);
    QVERIFY(activity.ReadyData(-1));
    QStringList dealers;
    dm().GetItemsBySQL(QStringLiteral("Select distinct Dealer from TCLinkRec where Dealer<>''"), dealers);
    QCOMPARE(items(activity.cmbRuner).size(), dealers.size());
    QVERIFY(items(activity.cmbRuner).indexOf(QStringLiteral("李娜")) < items(activity.cmbRuner).indexOf(QStringLiteral("张伟")));
}

void TestClientEditors::contactAndActivityChecks_data()
{
    QTest::addColumn<bool>("activity");
    QTest::addColumn<bool>("storeFails");
    QTest::addColumn<QString>("message");
    QTest::newRow("contact without name") << false << false << "请输入联系人的姓名！";
    QTest::newRow("activity without subject") << true << false << "请输入联系活动主题！";
    QTest::newRow("contact not stored") << false << true << "数据存储请求出现错误,保存失败！";
    QTest::newRow("activity not stored") << true << true << "数据存储请求出现错误,保存失败！\n";
}

void TestClientEditors::contactAndActivityChecks()
{
    QFETCH(bool, activity);
    QFETCH(bool, storeFails);
    QFETCH(QString, message);
    const QString table = activity ? QStringLiteral("TCLinkRec") : QStringLiteral("TCLinker");
    if (storeFails)
        QVERIFY(dm().execute(QStringLiteral("Create trigger refuse before insert on %1 "
                                            "begin select raise(abort, 'refused'); end").arg(table)));
    const QString before = dm().GetDataBySQL(QStringLiteral("Select count(*) from %1").arg(table));
    bool saved = false;
    if (activity) {
        TfrmClientLinkerRecEdit editor(1);
        QVERIFY(editor.ReadyData(-1));
        if (storeFails)
            editor.EditTitle->setEditText(QStringLiteral("回访"));
        editor.cmdSave->click();
        saved = editor.saved();
    } else {
        TfrmClientLinkerEdit editor(1);
        QVERIFY(editor.ReadyData(-1));
        if (storeFails)
            editor.EditName->setText(QStringLiteral("甲"));
        editor.cmdSave->click();
        saved = editor.saved();
    }
    QVERIFY(!saved);
    QCOMPARE(m_prompter->shown(), QStringList{message});
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select count(*) from %1").arg(table)), before);
}

void TestClientEditors::newActivityStoresDatesOnly()
{
    TfrmClientLinkerRecEdit editor(3);
    QVERIFY(editor.ReadyData(-1));
    QCOMPARE(editor.windowTitle(), QStringLiteral("新增联系活动信息"));
    QCOMPARE(editor.dtGo->date(), kNow.date());
    QCOMPARE(items(editor.EditTitle),
             (QStringList{"产品演示", "洽谈合同", "确定订单", "送货跟踪", "新产品介绍", "邀请进餐"}));
    QCOMPARE(items(editor.cmbTalkStyle), (QStringList{"电话", "电子邮件", "会面", "QQ等即时通讯"}));
    editor.EditTitle->setCurrentIndex(1);
    editor.dtGo->setDate(QDate(2026, 12, 1));
    editor.cmbTalkStyle->setCurrentIndex(2);
    editor.EditDesp->setPlainText(QStringLiteral("谈价格'50%'"));
    QVERIFY(editor.SaveData());
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select GoDate||'|'||HintDate||'|'||Title||'|'||RunStyle||'|'||Desp from "
                                              "TCLinkRec where ClientID=3 order by ID desc limit 1")),
             QStringLiteral("2026-12-01|2026-12-10|洽谈合同|会面|谈价格'50%'"));
}

void TestClientEditors::editedActivityKeepsItsValues()
{
    TfrmClientLinkerRecEdit editor(1);
    QVERIFY(editor.ReadyData(1));
    QCOMPARE(editor.windowTitle(), QStringLiteral("修改/查看联系活动信息"));
    QCOMPARE(editor.EditTitle->currentText(), QStringLiteral("新产品介绍"));
    QCOMPARE(editor.dtGo->date(), QDate(2026, 10, 15));
    QCOMPARE(editor.cmbRuner->currentText(), QStringLiteral("张伟"));
    QVERIFY(editor.SaveData());
    QCOMPARE(dm().GetDataBySQL(QStringLiteral("Select GoDate||ClientID from TCLinkRec where ID=1")),
             QStringLiteral("2026-10-151"));
}

PANDREL_TEST_MAIN(TestClientEditors)
#include "tst_clienteditors.moc"
