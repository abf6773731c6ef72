#include "desk/TfrmEditALinker.h"

#include "data/DbDates.h"
#include "data/TDM.h"
#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
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

TfrmEditALinker::TfrmEditALinker(qint64 classId, qint64 id, QWidget *parent)
    : QDialog(parent)
    , EditName(new QLineEdit)
    , cmbPos(new QComboBox)
    , EditTele(new QLineEdit)
    , EditMobileCode(new QLineEdit)
    , EditElecHome(new QLineEdit)
    , EditFax(new QLineEdit)
    , EditQQ(new QLineEdit)
    , sbQQ(new QToolButton)
    , EditAL(new QLineEdit)
    , EditTB(new QLineEdit)
    , EditEMail(new QLineEdit)
    , EditZFB(new QLineEdit)
    , chkBirthday(new QCheckBox)
    , dtBirthday(new BirthdayPicker)
    , EditAddress(new QLineEdit)
    , EditFancy(new QLineEdit)
    , EditDesp(new ByteLimitedTextEdit(200))
    , cmdSave(new QPushButton(tr("保存(&S)")))
    , cmdCancel(new QPushButton(tr("取消(&X)")))
    , m_classId(classId)
    , m_id(id)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buildFields());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Across each row, then down: the order of the form.
    QWidget *order[] = {EditName, cmbPos, EditTele, EditMobileCode, EditElecHome, EditFax, EditQQ,
                        EditAL, EditTB, EditEMail, EditZFB, chkBirthday, dtBirthday, EditAddress,
                        EditFancy, EditDesp, cmdSave, cmdCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    new EnterAsTabFilter(this);

    connect(cmdSave, &QPushButton::clicked, this, [this] {
        if (SaveData()) {
            m_saved = true;
            accept();
        }
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(sbQQ, &QToolButton::clicked, this, &TfrmEditALinker::sbQQClick);
    connect(chkBirthday, &QCheckBox::toggled, this, &TfrmEditALinker::applyBirthdayDisplay);
    // Picking a date from the calendar sets the birthday, as with any date picker with a tick box.
    connect(dtBirthday, &QDateEdit::dateChanged, chkBirthday, [this] { chkBirthday->setChecked(true); });
    EditQQ->installEventFilter(this);
    EditName->setFocus();
}

QLayout *TfrmEditALinker::buildFields()
{
    for (QLineEdit *edit : {EditName, EditTele, EditMobileCode, EditElecHome, EditFax, EditQQ, EditAL, EditTB, EditZFB})
        setGbkByteLimit(edit, kShortFieldBytes);
    setGbkByteLimit(EditEMail, 30);
    setGbkByteLimit(EditAddress, 50);
    setGbkByteLimit(EditFancy, 50);
    cmbPos->setEditable(true);
    cmbPos->setInsertPolicy(QComboBox::NoInsert);
    setGbkByteLimit(cmbPos, kShortFieldBytes);
    for (QPushButton *button : {cmdSave, cmdCancel})
        button->setAutoDefault(false);
    sbQQ->setText(QStringLiteral("…"));
    sbQQ->setToolTip(tr("与该联系人QQ聊天"));
    sbQQ->setFocusPolicy(Qt::NoFocus);
    EditDesp->setTabChangesFocus(true);
    EditDesp->setFixedHeight(EditDesp->fontMetrics().lineSpacing() * 4 + 12);

    auto *qq = new QHBoxLayout;
    qq->setSpacing(2);
    qq->addWidget(EditQQ, 1);
    qq->addWidget(sbQQ);
    auto *birthday = new QHBoxLayout;
    birthday->setSpacing(2);
    birthday->addWidget(chkBirthday);
    birthday->addWidget(dtBirthday, 1);

    // Two fields a row, then the long ones across the whole width.
    struct Field {
        QString label;
        QWidget *widget = nullptr;
        QLayout *layout = nullptr;
    };
    const Field paired[] = {{tr("姓名"), EditName},           {tr("职位"), cmbPos},
                            {tr("办公电话"), EditTele},       {tr("移动电话"), EditMobileCode},
                            {tr("家用电话"), EditElecHome},   {tr("传真"), EditFax},
                            {tr("QQ  号码"), nullptr, qq},    {tr("阿里帐号"), EditAL},
                            {tr("淘宝帐号"), EditTB},         {tr("电子邮件"), EditEMail},
                            {tr("支付宝"), EditZFB},          {tr("生日"), nullptr, birthday}};
    const Field wide[] = {{tr("详细地址"), EditAddress}, {tr("个人嗜好"), EditFancy}, {tr("其他信息"), EditDesp}};
    auto *grid = new QGridLayout;
    auto place = [this, grid](const Field &field, int row, int column, int span) {
        const Qt::Alignment beside = field.widget == EditDesp ? Qt::AlignTop : Qt::AlignVCenter;
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

void TfrmEditALinker::applyBirthdayDisplay()
{
    static_cast<BirthdayPicker *>(dtBirthday)->setBlank(!chkBirthday->isChecked());
}

void TfrmEditALinker::fillJobProposals()
{
    // Proposals only: the job typed or loaded stays as it is.
    const QString job = cmbPos->currentText();
    QStringList jobs;
    TDM::instance().GetItemsBySQL(
        QStringLiteral("Select distinct ifnull(Job, '') from TLinker Order by 1 collate PINYIN"), jobs);
    cmbPos->clear();
    cmbPos->addItems(jobs);
    cmbPos->setCurrentIndex(-1);
    cmbPos->setEditText(job);
}

bool TfrmEditALinker::ReadyData()
{
    {
        const QSignalBlocker blocker(dtBirthday);
        dtBirthday->setDate(platform::clock().now().date());
    }
    chkBirthday->setChecked(false);
    if (m_id < 0) {
        setWindowTitle(tr("新增联系人资料"));
        m_linker.open(QStringLiteral("Select * from TLinker where ID=?"), {m_id});
    } else {
        setWindowTitle(tr("修改/查看联系人资料"));
        if (!m_linker.open(QStringLiteral("Select * from TLinker where ID=?"), {m_id})) {
            platform::prompter().message(tr("读取数据发生错误！"), platform::Prompter::Icon::Error);
            return false;
        }
        const QList<std::pair<QLineEdit *, const char *>> fields{
            {EditName, "Linker"}, {EditTele, "Tele"}, {EditMobileCode, "MobileCode"}, {EditElecHome, "HomeTele"},
            {EditFax, "Fax"}, {EditQQ, "QICQ"}, {EditTB, "WW"}, {EditAL, "ALWW"}, {EditZFB, "ZFBCode"},
            {EditEMail, "EMail"}, {EditAddress, "Address"}, {EditFancy, "Fancy"}};
        for (const auto &[edit, field] : fields)
            edit->setText(m_linker.text(QLatin1String(field)));
        cmbPos->setEditText(m_linker.text(QStringLiteral("Job")));
        EditDesp->setPlainText(m_linker.text(QStringLiteral("Desp")));
        const QVariant birthday = m_linker.value(QStringLiteral("Birthday"));
        if (birthdayIsSet(birthday)) {
            const QSignalBlocker blocker(dtBirthday);
            dtBirthday->setDate(dbdates::fromValue(birthday).date());
            chkBirthday->setChecked(true);
        }
    }
    fillJobProposals();
    applyBirthdayDisplay();
    return true;
}

bool TfrmEditALinker::SaveData()
{
    if (EditName->text().isEmpty()) {
        platform::prompter().message(tr("请输入联系人的姓名！"), platform::Prompter::Icon::Warning);
        EditName->setFocus();
        return false;
    }
    // A contact removed meanwhile is stored again rather than lost with what was typed.
    if (m_linker.state() == Recordset::State::Browse && !m_linker.isEmpty()
        && TDM::instance().GetDataBySQL(QStringLiteral("Select count(*) from TLinker where ID=?"), {m_id})
               == QLatin1String("0"))
        m_linker.open(QStringLiteral("Select * from TLinker where ID=?"), {m_id});
    if (m_linker.isEmpty()) {
        m_linker.append();
        m_linker.set(QStringLiteral("ClassID"), m_classId);
    } else {
        m_linker.edit();
    }
    const QList<std::pair<const char *, QString>> values{
        {"Linker", EditName->text()}, {"Job", cmbPos->currentText()}, {"Tele", EditTele->text()},
        {"MobileCode", EditMobileCode->text()}, {"HomeTele", EditElecHome->text()}, {"Fax", EditFax->text()},
        {"QICQ", EditQQ->text()}, {"WW", EditTB->text()}, {"ZFBCode", EditZFB->text()}, {"ALWW", EditAL->text()},
        {"EMail", EditEMail->text()},
        {"Birthday", birthdayText(dtBirthday->date(), chkBirthday->isChecked())},
        {"Address", EditAddress->text()}, {"Fancy", EditFancy->text()}, {"Desp", EditDesp->toPlainText()}};
    bool written = true;
    for (const auto &[field, value] : values)
        written = written && m_linker.set(QLatin1String(field), value);
    if (written && m_linker.post())
        return true;
    platform::prompter().message(tr("数据存储请求出现错误,保存失败！"), platform::Prompter::Icon::Error);
    return false;
}

void TfrmEditALinker::sbQQClick()
{
    OpenInBrowser(webChatAddress(EditQQ->text(), EditName->text()));
}

bool TfrmEditALinker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EditQQ && event->type() == QEvent::MouseButtonDblClick) {
        sbQQClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool ShowAddressBookEditor(qint64 classId, qint64 id)
{
    TfrmEditALinker window(classId, id);
    if (!window.ReadyData())
        return false;
    platform::execModal(window);
    return window.saved();
}
