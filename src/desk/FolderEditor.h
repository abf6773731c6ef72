#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QToolButton;

// The editor of one favourite folder: its description and the path of a folder that exists.
class FolderEditor : public QDialog
{
    Q_OBJECT
public:
    // `id` "-1" (or one that matches no row) stores a new folder.
    FolderEditor(const QString &id, const QString &description, const QString &path,
                        QWidget *parent = nullptr);

    bool saveRecord();
    bool saved() const { return m_saved; }
    // Lets the user pick the folder; cancelling keeps the path as it was.
    void chooseFolder();

    QLineEdit *m_descriptionEdit;
    QLineEdit *m_pathEdit;
    QToolButton *m_chooseFolderButton;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_id;
    bool m_saved = false;
};

// Opens the editor modally; true when the folder was stored.
bool editFolder(const QString &id, const QString &description, const QString &path);
