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
    , m_siteList(new FolderList(tr("      热门搜索网站名称"), tr("      搜索网站地址"),
                                   style()->standardIcon(QStyle::SP_DriveNetIcon)))
    , m_siteLabel(new QLabel(tr("通过XXX搜索")))
    , m_keywordsEdit(new QLineEdit)
    , m_searchButton(new QPushButton(tr("搜索")))
{
    const QString note = tr("不同的关键字请用空格隔开，比如，搜索北京的天气，则输入“北京 天气”然后点搜索按钮");
    m_siteList->setToolTip(tr("鼠标双击可打开选中的搜索网站"));
    m_siteLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_keywordsEdit->setToolTip(note);
    m_keywordsEdit->setMinimumWidth(320);
    m_searchButton->setAutoDefault(false);

    auto *bar = new QGridLayout;
    bar->addWidget(m_siteLabel, 0, 0);
    bar->addWidget(m_keywordsEdit, 0, 1);
    bar->addWidget(m_searchButton, 0, 2);
    auto *noteLabel = new QLabel(note);
    noteLabel->setWordWrap(true);
    bar->addWidget(noteLabel, 1, 1, 1, 2);
    bar->setColumnStretch(0, 1);
    bar->setColumnStretch(1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_siteList, 1);
    layout->addLayout(bar);

    connect(m_siteList, &QTreeWidget::itemClicked, this, [this] { applySelection(true); });
    connect(m_siteList, &QTreeWidget::itemSelectionChanged, this, [this] { applySelection(false); });
    connect(m_siteList, &FolderList::folderDoubleClicked, this, &SearchTab::openSelectedSite);
    connect(m_searchButton, &QPushButton::clicked, this, &SearchTab::searchOnSelectedSite);
    connect(m_keywordsEdit, &QLineEdit::returnPressed, this, &SearchTab::searchOnSelectedSite);
}

bool SearchTab::loadSites()
{
    if (!m_siteList->load(QStringLiteral("Select * from TNetSearch Order by NetName collate PINYIN, ID"),
                             QStringLiteral("NetName"), QStringLiteral("NetAddress"))) {
        platform::prompter().message(tr("读取常用路径数据发生错误！"), platform::Prompter::Icon::Error);
        return false;
    }
    if (QTreeWidgetItem *first = m_siteList->topLevelItem(0))
        m_siteList->setCurrentItem(first);
    applySelection(true);
    return true;
}

void SearchTab::applySelection(bool focusKeywords)
{
    const std::optional<Folder> site = m_siteList->selectedFolder();
    if (!site)
        return;
    m_siteLabel->setText(tr("用[") + site->name + tr("]搜索"));
    if (focusKeywords && isVisible())
        m_keywordsEdit->setFocus();
}

void SearchTab::searchOnSelectedSite()
{
    if (const std::optional<Folder> site = m_siteList->selectedFolder())
        openInBrowser(searchAddress(site->path, m_keywordsEdit->text()));
}

void SearchTab::openSelectedSite()
{
    // The address is a web page: the browser opens it, not the file manager.
    if (const std::optional<Folder> site = m_siteList->selectedFolder())
        openInBrowser(site->path);
}
