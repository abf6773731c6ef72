#include "interchange/ContactCards.h"

#include "data/Database.h"
#include "data/DbDates.h"
#include "data/Recordset.h"
#include "data/SearchIndex.h"
#include "data/Sqlite.h"
#include "util/Gbk.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string_view>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ContactCards", text);
}

// Box limits of both contact editors, in GBK bytes.
constexpr int kShortBoxBytes = 20;
constexpr int kEmailBytes = 30;
constexpr int kLongBoxBytes = 50;

bool hasChinese(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x2E80 && c.script() == QChar::Script_Han)
            return true;
    }
    return false;
}

// Surnames of two characters; every other Chinese surname is the first character.
bool isCompoundSurname(QStringView start)
{
    static const char16_t *const surnames[] = {u"欧阳", u"司马", u"上官", u"诸葛", u"东方", u"皇甫", u"尉迟",
                                               u"公孙", u"慕容", u"长孙", u"宇文", u"司徒", u"夏侯", u"令狐",
                                               u"端木", u"独孤", u"南宫", u"西门", u"澹台", u"轩辕"};
    const QStringView first = start.left(2);
    return std::any_of(std::begin(surnames), std::end(surnames),
                       [first](const char16_t *surname) { return first == QStringView(surname); });
}

// N's family and given names of a name written whole.
std::pair<QStringView, QStringView> splitName(QStringView name)
{
    const QStringView trimmed = name.trimmed();
    if (hasChinese(trimmed) && !trimmed.contains(QLatin1Char(' '))) {
        if (trimmed.size() < 2 || trimmed.contains(QChar(0x00B7)))
            return {trimmed, QStringView()};
        const int surname = trimmed.size() > 2 && isCompoundSurname(trimmed) ? 2 : 1;
        return {trimmed.left(surname), trimmed.mid(surname)};
    }
    const qsizetype space = trimmed.lastIndexOf(QLatin1Char(' '));
    if (space < 0)
        return {trimmed, QStringView()};
    return {trimmed.mid(space + 1), trimmed.left(space).trimmed()};
}

QString nameFromComponents(const QStringList &parts)
{
    const QString family = parts.value(0).trimmed();
    const QString given = parts.value(1).trimmed();
    const QString middle = parts.value(2).trimmed();
    if (hasChinese(family + given))
        return family + middle + given;
    QStringList words;
    for (const QString &word : {given, middle, family}) {
        if (!word.isEmpty())
            words.append(word);
    }
    return words.join(QLatin1Char(' '));
}

QString digitsOf(const QString &phone)
{
    QString digits;
    for (const QChar c : phone) {
        if (c.isDigit())
            digits += QChar(QLatin1Char('0' + c.digitValue()));
    }
    // The country code of China, written or not, names the same number.
    if (digits.startsWith(QLatin1String("0086")))
        digits.remove(0, 4);
    else if (digits.size() == 13 && digits.startsWith(QLatin1String("86")))
        digits.remove(0, 2);
    return digits;
}

bool looksLikeMobile(const QString &phone)
{
    const QString digits = digitsOf(phone);
    return digits.size() == 11 && digits.startsWith(QLatin1Char('1'));
}

// Sets a box that is still empty, or keeps the value among the extras.
// `label` is translated only when the value goes to the extras: most never do.
void fill(QString &box, const QString &value, ContactCard &contact, const char *label)
{
    const QString trimmed = value.trimmed();
    if (trimmed.isEmpty())
        return;
    if (box.isEmpty())
        box = trimmed;
    else if (box != trimmed)
        contact.extras.append({tr(label), trimmed});
}

