#include "app/MainWindow.h"

#include "app/HelpBrowser.h"
#include "app/SettingsPage.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/TrayIcon.h"
#include "crm/CategoryTree.h"
#include "crm/ClientListPage.h"
#include "crm/ClientSearchWindow.h"
#include "crm/GoodsEditor.h"
#include "data/ProgramFolder.h"
#include "data/StoredColor.h"
#include "data/Database.h"
#include "desk/AddressBookTab.h"
#include "desk/FolderTab.h"
#include "desk/SearchTab.h"
#include "desk/AmountConverter.h"
#include "desk/DeskTools.h"
#include "desk/ExchangeRatesPage.h"
#include "desk/PostCodesPage.h"
#include "desk/WorldClocksPage.h"
#include "desk/CalendarPage.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "safety/DataSafety.h"
#include "safety/DataSafetyCommands.h"
#include "safety/PasswordHash.h"
#include "safety/AutoBackupDialog.h"
#include "safety/FeedbackDialog.h"
#include "safety/PasswordDialog.h"
#include "safety/PasswordChangeDialog.h"
#include "search/SearchIndexUpkeep.h"
#include "search/SearchWindow.h"
#include "sync/SyncController.h"
#include "sync/SyncSettingsDialog.h"
#include "document/RichTextEditor.h"
#include "work/Reminders.h"
#include "work/RepeatRuleItems.h"
#include "work/StateColorGroup.h"
#include "work/ReminderWindow.h"
#include "work/WorkListPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char kAutostartName[] = "SMVey";

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent)
    , m_pageTabs(new QTabWidget)
    , m_workPage(new WorkListPage)
    , m_clientPage(new ClientListPage)
    , m_settingsPage(new SettingsPage)
    , m_stateColorGroup(new StateColorGroup)
    , m_addressBookTab(new AddressBookTab)
    , m_folderTab(new FolderTab)
    , m_searchTab(new SearchTab)
    , m_helpBrowser(new HelpBrowser)
    , m_trayIcon(new TrayIcon(programIcon(), this))
    , m_exchangeRatesPage(new ExchangeRatesPage)
    , m_postCodesPage(new PostCodesPage)
    , m_worldClocksPage(new WorldClocksPage)
{
    setWindowTitle(QStringLiteral("   Zorvik [Oribel]"));
    setWindowIcon(programIcon());
    resize(979, 563);
    buildPages();

    m_startHideTimer.setSingleShot(true);
    m_startHideTimer.setInterval(2000);
    connect(&m_startHideTimer, &QTimer::timeout, this, &MainWindow::hideAtStartTick);
    m_trayIconRefreshTimer.setSingleShot(true);
    m_trayIconRefreshTimer.setInterval(10000);
    connect(&m_trayIconRefreshTimer, &QTimer::timeout, this, &MainWindow::refreshTrayIconTick);
    m_minuteTimer.setInterval(60000);
    connect(&m_minuteTimer, &QTimer::timeout, this, &MainWindow::minuteTick);
    m_clockTimer.setInterval(1000);
    connect(&m_clockTimer, &QTimer::timeout, this, &MainWindow::clockTick);
    m_halfHourTimer.setInterval(30 * 60 * 1000);
    connect(&m_halfHourTimer, &QTimer::timeout, this, &MainWindow::halfHourTick);

    connect(m_trayIcon, &TrayIcon::toggleRequested, this, &MainWindow::toggleHidden);
    connect(m_trayIcon, &TrayIcon::activated, this, &MainWindow::trayIconActivated);
    connect(m_trayIcon, &TrayIcon::exitRequested, this, &MainWindow::exitProgram);
    connect(m_trayIcon, &TrayIcon::searchRequested, this, &MainWindow::openSearch);
    auto *searchShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), this);
    searchShortcut->setContext(Qt::ApplicationShortcut);
    connect(searchShortcut, &QShortcut::activated, this, &MainWindow::openSearch);
    connect(m_pageTabs, &QTabWidget::currentChanged, this, &MainWindow::enterPage);
    connect(m_settingsPage->m_minimiseButton, &QPushButton::clicked, this, &MainWindow::toggleHidden);
    connect(m_settingsPage->m_exitButton, &QPushButton::clicked, this, &MainWindow::exitProgram);
    connect(m_settingsPage->m_calculatorButton, &QPushButton::clicked, this, &callCalculator);
    connect(m_settingsPage->m_textEditorButton, &QPushButton::clicked, this, &callTextEditor);
    connect(m_settingsPage->m_translatorButton, &QPushButton::clicked, this, &openTranslator);
    connect(m_settingsPage->m_mapButton, &QPushButton::clicked, this, &openMap);
    connect(m_settingsPage->m_shutDownButton, &QPushButton::clicked, this, &shutDownComputerAsked);
    connect(m_settingsPage->m_amountConverterButton, &QPushButton::clicked, this, [] { openAmountConverter(); });
    connect(m_settingsPage->m_feedbackButton, &QPushButton::clicked, this, &openFeedbackDialog);
    connect(m_settingsPage->m_startWithSystemCheck, &QCheckBox::toggled, this, &MainWindow::setStartWithSystem);
    connect(m_settingsPage->m_autoHideCheck, &QCheckBox::toggled, this, &MainWindow::saveCurrentSettings);
    connect(m_settingsPage->m_usePasswordCheck, &QCheckBox::toggled, this, &MainWindow::saveCurrentSettings);
    connect(m_settingsPage->m_changePasswordButton, &QPushButton::clicked, this, &changePassword);
    connect(m_settingsPage->m_autoBackupSettingsButton, &QPushButton::clicked, this, &MainWindow::openAutoBackupSettings);
    connect(m_settingsPage->m_autoBackupFolderEdit, &QLineEdit::editingFinished, this, &MainWindow::acceptAutoBackupFolder);
    connect(m_settingsPage->m_backupButton, &QPushButton::clicked, this, &MainWindow::backUpNow);
    connect(m_settingsPage->m_restoreButton, &QPushButton::clicked, this, &MainWindow::restoreFromBackup);
    connect(m_settingsPage->m_clearDataButton, &QPushButton::clicked, this, &MainWindow::clearAllData);
    connect(m_settingsPage->m_undoButton, &QPushButton::clicked, this, &MainWindow::undoLastReplacement);
    connect(m_settingsPage->m_checkBackupButton, &QPushButton::clicked, this, &checkBackupByUser);
    connect(m_stateColorGroup, &StateColorGroup::colorsChanged, this, &MainWindow::stateColorsChanged);
    connect(m_workPage, &WorkListPage::listWidthChanged, this, &MainWindow::saveCurrentSettings);
    connect(m_workPage, &WorkListPage::listPressed, this, &MainWindow::cancelStartHide);
    connect(this, &MainWindow::findInDocumentRequested, m_workPage->m_documentEditor, &RichTextEditor::showFindDialog);

    // Keys reach the focused control first; the window previews them, and the clicks on its
    // tabs, through the application.
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

