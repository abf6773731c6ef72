#pragma once

#include <QString>

class TDM;

// Fills a database with plausible volumes of user data for measurements. Deterministic:
// the same counts give the same rows.
namespace benchdata {

// A program folder under `folder` with a fresh copy of the template database, made the
// program folder of this process. False when the template cannot be copied.
bool prepareProgramFolder(const QString &folder);

// `count` work items over all states, types and priorities, each with a body of about
// `bodyBytes` bytes.
bool addWorkItems(TDM &dm, int count, int bodyBytes);

// `count` clients spread over the sample categories, each with `contactsEach` contact
// persons and as many contact activities.
bool addClients(TDM &dm, int count, int contactsEach);

// `count` common-information notes, each with a body of `bodyBytes` random bytes: the way to
// a database of a given size.
bool addNotes(TDM &dm, int count, int bodyBytes);

} // namespace benchdata
