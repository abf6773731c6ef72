#include "util/ShellLaunch.h"

#include "platform/Prompter.h"
#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ShellLaunch", text);
}

} // namespace

bool openWithDesktop(const QString &path)
{
    if (platform::shell().openPath(path))
        return true;
    const QString shown = QDir::toNativeSeparators(path);
    platform::prompter().message(QFileInfo(path).isDir()
                                     ? tr("系统中没有找到可以打开文件夹的程序，无法打开：\n%1").arg(shown)
                                     : tr("系统中没有找到可以打开该文件的程序，无法打开：\n%1").arg(shown),
                                 platform::Prompter::Icon::Warning);
    return false;
}

bool openInBrowser(const QUrl &address)
{
    if (!address.isValid() || address.isEmpty())
        return false;
    if (platform::shell().openUrl(address))
        return true;
    platform::prompter().message(tr("无法打开网址：%1\n系统中没有找到浏览器程序，请先安装一个浏览器！")
                                     .arg(address.toDisplayString()),
                                 platform::Prompter::Icon::Warning);
    return false;
}

bool openInBrowser(const QString &address)
{
    return openInBrowser(QUrl::fromUserInput(address.trimmed()));
}
