#include "ManualClock.h"
#include "ModalWindow.h"
#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"

#include "desk/AddressBookTab.h"
#include "desk/AddressBookEditor.h"
#include "widgets/ByteLimitedTextEdit.h"
#include "widgets/DataGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

// Each case: its own program folder with two categories (朋友 with three contacts, 同事
// with none), scripted prompts, a recording shell and a clock at 2024-03-15.
class TestAddressBook : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void reopenedEditorShowsTheStartOfLongFields();

    void withoutCategoriesNothingToAddTo();
    void categoriesInNameOrderWithTheirContacts();
    void addCategory_data();
    void addCategory();
    void renameCategory_data();
    void renameCategory();
    void deleteCategory_data();
    void deleteCategory();
    void deleteContactAsksFirst_data();
    void deleteContactAsksFirst();
    void editReselectsInNameOrder_data();
    void editReselectsInNameOrder();
    void addedContactJoinsTheCategory();
    void birthdayRule_data();
    void birthdayRule();
    void tickedBirthdayIsStored();
    void jobProposalsOncePerValue();
    void nameIsRequired();
    void enterMovesThroughTheForm();
    void fieldsKeepTheirByteLimits_data();
    void fieldsKeepTheirByteLimits();
    void quotesAndPercentStoredAsTyped();
    void contactRemovedMeanwhileIsStoredAgain();
    void failedSaveKeepsEditorOpen();
    void unreadableCategoriesAreReported();
    void webChat_data();
    void webChat();

private:
    Database &dm() { return m_folder->database(); }
    qint64 addContact(qint64 classId, const QString &name, const QVariant &job = QString(),
                      const QVariant &birthday = QStringLiteral("1899-12-30"));
    QStringList column(DataGrid *grid, int column) const;
    QString stored(const QString &field, qint64 id);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RecordingShell> m_shell;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<AddressBookTab> m_tab;
    qint64 m_friends = 0;
    qint64 m_colleagues = 0;
};

void TestAddressBook::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_shell = std::make_unique<RecordingShell>();
    m_clock = std::make_unique<ManualClock>();
    QVERIFY(dm().execute(QStringLiteral("Delete from TLinker")));
    QVERIFY(dm().execute(QStringLiteral("Delete from TLinkerClass")));
    QVERIFY(dm().execute(QStringLiteral("Insert into TLinkerClass (ID, TitleName) values (7, '同事'), (3, '朋友')")));
    m_colleagues = 7;
    m_friends = 3;
    addContact(m_friends, QStringLiteral("张伟"), QStringLiteral("经理"));
    addContact(m_friends, QStringLiteral("李娜"), QStringLiteral("会计"));
    addContact(m_friends, QStringLiteral("王芳"), QString());
    m_tab = std::make_unique<AddressBookTab>();
}

void TestAddressBook::cleanup()
{
    m_tab.reset();
    m_clock.reset();
    m_shell.reset();
    m_prompter.reset();
    m_folder.reset();
}

qint64 TestAddressBook::addContact(qint64 classId, const QString &name, const QVariant &job, const QVariant &birthday)
{
    dm().execute(QStringLiteral("Insert into TLinker (ClassID, Linker, Job, Birthday) values (?, ?, ?, ?)"),
                 {classId, name, job, birthday});
    return dm().queryValue(QStringLiteral("Select max(ID) from TLinker")).toLongLong();
}

QStringList TestAddressBook::column(DataGrid *grid, int column) const
{
    QStringList texts;
    for (int row = 0; row < grid->model().rowCount(); ++row)
        texts.append(grid->cellText(row, column));
    return texts;
}

QString TestAddressBook::stored(const QString &field, qint64 id)
{
    return dm().queryValue(QStringLiteral("Select %1 from TLinker where ID=?").arg(field), {id});
}

