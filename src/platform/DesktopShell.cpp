#include "platform/DesktopShell.h"

#include "platform/DesktopApplications.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QMimeDatabase>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {

namespace {

// The command as one quoted argument of a desktop entry's Exec key: inside the quotes ",
// `, $ and \ take a backslash, which the key's own string escaping doubles once more, and
// % is doubled for the field codes. A folder with a space or any of these still starts.
QString execArgument(const QString &command)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : command) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$'))
            quoted += QStringLiteral("\\\\") + c;
        else if (c == QLatin1Char('\\'))
            quoted += QStringLiteral("\\\\\\\\");
        else if (c == QLatin1Char('%'))
            quoted += QStringLiteral("%%");
        else
            quoted += c;
    }
    return quoted + QLatin1Char('"');
}

} // namespace

DesktopShell::DesktopShell(const QString &autostartFolder)
    : m_autostartFolder(autostartFolder)
{
}

QString DesktopShell::entryPath(const QString &name) const
{
    return QDir(m_autostartFolder).filePath(name + QStringLiteral(".desktop"));
}

namespace {

bool startEntry(const QString &desktopEntry, const QString &file)
{
    QStringList command = launchCommand(desktopEntry, file);
    return !command.isEmpty() && QProcess::startDetached(command.takeFirst(), command, QDir::homePath());
}

// The entry of the default application for a type, or for the types it derives from (a
// .csv opens where text/plain does).
QString applicationForType(const QMimeType &type)
{
    if (!type.isValid())
        return {};
    for (const QString &name : QStringList{type.name()} + type.aliases() + type.allAncestors()) {
        const QString entry = defaultApplicationFor(name, QString());
        if (!entry.isEmpty())
            return entry;
    }
    return {};
}

} // namespace

bool DesktopShell::openPath(const QString &path)
{
    // Files and folders go to the desktop's default application, never run: documents on
    // FAT or NTFS sticks carry an execute bit, and the user asked to open them. The entry is
    // started here rather than through xdg-open, whose failure would go unnoticed.
    const QFileInfo info(path);
    if (info.exists()) {
        const QString file = info.absoluteFilePath();
        const QString entry = applicationForType(QMimeDatabase().mimeTypeForFile(info));
        return !entry.isEmpty() && startEntry(entry, file);
    }
    // A bare program name ("gnome-calculator") is looked up on the PATH.
    const QString program = QStandardPaths::findExecutable(path);
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

bool DesktopShell::openUrl(const QUrl &url)
{
    if (url.isLocalFile())
        return openPath(url.toLocalFile());
    const QString scheme = url.scheme().toLower();
    QString entry = defaultApplicationFor(QStringLiteral("x-scheme-handler/") + scheme, QString());
    // Some browsers only say that they show web pages.
    if (entry.isEmpty() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        entry = defaultApplicationFor(QStringLiteral("text/html"), QStringLiteral("WebBrowser"));
    return !entry.isEmpty() && startEntry(entry, url.toString(QUrl::FullyEncoded));
}

bool DesktopShell::canOpen(const QString &mimeType)
{
    return !defaultApplicationFor(mimeType, QString()).isEmpty();
}

bool DesktopShell::startApplication(const QString &desktopEntry)
{
    return startEntry(desktopEntry, QString());
}

void DesktopShell::restartProgram()
{
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}

bool DesktopShell::setAutostart(const QString &name, const QString &command)
{
    const QString path = entryPath(name);
    if (!QDir().mkpath(m_autostartFolder))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const QString exec = execArgument(command);
    file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n"
                              "X-GNOME-Autostart-enabled=true\n")
                   .arg(name, exec)
                   .toUtf8());
    return file.commit();
}

bool DesktopShell::removeAutostart(const QString &name)
{
    const QString path = entryPath(name);
    return !QFileInfo::exists(path) || QFile::remove(path);
}

void DesktopShell::shutdownMachine()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << true; // let logind ask for authorisation where the policy wants it
    QDBusConnection::systemBus().call(call, QDBus::NoBlock);
}

} // namespace platform
