#include "ManualClock.h"
#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "crm/ClientCategoryDialog.h"
#include "crm/ClientEditor.h"
#include "crm/ContactEditor.h"
#include "crm/ContactActivityEditor.h"

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
    void emptiedCodeIsRefilledOnLeavingTheName();
    void reopenedEditorShowsTheStartOfLongFields();
    void destroyedWithTheFocusInTheNameBox();
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
    Database &database() { return m_folder->database(); }
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
    ClientEditor editor(QStringLiteral("00010002"), QStringLiteral("江浙客户"));
    QVERIFY(editor.loadRecord(-1));
    QCOMPARE(editor.windowTitle(), QStringLiteral("新增客户纪录"));
    QCOMPARE(editor.m_homePageEdit->text(), QStringLiteral("http://"));
    QCOMPARE(editor.m_categoryEdit->text(), QStringLiteral("江浙客户"));
    QCOMPARE(editor.m_recordTimeEdit->dateTime(), kNow);
    QCOMPARE(editor.m_typeCombo->currentText(), QString());
    QCOMPARE(items(editor.m_typeCombo), (QStringList{"其他客户", "潜在客户", "意向客户", "正式客户"}));
    QCOMPARE(items(editor.m_sourceCombo), (QStringList{"其他方式", "电话联系", "客户推荐", "网络搜索"}));
}

void TestClientEditors::clientIsStoredAsTyped()
{
    ClientEditor editor(QStringLiteral("00010002"), QStringLiteral("江浙客户"));
    QVERIFY(editor.loadRecord(-1));
    const QString name = QStringLiteral("O'Neil 100%_贸易😀");
    editor.m_nameEdit->setText(name);
    editor.m_codeEdit->setText(QStringLiteral("ON_1"));
    editor.m_typeCombo->setEditText(QStringLiteral("大客户"));
    editor.m_sourceCombo->setCurrentIndex(2);
    editor.m_qqEdit->setText(QStringLiteral("12345"));
    editor.m_taobaoAccountEdit->setText(QStringLiteral("tb"));
    editor.m_aliAccountEdit->setText(QStringLiteral("al"));
    editor.m_alipayAccountEdit->setText(QStringLiteral("zfb"));
    editor.m_notesEdit->setPlainText(QStringLiteral("第一行\n第二行"));
    editor.m_saveButton->click();

    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QVERIFY(editor.saved());
    const QString stored = database().queryValue(
        QStringLiteral("Select ClientName||'|'||ClientCode||'|'||ClientType||'|'||ClientComeFrom||'|'||QICQ||'|'||WW"
                       "||'|'||ALWW||'|'||ZFBCode||'|'||HomePage||'|'||TypeCode||'|'||TypeName||'|'||RecTime||'|'||Desp"
                       " from TClient where ID=?"),
        {editor.savedId()});
    QCOMPARE(stored, name + QStringLiteral("|ON_1|大客户|客户推荐|12345|tb|al|zfb|http://|00010002|江浙客户|"
                                           "2026-12-10 15:42:07|第一行\n第二行"));
    QVERIFY(database().queryValue(QStringLiteral("Select LastLinkTime from TClient where ID=?"), {editor.savedId()}).isEmpty());
}

void TestClientEditors::editingKeepsTheOldCategoryName()
{
    QVERIFY(database().execute(QStringLiteral("Update TClientClass set TypeName='沪' where TypeCode='00010001'")));
    ClientEditor editor(QStringLiteral("00010001"), QString());
    QVERIFY(editor.loadRecord(1));
    QCOMPARE(editor.windowTitle(), QStringLiteral("修改客户记录"));
    QCOMPARE(editor.m_nameEdit->text(), QStringLiteral("上海华信贸易有限公司"));
    QCOMPARE(editor.m_categoryEdit->text(), QStringLiteral("上海客户"));
    QCOMPARE(editor.m_homePageEdit->text(), QStringLiteral("http://www.example.com/hxmy"));
    QCOMPARE(editor.m_recordTimeEdit->dateTime(), QDateTime(QDate(2026, 10, 12), QTime(9, 20)));
    editor.m_phoneEdit->setText(QStringLiteral("021-1"));
    QVERIFY(editor.saveRecord());
    QCOMPARE(database().queryValue(QStringLiteral("Select TypeName||Tele||LastLinkTime||SalerName from TClient where ID=1")),
             QStringLiteral("上海客户021-12026-11-05 16:00:00张伟"));
    QCOMPARE(database().queryValue(QStringLiteral("Select count(*) from TClient")), QStringLiteral("10"));
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
    ClientEditor editor(category, QString());
    QVERIFY(editor.loadRecord(-1));
    editor.m_nameEdit->setText(name);
    QVERIFY(!editor.saveRecord());
    QCOMPARE(m_prompter->shown(), QStringList{message});
    QCOMPARE(database().queryValue(QStringLiteral("Select count(*) from TClient")), QStringLiteral("10"));
}

