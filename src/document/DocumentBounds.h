#pragma once

#include <QImage>
#include <QSet>
#include <QString>

class QByteArray;
class QTextCursor;
class QTextDocument;

// Bodies come from the user's database and RTF from anywhere: these bounds keep a small input
// from taking gigabytes, minutes or the stack. Each lies far above what office documents need.

// Qt's layout time doubles with each table inside a table cell; the editor's 10 × 6 table
// nested four deep still lays out in a few dozen milliseconds.
inline constexpr int kMaxTableDepth = 4;
// The decoded pictures of one document together: a few photographs or dozens of screenshots.
inline constexpr qsizetype kMaxPictureBytes = 128 * 1024 * 1024;

// How many tables hold the cursor: 0 in the document's own flow, 1 in a cell of a table there.
int tableDepth(const QTextCursor &cursor);
// Tables nested deeper than kMaxTableDepth become paragraphs of the cell holding them: their
// cells' non-empty paragraphs in reading order, with their formatting.
void flattenDeepTables(QTextDocument &document);

// The names of the pictures the document's text shows.
QSet<QString> usedPictureNames(const QTextDocument &document);
// Removes every picture not named in `decoded`, so that layout neither meets a picture it
// cannot draw nor goes looking for it in files or data URLs.
void removePicturesExcept(QTextDocument &document, const QSet<QString> &decoded);

// Decodes pictures while their decoded sizes together stay within kMaxPictureBytes. The size
// is read from the picture's header, so a picture too big for what is left is never decoded.
class PictureBudget
{
public:
    explicit PictureBudget(qsizetype bytes = kMaxPictureBytes) : m_left(bytes) {}
    // A null image for bytes that are not a picture of `format` ("png", "jpeg") and for a
    // picture beyond the budget.
    QImage decode(const QByteArray &bytes, const char *format);

private:
    qsizetype m_left;
};
