#pragma once

#include "data/SearchIndex.h"
#include "data/Settings.h"
#include "safety/BackupSchedule.h"
#include "safety/DataSafetyCommands.h"

#include <QElapsedTimer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <bitset>

class AddressBookTab;
class CalendarPage;
class ClientListPage;
class ExchangeRatesPage;
class FolderTab;
class HelpBrowser;
class PostCodesPage;
class QLabel;
class QTabWidget;
class QVBoxLayout;
class SyncController;
class SearchTab;
class SearchWindow;
class SettingsPage;
class SingleInstance;
class StateColorGroup;
class TrayIcon;
class WorkListPage;
class WorldClocksPage;

// The main window: one tab per area, the notification-area icon, the
// settings row, and the start-up and shut-down of the program's window.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    enum Page {
        WorkPage, ClientPage, AddressBookPage, FolderPage, SearchPage, ExchangeRatePage,
        PostCodePage, CalendarPage, WorldClockPage, SettingsPageIndex, HelpPage, PageCount
    };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Loads the pages and asks for the login password where one is required. False when the
    // password was wrong: the program must then end at once, saving nothing.
    bool startUp();
    bool isReady() const { return m_ready; }
    bool isHiddenAway() const { return m_hidden; }

    // False when the settings row cannot be read: the settings keep their defaults.
    bool loadStoredSettings();
    void saveCurrentSettings();
    const Settings &settings() const { return m_settings; }

    // Shows the window as the user last left it: maximised or at its normal size.
    void showAsLastLeft();
    // Show/hide: into the notification area (or the taskbar where there is none) and back.
    void toggleHidden();
    // A click on the notification icon, as the desktop reports it: some report single clicks
    // only, others a single click and then the double click.
    void trayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void hideAtStartTick();
    void refreshTrayIconTick();
    // The minute tick: the automatic backup when it is due, then the reminder of at most one
    // item that has come due.
    void minuteTick();
    bool isBackupDue();
    // Backs the database up into `folder` now and reloads the pages, whether the copy worked
    // or not. False when it did not (the user has been told).
    bool runAutoBackup(const QString &folder);
    // A key, a click on the work list or on a tab: the user is here, so no hiding at start.
    void cancelStartHide() { m_startHideTimer.stop(); }
    bool startHidePending() const { return m_startHideTimer.isActive(); }
    void enterPage(int index);
    // Moves the client page to a client: selects its category, lists that category's clients,
    // makes the client current and brings the page to the front. A category no longer in
    // the tree does nothing.
    void locateClient(const QString &code, qint64 id);
    // 全部查找 (Ctrl+Shift+F anywhere, or the notification-area menu): a new search window.
    SearchWindow *openSearch();
    // Opens a search result where it lives: a work item, an address-book entry or goods in its
    // editor, a client or one of its records on the client page.
    void openSearchResult(searchindex::Kind kind, qint64 id);
    void exitProgram();
    // The world clocks' one-second tick.
    void clockTick();
    // The half-hourly tick: the exchange rates again, and the notification icon anew.
    void halfHourTick();

    // The data safety commands of the settings page; a successful backup, restore or
    // clearing restarts the program.
    void backUpNow();
    void restoreFromBackup();
    void clearAllData();
    // Brings back the data as it was before the last restore or clearing.
    void undoLastReplacement();
    void openAutoBackupSettings();
    void acceptAutoBackupFolder();
    // The running-copy claim that a restart gives up before the new copy starts.
    void setSingleInstance(SingleInstance *instance) { m_instance = instance; }
    // Lets go of the database and the running-copy claim, starts a new copy of the program and
    // closes this one, writing nothing more into the database.
    void restartProgram();

    QTabWidget *m_pageTabs;
    WorkListPage *m_workPage;
    ClientListPage *m_clientPage;
    SettingsPage *m_settingsPage;
    ::CalendarPage *m_calendarPage = nullptr;
    StateColorGroup *m_stateColorGroup;
    AddressBookTab *m_addressBookTab;
    FolderTab *m_folderTab;
    SearchTab *m_searchTab;
    HelpBrowser *m_helpBrowser;
    TrayIcon *m_trayIcon;
    ExchangeRatesPage *m_exchangeRatesPage;
    PostCodesPage *m_postCodesPage;
    WorldClocksPage *m_worldClocksPage;
    SyncController *m_syncController = nullptr;
    QLabel *m_syncStatusLabel = nullptr;   // shown while a sync runs, and a little after

signals:
    // Ctrl+F on the work page.
    void findInDocumentRequested();
    void closed();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildPages();
    void addSyncStatusLine(QVBoxLayout *layout);
    QWidget *createPage(Page page);
    // The work page's data, and that of every page shown so far, in the order of loading; run
    // at start-up and again after an automatic backup. A page not yet shown loads at its first
    // show, so the window appears without waiting for pages the user may never open.
    void loadPages();
    void loadPage(Page page);
    void firstShow(Page page);
    // Loads the settings and the pages again after the connection was closed and reopened.
    void reloadPages();
    void commandEnded(CommandOutcome outcome);
    void refreshOnActivation();
    void previewKeyPress(int key, Qt::KeyboardModifiers modifiers);
    void setStartWithSystem(bool checked);
    void showCentred();
    void stateColorsChanged();

    bool m_ready = false;
    bool m_hidden = false;
    bool m_toggling = false;
    bool m_restarting = false;
    std::bitset<PageCount> m_shown;
    Settings m_settings;
    SingleInstance *m_instance = nullptr;
    BackupScheduler m_backupScheduler;
    QTimer m_startHideTimer;
    QTimer m_trayIconRefreshTimer;
    QTimer m_minuteTimer;
    QTimer m_clockTimer;
    QTimer m_halfHourTimer;
    QElapsedTimer m_restoredByClick; // a single click brought the window back
};
