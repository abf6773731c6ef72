#include "work/WorkCalendarCommands.h"

#include "data/Database.h"
#include "data/DbDates.h"
#include "data/Recordset.h"
#include "data/SearchIndex.h"
#include "data/Sqlite.h"
#include "data/WorkItemUid.h"
#include "document/DocumentStore.h"
#include "interchange/ICalendarFile.h"
#include "interchange/WorkItemCalendar.h"
#include "interchange/WorkItemRows.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "work/WorkTypesDialog.h"

#include <QCoreApplication>
#include <QHash>
#include <QMap>
#include <QSaveFile>
#include <QSet>

#include <algorithm>

namespace workcalendar {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("WorkCalendar", text);
}

QString calendarFilter()
{
    return tr("日历文件 (*.ics);;所有文件 (*)");
}

CalendarWorkItem itemOfRow(const Recordset &rs)
{
    CalendarWorkItem item = itemOfWorkRow(rs);
    item.body = rs.hasField(QStringLiteral("BodyText")) ? rs.text(QStringLiteral("BodyText"))
                                                        : storedDocumentText(rs.blob(QStringLiteral("Content")));
    return item;
}

QString fileProblemText(icalendarfile::Problem problem, const QString &path)
{
    switch (problem) {
    case icalendarfile::Problem::Unreadable: return tr("无法读取日历文件：\n%1").arg(path);
    case icalendarfile::Problem::TooLarge:
        return tr("日历文件太大（超过%1MB），没有导入任何事务。").arg(icalendarfile::kMaxBytes / (1024 * 1024));
    case icalendarfile::Problem::NotCalendar: return tr("这个文件不是日历文件（.ics），没有导入任何事务。");
    case icalendarfile::Problem::Damaged: return tr("日历文件已损坏或不完整，没有导入任何事务。");
    case icalendarfile::Problem::None: break;
    }
    return {};
}

QString skipReasonText(CalendarSkip::Reason reason)
{
    switch (reason) {
    case CalendarSkip::Reason::NoTitle: return tr("没有主题");
    case CalendarSkip::Reason::Unreadable: return tr("内容有错误，无法识别");
    case CalendarSkip::Reason::SingleOccurrenceChange: return tr("重复日程中单独改动的某一次（只导入整个系列）");
    case CalendarSkip::Reason::RepeatedUid: return tr("与文件中前面的条目相同");
    }
    return {};
}

// Items stored by something that gave them no UID get theirs as they go out, so that the next
// export names them the same way. Only these rows are written: a statement over the whole
// table would read every body it passes.
void giveMissingUids(Database &dm, QHash<qint64, CalendarWorkItem> &items)
{
    QList<QVariantList> given; // UID and ID, as the statement takes them
    for (auto item = items.begin(); item != items.end(); ++item) {
        if (item->uid.isEmpty()) {
            item->uid = newWorkItemUid();
            given.append({item->uid, item.key()});
        }
    }
    if (given.isEmpty())
        return;
    dm.inTransaction([&] {
        SqliteStatement update(dm.connection(), QStringLiteral("Update TWork Set UID=? where ID=?"));
        return std::all_of(given.cbegin(), given.cend(), [&](const QVariantList &values) { return update.execute(values); });
    });
}

const char kInsert[] = "Insert into TWork (Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, LastUpTime, UseTimeHint, "
                       "TimeHint, HasHinted, Content, RRule, UID) values (?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?)";
const char kUpdate[] = "Update TWork Set Title=?, WorkType=?, FinStu=?, ZY=?, TimeStart=?, TimeEnd=?, LastUpTime=?, "
                       "UseTimeHint=?, TimeHint=?, HasHinted=0, Content=?, RRule=? where ID=?";

} // namespace

std::optional<int> exportToFile(Database &dm, const QList<qint64> &ids, const QString &path, const QTimeZone &zone)
{
    Recordset rs(dm);
    QHash<qint64, CalendarWorkItem> byId;
    // The search index keeps every body's plain text; without it the bodies are read.
    const bool indexed = searchindex::exists(dm.connection());
    const QString body = indexed ? QStringLiteral("SearchIndex.Body AS BodyText") : QStringLiteral("Content");
    if (rs.open(QStringLiteral("Select TWork.ID, TWork.Title, WorkType, FinStu, ZY, TimeStart, TimeEnd, LastUpTime, "
                               "UseTimeHint, TimeHint, %1, RRule, UID from TWork%2")
                    .arg(body, indexed ? searchindex::workBodyTextJoin() : QString()))) {
        const QSet<qint64> wanted(ids.cbegin(), ids.cend());
        for (int row = 0; row < rs.count(); ++row) {
            rs.moveTo(row);
            const qint64 id = rs.integer(QStringLiteral("ID"));
            if (wanted.contains(id))
                byId.insert(id, itemOfRow(rs));
        }
    }
    giveMissingUids(dm, byId);
    QList<CalendarWorkItem> items;
    for (const qint64 id : ids) {
        if (byId.contains(id))
            items.append(byId.value(id));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(writeWorkItemCalendar(items, zone)) < 0 || !file.commit()) {
        platform::prompter().message(tr("写入日历文件发生错误！\n%1").arg(path), platform::Prompter::Icon::Error);
        return std::nullopt;
    }
    return int(items.size());
}

