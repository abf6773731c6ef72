#include "desk/FolderTab.h"

#include "data/Database.h"
#include "desk/FolderList.h"
#include "desk/FolderEditor.h"
#include "platform/Prompter.h"
#include "util/ShellLaunch.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

FolderTab::FolderTab(QWidget *parent)
    : QWidget(parent)
    , m_folderList(new FolderList(tr("      文件夹名称"), tr("      文件夹路径"), style()->standardIcon(QStyle::SP_DirIcon)))
    , m_addButton(new QPushButton(tr("添加常用文件夹")))
    , m_editButton(new QPushButton(tr("编辑常用文件夹")))
    , m_deleteButton(new QPushButton(tr("删除常用文件夹")))
    , m_openButton(new QPushButton(tr("打开选中文件夹")))
{
    m_folderList->setToolTip(tr("鼠标双击可打开选中的文件夹"));
    m_openButton->setToolTip(tr("鼠标双击可直接打开文件夹"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {m_addButton, m_editButton, m_deleteButton, m_openButton})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_folderList, 1);
    layout->addLayout(buttons);

    connect(m_addButton, &QPushButton::clicked, this, &FolderTab::addFolder);
    connect(m_editButton, &QPushButton::clicked, this, &FolderTab::editSelectedFolder);
    connect(m_deleteButton, &QPushButton::clicked, this, &FolderTab::deleteSelectedFolder);
    connect(m_openButton, &QPushButton::clicked, this, &FolderTab::openSelectedFolder);
    connect(m_folderList, &FolderList::folderDoubleClicked, this, &FolderTab::openSelectedFolder);
    connect(m_folderList, &FolderList::enterPressed, this, &FolderTab::editSelectedFolder);
}

bool FolderTab::loadFolders()
{
    if (m_folderList->load(QStringLiteral("Select * from TFolder Order by FolderName collate PINYIN, ID"),
                         QStringLiteral("FolderName"), QStringLiteral("FolderPath")))
        return true;
    platform::prompter().message(tr("读取常用路径数据发生错误！"), platform::Prompter::Icon::Error);
    return false;
}

void FolderTab::addFolder()
{
    if (editFolder(QStringLiteral("-1"), QString(), QString()))
        loadFolders();
}

void FolderTab::editSelectedFolder()
{
    const std::optional<Folder> folder = m_folderList->selectedFolder();
    if (folder && editFolder(QString::number(folder->id), folder->name, folder->path))
        loadFolders();
}

void FolderTab::deleteSelectedFolder()
{
    const std::optional<Folder> folder = m_folderList->selectedFolder();
    if (!folder || !platform::prompter().confirm(tr("您确认删除选定的常用文件夹记录吗？")))
        return;
    if (Database::instance().execute(QStringLiteral("Delete from TFolder Where ID=?"), {folder->id}))
        m_folderList->removeSelected();
    else
        platform::prompter().message(tr("删除数据发生错误！"), platform::Prompter::Icon::Error);
}

void FolderTab::openSelectedFolder()
{
    if (const std::optional<Folder> folder = m_folderList->selectedFolder())
        openWithDesktop(folder->path);
}