void MainWindow::buildPages()
{
    const QStringList captions{tr(" 事务跟踪 "), tr(" 客户跟踪 "), tr(" 联系人 "), tr(" 常用文件夹 "),
                               tr(" 常用搜索 "), tr(" 外汇牌价 "), tr(" 邮政编码 "), tr(" 万年历 "),
                               tr(" 世界时钟 "), tr("其他功能"), tr("使用说明")};
    for (int page = 0; page < PageCount; ++page)
        m_pageTabs->addTab(createPage(Page(page)), captions.at(page));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_pageTabs);
    addSyncStatusLine(layout);
}

void MainWindow::addSyncStatusLine(QVBoxLayout *layout)
{
    m_syncController = new SyncController(Database::instance(), this);
    m_syncStatusLabel = new QLabel(this);
    m_syncStatusLabel->hide();
    layout->addWidget(m_syncStatusLabel);
    connect(m_syncController, &SyncController::started, this, [this] {
        m_workPage->saveCurrentDocument(); // typing in the body is a change the sync must see
        m_syncStatusLabel->setText(tr("正在同步…"));
        m_syncStatusLabel->show();
    });
    connect(m_syncController, &SyncController::progress, this,
            [this](const QString &line) { m_syncStatusLabel->setText(tr("正在同步：%1").arg(line)); });
    connect(m_syncController, &SyncController::finished, this, [this](const SyncOutcome &outcome) {
        m_syncStatusLabel->setText(outcome.ok ? tr("同步完成：%1").arg(outcome.summary()) : tr("同步没有完成：%1").arg(outcome.error));
        QTimer::singleShot(outcome.ok ? 5000 : 30000, m_syncStatusLabel, &QLabel::hide);
        if (outcome.ok && outcome.summary() != tr("没有变化")) {
            m_workPage->saveCurrentDocument();
            reloadPages();
        }
    });
}

