#include "safety/PasswordChangeDialog.h"

#include "data/Recordset.h"
#include "data/Settings.h"
#include "data/Database.h"
#include "platform/ModalDialog.h"
#include "platform/Prompter.h"
#include "safety/PasswordHash.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordChangeDialog::PasswordChangeDialog(QWidget *parent)
    : QDialog(parent)
    , m_oldPasswordEdit(new QLineEdit)
    , m_newPasswordEdit(new QLineEdit)
    , m_confirmPasswordEdit(new QLineEdit)
    , m_okButton(new QPushButton(tr("确认(&E)")))
    , m_cancelButton(new QPushButton(tr("取消(&X)")))
{
    setWindowTitle(tr("参数修改密码设置"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    for (QLineEdit *field : {m_oldPasswordEdit, m_newPasswordEdit, m_confirmPasswordEdit}) {
        field->setEchoMode(QLineEdit::Password);
        field->setMinimumWidth(200);
    }

    auto *oldRow = new QHBoxLayout;
    oldRow->addWidget(m_oldPasswordEdit, 1);
    oldRow->addWidget(new QLabel(tr("初始密码为空")));
    auto *fields = new QFormLayout;
    fields->addRow(tr("原密码"), oldRow);
    fields->addRow(tr("新密码"), m_newPasswordEdit);
    fields->addRow(tr("确认新密码"), m_confirmPasswordEdit);

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(m_okButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancelButton, QDialogButtonBox::RejectRole);
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, [this] {
        if (checkAndStorePassword())
            accept();
    });
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool PasswordChangeDialog::checkAndStorePassword()
{
    if (m_newPasswordEdit->text() != m_confirmPasswordEdit->text()) {
        platform::prompter().message(tr("新密码与确认输入的新密码不一致！"), platform::Prompter::Icon::Warning);
        m_newPasswordEdit->clear();
        m_confirmPasswordEdit->clear();
        m_newPasswordEdit->setFocus();
        return false;
    }
    Recordset settingsRow(Database::instance());
    if (!settingsRow.open(QStringLiteral("Select LogPass from TPara LIMIT 1"))) {
        platform::prompter().message(tr("读取数据文件发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    if (!passwordMatches(settingsRow.text(QStringLiteral("LogPass")), m_oldPasswordEdit->text())) {
        platform::prompter().message(tr("要修改密码，必须输入正确的原密码！"), platform::Prompter::Icon::Warning);
        m_oldPasswordEdit->clear();
        m_oldPasswordEdit->setFocus();
        return false;
    }
    if (!saveLoginPassword(Database::instance(), hashPassword(m_newPasswordEdit->text())))
        platform::prompter().message(tr("存储数据发生错误！"), platform::Prompter::Icon::Error);
    return true;
}

void changePassword()
{
    PasswordChangeDialog window;
    platform::execModal(window);
}
