#include "ModalWindow.h"
#include "RecordingShell.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "TestProgramFolder.h"
#include "Typing.h"

#include "app/MainWindow.h"
#include "desk/AddressBookTab.h"
#include "desk/FolderList.h"
#include "desk/FolderTab.h"
#include "desk/SearchTab.h"
#include "desk/FolderEditor.h"
#include "desk/WebSearch.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

// Each case: its own program folder (the sample folders and the shipped search sites),
// scripted prompts and a recording shell.
class TestLaunchLists : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keywordsJoinedWithPlus_data();
    void keywordsJoinedWithPlus();

    void foldersInDescriptionOrderNoneSelected();
    void withoutSelectionNothingHappens();
    void openFolder_data();
    void openFolder();
    void deleteFolder_data();
    void deleteFolder();
    void folderEditorChecks_data();
    void folderEditorChecks();
    void folderChooser_data();
    void folderChooser();
    void editFolderReloadsInOrder_data();
    void editFolderReloadsInOrder();
    void addFolder();
    void failedStoreKeepsEditorOpen();

    void firstSiteSelectedAtLoad();
    void searchOpensKeywordsOnSite_data();
    void searchOpensKeywordsOnSite();
    void clickedSiteNamesTheSearch();
    void doubleClickOpensSite();
    void withoutSitesNothingToSearch();
    void failedHandOffIsSaid_data();
    void failedHandOffIsSaid();
    void unreadableListsKeepTheirItems_data();
    void unreadableListsKeepTheirItems();

    void mainWindowLoadsTheTabs();

private:
    Database &dm() { return m_folder->database(); }
    QStringList names(const FolderList *list) const;
    void select(FolderList *list, const QString &name);

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<RecordingShell> m_shell;
    std::unique_ptr<FolderTab> m_folders;
    std::unique_ptr<SearchTab> m_search;
};

namespace {

const QString kSiteOpened = QStringLiteral("url https://www.so.com/s?q="); // 360搜索, first by name

} // namespace

void TestLaunchLists::init()
{
    m_folder = std::make_unique<TestProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_shell = std::make_unique<RecordingShell>();
    m_folders = std::make_unique<FolderTab>();
    m_search = std::make_unique<SearchTab>();
}

void TestLaunchLists::cleanup()
{
    m_search.reset();
    m_folders.reset();
    m_shell.reset();
    m_prompter.reset();
    m_folder.reset();
}

QStringList TestLaunchLists::names(const FolderList *list) const
{
    QStringList all;
    for (const Folder &folder : list->folders())
        all.append(folder.name);
    return all;
}

void TestLaunchLists::select(FolderList *list, const QString &name)
{
    const QList<QTreeWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    list->setCurrentItem(found.constFirst());
}

void TestLaunchLists::keywordsJoinedWithPlus_data()
{
    QTest::addColumn<QString>("keywords");
    QTest::addColumn<QString>("address");

    const QString site = QStringLiteral("https://www.google.com/search?q=");
    QTest::newRow("two Chinese keywords") << "北京 天气" << site + "%E5%8C%97%E4%BA%AC+%E5%A4%A9%E6%B0%94";
    QTest::newRow("one keyword") << "weather" << site + "weather";
    QTest::newRow("none") << "" << site;
    QTest::newRow("two spaces between") << "a  b" << site + "a++b";
    QTest::newRow("space before") << " a" << site + "+a";
    QTest::newRow("space after") << "a " << site + "a";
    QTest::newRow("plus signs") << "C++ 教程" << site + "C%2B%2B+%E6%95%99%E7%A8%8B";
    QTest::newRow("query characters") << "a&b c#d e=f" << site + "a%26b+c%23d+e%3Df";
    QTest::newRow("percent") << "100%" << site + "100%25";
}

void TestLaunchLists::keywordsJoinedWithPlus()
{
    QFETCH(QString, keywords);
    QFETCH(QString, address);
    QCOMPARE(searchAddress(QStringLiteral("https://www.google.com/search?q="), keywords).toString(QUrl::FullyEncoded),
             address);
}

