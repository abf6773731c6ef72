#include "work/WorkBody.h"

#include "data/Recordset.h"
#include "data/Database.h"
#include "document/DocumentStore.h"

#include <QTextDocument>

namespace workbody {

void load(Database &dm, qint64 id, QTextDocument &document)
{
    document.clear();
    Recordset rs(dm);
    if (!rs.open(QStringLiteral("Select Content from TWork where ID=?"), {id}) || rs.isEmpty())
        return;
    const QByteArray stored = rs.blob(QStringLiteral("Content"));
    if (stored.size() > kNoBodyLimit)
        loadDocument(stored, document);
}

SaveResult save(Database &dm, qint64 id, const QTextDocument &document)
{
    Recordset rs(dm);
    if (!rs.open(QStringLiteral("Select ID, Content from TWork where ID=?"), {id}) || rs.isEmpty())
        return SaveResult::NoRow;
    rs.edit();
    return rs.set(QStringLiteral("Content"), saveDocument(document)) && rs.post() ? SaveResult::Saved
                                                                                 : SaveResult::NotStored;
}

} // namespace workbody
