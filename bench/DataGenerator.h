#pragma once

#include "data/Database.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>
#include <vector>

struct sqlite3;

// Fills a database with plausible volumes of user data for measurements. Deterministic:
// the same counts give the same rows.
namespace benchdata {

// Widgets draw offscreen unless QT_QPA_PLATFORM names another platform; call before the
// application object is made.
void preferOffscreen();

// A program folder under `folder` with a fresh copy of the template database, made the
// program folder of this process. False when the template cannot be copied.
bool prepareProgramFolder(const QString &folder);

// A temporary program folder with a fresh copy of the template database, made the program
// folder of this process, and that database opened: where a measurement on the database starts.
// The folder goes when the object does.
class ScratchProgram
{
public:
    ScratchProgram();
    // False, after saying why on the standard error, when the folder or its database failed.
    bool isReady() const { return m_ready; }
    Database &database() { return m_database; }
    QString filePath(const QString &name) const { return m_folder.filePath(name); }

private:
    QTemporaryDir m_folder;
    Database m_database;
    bool m_ready = false;
};

// `count` work items over all states, types and priorities, each with a body of about
// `bodyBytes` bytes.
bool addWorkItems(Database &database, int count, int bodyBytes);

// `count` clients spread over the sample categories, each with `contactsEach` contact
// persons and as many contact activities.
bool addClients(Database &database, int count, int contactsEach);

// `count` address-book contacts spread over the sample categories.
bool addAddressBookContacts(Database &database, int count);
// The bare loop the measurements compare with: prepares the statement, binds the values as
// the program does (integers as integers, the rest as text), and steps through every row reading every column as a list would, keeping nothing.
// Returns the number of rows.
qint64 readAllRows(sqlite3 *db, const QString &sql, const QVariantList &params = {});

double median(std::vector<double> values);

// A client register in 200 categories (20 roots with 9 children each): `clients` clients, of
// which `inFirst` are filed under the category 00010001 and the rest spread over the others,
// each with `detailsEach` contact persons and as many contact activities.
bool addClientRegister(Database &database, int clients, int inFirst, int detailsEach);
// `count` common-information notes, each with a body of `bodyBytes` random bytes: the way to
// a database of a given size.
bool addNotes(Database &database, int count, int bodyBytes);

} // namespace benchdata
