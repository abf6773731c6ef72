#include "util/ShellLaunch.h"

#include "platform/Shell.h"

void ShellOpen(const QString &path)
{
    platform::shell().openPath(path);
}

void OpenInBrowser(const QUrl &address)
{
    if (address.isValid() && !address.isEmpty())
        platform::shell().openUrl(address);
}

void OpenInBrowser(const QString &address)
{
    OpenInBrowser(QUrl::fromUserInput(address.trimmed()));
}
