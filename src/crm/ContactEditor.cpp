#include "crm/ContactEditor.h"

#include "crm/EditorHelpers.h"
#include "data/DbDates.h"
#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "util/EditorBoxes.h"
#include "util/EnterAsTab.h"
#include "util/Gbk.h"
#include "util/ShellLaunch.h"
#include "util/WebChat.h"
#include "widgets/ByteLimitedTextEdit.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

ContactEditor::ContactEditor(qint64 clientId, QWidget *parent)
    : QDialog(parent)
    , m_nameEdit(new QLineEdit)
    , m_mainContactCombo(new QComboBox)
    , m_departmentCombo(new QComboBox)
    , m_jobCombo(new QComboBox)
    , m_officePhoneEdit(new QLineEdit)
    , m_mobilePhoneEdit(new QLineEdit)
    , m_homePhoneEdit(new QLineEdit)
    , m_faxEdit(new QLineEdit)
    , m_qqEdit(new QLineEdit)
    , m_webChatButton(new QToolButton)
    , m_aliAccountEdit(new QLineEdit)
    , m_taobaoAccountEdit(new QLineEdit)
    , m_emailEdit(new QLineEdit)
    , m_alipayAccountEdit(new QLineEdit)
    , m_birthdayEdit(new QDateEdit)
    , m_addressEdit(new QLineEdit)
    , m_hobbiesEdit(new QLineEdit)
    , m_notesEdit(new ByteLimitedTextEdit(200))
    , m_saveButton(new QPushButton(tr("保存(&S)")))
    , m_cancelButton(new QPushButton(tr("取消(&X)")))
    , m_clientId(clientId)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFields(), 1);
    layout->addLayout(editorButtons(this, m_saveButton, m_cancelButton, [this] { return saveRecord(); }));
    resize(560, 420);
    setTabChain({m_nameEdit, m_mainContactCombo, m_departmentCombo, m_jobCombo, m_officePhoneEdit, m_mobilePhoneEdit, m_homePhoneEdit, m_faxEdit, m_qqEdit, m_webChatButton,
                 m_aliAccountEdit, m_taobaoAccountEdit, m_emailEdit, m_alipayAccountEdit, m_addressEdit, m_hobbiesEdit, m_notesEdit, m_saveButton, m_cancelButton});

    connect(m_webChatButton, &QToolButton::clicked, this, &ContactEditor::openWebChat);
    m_qqEdit->installEventFilter(this);
    new EnterAsTabFilter(this);
    m_nameEdit->setFocus();
}

QWidget *ContactEditor::buildFields()
{
    for (QLineEdit *edit : {m_nameEdit, m_officePhoneEdit, m_mobilePhoneEdit, m_homePhoneEdit, m_faxEdit, m_qqEdit, m_aliAccountEdit, m_taobaoAccountEdit, m_alipayAccountEdit})
        setGbkByteLimit(edit, 20);
    setGbkByteLimit(m_emailEdit, 30);
    setGbkByteLimit(m_addressEdit, 50);
    setGbkByteLimit(m_hobbiesEdit, 50);
    m_notesEdit->setTabChangesFocus(true);
    m_mainContactCombo->addItems({tr("否"), tr("是")});
    for (QComboBox *list : {m_departmentCombo, m_jobCombo}) {
        list->setEditable(true);
        setGbkByteLimit(list, 20);
    }
    m_webChatButton->setText(QStringLiteral("QQ"));
    m_webChatButton->setToolTip(tr("QQ交谈"));
    // The birthday is kept but not edited here.
    m_birthdayEdit->setVisible(false);

    auto *qqRow = new QWidget;
    auto *qqLayout = new QHBoxLayout(qqRow);
    qqLayout->setContentsMargins(0, 0, 0, 0);
    qqLayout->setSpacing(2);
    qqLayout->addWidget(m_qqEdit, 1);
    qqLayout->addWidget(m_webChatButton);
    qqRow->setFocusProxy(m_qqEdit);

    const QList<std::pair<QString, QWidget *>> rows{
        {tr("姓名"), m_nameEdit},         {tr("主联系人"), m_mainContactCombo},   {tr("部门"), m_departmentCombo},
        {tr("职位"), m_jobCombo},           {tr("办公电话"), m_officePhoneEdit},    {tr("移动电话"), m_mobilePhoneEdit},
        {tr("家用电话"), m_homePhoneEdit}, {tr("传真"), m_faxEdit},         {tr("QQ  号码"), qqRow},
        {tr("阿里帐号"), m_aliAccountEdit},       {tr("淘宝帐号"), m_taobaoAccountEdit},      {tr("电子邮件"), m_emailEdit},
        {tr("支付宝"), m_alipayAccountEdit},
    };
    auto *fields = new QWidget;
    auto *grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < rows.size(); ++i) {
        grid->addWidget(new QLabel(rows.at(i).first), i / 2, (i % 2) * 2);
        grid->addWidget(rows.at(i).second, i / 2, (i % 2) * 2 + 1);
    }
    int row = int(rows.size() + 1) / 2;
    grid->addWidget(m_birthdayEdit, row - 1, 2, 1, 2);
    grid->addWidget(new QLabel(tr("详细地址")), row, 0);
    grid->addWidget(m_addressEdit, row++, 1, 1, 3);
    grid->addWidget(new QLabel(tr("个人嗜好")), row, 0);
    grid->addWidget(m_hobbiesEdit, row++, 1, 1, 3);
    grid->addWidget(new QLabel(tr("其他信息")), row, 0, Qt::AlignTop);
    grid->addWidget(m_notesEdit, row, 1, 1, 3);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    return fields;
}