void TestAddressBook::withoutCategoriesNothingToAddTo()
{
    QVERIFY(dm().execute(QStringLiteral("Delete from TLinker")));
    QVERIFY(dm().execute(QStringLiteral("Delete from TLinkerClass")));
    QVERIFY(m_tab->loadCategories());

    for (QPushButton *button : {m_tab->m_renameCategoryButton, m_tab->m_deleteCategoryButton, m_tab->m_deleteContactButton})
        button->click();
    QVERIFY(m_prompter->shown().isEmpty());
    m_tab->m_addContactButton->click();
    m_tab->m_editContactButton->click();

    QCOMPARE(m_prompter->shown(), (QStringList{"请首先增加一个联系人分类！", "没有可用于修改的联系人！"}));
    QCOMPARE(m_tab->m_contactsBox->title(), QStringLiteral("选定分类联系人列举"));
}

void TestAddressBook::categoriesInNameOrderWithTheirContacts()
{
    QVERIFY(m_tab->loadCategories());

    QCOMPARE(column(m_tab->m_categoryGrid, 0), (QStringList{"朋友", "同事"})); // péng before tóng
    QCOMPARE(m_tab->m_contactsBox->title(), QStringLiteral("选定分类[朋友]联系人列举"));
    QCOMPARE(column(m_tab->m_contactGrid, 0), (QStringList{"李娜", "王芳", "张伟"}));
    const QStringList titles{"联系人姓名", "职位", "办公电话", "移动电话", "家庭电话", "传真", "QQ号码",
                             "阿里帐号", "淘宝帐号", "支付宝帐号", "电子邮件", "生日", "详细地址", "个人嗜好"};
    QStringList shown;
    for (int c = 0; c < m_tab->m_contactGrid->columns().size(); ++c) {
        if (!m_tab->m_contactGrid->view()->isColumnHidden(c))
            shown.append(m_tab->m_contactGrid->columns().at(c).title);
    }
    QCOMPARE(shown, titles);

    m_tab->m_categoryGrid->view()->selectRow(1);
    QCOMPARE(m_tab->m_contactsBox->title(), QStringLiteral("选定分类[同事]联系人列举"));
    QCOMPARE(m_tab->contacts().count(), 0);
}

void TestAddressBook::addCategory_data()
{
    QTest::addColumn<QVariant>("answer"); // invalid: cancel
    QTest::addColumn<bool>("added");
    QTest::newRow("name") << QVariant(QStringLiteral("客户")) << true;
    QTest::newRow("empty answer") << QVariant(QString()) << false;
    QTest::newRow("cancel") << QVariant() << false;
}

void TestAddressBook::addCategory()
{
    QFETCH(QVariant, answer);
    QFETCH(bool, added);
    QVERIFY(m_tab->loadCategories());

    answer.isValid() ? m_prompter->answerText(answer.toString()) : m_prompter->answerCancel();
    m_tab->m_addCategoryButton->click();

    QCOMPARE(m_prompter->shown(), QStringList{"请输入新的联系人分类："});
    QCOMPARE(m_prompter->titles(), QStringList{"请输入新的联系人分类"});
    const QString count = dm().queryValue(QStringLiteral("Select count(*) from TLinkerClass"));
    QCOMPARE(count, added ? QStringLiteral("3") : QStringLiteral("2"));
    if (added) { // at the end until the next load, current, with its empty contact list
        QCOMPARE(column(m_tab->m_categoryGrid, 0), (QStringList{"朋友", "同事", "客户"}));
        QCOMPARE(m_tab->m_categoryGrid->view()->currentIndex().row(), 2);
        QCOMPARE(m_tab->m_contactsBox->title(), QStringLiteral("选定分类[客户]联系人列举"));
        QCOMPARE(m_tab->contacts().count(), 0);
    } else {
        QCOMPARE(m_tab->contacts().count(), 3);
    }
}

void TestAddressBook::renameCategory_data()
{
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<QString>("name");
    QTest::newRow("new name") << QVariant(QStringLiteral("老朋友")) << "老朋友";
    QTest::newRow("empty answer") << QVariant(QString()) << "朋友";
    QTest::newRow("cancel") << QVariant() << "朋友";
}

