#include "search/SearchQuery.h"

#include "data/Sqlite.h"
#include "util/SearchText.h"

#include <QCoreApplication>

namespace search {
namespace {

using searchtext::Run;

// Newlines and tabs in a body read as spaces in a one-line snippet.
QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c == u'\n' || c == u'\r' || c == u'\t' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u' ';
    }
    return text;
}

// Where each match in the folded text starts and ends, in order, overlapping matches merged.
QList<std::pair<qsizetype, qsizetype>> matchSpans(const QString &folded, const QList<Run> &runs)
{
    QList<std::pair<qsizetype, qsizetype>> spans;
    for (const Run &run : runs) {
        for (qsizetype at = searchtext::findRun(folded, run); at >= 0; at = searchtext::findRun(folded, run, at + 1))
            spans.append({at, at + run.text.size()});
    }
    std::sort(spans.begin(), spans.end());
    QList<std::pair<qsizetype, qsizetype>> merged;
    for (const auto &span : spans) {
        if (!merged.isEmpty() && span.first <= merged.last().second)
            merged.last().second = std::max(merged.last().second, span.second);
        else
            merged.append(span);
    }
    return merged;
}

// Folding keeps every character in its place, so spans found in the folded part mark the
// original part.
QString highlighted(const QString &text, const QString &folded, qsizetype from, qsizetype to, const QList<Run> &runs)
{
    const QString part = text.mid(from, to - from);
    QString html;
    qsizetype done = 0;
    for (const auto &[start, end] : matchSpans(folded.mid(from, to - from), runs)) {
        html += part.mid(done, start - done).toHtmlEscaped();
        html += QStringLiteral("<b>") + part.mid(start, end - start).toHtmlEscaped() + QStringLiteral("</b>");
        done = end;
    }
    return html + part.mid(done).toHtmlEscaped();
}

QString snippetOf(const QString &rawText, const QList<Run> &runs, int width)
{
    const QString text = oneLine(rawText);
    const QString folded = searchtext::fold(text);
    qsizetype first = -1;
    for (const Run &run : runs) {
        const qsizetype at = searchtext::findRun(folded, run);
        if (at >= 0 && (first < 0 || at < first))
            first = at;
    }
    // A little of what comes before the match, so that it reads in context.
    qsizetype from = first < 0 ? 0 : std::max<qsizetype>(0, first - width / 4);
    if (from > 0 && text.at(from).isLowSurrogate())
        --from;
    qsizetype to = std::min<qsizetype>(text.size(), from + width);
    if (to < text.size() && to > 0 && text.at(to - 1).isHighSurrogate())
        ++to;
    return (from > 0 ? QStringLiteral("…") : QString()) + highlighted(text, folded, from, to, runs)
           + (to < text.size() ? QStringLiteral("…") : QString());
}

} // namespace

const QList<Kind> &kinds()
{
    static const QList<Kind> order{Kind::WorkItem, Kind::Client,   Kind::Contact,         Kind::Activity,
                                   Kind::FollowUp, Kind::Goods, Kind::AddressBookEntry};
    return order;
}

QString kindCaption(Kind kind)
{
    switch (kind) {
    case Kind::WorkItem:
        return QCoreApplication::translate("SearchWindow", "工作事项");
    case Kind::Client:
        return QCoreApplication::translate("SearchWindow", "客户");
    case Kind::Contact:
        return QCoreApplication::translate("SearchWindow", "联系人");
    case Kind::Activity:
        return QCoreApplication::translate("SearchWindow", "联系记录");
    case Kind::FollowUp:
        return QCoreApplication::translate("SearchWindow", "跟单");
    case Kind::Goods:
        return QCoreApplication::translate("SearchWindow", "商品");
    case Kind::AddressBookEntry:
        return QCoreApplication::translate("SearchWindow", "通讯录");
    }
    return {};
}

QString snippet(const QString &text, const QString &query, int width)
{
    return snippetOf(text, searchtext::queryRuns(query), width);
}

Found find(SqliteConnection &connection, const QString &query, int perKind)
{
    Found found;
    const QList<Run> runs = searchtext::queryRuns(query);
    const QString expression = searchtext::matchExpression(runs);
    if (expression.isEmpty())
        return found;

    // The document ids alone come from the index's lists without reading any text; only the
    // rows that will be shown are read.
    QList<qint64> shown[searchindex::kKindCount];
    SqliteStatement matches(connection,
                            QStringLiteral("SELECT docid FROM SearchIndex WHERE SearchIndex MATCH ? ORDER BY docid DESC"));
    if (!matches.bind({expression})) {
        found.failed = true;
        return found;
    }
    while (matches.next()) {
        const qint64 docid = matches.value(0).toLongLong();
        const int slot = int(searchindex::kindOf(docid)) - 1;
        if (slot < 0 || slot >= searchindex::kKindCount)
            continue;
        if (found.totals[slot]++ < perKind)
            shown[slot].append(docid);
    }
    if (matches.failed()) {
        found.failed = true;
        return found;
    }
    SqliteStatement row(connection, QStringLiteral("SELECT Title, Body FROM SearchIndex WHERE docid=?"));
    for (const Kind kind : kinds()) {
        for (const qint64 docid : shown[int(kind) - 1]) {
            if (!row.bind({docid}) || !row.next())
                continue;
            const QString title = row.value(0).toString();
            const QString body = row.value(1).toString();
            found.hits.append({kind, searchindex::recordIdOf(docid), title, snippetOf(body, runs, 80),
                               snippetOf(title, runs, 200)});
        }
    }
    return found;
}

} // namespace search
