#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <utility>

class QNetworkAccessManager;

// One answer of the server, or why there was none. The texts never hold the password.
struct DavReply {
    enum class Failure { None, Network, Timeout, Authentication, Certificate, PlainHttp };
    Failure failure = Failure::None;
    int status = 0;
    QByteArray body;
    QString etag;                // the ETag header, as written
    QString location;            // the Location header of a redirection
    QString detail;              // the network's own words, for the message
    QString fingerprint;         // the certificate's SHA-256, for Failure::Certificate
    QString serverKey;           // "host:port" the certificate belongs to

    bool ok() const { return failure == Failure::None && status >= 200 && status < 300; }
};

// WebDAV requests to one account's server through a QNetworkAccessManager. Each request runs
// its own event loop until the answer is in, so the window goes on painting and answering
// meanwhile; every request has a time-out. Redirections are followed by hand, sending the
// credentials on only to the account's own server or over HTTPS.
class DavClient
{
public:
    DavClient(QNetworkAccessManager &network, const QUrl &server, const QString &user, const QString &password);

    void setTimeout(int milliseconds) { m_timeout = milliseconds; }
    // "host:port sha256" lines of certificates the user has accepted.
    void setTrustedCertificates(const QStringList &lines) { m_trusted = lines; }
    // Plain HTTP to any server, once the user has been warned; localhost always.
    void setPlainHttpAllowed(bool allowed) { m_plainHttpAllowed = allowed; }

    using Headers = QList<std::pair<QByteArray, QByteArray>>;
    DavReply send(const QByteArray &verb, const QUrl &url, const QByteArray &body = {}, const Headers &headers = {});
    DavReply propfind(const QUrl &url, int depth, const QByteArray &body);
    DavReply report(const QUrl &url, int depth, const QByteArray &body);

    QUrl server() const { return m_server; }
    // The URL of a path on the server (percent-encoding undone, as normalHref() gives it).
    QUrl urlOf(const QString &path) const;
    static QString encodedPath(const QString &path);
    int requestCount() const { return m_requests; }

    static bool isLocalHost(const QUrl &url);

private:
    DavReply sendOnce(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers);

    QNetworkAccessManager &m_network;
    QUrl m_server;
    QByteArray m_authorization;
    int m_timeout = 30000;
    QStringList m_trusted;
    bool m_plainHttpAllowed = false;
    int m_requests = 0;
};
