#include "output/GridExport.h"

#include "data/Recordset.h"
#include "output/GridWorkbook.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "util/ShellLaunch.h"
#include "widgets/DataGrid.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const char kWorkbookType[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

QString tr(const char *text)
{
    return QCoreApplication::translate("GridExport", text);
}

} // namespace

QString exportFilePath(const QString &documentsFolder, const QString &title, const QDateTime &moment)
{
    QString name = title.trimmed().isEmpty() ? QStringLiteral("列表") : title.trimmed();
    for (QChar &c : name) {
        if (c == '/' || c == '\\' || c == ':' || c.category() == QChar::Other_Control)
            c = '_';
    }
    if (name.startsWith('.'))
        name.replace(0, 1, '_');
    const QString stem = QDir(documentsFolder).filePath(
        QStringLiteral("%1 %2").arg(name, moment.toString(QStringLiteral("yyyy-MM-dd HHmmss"))));
    QString path = stem + QStringLiteral(".xlsx");
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = QStringLiteral("%1 (%2).xlsx").arg(stem).arg(copy);
    return path;
}

void exportGridToSpreadsheet(const QString &title, DataGrid &grid)
{
    platform::Prompter &prompter = platform::prompter();
    if (!grid.recordset().isOpen()) {
        prompter.message(tr("查询过程没有执行，没有数据库可以发送！"), platform::Prompter::Icon::Warning);
        return;
    }
    // The program writes the workbook itself: a missing spreadsheet program only means it
    // cannot be shown, never that nothing is written.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = exportFilePath(folder, title, platform::clock().now());
    if (!QDir().mkpath(folder) || !writeGridWorkbook(path, title, grid.shownColumns(), grid.recordset())) {
        prompter.message(tr("电子表格文件不能写入%1，请检查磁盘空间和文件夹的权限！").arg(QDir::toNativeSeparators(folder)),
                         platform::Prompter::Icon::Error);
        return;
    }
    if (platform::shell().canOpen(QString::fromLatin1(kWorkbookType)) && platform::shell().openPath(path))
        return;
    if (prompter.confirm(tr("数据已经保存到电子表格文件：\n%1\n系统中没有找到可以打开该文件的程序。要打开它所在的文件夹吗？")
                             .arg(QDir::toNativeSeparators(path))))
        openWithDesktop(folder);
}