void TestAddressBook::renameCategory()
{
    QFETCH(QVariant, answer);
    QFETCH(QString, name);
    QVERIFY(m_tab->loadCategories());

    answer.isValid() ? m_prompter->answerText(answer.toString()) : m_prompter->answerCancel();
    QTest::keyClick(m_tab->m_categoryGrid->view(), Qt::Key_Return);

    QCOMPARE(m_prompter->shown(), QStringList{"请输入新的联系人分类："});
    QCOMPARE(dm().queryValue(QStringLiteral("Select TitleName from TLinkerClass where ID=?"), {m_friends}), name);
    QCOMPARE(m_tab->m_contactsBox->title(), QStringLiteral("选定分类[%1]联系人列举").arg(name));
    QCOMPARE(m_tab->contacts().count(), 3);
}

void TestAddressBook::deleteCategory_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("addedMeanwhile"); // a contact stored after the list was loaded
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<QString>("caption");

    const QString question = QStringLiteral("您确认删除选定的联系人分类记录吗？");
    QTest::newRow("with contacts") << 0 << false << true << QStringList{"本分类下有联系人信息，不能直接删除！"}
                                   << QStringList{"朋友", "同事"} << "选定分类[朋友]联系人列举";
    QTest::newRow("contact not yet listed") << 1 << true << true << QStringList{"本分类下有联系人信息，不能直接删除！"}
                                           << QStringList{"朋友", "同事"} << "选定分类[同事]联系人列举";
    QTest::newRow("empty, yes") << 1 << false << true << QStringList{question} << QStringList{"朋友"}
                                << "选定分类[朋友]联系人列举";
    QTest::newRow("empty, no") << 1 << false << false << QStringList{question} << QStringList{"朋友", "同事"}
                               << "选定分类[同事]联系人列举";
}

void TestAddressBook::deleteCategory()
{
    QFETCH(int, row);
    QFETCH(bool, addedMeanwhile);
    QFETCH(bool, confirm);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, remaining);
    QFETCH(QString, caption);
    QVERIFY(m_tab->loadCategories());
    m_tab->m_categoryGrid->view()->selectRow(row);
    if (addedMeanwhile)
        addContact(m_colleagues, QStringLiteral("陈磊"));

    confirm ? m_prompter->answerYes() : m_prompter->answerNo();
    m_tab->m_deleteCategoryButton->click();

    QCOMPARE(m_prompter->shown(), shown);
    QCOMPARE(column(m_tab->m_categoryGrid, 0), remaining);
    QStringList stored;
    dm().queryColumn(QStringLiteral("Select TitleName from TLinkerClass Order by TitleName collate PINYIN"), stored);
    QCOMPARE(stored, remaining);
    QCOMPARE(m_tab->m_contactsBox->title(), caption);
    QCOMPARE(dm().queryValue(QStringLiteral("Select count(*) from TLinker")), addedMeanwhile ? QStringLiteral("4") : QStringLiteral("3"));
}

void TestAddressBook::deleteContactAsksFirst_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("yes") << true << QStringList{"李娜", "张伟"};
    QTest::newRow("no") << false << QStringList{"李娜", "王芳", "张伟"};
}

void TestAddressBook::deleteContactAsksFirst()
{
    QFETCH(bool, confirm);
    QFETCH(QStringList, remaining);
    QVERIFY(m_tab->loadCategories());
    m_tab->m_contactGrid->view()->selectRow(1);

    confirm ? m_prompter->answerYes() : m_prompter->answerNo();
    m_tab->m_deleteContactButton->click();

    QCOMPARE(m_prompter->shown(), QStringList{"您确认删除选定的联系人记录吗？"});
    QCOMPARE(column(m_tab->m_contactGrid, 0), remaining);
    QCOMPARE(dm().queryValue(QStringLiteral("Select count(*) from TLinker")), QString::number(remaining.size()));
}

void TestAddressBook::editReselectsInNameOrder_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("button") << "button";
    QTest::newRow("Enter") << "enter";
}

