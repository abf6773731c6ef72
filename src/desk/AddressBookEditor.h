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
class TfrmEditALinker : public QDialog
{
    Q_OBJECT
    // First, so the controls built in the constructor find it constructed.
    Recordset m_linker;

public:
    // `id` -1 makes a new contact in category `classId`.
    TfrmEditALinker(qint64 classId, qint64 id, QWidget *parent = nullptr);

    bool ReadyData();
    bool SaveData();
    bool saved() const { return m_saved; }
    // Opens the web chat with the contact's QQ number; nothing without a number.
    void sbQQClick();
    // Unticked: the picker shows a blank instead of its date.
    void applyBirthdayDisplay();

    QLineEdit *EditName;
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
    QCheckBox *chkBirthday;
    QDateEdit *dtBirthday;
    QLineEdit *EditAddress;
    QLineEdit *EditFancy;
    ByteLimitedTextEdit *EditDesp;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLayout *buildFields();
    void fillJobProposals();

    qint64 m_classId;
    qint64 m_id;
    bool m_saved = false;
};

// Opens the editor modally; true when the user saved the contact.
bool ShowAddressBookEditor(qint64 classId, qint64 id);
