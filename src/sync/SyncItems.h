#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTimeZone>
#include <memory>
#include <optional>

class Database;

// The local side of one kind of synced item: work items as to-dos, address-book contacts as
// cards. Every write runs inside the caller's transaction.
class SyncItems
{
public:
    enum class Kind { WorkItems = 0, Contacts = 1 };

    struct Local {
        qint64 id = -1;
        QString uid;        // the item's own UID where the table keeps one
        QByteArray hash;    // of everything of the row that is synced
    };

    // What a server resource holds, read once.
    struct Remote {
        bool readable = false;
        QString uid;
        QString title;      // for the messages
    };

    virtual ~SyncItems() = default;

    virtual Kind kind() const = 0;
    virtual QByteArray contentType() const = 0;
    virtual QString suffix() const = 0;
    virtual bool isCalendar() const = 0;

    virtual QList<Local> scan() = 0;
    // The current hash of one row; empty when the row is gone.
    virtual QByteArray hashOf(qint64 id) = 0;
    // The resource to send for the row, named `uid`.
    virtual QByteArray render(qint64 id, const QString &uid) = 0;
    virtual Remote read(const QByteArray &data) = 0;
    // Whether the row and the resource say the same, compared as both read back.
    virtual bool sameContent(qint64 id, const QString &uid, const QByteArray &data) = 0;

    virtual std::optional<qint64> insert(const QByteArray &data) = 0;
    virtual bool update(qint64 id, const QByteArray &data) = 0;
    virtual bool remove(qint64 id) = 0;
    // A second row holding the local version, titled as a conflict copy, with a UID of its own.
    virtual std::optional<qint64> insertConflictCopy(qint64 id) = 0;
};

std::unique_ptr<SyncItems> workItemsForSync(Database &db, const QTimeZone &zone);
std::unique_ptr<SyncItems> contactsForSync(Database &db);

// The text a conflict copy's title or name ends with.
QString conflictCopySuffix();

class SqliteStatement;
// A hash of the current row's columns from `firstColumn` on, NULL told apart from empty.
QByteArray rowHash(const SqliteStatement &row, int firstColumn);