void TestAddressBook::editReselectsInNameOrder()
{
    QFETCH(QString, how);
    QVERIFY(m_tab->loadCategories());
    m_tab->m_contactGrid->sortByColumn(1); // by job: 王芳 (none), 李娜 (会计), 张伟 (经理)
    QCOMPARE(column(m_tab->m_contactGrid, 0), (QStringList{"王芳", "李娜", "张伟"}));
    m_tab->m_contactGrid->view()->selectRow(1);
    const qint64 id = m_tab->contacts().integer(QStringLiteral("ID"));

    QVERIFY(whileModal<AddressBookEditor>(
        [&] {
            if (how == QLatin1String("button"))
                m_tab->m_editContactButton->click();
            else
                QTest::keyClick(m_tab->m_contactGrid->view(), Qt::Key_Return);
        },
        [](AddressBookEditor &editor) {
            QCOMPARE(editor.windowTitle(), QStringLiteral("修改/查看联系人资料"));
            QCOMPARE(editor.m_nameEdit->text(), QStringLiteral("李娜"));
            editor.m_nameEdit->setText(QStringLiteral("赵娜"));
            editor.m_saveButton->click();
        }));

    QCOMPARE(stored(QStringLiteral("Linker"), id), QStringLiteral("赵娜"));
    QCOMPARE(column(m_tab->m_contactGrid, 0), (QStringList{"王芳", "张伟", "赵娜"}));
    QCOMPARE(m_tab->m_contactGrid->sortColumn(), -1);
    QCOMPARE(m_tab->contacts().integer(QStringLiteral("ID")), id);
    QCOMPARE(m_tab->m_contactGrid->view()->currentIndex().row(), 2);
}

void TestAddressBook::addedContactJoinsTheCategory()
{
    QVERIFY(m_tab->loadCategories());
    m_tab->m_categoryGrid->view()->selectRow(1);

    QVERIFY(whileModal<AddressBookEditor>([&] { m_tab->m_addContactButton->click(); },
               [](AddressBookEditor &editor) {
                   QCOMPARE(editor.windowTitle(), QStringLiteral("新增联系人资料"));
                   QCOMPARE(editor.focusWidget(), editor.m_nameEdit); // where the focus goes as the window opens
                   editor.m_nameEdit->setText(QStringLiteral("陈磊"));
                   editor.m_saveButton->click();
               }));

    QCOMPARE(column(m_tab->m_contactGrid, 0), QStringList{"陈磊"});
    const qint64 id = m_tab->contacts().integer(QStringLiteral("ID"));
    QCOMPARE(stored(QStringLiteral("ClassID"), id), QString::number(m_colleagues));
}

void TestAddressBook::birthdayRule_data()
{
    QTest::addColumn<QVariant>("birthday");
    QTest::addColumn<QString>("listed");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("saved"); // after saving the editor unchanged

    QTest::newRow("none") << QVariant("1899-12-30") << "" << false << "1899-12-30";
    QTest::newRow("NULL") << QVariant() << "" << false << "1899-12-30";
    QTest::newRow("day 100") << QVariant("1900-04-09") << "" << false << "1899-12-30";
    // A birthday the list shows is kept: saving the contact for another change must not erase
    // the birthday of someone born before 1927.
    QTest::newRow("day 101") << QVariant("1900-04-10") << "1900-04-10" << true << "1900-04-10";
    QTest::newRow("day 9999") << QVariant("1927-05-17") << "1927-05-17" << true << "1927-05-17";
    QTest::newRow("day 10000") << QVariant("1927-05-18") << "1927-05-18" << true << "1927-05-18";
    QTest::newRow("ordinary") << QVariant("1985-12-01") << "1985-12-01" << true << "1985-12-01";
}

void TestAddressBook::birthdayRule()
{
    QFETCH(QVariant, birthday);
    QFETCH(QString, listed);
    QFETCH(bool, ticked);
    QFETCH(QString, saved);
    const qint64 id = addContact(m_colleagues, QStringLiteral("刘洋"), QString(), birthday);
    QVERIFY(m_tab->loadCategories());
    m_tab->m_categoryGrid->view()->selectRow(1);
    QCOMPARE(m_tab->m_contactGrid->cellText(0, 11), listed);

    AddressBookEditor editor(m_colleagues, id);
    QVERIFY(editor.loadRecord());
    QCOMPARE(editor.m_birthdayCheck->isChecked(), ticked);
    QCOMPARE(editor.m_birthdayEdit->text(), ticked ? saved : QStringLiteral(" "));
    QVERIFY(editor.saveRecord());
    QCOMPARE(stored(QStringLiteral("Birthday"), id), saved);
}

