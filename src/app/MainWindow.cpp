#include "app/TfrmWorkMain.h"

#include "app/HelpBrowser.h"
#include "app/SettingsPage.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"
#include "crm/CategoryTree.h"
#include "crm/ClientListPage.h"
#include "crm/TfrmFindClient.h"
#include "data/ProgramFolder.h"
#include "data/StoredColor.h"
#include "data/TDM.h"
#include "desk/AddressBookTab.h"
#include "desk/FolderTab.h"
#include "desk/SearchTab.h"
#include "desk/TfrmJEZH.h"
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
#include "safety/TfrmAutoBakSet.h"
#include "safety/TfrmBug.h"
#include "safety/TfrmPassInput.h"
#include "safety/TfrmPassSet.h"
#include "document/RichTextEditor.h"
#include "work/Reminders.h"
#include "work/StateColorGroup.h"
#include "work/TfrmWorkHint.h"
#include "work/WorkListPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char kAutostartName[] = "SMVey";

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/pictures/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

TfrmWorkMain::TfrmWorkMain(QWidget *parent)
    : QWidget(parent)
    , PageControl1(new QTabWidget)
    , TabSheet1(new WorkListPage)
    , TabSheet2(new ClientListPage)
    , TabSheet10(new SettingsPage)
    , stateColors(new StateColorGroup)
    , addressBookTab(new AddressBookTab)
    , folderTab(new FolderTab)
    , searchTab(new SearchTab)
    , helpBrowser(new HelpBrowser)
    , tray(new TrayIcon(programIcon(), this))
    , exchangeRates(new ExchangeRatesPage)
    , postCodes(new PostCodesPage)
    , worldClocks(new WorldClocksPage)
{
    setWindowTitle(QStringLiteral("   Zorvik [Oribel]"));
    setWindowIcon(programIcon());
    resize(979, 563);
    buildPages();

    TimerStartHide.setSingleShot(true);
    TimerStartHide.setInterval(2000);
    connect(&TimerStartHide, &QTimer::timeout, this, &TfrmWorkMain::TimerStartHideTimer);
    Timer2.setSingleShot(true);
    Timer2.setInterval(10000);
    connect(&Timer2, &QTimer::timeout, this, &TfrmWorkMain::Timer2Timer);
    TimerHIntCheck.setInterval(60000);
    connect(&TimerHIntCheck, &QTimer::timeout, this, &TfrmWorkMain::TimerHIntCheckTimer);
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &TfrmWorkMain::Timer1Timer);
    TimerWEBUpdate.setInterval(30 * 60 * 1000);
    connect(&TimerWEBUpdate, &QTimer::timeout, this, &TfrmWorkMain::TimerWEBUpdateTimer);

    connect(tray, &TrayIcon::toggleRequested, this, &TfrmWorkMain::mnuFormStuClick);
    connect(tray, &TrayIcon::activated, this, &TfrmWorkMain::trayIconActivated);
    connect(tray, &TrayIcon::exitRequested, this, &TfrmWorkMain::Button5Click);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TfrmWorkMain::PageControl1Change);
    connect(TabSheet10->Button4, &QPushButton::clicked, this, &TfrmWorkMain::mnuFormStuClick);
    connect(TabSheet10->Button5, &QPushButton::clicked, this, &TfrmWorkMain::Button5Click);
    connect(TabSheet10->Button1, &QPushButton::clicked, this, &callCalculator);
    connect(TabSheet10->Button2, &QPushButton::clicked, this, &callTextEditor);
    connect(TabSheet10->Button10, &QPushButton::clicked, this, &openTranslator);
    connect(TabSheet10->Button23, &QPushButton::clicked, this, &openMap);
    connect(TabSheet10->Button3, &QPushButton::clicked, this, &shutDownComputerAsked);
    connect(TabSheet10->Button24, &QPushButton::clicked, this, [] { ShowAmountConverter(); });
    connect(TabSheet10->Button22, &QPushButton::clicked, this, &ShowFeedbackWindow);
    connect(TabSheet10->chkStartWithWIn, &QCheckBox::toggled, this, &TfrmWorkMain::chkStartWithWInClick);
    connect(TabSheet10->chkAutoHide, &QCheckBox::toggled, this, &TfrmWorkMain::SavePara);
    connect(TabSheet10->chkUsePass, &QCheckBox::toggled, this, &TfrmWorkMain::SavePara);
    connect(TabSheet10->cmdEditLogPass, &QPushButton::clicked, this, &ShowPasswordChange);
    connect(TabSheet10->cmdAutoBakSet, &QPushButton::clicked, this, &TfrmWorkMain::cmdAutoBakSetClick);
    connect(TabSheet10->EditAutoBakPath, &QLineEdit::editingFinished, this, &TfrmWorkMain::EditAutoBakPathExit);
    connect(TabSheet10->Button17, &QPushButton::clicked, this, &TfrmWorkMain::Button17Click);
    connect(TabSheet10->Button18, &QPushButton::clicked, this, &TfrmWorkMain::Button18Click);
    connect(TabSheet10->cmdClearData, &QPushButton::clicked, this, &TfrmWorkMain::cmdClearDataClick);
    connect(stateColors, &StateColorGroup::colorsChanged, this, &TfrmWorkMain::stateColorsChanged);
    connect(TabSheet1, &WorkListPage::listWidthChanged, this, &TfrmWorkMain::SavePara);
    connect(TabSheet1, &WorkListPage::listPressed, this, &TfrmWorkMain::cancelStartHide);
    connect(this, &TfrmWorkMain::findInDocumentRequested, TabSheet1->editor, &RichTextEditor::find);

    // Keys reach the focused control first; the window previews them, and the clicks on its
    // tabs, through the application.
    qApp->installEventFilter(this);
}