void TestLaunchLists::foldersInDescriptionOrderNoneSelected()
{
    QVERIFY(m_folders->loadFolders());

    QCOMPARE(names(m_folders->m_folderList), (QStringList{"共享文件", "临时文件", "我的文档", "系统配置", "系统日志"}));
    QCOMPARE(m_folders->m_folderList->folders().at(1).path, QStringLiteral("/tmp"));
    QVERIFY(!m_folders->m_folderList->selectedFolder());
    QCOMPARE(m_folders->m_folderList->headerItem()->text(0), QStringLiteral("      文件夹名称"));
    QCOMPARE(m_folders->m_folderList->headerItem()->text(1), QStringLiteral("      文件夹路径"));
    QCOMPARE(m_folders->m_folderList->columnWidth(0), 300);
    QCOMPARE(m_folders->m_folderList->columnWidth(1), 500);
}

void TestLaunchLists::withoutSelectionNothingHappens()
{
    QVERIFY(m_folders->loadFolders());

    for (QPushButton *button : {m_folders->m_editButton, m_folders->m_deleteButton, m_folders->m_openButton})
        button->click();
    QTest::keyClick(m_folders->m_folderList, Qt::Key_Return);

    QVERIFY(m_prompter->shown().isEmpty());
    QVERIFY(m_shell->calls().isEmpty());
    QCOMPARE(m_folders->m_folderList->topLevelItemCount(), 5);
}

void TestLaunchLists::openFolder_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("button") << false;
    QTest::newRow("double click") << true;
}

void TestLaunchLists::openFolder()
{
    QFETCH(bool, doubleClick);
    QVERIFY(m_folders->loadFolders());
    select(m_folders->m_folderList, QStringLiteral("系统日志"));

    if (doubleClick) {
        m_folders->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_folders.get()));
        const QPoint cell(20, m_folders->m_folderList->visualItemRect(m_folders->m_folderList->currentItem()).center().y());
        // A widget receives a double-click as a click followed by the double-click event.
        QTest::mouseClick(m_folders->m_folderList->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(m_folders->m_folderList->viewport(), Qt::LeftButton, {}, cell);
    } else {
        m_folders->m_openButton->click();
    }

    QCOMPARE(m_shell->calls(), QStringList{"open /var/log"});
}

void TestLaunchLists::deleteFolder_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("remaining");
    QTest::newRow("yes") << true << 4;
    QTest::newRow("no") << false << 5;
}

void TestLaunchLists::deleteFolder()
{
    QFETCH(bool, confirm);
    QFETCH(int, remaining);
    QVERIFY(m_folders->loadFolders());
    select(m_folders->m_folderList, QStringLiteral("临时文件"));

    confirm ? m_prompter->answerYes() : m_prompter->answerNo();
    m_folders->m_deleteButton->click();

    QCOMPARE(m_prompter->shown(), QStringList{"您确认删除选定的常用文件夹记录吗？"});
    QCOMPARE(m_folders->m_folderList->topLevelItemCount(), remaining);
    QCOMPARE(names(m_folders->m_folderList).contains(QStringLiteral("临时文件")), !confirm);
    QCOMPARE(dm().queryValue(QStringLiteral("Select count(*) from TFolder")), QString::number(remaining));
}

void TestLaunchLists::folderEditorChecks_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("path"); // "<dir>" stands for an existing folder, "<file>" for a file
    QTest::addColumn<QString>("message"); // empty: stored
    QTest::addColumn<QString>("focused");

    const QString missing = QStringLiteral("选定的文件夹路径不存在或已经被删除！");
    QTest::newRow("no description") << "" << "<dir>" << "文件夹说明没有录入！" << "descriptionEdit";
    QTest::newRow("no path") << "项目资料" << "" << "文件夹路径没有指定！" << "pathEdit";
    QTest::newRow("missing folder") << "项目资料" << "<dir>/gone" << missing << "pathEdit";
    QTest::newRow("a file") << "项目资料" << "<file>" << missing << "pathEdit";
    QTest::newRow("relative path") << "项目资料" << "db" << missing << "pathEdit";
    QTest::newRow("typed existing folder") << "项目资料" << "<dir>" << "" << "";
    QTest::newRow("name with quotes") << "O'Neil's 100%_" << "<dir>" << "" << "";
}

