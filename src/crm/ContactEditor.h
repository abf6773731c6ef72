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
class ContactEditor : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_contact;

public:
    explicit ContactEditor(qint64 clientId, QWidget *parent = nullptr);

    // Loads the contact with this ID; -1 starts a new one from the client's own numbers.
    bool loadRecord(qint64 id);
    bool saveRecord();
    bool saved() const { return result() == QDialog::Accepted; }
    void openWebChat();

    QLineEdit *m_nameEdit;
    QComboBox *m_mainContactCombo;
    QComboBox *m_departmentCombo;
    QComboBox *m_jobCombo;
    QLineEdit *m_officePhoneEdit;
    QLineEdit *m_mobilePhoneEdit;
    QLineEdit *m_homePhoneEdit;
    QLineEdit *m_faxEdit;
    QLineEdit *m_qqEdit;
    QToolButton *m_webChatButton;
    QLineEdit *m_aliAccountEdit;
    QLineEdit *m_taobaoAccountEdit;
    QLineEdit *m_emailEdit;
    QLineEdit *m_alipayAccountEdit;
    QDateEdit *m_birthdayEdit;
    QLineEdit *m_addressEdit;
    QLineEdit *m_hobbiesEdit;
    QPlainTextEdit *m_notesEdit;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildFields();
    void fillPickLists();
    void copyClientNumbers();

    qint64 m_clientId;
};

// Opens the contact editor modally; true when the contact was saved.
bool editContact(qint64 clientId, qint64 id);
