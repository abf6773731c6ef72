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

    QGroupBox *grpOther;
    QCheckBox *chkStartWithWIn;
    QCheckBox *chkAutoHide;

    QGroupBox *grpSafety;
    QCheckBox *chkUsePass;
    QPushButton *cmdEditLogPass;
    QCheckBox *chkAutoBak;
    QLineEdit *EditAutoBakPath;
    QPushButton *cmdAutoBakSet;
    QPushButton *Button17;
    QPushButton *Button18;
    QPushButton *cmdClearData;

    QGroupBox *grpSystem;
    QPushButton *Button4;
    QPushButton *Button5;
    // Desk tools and feedback.
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button10;
    QPushButton *Button23;
    QPushButton *Button3;
    QPushButton *Button22;

    QLabel *imgAbout;
    QLabel *lblVersion;

    // Where other areas put their rows of each group, and groups of their own.
    QVBoxLayout *otherRows;
    QVBoxLayout *safetyRows;
    QGridLayout *systemButtons;
    void addGroup(QWidget *group);

private:
    QVBoxLayout *m_leftColumn;
};
