#include "crm/TfrmClientLinkerEdit.h"

#include "crm/EditorHelpers.h"
#include "data/DbDates.h"
#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "util/EnterAsTab.h"
#include "util/Gbk.h"
#include "util/ShellLaunch.h"
#include "util/WebChat.h"

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

TfrmClientLinkerEdit::TfrmClientLinkerEdit(qint64 clientId, QWidget *parent)
    : QDialog(parent)
    , EditName(new QLineEdit)
    , cmbIsMain(new QComboBox)
    , cmbDepart(new QComboBox)
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
    , dtBirthday(new QDateEdit)
    , EditAddress(new QLineEdit)
    , EditFancy(new QLineEdit)
    , EditDesp(new QPlainTextEdit)
    , cmdSave(new QPushButton(tr("保存(&S)")))
    , cmdCancel(new QPushButton(tr("取消(&X)")))
    , m_clientId(clientId)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFields(), 1);
    layout->addLayout(editorButtons(this, cmdSave, cmdCancel, [this] { return SaveData(); }));
    resize(560, 420);
    setTabChain({EditName, cmbIsMain, cmbDepart, cmbPos, EditTele, EditMobileCode, EditElecHome, EditFax, EditQQ, sbQQ,
                 EditAL, EditTB, EditEMail, EditZFB, EditAddress, EditFancy, EditDesp, cmdSave, cmdCancel});

    connect(sbQQ, &QToolButton::clicked, this, &TfrmClientLinkerEdit::sbQQClick);
    EditQQ->installEventFilter(this);
    new EnterAsTabFilter(this);
    EditName->setFocus();
}

QWidget *TfrmClientLinkerEdit::buildFields()
{
    for (QLineEdit *edit : {EditName, EditTele, EditMobileCode, EditElecHome, EditFax, EditQQ, EditAL, EditTB, EditZFB})
        setGbkByteLimit(edit, 20);
    setGbkByteLimit(EditEMail, 30);
    setGbkByteLimit(EditAddress, 50);
    setGbkByteLimit(EditFancy, 50);
    setGbkByteLimit(EditDesp, 200);
    EditDesp->setTabChangesFocus(true);
    cmbIsMain->addItems({tr("否"), tr("是")});
    for (QComboBox *list : {cmbDepart, cmbPos}) {
        list->setEditable(true);
        setGbkByteLimit(list, 20);
    }
    sbQQ->setText(QStringLiteral("QQ"));
    sbQQ->setToolTip(tr("QQ交谈"));
    // The birthday is kept but not edited here.
    dtBirthday->setVisible(false);

    auto *qqRow = new QWidget;
    auto *qqLayout = new QHBoxLayout(qqRow);
    qqLayout->setContentsMargins(0, 0, 0, 0);
    qqLayout->setSpacing(2);
    qqLayout->addWidget(EditQQ, 1);
    qqLayout->addWidget(sbQQ);
    qqRow->setFocusProxy(EditQQ);

    const QList<std::pair<QString, QWidget *>> rows{
        {tr("姓名"), EditName},         {tr("主联系人"), cmbIsMain},   {tr("部门"), cmbDepart},
        {tr("职位"), cmbPos},           {tr("办公电话"), EditTele},    {tr("移动电话"), EditMobileCode},
        {tr("家用电话"), EditElecHome}, {tr("传真"), EditFax},         {tr("QQ  号码"), qqRow},
        {tr("阿里帐号"), EditAL},       {tr("淘宝帐号"), EditTB},      {tr("电子邮件"), EditEMail},
        {tr("支付宝"), EditZFB},
    };
    auto *fields = new QWidget;
    auto *grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < rows.size(); ++i) {
        grid->addWidget(new QLabel(rows.at(i).first), i / 2, (i % 2) * 2);
        grid->addWidget(rows.at(i).second, i / 2, (i % 2) * 2 + 1);
    }
    int row = int(rows.size() + 1) / 2;
    grid->addWidget(dtBirthday, row - 1, 2, 1, 2);
    grid->addWidget(new QLabel(tr("详细地址")), row, 0);
    grid->addWidget(EditAddress, row++, 1, 1, 3);
    grid->addWidget(new QLabel(tr("个人嗜好")), row, 0);
    grid->addWidget(EditFancy, row++, 1, 1, 3);
    grid->addWidget(new QLabel(tr("其他信息")), row, 0, Qt::AlignTop);
    grid->addWidget(EditDesp, row, 1, 1, 3);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    return fields;
}

