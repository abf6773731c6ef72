#include "crm/ContactActivityEditor.h"

#include "crm/EditorHelpers.h"
#include "data/DbDates.h"
#include "platform/Clock.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "util/EditorBoxes.h"
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

ContactActivityEditor::ContactActivityEditor(qint64 clientId, QWidget *parent)
    : QDialog(parent)
    , m_subjectCombo(new QComboBox)
    , m_activityDateEdit(new QDateEdit)
    , m_handlerCombo(new QComboBox)
    , m_contactMethodCombo(new QComboBox)
    , m_reminderDateEdit(new QDateEdit)
    , m_descriptionEdit(new QPlainTextEdit)
    , m_saveButton(new QPushButton(tr("保存(&S)")))
    , m_cancelButton(new QPushButton(tr("取消(&X)")))
    , m_clientId(clientId)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    for (QComboBox *list : {m_subjectCombo, m_handlerCombo, m_contactMethodCombo})
        list->setEditable(true);
    m_subjectCombo->addItems({tr("产品演示"), tr("洽谈合同"), tr("确定订单"), tr("送货跟踪"), tr("新产品介绍"), tr("邀请进餐")});
    m_contactMethodCombo->addItems({tr("电话"), tr("电子邮件"), tr("会面"), tr("QQ等即时通讯")});
    setGbkByteLimit(m_subjectCombo, 50);
    setGbkByteLimit(m_handlerCombo, 20);
    setGbkByteLimit(m_contactMethodCombo, 20);
    setGbkByteLimit(m_descriptionEdit, 200);
    m_descriptionEdit->setTabChangesFocus(true);
    for (QDateEdit *picker : {m_activityDateEdit, m_reminderDateEdit}) {
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    // The reminder date is kept but not edited here.
    m_reminderDateEdit->setVisible(false);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("主题")), 0, 0);
    grid->addWidget(m_subjectCombo, 0, 1, 1, 3);
    grid->addWidget(new QLabel(tr("跟进日期")), 1, 0);
    grid->addWidget(m_activityDateEdit, 1, 1);
    grid->addWidget(new QLabel(tr("跟进人")), 1, 2);
    grid->addWidget(m_handlerCombo, 1, 3);
    grid->addWidget(new QLabel(tr("洽谈方式")), 2, 0);
    grid->addWidget(m_contactMethodCombo, 2, 1);
    grid->addWidget(m_reminderDateEdit, 2, 3);
    grid->addWidget(new QLabel(tr("活动描述")), 3, 0, Qt::AlignTop);
    grid->addWidget(m_descriptionEdit, 3, 1, 1, 3);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(editorButtons(this, m_saveButton, m_cancelButton, [this] { return saveRecord(); }));
    resize(480, 320);
    setTabChain({m_subjectCombo, m_activityDateEdit, m_handlerCombo, m_contactMethodCombo, m_descriptionEdit, m_saveButton, m_cancelButton});

    new EnterAsTabFilter(this);
    m_subjectCombo->setFocus();
}

bool ContactActivityEditor::loadRecord(qint64 id)
{
    const QDate today = platform::clock().now().date();
    m_activityDateEdit->setDate(today);
    m_reminderDateEdit->setDate(today);
    if (!m_activity.open(QStringLiteral("Select * from TCLinkRec  where ID=?"), {id})) {
        platform::prompter().message(tr("读取数据出现错误。"), platform::Prompter::Icon::Error);
        return false;
    }
    if (m_activity.isEmpty()) {
        setWindowTitle(tr("新增联系活动信息"));
        m_subjectCombo->setEditText(QString());
        m_contactMethodCombo->setEditText(QString());
        m_activity.append();
    } else {
        setWindowTitle(tr("修改/查看联系活动信息"));
        m_subjectCombo->setEditText(m_activity.text(QStringLiteral("Title")));
        m_handlerCombo->setEditText(m_activity.text(QStringLiteral("Dealer")));
        m_contactMethodCombo->setEditText(m_activity.text(QStringLiteral("RunStyle")));
        for (auto [picker, column] : {std::pair{m_activityDateEdit, "GoDate"}, std::pair{m_reminderDateEdit, "HintDate"}}) {
            const QVariant stored = m_activity.value(QLatin1String(column));
            if (!stored.isNull())
                picker->setDate(dbdates::fromValue(stored).date());
        }
        m_descriptionEdit->setPlainText(m_activity.text(QStringLiteral("Desp")));
    }
    offerUsedValues(m_handlerCombo, QStringLiteral("TCLinkRec"), QStringLiteral("Dealer"));
    showStartOfBoxes(this);
    return true;
}

bool ContactActivityEditor::saveRecord()
{
    if (m_subjectCombo->currentText().isEmpty()) {
        platform::prompter().message(tr("请输入联系活动主题！"), platform::Prompter::Icon::Warning);
        m_subjectCombo->setFocus();
        return false;
    }
    const bool adding = m_activity.state() == Recordset::State::Insert;
    m_activity.edit();
    const bool written = (!adding || m_activity.set(QStringLiteral("ClientID"), m_clientId))
                         && setColumns(m_activity, {{"GoDate", dbdates::toText(m_activityDateEdit->date())},
                                                   {"Title", m_subjectCombo->currentText()},
                                                   {"Dealer", m_handlerCombo->currentText()},
                                                   {"RunStyle", m_contactMethodCombo->currentText()},
                                                   {"HintDate", dbdates::toText(m_reminderDateEdit->date())},
                                                   {"Desp", m_descriptionEdit->toPlainText()}})
                         && m_activity.post();
    if (written)
        return true;
    platform::prompter().message(tr("数据存储请求出现错误,保存失败！") + QLatin1Char('\n'), platform::Prompter::Icon::Error);
    return false;
}

bool editContactActivity(qint64 clientId, qint64 id)
{
    ContactActivityEditor window(clientId);
    if (!window.loadRecord(id))
        return false;
    platform::execModal(window);
    return window.saved();
}
