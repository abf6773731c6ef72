#include "crm/TfrmClientLinkerRecEdit.h"

#include "crm/EditorHelpers.h"
#include "data/DbDates.h"
#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "util/EnterAsTab.h"
#include "util/Gbk.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmClientLinkerRecEdit::TfrmClientLinkerRecEdit(qint64 clientId, QWidget *parent)
    : QDialog(parent)
    , EditTitle(new QComboBox)
    , dtGo(new QDateEdit)
    , cmbRuner(new QComboBox)
    , cmbTalkStyle(new QComboBox)
    , dtHint(new QDateEdit)
    , EditDesp(new QPlainTextEdit)
    , cmdSave(new QPushButton(tr("保存(&S)")))
    , cmdCancel(new QPushButton(tr("取消(&X)")))
    , m_clientId(clientId)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    for (QComboBox *list : {EditTitle, cmbRuner, cmbTalkStyle})
        list->setEditable(true);
    EditTitle->addItems({tr("产品演示"), tr("洽谈合同"), tr("确定订单"), tr("送货跟踪"), tr("新产品介绍"), tr("邀请进餐")});
    cmbTalkStyle->addItems({tr("电话"), tr("电子邮件"), tr("会面"), tr("QQ等即时通讯")});
    setGbkByteLimit(EditTitle, 50);
    setGbkByteLimit(cmbRuner, 20);
    setGbkByteLimit(cmbTalkStyle, 20);
    setGbkByteLimit(EditDesp, 200);
    EditDesp->setTabChangesFocus(true);
    for (QDateEdit *picker : {dtGo, dtHint}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    // The reminder date is kept but not edited here.
    dtHint->setVisible(false);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("主题")), 0, 0);
    grid->addWidget(EditTitle, 0, 1, 1, 3);
    grid->addWidget(new QLabel(tr("跟进日期")), 1, 0);
    grid->addWidget(dtGo, 1, 1);
    grid->addWidget(new QLabel(tr("跟进人")), 1, 2);
    grid->addWidget(cmbRuner, 1, 3);
    grid->addWidget(new QLabel(tr("洽谈方式")), 2, 0);
    grid->addWidget(cmbTalkStyle, 2, 1);
    grid->addWidget(dtHint, 2, 3);
    grid->addWidget(new QLabel(tr("活动描述")), 3, 0, Qt::AlignTop);
    grid->addWidget(EditDesp, 3, 1, 1, 3);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(editorButtons(this, cmdSave, cmdCancel, [this] { return SaveData(); }));
    resize(480, 320);
    setTabChain({EditTitle, dtGo, cmbRuner, cmbTalkStyle, EditDesp, cmdSave, cmdCancel});

    new EnterAsTabFilter(this);
    EditTitle->setFocus();
}

bool TfrmClientLinkerRecEdit::ReadyData(qint64 id)
{
    const QDate today = platform::clock().now().date();
    dtGo->setDate(today);
    dtHint->setDate(today);
    if (!m_linkRec.open(QStringLiteral("Select * from TCLinkRec  where ID=?"), {id})) {
        platform::prompter().message(tr("读取数据出现错误。"), platform::Prompter::Icon::Error);
        return false;
    }
    if (m_linkRec.isEmpty()) {
        setWindowTitle(tr("新增联系活动信息"));
        EditTitle->setEditText(QString());
        cmbTalkStyle->setEditText(QString());
        m_linkRec.append();
    } else {
        setWindowTitle(tr("修改/查看联系活动信息"));
        EditTitle->setEditText(m_linkRec.text(QStringLiteral("Title")));
        cmbRuner->setEditText(m_linkRec.text(QStringLiteral("Dealer")));
        cmbTalkStyle->setEditText(m_linkRec.text(QStringLiteral("RunStyle")));
        for (auto [picker, column] : {std::pair{dtGo, "GoDate"}, std::pair{dtHint, "HintDate"}}) {
            const QVariant stored = m_linkRec.value(QLatin1String(column));
            if (!stored.isNull())
                picker->setDate(dbdates::fromValue(stored).date());
        }
        EditDesp->setPlainText(m_linkRec.text(QStringLiteral("Desp")));
    }
    offerUsedValues(cmbRuner, QStringLiteral("TCLinkRec"), QStringLiteral("Dealer"));
    return true;
}

bool TfrmClientLinkerRecEdit::SaveData()
{
    if (EditTitle->currentText().isEmpty()) {
        platform::prompter().message(tr("请输入联系活动主题！"), platform::Prompter::Icon::Warning);
        EditTitle->setFocus();
        return false;
    }
    const bool adding = m_linkRec.state() == Recordset::State::Insert;
    m_linkRec.edit();
    const bool written = (!adding || m_linkRec.set(QStringLiteral("ClientID"), m_clientId))
                         && setColumns(m_linkRec, {{"GoDate", dbdates::toText(dtGo->date())},
                                                   {"Title", EditTitle->currentText()},
                                                   {"Dealer", cmbRuner->currentText()},
                                                   {"RunStyle", cmbTalkStyle->currentText()},
                                                   {"HintDate", dbdates::toText(dtHint->date())},
                                                   {"Desp", EditDesp->toPlainText()}})
                         && m_linkRec.post();
    if (written)
        return true;
    platform::prompter().message(tr("数据存储请求出现错误,保存失败！") + QLatin1Char('\n'), platform::Prompter::Icon::Error);
    return false;
}

bool ShowActivityEditor(qint64 clientId, qint64 id)
{
    TfrmClientLinkerRecEdit window(clientId);
    if (!window.ReadyData(id))
        return false;
    platform::execModal(window);
    return window.saved();
}
