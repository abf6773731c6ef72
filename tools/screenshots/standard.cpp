// Qt's own dialogs as the program shows them: in Chinese, with the program's captions.
#include "Shots.h"

#include "platform/Prompter.h"
#include "platform/WidgetPrompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

// Takes the next modal window the prompter opens, then closes it as Esc would.
void takeWhenModal(Shots &shots, const QString &name)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &shots, name] {
        QWidget *window = QApplication::activeModalWidget();
        if (!window)
            return;
        poll->stop();
        poll->deleteLater();
        QCoreApplication::processEvents();
        shots.take(*window, name);
        window->close();
    });
    poll->start(20);
}

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
    takeWhenModal(shots, QStringLiteral("standard-success"));
    prompter.message(QStringLiteral("备份数据成功！\n软件将自动退出并重新启动本软件。"), platform::Prompter::Icon::Information,
                     std::nullopt);
    takeWhenModal(shots, QStringLiteral("standard-short-message"));
    prompter.message(QStringLiteral("请输入数值 10 到 500"), platform::Prompter::Icon::Error, QStringLiteral("比例"));
    takeWhenModal(shots, QStringLiteral("standard-open-backup"));
    platform::Prompter::FileRequest request;
    request.title = QStringLiteral("选择文件还原数据库");
    request.folder = QDir::tempPath();
    request.filter = QStringLiteral("ZorvikOribel备份文件(*WBK)");
    prompter.openFileName(request);
}

const ShotSet standard("standard", shootStandardDialogs);

} // namespace
