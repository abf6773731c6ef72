#include "desk/DeskTools.h"

#include "platform/DesktopApplications.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "util/ShellLaunch.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DeskTools", text);
}

void startOrSay(const QString &desktopEntry, const QString &missing)
{
    if (desktopEntry.isEmpty())
        platform::prompter().message(missing, platform::Prompter::Icon::Warning);
    else if (!platform::shell().startApplication(desktopEntry))
        // Found but not started: most often a terminal program on a desktop without a terminal.
        platform::prompter().message(
            platform::desktopEntryRunsInTerminal(desktopEntry)
                ? tr("找到的程序需要在终端中运行，但系统中没有找到终端程序，请先安装一个终端！")
                : tr("找到的程序不能启动，请检查它是否完整安装！"),
            platform::Prompter::Icon::Warning);
}

} // namespace

void callCalculator()
{
    startOrSay(platform::applicationInCategory(QStringLiteral("Calculator")),
               tr("系统中没有找到计算器程序，请先安装一个计算器！"));
}

void callTextEditor()
{
    startOrSay(platform::defaultApplicationFor(QStringLiteral("text/plain"), QStringLiteral("TextEditor")),
               tr("系统中没有找到文本编辑程序，请先安装一个文本编辑器！"));
}

void openTranslator()
{
    openInBrowser(QUrl(QStringLiteral("https://fanyi.baidu.com/")));
}

void openMap()
{
    openInBrowser(QUrl(QStringLiteral("https://map.baidu.com/")));
}

void shutDownComputerAsked()
{
    if (platform::prompter().confirm(tr("您确认关闭电脑吗?")))
        platform::shell().shutdownMachine();
}
