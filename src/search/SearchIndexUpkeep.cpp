#include "search/SearchIndexUpkeep.h"

#include "data/Database.h"
#include "data/SearchIndex.h"

#include <QCoreApplication>
#include <QProgressDialog>

bool ensureSearchIndex(Database &database, QWidget *parent)
{
    if (!database.isOpen() || searchindex::isComplete(database.connection()))
        return true;
    return rebuildSearchIndex(database, parent);
}

bool rebuildSearchIndex(Database &database, QWidget *parent)
{
    QProgressDialog progress(QCoreApplication::translate("SearchWindow", "正在建立全部查找的索引，请稍候……"), QString(), 0, 0,
                             parent);
    progress.setWindowTitle(QCoreApplication::translate("SearchWindow", "全部查找"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    return searchindex::rebuild(database.connection(), [&progress](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
    });
}
