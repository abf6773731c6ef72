#pragma once

#include <QWidget>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The "其他功能" page: setting groups on the left, system functions and the about box on the
// right. The main window wires the controls; other areas add their controls to the groups.
class SettingsPage : public QWidget
{
    Q_OBJECT
public:
    explicit SettingsPage(QWidget *parent = nullptr);

    // Loads the about picture from the program folder (done the first time the page shows).
    void loadAboutPicture(const QString &path);

    QGroupBox *m_otherSettingsBox;
    QCheckBox *m_startWithSystemCheck;
    QCheckBox *m_autoHideCheck;

    QGroupBox *m_safetyBox;
    QCheckBox *m_usePasswordCheck;
    QPushButton *m_changePasswordButton;
    QCheckBox *m_autoBackupCheck;
    QLineEdit *m_autoBackupFolderEdit;
    QPushButton *m_autoBackupSettingsButton;
    QPushButton *m_backupButton;
    QPushButton *m_restoreButton;
    QPushButton *m_clearDataButton;
    QPushButton *m_undoButton;          // enabled while there is something to undo
    QPushButton *m_checkBackupButton;

    QGroupBox *m_systemBox;
    QPushButton *m_minimiseButton;
    QPushButton *m_exitButton;
    // Desk tools and feedback.
    QPushButton *m_calculatorButton;
    QPushButton *m_textEditorButton;
    QPushButton *m_translatorButton;
    QPushButton *m_mapButton;
    QPushButton *m_shutDownButton;
    QPushButton *m_feedbackButton;
    QPushButton *m_amountConverterButton;

    QLabel *m_aboutPictureLabel;
    QLabel *m_versionLabel;

    // Where other areas put their rows of each group, and groups of their own.
    QVBoxLayout *m_otherRows;
    QVBoxLayout *m_safetyRows;
    QGridLayout *m_systemButtons;
    void addGroup(QWidget *group);

private:
    QVBoxLayout *m_leftColumn;
};
