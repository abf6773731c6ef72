#include "app/SingleInstance.h"

#include "platform/Prompter.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QLocalSocket>

namespace {

// Each copy listens at the first free place of a few, so that all of them can be found.
constexpr int kPlaces = 16;

bool answers(const QString &name)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(300);
}

} // namespace

SingleInstance::SingleInstance(const QString &programFolder)
    : m_name(QStringLiteral("Pandrel-")
             + QString::fromLatin1(QCryptographicHash::hash(programFolder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16)))
{
}

QString SingleInstance::placeName(int place) const
{
    return place == 0 ? m_name : m_name + QLatin1Char('-') + QString::number(place);
}

bool SingleInstance::otherCopyRunning() const
{
    for (int place = 0; place < kPlaces; ++place) {
        const QString name = placeName(place);
        if ((!m_server.isListening() || m_server.serverName() != name) && answers(name))
            return true;
    }
    return false;
}

bool SingleInstance::claim()
{
    if (m_server.isListening())
        return true;
    for (int place = 0; place < kPlaces; ++place) {
        const QString name = placeName(place);
        if (m_server.listen(name))
            return true;
        // A copy that crashed leaves its socket file behind; nobody answers there any more.
        if (m_server.serverError() == QAbstractSocket::AddressInUseError && !answers(name)) {
            QLocalServer::removeServer(name);
            if (m_server.listen(name))
                return true;
        }
    }
    return false;
}

void SingleInstance::warnAndClaim()
{
    if (otherCopyRunning()) {
        // This message box alone has an empty title.
        platform::prompter().message(
            QCoreApplication::translate("SingleInstance", "Zorvik[Oribel]软件已在运行中，不能重复运行！"),
            platform::Prompter::Icon::Information, QString());
    }
    claim();
}

void SingleInstance::release()
{
    m_server.close();
}