void TestAddressBook::reopenedEditorShowsTheStartOfLongFields()
{
    const QString address = QStringLiteral("上海市浦东新区张江高科技园区碧波路六百九十号");
    const qint64 id = addContact(m_colleagues, QStringLiteral("刘洋"), QString(), QVariant());
    QVERIFY(m_folder->database().execute(QStringLiteral("Update TLinker set Address=? where ID=?"), {address, id}));

    AddressBookEditor editor(m_colleagues, id);
    QVERIFY(editor.loadRecord());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));

    QCOMPARE(editor.m_addressEdit->text(), address);
    QCOMPARE(editor.m_addressEdit->cursorPosition(), 0);
}

void TestAddressBook::tickedBirthdayIsStored()
{
    AddressBookEditor editor(m_colleagues, -1);
    QVERIFY(editor.loadRecord());
    QVERIFY(!editor.m_birthdayCheck->isChecked());
    QCOMPARE(editor.m_birthdayEdit->date(), QDate(2024, 3, 15)); // today, not shown
    QCOMPARE(editor.m_birthdayEdit->text(), QStringLiteral(" "));

    editor.m_birthdayEdit->setDate(QDate(1990, 7, 27)); // a date picked ticks the box
    QVERIFY(editor.m_birthdayCheck->isChecked());
    QCOMPARE(editor.m_birthdayEdit->text(), QStringLiteral("1990-07-27"));
    editor.m_nameEdit->setText(QStringLiteral("周婷"));
    QVERIFY(editor.saveRecord());
    const qint64 id = dm().queryValue(QStringLiteral("Select ID from TLinker where Linker='周婷'")).toLongLong();
    QCOMPARE(stored(QStringLiteral("Birthday"), id), QStringLiteral("1990-07-27"));

    AddressBookEditor again(m_colleagues, id);
    QVERIFY(again.loadRecord());
    again.m_birthdayCheck->setChecked(false);
    QCOMPARE(again.m_birthdayEdit->text(), QStringLiteral(" "));
    QVERIFY(again.saveRecord());
    QCOMPARE(stored(QStringLiteral("Birthday"), id), QStringLiteral("1899-12-30"));
}

void TestAddressBook::jobProposalsOncePerValue()
{
    addContact(m_colleagues, QStringLiteral("赵磊"), QVariant()); // NULL: offered as the empty job too
    addContact(m_colleagues, QStringLiteral("孙浩"), QStringLiteral("经理"));
    const qint64 id = addContact(m_colleagues, QStringLiteral("吴刚"), QStringLiteral("律师"));

    AddressBookEditor editor(m_colleagues, id);
    QVERIFY(editor.loadRecord());

    QStringList proposals;
    for (int i = 0; i < editor.m_jobCombo->count(); ++i)
        proposals.append(editor.m_jobCombo->itemText(i));
    QCOMPARE(proposals, (QStringList{"", "会计", "经理", "律师"}));
    QCOMPARE(editor.m_jobCombo->currentText(), QStringLiteral("律师"));
}

void TestAddressBook::nameIsRequired()
{
    AddressBookEditor editor(m_friends, -1);
    QVERIFY(editor.loadRecord());
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.m_officePhoneEdit->setFocus();

    editor.m_saveButton->click();

    QCOMPARE(m_prompter->shown(), QStringList{"请输入联系人的姓名！"});
    QVERIFY(editor.isVisible());
    QCOMPARE(editor.focusWidget(), editor.m_nameEdit); // where the focus goes as the window opens
    QCOMPARE(dm().queryValue(QStringLiteral("Select count(*) from TLinker")), QStringLiteral("3"));
}

