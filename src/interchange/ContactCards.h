#pragma once

#include "interchange/VCardReader.h"
#include "interchange/VCardWriter.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class Recordset;

// A birthday whose year the card does not give is kept in this year: a leap year, so that
// 29 February fits, and one in which nobody still on a contact list was born.
inline constexpr int kBirthdayYearUnknown = 1904;

// One contact as the editors show it, whichever list it comes from or goes to.
struct ContactCard {
    QString name;
    QString company;
    QString department;
    QString job;
    QString officePhone;
    QString mobilePhone;
    QString homePhone;
    QString fax;
    QString qq;
    QString aliAccount;
    QString taobaoAccount;
    QString alipayAccount;
    QString email;
    QDate birthday;          // invalid: none; the year kBirthdayYearUnknown: day and month only
    QString address;
    QString hobbies;
    QString notes;
    bool mainContact = false;
    // What a card holds beyond one value a box: a second mobile number, a WeChat account, the
    // post code. Stored as lines "label：value" after the notes, so nothing is lost.
    QList<std::pair<QString, QString>> extras;

    bool operator==(const ContactCard &) const = default;
};

// Where imported contacts go and exported ones come from.
struct ContactList {
    enum class Kind { AddressBook, ClientContacts };
    Kind kind = Kind::AddressBook;
    qint64 clientId = -1;  // client contacts only
    QString clientName;    // written as the company of each contact

    static ContactList addressBook();
    // Reads the client's name from the database.
    static ContactList clientContacts(qint64 clientId);
};

ContactCard contactFromVCard(const VCard &card);
// `uid`, when given, names the card on a contacts server.
void writeContactCard(VCardWriter &writer, const ContactCard &contact, const QString &uid = {});

// The contacts in the chosen rows of a list of TLinker or TCLinker rows.
QList<ContactCard> contactsFromRows(const Recordset &rows, const QList<int> &chosen, const ContactList &list);

// Writes the contacts to a .vcf file; false with `error` set when the file cannot be written
// (a file that was there before is then left as it was).
bool writeContactCardFile(const QString &path, const QList<ContactCard> &contacts, VCardVersion version,
                          QString &error);

// One import: read a file whole, mark the contacts already stored, store the chosen ones in
// one transaction.
class ContactCardImport
{
public:
    explicit ContactCardImport(const ContactList &list);

    // False, with errorText(), when the file is not one of cards or cannot be read to its end;
    // nothing is kept of it then.
    bool read(const QString &path);
    bool read(QIODevice &device, const VCardReader::Limits &limits = VCardReader::Limits());
    QString errorText() const { return m_error; }

    const QList<ContactCard> &contacts() const { return m_contacts; }
    // A contact whose name and a telephone number (or, without numbers, the name alone) match
    // one stored in the list.
    bool isStored(int index) const { return m_stored.value(index); }
    const QList<bool> &storedMarks() const { return m_stored; }
    // Each contact as the pick window lists it: name, telephone numbers, company.
    QList<QStringList> listed() const;

    // Stores the chosen contacts, each fitted to its boxes, in category `categoryId` (address
    // book; ignored for client contacts). All or nothing.
    bool store(const QList<int> &chosen, qint64 categoryId = -1);
    // The closing message: how many were stored, how many were left, and why.
    QString summary() const;

    // Exports rows of a list to a card file; the message to show, and whether it tells of success.
    static std::pair<bool, QString> exportRows(const Recordset &rows, const QList<int> &chosen, const ContactList &list,
                                               const QString &path, bool forOlderPhones);

private:
    void markStored();

    ContactList m_list;
    QList<ContactCard> m_contacts;
    QList<bool> m_stored;
    QString m_error;
    int m_storedCount = 0;
    int m_leftStored = 0;
};

// The contact as it goes into the boxes of `list`'s editor: every value cut to its box's
// byte limit on a character boundary, the whole value kept in the notes; the company kept in
// the notes where the list has no place for it.
ContactCard fitToBoxes(const ContactCard &contact, const ContactList &list);
