#pragma once

#include <QByteArray>
#include <QString>

class QFont;
class QTextDocument;

// The stored form of a rich-text body: a short magic and version, then, compressed, the
// document as Qt HTML and every picture it uses (name and PNG bytes). Even an empty document
// stores as more than 10 bytes, so "10 bytes or less" keeps meaning "no body".
QByteArray saveDocument(const QTextDocument &document);
// Replaces the document's content. Damaged data or another format gives an empty document
// and false, never a crash.
bool loadDocument(const QByteArray &stored, QTextDocument &document);

// The plain text of a document as it is stored, without what was added only for layout; of a
// stored body, empty for no body or damaged data.
QString storedDocumentText(const QTextDocument &document);
QString storedDocumentText(const QByteArray &stored);

bool saveDocumentFile(const QTextDocument &document, const QString &path);
bool loadDocumentFile(const QString &path, QTextDocument &document);

// The font of a new body: 宋体 12, or the first Chinese font of this machine without it.
QFont defaultDocumentFont();

// A stored body of plain text in the default font.
QByteArray bodyOfPlainText(const QString &plain);

// A stored body of this size or less is no body.
inline constexpr qsizetype kNoBodyLimit = 10;