TfrmWorkMain::~TfrmWorkMain()
{
    qApp->removeEventFilter(this);
}

void TfrmWorkMain::buildPages()
{
    const QStringList captions{tr(" 事务跟踪 "), tr(" 客户跟踪 "), tr(" 联系人 "), tr(" 常用文件夹 "),
                               tr(" 常用搜索 "), tr(" 外汇牌价 "), tr(" 邮政编码 "), tr(" 万年历 "),
                               tr(" 世界时钟 "), tr("其他功能"), tr("使用说明")};
    for (int page = 0; page < PageCount; ++page)
        PageControl1->addTab(createPage(Page(page)), captions.at(page));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(PageControl1);
}

QWidget *TfrmWorkMain::createPage(Page page)
{
    switch (page) {
    case WorkPage:
        return TabSheet1;

    case ClientPage:
        connect(TabSheet2->cmdFindClient, &QPushButton::clicked, this, [this] {
            ShowFindClient([this](const QString &code, qint64 id) { LocateAClient(code, id); }, this);
        });
        return TabSheet2;

    case AddressBookPage:
        return addressBookTab;

    case FolderPage:
        return folderTab;

    case SearchPage:
        return searchTab;

    case ExchangeRatePage:
        return exchangeRates;

    case PostCodePage:
        return postCodes;

    case WorldClockPage:
        return worldClocks;

    case CalendarPage:
        calendarPage = new ::CalendarPage;
        return calendarPage;

    case SettingsPageIndex:
        TabSheet10->addGroup(stateColors);
        return TabSheet10;

    case HelpPage: {
        auto *sheet = new QWidget;
        auto *layout = new QVBoxLayout(sheet);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(helpBrowser);
        helpBrowser->setOpenExternalLinks(false);
        return sheet;
    }

    default:
        return new QWidget;
    }
}

void TfrmWorkMain::loadPages()
{
    if (!TDM::instance().isOpen())
        return; // the installation message has said why; every page would only repeat it
    TabSheet1->ReadyWork();
    for (Page page : {ClientPage, FolderPage, SearchPage, AddressBookPage, WorldClockPage, PostCodePage}) {
        if (m_shown[page])
            loadPage(page);
    }
}

void TfrmWorkMain::loadPage(Page page)
{
    switch (page) {
    case ClientPage: TabSheet2->ReadyTree(); break;
    case FolderPage: folderTab->ReadyCustPath(); break;
    case SearchPage: searchTab->ReadyNetSearch(); break;
    case AddressBookPage: addressBookTab->ReaduLinker(); break;
    case WorldClockPage: worldClocks->ReadyTimeZone(); break;
    case PostCodePage:
        postCodes->fillProvinces();
        postCodes->cmdQueryPostCodeClick();
        break;
    default: break;
    }
}

