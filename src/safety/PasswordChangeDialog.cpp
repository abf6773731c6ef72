#include "safety/TfrmPassSet.h"

#include "data/Recordset.h"
#include "data/Settings.h"
#include "data/TDM.h"
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

TfrmPassSet::TfrmPassSet(QWidget *parent)
    : QDialog(parent)
    , EditOld(new QLineEdit)
    , EditNew(new QLineEdit)
    , EditNewEnsure(new QLineEdit)
    , Button1(new QPushButton(tr("确认(&E)")))
    , Button2(new QPushButton(tr("取消(&X)")))
{
    setWindowTitle(tr("参数修改密码设置"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    for (QLineEdit *field : {EditOld, EditNew, EditNewEnsure}) {
        field->setEchoMode(QLineEdit::Password);
        field->setMinimumWidth(200);
    }

    auto *oldRow = new QHBoxLayout;
    oldRow->addWidget(EditOld, 1);
    oldRow->addWidget(new QLabel(tr("初始密码为空")));
    auto *fields = new QFormLayout;
    fields->addRow(tr("原密码"), oldRow);
    fields->addRow(tr("新密码"), EditNew);
    fields->addRow(tr("确认新密码"), EditNewEnsure);

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(Button1, QDialogButtonBox::AcceptRole);
    buttons->addButton(Button2, QDialogButtonBox::RejectRole);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] {
        if (CheckPass())
            accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TfrmPassSet::CheckPass()
{
    if (EditNew->text() != EditNewEnsure->text()) {
        platform::prompter().message(tr("新密码与确认输入的新密码不一致！"), platform::Prompter::Icon::Warning);
        EditNew->clear();
        EditNewEnsure->clear();
        EditNew->setFocus();
        return false;
    }
    Recordset para(TDM::instance());
    if (!para.open(QStringLiteral("Select LogPass from TPara LIMIT 1"))) {
        platform::prompter().message(tr("读取数据文件发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    if (!passwordMatches(para.text(QStringLiteral("LogPass")), EditOld->text())) {
        platform::prompter().message(tr("要修改密码，必须输入正确的原密码！"), platform::Prompter::Icon::Warning);
        EditOld->clear();
        EditOld->setFocus();
        return false;
    }
    if (!saveLoginPassword(TDM::instance(), hashPassword(EditNew->text())))
        platform::prompter().message(tr("存储数据发生错误！"), platform::Prompter::Icon::Error);
    return true;
}

void ShowPasswordChange()
{
    TfrmPassSet window;
    platform::execModal(window);
}
