#include "RadicaleServer.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

RadicaleServer::RadicaleServer()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    m_port = probe.serverPort();
    probe.close();
    QFile users(m_dir.filePath(QStringLiteral("users")));
    if (users.open(QIODevice::WriteOnly))
        users.write((user() + QLatin1Char(':') + password() + QLatin1Char('\n')).toUtf8());
}

RadicaleServer::~RadicaleServer()
{
    stop();
}

bool RadicaleServer::start(const Tls &tls)
{
    m_tls = !tls.certificate.isEmpty();
    QStringList arguments{QStringLiteral("-m"), QStringLiteral("radicale"),
                          QStringLiteral("--config"), QString(),
                          QStringLiteral("--storage-filesystem-folder"), m_dir.filePath(QStringLiteral("storage")),
                          QStringLiteral("--server-hosts"), QStringLiteral("127.0.0.1:%1").arg(m_port),
                          QStringLiteral("--auth-type"), QStringLiteral("htpasswd"),
                          QStringLiteral("--auth-htpasswd-filename"), m_dir.filePath(QStringLiteral("users")),
                          QStringLiteral("--auth-htpasswd-encryption"), QStringLiteral("plain"),
                          QStringLiteral("--auth-delay"), QStringLiteral("0")};
    if (m_tls)
        arguments << QStringLiteral("--server-ssl") << QStringLiteral("True") << QStringLiteral("--server-certificate")
                  << tls.certificate << QStringLiteral("--server-key") << tls.key;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    // Debian's own interpreter, which has the package; another python3 may come first on PATH.
    m_process.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!m_process.waitForStarted(5000))
        return false;
    for (int attempt = 0; attempt < 200; ++attempt) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(100))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(50);
    }
    return false;
}

void RadicaleServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString RadicaleServer::url() const
{
    return QStringLiteral("%1://127.0.0.1:%2/").arg(m_tls ? QStringLiteral("https") : QStringLiteral("http")).arg(m_port);
}

std::pair<int, QByteArray> RadicaleServer::request(const QByteArray &verb, const QString &url, const QByteArray &body,
                                                   const QList<std::pair<QByteArray, QByteArray>> &headers)
{
    QNetworkAccessManager network;
    QNetworkRequest request{QUrl(url)};
    request.setRawHeader("Authorization", "Basic " + (user() + QLatin1Char(':') + password()).toUtf8().toBase64());
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);
    QNetworkReply *reply = network.sendCustomRequest(request, verb, body);
    if (m_tls)
        reply->ignoreSslErrors();
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray answer = reply->readAll();
    delete reply;
    return {status, answer};
}

namespace {

QByteArray makeCollectionBody(bool calendar, const QString &name)
{
    const QByteArray type = calendar
        ? "<C:calendar/></D:resourcetype><C:supported-calendar-component-set><C:comp name=\"VTODO\"/></C:supported-calendar-component-set>"
        : "<CR:addressbook/></D:resourcetype>";
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:mkcol xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\" "
           "xmlns:CR=\"urn:ietf:params:xml:ns:carddav\"><D:set><D:prop><D:resourcetype><D:collection/>"
        + type + "<D:displayname>" + name.toUtf8() + "</D:displayname></D:prop></D:set></D:mkcol>";
}

} // namespace

QString RadicaleServer::makeTaskList(const QString &name)
{
    const QString collection = url() + user() + QLatin1Char('/') + name + QLatin1Char('/');
    return request("MKCOL", collection, makeCollectionBody(true, name)).first == 201 ? collection : QString();
}

QString RadicaleServer::makeAddressBook(const QString &name)
{
    const QString collection = url() + user() + QLatin1Char('/') + name + QLatin1Char('/');
    return request("MKCOL", collection, makeCollectionBody(false, name)).first == 201 ? collection : QString();
}

QStringList RadicaleServer::items(const QString &collectionUrl)
{
    const auto [status, body] = request("PROPFIND", collectionUrl,
                                        "<?xml version=\"1.0\"?><D:propfind xmlns:D=\"DAV:\"><D:prop><D:getetag/></D:prop></D:propfind>",
                                        {{"Depth", "1"}});
    QStringList hrefs;
    static const QRegularExpression href(QStringLiteral("<href>([^<]+)</href>"));
    const QString path = QUrl(collectionUrl).path();
    for (const QRegularExpressionMatch &match : href.globalMatch(QString::fromUtf8(body))) {
        if (match.captured(1) != path)
            hrefs.append(match.captured(1));
    }
    Q_UNUSED(status);
    return hrefs;
}