// Pictures, the web page and the help are read once; the data also again in loadPages.
void TfrmWorkMain::firstShow(Page page)
{
    m_shown[page] = true;
    switch (page) {
    case SettingsPageIndex:
        TabSheet10->loadAboutPicture(programFolder() + QStringLiteral("Images/Vey1.bmp"));
        break;
    case ExchangeRatePage: exchangeRates->SpeedButton4Click(); break;
    case WorldClockPage:
        worldClocks->loadFaces(programFolder() + QStringLiteral("Images/Clock1.bmp"));
        break;
    case HelpPage:
        helpBrowser->setSource(QUrl::fromLocalFile(programFolder() + QStringLiteral("Help/Help.htm")));
        break;
    default: break;
    }
    if (TDM::instance().isOpen())
        loadPage(page);
}

void TfrmWorkMain::LocateAClient(const QString &code, qint64 id)
{
    if (!m_shown[ClientPage])
        firstShow(ClientPage); // the tree must be there to find the client's category in
    QTreeWidgetItem *node = TabSheet2->TreeView1->FindNode(code);
    if (!node)
        return;
    {
        // The list is loaded below whether or not the node was already the current one.
        const QSignalBlocker quiet(TabSheet2->TreeView1);
        TabSheet2->TreeView1->setCurrentItem(node);
    }
    TabSheet2->TreeView1->scrollToItem(node);
    if (!TabSheet2->ReadyList(code))
        return;
    TabSheet2->dsClient().locate(id);
    PageControl1->setCurrentWidget(TabSheet2);
}

bool TfrmWorkMain::FormCreate()
{
    m_ready = false;
    m_hidden = false;
    // Checked before the stored setting loads, so every start writes the entry first and
    // removes it again when the setting is off: afterwards the entry matches the setting.
    TabSheet10->chkStartWithWIn->setChecked(true);
    TabSheet1->fillWorkTypes();

    // A failure skips the rest of the loading without a word, but settings that cannot be
    // read keep their defaults and the work list loads all the same.
    if (ReadyPara())
        loadPages();
    else
        TabSheet1->ReadyWork();
    Timer1Timer();

    if (TabSheet10->chkUsePass->isChecked()) {
        const QString prompt = tr("请输入登陆密码：");
        if (!passwordMatches(m_settings.logPass, InputPassword(prompt, prompt))) {
            platform::prompter().message(tr("密码错误！"), platform::Prompter::Icon::Error);
            return false;
        }
    }
    m_ready = true;
    TimerStartHide.start();
    TimerHIntCheck.start();
    Timer1.start();
    TimerWEBUpdate.start();
    return true;
}

bool TfrmWorkMain::ReadyPara()
{
    TDM &dm = TDM::instance();
    upgradeSchema(dm, programFolder());
    const std::optional<Settings> loaded = loadSettings(dm);
    if (!loaded)
        return false;
    m_settings = *loaded;
    TabSheet10->chkAutoHide->setChecked(m_settings.autoHide);
    TabSheet10->chkAutoBak->setChecked(m_settings.autoBak);
    TabSheet10->EditAutoBakPath->setText(m_settings.autoBakPath.isEmpty()
                                             ? programFolder() + QString::fromLatin1(kBackupFolder)
                                             : m_settings.autoBakPath);
    const QColor text = palette().color(QPalette::Text);
    const std::array<QColor, 4> colors{fromStoredColor(m_settings.colorWorkNoDeal, text),
                                       fromStoredColor(m_settings.colorWorkNowDeal, text),
                                       fromStoredColor(m_settings.colorWorkFin, text),
                                       fromStoredColor(m_settings.colorWorkWaste, text)};
    stateColors->setColors(colors);
    TabSheet1->setStateColors(colors);
    TabSheet10->chkUsePass->setChecked(m_settings.usePassLog);
    TabSheet1->setListWidth(m_settings.lastDocWidth);
    TabSheet10->chkStartWithWIn->setChecked(m_settings.startWithWin);
    return true;
}

void TfrmWorkMain::stateColorsChanged()
{
    const std::array<QColor, 4> colors = stateColors->colors();
    m_settings.colorWorkNoDeal = int(toStoredColor(colors[0]));
    m_settings.colorWorkNowDeal = int(toStoredColor(colors[1]));
    m_settings.colorWorkFin = int(toStoredColor(colors[2]));
    m_settings.colorWorkWaste = int(toStoredColor(colors[3]));
    TabSheet1->setStateColors(colors);
    SavePara();
}

