#pragma once

#include "platform/Shell.h"

namespace platform {

// Shell on the freedesktop conventions: the desktop entries of the default applications, XDG autostart
// files, and logind over the system D-Bus for powering off.
class DesktopShell final : public Shell
{
public:
    // `autostartFolder`: where autostart entries go; the user's XDG autostart folder by default.
    explicit DesktopShell(const QString &autostartFolder = defaultAutostartFolder());

    bool openPath(const QString &path) override;
    bool openUrl(const QUrl &url) override;
    bool canOpen(const QString &mimeType) override;
    bool startApplication(const QString &desktopEntry) override;
    void restartProgram() override;
    bool setAutostart(const QString &name, const QString &command) override;
    bool removeAutostart(const QString &name) override;
    void shutdownMachine() override;

private:
    QString entryPath(const QString &name) const;

    QString m_autostartFolder;
};

} // namespace platform
