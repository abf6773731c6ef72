#pragma once

#include "data/Recordset.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The editor of one contact person of a client.
class TfrmClientLinkerEdit : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_linker;

public:
    explicit TfrmClientLinkerEdit(qint64 clientId, QWidget *parent = nullptr);

    // Loads the contact with this ID; -1 starts a new one from the client's own numbers.
    bool ReadyData(qint64 id);
    bool SaveData();
    bool saved() const { return result() == QDialog::Accepted; }
    void sbQQClick();

    QLineEdit *EditName;
    QComboBox *cmbIsMain;
    QComboBox *cmbDepart;
    QComboBox *cmbPos;
    QLineEdit *EditTele;
    QLineEdit *EditMobileCode;
    QLineEdit *EditElecHome;
    QLineEdit *EditFax;
    QLineEdit *EditQQ;
    QToolButton *sbQQ;
    QLineEdit *EditAL;
    QLineEdit *EditTB;
    QLineEdit *EditEMail;
    QLineEdit *EditZFB;
    QDateEdit *dtBirthday;
    QLineEdit *EditAddress;
    QLineEdit *EditFancy;
    QPlainTextEdit *EditDesp;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildFields();
    void fillPickLists();
    void copyClientNumbers();

    qint64 m_clientId;
};

// Opens the contact editor modally; true when the contact was saved.
bool ShowContactEditor(qint64 clientId, qint64 id);