void exportWorkItems(Database &dm, const QList<qint64> &ids)
{
    if (ids.isEmpty()) {
        platform::prompter().message(tr("列表中没有可导出的事务！"), platform::Prompter::Icon::Warning);
        return;
    }
    platform::Prompter::FileRequest request;
    request.title = tr("导出到日历文件");
    request.fileName = tr("事务.ics");
    request.filter = calendarFilter();
    request.defaultSuffix = QStringLiteral("ics");
    const std::optional<QString> path = platform::prompter().saveFileName(request);
    if (!path || path->isEmpty())
        return;
    if (const std::optional<int> written = exportToFile(dm, ids, *path))
        platform::prompter().message(tr("已将%1个事务导出到日历文件：\n%2").arg(*written).arg(*path));
}

bool importFromFile(Database &dm, const QString &path, const QTimeZone &zone)
{
    platform::Prompter &prompter = platform::prompter();
    const icalendarfile::Text text = icalendarfile::read(path);
    if (text.problem != icalendarfile::Problem::None) {
        prompter.message(fileProblemText(text.problem, path), platform::Prompter::Icon::Warning);
        return false;
    }
    const CalendarReadResult read = readWorkItemCalendar(text.utf8, zone);
    if (!read.parsed) {
        prompter.message(fileProblemText(icalendarfile::Problem::Damaged, path), platform::Prompter::Icon::Warning);
        return false;
    }

    if (read.items.isEmpty() && read.skipped.isEmpty()) {
        prompter.message(tr("日历文件中没有可导入的事务或日程。"), platform::Prompter::Icon::Warning);
        return false;
    }

    QHash<QString, qint64> stored;
    Recordset rs(dm);
    if (!rs.open(QStringLiteral("Select ID, UID from TWork where UID<>''"))) {
        prompter.message(tr("读取数据库发生错误"), platform::Prompter::Icon::Error);
        return false;
    }
    for (int row = 0; row < rs.count(); ++row)
        stored.insert(rs.textAt(row, 1), rs.valueAt(row, 0).toLongLong());
    rs.close();

    int existing = 0;
    for (const CalendarWorkItem &item : read.items)
        existing += stored.contains(item.uid) ? 1 : 0;
    const bool update = existing > 0
        && prompter.confirm(tr("日历文件中有%1个事务在本机已经存在，要用文件中的内容更新它们吗？").arg(existing));

    QStringList types;
    appendWorkTypeTitles(types);
    const QDateTime now = platform::clock().now();
    int added = 0;
    int updated = 0;
    int kept = 0;
    const bool written = dm.inTransaction([&] {
        searchindex::BulkInsertion indexing(dm.connection(), searchindex::Kind::WorkItem);
        SqliteStatement insert(dm.connection(), QString::fromLatin1(kInsert));
        for (const CalendarWorkItem &item : read.items) {
            QVariantList values = workRowValues(item, types, now);
            const QString body = values.at(kWorkBodyValue).toString();
            const auto found = stored.constFind(item.uid);
            if (found == stored.constEnd()) {
                values[kWorkBodyValue] = bodyOfPlainText(body);
                values.append(item.uid);
                if (!insert.execute(values) || !indexing.add(dm.connection().lastInsertId()))
                    return false;
                ++added;
                continue;
            }
            if (!update) {
                ++kept;
                continue;
            }
            // A body whose text has not changed keeps its formatting and pictures.
            Recordset current(dm);
            const bool same = current.open(QStringLiteral("Select Content from TWork where ID=?"), {*found})
                && !current.isEmpty() && storedDocumentText(current.blob(QStringLiteral("Content"))) == body;
            values[kWorkBodyValue] = same ? current.blob(QStringLiteral("Content")) : bodyOfPlainText(body);
            values.append(*found);
            if (!dm.execute(QString::fromLatin1(kUpdate), values))
                return false;
            ++updated;
        }
        return true;
    });
    if (!written) {
        prompter.message(tr("存储数据发生错误！没有导入任何事务。"), platform::Prompter::Icon::Error);
        return false;
    }

    QMap<QString, int> reasons;
    for (const CalendarSkip &skip : read.skipped)
        ++reasons[skipReasonText(skip.reason)];
    if (kept > 0)
        reasons[tr("在本机已经存在，按您的选择没有更新")] += kept;
    const int skipped = int(read.skipped.size()) + kept;
    QString summary = tr("导入完成：新增%1个事务，更新%2个，跳过%3个。").arg(added).arg(updated).arg(skipped);
    if (skipped > 0) {
        summary += tr("\n跳过的原因：");
        for (auto reason = reasons.cbegin(); reason != reasons.cend(); ++reason)
            summary += tr("\n%1：%2个").arg(reason.key()).arg(reason.value());
    }
    prompter.message(summary);
    return added + updated > 0;
}

bool importWorkItems(Database &dm)
{
    platform::Prompter::FileRequest request;
    request.title = tr("从日历文件导入");
    request.filter = calendarFilter();
    const std::optional<QString> path = platform::prompter().openFileName(request);
    if (!path || path->isEmpty())
        return false;
    return importFromFile(dm, *path);
}

} // namespace workcalendar