void readPhone(const VCardProperty &property, ContactCard &contact)
{
    QString number = property.text().trimmed();
    if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        number = number.mid(4);
    // The kinds the TYPE parameters name, read in one pass.
    enum Kind { Fax = 1, Cell = 2, Home = 4, Work = 8 };
    static const std::pair<QLatin1StringView, int> kinds[] = {
        {QLatin1StringView("fax"), Fax},     {QLatin1StringView("cell"), Cell},     {QLatin1StringView("mobile"), Cell},
        {QLatin1StringView("iphone"), Cell}, {QLatin1StringView("x-mobile"), Cell}, {QLatin1StringView("home"), Home},
        {QLatin1StringView("work"), Work}};
    int typed = 0;
    for (const auto &[key, value] : property.parameters) {
        if (QByteArrayView(key) != QByteArrayView("TYPE"))
            continue;
        for (const QStringView part : QStringView(value).tokenize(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QStringView type = part.trimmed();
            for (const auto &[name, kind] : kinds) {
                if (type.size() == name.size() && type.compare(name, Qt::CaseInsensitive) == 0)
                    typed |= kind;
            }
        }
    }
    if (typed & Fax)
        fill(contact.fax, number, contact, QT_TRANSLATE_NOOP("ContactCards", "传真"));
    else if (typed & Cell)
        fill(contact.mobilePhone, number, contact, QT_TRANSLATE_NOOP("ContactCards", "移动电话"));
    else if (typed & Home)
        fill(contact.homePhone, number, contact, QT_TRANSLATE_NOOP("ContactCards", "家用电话"));
    else if ((typed & Work) || !looksLikeMobile(number))
        fill(contact.officePhone, number, contact, QT_TRANSLATE_NOOP("ContactCards", "办公电话"));
    else
        fill(contact.mobilePhone, number, contact, QT_TRANSLATE_NOOP("ContactCards", "移动电话"));
}

void readMessenger(const VCardProperty &property, ContactCard &contact)
{
    const QString value = property.text().trimmed();
    const qsizetype colon = value.indexOf(QLatin1Char(':'));
    const QString scheme = colon < 0 ? QString() : value.left(colon).toLower();
    const QString account = colon < 0 ? value : value.mid(colon + 1);
    const QStringList services = property.parameterValues("X-SERVICE-TYPE");
    const auto is = [&](std::initializer_list<const char *> names) {
        for (const char *name : names) {
            if (scheme == QLatin1String(name) || services.contains(QLatin1String(name)))
                return true;
        }
        return false;
    };
    if (is({"x-qq", "qq", "tencent"}))
        fill(contact.qq, account, contact, QT_TRANSLATE_NOOP("ContactCards", "QQ号码"));
    else if (is({"x-wechat", "wechat", "weixin", "x-weixin"}) || services.contains(QStringLiteral("微信")))
        contact.extras.append({tr("微信"), account});
    else if (is({"x-aliww", "aliww", "x-aliwangwang"}))
        fill(contact.aliAccount, account, contact, QT_TRANSLATE_NOOP("ContactCards", "阿里帐号"));
    else if (is({"x-taobao", "taobao"}))
        fill(contact.taobaoAccount, account, contact, QT_TRANSLATE_NOOP("ContactCards", "淘宝帐号"));
    else if (is({"x-alipay", "alipay"}))
        fill(contact.alipayAccount, account, contact, QT_TRANSLATE_NOOP("ContactCards", "支付宝"));
    else if (!value.isEmpty())
        contact.extras.append({tr("即时通讯"), value});
}

// "19800415", "1980-04-15", "1980-04-15T00:00:00Z", "--0415", "--04-15"; Apple's stand-in year
// for a birthday without one. Anything else is kept as written.
void readBirthday(const VCardProperty &property, ContactCard &contact)
{
    const QString value = property.text().trimmed();
    QString date = value.section(QLatin1Char('T'), 0, 0).remove(QLatin1Char('-'));
    QDate birthday;
    const auto number = [&date](qsizetype from, qsizetype length) {
        int value = 0;
        for (qsizetype i = from; i < from + length; ++i)
            value = value * 10 + (date.at(i).unicode() - '0');
        return value;
    };
    const bool digits = std::all_of(date.cbegin(), date.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (value.startsWith(QLatin1String("--")) && date.size() == 4)
        birthday = QDate(kBirthdayYearUnknown, date.left(2).toInt(), date.mid(2).toInt());
    else if (date.size() == 8 && digits)
        birthday = QDate(number(0, 4), number(4, 2), number(6, 2)); // what nearly every card writes
    else if (date.size() == 8)
        birthday = QDate::fromString(date, QStringLiteral("yyyyMMdd"));
    const QStringList omitted = property.parameterValues("X-APPLE-OMIT-YEAR");
    if (birthday.isValid() && !omitted.isEmpty() && omitted.first().toInt() == birthday.year())
        birthday = QDate(kBirthdayYearUnknown, birthday.month(), birthday.day());
    if (birthday.isValid() && !contact.birthday.isValid())
        contact.birthday = birthday;
    else if (!value.isEmpty() && birthday != contact.birthday)
        contact.extras.append({tr("生日"), value});
}

void readAddress(const VCardProperty &property, ContactCard &contact)
{
    const QStringList parts = property.components();
    const auto part = [&parts](int index) { return parts.value(index).replace(QLatin1Char(','), QLatin1Char(' ')).trimmed(); };
    // Post-office box, extended, street, locality, region, post code, country.
    QString address;
    const QString street = (part(0) + QLatin1Char(' ') + part(1) + QLatin1Char(' ') + part(2)).simplified();
    if (hasChinese(parts.join(QString()))) {
        // Chinese addresses run from the country down to the street.
        address = part(6) + part(4) + part(3) + street;
    } else {
        QStringList pieces;
        for (const QString &piece : {street, part(3), part(4), part(6)}) {
            if (!piece.isEmpty())
                pieces.append(piece);
        }
        address = pieces.join(QStringLiteral(", "));
    }
    if (address.isEmpty() && part(5).isEmpty())
        return;
    fill(contact.address, address, contact, QT_TRANSLATE_NOOP("ContactCards", "地址"));
    if (!part(5).isEmpty())
        contact.extras.append({tr("邮编"), part(5)});
}

void readGender(const VCardProperty &property, ContactCard &contact)
{
    const QString sex = property.components().value(0).trimmed().toUpper();
    if (sex == QLatin1String("M") || sex == QLatin1String("MALE"))
        contact.extras.append({tr("性别"), tr("男")});
    else if (sex == QLatin1String("F") || sex == QLatin1String("FEMALE"))
        contact.extras.append({tr("性别"), tr("女")});
}

// Stored dates are nearly always plain "yyyy-MM-dd", read here without the time-zone work a
// date-time would cost; anything else goes the general way.
QDate storedBirthday(const QVariant &stored)
{
    QDate date;
    if (stored.typeId() == QMetaType::QString && stored.toString().size() == 10)
        date = QDate::fromString(stored.toString(), Qt::ISODate);
    else if (!dbdates::isEmpty(stored))
        date = dbdates::fromValue(stored).date();
    return date.isValid() && dbdates::zeroDate().daysTo(date) > 100 ? date : QDate();
}

// dbdates::toText() of a birthday, without the general date formatting for the years a
// birthday has.
QString storedDate(const QDate &date)
{
    if (!date.isValid() || date.year() < 1000 || date.year() > 9999)
        return dbdates::toText(date.isValid() ? date : dbdates::zeroDate());
    static_assert(std::string_view(dbdates::kDateFormat) == "yyyy-MM-dd");
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year(), date.month(), date.day());
    return QString::fromLatin1(text, length);
}

QString joinedNotes(const ContactCard &contact)
{
    if (contact.extras.isEmpty())
        return contact.notes;
    QStringList lines;
    if (!contact.notes.isEmpty())
        lines.append(contact.notes);
    for (const auto &[label, value] : contact.extras)
        lines.append(label + QStringLiteral("：") + value);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

ContactList ContactList::addressBook()
{
    return ContactList();
}

ContactList ContactList::clientContacts(qint64 clientId)
{
    ContactList list;
    list.kind = Kind::ClientContacts;
    list.clientId = clientId;
    list.clientName = Database::instance().queryValue(QStringLiteral("Select ClientName from TClient where ID=?"), {clientId});
    return list;
}

ContactCard contactFromVCard(const VCard &card)
{
    ContactCard contact;
    const VCardProperty *nameParts = nullptr; // N: read only when no FN names the contact
    QStringList notes;
    for (const VCardProperty &property : card.properties) {
        const QByteArrayView name = property.name;
        if (name == QByteArrayView("FN")) {
            fill(contact.name, property.text(), contact, QT_TRANSLATE_NOOP("ContactCards", "姓名"));
        } else if (name == QByteArrayView("N")) {
            if (!nameParts)
                nameParts = &property;
        } else if (name == QByteArrayView("TEL")) {
            readPhone(property, contact);
        } else if (name == QByteArrayView("EMAIL")) {
            fill(contact.email, property.text(), contact, QT_TRANSLATE_NOOP("ContactCards", "电子邮件"));
        } else if (name == QByteArrayView("IMPP")) {
            readMessenger(property, contact);
        } else if (name == QByteArrayView("X-QQ")) {
            fill(contact.qq, property.text(), contact, QT_TRANSLATE_NOOP("ContactCards", "QQ号码"));
        } else if (name == QByteArrayView("X-WECHAT") || name == QByteArrayView("X-WEIXIN")) {
            contact.extras.append({tr("微信"), property.text().trimmed()});
        } else if (name == QByteArrayView("ORG")) {
            const QStringList parts = property.components();
            fill(contact.company, parts.value(0), contact, QT_TRANSLATE_NOOP("ContactCards", "单位"));
            fill(contact.department, parts.mid(1).join(QLatin1Char(' ')), contact, QT_TRANSLATE_NOOP("ContactCards", "部门"));
        } else if (name == QByteArrayView("TITLE")) {
            fill(contact.job, property.text(), contact, QT_TRANSLATE_NOOP("ContactCards", "职位"));
        } else if (name == QByteArrayView("ADR")) {
            readAddress(property, contact);
        } else if (name == QByteArrayView("BDAY")) {
            readBirthday(property, contact);
        } else if (name == QByteArrayView("NOTE")) {
            QString note = property.text();
            if (note.contains(QLatin1Char('\r')))
                note.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
            if (!note.isEmpty())
                notes.append(note);
        } else if (name == QByteArrayView("HOBBY") || name == QByteArrayView("X-HOBBY")) {
            fill(contact.hobbies, property.text(), contact, QT_TRANSLATE_NOOP("ContactCards", "个人嗜好"));
        } else if (name == QByteArrayView("GENDER") || name == QByteArrayView("X-GENDER")) {
            readGender(property, contact);
        } else if (name == QByteArrayView("URL")) {
            if (!property.text().trimmed().isEmpty())
                contact.extras.append({tr("网址"), property.text().trimmed()});
        } else if (name == QByteArrayView("X-MAIN-CONTACT")) {
            contact.mainContact = property.text().trimmed() == QLatin1String("1");
        }
    }
    contact.notes = notes.size() == 1 ? notes.first() : notes.join(QLatin1Char('\n'));
    if (contact.name.isEmpty() && nameParts)
        contact.name = nameFromComponents(nameParts->components());
    // A card without a name still holds someone: it is named by what it has.
    for (const QString *stand : {&contact.company, &contact.email, &contact.mobilePhone, &contact.officePhone}) {
        if (contact.name.isEmpty())
            contact.name = *stand;
    }
    return contact;
}

void writeContactCard(VCardWriter &writer, const ContactCard &contact, const QString &uid)
{
    const bool v4 = writer.version() == VCardVersion::V4;
    const auto text = [&writer](const char *head, const QString &value) {
        if (!value.isEmpty())
            writer.addText(head, value);
    };
    writer.beginCard();
    if (!uid.isEmpty())
        writer.addText("UID", uid);
    writer.addText("FN", contact.name);
    const auto [family, given] = splitName(contact.name);
    writer.beginProperty("N");
    writer.appendText(family);
    writer.appendRaw(";");
    writer.appendText(given);
    writer.appendRaw(";;;");
    writer.endProperty();
    if (!contact.company.isEmpty() || !contact.department.isEmpty()) {
        writer.beginProperty("ORG");
        writer.appendText(contact.company);
        if (!contact.department.isEmpty()) {
            writer.appendRaw(";");
            writer.appendText(contact.department);
        }
        writer.endProperty();
    }
    text("TITLE", contact.job);
    text("TEL;TYPE=work,voice", contact.officePhone);
    text("TEL;TYPE=cell", contact.mobilePhone);
    text("TEL;TYPE=home", contact.homePhone);
    text("TEL;TYPE=fax", contact.fax);
    text("EMAIL;TYPE=internet", contact.email);
    const std::pair<const char *, const QString *> messengers[] = {
        {"x-qq:", &contact.qq}, {"x-aliww:", &contact.aliAccount},
        {"x-taobao:", &contact.taobaoAccount}, {"x-alipay:", &contact.alipayAccount}};
    for (const auto &[scheme, account] : messengers) {
        if (!account->isEmpty()) {
            writer.beginProperty("IMPP");
            writer.appendRaw(scheme);
            writer.appendText(*account);
            writer.endProperty();
        }
    }
    if (!contact.address.isEmpty()) {
        writer.beginProperty("ADR;TYPE=work");
        writer.appendRaw(";;");
        writer.appendText(contact.address);
        writer.appendRaw(";;;;");
        writer.endProperty();
    }
    if (contact.birthday.isValid()) {
        const QDate day = contact.birthday;
        const bool yearKnown = day.year() != kBirthdayYearUnknown;
        char digits[16];
        if (yearKnown)
            std::snprintf(digits, sizeof digits, v4 ? "%04d%02d%02d" : "%04d-%02d-%02d", day.year(), day.month(), day.day());
        else
            std::snprintf(digits, sizeof digits, v4 ? "--%02d%02d" : "--%02d-%02d", day.month(), day.day());
        writer.beginProperty("BDAY");
        writer.appendRaw(digits);
        writer.endProperty();
    }
    text(v4 ? "HOBBY" : "X-HOBBY", contact.hobbies);
    if (contact.mainContact)
        text("X-MAIN-CONTACT", QStringLiteral("1"));
    if (!contact.notes.isEmpty() || !contact.extras.isEmpty()) {
        // The lines of joinedNotes(), written without joining them first.
        writer.beginProperty("NOTE");
        bool first = contact.notes.isEmpty();
        writer.appendText(contact.notes);
        for (const auto &[label, value] : contact.extras) {
            if (!first)
                writer.appendText(u"\n");
            first = false;
            writer.appendText(label);
            writer.appendText(u"：");
            writer.appendText(value);
        }
        writer.endProperty();
    }
    writer.endCard();
}

namespace {

// Reads contacts out of the rows of a list of TLinker or TCLinker rows.
class ContactRows
{
public:
    ContactRows(const Recordset &rows, const ContactList &list)
        : m_rows(rows)
        , m_list(list)
    {
        const char *const names[FieldCount] = {"Linker", "Job", "Tele", "MobileCode", "HomeTele", "Fax", "QICQ", "ALWW", "WW",
                                               "ZFBCode", "EMail", "Address", "Fancy", "Desp", "Depart", "IsMain", "Birthday"};
        for (int field = 0; field < FieldCount; ++field)
            m_columns[field] = rows.fieldIndex(QLatin1String(names[field]));
    }

    ContactCard contactAt(int row) const
    {
        const auto text = [this, row](Field field) { return m_rows.textAt(row, m_columns[field]); };
        ContactCard contact;
        contact.name = text(Name);
        contact.job = text(Job);
        contact.officePhone = text(Office);
        contact.mobilePhone = text(Mobile);
        contact.homePhone = text(Home);
        contact.fax = text(Fax);
        contact.qq = text(QQ);
        contact.aliAccount = text(Ali);
        contact.taobaoAccount = text(Taobao);
        contact.alipayAccount = text(Alipay);
        contact.email = text(Email);
        contact.address = text(Address);
        contact.hobbies = text(Hobbies);
        contact.notes = text(Notes);
        if (m_list.kind == ContactList::Kind::ClientContacts) {
            contact.company = m_list.clientName;
            contact.department = text(Department);
            contact.mainContact = text(Main) == QLatin1String("1");
            // The client contact's birthday is neither shown nor edited (a new contact gets the
            // day it was typed): it is no birthday to hand on.
        } else {
            contact.birthday = storedBirthday(m_rows.valueAt(row, m_columns[Birthday]));
        }
        return contact;
    }

private:
    enum Field { Name, Job, Office, Mobile, Home, Fax, QQ, Ali, Taobao, Alipay, Email, Address, Hobbies, Notes, Department, Main, Birthday, FieldCount };

    const Recordset &m_rows;
    const ContactList &m_list;
    int m_columns[FieldCount];
};

// Writes a .vcf file through `write`; a file that was there before is left as it was when
// this fails.
bool writeCardFile(const QString &path, VCardVersion version, const std::function<void(VCardWriter &)> &write,
                   QString &error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        VCardWriter writer(file, version);
        write(writer);
        if (writer.finish() && file.commit())
            return true;
    }
    error = file.errorString();
    return false;
}

} // namespace

QList<ContactCard> contactsFromRows(const Recordset &rows, const QList<int> &chosen, const ContactList &list)
{
    const ContactRows reader(rows, list);
    QList<ContactCard> contacts;
    contacts.reserve(chosen.size());
    for (const int row : chosen)
        contacts.append(reader.contactAt(row));
    return contacts;
}

bool writeContactCardFile(const QString &path, const QList<ContactCard> &contacts, VCardVersion version, QString &error)
{
    return writeCardFile(
        path, version,
        [&contacts](VCardWriter &writer) {
            for (const ContactCard &contact : contacts)
                writeContactCard(writer, contact);
        },
        error);
}

ContactCard fitToBoxes(const ContactCard &contact, const ContactList &list)
{
    ContactCard fitted = contact;
    const bool client = list.kind == ContactList::Kind::ClientContacts;
    if (!fitted.company.isEmpty() && (!client || fitted.company != list.clientName))
        fitted.extras.append({tr("单位"), fitted.company});
    fitted.company.clear();
    if (!client && !fitted.department.isEmpty()) {
        fitted.extras.append({tr("部门"), fitted.department});
        fitted.department.clear();
    }
    const struct {
        QString *box;
        const char *label;
        int bytes;
    } boxes[] = {
        {&fitted.name, "姓名", kShortBoxBytes},           {&fitted.department, "部门", kShortBoxBytes},
        {&fitted.job, "职位", kShortBoxBytes},            {&fitted.officePhone, "办公电话", kShortBoxBytes},
        {&fitted.mobilePhone, "移动电话", kShortBoxBytes}, {&fitted.homePhone, "家用电话", kShortBoxBytes},
        {&fitted.fax, "传真", kShortBoxBytes},            {&fitted.qq, "QQ号码", kShortBoxBytes},
        {&fitted.aliAccount, "阿里帐号", kShortBoxBytes},  {&fitted.taobaoAccount, "淘宝帐号", kShortBoxBytes},
        {&fitted.alipayAccount, "支付宝", kShortBoxBytes}, {&fitted.email, "电子邮件", kEmailBytes},
        {&fitted.address, "详细地址", kLongBoxBytes},      {&fitted.hobbies, "个人嗜好", kLongBoxBytes},
    };
    for (const auto &box : boxes) {
        // GBK takes one byte for ASCII and at most two for any other unit: most values are
        // settled by that without converting them.
        const qsizetype ascii = std::count_if(box.box->cbegin(), box.box->cend(), [](QChar c) { return c.unicode() < 0x80; });
        if (box.box->size() * 2 - ascii <= box.bytes || gbkByteLength(*box.box) <= box.bytes)
            continue;
        fitted.extras.append({tr(box.label), *box.box});
        *box.box = gbkTruncate(*box.box, box.bytes);
    }
    fitted.notes = joinedNotes(fitted);
    fitted.extras.clear();
    return fitted;
}

ContactCardImport::ContactCardImport(const ContactList &list)
    : m_list(list)
{
}

bool ContactCardImport::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = tr("无法读取名片文件！\n%1").arg(file.errorString());
        return false;
    }
    return read(file);
}

