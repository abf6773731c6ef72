#include "sync/DavClient.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslError>

namespace {

constexpr int kMaxRedirections = 5;

QString fingerprintOf(const QSslCertificate &certificate)
{
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

QString serverKeyOf(const QUrl &url)
{
    return url.host() + QLatin1Char(':') + QString::number(url.port(url.scheme() == QLatin1String("https") ? 443 : 80));
}

} // namespace

DavClient::DavClient(QNetworkAccessManager &network, const QUrl &server, const QString &user, const QString &password)
    : m_network(network)
    , m_server(server)
{
    m_authorization = "Basic " + (user.toUtf8() + ':' + password.toUtf8()).toBase64();
}

bool DavClient::isLocalHost(const QUrl &url)
{
    const QString host = url.host().toLower();
    return host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1") || host == QLatin1String("::1");
}

QString DavClient::encodedPath(const QString &path)
{
    QUrl url;
    url.setPath(path, QUrl::DecodedMode);
    return url.path(QUrl::FullyEncoded);
}

QUrl DavClient::urlOf(const QString &path) const
{
    QUrl url = m_server;
    url.setPath(path, QUrl::DecodedMode);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

DavReply DavClient::propfind(const QUrl &url, int depth, const QByteArray &body)
{
    return send("PROPFIND", url, body, {{"Depth", QByteArray::number(depth)}});
}

DavReply DavClient::report(const QUrl &url, int depth, const QByteArray &body)
{
    return send("REPORT", url, body, {{"Depth", QByteArray::number(depth)}});
}

DavReply DavClient::send(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers)
{
    QUrl target = url;
    for (int hop = 0;; ++hop) {
        DavReply reply = sendOnce(verb, target, body, headers);
        if (reply.failure != DavReply::Failure::None || reply.status < 300 || reply.status >= 400 || reply.status == 304
            || reply.location.isEmpty() || hop == kMaxRedirections)
            return reply;
        const QUrl next = target.resolved(QUrl(reply.location));
        // Never from HTTPS down to plain HTTP.
        if (target.scheme() == QLatin1String("https") && next.scheme() != QLatin1String("https"))
            return reply;
        target = next;
    }
}

DavReply DavClient::sendOnce(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers)
{
    DavReply result;
    if (url.scheme() == QLatin1String("http") && !isLocalHost(url) && !m_plainHttpAllowed) {
        result.failure = DavReply::Failure::PlainHttp;
        return result;
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeout);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    const bool ownServer = url.host().compare(m_server.host(), Qt::CaseInsensitive) == 0 && url.port() == m_server.port();
    if (ownServer || url.scheme() == QLatin1String("https"))
        request.setRawHeader("Authorization", m_authorization);
    if (!body.isEmpty() && verb != "PUT")
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/xml; charset=utf-8"));
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);

    ++m_requests;
    QNetworkReply *reply = m_network.sendCustomRequest(request, verb, body);
    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [this, reply, &result](const QList<QSslError> &errors) {
        const QSslCertificate certificate = errors.isEmpty() || errors.first().certificate().isNull()
            ? reply->sslConfiguration().peerCertificate()
            : errors.first().certificate();
        result.fingerprint = fingerprintOf(certificate);
        result.serverKey = serverKeyOf(reply->url());
        // A certificate the user has accepted for this server, exactly this one.
        if (m_trusted.contains(result.serverKey + QLatin1Char(' ') + result.fingerprint))
            reply->ignoreSslErrors(errors);
    });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();

    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->isReadable())
        result.body = reply->readAll();
    result.etag = QString::fromLatin1(reply->rawHeader("ETag"));
    result.location = QString::fromLatin1(reply->rawHeader("Location"));
    const QNetworkReply::NetworkError error = reply->error();
    if (result.status == 401) {
        result.failure = DavReply::Failure::Authentication;
    } else if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError) {
        result.failure = DavReply::Failure::Timeout;
    } else if (error == QNetworkReply::SslHandshakeFailedError && !result.fingerprint.isEmpty()) {
        result.failure = DavReply::Failure::Certificate;
    } else if (result.status == 0 && error != QNetworkReply::NoError) {
        result.failure = DavReply::Failure::Network;
        result.detail = reply->errorString();
        // Qt names the URL in some texts; the URL never holds the password, but say less.
        result.detail.replace(url.toString(), url.host());
    }
    if (result.failure != DavReply::Failure::Certificate)
        result.fingerprint.clear();
    reply->deleteLater();
    return result;
}