QWidget *MainWindow::createPage(Page page)
{
    switch (page) {
    case WorkPage:
        return m_workPage;

    case ClientPage:
        connect(m_clientPage->m_findClientButton, &QPushButton::clicked, this, [this] {
            openClientSearch([this](const QString &code, qint64 id) { locateClient(code, id); }, this,
                             m_clientPage->m_findClientButton);
        });
        return m_clientPage;

    case AddressBookPage:
        return m_addressBookTab;

    case FolderPage:
        return m_folderTab;

    case SearchPage:
        return m_searchTab;

    case ExchangeRatePage:
        return m_exchangeRatesPage;

    case PostCodePage:
        return m_postCodesPage;

    case WorldClockPage:
        return m_worldClocksPage;

    case CalendarPage:
        m_calendarPage = new ::CalendarPage;
        return m_calendarPage;

    case SettingsPageIndex: {
        m_settingsPage->addGroup(m_stateColorGroup);
        auto *syncButton = new QPushButton(tr("同步设置..."), m_settingsPage);
        m_settingsPage->m_otherRows->addWidget(syncButton);
        connect(syncButton, &QPushButton::clicked, this,
                [this] { showSyncSettings(Database::instance(), *m_syncController, this); });
        return m_settingsPage;
    }

    case HelpPage: {
        auto *sheet = new QWidget;
        auto *layout = new QVBoxLayout(sheet);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_helpBrowser);
        m_helpBrowser->setOpenExternalLinks(false);
        return sheet;
    }

    default:
        return new QWidget;
    }
}

void MainWindow::loadPages()
{
    if (!Database::instance().isOpen())
        return; // the installation message has said why; every page would only repeat it
    m_workPage->loadList();
    for (Page page : {ClientPage, FolderPage, SearchPage, AddressBookPage, WorldClockPage, PostCodePage}) {
        if (m_shown[page])
            loadPage(page);
    }
}

void MainWindow::loadPage(Page page)
{
    switch (page) {
    case ClientPage: m_clientPage->loadTree(); break;
    case FolderPage: m_folderTab->loadFolders(); break;
    case SearchPage: m_searchTab->loadSites(); break;
    case AddressBookPage: m_addressBookTab->loadCategories(); break;
    case WorldClockPage: m_worldClocksPage->loadPlaces(); break;
    case PostCodePage:
        m_postCodesPage->fillProvinces();
        m_postCodesPage->queryPostCodes();
        break;
    default: break;
    }
}

// Pictures, the web page and the help are read once; the data also again in loadPages.
void MainWindow::firstShow(Page page)
{
    m_shown[page] = true;
    switch (page) {
    case SettingsPageIndex:
        m_settingsPage->loadAboutPicture(programFolder() + QStringLiteral("Images/Vey1.bmp"));
        break;
    case ExchangeRatePage: m_exchangeRatesPage->loadRates(); break;
    case WorldClockPage:
        m_worldClocksPage->loadFaces(programFolder() + QStringLiteral("Images/Clock1.bmp"));
        break;
    case HelpPage:
        m_helpBrowser->setSource(QUrl::fromLocalFile(programFolder() + QStringLiteral("Help/Help.htm")));
        break;
    default: break;
    }
    if (Database::instance().isOpen())
        loadPage(page);
}