bool TfrmClientLinkerEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EditQQ && event->type() == QEvent::MouseButtonDblClick) {
        sbQQClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmClientLinkerEdit::fillPickLists()
{
    offerUsedValues(cmbDepart, QStringLiteral("TCLinker"), QStringLiteral("Depart"));
    offerUsedValues(cmbPos, QStringLiteral("TCLinker"), QStringLiteral("Job"));
}

void TfrmClientLinkerEdit::copyClientNumbers()
{
    // A missing or unreadable client leaves the boxes empty: they are only a head start.
    Recordset client;
    if (!client.open(QStringLiteral("Select * from TClient where ID=?"), {m_clientId}) || client.isEmpty())
        return;
    EditTele->setText(client.text(QStringLiteral("Tele")));
    EditMobileCode->setText(client.text(QStringLiteral("MobileCode")));
    EditFax->setText(client.text(QStringLiteral("Fax")));
    EditEMail->setText(client.text(QStringLiteral("EMail")));
    EditAddress->setText(client.text(QStringLiteral("Address")));
}

bool TfrmClientLinkerEdit::ReadyData(qint64 id)
{
    if (!m_linker.open(QStringLiteral("Select * from TCLinker  where ID=?"), {id})) {
        platform::prompter().message(tr("读取数据发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    if (m_linker.isEmpty()) {
        setWindowTitle(tr("新增联系人资料"));
        cmbIsMain->setCurrentIndex(1);
        dtBirthday->setDate(platform::clock().now().date());
        fillPickLists();
        copyClientNumbers();
        m_linker.append();
        return true;
    }
    setWindowTitle(tr("修改/查看联系人资料"));
    const Recordset &row = m_linker;
    auto text = [&row](const char *column) { return row.text(QLatin1String(column)); };
    EditName->setText(text("Linker"));
    cmbIsMain->setCurrentIndex(m_linker.integer(QStringLiteral("IsMain")) == 1 ? 1 : 0);
    cmbDepart->setEditText(text("Depart"));
    cmbPos->setEditText(text("Job"));
    EditTele->setText(text("Tele"));
    EditMobileCode->setText(text("MobileCode"));
    EditElecHome->setText(text("HomeTele"));
    EditFax->setText(text("Fax"));
    EditQQ->setText(text("QICQ"));
    EditAL->setText(text("ALWW"));
    EditTB->setText(text("WW"));
    EditEMail->setText(text("EMail"));
    EditZFB->setText(text("ZFBCode"));
    const QVariant birthday = m_linker.value(QStringLiteral("Birthday"));
    dtBirthday->setDate(birthday.isNull() ? dbdates::zeroDate() : dbdates::fromValue(birthday).date());
    EditAddress->setText(text("Address"));
    EditFancy->setText(text("Fancy"));
    EditDesp->setPlainText(text("Desp"));
    fillPickLists();
    return true;
}

void TfrmClientLinkerEdit::sbQQClick()
{
    OpenInBrowser(webChatAddress(EditQQ->text(), EditName->text()));
}

bool TfrmClientLinkerEdit::SaveData()
{
    if (EditName->text().isEmpty()) {
        platform::prompter().message(tr("请输入联系人的姓名！"), platform::Prompter::Icon::Warning);
        EditName->setFocus();
        return false;
    }
    const bool adding = m_linker.state() == Recordset::State::Insert;
    m_linker.edit();
    const bool written = (!adding || m_linker.set(QStringLiteral("ClientID"), m_clientId))
                         && setColumns(m_linker, {{"Linker", EditName->text()},
                                              {"IsMain", cmbIsMain->currentIndex()},
                                              {"Depart", cmbDepart->currentText()},
                                              {"Job", cmbPos->currentText()},
                                              {"Tele", EditTele->text()},
                                              {"MobileCode", EditMobileCode->text()},
                                              {"HomeTele", EditElecHome->text()},
                                              {"Fax", EditFax->text()},
                                              {"QICQ", EditQQ->text()},
                                              {"WW", EditTB->text()},
                                              {"ALWW", EditAL->text()},
                                              {"ZFBCode", EditZFB->text()},
                                              {"EMail", EditEMail->text()},
                                              {"Birthday", dbdates::toText(dtBirthday->date())},
                                              {"Address", EditAddress->text()},
                                              {"Fancy", EditFancy->text()},
                                              {"Desp", EditDesp->toPlainText()}});
    if (written && m_linker.post())
        return true;
    platform::prompter().message(tr("数据存储请求出现错误,保存失败！"), platform::Prompter::Icon::Error);
    return false;
}

bool ShowContactEditor(qint64 clientId, qint64 id)
{
    TfrmClientLinkerEdit window(clientId);
    if (!window.ReadyData(id))
        return false;
    platform::execModal(window);
    return window.saved();
}
