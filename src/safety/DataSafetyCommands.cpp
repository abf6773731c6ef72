#include "safety/DataSafetyCommands.h"

#include "data/Database.h"
#include "platform/Prompter.h"
#include "safety/DataSafety.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DataSafety", text);
}

// The file dialogs of backup and restore start in the program's backup folder.
platform::Prompter::FileRequest backupFileRequest(const QString &title, const QString &filter)
{
    platform::Prompter::FileRequest request;
    request.title = title;
    request.folder = programBackupFolder();
    request.filter = filter;
    request.defaultSuffix = QStringLiteral("WBK");
    return request;
}

} // namespace

QString proposedBackupName(const QDate &day)
{
    return day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".WBK");
}

CommandOutcome backupByUser(Database &dm, const QDate &today)
{
    platform::Prompter::FileRequest request = backupFileRequest(tr("备份文件"), tr("ZorvikOribel备份文件(*.WBK)"));
    request.fileName = QDir(request.folder).filePath(proposedBackupName(today));
    request.confirmOverwrite = true;
    const std::optional<QString> target = platform::prompter().saveFileName(request);
    if (!target)
        return CommandOutcome::Cancelled;
    if (!backupDatabase(dm, *target)) {
        platform::prompter().message(tr("确认目标位置可读写！"), platform::Prompter::Icon::Error);
        return CommandOutcome::Failed;
    }
    platform::prompter().message(tr("备份数据成功！\n软件将自动退出并重新启动本软件。"));
    return CommandOutcome::Done;
}

CommandOutcome restoreByUser(Database &dm)
{
    platform::prompter().message(tr("警告：还原数据库将会把当前设置状况下的数据覆盖，且不可恢复！\n"
                                    "建议在还原之前先备份数据库！\n请谨慎使用本功能！"),
                                 platform::Prompter::Icon::Warning);
    // The mask without a dot also lists any file whose name ends in WBK.
    const std::optional<QString> source = platform::prompter().openFileName(
        backupFileRequest(tr("选择文件还原数据库"), tr("ZorvikOribel备份文件(*WBK)")));
    if (!source)
        return CommandOutcome::Cancelled;
    if (!restoreDatabase(dm, *source)) {
        platform::prompter().message(tr("还原数据文件发生错误！"), platform::Prompter::Icon::Error);
        return CommandOutcome::Failed;
    }
    platform::prompter().message(tr("还原数据成功！\n软件将自动退出并重新启动本软件。"));
    return CommandOutcome::Done;
}

CommandOutcome clearDataByUser(Database &dm)
{
    if (!platform::prompter().confirm(tr("本功能仅应用于正式开始使用本系统前的范例数据清除！\n"
                                         "如果已经有自己录入的数据，建议先执行[备份数据库]功能，再执行数据清除！\n"
                                         "执行本功能所引起的数据丢失，软件提供方不为此负担任何责任！")))
        return CommandOutcome::Cancelled;
    if (!platform::prompter().confirm(tr("您确认清除[Oribel]中所有自定义数据吗？\n"
                                         "包括事务、客户/商品记录、常用文件夹、联系人档案等。")))
        return CommandOutcome::Cancelled;
    if (!clearUserData(dm)) {
        platform::prompter().message(tr("清除数据过程中发生错误！"), platform::Prompter::Icon::Error);
        return CommandOutcome::Failed;
    }
    platform::prompter().message(tr("清除数据成功！\n软件将自动退出并重新启动本软件。"));
    return CommandOutcome::Done;
}