void TestAddressBook::enterMovesThroughTheForm()
{
    AddressBookEditor editor(m_friends, -1);
    QVERIFY(editor.loadRecord());
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    const QList<QWidget *> expected{editor.m_nameEdit,    editor.m_jobCombo,      editor.m_officePhoneEdit,     editor.m_mobilePhoneEdit,
                                    editor.m_homePhoneEdit, editor.m_faxEdit,    editor.m_qqEdit,       editor.m_aliAccountEdit,
                                    editor.m_taobaoAccountEdit,      editor.m_emailEdit,   editor.m_alipayAccountEdit,      editor.m_birthdayCheck,
                                    editor.m_birthdayEdit,  editor.m_addressEdit, editor.m_hobbiesEdit,    editor.m_notesEdit};

    // The text box inside a drop-down or a date picker counts as its field.
    auto fieldOf = [&expected](QWidget *widget) {
        while (widget && !expected.contains(widget))
            widget = widget->parentWidget();
        return widget;
    };
    QList<QWidget *> visited;
    for (int i = 0; i < expected.size(); ++i) {
        QWidget *focused = QApplication::focusWidget();
        visited.append(fieldOf(focused));
        QTest::keyClick(focused, Qt::Key_Return);
    }

    QCOMPARE(visited, expected);
}

void TestAddressBook::fieldsKeepTheirByteLimits_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("bytes");
    QTest::newRow("name") << "nameEdit" << 20;
    QTest::newRow("job") << "jobCombo" << 20;
    QTest::newRow("QQ") << "qqEdit" << 20;
    QTest::newRow("e-mail") << "emailEdit" << 30;
    QTest::newRow("address") << "addressEdit" << 50;
    QTest::newRow("hobbies") << "hobbiesEdit" << 50;
    QTest::newRow("other") << "notesEdit" << 200;
}

void TestAddressBook::fieldsKeepTheirByteLimits()
{
    QFETCH(QString, field);
    QFETCH(int, bytes);
    AddressBookEditor editor(m_friends, -1);
    QVERIFY(editor.loadRecord());
    const QMap<QString, QWidget *> fields{
        {"nameEdit", editor.m_nameEdit},   {"jobCombo", editor.m_jobCombo->lineEdit()},
        {"qqEdit", editor.m_qqEdit},       {"emailEdit", editor.m_emailEdit},
        {"addressEdit", editor.m_addressEdit}, {"hobbiesEdit", editor.m_hobbiesEdit},
        {"notesEdit", editor.m_notesEdit}};
    QWidget *input = fields.value(field);
    // One byte typed, then Chinese characters of two from the input method: the last one
    // would be cut in half.
    QTest::keyClicks(input, QStringLiteral("a"));
    QInputMethodEvent commit;
    commit.setCommitString(QString(bytes, QChar(0x4E2D)));
    QCoreApplication::sendEvent(input, &commit);
    QCoreApplication::processEvents();

    const QString text = field == QLatin1String("notesEdit") ? editor.m_notesEdit->toPlainText()
                         : field == QLatin1String("jobCombo") ? editor.m_jobCombo->currentText()
                                                           : static_cast<QLineEdit *>(input)->text();
    QCOMPARE(text, QStringLiteral("a") + QString((bytes - 1) / 2, QChar(0x4E2D)));
}

void TestAddressBook::quotesAndPercentStoredAsTyped()
{
    AddressBookEditor editor(m_friends, -1);
    QVERIFY(editor.loadRecord());
    editor.m_nameEdit->setText(QStringLiteral("O'Neil"));
    editor.m_hobbiesEdit->setText(QStringLiteral("100% '茶'_"));
    editor.m_notesEdit->setPlainText(QStringLiteral("第一行\n第二行"));
    QVERIFY(editor.saveRecord());

    const qint64 id = dm().queryValue(QStringLiteral("Select max(ID) from TLinker")).toLongLong();
    QCOMPARE(stored(QStringLiteral("Linker"), id), QStringLiteral("O'Neil"));
    QCOMPARE(stored(QStringLiteral("Fancy"), id), QStringLiteral("100% '茶'_"));
    QCOMPARE(stored(QStringLiteral("Desp"), id), QStringLiteral("第一行\n第二行"));
    QCOMPARE(stored(QStringLiteral("ClassID"), id), QString::number(m_friends));
}

