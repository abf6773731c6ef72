#pragma once

#include <QtGlobal>

class QTextDocument;
class Database;

// The rich-text body of a work item, kept in TWork.Content.
namespace workbody {

// Loads the body of item `id` into the document; an item without a body (10 bytes or less),
// a missing item or a damaged body leave it empty.
void load(Database &dm, qint64 id, QTextDocument &document);

enum class SaveResult { NoRow, Saved, NotStored };
// Stores the whole document as the body of item `id`, changed or not; LastUpTime stays.
SaveResult save(Database &dm, qint64 id, const QTextDocument &document);

} // namespace workbody