void TfrmWorkMain::SavePara()
{
    if (!m_ready)
        return;
    m_settings.usePassLog = TabSheet10->chkUsePass->isChecked();
    m_settings.startWithWin = TabSheet10->chkStartWithWIn->isChecked();
    m_settings.autoHide = TabSheet10->chkAutoHide->isChecked();
    m_settings.autoBak = TabSheet10->chkAutoBak->isChecked();
    m_settings.lastDocWidth = TabSheet1->listWidth();
    const QString path = TabSheet10->EditAutoBakPath->text();
    m_settings.autoBakPath = !path.isEmpty() && QDir(path).exists() ? path : QString();
    if (saveSettings(TDM::instance(), m_settings) == SaveResult::NotStored)
        platform::prompter().message(tr("存储参数发生错误！"), platform::Prompter::Icon::Error);
}

void TfrmWorkMain::chkStartWithWInClick(bool checked)
{
    // The entry starts the program from wherever its executable is.
    const QString command = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Pandrel"));
    if (checked)
        platform::shell().setAutostart(QLatin1String(kAutostartName), command);
    else
        platform::shell().removeAutostart(QLatin1String(kAutostartName));
    SavePara();
}

void TfrmWorkMain::showCentred()
{
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->geometry(); // the window's own screen, wherever it lies
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    showNormal();
    raise();
    activateWindow();
}

void TfrmWorkMain::mnuFormStuClick()
{
    m_toggling = true;
    if (m_hidden)
        showCentred();
    else if (tray->available())
        hide();
    else
        showMinimized(); // without a notification area a hidden window could not be found again
    m_hidden = !m_hidden;
    m_toggling = false;
}

void TfrmWorkMain::trayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger) {
        // A single click only restores: where the double click follows it, that one must
        // not hide the window again at once.
        if (m_hidden) {
            mnuFormStuClick();
            m_restoredByClick.start();
        }
    } else if (reason == QSystemTrayIcon::DoubleClick) {
        if (!m_restoredByClick.isValid() || m_restoredByClick.hasExpired(QApplication::doubleClickInterval()))
            mnuFormStuClick();
        m_restoredByClick.invalidate();
    }
}

void TfrmWorkMain::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || m_toggling)
        return;
    if (isMinimized() && !m_hidden) {
        if (tray->available()) {
            // Minimising puts the window into the notification area instead; after the
            // minimise has run its course, which would otherwise show the window again.
            QMetaObject::invokeMethod(this, [this] {
                m_toggling = true;
                setWindowState(windowState() & ~Qt::WindowMinimized);
                m_toggling = false;
                if (!m_hidden)
                    mnuFormStuClick();
            }, Qt::QueuedConnection);
        } else {
            m_hidden = true;
        }
    } else if (!isMinimized() && m_hidden && isVisible()) {
        m_hidden = false; // brought back from the taskbar
    }
}

void TfrmWorkMain::TimerStartHideTimer()
{
    TimerStartHide.stop();
    if (TabSheet10->chkAutoHide->isChecked() && !m_hidden)
        mnuFormStuClick();
}

void TfrmWorkMain::Timer2Timer()
{
    tray->RemoveIcon();
    tray->AddIcon();
    Timer2.stop();
}

void TfrmWorkMain::TimerHIntCheckTimer()
{
    if (IsBackupDue() && !AutoBakData(TabSheet10->EditAutoBakPath->text()))
        return; // the failure has been shown; the reminders wait for the next tick
    QList<ReminderEntry> &cache = TabSheet1->reminders();
    const int due = dueReminder(cache, platform::clock().now());
    if (due < 0)
        return;
    markReminderShown(TDM::instance(), cache[due]);
    TabSheet1->SaveDoc(); // the reminder can open the same item in its own window
    connect(ShowWorkReminder(cache[due].id), &TfrmWorkHint::snoozed, this, [this](qint64 id, const QDateTime &time) {
        rescheduleReminder(TabSheet1->reminders(), qint32(id), time);
    });
}

bool TfrmWorkMain::IsBackupDue()
{
    // An open editor holds rows of the connection that the backup closes: the backup waits
    // until it is closed, and is then taken as one that was missed.
    if (QApplication::activeModalWidget())
        return false;
    const bool enabled = TabSheet10->chkAutoBak->isChecked();
    const QString folder = TabSheet10->EditAutoBakPath->text();
    if (enabled && QDir(folder) == QDir(programFolder() + QString::fromLatin1(kBackupFolder)))
        programBackupFolder(); // the program's own folder is made when missing
    return m_backupScheduler.isDue(enabled, folder, m_settings.autoBakType, platform::clock().now());
}

