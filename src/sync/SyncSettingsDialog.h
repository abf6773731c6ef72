#pragma once

#include "sync/SyncAccountStore.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SyncController;

// "同步设置": the server, the account, the task list and address book to sync, how often, and
// the state of the last sync. "测试连接" finds the account's collections; "立即同步" saves and
// syncs at once.
class SyncSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    SyncSettingsDialog(Database &db, SyncController &controller, QWidget *parent = nullptr);

    void loadAccount();
    // Looks for the collections of the account in the boxes; false, after the message, when
    // none can be listed. Asks before plain HTTP to another machine and before trusting a
    // certificate the system does not.
    bool testConnection();
    // Validates and stores; false, after the message, when something is missing.
    bool saveAccount();
    void syncNow();

    QLineEdit *m_serverEdit;
    QLineEdit *m_userEdit;
    QLineEdit *m_passwordEdit;
    QLabel *m_passwordPlaceLabel;
    QPushButton *m_testButton;
    QComboBox *m_taskListCombo;
    QComboBox *m_addressBookCombo;
    QComboBox *m_intervalCombo;
    QLabel *m_lastSyncLabel;
    QLabel *m_lastResultLabel;
    QLabel *m_lastErrorLabel;
    QPushButton *m_syncNowButton;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;

private:
    SyncAccount accountInBoxes() const;
    void showState(const StoredSyncAccount &stored);
    void fillCollections(QComboBox *combo, const QList<SyncCollectionInfo> &found, const QString &chosen);

    Database &m_db;
    SyncController &m_controller;
    StoredSyncAccount m_stored;
};

// Opens the window modally.
void showSyncSettings(Database &db, SyncController &controller, QWidget *parent);
