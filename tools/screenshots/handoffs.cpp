// What the user hears when the desktop cannot open what the program hands it.
#include "Shots.h"

#include "platform/Prompter.h"
#include "platform/WidgetPrompter.h"


namespace {

void shootHandOffs(Shots &shots)
{
    platform::WidgetPrompter widgets;
    platform::Prompter &prompter = widgets;
    shots.takeNextModal(QStringLiteral("handoff-no-browser"));
    prompter.message(QStringLiteral("无法打开网址：https://www.so.com/s?q=天气\n系统中没有找到浏览器程序，请先安装一个浏览器！"),
                     platform::Prompter::Icon::Warning);
    shots.takeNextModal(QStringLiteral("handoff-export-saved"));
    prompter.confirm(QStringLiteral("数据已经保存到电子表格文件：\n/home/张三/Documents/事务档案 2026-12-10 140509.xlsx\n"
                                    "系统中没有找到可以打开该文件的程序。要打开它所在的文件夹吗？"));
    shots.takeNextModal(QStringLiteral("handoff-no-terminal"));
    prompter.message(QStringLiteral("找到的程序需要在终端中运行，但系统中没有找到终端程序，请先安装一个终端！"),
                     platform::Prompter::Icon::Warning);
}

const ShotSet handOffs("handoffs", shootHandOffs);

} // namespace
