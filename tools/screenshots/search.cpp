// 全部查找 over the sample data: results of a Chinese word and of pinyin initials.
#include "Shots.h"

#include "data/Database.h"
#include "search/SearchWindow.h"

#include <QLineEdit>

namespace {

void shootSearch(Shots &shots)
{
    SearchWindow window(Database::instance());
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    for (const auto &[query, name] : {std::pair{QStringLiteral("公司"), QStringLiteral("search-chinese")},
                                      std::pair{QStringLiteral("cjg"), QStringLiteral("search-initials")},
                                      std::pair{QStringLiteral("没有的东西"), QStringLiteral("search-nothing")}}) {
        window.queryEdit()->setText(query);
        window.searchNow();
        shots.showAndTake(window, name);
    }
}

const ShotSet search("search", shootSearch);

} // namespace
