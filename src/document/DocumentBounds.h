#pragma once

#include <QImage>
#include <QSet>
#include <QString>
#include <QTextFormat>

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

// Layout takes some 80 µs a table cell and 15 µs a paragraph, so a document at these bounds
// still loads and lays out within a second. A 200-page report with a 2 000-row table of five
// columns stays within them.
inline constexpr int kMaxDocumentCells = 10'000;
// Paragraphs of the whole document, those in table cells included.
inline constexpr int kMaxDocumentParagraphs = 40'000;
// Characters of the whole document: a 200-page report holds a few hundred thousand. Layout
// takes about 0.4 µs a character even where every line has its break.
inline constexpr qsizetype kMaxDocumentCharacters = 1'000'000;
// The content past the bounds is kept as the text of one paragraph, up to this many
// characters; what is past those is left out, with a note saying so.
inline constexpr qsizetype kMaxOverflowCharacters = 1'000'000;

// Counts the cells and paragraphs of a document while it is read, before anything is built.
class ContentBudget
{
public:
    // False when the next cell (with its first paragraph) or paragraph would pass a bound;
    // once false, stays false.
    bool takeCell();
    bool takeParagraph();
    bool exhausted() const { return m_exhausted; }

private:
    int m_cells = 0;
    int m_paragraphs = 0;
    bool m_exhausted = false;
};

// HTML split where its content reaches the bounds: the part within, as it stands, and the
// plain text of the rest, words and cells apart by a space.
struct BoundedHtml
{
    QString within;
    QString overflow;
};
BoundedHtml boundHtml(const QString &html);
// The text cut to kMaxOverflowCharacters, with a note at its end when it was longer.
QString cutOverflow(QString text);
// Adds the text, cut, at the end of the document as one paragraph; nothing for an empty text.
void appendOverflow(QTextDocument &document, const QString &text);

// Qt lays out a paragraph in time growing with the square of its longest run without a line
// break opportunity. Runs longer than this get a zero-width space every so many characters,
// marked so that saving, copying and exporting leave it out again.
inline constexpr qsizetype kLongestUnbrokenRun = 2000;
inline constexpr int kAddedBreakProperty = QTextFormat::UserProperty + 0x2B0;
// Adds the break opportunities to the paragraphs from `from` to `to` (-1: the end), as part of
// whatever edit is open. True when any was added.
bool addBreakOpportunities(QTextDocument &document, int from = 0, int to = -1);
// Takes out those addBreakOpportunities added; true when there were any.
bool removeAddedBreakOpportunities(QTextDocument &document);
bool hasAddedBreakOpportunities(const QTextDocument &document);

// How many tables hold the cursor: 0 in the document's own flow, 1 in a cell of a table there.
int tableDepth(const QTextCursor &cursor);
// Tables nested deeper than kMaxTableDepth become paragraphs of the cell holding them: their
// cells' non-empty paragraphs in reading order, with their formatting.
void flattenDeepTables(QTextDocument &document);

// The names of the pictures the document's text shows.
QSet<QString> usedPictureNames(const QTextDocument &document);
// What the pictures the text shows take decoded, counted as the budget counts them: a body
// whose pictures stay within the budget loads whole.
qsizetype pictureBytes(const QTextDocument &document);
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
