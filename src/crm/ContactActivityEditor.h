#pragma once

#include "data/Recordset.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QPlainTextEdit;
class QPushButton;

// The editor of one contact activity of a client.
class ContactActivityEditor : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_activity;

public:
    explicit ContactActivityEditor(qint64 clientId, QWidget *parent = nullptr);

    // Loads the activity with this ID; -1 starts a new one.
    bool loadRecord(qint64 id);
    bool saveRecord();
    bool saved() const { return result() == QDialog::Accepted; }

    QComboBox *m_subjectCombo;
    QDateEdit *m_activityDateEdit;
    QComboBox *m_handlerCombo;
    QComboBox *m_contactMethodCombo;
    QDateEdit *m_reminderDateEdit;
    QPlainTextEdit *m_descriptionEdit;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;

private:
    qint64 m_clientId;
};

// Opens the activity editor modally; true when the activity was saved.
bool editContactActivity(qint64 clientId, qint64 id);