bool ContactCardImport::read(QIODevice &device, const VCardReader::Limits &limits)
{
    m_contacts.clear();
    m_stored.clear();
    m_error.clear();
    VCardReader reader(device, limits);
    // A card of a phone takes a few hundred bytes; growing the list card by card would move
    // every contact again and again.
    if (!device.isSequential())
        m_contacts.reserve(qsizetype(std::min<qint64>(device.size() / 256, limits.cards)));
    VCard card;
    while (reader.next(card))
        m_contacts.append(contactFromVCard(card));
    const qint64 line = reader.errorLine();
    switch (reader.error()) {
    case VCardReader::Error::None: break;
    case VCardReader::Error::Unreadable: m_error = tr("无法读取名片文件！"); break;
    case VCardReader::Error::NotVCard: m_error = tr("所选文件不是名片文件（vCard）！"); break;
    case VCardReader::Error::Binary: m_error = tr("所选文件不是文本文件，不是名片文件（vCard）！"); break;
    case VCardReader::Error::Truncated: m_error = tr("名片文件不完整，到第 %1 行为止最后一张名片没有结束！").arg(line); break;
    case VCardReader::Error::CardTooLarge:
        m_error = tr("名片文件第 %1 行所在的名片超过 %2 KB，不像是联系人名片！").arg(line).arg(limits.cardBytes / 1024);
        break;
    case VCardReader::Error::FileTooLarge:
        m_error = tr("名片文件超过 %1 MB，太大了！请分成几个文件导入。").arg(limits.fileBytes >> 20);
        break;
    case VCardReader::Error::TooManyCards:
        m_error = tr("名片文件中的名片超过 %1 张，太多了！请分成几个文件导入。").arg(limits.cards);
        break;
    }
    if (!m_error.isEmpty()) {
        m_contacts.clear();
        m_error += tr("\n没有导入任何联系人。");
        return false;
    }
    markStored();
    return true;
}

