#include "document/FindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FindDialog::FindDialog(QWidget *parent)
    : QDialog(parent)
    , editText(new QLineEdit)
    , chkMatchCase(new QCheckBox(tr("区分大小写")))
    , chkWholeWord(new QCheckBox(tr("全字匹配")))
    , optUp(new QRadioButton(tr("向上")))
    , optDown(new QRadioButton(tr("向下")))
    , cmdFindNext(new QPushButton(tr("查找下一个(&F)")))
    , cmdCancel(new QPushButton(tr("取消")))
{
    setWindowTitle(tr("查找"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    optDown->setChecked(true);
    cmdFindNext->setDefault(true);

    auto *direction = new QGroupBox(tr("方向"));
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(optUp);
    directionLayout->addWidget(optDown);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("查找内容：")), 0, 0);
    grid->addWidget(editText, 0, 1, 1, 2);
    grid->addWidget(chkMatchCase, 1, 0, 1, 2);
    grid->addWidget(chkWholeWord, 2, 0, 1, 2);
    grid->addWidget(direction, 1, 2, 2, 1);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdFindNext);
    buttons->addWidget(cmdCancel);
    buttons->addStretch(1);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);

    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdFindNext, &QPushButton::clicked, this, [this] {
        if (!editText->text().isEmpty())
            emit findNext(editText->text(), optUp->isChecked(), chkMatchCase->isChecked(), chkWholeWord->isChecked());
    });
}
