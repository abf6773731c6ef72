#include "safety/TfrmPassInput.h"

#include "platform/ModalDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPassInput::TfrmPassInput(QWidget *parent)
    : QDialog(parent)
    , lblHint(new QLabel(tr("请输入密码：")))
    , EditPass(new QLineEdit)
    , cmdEnsure(new QPushButton(tr("确认(&E)")))
    , cmdCancel(new QPushButton(tr("取消(&X)")))
{
    setWindowTitle(tr("请输入密码"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    EditPass->setEchoMode(QLineEdit::Password);
    EditPass->setMinimumWidth(260);
    lblHint->setBuddy(EditPass);

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(cmdEnsure, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    cmdEnsure->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblHint);
    layout->addWidget(EditPass);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmPassInput::setPrompt(const QString &title, const QString &prompt)
{
    setWindowTitle(title);
    lblHint->setText(prompt);
}

QString TfrmPassInput::answer() const
{
    return EditPass->text();
}

QString InputPassword(const QString &title, const QString &prompt)
{
    TfrmPassInput window;
    window.setPrompt(title, prompt);
    platform::execModal(window);
    return window.answer();
}
