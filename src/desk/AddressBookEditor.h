#pragma once

#include "data/Recordset.h"

#include <QDate>
#include <QDialog>

class ByteLimitedTextEdit;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QToolButton;

// Birthdays are stored as dates; "none" is day 0 (1899-12-30). A birthday is set when the
// list shows one, after day 100: the editor ticks it then, so saving keeps every birthday
// the list shows, those before 1927 included.
bool birthdayIsSet(const QVariant &stored);
// What a birthday is stored as: the date, or day 0 when none is set.
QString birthdayText(const QDate &date, bool set);

// The editor of one contact of the address book.
class AddressBookEditor : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_contact;

public:
    // `id` -1 makes a new contact in category `classId`.
    AddressBookEditor(qint64 classId, qint64 id, QWidget *parent = nullptr);

    bool loadRecord();
    bool saveRecord();
    bool saved() const { return m_saved; }
    // Opens the web chat with the contact's QQ number; nothing without a number.
    void openWebChat();
    // Unticked: the picker shows a blank instead of its date.
    void applyBirthdayDisplay();

    QLineEdit *m_nameEdit;
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
    QCheckBox *m_birthdayCheck;
    QDateEdit *m_birthdayEdit;
    QLineEdit *m_addressEdit;
    QLineEdit *m_hobbiesEdit;
    ByteLimitedTextEdit *m_notesEdit;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLayout *buildFields();
    void fillJobProposals();

    qint64 m_categoryId;
    qint64 m_id;
    bool m_saved = false;
};

// Opens the editor modally; true when the user saved the contact.
bool editAddressBookEntry(qint64 classId, qint64 id);
