#include "safety/DataSafetyCommands.h"

#include "data/Database.h"
#include "platform/Prompter.h"
#include "safety/BackupSchedule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

// The undo file could not be written: nothing was replaced, and the user learns why.
void tellUndoNotKept(const QString &reason)
{
    platform::prompter().message(tr("无法保存撤销用的数据（%1），数据没有改动：\n%2")
                                     .arg(QFileInfo(undoFilePath()).fileName(), reason),
                                 platform::Prompter::Icon::Error);
}

// Sizes as the file manager shows them to this program's users: "91.0 KB", "1.5 GB".
QString sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return tr("%1 字节").arg(bytes);
    static const char *const units[] = {"KB", "MB", "GB", "TB"};
    double size = double(bytes) / 1024;
    int unit = 0;
    while (size >= 1024 && unit < 3) {
        size /= 1024;
        ++unit;
    }
    return QStringLiteral("%1 %2").arg(size, 0, 'f', 1).arg(QLatin1String(units[unit]));
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
    QString undoError;
    if (!restoreDatabase(dm, *source, &undoError)) {
        if (!undoError.isEmpty())
            tellUndoNotKept(undoError);
        else
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
    QString undoError;
    if (!clearUserData(dm, &undoError)) {
        if (!undoError.isEmpty())
            tellUndoNotKept(undoError);
        else
            platform::prompter().message(tr("清除数据过程中发生错误！"), platform::Prompter::Icon::Error);
        return CommandOutcome::Failed;
    }
    platform::prompter().message(tr("清除数据成功！\n软件将自动退出并重新启动本软件。"));
    return CommandOutcome::Done;
}

CommandOutcome undoByUser(Database &dm)
{
    const QFileInfo undo(undoFilePath());
    if (!undo.isFile()) {
        platform::prompter().message(tr("没有可以撤销的还原或清除。"), platform::Prompter::Icon::Information);
        return CommandOutcome::Cancelled;
    }
    const QString saved = undo.lastModified().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    if (!platform::prompter().confirm(tr("撤销上次恢复/清除：当前数据将换回%1保存的撤销前的数据。\n"
                                         "当前数据会另存为新的撤销前的数据，需要时可以再撤销回来。\n"
                                         "确认撤销吗？").arg(saved)))
        return CommandOutcome::Cancelled;
    QString undoError;
    if (!restoreDatabase(dm, undo.filePath(), &undoError)) {
        if (!undoError.isEmpty())
            tellUndoNotKept(undoError);
        else
            platform::prompter().message(tr("撤销前的数据无法还原，当前数据没有改动。"), platform::Prompter::Icon::Error);
        return CommandOutcome::Failed;
    }
    platform::prompter().message(tr("撤销成功，数据已换回%1保存的样子！\n软件将自动退出并重新启动本软件。").arg(saved));
    return CommandOutcome::Done;
}

void checkBackupByUser()
{
    const std::optional<QString> path = platform::prompter().openFileName(
        backupFileRequest(tr("检查备份文件"), tr("ZorvikOribel备份文件(*WBK)")));
    if (!path)
        return;
    const QString shown = QDir::toNativeSeparators(*path);
    const BackupSummary summary = inspectBackup(*path);
    if (!summary.restorable) {
        platform::prompter().message(tr("这个文件不能用来还原数据：\n%1\n%2").arg(shown, summary.reason),
                                     platform::Prompter::Icon::Warning);
        return;
    }
    platform::prompter().message(tr("这个备份文件可以用来还原数据。\n文件：%1\n日期：%2\n大小：%3\n"
                                    "其中有事务 %4 条，客户 %5 个。")
                                     .arg(shown, summary.modified.toString(QStringLiteral("yyyy-MM-dd hh:mm")),
                                          sizeText(summary.size))
                                     .arg(summary.workItems)
                                     .arg(summary.clients));
}

QString takeAutomaticBackup(Database &dm, const QString &folder, const QDateTime &now, int keep,
                            const FreeSpaceQuery &freeSpace)
{
    const qint64 needed = QFileInfo(dm.databasePath()).size();
    const qint64 available = freeSpace(folder);
    if (!hasRoomForBackup(available, needed))
        return tr("磁盘空间不足，自动备份没有进行：\n%1 只剩 %2，备份需要 %3。\n请清理磁盘或换一个备份文件夹。")
            .arg(QDir::toNativeSeparators(folder), sizeText(available), sizeText(needed + (needed + 9) / 10));
    const QString target = autoBackupPath(folder, now);
    const FileResult copied = backupDatabase(dm, target);
    if (!copied)
        return tr("自动备份数据失败！") + '\n' + copied.error;
    // Older backups go only for one that is known to restore.
    if (!isProgramDatabaseCopy(target))
        return tr("自动备份数据失败！") + '\n' + tr("%1: 备份文件检查没有通过").arg(QDir::toNativeSeparators(target));
    pruneAutomaticBackups(folder, keep, target);
    return {};
}