QList<QStringList> ContactCardImport::listed() const
{
    QList<QStringList> rows;
    rows.reserve(m_contacts.size());
    for (const ContactCard &contact : m_contacts) {
        QStringList phones;
        for (const QString *phone : {&contact.mobilePhone, &contact.officePhone, &contact.homePhone, &contact.fax}) {
            if (!phone->isEmpty())
                phones.append(*phone);
        }
        rows.append({contact.name, phones.join(QStringLiteral("、")), contact.company.isEmpty() ? contact.department : contact.company});
    }
    return rows;
}

std::pair<bool, QString> ContactCardImport::exportRows(const Recordset &rows, const QList<int> &chosen,
                                                       const ContactList &list, const QString &path, bool forOlderPhones)
{
    // Row by row: a contact is written as it is read, and the list is never held twice.
    const ContactRows reader(rows, list);
    QString error;
    const auto write = [&chosen, &reader](VCardWriter &writer) {
        for (const int row : chosen)
            writeContactCard(writer, reader.contactAt(row));
    };
    if (!writeCardFile(path, forOlderPhones ? VCardVersion::V3 : VCardVersion::V4, write, error))
        return {false, tr("无法写入名片文件！\n%1").arg(error)};
    return {true, tr("已将 %1 位联系人导出到名片文件。").arg(chosen.size())};
}

