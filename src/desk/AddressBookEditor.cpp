#include "desk/AddressBookEditor.h"

#include "data/DbDates.h"
#include "data/Database.h"
#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "util/EditorBoxes.h"
#include "util/EnterAsTab.h"
#include "util/Gbk.h"
#include "util/ShellLaunch.h"
#include "util/WebChat.h"
#include "widgets/ByteLimitedTextEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kShortFieldBytes = 20;

// A date picker that shows a blank instead of its date while no birthday is set; the date
// it keeps is offered again when the birthday is ticked.
class BirthdayPicker final : public QDateEdit
{
public:
    BirthdayPicker()
    {
        setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        setCalendarPopup(true);
    }

    void setBlank(bool blank)
    {
        m_blank = blank;
        lineEdit()->setText(textFromDateTime(dateTime()));
        lineEdit()->setReadOnly(blank); // a blank holds nothing to edit; the calendar still picks
    }

protected:
    QString textFromDateTime(const QDateTime &value) const override
    {
        return m_blank ? QStringLiteral(" ") : QDateEdit::textFromDateTime(value);
    }

private:
    bool m_blank = false;
};

} // namespace

bool birthdayIsSet(const QVariant &stored)
{
    return !dbdates::isEmpty(stored);
}

QString birthdayText(const QDate &date, bool set)
{
    return dbdates::toText(set ? date : dbdates::zeroDate());
}

AddressBookEditor::AddressBookEditor(qint64 classId, qint64 id, QWidget *parent)
    : QDialog(parent)
    , m_nameEdit(new QLineEdit)
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
    , m_birthdayCheck(new QCheckBox)
    , m_birthdayEdit(new BirthdayPicker)
    , m_addressEdit(new QLineEdit)
    , m_hobbiesEdit(new QLineEdit)
    , m_notesEdit(new ByteLimitedTextEdit(200))
    , m_saveButton(new QPushButton(tr("保存(&S)")))
    , m_cancelButton(new QPushButton(tr("取消(&X)")))
    , m_categoryId(classId)
    , m_id(id)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buildFields());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Across each row, then down: the order of the form.
    QWidget *order[] = {m_nameEdit, m_jobCombo, m_officePhoneEdit, m_mobilePhoneEdit, m_homePhoneEdit, m_faxEdit, m_qqEdit,
                        m_aliAccountEdit, m_taobaoAccountEdit, m_emailEdit, m_alipayAccountEdit, m_birthdayCheck, m_birthdayEdit, m_addressEdit,
                        m_hobbiesEdit, m_notesEdit, m_saveButton, m_cancelButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    new EnterAsTabFilter(this);

    connect(m_saveButton, &QPushButton::clicked, this, [this] {
        if (saveRecord()) {
            m_saved = true;
            accept();
        }
    });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_webChatButton, &QToolButton::clicked, this, &AddressBookEditor::openWebChat);
    connect(m_birthdayCheck, &QCheckBox::toggled, this, &AddressBookEditor::applyBirthdayDisplay);
    // Picking a date from the calendar sets the birthday, as with any date picker with a tick box.
    connect(m_birthdayEdit, &QDateEdit::dateChanged, m_birthdayCheck, [this] { m_birthdayCheck->setChecked(true); });
    m_qqEdit->installEventFilter(this);
    m_nameEdit->setFocus();
}