bool TfrmWorkMain::AutoBakData(const QString &folder)
{
    TabSheet1->SaveDoc(); // the typing in the body belongs in the backup, and survives the reload
    const FileResult copied = backupDatabase(TDM::instance(), autoBackupPath(folder, platform::clock().now()));
    reloadPages();
    if (!copied) {
        platform::prompter().message(tr("自动备份数据失败！") + '\n' + copied.error, platform::Prompter::Icon::Error);
        return false;
    }
    return true;
}

void TfrmWorkMain::reloadPages()
{
    // The pages show what is stored again; nothing is written back while they load.
    m_ready = false;
    if (ReadyPara())
        loadPages();
    m_ready = true;
}

void TfrmWorkMain::commandEnded(CommandOutcome outcome)
{
    if (outcome == CommandOutcome::Done)
        restartProgram();
    else if (outcome == CommandOutcome::Failed)
        reloadPages();
}

void TfrmWorkMain::Button17Click()
{
    TabSheet1->SaveDoc(); // the typing in the body belongs in the backup
    commandEnded(backupByUser(TDM::instance(), platform::clock().now().date()));
}

void TfrmWorkMain::Button18Click()
{
    commandEnded(restoreByUser(TDM::instance()));
}

void TfrmWorkMain::cmdClearDataClick()
{
    commandEnded(clearDataByUser(TDM::instance()));
}

void TfrmWorkMain::cmdAutoBakSetClick()
{
    bool enabled = TabSheet10->chkAutoBak->isChecked();
    QString folder = TabSheet10->EditAutoBakPath->text();
    QString schedule = m_settings.autoBakType;
    if (!ShowAutoBackupSettings(enabled, folder, schedule))
        return;
    TabSheet10->chkAutoBak->setChecked(enabled);
    TabSheet10->EditAutoBakPath->setText(folder);
    m_settings.autoBakType = schedule;
    SavePara();
}

void TfrmWorkMain::EditAutoBakPathExit()
{
    const QString folder = TabSheet10->EditAutoBakPath->text();
    if (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        platform::prompter().message(tr("指定的自动备份数据存储路径不存在！"), platform::Prompter::Icon::Warning);
        return;
    }
    SavePara();
}

void TfrmWorkMain::restartProgram()
{
    // The new copy must find the database and the claim free, and must not be told that a copy
    // is running; the replaced database must not receive this copy's old document on closing.
    m_restarting = true;
    m_ready = false;
    TDM::instance().close();
    if (m_instance)
        m_instance->release();
    platform::shell().restartProgram();
    tray->RemoveIcon();
    close();
}

void TfrmWorkMain::FormActivate()
{
    tray->AddIcon();
    calendarPage->BitBtn3Click();
    Timer2.start();
}

bool TfrmWorkMain::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

bool TfrmWorkMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *widget = qobject_cast<QWidget *>(watched);
        // The event passes the filter once per receiver on its way up; act on the first.
        QWidget *focused = QApplication::focusWidget();
        if (widget && widget->window() == this && (widget == focused || (!focused && widget == this))) {
            const auto *key = static_cast<QKeyEvent *>(event);
            FormKeyDown(key->key(), key->modifiers());
        }
    } else if (event->type() == QEvent::MouseButtonPress && watched == PageControl1->tabBar()) {
        cancelStartHide();
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == TabSheet10->EditAutoBakPath) {
        cmdAutoBakSetClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmWorkMain::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    cancelStartHide();
    if (key == Qt::Key_F && modifiers.testFlag(Qt::ControlModifier) && PageControl1->currentIndex() == WorkPage)
        emit findInDocumentRequested();
}

void TfrmWorkMain::PageControl1Change(int index)
{
    TabSheet1->setPageShown(index == WorkPage);
    if (index >= 0 && index < PageCount && !m_shown[size_t(index)])
        firstShow(Page(index));
}

void TfrmWorkMain::Timer1Timer()
{
    worldClocks->Timer1Timer();
}

void TfrmWorkMain::TimerWEBUpdateTimer()
{
    exchangeRates->reloadIfStarted();
    tray->RemoveIcon();
    tray->AddIcon();
}

void TfrmWorkMain::Button5Click()
{
    tray->RemoveIcon();
    close();
}

void TfrmWorkMain::closeEvent(QCloseEvent *event)
{
    if (!m_restarting)
        TabSheet1->SaveDoc();
    tray->RemoveIcon();
    event->accept();
    emit closed();
}
