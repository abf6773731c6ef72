#include "safety/PasswordDialog.h"

#include "platform/ModalDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordDialog::PasswordDialog(QWidget *parent)
    : QDialog(parent)
    , m_promptLabel(new QLabel(tr("请输入密码：")))
    , m_passwordEdit(new QLineEdit)
    , m_okButton(new QPushButton(tr("确认(&E)")))
    , m_cancelButton(new QPushButton(tr("取消(&X)")))
{
    setWindowTitle(tr("请输入密码"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_passwordEdit->setMinimumWidth(260);
    m_promptLabel->setBuddy(m_passwordEdit);

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(m_okButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancelButton, QDialogButtonBox::RejectRole);
    m_okButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_promptLabel);
    layout->addWidget(m_passwordEdit);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PasswordDialog::setPrompt(const QString &title, const QString &prompt)
{
    setWindowTitle(title);
    m_promptLabel->setText(prompt);
}

QString PasswordDialog::answer() const
{
    return m_passwordEdit->text();
}

QString askPassword(const QString &title, const QString &prompt)
{
    PasswordDialog window;
    window.setPrompt(title, prompt);
    platform::execModal(window);
    return window.answer();
}
