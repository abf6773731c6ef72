#include "search/SearchIndexUpkeep.h"

#include "data/Database.h"
#include "data/SearchIndex.h"

#include <QCoreApplication>
#include <QProgressDialog>

bool ensureSearchIndex(Database &database, QWidget *parent)
{
    SqliteConnection &connection = database.connection();
    if (!database.isOpen() || searchindex::isComplete(connection))
        return true;
    QProgressDialog progress(QCoreApplication::translate("SearchWindow", "正在建立全部查找的索引，请稍候……"), QString(), 0, 0,
                             parent);
    progress.setWindowTitle(QCoreApplication::translate("SearchWindow", "全部查找"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    return searchindex::rebuild(connection, [&progress](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
    });
}