void TestLaunchLists::folderEditorChecks()
{
    QFETCH(QString, description);
    QFETCH(QString, path);
    QFETCH(QString, message);
    QFETCH(QString, focused);
    QFile file(m_folder->filePath(QStringLiteral("notes.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    path.replace(QLatin1String("<dir>"), m_folder->filePath(QStringLiteral("Bak")));
    path.replace(QLatin1String("<file>"), file.fileName());
    QDir::setCurrent(m_folder->path()); // where a relative "db" would be found

    FolderEditor editor(QStringLiteral("-1"), description, path);
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.m_saveButton->click();

    QCOMPARE(m_prompter->shown(), message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(editor.saved(), message.isEmpty());
    QCOMPARE(editor.isVisible(), !message.isEmpty());
    const QString count = dm().queryValue(
        QStringLiteral("Select count(*) from TFolder where FolderName=? and FolderPath=?"), {description, path});
    QCOMPARE(count, message.isEmpty() ? QStringLiteral("1") : QStringLiteral("0"));
    if (!focused.isEmpty())
        QCOMPARE(QApplication::focusWidget(), focused == "descriptionEdit" ? editor.m_descriptionEdit : editor.m_pathEdit);
}

void TestLaunchLists::folderChooser_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<QString>("path");
    QTest::newRow("button, chosen") << false << QVariant("/usr/share") << "/usr/share";
    QTest::newRow("double click, chosen") << true << QVariant("/usr/share") << "/usr/share";
    QTest::newRow("cancelled") << false << QVariant() << "/tmp";
}

void TestLaunchLists::folderChooser()
{
    QFETCH(bool, doubleClick);
    QFETCH(QVariant, answer);
    QFETCH(QString, path);
    FolderEditor editor(QStringLiteral("-1"), QStringLiteral("共享"), QStringLiteral("/tmp"));

    answer.isValid() ? m_prompter->answerText(answer.toString()) : m_prompter->answerCancel();
    if (doubleClick)
        QTest::mouseDClick(editor.m_pathEdit, Qt::LeftButton);
    else
        editor.m_chooseFolderButton->click();

    QCOMPARE(m_prompter->shown(), QStringList{"选择文件夹"});
    QCOMPARE(editor.m_pathEdit->text(), path);
}

void TestLaunchLists::editFolderReloadsInOrder_data()
{
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QString>("rename");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("button, unchanged") << false << "" << QStringList{"共享文件", "临时文件", "我的文档", "系统配置", "系统日志"};
    QTest::newRow("Enter, renamed") << true << "安装程序" << QStringList{"安装程序", "共享文件", "临时文件", "我的文档", "系统配置"};
}

void TestLaunchLists::editFolderReloadsInOrder()
{
    QFETCH(bool, enter);
    QFETCH(QString, rename);
    QFETCH(QStringList, listed);
    QVERIFY(m_folders->loadFolders());
    select(m_folders->m_folderList, QStringLiteral("系统日志"));
    const qint32 id = m_folders->m_folderList->selectedFolder()->id;

    QVERIFY(whileModal<FolderEditor>(
        [&] {
            if (enter)
                QTest::keyClick(m_folders->m_folderList, Qt::Key_Return);
            else
                m_folders->m_editButton->click();
        },
        [&](FolderEditor &editor) {
            QCOMPARE(editor.windowTitle(), QStringLiteral("新增/修改常用文件夹"));
            QCOMPARE(editor.m_descriptionEdit->text(), QStringLiteral("系统日志"));
            QCOMPARE(editor.m_pathEdit->text(), QStringLiteral("/var/log"));
            if (!rename.isEmpty())
                editor.m_descriptionEdit->setText(rename);
            editor.m_saveButton->click();
        }));

    QCOMPARE(names(m_folders->m_folderList), listed);
    QVERIFY(!m_folders->m_folderList->selectedFolder());
    QCOMPARE(dm().queryValue(QStringLiteral("Select FolderName || FolderPath from TFolder where ID=?"), {id}),
             (rename.isEmpty() ? QStringLiteral("系统日志") : rename) + QStringLiteral("/var/log"));
    QCOMPARE(dm().queryValue(QStringLiteral("Select count(*) from TFolder")), QStringLiteral("5"));
}

void TestLaunchLists::addFolder()
{
    QVERIFY(m_folders->loadFolders());

    QVERIFY(whileModal<FolderEditor>([&] { m_folders->m_addButton->click(); },
               [&](FolderEditor &editor) {
                   QVERIFY(editor.m_descriptionEdit->text().isEmpty());
                   QCOMPARE(editor.focusWidget(), editor.m_descriptionEdit); // where the focus goes as the window opens
                   // Typed as a user does: Enter moves on from the description to the path.
                   commitInput(editor.m_descriptionEdit, QStringLiteral("备份"));
                   QTest::keyClick(editor.m_descriptionEdit, Qt::Key_Return);
                   QTest::keyClicks(editor.focusWidget(), m_folder->filePath(QStringLiteral("Bak")));
                   editor.m_saveButton->click();
               }));

    QCOMPARE(names(m_folders->m_folderList).first(), QStringLiteral("备份"));
    QCOMPARE(m_folders->m_folderList->folders().first().path, m_folder->filePath(QStringLiteral("Bak")));
    QCOMPARE(dm().queryValue(QStringLiteral("Select count(*) from TFolder")), QStringLiteral("6"));
}

void TestLaunchLists::failedStoreKeepsEditorOpen()
{
    QVERIFY(dm().execute(QStringLiteral("Create trigger RefuseInsert before insert on TFolder "
                                        "begin select raise(abort, 'read only'); end")));
    FolderEditor editor(QStringLiteral("-1"), QStringLiteral("备份"), m_folder->filePath(QStringLiteral("Bak")));
    editor.show();

    editor.m_saveButton->click();

    QCOMPARE(m_prompter->shown(), QStringList{"存储数据发生错误！"});
    QVERIFY(editor.isVisible());
    QVERIFY(!editor.saved());
}

void TestLaunchLists::firstSiteSelectedAtLoad()
{
    QVERIFY(m_search->loadSites());

    QCOMPARE(names(m_search->m_siteList).mid(0, 3), (QStringList{"360搜索", "百度", "百度百科"}));
    QCOMPARE(m_search->m_siteList->selectedFolder()->name, QStringLiteral("360搜索"));
    QCOMPARE(m_search->m_siteLabel->text(), QStringLiteral("用[360搜索]搜索"));
}

void TestLaunchLists::searchOpensKeywordsOnSite_data()
{
    QTest::addColumn<bool>("enter");
    QTest::newRow("button") << false;
    QTest::newRow("Enter") << true;
}

void TestLaunchLists::searchOpensKeywordsOnSite()
{
    QFETCH(bool, enter);
    QVERIFY(m_search->loadSites());
    QTest::keyClicks(m_search->m_keywordsEdit, QStringLiteral("C++ a&b"));

    if (enter)
        QTest::keyClick(m_search->m_keywordsEdit, Qt::Key_Return);
    else
        m_search->m_searchButton->click();

    QCOMPARE(m_shell->calls(), QStringList{kSiteOpened + "C%2B%2B+a%26b"});
}

// The desktop opened nothing: the user hears what did not open.
void TestLaunchLists::failedHandOffIsSaid_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("message");

    QTest::newRow("search") << "search"
                            << "无法打开网址：https://www.so.com/s?q=天气\n系统中没有找到浏览器程序，请先安装一个浏览器！";
    QTest::newRow("folder") << "folder" << "系统中没有找到可以打开文件夹的程序，无法打开：\n/var/log";
}

void TestLaunchLists::failedHandOffIsSaid()
{
    QFETCH(QString, action);
    QFETCH(QString, message);
    m_shell->failLaunches();

    if (action == QLatin1String("search")) {
        QVERIFY(m_search->loadSites());
        m_search->m_keywordsEdit->setText(QStringLiteral("天气")); // typed through an input method
        m_search->m_searchButton->click();
    } else {
        QVERIFY(m_folders->loadFolders());
        select(m_folders->m_folderList, QStringLiteral("系统日志"));
        m_folders->m_openButton->click();
    }

    QCOMPARE(m_shell->calls().size(), 1);
    QCOMPARE(m_prompter->shown(), QStringList{message});
}

void TestLaunchLists::clickedSiteNamesTheSearch()
{
    QVERIFY(m_search->loadSites());
    m_search->show();
    QVERIFY(QTest::qWaitForWindowActive(m_search.get()));
    QTreeWidgetItem *item = m_search->m_siteList->findItems(QStringLiteral("必应"), Qt::MatchExactly).constFirst();

    QTest::mouseClick(m_search->m_siteList->viewport(), Qt::LeftButton, {},
                      QPoint(20, m_search->m_siteList->visualItemRect(item).center().y()));

    QCOMPARE(m_search->m_siteLabel->text(), QStringLiteral("用[必应]搜索"));
    QVERIFY(m_search->m_keywordsEdit->hasFocus());
    m_search->m_keywordsEdit->insert(QStringLiteral("北京 天气"));
    QTest::keyClick(m_search->m_keywordsEdit, Qt::Key_Return);
    QCOMPARE(m_shell->calls(),
             QStringList{"url https://cn.bing.com/search?q=%E5%8C%97%E4%BA%AC+%E5%A4%A9%E6%B0%94"});
}

void TestLaunchLists::doubleClickOpensSite()
{
    QVERIFY(m_search->loadSites());
    m_search->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_search.get()));
    const QPoint cell(20, m_search->m_siteList->visualItemRect(m_search->m_siteList->topLevelItem(0)).center().y());

    QTest::mouseClick(m_search->m_siteList->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(m_search->m_siteList->viewport(), Qt::LeftButton, {}, cell);

    QCOMPARE(m_shell->calls(), QStringList{kSiteOpened});
}

void TestLaunchLists::withoutSitesNothingToSearch()
{
    QVERIFY(dm().execute(QStringLiteral("Delete from TNetSearch")));
    QVERIFY(m_search->loadSites());

    m_search->m_keywordsEdit->setText(QStringLiteral("天气"));
    m_search->m_searchButton->click();

    QCOMPARE(m_search->m_siteLabel->text(), QStringLiteral("通过XXX搜索"));
    QVERIFY(m_shell->calls().isEmpty());
    QVERIFY(m_prompter->shown().isEmpty());
}

void TestLaunchLists::unreadableListsKeepTheirItems_data()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("folders") << "TFolder";
    QTest::newRow("search sites") << "TNetSearch";
}