void MainWindow::locateClient(const QString &code, qint64 id)
{
    if (!m_shown[ClientPage])
        firstShow(ClientPage); // the tree must be there to find the client's category in
    QTreeWidgetItem *node = m_clientPage->m_categoryTree->findNode(code);
    if (!node)
        return;
    {
        // The list is loaded below whether or not the node was already the current one.
        const QSignalBlocker quiet(m_clientPage->m_categoryTree);
        m_clientPage->m_categoryTree->setCurrentItem(node);
    }
    m_clientPage->m_categoryTree->scrollToItem(node);
    if (!m_clientPage->loadClients(code))
        return;
    m_clientPage->clients().locate(id);
    m_pageTabs->setCurrentWidget(m_clientPage);
}

SearchWindow *MainWindow::openSearch()
{
    SearchWindow *window = openSearchWindow(Database::instance(), this);
    connect(window, &SearchWindow::openRequested, this, &MainWindow::openSearchResult);
    return window;
}

void MainWindow::openSearchResult(searchindex::Kind kind, qint64 id)
{
    using searchindex::Kind;
    if (m_hidden)
        toggleHidden();
    Database &dm = Database::instance();
    const auto clientCode = [&dm](qint64 clientId) {
        return dm.queryValue(QStringLiteral("Select TypeCode from TClient where ID=?"), {clientId});
    };
    const auto showDetail = [&](const char *table, int page) {
        const qint64 clientId =
            dm.queryValue(QStringLiteral("Select ClientID from %1 where ID=?").arg(QLatin1String(table)), {id}).toLongLong();
        locateClient(clientCode(clientId), clientId);
        m_clientPage->showDetailRecord(page, id);
    };
    switch (kind) {
    case Kind::WorkItem:
        m_pageTabs->setCurrentWidget(m_workPage);
        m_workPage->editWorkItemOf(id);
        break;
    case Kind::Client:
        locateClient(clientCode(id), id);
        break;
    case Kind::Contact:
        showDetail("TCLinker", ClientListPage::ContactPage);
        break;
    case Kind::Activity:
        showDetail("TCLinkRec", ClientListPage::ActivityPage);
        break;
    case Kind::FollowUp:
        showDetail("TCTrack", ClientListPage::FollowUpPage);
        break;
    case Kind::Goods:
        editGoods(dm.queryValue(QStringLiteral("Select TypeCode from TGoods where ID=?"), {id}), id);
        break;
    case Kind::AddressBookEntry:
        if (!m_shown[AddressBookPage])
            firstShow(AddressBookPage);
        m_pageTabs->setCurrentWidget(m_addressBookTab);
        m_addressBookTab->editEntry(dm.queryValue(QStringLiteral("Select ClassID from TLinker where ID=?"), {id}).toLongLong(),
                                    id);
        break;
    }
}

bool MainWindow::startUp()
{
    m_ready = false;
    m_hidden = false;
    // Checked before the stored setting loads, so every start writes the entry first and
    // removes it again when the setting is off: afterwards the entry matches the setting.
    m_settingsPage->m_startWithSystemCheck->setChecked(true);
    m_workPage->fillWorkTypes();

    // A failure skips the rest of the loading without a word, but settings that cannot be
    // read keep their defaults and the work list loads all the same.
    if (loadStoredSettings())
        loadPages();
    else
        m_workPage->loadList();
    // A copy killed half-way leaves its part behind; no other copy of the program runs now.
    removeCopyLeftovers(Database::instance().databasePath(),
                        {programBackupFolder(), m_settingsPage->m_autoBackupFolderEdit->text()});
    m_settingsPage->m_undoButton->setEnabled(QFileInfo(undoFilePath()).isFile());
    clockTick();

    if (m_settingsPage->m_usePasswordCheck->isChecked()) {
        const QString prompt = tr("请输入登陆密码：");
        if (!passwordMatches(m_settings.loginPassword, askPassword(prompt, prompt))) {
            platform::prompter().message(tr("密码错误！"), platform::Prompter::Icon::Error);
            return false;
        }
    }
    m_ready = true;
    m_startHideTimer.start();
    m_minuteTimer.start();
    m_clockTimer.start();
    m_halfHourTimer.start();
    return true;
}