QLayout *AddressBookEditor::buildFields()
{
    for (QLineEdit *edit : {m_nameEdit, m_officePhoneEdit, m_mobilePhoneEdit, m_homePhoneEdit, m_faxEdit, m_qqEdit, m_aliAccountEdit, m_taobaoAccountEdit, m_alipayAccountEdit})
        setGbkByteLimit(edit, kShortFieldBytes);
    setGbkByteLimit(m_emailEdit, 30);
    setGbkByteLimit(m_addressEdit, 50);
    setGbkByteLimit(m_hobbiesEdit, 50);
    m_jobCombo->setEditable(true);
    m_jobCombo->setInsertPolicy(QComboBox::NoInsert);
    setGbkByteLimit(m_jobCombo, kShortFieldBytes);
    for (QPushButton *button : {m_saveButton, m_cancelButton})
        button->setAutoDefault(false);
    // Captioned as in the client register's editors, so the same button reads the same.
    m_webChatButton->setText(QStringLiteral("QQ"));
    m_webChatButton->setToolTip(tr("QQ交谈"));
    m_webChatButton->setFocusPolicy(Qt::NoFocus);
    m_notesEdit->setTabChangesFocus(true);
    m_notesEdit->setFixedHeight(m_notesEdit->fontMetrics().lineSpacing() * 4 + 12);

    auto *qq = new QHBoxLayout;
    qq->setSpacing(2);
    qq->addWidget(m_qqEdit, 1);
    qq->addWidget(m_webChatButton);
    auto *birthday = new QHBoxLayout;
    birthday->setSpacing(2);
    birthday->addWidget(m_birthdayCheck);
    birthday->addWidget(m_birthdayEdit, 1);

    // Two fields a row, then the long ones across the whole width.
    struct Field {
        QString label;
        QWidget *widget = nullptr;
        QLayout *layout = nullptr;
    };
    const Field paired[] = {{tr("姓名"), m_nameEdit},           {tr("职位"), m_jobCombo},
                            {tr("办公电话"), m_officePhoneEdit},       {tr("移动电话"), m_mobilePhoneEdit},
                            {tr("家用电话"), m_homePhoneEdit},   {tr("传真"), m_faxEdit},
                            {tr("QQ  号码"), nullptr, qq},    {tr("阿里帐号"), m_aliAccountEdit},
                            {tr("淘宝帐号"), m_taobaoAccountEdit},         {tr("电子邮件"), m_emailEdit},
                            {tr("支付宝"), m_alipayAccountEdit},          {tr("生日"), nullptr, birthday}};
    const Field wide[] = {{tr("详细地址"), m_addressEdit}, {tr("个人嗜好"), m_hobbiesEdit}, {tr("其他信息"), m_notesEdit}};
    auto *grid = new QGridLayout;
    auto place = [this, grid](const Field &field, int row, int column, int span) {
        const Qt::Alignment beside = field.widget == m_notesEdit ? Qt::AlignTop : Qt::AlignVCenter;
        grid->addWidget(new QLabel(field.label), row, column, Qt::AlignLeft | beside);
        if (field.widget)
            grid->addWidget(field.widget, row, column + 1, 1, span);
        else
            grid->addLayout(field.layout, row, column + 1, 1, span);
    };
    int row = 0;
    for (size_t i = 0; i < std::size(paired); ++i)
        place(paired[i], row = int(i / 2), int(i % 2) * 2, 1);
    for (const Field &field : wide)
        place(field, ++row, 0, 3);
    grid->setColumnMinimumWidth(1, 180);
    grid->setColumnMinimumWidth(3, 180);

    return grid;
}

void AddressBookEditor::applyBirthdayDisplay()
{
    static_cast<BirthdayPicker *>(m_birthdayEdit)->setBlank(!m_birthdayCheck->isChecked());
}

void AddressBookEditor::fillJobProposals()
{
    // Proposals only: the job typed or loaded stays as it is.
    const QString job = m_jobCombo->currentText();
    QStringList jobs;
    Database::instance().queryColumn(
        QStringLiteral("Select distinct ifnull(Job, '') from TLinker Order by 1 collate PINYIN"), jobs);
    m_jobCombo->clear();
    m_jobCombo->addItems(jobs);
    m_jobCombo->setCurrentIndex(-1);
    m_jobCombo->setEditText(job);
}