void TestLaunchLists::unreadableListsKeepTheirItems()
{
    QFETCH(QString, table);
    const bool folders = table == QLatin1String("TFolder");
    FolderList *list = folders ? m_folders->m_folderList : m_search->m_siteList;
    auto load = [&] { return folders ? m_folders->loadFolders() : m_search->loadSites(); };
    QVERIFY(load());
    const QStringList before = names(list);
    QVERIFY(dm().execute(QStringLiteral("Drop table ") + table));

    QVERIFY(!load());

    QCOMPARE(m_prompter->shown(), QStringList{"读取常用路径数据发生错误！"});
    QCOMPARE(names(list), before);
}

void TestLaunchLists::mainWindowLoadsTheTabs()
{
    MainWindow window;
    QVERIFY(window.startUp());

    QCOMPARE(window.m_pageTabs->widget(MainWindow::AddressBookPage), window.m_addressBookTab);
    QCOMPARE(window.m_pageTabs->widget(MainWindow::FolderPage), window.m_folderTab);
    QCOMPARE(window.m_pageTabs->widget(MainWindow::SearchPage), window.m_searchTab);
    // Each loads at its first show.
    QCOMPARE(window.m_folderTab->m_folderList->topLevelItemCount(), 0);
    QVERIFY(!window.m_addressBookTab->contacts().isOpen());
    for (int page : {MainWindow::AddressBookPage, MainWindow::FolderPage, MainWindow::SearchPage})
        window.m_pageTabs->setCurrentIndex(page);
    QCOMPARE(window.m_folderTab->m_folderList->topLevelItemCount(), 5);
    QCOMPARE(window.m_searchTab->m_siteLabel->text(), QStringLiteral("用[360搜索]搜索"));
    QCOMPARE(window.m_addressBookTab->categories().count(), 4);
    QVERIFY(!window.m_addressBookTab->contacts().isEmpty());
    QVERIFY(m_prompter->shown().isEmpty());
}

PANDREL_TEST_MAIN(TestLaunchLists)
#include "tst_launchlists.moc"