void TestClientEditors::failedStoreKeepsTheEditorOpen()
{
    QVERIFY(database().execute(QStringLiteral("Create trigger refuse before insert on TClient "
                                        "begin select raise(abort, 'refused'); end")));
    ClientEditor editor(QStringLiteral("0001"), QStringLiteral("华东地区"));
    QVERIFY(editor.loadRecord(-1));
    editor.m_nameEdit->setText(QStringLiteral("甲"));
    editor.m_saveButton->click();
    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("存储数据发生错误!")});
    QVERIFY(!editor.saved());
    QCOMPARE(editor.m_nameEdit->text(), QStringLiteral("甲"));

    QVERIFY(database().execute(QStringLiteral("Drop trigger refuse")));
    QVERIFY(editor.saveRecord());
    QCOMPARE(database().queryValue(QStringLiteral("Select count(*) from TClient where ClientName='甲'")), QStringLiteral("1"));
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
    ClientEditor editor(QStringLiteral("0001"), QString());
    QVERIFY(editor.loadRecord(-1));
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.m_codeEdit->setText(typedCode);
    editor.m_nameEdit->setFocus();
    typeText(editor.m_nameEdit, name);
    if (savedFromTheName) {
        QVERIFY(editor.saveRecord());
        QCOMPARE(database().queryValue(QStringLiteral("Select ClientCode from TClient where ClientName=?"), {name}), code);
    } else {
        QTest::keyClick(editor.m_nameEdit, Qt::Key_Tab);
    }
    QCOMPARE(editor.m_codeEdit->text(), code);
}

// The user empties the code and passes through the name box without changing it.
void TestClientEditors::emptiedCodeIsRefilledOnLeavingTheName()
{
    ClientEditor editor(QStringLiteral("00010001"), QString());
    QVERIFY(editor.loadRecord(1));
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.m_codeEdit->setFocus();
    editor.m_codeEdit->selectAll();
    QTest::keyClick(editor.m_codeEdit, Qt::Key_Delete);
    QCOMPARE(editor.m_codeEdit->text(), QString());
    editor.m_nameEdit->setFocus();
    QTest::keyClick(editor.m_nameEdit, Qt::Key_Tab);
    QCOMPARE(editor.m_codeEdit->text(), QStringLiteral("SHHXMYYXGS"));
}

void TestClientEditors::reopenedEditorShowsTheStartOfLongFields()
{
    const QString address = QStringLiteral("上海市浦东新区张江高科技园区碧波路六百九十号三号楼五层五百零一室东侧");
    QVERIFY(database().execute(QStringLiteral("Update TClient set Address=? where ID=1"), {address}));
    ClientEditor editor(QStringLiteral("00010001"), QString());
    QVERIFY(editor.loadRecord(1));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.m_addressEdit->text(), address);
    QCOMPARE(editor.m_addressEdit->cursorPosition(), 0);
}

// The name box loses the focus while the window goes; it must not call back into the part of
// the editor already destroyed (a sanitizer build reports the use otherwise).
void TestClientEditors::destroyedWithTheFocusInTheNameBox()
{
    auto editor = std::make_unique<ClientEditor>(QStringLiteral("00010001"), QString());
    QVERIFY(editor->loadRecord(1));
    editor->show();
    QVERIFY(QTest::qWaitForWindowActive(editor.get()));
    editor->m_codeEdit->clear();
    editor->m_nameEdit->setFocus();

    editor.reset();

    QCOMPARE(database().queryValue(QStringLiteral("Select ClientCode from TClient where ID=1")), QStringLiteral("SHHXMYYXGS"));
}

