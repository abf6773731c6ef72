#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QToolButton;

// The editor of one favourite folder: its description and the path of a folder that exists.
class TfrmEditACustFolder : public QDialog
{
    Q_OBJECT
public:
    // `id` "-1" (or one that matches no row) stores a new folder.
    TfrmEditACustFolder(const QString &id, const QString &description, const QString &path,
                        QWidget *parent = nullptr);

    bool SaveData();
    bool saved() const { return m_saved; }
    // Lets the user pick the folder; cancelling keeps the path as it was.
    void SpeedButton11Click();

    QLineEdit *EditTitle;
    QLineEdit *EditFolder;
    QToolButton *SpeedButton11;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_id;
    bool m_saved = false;
};

// Opens the editor modally; true when the folder was stored.
bool ShowFolderEditor(const QString &id, const QString &description, const QString &path);
