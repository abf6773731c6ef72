#include "crm/ClientEditor.h"

#include "crm/ClientCategoryDialog.h"
#include "crm/EditorHelpers.h"
#include "data/DbDates.h"
#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "util/EditorBoxes.h"
#include "util/EnterAsTab.h"
#include "util/Gbk.h"
#include "util/PinyinInitials.h"
#include "util/ShellLaunch.h"
#include "util/WebChat.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kNotesBytes = 100;

// A text box and the column it shows, with the column's width in bytes.
struct TextField {
    QLineEdit *edit;
    const char *column;
    int bytes;
};

} // namespace

ClientEditor::ClientEditor(const QString &categoryCode, const QString &categoryName, QWidget *parent)
    : QDialog(parent)
    , m_nameEdit(new QLineEdit)
    , m_codeEdit(new QLineEdit)
    , m_typeCombo(new QComboBox)
    , m_sourceCombo(new QComboBox)
    , m_mobilePhoneEdit(new QLineEdit)
    , m_addressEdit(new QLineEdit)
    , m_postCodeEdit(new QLineEdit)
    , m_phoneEdit(new QLineEdit)
    , m_faxEdit(new QLineEdit)
    , m_emailEdit(new QLineEdit)
    , m_qqEdit(new QLineEdit)
    , m_webChatButton(new QToolButton)
    , m_aliAccountEdit(new QLineEdit)
    , m_taobaoAccountEdit(new QLineEdit)
    , m_alipayAccountEdit(new QLineEdit)
    , m_homePageEdit(new QLineEdit)
    , m_taxNumberEdit(new QLineEdit)
    , m_bankEdit(new QLineEdit)
    , m_bankAccountEdit(new QLineEdit)
    , m_recordTimeEdit(new QDateTimeEdit)
    , m_categoryEdit(new QLineEdit)
    , m_chooseCategoryButton(new QToolButton)
    , m_notesEdit(new QPlainTextEdit)
    , m_saveButton(new QPushButton(tr("保存(&S)")))
    , m_cancelButton(new QPushButton(tr("取消(&X)")))
    , m_categoryCode(categoryCode)
{
    setWindowTitle(tr("新增/修改客户资料"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_categoryEdit->setText(categoryName);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFields(), 1);
    layout->addLayout(editorButtons(this, m_saveButton, m_cancelButton, [this] { return saveRecord(); }));
    resize(620, 520);
    setTabChain({m_nameEdit, m_codeEdit, m_typeCombo, m_sourceCombo, m_mobilePhoneEdit, m_addressEdit, m_postCodeEdit, m_phoneEdit, m_faxEdit,
                 m_emailEdit, m_qqEdit, m_webChatButton, m_aliAccountEdit, m_taobaoAccountEdit, m_alipayAccountEdit, m_homePageEdit, m_taxNumberEdit, m_bankEdit, m_bankAccountEdit, m_recordTimeEdit,
                 m_categoryEdit, m_chooseCategoryButton, m_notesEdit, m_saveButton, m_cancelButton});

    connect(m_webChatButton, &QToolButton::clicked, this, &ClientEditor::openWebChat);
    connect(m_chooseCategoryButton, &QToolButton::clicked, this, &ClientEditor::chooseCategory);
    connect(m_nameEdit, &QLineEdit::editingFinished, this, &ClientEditor::defaultCodeFromName);
    m_categoryEdit->installEventFilter(this);
    m_nameEdit->installEventFilter(this);
    new EnterAsTabFilter(this);
    m_nameEdit->setFocus();
}

QWidget *ClientEditor::buildFields()
{
    const TextField limits[] = {
        {m_nameEdit, "ClientName", 50},   {m_codeEdit, "ClientCode", 30},     {m_mobilePhoneEdit, "MobileCode", 30},
        {m_addressEdit, "Address", 50},   {m_postCodeEdit, "PostCode", 10},   {m_phoneEdit, "Tele", 30},
        {m_faxEdit, "Fax", 20},           {m_emailEdit, "EMail", 20},         {m_qqEdit, "QICQ", 20},
        {m_aliAccountEdit, "ALWW", 20},           {m_taobaoAccountEdit, "WW", 20},               {m_alipayAccountEdit, "ZFBCode", 20},
        {m_homePageEdit, "HomePage", 30}, {m_taxNumberEdit, "TaxCode", 30},       {m_bankEdit, "Bank", 40},
        {m_bankAccountEdit, "BankNo", 40},
    };
    for (const TextField &field : limits)
        setGbkByteLimit(field.edit, field.bytes);
    m_codeEdit->setToolTip(tr("缺省为客户名称的拼音首字母简写"));
    m_typeCombo->setEditable(true);
    m_typeCombo->addItems({tr("其他客户"), tr("潜在客户"), tr("意向客户"), tr("正式客户")});
    setGbkByteLimit(m_typeCombo, 20);
    m_sourceCombo->setEditable(true);
    m_sourceCombo->addItems({tr("其他方式"), tr("电话联系"), tr("客户推荐"), tr("网络搜索")});
    setGbkByteLimit(m_sourceCombo, 20);
    m_webChatButton->setText(QStringLiteral("QQ"));
    m_webChatButton->setToolTip(tr("QQ交谈"));
    m_recordTimeEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    m_recordTimeEdit->setCalendarPopup(true);
    m_categoryEdit->setReadOnly(true);
    m_chooseCategoryButton->setText(QStringLiteral("…"));
    m_chooseCategoryButton->setToolTip(tr("选择客户分类"));
    setGbkByteLimit(m_notesEdit, kNotesBytes);
    m_notesEdit->setTabChangesFocus(true);

    auto withButton = [](QWidget *box, QToolButton *button) {
        auto *row = new QWidget;
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(2);
        layout->addWidget(box, 1);
        layout->addWidget(button);
        row->setFocusProxy(box);
        return row;
    };
    const QList<std::pair<QString, QWidget *>> rows{
        {tr("客户名称"), m_nameEdit},     {tr("客户简码"), m_codeEdit},
        {tr("客户类型"), m_typeCombo},      {tr("客户来源"), m_sourceCombo},
        {tr("手机号码"), m_mobilePhoneEdit}, {tr("联系地址"), m_addressEdit},
        {tr("邮政编码"), m_postCodeEdit}, {tr("联系电话"), m_phoneEdit},
        {tr("传真"), m_faxEdit},          {tr("电子邮件"), m_emailEdit},
        {tr("QQ  号码"), withButton(m_qqEdit, m_webChatButton)}, {tr("阿里帐号"), m_aliAccountEdit},
        {tr("淘宝帐号"), m_taobaoAccountEdit},       {tr("支付宝"), m_alipayAccountEdit},
        {tr("联系网址"), m_homePageEdit}, {tr("税号"), m_taxNumberEdit},
        {tr("开户银行"), m_bankEdit},     {tr("银行帐号"), m_bankAccountEdit},
        {tr("录入日期"), m_recordTimeEdit},        {tr("客户分类"), withButton(m_categoryEdit, m_chooseCategoryButton)},
    };
    auto *fields = new QWidget;
    auto *grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < rows.size(); ++i) {
        grid->addWidget(new QLabel(rows.at(i).first), i / 2, (i % 2) * 2);
        grid->addWidget(rows.at(i).second, i / 2, (i % 2) * 2 + 1);
    }
    const int last = int(rows.size() + 1) / 2;
    grid->addWidget(new QLabel(tr("其他信息")), last, 0, Qt::AlignTop);
    grid->addWidget(m_notesEdit, last, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(last, 1);

    return fields;
}

ClientEditor::~ClientEditor()
{
    // The name box loses the focus while the window is taken down, after this part of it is
    // gone: it must no longer call back into it.
    m_nameEdit->disconnect(this);
    m_nameEdit->removeEventFilter(this);
}

bool ClientEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the name box refills an emptied code even when the name itself was not changed,
    // which editingFinished does not report.
    if (watched == m_nameEdit && event->type() == QEvent::FocusOut)
        defaultCodeFromName();
    if (watched == m_categoryEdit && event->type() == QEvent::MouseButtonDblClick) {
        chooseCategory();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool ClientEditor::loadRecord(qint64 id)
{
    if (!m_client.open(QStringLiteral("Select * from TClient Where ID=?"), {id})) {
        platform::prompter().message(tr("读取本地数据发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    if (m_client.isEmpty()) {
        setWindowTitle(tr("新增客户纪录"));
        m_recordTimeEdit->setDateTime(platform::clock().now());
        m_typeCombo->setEditText(QString());
        m_sourceCombo->setEditText(QString());
        m_homePageEdit->setText(QStringLiteral("http://"));
        m_client.append();
        return true;
    }
    setWindowTitle(tr("修改客户记录"));
    const Recordset &row = m_client;
    auto text = [&row](const char *column) { return row.text(QLatin1String(column)); };
    m_nameEdit->setText(text("ClientName"));
    m_codeEdit->setText(text("ClientCode"));
    m_typeCombo->setEditText(text("ClientType"));
    m_sourceCombo->setEditText(text("ClientComeFrom"));
    m_mobilePhoneEdit->setText(text("MobileCode"));
    m_addressEdit->setText(text("Address"));
    m_postCodeEdit->setText(text("PostCode"));
    m_phoneEdit->setText(text("Tele"));
    m_faxEdit->setText(text("Fax"));
    m_emailEdit->setText(text("EMail"));
    m_qqEdit->setText(text("QICQ"));
    m_aliAccountEdit->setText(text("ALWW"));
    m_taobaoAccountEdit->setText(text("WW"));
    m_alipayAccountEdit->setText(text("ZFBCode"));
    m_homePageEdit->setText(text("HomePage"));
    m_taxNumberEdit->setText(text("TaxCode"));
    m_bankEdit->setText(text("Bank"));
    m_bankAccountEdit->setText(text("BankNo"));
    const QVariant recorded = m_client.value(QStringLiteral("RecTime"));
    m_recordTimeEdit->setDateTime(dbdates::isEmpty(recorded) ? QDateTime(dbdates::zeroDateTime()) : dbdates::fromValue(recorded));
    m_categoryEdit->setText(text("TypeName"));
    m_categoryCode = text("TypeCode");
    m_notesEdit->setPlainText(text("Desp"));
    showStartOfBoxes(this);
    return true;
}

void ClientEditor::defaultCodeFromName()
{
    if (m_codeEdit->text().isEmpty())
        m_codeEdit->setText(gbkTruncate(pinyinInitials(m_nameEdit->text()), 30));
}

void ClientEditor::chooseCategory()
{
    if (const std::optional<GoodsClass> chosen = pickClientCategory()) {
        m_categoryCode = chosen->typeCode;
        m_categoryEdit->setText(chosen->typeName);
    }
}

void ClientEditor::openWebChat()
{
    openInBrowser(webChatAddress(m_qqEdit->text(), m_nameEdit->text()));
}

bool ClientEditor::saveRecord()
{
    if (m_nameEdit->text().isEmpty()) {
        platform::prompter().message(tr("客户名称必须输入！"), platform::Prompter::Icon::Warning);
        m_nameEdit->setFocus();
        return false;
    }
    if (m_categoryCode.isEmpty()) {
        platform::prompter().message(tr("客户分类尚未选择！"), platform::Prompter::Icon::Warning);
        return false;
    }
    defaultCodeFromName(); // saved with Alt+S from the name box, which was never left
    m_client.edit();
    const bool written = setColumns(m_client, {{"ClientCode", m_codeEdit->text()},
                                              {"ClientName", m_nameEdit->text()},
                                              {"ClientType", m_typeCombo->currentText()},
                                              {"ClientComeFrom", m_sourceCombo->currentText()},
                                              {"Address", m_addressEdit->text()},
                                              {"PostCode", m_postCodeEdit->text()},
                                              {"Tele", m_phoneEdit->text()},
                                              {"Fax", m_faxEdit->text()},
                                              {"HomePage", m_homePageEdit->text()},
                                              {"EMail", m_emailEdit->text()},
                                              {"TaxCode", m_taxNumberEdit->text()},
                                              {"Bank", m_bankEdit->text()},
                                              {"BankNo", m_bankAccountEdit->text()},
                                              {"Desp", m_notesEdit->toPlainText()},
                                              {"RecTime", m_recordTimeEdit->dateTime()},
                                              {"TypeCode", m_categoryCode},
                                              {"MobileCode", m_mobilePhoneEdit->text()},
                                              {"TypeName", gbkTruncate(m_categoryEdit->text(), 40)},
                                              {"QICQ", m_qqEdit->text()},
                                              {"WW", m_taobaoAccountEdit->text()},
                                              {"ALWW", m_aliAccountEdit->text()},
                                              {"ZFBCode", m_alipayAccountEdit->text()}})
                         && m_client.post();
    if (!written) {
        platform::prompter().message(tr("存储数据发生错误!"), platform::Prompter::Icon::Error);
        return false;
    }
    m_savedId = m_client.integer(QStringLiteral("ID"));
    return true;
}

bool editClient(const QString &categoryCode, const QString &categoryName, qint64 id, qint64 *savedId)
{
    ClientEditor window(categoryCode, categoryName);
    if (!window.loadRecord(id))
        return false;
    platform::execModal(window);
    if (savedId)
        *savedId = window.savedId();
    return window.saved();
}