bool MainWindow::loadStoredSettings()
{
    Database &dm = Database::instance();
    upgradeSchema(dm, programFolder());
    ensureSearchIndex(dm, this);
    const std::optional<Settings> loaded = loadSettings(dm);
    if (!loaded)
        return false;
    m_settings = *loaded;
    m_settingsPage->m_autoHideCheck->setChecked(m_settings.hideAtStart);
    m_settingsPage->m_autoBackupCheck->setChecked(m_settings.autoBackup);
    m_settingsPage->m_autoBackupFolderEdit->setText(m_settings.autoBackupFolder.isEmpty()
                                             ? programFolder() + QString::fromLatin1(kBackupFolder)
                                             : m_settings.autoBackupFolder);
    const QColor text = palette().color(QPalette::Text);
    const std::array<QColor, 4> colors{fromStoredColor(m_settings.pendingWorkColor, text),
                                       fromStoredColor(m_settings.inProgressWorkColor, text),
                                       fromStoredColor(m_settings.finishedWorkColor, text),
                                       fromStoredColor(m_settings.abandonedWorkColor, text)};
    m_stateColorGroup->setColors(colors);
    m_workPage->setStateColors(colors);
    m_settingsPage->m_usePasswordCheck->setChecked(m_settings.requirePassword);
    m_workPage->setListWidth(m_settings.workListWidth);
    m_settingsPage->m_startWithSystemCheck->setChecked(m_settings.startAtLogin);
    return true;
}

void MainWindow::stateColorsChanged()
{
    const std::array<QColor, 4> colors = m_stateColorGroup->colors();
    m_settings.pendingWorkColor = int(toStoredColor(colors[0]));
    m_settings.inProgressWorkColor = int(toStoredColor(colors[1]));
    m_settings.finishedWorkColor = int(toStoredColor(colors[2]));
    m_settings.abandonedWorkColor = int(toStoredColor(colors[3]));
    m_workPage->setStateColors(colors);
    saveCurrentSettings();
}

void MainWindow::saveCurrentSettings()
{
    if (!m_ready)
        return;
    m_settings.requirePassword = m_settingsPage->m_usePasswordCheck->isChecked();
    m_settings.startAtLogin = m_settingsPage->m_startWithSystemCheck->isChecked();
    m_settings.hideAtStart = m_settingsPage->m_autoHideCheck->isChecked();
    m_settings.autoBackup = m_settingsPage->m_autoBackupCheck->isChecked();
    m_settings.workListWidth = m_workPage->listWidth();
    const QString path = m_settingsPage->m_autoBackupFolderEdit->text();
    m_settings.autoBackupFolder = !path.isEmpty() && QDir(path).exists() ? path : QString();
    if (saveSettings(Database::instance(), m_settings) == SaveResult::NotStored)
        platform::prompter().message(tr("存储参数发生错误！"), platform::Prompter::Icon::Error);
}

void MainWindow::setStartWithSystem(bool checked)
{
    // The entry starts the program from wherever its executable is.
    const QString command = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Pandrel"));
    if (checked)
        platform::shell().setAutostart(QLatin1String(kAutostartName), command);
    else
        platform::shell().removeAutostart(QLatin1String(kAutostartName));
    saveCurrentSettings();
}

void MainWindow::showAsLastLeft()
{
    if (m_settings.windowMaximized)
        showMaximized();
    else
        show();
}

void MainWindow::showCentred()
{
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->geometry(); // the window's own screen, wherever it lies
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    if (m_settings.windowMaximized)
        showMaximized();
    else
        showNormal();
    raise();
    activateWindow();
}

void MainWindow::toggleHidden()
{
    m_toggling = true;
    if (m_hidden)
        showCentred();
    else if (m_trayIcon->available())
        hide();
    else
        showMinimized(); // without a notification area a hidden window could not be found again
    m_hidden = !m_hidden;
    m_toggling = false;
}

