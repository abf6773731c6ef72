#include "app/SingleInstance.h"

#include "platform/Prompter.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QLocalSocket>

SingleInstance::SingleInstance(const QString &programFolder)
    : m_name(QStringLiteral("Pandrel-")
             + QString::fromLatin1(QCryptographicHash::hash(programFolder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16)))
{
}

bool SingleInstance::otherCopyRunning() const
{
    QLocalSocket probe;
    probe.connectToServer(m_name);
    return probe.waitForConnected(300);
}

bool SingleInstance::claim()
{
    if (m_server.isListening())
        return true;
    if (m_server.listen(m_name))
        return true;
    // A copy that crashed leaves its socket file behind; nobody answers there any more.
    if (m_server.serverError() == QAbstractSocket::AddressInUseError && !otherCopyRunning()) {
        QLocalServer::removeServer(m_name);
        return m_server.listen(m_name);
    }
    return false;
}

void SingleInstance::warnAndClaim()
{
    if (otherCopyRunning()) {
        platform::prompter().message(
            QCoreApplication::translate("SingleInstance", "Zorvik[Oribel]软件已在运行中，不能重复运行！"));
    }
    claim();
}

void SingleInstance::release()
{
    m_server.close();
}
