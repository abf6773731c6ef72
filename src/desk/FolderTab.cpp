#include "desk/FolderTab.h"

#include "data/TDM.h"
#include "desk/FolderList.h"
#include "desk/TfrmEditACustFolder.h"
#include "platform/Prompter.h"
#include "util/ShellLaunch.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

FolderTab::FolderTab(QWidget *parent)
    : QWidget(parent)
    , ListFolder(new FolderList(tr("      文件夹名称"), tr("      文件夹路径"), style()->standardIcon(QStyle::SP_DirIcon)))
    , Button7(new QPushButton(tr("添加常用文件夹")))
    , Button8(new QPushButton(tr("编辑常用文件夹")))
    , Button9(new QPushButton(tr("删除常用文件夹")))
    , cmdOpenFolder(new QPushButton(tr("打开选中文件夹")))
{
    ListFolder->setToolTip(tr("鼠标双击可打开选中的文件夹"));
    cmdOpenFolder->setToolTip(tr("鼠标双击可直接打开文件夹"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {Button7, Button8, Button9, cmdOpenFolder})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(ListFolder, 1);
    layout->addLayout(buttons);

    connect(Button7, &QPushButton::clicked, this, &FolderTab::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &FolderTab::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &FolderTab::Button9Click);
    connect(cmdOpenFolder, &QPushButton::clicked, this, &FolderTab::cmdOpenFolderClick);
    connect(ListFolder, &FolderList::folderDoubleClicked, this, &FolderTab::cmdOpenFolderClick);
    connect(ListFolder, &FolderList::enterPressed, this, &FolderTab::Button8Click);
}

bool FolderTab::ReadyCustPath()
{
    if (ListFolder->load(QStringLiteral("Select * from TFolder Order by FolderName collate PINYIN, ID"),
                         QStringLiteral("FolderName"), QStringLiteral("FolderPath")))
        return true;
    platform::prompter().message(tr("读取常用路径数据发生错误！"), platform::Prompter::Icon::Error);
    return false;
}

void FolderTab::Button7Click()
{
    if (ShowFolderEditor(QStringLiteral("-1"), QString(), QString()))
        ReadyCustPath();
}

void FolderTab::Button8Click()
{
    const std::optional<Folder> folder = ListFolder->selectedFolder();
    if (folder && ShowFolderEditor(QString::number(folder->ID), folder->name, folder->path))
        ReadyCustPath();
}

void FolderTab::Button9Click()
{
    const std::optional<Folder> folder = ListFolder->selectedFolder();
    if (!folder || !platform::prompter().confirm(tr("您确认删除选定的常用文件夹记录吗？")))
        return;
    if (TDM::instance().execute(QStringLiteral("Delete from TFolder Where ID=?"), {folder->ID}))
        ListFolder->removeSelected();
    else
        platform::prompter().message(tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
}

void FolderTab::cmdOpenFolderClick()
{
    if (const std::optional<Folder> folder = ListFolder->selectedFolder())
        ShellOpen(folder->path);
}
