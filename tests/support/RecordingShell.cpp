#include "RecordingShell.h"

RecordingShell::RecordingShell()
{
    platform::setShell(this);
}

RecordingShell::~RecordingShell()
{
    platform::setShell(nullptr);
}

void RecordingShell::openPath(const QString &path)
{
    m_calls.append(QStringLiteral("open ") + path);
}

void RecordingShell::openUrl(const QUrl &url)
{
    m_calls.append(QStringLiteral("url ") + url.toString(QUrl::FullyEncoded));
}

void RecordingShell::startApplication(const QString &desktopEntry)
{
    m_calls.append(QStringLiteral("start ") + desktopEntry);
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
