#pragma once

#include "platform/Shell.h"

#include <QHash>
#include <QStringList>
#include <functional>

// Records what the program asked the desktop to do; launches nothing. The autostart entry is
// kept in memory, so a test can see it written and removed.
class RecordingShell final : public platform::Shell
{
public:
    RecordingShell();
    ~RecordingShell() override;

    // One line per call: "open <path>", "url <address>", "start <desktop entry>", "restart", "autostart <name> <command>",
    // "noautostart <name>", "shutdown".
    const QStringList &calls() const { return m_calls; }
    QString lastCall() const { return m_calls.isEmpty() ? QString() : m_calls.constLast(); }
    // The command of the autostart entry, empty when none is written.
    QString autostartCommand(const QString &name) const { return m_autostart.value(name); }
    // Runs when the program asks to be started again: what the old copy still holds then.
    void onRestart(std::function<void()> probe) { m_restartProbe = std::move(probe); }

    // Launches are recorded either way; after failLaunches() they report that nothing started,
    // as on a desktop without a program for them.
    bool openPath(const QString &path) override;
    bool openUrl(const QUrl &url) override;
    void failLaunches() { m_launchesFail = true; }
    // Every type opens unless the test says the desktop has no program for it.
    bool canOpen(const QString &mimeType) override { return !m_unopenable.contains(mimeType); }
    void refuseToOpen(const QString &mimeType) { m_unopenable.append(mimeType); }
    bool startApplication(const QString &desktopEntry) override;
    void restartProgram() override;
    bool setAutostart(const QString &name, const QString &command) override;
    bool removeAutostart(const QString &name) override;
    void shutdownMachine() override;

private:
    QStringList m_calls;
    QHash<QString, QString> m_autostart;
    QStringList m_unopenable;
    bool m_launchesFail = false;
    std::function<void()> m_restartProbe;
};
