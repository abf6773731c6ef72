#include "sync/DavXml.h"

#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCalDav = QStringLiteral("urn:ietf:params:xml:ns:caldav");
const QString kCardDav = QStringLiteral("urn:ietf:params:xml:ns:carddav");

int statusCode(const QString &line)
{
    // "HTTP/1.1 404 Not Found"
    const QStringList parts = line.simplified().split(QLatin1Char(' '));
    return parts.size() >= 2 ? parts.at(1).toInt() : 0;
}

bool is(const QXmlStreamReader &xml, const QString &ns, QLatin1StringView name)
{
    return xml.namespaceUri() == ns && xml.name() == name;
}

// The first href inside the current element, which is then read to its end.
QString innerHref(QXmlStreamReader &xml)
{
    QString href;
    while (xml.readNextStartElement()) {
        if (href.isEmpty() && is(xml, kDav, QLatin1StringView("href")))
            href = normalHref(xml.readElementText().trimmed());
        else
            xml.skipCurrentElement();
    }
    return href;
}

void readProp(QXmlStreamReader &xml, DavResource &into)
{
    while (xml.readNextStartElement()) {
        if (is(xml, kDav, QLatin1StringView("getetag"))) {
            into.etag = xml.readElementText().trimmed();
        } else if (is(xml, kCalDav, QLatin1StringView("calendar-data")) || is(xml, kCardDav, QLatin1StringView("address-data"))) {
            into.data = xml.readElementText().toUtf8();
        } else if (is(xml, kDav, QLatin1StringView("displayname"))) {
            into.displayName = xml.readElementText().trimmed();
        } else if (is(xml, kDav, QLatin1StringView("resourcetype"))) {
            while (xml.readNextStartElement()) {
                into.isCollection = into.isCollection || is(xml, kDav, QLatin1StringView("collection"));
                into.isCalendar = into.isCalendar || is(xml, kCalDav, QLatin1StringView("calendar"));
                into.isAddressBook = into.isAddressBook || is(xml, kCardDav, QLatin1StringView("addressbook"));
                xml.skipCurrentElement();
            }
        } else if (is(xml, kCalDav, QLatin1StringView("supported-calendar-component-set"))) {
            while (xml.readNextStartElement()) {
                if (is(xml, kCalDav, QLatin1StringView("comp")))
                    into.components.append(xml.attributes().value(QLatin1StringView("name")).toString().toUpper());
                xml.skipCurrentElement();
            }
        } else if (is(xml, kDav, QLatin1StringView("current-user-principal"))) {
            into.principal = innerHref(xml);
        } else if (is(xml, kCalDav, QLatin1StringView("calendar-home-set"))) {
            into.calendarHome = innerHref(xml);
        } else if (is(xml, kCardDav, QLatin1StringView("addressbook-home-set"))) {
            into.addressBookHome = innerHref(xml);
        } else {
            xml.skipCurrentElement();
        }
    }
}

DavResource readResponse(QXmlStreamReader &xml)
{
    DavResource resource;
    while (xml.readNextStartElement()) {
        if (is(xml, kDav, QLatin1StringView("href"))) {
            resource.href = normalHref(xml.readElementText().trimmed());
        } else if (is(xml, kDav, QLatin1StringView("status"))) {
            resource.status = statusCode(xml.readElementText());
        } else if (is(xml, kDav, QLatin1StringView("propstat"))) {
            // Properties the server could not give come in a propstat of their own; only
            // those of a 2xx status count.
            DavResource found;
            int status = 0;
            while (xml.readNextStartElement()) {
                if (is(xml, kDav, QLatin1StringView("prop")))
                    readProp(xml, found);
                else if (is(xml, kDav, QLatin1StringView("status")))
                    status = statusCode(xml.readElementText());
                else
                    xml.skipCurrentElement();
            }
            if (status >= 200 && status < 300) {
                found.href = resource.href;
                found.status = resource.status;
                resource = found;
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    return resource;
}

QByteArray propfindBody(const QList<std::pair<QString, QString>> &properties)
{
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.writeStartDocument();
    xml.writeNamespace(kDav, QStringLiteral("d"));
    xml.writeNamespace(kCalDav, QStringLiteral("c"));
    xml.writeNamespace(kCardDav, QStringLiteral("a"));
    xml.writeStartElement(kDav, QStringLiteral("propfind"));
    xml.writeStartElement(kDav, QStringLiteral("prop"));
    for (const auto &[ns, name] : properties)
        xml.writeEmptyElement(ns, name);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return body;
}

} // namespace

QString normalHref(const QString &href)
{
    const QUrl url(href);
    return url.path(QUrl::FullyDecoded);
}

Multistatus parseMultistatus(const QByteArray &text)
{
    Multistatus result;
    QXmlStreamReader xml(text);
    if (!xml.readNextStartElement() || !is(xml, kDav, QLatin1StringView("multistatus")))
        return result;
    while (xml.readNextStartElement()) {
        if (is(xml, kDav, QLatin1StringView("response")))
            result.resources.append(readResponse(xml));
        else if (is(xml, kDav, QLatin1StringView("sync-token")))
            result.syncToken = xml.readElementText().trimmed();
        else
            xml.skipCurrentElement();
    }
    result.readable = !xml.hasError();
    if (!result.readable)
        result.resources.clear();
    return result;
}

namespace davbody {

QByteArray principalQuery()
{
    return propfindBody({{kDav, QStringLiteral("current-user-principal")}, {kDav, QStringLiteral("resourcetype")}});
}

QByteArray homeSetQuery()
{
    return propfindBody({{kCalDav, QStringLiteral("calendar-home-set")}, {kCardDav, QStringLiteral("addressbook-home-set")}});
}

QByteArray collectionQuery()
{
    return propfindBody({{kDav, QStringLiteral("resourcetype")},
                         {kDav, QStringLiteral("displayname")},
                         {kCalDav, QStringLiteral("supported-calendar-component-set")}});
}

QByteArray etagQuery()
{
    return propfindBody({{kDav, QStringLiteral("getetag")}, {kDav, QStringLiteral("resourcetype")}});
}

QByteArray syncCollection(const QString &token)
{
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.writeStartDocument();
    xml.writeNamespace(kDav, QStringLiteral("d"));
    xml.writeStartElement(kDav, QStringLiteral("sync-collection"));
    xml.writeTextElement(kDav, QStringLiteral("sync-token"), token);
    xml.writeTextElement(kDav, QStringLiteral("sync-level"), QStringLiteral("1"));
    xml.writeStartElement(kDav, QStringLiteral("prop"));
    xml.writeEmptyElement(kDav, QStringLiteral("getetag"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return body;
}

QByteArray multiget(bool calendar, const QStringList &encodedHrefs)
{
    const QString ns = calendar ? kCalDav : kCardDav;
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.writeStartDocument();
    xml.writeNamespace(kDav, QStringLiteral("d"));
    xml.writeNamespace(ns, QStringLiteral("c"));
    xml.writeStartElement(ns, calendar ? QStringLiteral("calendar-multiget") : QStringLiteral("addressbook-multiget"));
    xml.writeStartElement(kDav, QStringLiteral("prop"));
    xml.writeEmptyElement(kDav, QStringLiteral("getetag"));
    xml.writeEmptyElement(ns, calendar ? QStringLiteral("calendar-data") : QStringLiteral("address-data"));
    xml.writeEndElement();
    for (const QString &href : encodedHrefs)
        xml.writeTextElement(kDav, QStringLiteral("href"), href);
    xml.writeEndElement();
    xml.writeEndDocument();
    return body;
}

} // namespace davbody
