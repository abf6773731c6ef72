// Qt's own dialogs as the program shows them: in Chinese, with the program's captions.
#include "Shots.h"

#include "platform/Prompter.h"
#include "platform/WidgetPrompter.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QMessageBox>

namespace {

void shootStandardDialogs(Shots &shots)
{
    QMessageBox question(QMessageBox::Warning, platform::applicationTitle(), QStringLiteral("您确认删除选定的数据记录吗？"),
                         QMessageBox::Yes | QMessageBox::No);
    question.show();
    QCoreApplication::processEvents();
    shots.take(question, QStringLiteral("standard-question"));
    question.hide();

    QColorDialog color(Qt::darkCyan);
    color.show();
    QCoreApplication::processEvents();
    shots.take(color, QStringLiteral("standard-color"));
    color.hide();

    // Through the prompter, as every message of the program is shown.
    platform::WidgetPrompter prompter;
    shots.takeNextModal(QStringLiteral("standard-success"));
    prompter.message(QStringLiteral("备份数据成功！\n软件将自动退出并重新启动本软件。"), platform::Prompter::Icon::Information,
                     std::nullopt);
    shots.takeNextModal(QStringLiteral("standard-short-message"));
    prompter.message(QStringLiteral("请输入数值 10 到 500"), platform::Prompter::Icon::Error, QStringLiteral("比例"));
    shots.takeNextModal(QStringLiteral("standard-open-backup"));
    platform::Prompter::FileRequest request;
    request.title = QStringLiteral("选择文件还原数据库");
    request.folder = QDir::tempPath();
    request.filter = QStringLiteral("ZorvikOribel备份文件(*WBK)");
    prompter.openFileName(request);
}

const ShotSet standard("standard", shootStandardDialogs);

} // namespace
