#pragma once

#include <QString>
#include <QUrl>

namespace platform {

// Everything that hands work to the desktop or the operating system. Tests install a
// recording stand-in so that nothing is launched, written to autostart or powered off.
class Shell
{
public:
    virtual ~Shell() = default;

    // Opens a file, folder or program with the desktop's default action. The launches report
    // whether something was started, so the caller can tell the user when nothing was.
    virtual bool openPath(const QString &path) = 0;
    virtual bool openUrl(const QUrl &url) = 0;
    // Whether the desktop has a program that opens files of this MIME type.
    virtual bool canOpen(const QString &mimeType) = 0;
    // Starts the application of a desktop entry (a .desktop file), without files to open.
    virtual bool startApplication(const QString &desktopEntry) = 0;
    // Starts a new copy of the running program, without arguments.
    virtual void restartProgram() = 0;
    // Writes or removes the autostart entry `name`, whose command is `command`.
    // Both report failure by their result only.
    virtual bool setAutostart(const QString &name, const QString &command) = 0;
    virtual bool removeAutostart(const QString &name) = 0;
    virtual void shutdownMachine() = 0;
};

Shell &shell();
// Installs `replacement` (not owned); nullptr restores the desktop shell.
void setShell(Shell *replacement);

// The user's XDG autostart folder.
QString defaultAutostartFolder();

} // namespace platform