void TestAddressBook::contactRemovedMeanwhileIsStoredAgain()
{
    const qint64 id = addContact(m_colleagues, QStringLiteral("杨帆"), QStringLiteral("自由职业"));
    AddressBookEditor editor(m_colleagues, id);
    QVERIFY(editor.loadRecord());
    QVERIFY(dm().execute(QStringLiteral("Delete from TLinker where ID=?"), {id}));

    editor.m_mobilePhoneEdit->setText(QStringLiteral("13800000105"));
    QVERIFY(editor.saveRecord());

    QCOMPARE(dm().queryValue(QStringLiteral("Select count(*) from TLinker where Linker='杨帆' and ClassID=? "
                                              "and MobileCode='13800000105' and Job='自由职业'"),
                               {m_colleagues}),
             QStringLiteral("1"));
}

void TestAddressBook::failedSaveKeepsEditorOpen()
{
    QVERIFY(dm().execute(QStringLiteral("Create trigger RefuseInsert before insert on TLinker "
                                        "begin select raise(abort, 'read only'); end")));
    AddressBookEditor editor(m_friends, -1);
    QVERIFY(editor.loadRecord());
    editor.show();
    editor.m_nameEdit->setText(QStringLiteral("陈磊"));

    editor.m_saveButton->click();

    QCOMPARE(m_prompter->shown(), QStringList{"数据存储请求出现错误,保存失败！"});
    QVERIFY(editor.isVisible());
    QVERIFY(!editor.saved());
    QVERIFY(dm().execute(QStringLiteral("Drop trigger RefuseInsert")));
    editor.m_saveButton->click(); // typed values are still there to be stored
    QVERIFY(editor.saved());
    QCOMPARE(dm().queryValue(QStringLiteral("Select count(*) from TLinker where Linker='陈磊'")), QStringLiteral("1"));
}

void TestAddressBook::unreadableCategoriesAreReported()
{
    QVERIFY(dm().execute(QStringLiteral("Drop table TLinkerClass")));

    QVERIFY(!m_tab->loadCategories());

    QCOMPARE(m_prompter->shown(), QStringList{"读取联系人分类信息发生错误！"});
    QCOMPARE(m_tab->contacts().count(), 0);
}

void TestAddressBook::webChat_data()
{
    QTest::addColumn<QString>("qq");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QStringList>("calls");

    const QString endpoint = QStringLiteral("url http://wpa.qq.com/msgrd?V=1&Uin=");
    QTest::newRow("button") << "12345" << "Zhang" << false
                            << QStringList{endpoint + "12345&Site=Zhang&Menu=yes"};
    QTest::newRow("double click") << "12345" << "Zhang" << true
                                  << QStringList{endpoint + "12345&Site=Zhang&Menu=yes"};
    QTest::newRow("name encoded") << "10003001" << "张 &#三" << false
                                  << QStringList{endpoint + "10003001&Site=%E5%BC%A0%20%26%23%E4%B8%89&Menu=yes"};
    QTest::newRow("no number") << "" << "Zhang" << false << QStringList{};
}

void TestAddressBook::webChat()
{
    QFETCH(QString, qq);
    QFETCH(QString, name);
    QFETCH(bool, doubleClick);
    QFETCH(QStringList, calls);
    AddressBookEditor editor(m_friends, -1);
    QVERIFY(editor.loadRecord());
    editor.m_qqEdit->setText(qq);
    editor.m_nameEdit->setText(name);

    if (doubleClick)
        QTest::mouseDClick(editor.m_qqEdit, Qt::LeftButton);
    else
        editor.m_webChatButton->click();

    QCOMPARE(editor.m_webChatButton->text(), QStringLiteral("QQ")); // as the client editors read

    QCOMPARE(m_shell->calls(), calls);
}

PANDREL_TEST_MAIN(TestAddressBook)
#include "tst_addressbook.moc"