void ContactCardImport::markStored()
{
    // Every stored name with its numbers, reduced to digits.
    QHash<QString, QList<QStringList>> stored;
    const bool client = m_list.kind == ContactList::Kind::ClientContacts;
    SqliteStatement query(Database::instance().connection(),
                          client ? QStringLiteral("Select Linker,Tele,MobileCode,HomeTele,Fax from TCLinker where ClientID=?")
                                 : QStringLiteral("Select Linker,Tele,MobileCode,HomeTele,Fax from TLinker"));
    if (query.isValid() && query.bind(client ? QVariantList{m_list.clientId} : QVariantList{})) {
        while (query.next()) {
            QStringList numbers;
            for (int column = 1; column <= 4; ++column) {
                const QString digits = digitsOf(query.value(column).toString());
                if (!digits.isEmpty())
                    numbers.append(digits);
            }
            stored[query.value(0).toString().trimmed().toCaseFolded()].append(numbers);
        }
    }
    m_stored.fill(false, m_contacts.size());
    for (qsizetype i = 0; i < m_contacts.size(); ++i) {
        const ContactCard &contact = m_contacts.at(i);
        const auto found = stored.constFind(contact.name.trimmed().toCaseFolded());
        if (found == stored.constEnd())
            continue;
        QStringList numbers;
        for (const QString &phone : {contact.officePhone, contact.mobilePhone, contact.homePhone, contact.fax}) {
            if (!digitsOf(phone).isEmpty())
                numbers.append(digitsOf(phone));
        }
        for (const auto &[label, value] : contact.extras) {
            if (label.endsWith(tr("电话")) || label == tr("传真"))
                numbers.append(digitsOf(value));
        }
        for (const QStringList &same : *found) {
            const bool neitherHasNumbers = numbers.isEmpty() && same.isEmpty();
            const bool shareANumber = std::any_of(numbers.cbegin(), numbers.cend(),
                                                  [&same](const QString &number) { return same.contains(number); });
            if (neitherHasNumbers || shareANumber) {
                m_stored[i] = true;
                break;
            }
        }
    }
}