void TestClientEditors::byteLimitsCountGbk()
{
    ClientEditor editor(QStringLiteral("0001"), QString());
    QVERIFY(editor.loadRecord(-1));
    typeText(editor.m_postCodeEdit, QStringLiteral("一二三四五六"));
    QCOMPARE(editor.m_postCodeEdit->text(), QStringLiteral("一二三四五"));
    editor.m_notesEdit->setFocus();
    editor.m_notesEdit->setPlainText(QStringLiteral("尾"));
    editor.m_notesEdit->moveCursor(QTextCursor::Start);
    editor.m_notesEdit->insertPlainText(QString(60, QChar(0x4E00)));
    // The typed text is cut where it goes beyond 100 bytes; what was there stays.
    QCOMPARE(editor.m_notesEdit->toPlainText(), QString(49, QChar(0x4E00)) + QStringLiteral("尾"));
}

void TestClientEditors::webChatOpensEncodedAddress()
{
    ClientEditor editor(QStringLiteral("0001"), QString());
    QVERIFY(editor.loadRecord(-1));
    editor.m_webChatButton->click();
    QVERIFY(m_shell->calls().isEmpty());
    editor.m_qqEdit->setText(QStringLiteral("10001001"));
    editor.m_nameEdit->setText(QStringLiteral("A&B 贸易"));
    editor.m_webChatButton->click();
    QCOMPARE(m_shell->calls(), QStringList{QStringLiteral(
                                   "url http://wpa.qq.com/msgrd?V=1&Uin=10001001&Site=A%26B%20%E8%B4%B8%E6%98%93&Menu=yes")});

    ContactEditor contact(1);
    QVERIFY(contact.loadRecord(1));
    contact.m_webChatButton->click();
    QCOMPARE(m_shell->lastCall(), QStringLiteral("url http://wpa.qq.com/msgrd?V=1&Uin=10002001&Site=%E9%99%88%E5%BB%BA%E5%9B%BD&Menu=yes"));
}

void TestClientEditors::categoryChosenInTheSelectionWindow()
{
    ClientEditor editor(QStringLiteral("0001"), QStringLiteral("华东地区"));
    QVERIFY(editor.loadRecord(-1));
    bool nothingSelected = false;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<ClientCategoryDialog *>(QApplication::activeModalWidget());
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("客户分类选择"));
        nothingSelected = window->m_categoryTree->selectedRecord() == nullptr;
        window->m_categoryTree->setCurrentItem(window->m_categoryTree->findNode(QStringLiteral("00020002")));
        window->m_chooseButton->click();
    });
    editor.m_chooseCategoryButton->click();
    QVERIFY(nothingSelected);
    QCOMPARE(editor.m_categoryEdit->text(), QStringLiteral("福建客户"));
    QCOMPARE(editor.categoryCode(), QStringLiteral("00020002"));

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    editor.m_chooseCategoryButton->click();
    QCOMPARE(editor.categoryCode(), QStringLiteral("00020002"));
}

void TestClientEditors::selectionWindowNeedsANode()
{
    ClientCategoryDialog window;
    QVERIFY(window.loadCategories());
    window.m_chooseButton->click();
    QVERIFY(!window.chosen());
    QCOMPARE(window.result(), 0);
}

void TestClientEditors::unreadableCategoriesShowNoSelection()
{
    QVERIFY(database().execute(QStringLiteral("Drop table TClientClass")));
    QVERIFY(!pickClientCategory());
    QCOMPARE(m_prompter->shown(), QStringList{QStringLiteral("读取数据发生错误！")});
}

void TestClientEditors::enterMovesOnCtrlEnterLeavesTheMemo()
{
    ClientEditor editor(QStringLiteral("0001"), QString());
    QVERIFY(editor.loadRecord(-1));
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.m_nameEdit->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), editor.m_codeEdit);
    editor.m_notesEdit->setFocus();
    QTest::keyClick(editor.m_notesEdit, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), editor.m_notesEdit);
    QTest::keyClick(editor.m_notesEdit, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), editor.m_saveButton);
}