void MainWindow::trayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger) {
        // A single click only restores: where the double click follows it, that one must
        // not hide the window again at once.
        if (m_hidden) {
            toggleHidden();
            m_restoredByClick.start();
        }
    } else if (reason == QSystemTrayIcon::DoubleClick) {
        if (!m_restoredByClick.isValid() || m_restoredByClick.hasExpired(QApplication::doubleClickInterval()))
            toggleHidden();
        m_restoredByClick.invalidate();
    }
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || m_toggling)
        return;
    if (!isMinimized() && isVisible() && isMaximized() != m_settings.windowMaximized) {
        m_settings.windowMaximized = isMaximized();
        saveCurrentSettings();
    }
    if (isMinimized() && !m_hidden) {
        if (m_trayIcon->available()) {
            // Minimising puts the window into the notification area instead; after the
            // minimise has run its course, which would otherwise show the window again.
            QMetaObject::invokeMethod(this, [this] {
                m_toggling = true;
                setWindowState(windowState() & ~Qt::WindowMinimized);
                m_toggling = false;
                if (!m_hidden)
                    toggleHidden();
            }, Qt::QueuedConnection);
        } else {
            m_hidden = true;
        }
    } else if (!isMinimized() && m_hidden && isVisible()) {
        m_hidden = false; // brought back from the taskbar
    }
}

void MainWindow::hideAtStartTick()
{
    m_startHideTimer.stop();
    if (m_settingsPage->m_autoHideCheck->isChecked() && !m_hidden)
        toggleHidden();
}

void MainWindow::refreshTrayIconTick()
{
    m_trayIcon->removeIcon();
    m_trayIcon->addIcon();
    m_trayIconRefreshTimer.stop();
}

void MainWindow::minuteTick()
{
    if (isBackupDue() && !runAutoBackup(m_settingsPage->m_autoBackupFolderEdit->text()))
        return; // the failure has been shown; the reminders wait for the next tick
    QList<ReminderEntry> &cache = m_workPage->reminders();
    const int due = dueReminder(cache, platform::clock().now());
    if (due < 0)
        return;
    markReminderShown(Database::instance(), cache[due]);
    const qint32 id = cache[due].id;
    m_workPage->saveCurrentDocument(); // the reminder can open the same item in its own window
    if (continueSeries(Database::instance(), id, platform::clock().now()) >= 0)
        m_workPage->loadList(); // the next occurrence shows, and reminds at its own time
    connect(popUpReminder(id), &ReminderWindow::snoozed, this, [this](qint64 id, const QDateTime &time) {
        rescheduleReminder(m_workPage->reminders(), qint32(id), time);
    });
}

bool MainWindow::isBackupDue()
{
    // An open editor holds rows of the connection that the backup closes: the backup waits
    // until it is closed, and is then taken as one that was missed.
    if (QApplication::activeModalWidget())
        return false;
    const bool enabled = m_settingsPage->m_autoBackupCheck->isChecked();
    const QString folder = m_settingsPage->m_autoBackupFolderEdit->text();
    if (enabled && QDir(folder) == QDir(programFolder() + QString::fromLatin1(kBackupFolder)))
        programBackupFolder(); // the program's own folder is made when missing
    return m_backupScheduler.isDue(enabled, folder, m_settings.autoBackupSchedule, platform::clock().now());
}

bool MainWindow::runAutoBackup(const QString &folder)
{
    m_workPage->saveCurrentDocument(); // the typing in the body belongs in the backup, and survives the reload
    const QString problem = takeAutomaticBackup(Database::instance(), folder, platform::clock().now(), m_settings.autoBackupKeep);
    reloadPages();
    if (!problem.isEmpty()) {
        platform::prompter().message(problem, platform::Prompter::Icon::Error);
        return false;
    }
    return true;
}

void MainWindow::reloadPages()
{
    // The pages show what is stored again; nothing is written back while they load.
    m_ready = false;
    if (loadStoredSettings())
        loadPages();
    m_ready = true;
}

