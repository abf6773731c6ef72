#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;
class QToolButton;

// The automatic backup settings: on or off, the folder, and a daily or weekly time.
class TfrmAutoBakSet : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAutoBakSet(QWidget *parent = nullptr);

    void ReadyData(bool enabled, const QString &folder, const QString &schedule);
    // Shows a stored schedule; one that cannot be read leaves the designed daily 12:30.
    void ReadyBakTYpe(const QString &schedule);
    QString GetBakTYpe() const;
    // Closes as saved when the folder exists, or when the backup is off and no folder is given.
    void cmdSaveClick();
    void sbSelSalerClick();
    bool saved() const { return m_saved; }

    QCheckBox *chkUseAutoBak;
    QLineEdit *EditBakPath;
    QToolButton *sbSelSaler;
    QRadioButton *rbDay;
    QTimeEdit *dtTimeDay;
    QRadioButton *rbWeek;
    QComboBox *cmbWeekDay;
    QTimeEdit *dtWeekDay;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_saved = false;
};

// Opens the window with the three values; true when the user saved, and only then are the
// values replaced with the window's.
bool ShowAutoBackupSettings(bool &enabled, QString &folder, QString &schedule);
