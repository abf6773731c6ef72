#include "util/ShellLaunch.h"

#include "platform/Shell.h"

void openWithDesktop(const QString &path)
{
    platform::shell().openPath(path);
}

void openInBrowser(const QUrl &address)
{
    if (address.isValid() && !address.isEmpty())
        platform::shell().openUrl(address);
}

void openInBrowser(const QString &address)
{
    openInBrowser(QUrl::fromUserInput(address.trimmed()));
}