void MainWindow::commandEnded(CommandOutcome outcome)
{
    if (outcome == CommandOutcome::Done)
        restartProgram();
    else if (outcome == CommandOutcome::Failed)
        reloadPages();
    m_settingsPage->m_undoButton->setEnabled(QFileInfo(undoFilePath()).isFile());
}

void MainWindow::backUpNow()
{
    m_workPage->saveCurrentDocument(); // the typing in the body belongs in the backup
    commandEnded(backupByUser(Database::instance(), platform::clock().now().date()));
}

void MainWindow::restoreFromBackup()
{
    commandEnded(restoreByUser(Database::instance()));
}

void MainWindow::clearAllData()
{
    commandEnded(clearDataByUser(Database::instance()));
}

void MainWindow::undoLastReplacement()
{
    commandEnded(undoByUser(Database::instance()));
}

void MainWindow::openAutoBackupSettings()
{
    bool enabled = m_settingsPage->m_autoBackupCheck->isChecked();
    QString folder = m_settingsPage->m_autoBackupFolderEdit->text();
    QString schedule = m_settings.autoBackupSchedule;
    int keep = m_settings.autoBackupKeep;
    if (!editAutoBackupSettings(enabled, folder, schedule, keep))
        return;
    m_settingsPage->m_autoBackupCheck->setChecked(enabled);
    m_settingsPage->m_autoBackupFolderEdit->setText(folder);
    m_settings.autoBackupSchedule = schedule;
    m_settings.autoBackupKeep = keep;
    saveCurrentSettings();
}

void MainWindow::acceptAutoBackupFolder()
{
    const QString folder = m_settingsPage->m_autoBackupFolderEdit->text();
    if (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        platform::prompter().message(tr("指定的自动备份数据存储路径不存在！"), platform::Prompter::Icon::Warning);
        return;
    }
    saveCurrentSettings();
}

void MainWindow::restartProgram()
{
    // The new copy must find the database and the claim free, and must not be told that a copy
    // is running; the replaced database must not receive this copy's old document on closing.
    m_restarting = true;
    m_ready = false;
    Database::instance().close();
    if (m_instance)
        m_instance->release();
    platform::shell().restartProgram();
    m_trayIcon->removeIcon();
    close();
}

void MainWindow::refreshOnActivation()
{
    m_trayIcon->addIcon();
    m_calendarPage->goToToday();
    m_trayIconRefreshTimer.start();
}

bool MainWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        refreshOnActivation();
    return QWidget::event(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *widget = qobject_cast<QWidget *>(watched);
        // The event passes the filter once per receiver on its way up; act on the first.
        QWidget *focused = QApplication::focusWidget();
        if (widget && widget->window() == this && (widget == focused || (!focused && widget == this))) {
            const auto *key = static_cast<QKeyEvent *>(event);
            previewKeyPress(key->key(), key->modifiers());
        }
    } else if (event->type() == QEvent::MouseButtonPress && watched == m_pageTabs->tabBar()) {
        cancelStartHide();
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == m_settingsPage->m_autoBackupFolderEdit) {
        openAutoBackupSettings();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::previewKeyPress(int key, Qt::KeyboardModifiers modifiers)
{
    cancelStartHide();
    if (key == Qt::Key_F && modifiers.testFlag(Qt::ControlModifier) && m_pageTabs->currentIndex() == WorkPage)
        emit findInDocumentRequested();
}

void MainWindow::enterPage(int index)
{
    m_workPage->setPageShown(index == WorkPage);
    if (index >= 0 && index < PageCount && !m_shown[size_t(index)])
        firstShow(Page(index));
}

void MainWindow::clockTick()
{
    m_worldClocksPage->clockTick();
}

void MainWindow::halfHourTick()
{
    m_exchangeRatesPage->reloadIfStarted();
    m_trayIcon->removeIcon();
    m_trayIcon->addIcon();
}

void MainWindow::exitProgram()
{
    m_trayIcon->removeIcon();
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_restarting)
        m_workPage->saveCurrentDocument();
    m_trayIcon->removeIcon();
    event->accept();
    emit closed();
}
