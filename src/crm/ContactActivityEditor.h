#pragma once

#include "data/Recordset.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QPlainTextEdit;
class QPushButton;

// The editor of one contact activity of a client.
class TfrmClientLinkerRecEdit : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_linkRec;

public:
    explicit TfrmClientLinkerRecEdit(qint64 clientId, QWidget *parent = nullptr);

    // Loads the activity with this ID; -1 starts a new one.
    bool ReadyData(qint64 id);
    bool SaveData();
    bool saved() const { return result() == QDialog::Accepted; }

    QComboBox *EditTitle;
    QDateEdit *dtGo;
    QComboBox *cmbRuner;
    QComboBox *cmbTalkStyle;
    QDateEdit *dtHint;
    QPlainTextEdit *EditDesp;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;

private:
    qint64 m_clientId;
};

// Opens the activity editor modally; true when the activity was saved.
bool ShowActivityEditor(qint64 clientId, qint64 id);