void TestClientEditors::tabLeavesTheMemo_data()
{
    QTest::addColumn<OpenMemoEditor>("open");
    QTest::newRow("client") << OpenMemoEditor([] {
        auto editor = std::make_unique<ClientEditor>(QStringLiteral("0001"), QString());
        editor->loadRecord(1);
        return MemoEditor{editor->m_notesEdit, editor->m_saveButton, std::move(editor)};
    });
    QTest::newRow("contact") << OpenMemoEditor([] {
        auto editor = std::make_unique<ContactEditor>(1);
        editor->loadRecord(-1);
        return MemoEditor{editor->m_notesEdit, editor->m_saveButton, std::move(editor)};
    });
    QTest::newRow("activity") << OpenMemoEditor([] {
        auto editor = std::make_unique<ContactActivityEditor>(1);
        editor->loadRecord(-1);
        return MemoEditor{editor->m_descriptionEdit, editor->m_saveButton, std::move(editor)};
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
    ContactEditor editor(1);
    QVERIFY(editor.loadRecord(-1));
    QCOMPARE(editor.windowTitle(), QStringLiteral("新增联系人资料"));
    QCOMPARE(editor.m_mainContactCombo->currentText(), QStringLiteral("是"));
    QCOMPARE(editor.m_officePhoneEdit->text(), QStringLiteral("021-60000101"));
    QCOMPARE(editor.m_mobilePhoneEdit->text(), QStringLiteral("13800000001"));
    QCOMPARE(editor.m_faxEdit->text(), QStringLiteral("021-60000102"));
    QCOMPARE(editor.m_emailEdit->text(), QStringLiteral("hxmy@example.com"));
    QCOMPARE(editor.m_addressEdit->text(), QStringLiteral("上海市浦东新区张杨路1288号"));
    QCOMPARE(editor.m_homePhoneEdit->text(), QString());

    ContactEditor orphan(999);
    QVERIFY(orphan.loadRecord(-1));
    QCOMPARE(orphan.m_officePhoneEdit->text(), QString());
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestClientEditors::contactIsStoredAsTyped()
{
    ContactEditor editor(2);
    QVERIFY(editor.loadRecord(-1));
    editor.m_nameEdit->setText(QStringLiteral("O'Brien_%😀"));
    editor.m_mainContactCombo->setCurrentIndex(0);
    editor.m_departmentCombo->setEditText(QStringLiteral("采购部"));
    editor.m_jobCombo->setEditText(QStringLiteral("经理"));
    editor.m_qqEdit->setText(QStringLiteral("777"));
    editor.m_saveButton->click();
    QVERIFY(editor.saved());
    QCOMPARE(database().queryValue(QStringLiteral("Select ClientID||'|'||IsMain||'|'||Depart||'|'||Job||'|'||QICQ||'|'||"
                                              "Birthday||'|'||Tele from TCLinker where Linker=?"),
                               {QStringLiteral("O'Brien_%😀")}),
             QStringLiteral("2|0|采购部|经理|777|2026-12-10|021-60000201"));
}

void TestClientEditors::editedContactKeepsItsBirthday()
{
    ContactEditor editor(1);
    QVERIFY(editor.loadRecord(1));
    QCOMPARE(editor.windowTitle(), QStringLiteral("修改/查看联系人资料"));
    QCOMPARE(editor.m_nameEdit->text(), QStringLiteral("陈建国"));
    QCOMPARE(editor.m_mainContactCombo->currentText(), QStringLiteral("是"));
    QCOMPARE(editor.m_departmentCombo->currentText(), QStringLiteral("采购部"));
    editor.m_hobbiesEdit->setText(QStringLiteral("游泳"));
    QVERIFY(editor.saveRecord());
    QCOMPARE(database().queryValue(QStringLiteral("Select Birthday||Fancy||ClientID from TCLinker where ID=1")),
             QStringLiteral("1975-06-18游泳1"));
    QCOMPARE(database().queryValue(QStringLiteral("Select count(*) from TCLinker")), QStringLiteral("16"));
}

void TestClientEditors::pickListsOfferEachValueOnce()
{
    QVERIFY(database().execute(QStringLiteral("Update TCLinker set Depart='' where ID=3")));
    ContactEditor contact(1);
    QVERIFY(contact.loadRecord(-1));
    QStringList departs;
    database().queryColumn(QStringLiteral("Select distinct Depart from TCLinker where Depart<>''"), departs);
    const QStringList offered = items(contact.m_departmentCombo);
    QCOMPARE(offered.size(), departs.size());
    QCOMPARE(QSet<QString>(offered.begin(), offered.end()).size(), departs.size());
    QVERIFY(!items(contact.m_departmentCombo).contains(QString()));
    QVERIFY(items(contact.m_departmentCombo).indexOf(QStringLiteral("财务部")) < items(contact.m_departmentCombo).indexOf(QStringLiteral("采购部")));
    QCOMPARE(contact.m_departmentCombo->currentText(), QString());

    ContactActivityEditor activity(1);
    QVERIFY(activity.loadRecord(-1));
    QStringList dealers;
    database().queryColumn(QStringLiteral("Select distinct Dealer from TCLinkRec where Dealer<>''"), dealers);
    QCOMPARE(items(activity.m_handlerCombo).size(), dealers.size());
    QVERIFY(items(activity.m_handlerCombo).indexOf(QStringLiteral("李娜")) < items(activity.m_handlerCombo).indexOf(QStringLiteral("张伟")));
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
        QVERIFY(database().execute(QStringLiteral("Create trigger refuse before insert on %1 "
                                            "begin select raise(abort, 'refused'); end").arg(table)));
    const QString before = database().queryValue(QStringLiteral("Select count(*) from %1").arg(table));
    bool saved = false;
    if (activity) {
        ContactActivityEditor editor(1);
        QVERIFY(editor.loadRecord(-1));
        if (storeFails)
            editor.m_subjectCombo->setEditText(QStringLiteral("回访"));
        editor.m_saveButton->click();
        saved = editor.saved();
    } else {
        ContactEditor editor(1);
        QVERIFY(editor.loadRecord(-1));
        if (storeFails)
            editor.m_nameEdit->setText(QStringLiteral("甲"));
        editor.m_saveButton->click();
        saved = editor.saved();
    }
    QVERIFY(!saved);
    QCOMPARE(m_prompter->shown(), QStringList{message});
    QCOMPARE(database().queryValue(QStringLiteral("Select count(*) from %1").arg(table)), before);
}

void TestClientEditors::newActivityStoresDatesOnly()
{
    ContactActivityEditor editor(3);
    QVERIFY(editor.loadRecord(-1));
    QCOMPARE(editor.windowTitle(), QStringLiteral("新增联系活动信息"));
    QCOMPARE(editor.m_activityDateEdit->date(), kNow.date());
    QCOMPARE(items(editor.m_subjectCombo),
             (QStringList{"产品演示", "洽谈合同", "确定订单", "送货跟踪", "新产品介绍", "邀请进餐"}));
    QCOMPARE(items(editor.m_contactMethodCombo), (QStringList{"电话", "电子邮件", "会面", "QQ等即时通讯"}));
    editor.m_subjectCombo->setCurrentIndex(1);
    editor.m_activityDateEdit->setDate(QDate(2026, 12, 1));
    editor.m_contactMethodCombo->setCurrentIndex(2);
    editor.m_descriptionEdit->setPlainText(QStringLiteral("谈价格'50%'"));
    QVERIFY(editor.saveRecord());
    QCOMPARE(database().queryValue(QStringLiteral("Select GoDate||'|'||HintDate||'|'||Title||'|'||RunStyle||'|'||Desp from "
                                              "TCLinkRec where ClientID=3 order by ID desc limit 1")),
             QStringLiteral("2026-12-01|2026-12-10|洽谈合同|会面|谈价格'50%'"));
}

void TestClientEditors::editedActivityKeepsItsValues()
{
    ContactActivityEditor editor(1);
    QVERIFY(editor.loadRecord(1));
    QCOMPARE(editor.windowTitle(), QStringLiteral("修改/查看联系活动信息"));
    QCOMPARE(editor.m_subjectCombo->currentText(), QStringLiteral("新产品介绍"));
    QCOMPARE(editor.m_activityDateEdit->date(), QDate(2026, 10, 15));
    QCOMPARE(editor.m_handlerCombo->currentText(), QStringLiteral("张伟"));
    QVERIFY(editor.saveRecord());
    QCOMPARE(database().queryValue(QStringLiteral("Select GoDate||ClientID from TCLinkRec where ID=1")),
             QStringLiteral("2026-10-151"));
}

PANDREL_TEST_MAIN(TestClientEditors)
#include "tst_clienteditors.moc"
