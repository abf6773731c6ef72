#include "RecordingShell.h"

RecordingShell::RecordingShell()
{
    platform::setShell(this);
}

RecordingShell::~RecordingShell()
{
    platform::setShell(nullptr);
}

bool RecordingShell::openPath(const QString &path)
{
    m_calls.append(QStringLiteral("open ") + path);
    return !m_launchesFail;
}

bool RecordingShell::openUrl(const QUrl &url)
{
    m_calls.append(QStringLiteral("url ") + url.toString(QUrl::FullyEncoded));
    return !m_launchesFail;
}

bool RecordingShell::startApplication(const QString &desktopEntry)
{
    m_calls.append(QStringLiteral("start ") + desktopEntry);
    return !m_launchesFail;
}

void RecordingShell::restartProgram()
{
    m_calls.append(QStringLiteral("restart"));
    if (m_restartProbe)
        m_restartProbe();
}

bool RecordingShell::setAutostart(const QString &name, const QString &command)
{
    m_calls.append(QStringLiteral("autostart %1 %2").arg(name, command));
    m_autostart.insert(name, command);
    return true;
}

bool RecordingShell::removeAutostart(const QString &name)
{
    m_calls.append(QStringLiteral("noautostart ") + name);
    m_autostart.remove(name);
    return true;
}

void RecordingShell::shutdownMachine()
{
    m_calls.append(QStringLiteral("shutdown"));
}
