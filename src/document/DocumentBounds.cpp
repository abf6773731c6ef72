#include "document/DocumentBounds.h"

#include <QBuffer>
#include <QHash>
#include <QObject>
#include <QImageReader>
#include <QList>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

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

bool isCellTag(QStringView name)
{
    return name.compare(u"td", Qt::CaseInsensitive) == 0 || name.compare(u"th", Qt::CaseInsensitive) == 0;
}

// Every tag of these starts a paragraph of its own in Qt's HTML reader; a table leaves one
// after it.
bool isParagraphTag(QStringView name)
{
    static const QStringList tags = {QStringLiteral("p"),  QStringLiteral("li"), QStringLiteral("div"), QStringLiteral("pre"), QStringLiteral("hr"), QStringLiteral("blockquote"),
                                     QStringLiteral("dt"), QStringLiteral("dd"), QStringLiteral("h1"),  QStringLiteral("h2"),  QStringLiteral("h3"), QStringLiteral("h4"),
                                     QStringLiteral("h5"), QStringLiteral("h6"), QStringLiteral("table")};
    return std::any_of(tags.cbegin(), tags.cend(),
                       [name](const QString &tag) { return name.compare(tag, Qt::CaseInsensitive) == 0; });
}

QStringView tagName(QStringView html, qsizetype open)
{
    qsizetype end = open + 1;
    while (end < html.size() && html.at(end).isLetterOrNumber())
        ++end;
    return html.sliced(open + 1, end - open - 1);
}

void appendEntity(QString &text, QStringView entity)
{
    static const QHash<QString, QChar> named = {{QStringLiteral("amp"), u'&'},   {QStringLiteral("lt"), u'<'},   {QStringLiteral("gt"), u'>'},
                                                {QStringLiteral("quot"), u'"'},  {QStringLiteral("apos"), u'\''}, {QStringLiteral("nbsp"), QChar(0xA0)}};
    bool ok = false;
    char32_t code = 0;
    if (entity.startsWith(u"#x", Qt::CaseInsensitive))
        code = entity.sliced(2).toUInt(&ok, 16);
    else if (entity.startsWith(u'#'))
        code = entity.sliced(1).toUInt(&ok, 10);
    if (ok && code > 0 && code <= 0x10FFFF && !QChar::isSurrogate(code)) {
        text += QString::fromUcs4(&code, 1);
        return;
    }
    const auto found = named.constFind(entity.toString());
    text += found != named.cend() ? QString(*found) : u'&' + entity.toString() + u';';
}

// The text of HTML, one space where a tag or white space parts it. Stops a little past the
// length cutOverflow keeps, so that a huge rest is never held whole.
QString plainText(QStringView html)
{
    QString text;
    const auto space = [&text] {
        if (!text.isEmpty() && !text.back().isSpace())
            text += u' ';
    };
    qsizetype at = 0;
    while (at < html.size() && text.size() <= kMaxOverflowCharacters) {
        const QChar c = html.at(at);
        if (c == u'<') {
            const QStringView name = tagName(html, at);
            const qsizetype close = html.indexOf(u'>', at);
            at = close < 0 ? html.size() : close + 1;
            if (name.compare(u"style", Qt::CaseInsensitive) == 0 || name.compare(u"head", Qt::CaseInsensitive) == 0) {
                const qsizetype end = html.indexOf(QStringLiteral("</") + name.toString(), at, Qt::CaseInsensitive);
                at = end < 0 ? html.size() : end;
            }
            space();
        } else if (c == u'&') {
            const qsizetype semicolon = html.indexOf(u';', at);
            if (semicolon > at && semicolon - at <= 10) {
                appendEntity(text, html.sliced(at + 1, semicolon - at - 1));
                at = semicolon + 1;
            } else {
                text += c;
                ++at;
            }
        } else if (c.isSpace() && c != QChar(0xA0)) {
            space();
            ++at;
        } else {
            text += c;
            ++at;
        }
    }
    return text.trimmed();
}

} // namespace

bool ContentBudget::takeCell()
{
    if (m_exhausted || m_cells >= kMaxDocumentCells || m_paragraphs >= kMaxDocumentParagraphs)
        m_exhausted = true;
    else
        ++m_cells, ++m_paragraphs;
    return !m_exhausted;
}

bool ContentBudget::takeParagraph()
{
    if (m_exhausted || m_paragraphs >= kMaxDocumentParagraphs)
        m_exhausted = true;
    else
        ++m_paragraphs;
    return !m_exhausted;
}

