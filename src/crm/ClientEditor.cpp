#include "crm/TfrmClientEdit.h"

#include "crm/TfrmClientClassSel.h"
#include "crm/EditorHelpers.h"
#include "data/DbDates.h"
#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
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

constexpr int kDespBytes = 100;

// A text box and the column it shows, with the column's width in bytes.
struct TextField {
    QLineEdit *edit;
    const char *column;
    int bytes;
};

} // namespace

TfrmClientEdit::TfrmClientEdit(const QString &categoryCode, const QString &categoryName, QWidget *parent)
    : QDialog(parent)
    , EditName(new QLineEdit)
    , EditCode(new QLineEdit)
    , cmbType(new QComboBox)
    , cmbComeFrom(new QComboBox)
    , EditMobileCode(new QLineEdit)
    , EditAddress(new QLineEdit)
    , EditPostCode(new QLineEdit)
    , EditTele(new QLineEdit)
    , EditFax(new QLineEdit)
    , EditEMail(new QLineEdit)
    , EditQQ(new QLineEdit)
    , sbQQ(new QToolButton)
    , EditAL(new QLineEdit)
    , EditTB(new QLineEdit)
    , EditZFB(new QLineEdit)
    , EditHomtPage(new QLineEdit)
    , EditTaxno(new QLineEdit)
    , EditBank(new QLineEdit)
    , EditBankno(new QLineEdit)
    , dtRec(new QDateTimeEdit)
    , EditTypeCode(new QLineEdit)
    , SpeedButton1(new QToolButton)
    , EditDesp(new QPlainTextEdit)
    , cmdReg(new QPushButton(tr("保存(&S)")))
    , cmdClose(new QPushButton(tr("取消(&X)")))
    , m_categoryCode(categoryCode)
{
    setWindowTitle(tr("新增/修改客户资料"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    EditTypeCode->setText(categoryName);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFields(), 1);
    layout->addLayout(editorButtons(this, cmdReg, cmdClose, [this] { return SaveData(); }));
    resize(620, 520);
    setTabChain({EditName, EditCode, cmbType, cmbComeFrom, EditMobileCode, EditAddress, EditPostCode, EditTele, EditFax,
                 EditEMail, EditQQ, sbQQ, EditAL, EditTB, EditZFB, EditHomtPage, EditTaxno, EditBank, EditBankno, dtRec,
                 EditTypeCode, SpeedButton1, EditDesp, cmdReg, cmdClose});

    connect(sbQQ, &QToolButton::clicked, this, &TfrmClientEdit::sbQQClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmClientEdit::SpeedButton1Click);
    connect(EditName, &QLineEdit::editingFinished, this, &TfrmClientEdit::EditNameExit);
    EditTypeCode->installEventFilter(this);
    new EnterAsTabFilter(this);
    EditName->setFocus();
}

QWidget *TfrmClientEdit::buildFields()
{
    const TextField limits[] = {
        {EditName, "ClientName", 50},   {EditCode, "ClientCode", 30},     {EditMobileCode, "MobileCode", 30},
        {EditAddress, "Address", 50},   {EditPostCode, "PostCode", 10},   {EditTele, "Tele", 30},
        {EditFax, "Fax", 20},           {EditEMail, "EMail", 20},         {EditQQ, "QICQ", 20},
        {EditAL, "ALWW", 20},           {EditTB, "WW", 20},               {EditZFB, "ZFBCode", 20},
        {EditHomtPage, "HomePage", 30}, {EditTaxno, "TaxCode", 30},       {EditBank, "Bank", 40},
        {EditBankno, "BankNo", 40},
    };
    for (const TextField &field : limits)
        setGbkByteLimit(field.edit, field.bytes);
    EditCode->setToolTip(tr("缺省为客户名称的拼音首字母简写"));
    cmbType->setEditable(true);
    cmbType->addItems({tr("其他客户"), tr("潜在客户"), tr("意向客户"), tr("正式客户")});
    setGbkByteLimit(cmbType, 20);
    cmbComeFrom->setEditable(true);
    cmbComeFrom->addItems({tr("其他方式"), tr("电话联系"), tr("客户推荐"), tr("网络搜索")});
    setGbkByteLimit(cmbComeFrom, 20);
    sbQQ->setText(QStringLiteral("QQ"));
    sbQQ->setToolTip(tr("QQ交谈"));
    dtRec->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    dtRec->setCalendarPopup(true);
    EditTypeCode->setReadOnly(true);
    SpeedButton1->setText(QStringLiteral("…"));
    SpeedButton1->setToolTip(tr("选择客户分类"));
    setGbkByteLimit(EditDesp, kDespBytes);
    EditDesp->setTabChangesFocus(true);

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
        {tr("客户名称"), EditName},     {tr("客户简码"), EditCode},
        {tr("客户类型"), cmbType},      {tr("客户来源"), cmbComeFrom},
        {tr("手机号码"), EditMobileCode}, {tr("联系地址"), EditAddress},
        {tr("邮政编码"), EditPostCode}, {tr("联系电话"), EditTele},
        {tr("传真"), EditFax},          {tr("电子邮件"), EditEMail},
        {tr("QQ  号码"), withButton(EditQQ, sbQQ)}, {tr("阿里帐号"), EditAL},
        {tr("淘宝帐号"), EditTB},       {tr("支付宝"), EditZFB},
        {tr("联系网址"), EditHomtPage}, {tr("税号"), EditTaxno},
        {tr("开户银行"), EditBank},     {tr("银行帐号"), EditBankno},
        {tr("录入日期"), dtRec},        {tr("客户分类"), withButton(EditTypeCode, SpeedButton1)},
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
    grid->addWidget(EditDesp, last, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(last, 1);

    return fields;
}

bool TfrmClientEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EditTypeCode && event->type() == QEvent::MouseButtonDblClick) {
        SpeedButton1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrmClientEdit::ReadyData(qint64 id)
{
    if (!m_client.open(QStringLiteral("Select * from TClient Where ID=?"), {id})) {
        platform::prompter().message(tr("读取本地数据发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    if (m_client.isEmpty()) {
        setWindowTitle(tr("新增客户纪录"));
        dtRec->setDateTime(platform::clock().now());
        cmbType->setEditText(QString());
        cmbComeFrom->setEditText(QString());
        EditHomtPage->setText(QStringLiteral("http://"));
        m_client.append();
        return true;
    }
    setWindowTitle(tr("修改客户记录"));
    const Recordset &row = m_client;
    auto text = [&row](const char *column) { return row.text(QLatin1String(column)); };
    EditName->setText(text("ClientName"));
    EditCode->setText(text("ClientCode"));
    cmbType->setEditText(text("ClientType"));
    cmbComeFrom->setEditText(text("ClientComeFrom"));
    EditMobileCode->setText(text("MobileCode"));
    EditAddress->setText(text("Address"));
    EditPostCode->setText(text("PostCode"));
    EditTele->setText(text("Tele"));
    EditFax->setText(text("Fax"));
    EditEMail->setText(text("EMail"));
    EditQQ->setText(text("QICQ"));
    EditAL->setText(text("ALWW"));
    EditTB->setText(text("WW"));
    EditZFB->setText(text("ZFBCode"));
    EditHomtPage->setText(text("HomePage"));
    EditTaxno->setText(text("TaxCode"));
    EditBank->setText(text("Bank"));
    EditBankno->setText(text("BankNo"));
    const QVariant recorded = m_client.value(QStringLiteral("RecTime"));
    dtRec->setDateTime(dbdates::isEmpty(recorded) ? QDateTime(dbdates::zeroDateTime()) : dbdates::fromValue(recorded));
    EditTypeCode->setText(text("TypeName"));
    m_categoryCode = text("TypeCode");
    EditDesp->setPlainText(text("Desp"));
    return true;
}

void TfrmClientEdit::EditNameExit()
{
    if (EditCode->text().isEmpty())
        EditCode->setText(gbkTruncate(PinyinInitials(EditName->text()), 30));
}

void TfrmClientEdit::SpeedButton1Click()
{
    if (const std::optional<GoodsClass> chosen = SelectClientClass()) {
        m_categoryCode = chosen->TypeCode;
        EditTypeCode->setText(chosen->TypeName);
    }
}

void TfrmClientEdit::sbQQClick()
{
    OpenInBrowser(webChatAddress(EditQQ->text(), EditName->text()));
}

bool TfrmClientEdit::SaveData()
{
    if (EditName->text().isEmpty()) {
        platform::prompter().message(tr("客户名称必须输入！"), platform::Prompter::Icon::Warning);
        EditName->setFocus();
        return false;
    }
    if (m_categoryCode.isEmpty()) {
        platform::prompter().message(tr("客户分类尚未选择！"), platform::Prompter::Icon::Warning);
        return false;
    }
    EditNameExit(); // saved with Alt+S from the name box, which was never left
    m_client.edit();
    const bool written = setColumns(m_client, {{"ClientCode", EditCode->text()},
                                              {"ClientName", EditName->text()},
                                              {"ClientType", cmbType->currentText()},
                                              {"ClientComeFrom", cmbComeFrom->currentText()},
                                              {"Address", EditAddress->text()},
                                              {"PostCode", EditPostCode->text()},
                                              {"Tele", EditTele->text()},
                                              {"Fax", EditFax->text()},
                                              {"HomePage", EditHomtPage->text()},
                                              {"EMail", EditEMail->text()},
                                              {"TaxCode", EditTaxno->text()},
                                              {"Bank", EditBank->text()},
                                              {"BankNo", EditBankno->text()},
                                              {"Desp", EditDesp->toPlainText()},
                                              {"RecTime", dtRec->dateTime()},
                                              {"TypeCode", m_categoryCode},
                                              {"MobileCode", EditMobileCode->text()},
                                              {"TypeName", gbkTruncate(EditTypeCode->text(), 40)},
                                              {"QICQ", EditQQ->text()},
                                              {"WW", EditTB->text()},
                                              {"ALWW", EditAL->text()},
                                              {"ZFBCode", EditZFB->text()}})
                         && m_client.post();
    if (!written) {
        platform::prompter().message(tr("存储数据发生错误!"), platform::Prompter::Icon::Error);
        return false;
    }
    m_savedId = m_client.integer(QStringLiteral("ID"));
    return true;
}

bool ShowClientEditor(const QString &categoryCode, const QString &categoryName, qint64 id, qint64 *savedId)
{
    TfrmClientEdit window(categoryCode, categoryName);
    if (!window.ReadyData(id))
        return false;
    platform::execModal(window);
    if (savedId)
        *savedId = window.savedId();
    return window.saved();
}
