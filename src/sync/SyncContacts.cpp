#include "sync/SyncItems.h"

#include "data/Database.h"
#include "data/DbDates.h"
#include "data/Recordset.h"
#include "interchange/ContactCards.h"

#include <QBuffer>
#include <QCoreApplication>

namespace {

const char kHashedColumns[] = "Linker, Job, Tele, MobileCode, HomeTele, Fax, QICQ, ALWW, WW, ZFBCode, EMail, Birthday, "
                              "Address, Fancy, Desp";

class Contacts final : public SyncItems
{
public:
    explicit Contacts(Database &db)
        : m_db(db)
    {
    }

    Kind kind() const override { return Kind::Contacts; }
    QByteArray contentType() const override { return QByteArrayLiteral("text/vcard; charset=utf-8"); }
    QString suffix() const override { return QStringLiteral(".vcf"); }
    bool isCalendar() const override { return false; }

    QList<Local> scan() override
    {
        QList<Local> items;
        SqliteStatement rows(m_db.connection(), QStringLiteral("Select ID, %1 from TLinker").arg(QLatin1String(kHashedColumns)));
        while (rows.next())
            items.append({rows.value(0).toLongLong(), QString(), rowHash(rows, 1)});
        return items;
    }

    QByteArray hashOf(qint64 id) override
    {
        SqliteStatement row(m_db.connection(), QStringLiteral("Select ID, %1 from TLinker where ID=?").arg(QLatin1String(kHashedColumns)));
        return row.bind({id}) && row.next() ? rowHash(row, 1) : QByteArray();
    }

    QByteArray render(qint64 id, const QString &uid) override
    {
        Recordset rows(m_db);
        if (!rows.open(QStringLiteral("Select * from TLinker where ID=?"), {id}) || rows.isEmpty())
            return {};
        const QList<ContactCard> contacts = contactsFromRows(rows, {0}, ContactList::addressBook());
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            VCardWriter writer(buffer, VCardVersion::V3);
            writeContactCard(writer, contacts.first(), uid);
            writer.finish();
        }
        return buffer.data();
    }

    Remote read(const QByteArray &data) override
    {
        Remote remote;
        VCard card;
        if (!parse(data, card))
            return remote;
        remote.readable = true;
        for (const VCardProperty &property : card.properties) {
            if (property.name == "UID")
                remote.uid = property.text().trimmed();
        }
        remote.title = contactFromVCard(card).name;
        return remote;
    }

    bool sameContent(qint64 id, const QString &uid, const QByteArray &data) override
    {
        VCard ours;
        VCard theirs;
        return parse(render(id, uid), ours) && parse(data, theirs) && contactFromVCard(ours) == contactFromVCard(theirs);
    }

    std::optional<qint64> insert(const QByteArray &data) override
    {
        VCard card;
        if (!parse(data, card))
            return std::nullopt;
        const std::optional<qint64> category = serverCategory();
        if (!category)
            return std::nullopt;
        QVariantList values = columnValues(contactFromVCard(card));
        values.prepend(*category);
        if (!m_db.execute(QStringLiteral("Insert into TLinker (ClassID, Linker, Job, Tele, MobileCode, HomeTele, Fax, QICQ, WW, "
                                         "ZFBCode, ALWW, EMail, Birthday, Address, Fancy, Desp) "
                                         "Values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                          values))
            return std::nullopt;
        return m_db.connection().lastInsertId();
    }

    bool update(qint64 id, const QByteArray &data) override
    {
        VCard card;
        if (!parse(data, card))
            return false;
        QVariantList values = columnValues(contactFromVCard(card));
        values.append(id);
        return m_db.execute(QStringLiteral("Update TLinker Set Linker=?, Job=?, Tele=?, MobileCode=?, HomeTele=?, Fax=?, QICQ=?, "
                                           "WW=?, ZFBCode=?, ALWW=?, EMail=?, Birthday=?, Address=?, Fancy=?, Desp=? where ID=?"),
                            values);
    }

    bool remove(qint64 id) override
    {
        return m_db.execute(QStringLiteral("Delete from TLinker where ID=?"), {id});
    }

    std::optional<qint64> insertConflictCopy(qint64 id) override
    {
        if (!m_db.execute(QStringLiteral("Insert into TLinker (ClassID, Linker, Job, Tele, MobileCode, HomeTele, Fax, QICQ, ALWW, "
                                         "WW, ZFBCode, EMail, Birthday, Address, Fancy, Desp) "
                                         "Select ClassID, Linker || ?, Job, Tele, MobileCode, HomeTele, Fax, QICQ, ALWW, WW, "
                                         "ZFBCode, EMail, Birthday, Address, Fancy, Desp from TLinker where ID=?"),
                          {conflictCopySuffix(), id}))
            return std::nullopt;
        return m_db.connection().lastInsertId();
    }

private:
    static bool parse(const QByteArray &data, VCard &card)
    {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        VCardReader reader(buffer);
        return reader.next(card) && reader.error() == VCardReader::Error::None;
    }

    // In the order of the insert and update statements, after the category.
    static QVariantList columnValues(const ContactCard &contact)
    {
        const ContactCard c = fitToBoxes(contact, ContactList::addressBook());
        return {c.name, c.job, c.officePhone, c.mobilePhone, c.homePhone, c.fax, c.qq, c.taobaoAccount, c.alipayAccount,
                c.aliAccount, c.email, dbdates::toText(c.birthday), c.address, c.hobbies, c.notes};
    }

    // Contacts that come from the server go into a category of their own, made when missing.
    std::optional<qint64> serverCategory()
    {
        const QString title = QCoreApplication::translate("Sync", "服务器同步的联系人");
        QString id = m_db.queryValue(QStringLiteral("Select ID from TLinkerClass where TitleName=?"), {title});
        if (id.isEmpty()) {
            if (!m_db.execute(QStringLiteral("Insert into TLinkerClass (TitleName) values (?)"), {title}))
                return std::nullopt;
            return m_db.connection().lastInsertId();
        }
        return id.toLongLong();
    }

    Database &m_db;
};

} // namespace

std::unique_ptr<SyncItems> contactsForSync(Database &db)
{
    return std::make_unique<Contacts>(db);
}