BoundedHtml boundHtml(const QString &html)
{
    ContentBudget budget;
    // Qt fills a row cut short with empty cells, so a cut among cells goes before their row.
    qsizetype rowStart = -1;
    // The text between tags, counted roughly: an entity counts as its letters.
    qsizetype characters = 0;
    qsizetype textStart = 0;
    const auto cutAt = [&html](qsizetype cut) -> BoundedHtml {
        return {html.left(cut), plainText(QStringView(html).sliced(cut))};
    };
    for (qsizetype at = html.indexOf(u'<'); at >= 0; at = html.indexOf(u'<', at + 1)) {
        characters += std::max<qsizetype>(0, at - textStart);
        if (characters > kMaxDocumentCharacters)
            return cutAt(textStart);
        const QStringView name = tagName(html, at);
        if (name.compare(u"tr", Qt::CaseInsensitive) == 0)
            rowStart = at;
        const bool cell = isCellTag(name);
        const bool within = cell ? budget.takeCell() : !isParagraphTag(name) || budget.takeParagraph();
        if (!within)
            return cutAt(cell && rowStart >= 0 ? rowStart : at);
        const qsizetype close = html.indexOf(u'>', at);
        textStart = close < 0 ? html.size() : close + 1;
    }
    if (characters + std::max<qsizetype>(0, html.size() - textStart) > kMaxDocumentCharacters)
        return cutAt(textStart);
    return {html, {}};
}

QString cutOverflow(QString text)
{
    if (text.size() <= kMaxOverflowCharacters)
        return text;
    text.truncate(kMaxOverflowCharacters);
    if (text.back().isHighSurrogate())
        text.chop(1);
    return text + QObject::tr("……（文档内容过多，其余部分没有载入）");
}

void appendOverflow(QTextDocument &document, const QString &text)
{
    if (text.isEmpty())
        return;
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText(cutOverflow(text));
}

namespace {

constexpr QChar kZeroWidthSpace(0x200B);

// Where a run without a break opportunity reaches kLongestUnbrokenRun characters, in order.
QList<int> missingBreaks(const QString &text)
{
    QList<int> positions;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    qsizetype previous = 0;
    for (qsizetype next = finder.toNextBoundary(); next >= 0; next = finder.toNextBoundary()) {
        for (qsizetype at = previous + kLongestUnbrokenRun; at < next; at += kLongestUnbrokenRun)
            positions.append(int(text.at(at).isLowSurrogate() ? at - 1 : at));
        previous = next;
    }
    return positions;
}

bool isAddedBreak(const QTextFragment &fragment)
{
    return fragment.charFormat().hasProperty(kAddedBreakProperty);
}

} // namespace

bool addBreakOpportunities(QTextDocument &document, int from, int to)
{
    QList<int> positions;
    const QTextBlock last = to < 0 ? document.lastBlock() : document.findBlock(to);
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        if (block.length() > kLongestUnbrokenRun) {
            for (int at : missingBreaks(block.text()))
                positions.append(block.position() + at);
        }
        if (block == last)
            break;
    }
    // One edit, so that a layout already attached redoes the paragraph once, not per space.
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (auto it = positions.crbegin(); it != positions.crend(); ++it) {
        cursor.setPosition(*it);
        QTextCharFormat format = cursor.charFormat();
        format.setProperty(kAddedBreakProperty, true);
        cursor.insertText(QString(kZeroWidthSpace), format);
    }
    cursor.endEditBlock();
    return !positions.isEmpty();
}

bool hasAddedBreakOpportunities(const QTextDocument &document)
{
    // Every paragraph: one the user has since shortened may still hold an added break.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (isAddedBreak(it.fragment()))
                return true;
        }
    }
    return false;
}

bool removeAddedBreakOpportunities(QTextDocument &document)
{
    // Text typed after an added break takes its format, so only the zero-width spaces go.
    QList<int> positions;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!isAddedBreak(fragment))
                continue;
            const QString text = fragment.text();
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (text.at(i) == kZeroWidthSpace)
                    positions.append(fragment.position() + int(i));
            }
        }
    }
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (auto it = positions.crbegin(); it != positions.crend(); ++it) {
        cursor.setPosition(*it);
        cursor.deleteChar();
    }
    cursor.endEditBlock();
    return !positions.isEmpty();
}

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

qsizetype pictureBytes(const QTextDocument &document)
{
    qsizetype bytes = 0;
    for (const QString &name : usedPictureNames(document))
        bytes += document.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>().sizeInBytes();
    return bytes;
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
