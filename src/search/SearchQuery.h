#pragma once

#include "data/SearchIndex.h"

#include <QList>
#include <QString>

class SqliteConnection;

// One search over every page's records through the full-text index.
namespace search {

using searchindex::Kind;

struct Hit
{
    Kind kind;
    qint64 recordId;
    QString title;
    QString snippet; // HTML: the text around the first match, every match in bold
    QString titleHtml;
};

struct Found
{
    QList<Hit> hits;                       // grouped by kind in the order of `kinds()`, newest first
    int totals[searchindex::kKindCount]{}; // every match of each kind, shown or not
    bool failed = false;                   // the index could not answer
};

// The kinds in the order their groups are shown.
const QList<Kind> &kinds();
// The group's caption: 工作事项, 客户, 联系人, 联系记录, 跟单, 商品, 通讯录.
QString kindCaption(Kind kind);

// The records matching every run of `query` (see util/SearchText), at most `perKind` of each
// kind with their titles and snippets. An empty query or one of only separators finds nothing.
Found find(SqliteConnection &connection, const QString &query, int perKind = 200);

// `text` around the first match of the query's runs, about `width` characters, HTML-escaped,
// with every match in bold; the start of the text when nothing matches.
QString snippet(const QString &text, const QString &query, int width = 80);

} // namespace search