bool ContactCardImport::store(const QList<int> &chosen, qint64 categoryId)
{
    const bool client = m_list.kind == ContactList::Kind::ClientContacts;
    Database &database = Database::instance();
    const QString sql = client
        ? QStringLiteral("Insert into TCLinker (ClientID,Linker,IsMain,Depart,Job,Tele,MobileCode,HomeTele,Fax,QICQ,WW,ALWW,"
                         "ZFBCode,EMail,Birthday,Address,Fancy,Desp) Values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
        : QStringLiteral("Insert into TLinker (ClassID,Linker,Job,Tele,MobileCode,HomeTele,Fax,QICQ,WW,ZFBCode,ALWW,"
                         "EMail,Birthday,Address,Fancy,Desp) Values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    int stored = 0;
    const bool done = database.inTransaction([&] {
        searchindex::BulkInsertion indexing(database.connection(),
                                            client ? searchindex::Kind::Contact : searchindex::Kind::AddressBookEntry);
        SqliteStatement insert(database.connection(), sql);
        if (!insert.isValid())
            return false;
        for (const int index : chosen) {
            if (index < 0 || index >= m_contacts.size())
                continue;
            const ContactCard c = fitToBoxes(m_contacts.at(index), m_list);
            const QString birthday = storedDate(c.birthday);
            const QVariantList values = client
                ? QVariantList{m_list.clientId, c.name, c.mainContact ? 1 : 0, c.department, c.job, c.officePhone,
                               c.mobilePhone, c.homePhone, c.fax, c.qq, c.taobaoAccount, c.aliAccount,
                               c.alipayAccount, c.email, birthday, c.address, c.hobbies, c.notes}
                : QVariantList{categoryId, c.name, c.job, c.officePhone, c.mobilePhone, c.homePhone, c.fax, c.qq,
                               c.taobaoAccount, c.alipayAccount, c.aliAccount, c.email, birthday, c.address,
                               c.hobbies, c.notes};
            if (!insert.execute(values) || !indexing.add(database.connection().lastInsertId()))
                return false;
            ++stored;
        }
        return true;
    });
    if (!done) {
        m_storedCount = 0;
        m_error = tr("数据存储请求出现错误,没有导入任何联系人！");
        return false;
    }
    m_storedCount = stored;
    m_leftStored = 0;
    const QSet<int> taken(chosen.cbegin(), chosen.cend());
    for (qsizetype i = 0; i < m_contacts.size(); ++i) {
        if (m_stored.value(i) && !taken.contains(int(i)))
            ++m_leftStored;
    }
    return true;
}

QString ContactCardImport::summary() const
{
    QString text = tr("已从名片文件导入 %1 位联系人。").arg(m_storedCount);
    const qsizetype left = m_contacts.size() - m_storedCount;
    if (left > 0)
        text += tr("\n未导入 %1 位（其中 %2 位已存在）。").arg(left).arg(m_leftStored);
    return text;
}
