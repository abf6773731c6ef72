#include "document/DocumentBounds.h"

#include <QBuffer>
#include <QImageReader>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <utility>

namespace {

struct Run
{
    QString text;
    QTextCharFormat format;
};

struct Paragraph
{
    QTextBlockFormat format;
    QTextCharFormat markFormat;
    QList<Run> runs;
};

// The tables one level beyond the bound, outermost first. The walk keeps its own stack, as a
// hostile body nests thousands of tables.
QList<QTextTable *> tablesBeyondTheBound(const QTextDocument &document)
{
    QList<QTextTable *> found;
    QList<std::pair<QTextFrame *, int>> pending{{document.rootFrame(), 0}};
    while (!pending.isEmpty()) {
        const auto [frame, depth] = pending.takeLast();
        for (QTextFrame *child : frame->childFrames()) {
            auto *table = qobject_cast<QTextTable *>(child);
            const int childDepth = depth + (table ? 1 : 0);
            if (table && childDepth > kMaxTableDepth)
                found.append(table);
            else
                pending.append({child, childDepth});
        }
    }
    return found;
}

// The blocks of a table, nested tables included, come in reading order: row by row, each
// cell's paragraphs in turn.
QList<Paragraph> nonEmptyParagraphs(const QTextTable &table)
{
    QList<Paragraph> paragraphs;
    for (QTextBlock block = table.document()->findBlock(table.firstPosition());
         block.isValid() && block.position() < table.lastPosition(); block = block.next()) {
        if (block.length() <= 1)
            continue;
        Paragraph paragraph{block.blockFormat(), block.charFormat(), {}};
        for (auto it = block.begin(); !it.atEnd(); ++it)
            paragraph.runs.append({it.fragment().text(), it.fragment().charFormat()});
        paragraphs.append(std::move(paragraph));
    }
    return paragraphs;
}

// The paragraphs take the table's place, before the block Qt keeps after every table.
void flattenTable(QTextTable *table)
{
    const QList<Paragraph> paragraphs = nonEmptyParagraphs(*table);
    QTextCursor cursor(table->document());
    cursor.setPosition(table->firstPosition() - 1);
    cursor.setPosition(table->lastPosition() + 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    const QTextBlockFormat following = cursor.blockFormat();
    const QTextCharFormat followingMark = cursor.blockCharFormat();
    for (const Paragraph &paragraph : paragraphs) {
        cursor.setBlockFormat(paragraph.format);
        cursor.setBlockCharFormat(paragraph.markFormat);
        for (const Run &run : paragraph.runs) {
            if (!run.format.isImageFormat()) {
                cursor.insertText(run.text, run.format);
                continue;
            }
            for (qsizetype i = 0; i < run.text.size(); ++i)
                cursor.insertImage(run.format.toImageFormat());
        }
        cursor.insertBlock(following, followingMark);
    }
}

} // namespace

int tableDepth(const QTextCursor &cursor)
{
    int depth = 0;
    for (QTextFrame *frame = cursor.currentFrame(); frame; frame = frame->parentFrame())
        depth += qobject_cast<QTextTable *>(frame) ? 1 : 0;
    return depth;
}

void flattenDeepTables(QTextDocument &document)
{
    QList<QTextTable *> tables = tablesBeyondTheBound(document);
    if (tables.isEmpty())
        return;
    // From the end, so that each table's positions hold until it is flattened.
    std::sort(tables.begin(), tables.end(),
              [](const QTextTable *a, const QTextTable *b) { return a->firstPosition() > b->firstPosition(); });
    QTextCursor edit(&document);
    edit.beginEditBlock();
    for (QTextTable *table : tables)
        flattenTable(table);
    edit.endEditBlock();
}

QSet<QString> usedPictureNames(const QTextDocument &document)
{
    QSet<QString> names;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                names.insert(format.toImageFormat().name());
        }
    }
    return names;
}

void removePicturesExcept(QTextDocument &document, const QSet<QString> &decoded)
{
    QList<std::pair<int, int>> missing; // position, length
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat() && !decoded.contains(format.toImageFormat().name()))
                missing.append({fragment.position(), fragment.length()});
        }
    }
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (auto it = missing.crbegin(); it != missing.crend(); ++it) {
        cursor.setPosition(it->first);
        cursor.setPosition(it->first + it->second, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.endEditBlock();
}

QImage PictureBudget::decode(const QByteArray &bytes, const char *format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (size.isEmpty())
        return {};
    // The header tells the decoded format too (16-bit PNG gives 64 bits a pixel).
    const QImage::Format decodedFormat = reader.imageFormat();
    const int bits = decodedFormat == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(decodedFormat).bitsPerPixel();
    if (double(size.width()) * size.height() * bits / 8 > double(m_left))
        return {};
    const QImage image = reader.read();
    if (image.isNull() || image.sizeInBytes() > m_left)
        return {};
    m_left -= image.sizeInBytes();
    return image;
}
