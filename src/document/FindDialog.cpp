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
    , m_textEdit(new QLineEdit)
    , m_matchCaseCheck(new QCheckBox(tr("区分大小写")))
    , m_wholeWordCheck(new QCheckBox(tr("全字匹配")))
    , m_searchUpButton(new QRadioButton(tr("向上")))
    , m_searchDownButton(new QRadioButton(tr("向下")))
    , m_findNextButton(new QPushButton(tr("查找下一个(&F)")))
    , m_cancelButton(new QPushButton(tr("取消")))
{
    setWindowTitle(tr("查找"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_searchDownButton->setChecked(true);
    m_findNextButton->setDefault(true);

    auto *direction = new QGroupBox(tr("方向"));
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_searchUpButton);
    directionLayout->addWidget(m_searchDownButton);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("查找内容：")), 0, 0);
    grid->addWidget(m_textEdit, 0, 1, 1, 2);
    grid->addWidget(m_matchCaseCheck, 1, 0, 1, 2);
    grid->addWidget(m_wholeWordCheck, 2, 0, 1, 2);
    grid->addWidget(direction, 1, 2, 2, 1);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_findNextButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch(1);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);

    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::close);
    connect(m_findNextButton, &QPushButton::clicked, this, [this] {
        if (!m_textEdit->text().isEmpty())
            emit findNext(m_textEdit->text(), m_searchUpButton->isChecked(), m_matchCaseCheck->isChecked(), m_wholeWordCheck->isChecked());
    });
}
