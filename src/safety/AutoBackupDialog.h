#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimeEdit;
class QToolButton;

// The automatic backup settings: on or off, the folder, and a daily or weekly time.
class AutoBackupDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AutoBackupDialog(QWidget *parent = nullptr);

    void loadValues(bool enabled, const QString &folder, const QString &schedule);
    // Shows a stored schedule; one that cannot be read leaves the designed daily 12:30.
    void loadSchedule(const QString &schedule);
    QString scheduleText() const;
    // How many automatic backups stay in the folder; 0 keeps all.
    void setKeepCount(int keep);
    int keepCount() const;
    // Closes as saved when the folder exists, or when the backup is off and no folder is given.
    void saveIfFolderValid();
    void chooseFolder();
    bool saved() const { return m_saved; }

    QCheckBox *m_enabledCheck;
    QLineEdit *m_folderEdit;
    QToolButton *m_chooseFolderButton;
    QRadioButton *m_dailyRadio;
    QTimeEdit *m_dailyTimeEdit;
    QRadioButton *m_weeklyRadio;
    QComboBox *m_weekdayCombo;
    QTimeEdit *m_weeklyTimeEdit;
    QSpinBox *m_keepSpin;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_saved = false;
};

// Opens the window with the values; true when the user saved, and only then are the values
// replaced with the window's.
bool editAutoBackupSettings(bool &enabled, QString &folder, QString &schedule, int &keep);
