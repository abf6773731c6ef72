#include "desk/SearchTab.h"

#include "desk/FolderList.h"
#include "desk/WebSearch.h"
#include "platform/Prompter.h"
#include "util/ShellLaunch.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

SearchTab::SearchTab(QWidget *parent)
    : QWidget(parent)
    , ListNetSearch(new FolderList(tr("      热门搜索网站名称"), tr("      搜索网站地址"),
                                   style()->standardIcon(QStyle::SP_DriveNetIcon)))
    , lblSearchTxt(new QLabel(tr("通过XXX搜索")))
    , EditToSearch(new QLineEdit)
    , cmdSearch(new QPushButton(tr("搜索")))
{
    const QString note = tr("不同的关键字请用空格隔开，比如，搜索北京的天气，则输入“北京 天气”然后点搜索按钮");
    ListNetSearch->setToolTip(tr("鼠标双击可打开选中的搜索网站"));
    lblSearchTxt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    EditToSearch->setToolTip(note);
    EditToSearch->setMinimumWidth(320);
    cmdSearch->setAutoDefault(false);

    auto *bar = new QGridLayout;
    bar->addWidget(lblSearchTxt, 0, 0);
    bar->addWidget(EditToSearch, 0, 1);
    bar->addWidget(cmdSearch, 0, 2);
    auto *noteLabel = new QLabel(note);
    noteLabel->setWordWrap(true);
    bar->addWidget(noteLabel, 1, 1, 1, 2);
    bar->setColumnStretch(0, 1);
    bar->setColumnStretch(1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(ListNetSearch, 1);
    layout->addLayout(bar);

    connect(ListNetSearch, &QTreeWidget::itemClicked, this, [this] { applySelection(true); });
    connect(ListNetSearch, &QTreeWidget::itemSelectionChanged, this, [this] { applySelection(false); });
    connect(ListNetSearch, &FolderList::folderDoubleClicked, this, &SearchTab::ListNetSearchDblClick);
    connect(cmdSearch, &QPushButton::clicked, this, &SearchTab::cmdSearchClick);
    connect(EditToSearch, &QLineEdit::returnPressed, this, &SearchTab::cmdSearchClick);
}

bool SearchTab::ReadyNetSearch()
{
    if (!ListNetSearch->load(QStringLiteral("Select * from TNetSearch Order by NetName collate PINYIN, ID"),
                             QStringLiteral("NetName"), QStringLiteral("NetAddress"))) {
        platform::prompter().message(tr("读取常用路径数据发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    if (QTreeWidgetItem *first = ListNetSearch->topLevelItem(0))
        ListNetSearch->setCurrentItem(first);
    applySelection(true);
    return true;
}

void SearchTab::applySelection(bool focusKeywords)
{
    const std::optional<Folder> site = ListNetSearch->selectedFolder();
    if (!site)
        return;
    lblSearchTxt->setText(tr("用[") + site->name + tr("]搜索"));
    if (focusKeywords && isVisible())
        EditToSearch->setFocus();
}

void SearchTab::cmdSearchClick()
{
    if (const std::optional<Folder> site = ListNetSearch->selectedFolder())
        OpenInBrowser(searchAddress(site->path, EditToSearch->text()));
}

void SearchTab::ListNetSearchDblClick()
{
    // The address is a web page: the browser opens it, not the file manager.
    if (const std::optional<Folder> site = ListNetSearch->selectedFolder())
        OpenInBrowser(site->path);
}