bool AddressBookEditor::loadRecord()
{
    {
        const QSignalBlocker blocker(m_birthdayEdit);
        m_birthdayEdit->setDate(platform::clock().now().date());
    }
    m_birthdayCheck->setChecked(false);
    if (m_id < 0) {
        setWindowTitle(tr("新增联系人资料"));
        m_contact.open(QStringLiteral("Select * from TLinker where ID=?"), {m_id});
    } else {
        setWindowTitle(tr("修改/查看联系人资料"));
        if (!m_contact.open(QStringLiteral("Select * from TLinker where ID=?"), {m_id})) {
            platform::prompter().message(tr("读取数据发生错误！"), platform::Prompter::Icon::Error);
            return false;
        }
        const QList<std::pair<QLineEdit *, const char *>> fields{
            {m_nameEdit, "Linker"}, {m_officePhoneEdit, "Tele"}, {m_mobilePhoneEdit, "MobileCode"}, {m_homePhoneEdit, "HomeTele"},
            {m_faxEdit, "Fax"}, {m_qqEdit, "QICQ"}, {m_taobaoAccountEdit, "WW"}, {m_aliAccountEdit, "ALWW"}, {m_alipayAccountEdit, "ZFBCode"},
            {m_emailEdit, "EMail"}, {m_addressEdit, "Address"}, {m_hobbiesEdit, "Fancy"}};
        for (const auto &[edit, field] : fields)
            edit->setText(m_contact.text(QLatin1String(field)));
        m_jobCombo->setEditText(m_contact.text(QStringLiteral("Job")));
        m_notesEdit->setPlainText(m_contact.text(QStringLiteral("Desp")));
        const QVariant birthday = m_contact.value(QStringLiteral("Birthday"));
        if (birthdayIsSet(birthday)) {
            const QSignalBlocker blocker(m_birthdayEdit);
            m_birthdayEdit->setDate(dbdates::fromValue(birthday).date());
            m_birthdayCheck->setChecked(true);
        }
    }
    fillJobProposals();
    applyBirthdayDisplay();
    showStartOfBoxes(this);
    return true;
}

bool AddressBookEditor::saveRecord()
{
    if (m_nameEdit->text().isEmpty()) {
        platform::prompter().message(tr("请输入联系人的姓名！"), platform::Prompter::Icon::Warning);
        m_nameEdit->setFocus();
        return false;
    }
    // A contact removed meanwhile is stored again rather than lost with what was typed.
    if (m_contact.state() == Recordset::State::Browse && !m_contact.isEmpty()
        && Database::instance().queryValue(QStringLiteral("Select count(*) from TLinker where ID=?"), {m_id})
               == QLatin1String("0"))
        m_contact.open(QStringLiteral("Select * from TLinker where ID=?"), {m_id});
    if (m_contact.isEmpty()) {
        m_contact.append();
        m_contact.set(QStringLiteral("ClassID"), m_categoryId);
    } else {
        m_contact.edit();
    }
    const QList<std::pair<const char *, QString>> values{
        {"Linker", m_nameEdit->text()}, {"Job", m_jobCombo->currentText()}, {"Tele", m_officePhoneEdit->text()},
        {"MobileCode", m_mobilePhoneEdit->text()}, {"HomeTele", m_homePhoneEdit->text()}, {"Fax", m_faxEdit->text()},
        {"QICQ", m_qqEdit->text()}, {"WW", m_taobaoAccountEdit->text()}, {"ZFBCode", m_alipayAccountEdit->text()}, {"ALWW", m_aliAccountEdit->text()},
        {"EMail", m_emailEdit->text()},
        {"Birthday", birthdayText(m_birthdayEdit->date(), m_birthdayCheck->isChecked())},
        {"Address", m_addressEdit->text()}, {"Fancy", m_hobbiesEdit->text()}, {"Desp", m_notesEdit->toPlainText()}};
    bool written = true;
    for (const auto &[field, value] : values)
        written = written && m_contact.set(QLatin1String(field), value);
    if (written && m_contact.post())
        return true;
    platform::prompter().message(tr("数据存储请求出现错误,保存失败！"), platform::Prompter::Icon::Error);
    return false;
}

void AddressBookEditor::openWebChat()
{
    openInBrowser(webChatAddress(m_qqEdit->text(), m_nameEdit->text()));
}

bool AddressBookEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_qqEdit && event->type() == QEvent::MouseButtonDblClick) {
        openWebChat();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool editAddressBookEntry(qint64 classId, qint64 id)
{
    AddressBookEditor window(classId, id);
    if (!window.loadRecord())
        return false;
    platform::execModal(window);
    return window.saved();
}