bool ContactEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_qqEdit && event->type() == QEvent::MouseButtonDblClick) {
        openWebChat();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ContactEditor::fillPickLists()
{
    offerUsedValues(m_departmentCombo, QStringLiteral("TCLinker"), QStringLiteral("Depart"));
    offerUsedValues(m_jobCombo, QStringLiteral("TCLinker"), QStringLiteral("Job"));
}

void ContactEditor::copyClientNumbers()
{
    // A missing or unreadable client leaves the boxes empty: they are only a head start.
    Recordset client;
    if (!client.open(QStringLiteral("Select * from TClient where ID=?"), {m_clientId}) || client.isEmpty())
        return;
    m_officePhoneEdit->setText(client.text(QStringLiteral("Tele")));
    m_mobilePhoneEdit->setText(client.text(QStringLiteral("MobileCode")));
    m_faxEdit->setText(client.text(QStringLiteral("Fax")));
    m_emailEdit->setText(client.text(QStringLiteral("EMail")));
    m_addressEdit->setText(client.text(QStringLiteral("Address")));
}

bool ContactEditor::loadRecord(qint64 id)
{
    if (!m_contact.open(QStringLiteral("Select * from TCLinker  where ID=?"), {id})) {
        platform::prompter().message(tr("读取数据发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    if (m_contact.isEmpty()) {
        setWindowTitle(tr("新增联系人资料"));
        m_mainContactCombo->setCurrentIndex(1);
        m_birthdayEdit->setDate(platform::clock().now().date());
        fillPickLists();
        copyClientNumbers();
        m_contact.append();
        return true;
    }
    setWindowTitle(tr("修改/查看联系人资料"));
    const Recordset &row = m_contact;
    auto text = [&row](const char *column) { return row.text(QLatin1String(column)); };
    m_nameEdit->setText(text("Linker"));
    m_mainContactCombo->setCurrentIndex(m_contact.integer(QStringLiteral("IsMain")) == 1 ? 1 : 0);
    m_departmentCombo->setEditText(text("Depart"));
    m_jobCombo->setEditText(text("Job"));
    m_officePhoneEdit->setText(text("Tele"));
    m_mobilePhoneEdit->setText(text("MobileCode"));
    m_homePhoneEdit->setText(text("HomeTele"));
    m_faxEdit->setText(text("Fax"));
    m_qqEdit->setText(text("QICQ"));
    m_aliAccountEdit->setText(text("ALWW"));
    m_taobaoAccountEdit->setText(text("WW"));
    m_emailEdit->setText(text("EMail"));
    m_alipayAccountEdit->setText(text("ZFBCode"));
    const QVariant birthday = m_contact.value(QStringLiteral("Birthday"));
    m_birthdayEdit->setDate(birthday.isNull() ? dbdates::zeroDate() : dbdates::fromValue(birthday).date());
    m_addressEdit->setText(text("Address"));
    m_hobbiesEdit->setText(text("Fancy"));
    m_notesEdit->setPlainText(text("Desp"));
    fillPickLists();
    showStartOfBoxes(this);
    return true;
}

void ContactEditor::openWebChat()
{
    openInBrowser(webChatAddress(m_qqEdit->text(), m_nameEdit->text()));
}

bool ContactEditor::saveRecord()
{
    if (m_nameEdit->text().isEmpty()) {
        platform::prompter().message(tr("请输入联系人的姓名！"), platform::Prompter::Icon::Warning);
        m_nameEdit->setFocus();
        return false;
    }
    const bool adding = m_contact.state() == Recordset::State::Insert;
    m_contact.edit();
    const bool written = (!adding || m_contact.set(QStringLiteral("ClientID"), m_clientId))
                         && setColumns(m_contact, {{"Linker", m_nameEdit->text()},
                                              {"IsMain", m_mainContactCombo->currentIndex()},
                                              {"Depart", m_departmentCombo->currentText()},
                                              {"Job", m_jobCombo->currentText()},
                                              {"Tele", m_officePhoneEdit->text()},
                                              {"MobileCode", m_mobilePhoneEdit->text()},
                                              {"HomeTele", m_homePhoneEdit->text()},
                                              {"Fax", m_faxEdit->text()},
                                              {"QICQ", m_qqEdit->text()},
                                              {"WW", m_taobaoAccountEdit->text()},
                                              {"ALWW", m_aliAccountEdit->text()},
                                              {"ZFBCode", m_alipayAccountEdit->text()},
                                              {"EMail", m_emailEdit->text()},
                                              {"Birthday", dbdates::toText(m_birthdayEdit->date())},
                                              {"Address", m_addressEdit->text()},
                                              {"Fancy", m_hobbiesEdit->text()},
                                              {"Desp", m_notesEdit->toPlainText()}});
    if (written && m_contact.post())
        return true;
    platform::prompter().message(tr("数据存储请求出现错误,保存失败！"), platform::Prompter::Icon::Error);
    return false;
}

bool editContact(qint64 clientId, qint64 id)
{
    ContactEditor window(clientId);
    if (!window.loadRecord(id))
        return false;
    platform::execModal(window);
    return window.saved();
}
