#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The WebDAV answers the sync reads (RFC 4918 multistatus, with the CalDAV, CardDAV and
// sync-collection properties), and the request bodies it sends.

struct DavResource {
    QString href;            // as the server wrote it, percent-encoding undone
    int status = 0;          // the response's own status (a removed member: 404); 0 when none
    QString etag;
    QByteArray data;         // calendar-data or address-data, UTF-8
    bool isCollection = false;
    bool isCalendar = false;
    bool isAddressBook = false;
    QString displayName;
    QStringList components;  // supported-calendar-component-set: "VTODO", "VEVENT", …
    QString principal;       // current-user-principal
    QString calendarHome;
    QString addressBookHome;
};

struct Multistatus {
    bool readable = false;   // false: not a multistatus document at all
    QList<DavResource> resources;
    QString syncToken;
};

Multistatus parseMultistatus(const QByteArray &xml);

// The path part of a href or URL with its percent-encoding undone, so hrefs compare equal
// however the server encodes them.
QString normalHref(const QString &href);

namespace davbody {
QByteArray principalQuery();           // current-user-principal
QByteArray homeSetQuery();             // calendar-home-set, addressbook-home-set
QByteArray collectionQuery();          // resourcetype, displayname, components
QByteArray etagQuery();                // getetag
QByteArray syncCollection(const QString &token);
// calendar-multiget or addressbook-multiget of the hrefs (already percent-encoded paths).
QByteArray multiget(bool calendar, const QStringList &encodedHrefs);
} // namespace davbody
