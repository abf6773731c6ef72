#include "document/DocumentStore.h"

#include "data/SearchIndex.h"

#include "document/DocumentBounds.h"
#include "util/Compression.h"

#include <QBuffer>
#include <QByteArrayView>
#include <QDataStream>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>
#include <QSet>
#include <QTextDocument>
#include <QUrl>
#include <QtEndian>

#include <zlib.h>

#include <limits>
#include <memory>
#include <optional>

namespace {

const QByteArray kMagic = QByteArrayLiteral("PDOC");
constexpr quint16 kVersion = 1;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_4;
// The HTML of a long report takes a few megabytes; pictures are stored as PNG, no bigger than
// the decoded pictures the budget allows, and a little room is left for PNG's own overhead.
constexpr qsizetype kMaxHtmlBytes = 32 * 1024 * 1024;
constexpr qsizetype kMaxInflated = kMaxHtmlBytes + kMaxPictureBytes + 32 * 1024 * 1024;

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray storedPayload(const QByteArray &payload, const QString &plainText)
{
    QByteArray stored = kMagic;
    QDataStream header(&stored, QIODevice::Append);
    header << kVersion;
    stored += compression::compressed(payload);
    searchindex::rememberBodyText(stored, plainText);
    return stored;
}

// A body of HTML without pictures.
QByteArray storedPlainDocument(const QString &html, const QString &plainText)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << html << quint32(0);
    return storedPayload(payload, plainText);
}

// qCompress's form: the inflated size as four big-endian bytes, then a zlib stream. Ours always
// states the true size, so a stream that gives more or less is damaged. The stream is read in
// order, as the payload is laid out, so a picture the text does not show is passed over in
// small pieces instead of being inflated whole; only what is kept counts against the bound.
class PayloadReader
{
public:
    explicit PayloadReader(QByteArrayView compressed)
    {
        if (compressed.size() < 4 || compressed.size() > std::numeric_limits<uInt>::max())
            return;
        const auto header = reinterpret_cast<const uchar *>(compressed.data());
        m_left = qsizetype(header[0]) << 24 | header[1] << 16 | header[2] << 8 | header[3];
        if (m_left == 0 || inflateInit(&m_stream) != Z_OK)
            return;
        m_open = true;
        m_stream.next_in = const_cast<Bytef *>(header + 4);
        m_stream.avail_in = uInt(compressed.size() - 4);
        m_ok = true;
    }
    ~PayloadReader()
    {
        if (m_open)
            inflateEnd(&m_stream);
    }
    PayloadReader(const PayloadReader &) = delete;
    PayloadReader &operator=(const PayloadReader &) = delete;

    bool ok() const { return m_ok; }
    // True when the stream ends exactly where its stated size does.
    bool atEnd()
    {
        if (!m_ok || m_left != 0)
            return false;
        uchar probe;
        return inflateInto(&probe, 1) == Z_STREAM_END && m_stream.avail_out == 1;
    }

    std::optional<quint32> number()
    {
        uchar bytes[4];
        if (!read(bytes, 4))
            return std::nullopt;
        return qFromBigEndian<quint32>(bytes);
    }
    // A QDataStream byte array or string body: its byte count, then its bytes. Nothing beyond
    // `most` bytes is read.
    std::optional<QByteArray> bytes(qsizetype most)
    {
        const std::optional<quint32> size = number();
        if (!size)
            return std::nullopt;
        if (*size == 0xFFFFFFFF)
            return QByteArray();
        if (qsizetype(*size) > std::min(most, m_left) || m_kept + qsizetype(*size) > kMaxInflated) {
            m_ok = false;
            return std::nullopt;
        }
        m_kept += qsizetype(*size);
        QByteArray data(qsizetype(*size), Qt::Uninitialized);
        if (!read(reinterpret_cast<uchar *>(data.data()), data.size()))
            return std::nullopt;
        return data;
    }
    std::optional<QString> string(qsizetype most)
    {
        const std::optional<QByteArray> data = bytes(most);
        if (!data || data->size() % 2 != 0)
            return std::nullopt;
        QString text(data->size() / 2, Qt::Uninitialized);
        qFromBigEndian<char16_t>(data->constData(), text.size(), text.data());
        return text;
    }
    bool skipBytes()
    {
        const std::optional<quint32> size = number();
        if (!size)
            return false;
        if (*size == 0xFFFFFFFF)
            return true;
        if (qsizetype(*size) > m_left)
            return m_ok = false;
        uchar scratch[64 * 1024];
        for (qsizetype left = *size; left > 0;) {
            const qsizetype piece = std::min<qsizetype>(left, sizeof scratch);
            if (!read(scratch, piece))
                return false;
            left -= piece;
        }
        return true;
    }

private:
    int inflateInto(uchar *out, qsizetype size)
    {
        m_stream.next_out = out;
        m_stream.avail_out = uInt(size);
        return inflate(&m_stream, Z_SYNC_FLUSH);
    }
    bool read(uchar *out, qsizetype size)
    {
        if (!m_ok || size > m_left)
            return m_ok = false;
        while (size > 0 && m_ok) {
            const int result = inflateInto(out, size);
            const qsizetype got = size - m_stream.avail_out;
            out += got;
            size -= got;
            m_left -= got;
            if (size > 0 && (result != Z_OK || got == 0))
                m_ok = false;
        }
        return m_ok;
    }

    z_stream m_stream{};
    qsizetype m_left = 0;
    qsizetype m_kept = 0; // what is read into memory; what is passed over is not held
    bool m_open = false;
    bool m_ok = false;
};

// Only the pictures the text shows are decoded, within the budget; a picture that does not
// decode leaves the text. The rest of the payload is read here, so false when it is damaged.
bool addPictures(QTextDocument &document, PayloadReader &payload)
{
    const std::optional<quint32> count = payload.number();
    if (!count)
        return false;
    const QSet<QString> used = usedPictureNames(document);
    QHash<QString, QByteArray> pictures; // name, PNG bytes
    for (quint32 i = 0; i < *count; ++i) {
        const std::optional<QString> name = payload.string(kMaxHtmlBytes);
        if (!name)
            return false;
        if (!used.contains(*name) || pictures.contains(*name)) {
            if (!payload.skipBytes())
                return false;
            continue;
        }
        const std::optional<QByteArray> png = payload.bytes(kMaxInflated);
        if (!png)
            return false;
        pictures.insert(*name, *png);
    }
    if (!payload.atEnd())
        return false;
    PictureBudget budget;
    QSet<QString> decoded;
    for (const QString &name : used) {
        if (!pictures.contains(name))
            continue;
        const QImage image = budget.decode(pictures.value(name), "png");
        if (image.isNull())
            continue;
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
        decoded.insert(name);
    }
    removePicturesExcept(document, decoded);
    return true;
}

// A copy without the break opportunities added only for layout, which are never stored; null
// when the document has none, and is then stored as it is.
std::unique_ptr<QTextDocument> withoutAddedBreakOpportunities(const QTextDocument &document)
{
    if (!hasAddedBreakOpportunities(document))
        return nullptr;
    std::unique_ptr<QTextDocument> copy(document.clone());
    removeAddedBreakOpportunities(*copy);
    return copy;
}

} // namespace

QFont defaultDocumentFont()
{
    const QStringList installed = QFontDatabase::families();
    QString family = QStringLiteral("宋体");
    for (const QString &candidate : {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                                     QStringLiteral("Noto Sans CJK SC")}) {
        if (installed.contains(candidate)) {
            family = candidate;
            break;
        }
    }
    QFont font(family);
    font.setPointSize(12);
    return font;
}

QByteArray saveDocument(const QTextDocument &document)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    const std::unique_ptr<QTextDocument> cleaned = withoutAddedBreakOpportunities(document);
    const QTextDocument &asStored = cleaned ? *cleaned : document;
    out << asStored.toHtml();
    const QSet<QString> names = usedPictureNames(document);
    out << quint32(names.size());
    for (const QString &name : names) {
        const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
        QImage image = resource.value<QImage>();
        if (image.isNull())
            image = resource.value<QPixmap>().toImage();
        out << name << png(image);
    }
    return storedPayload(payload, asStored.toPlainText());
}

bool loadDocument(const QByteArray &stored, QTextDocument &document)
{
    document.clear();
    const qsizetype headerSize = kMagic.size() + qsizetype(sizeof(kVersion));
    if (stored.size() <= headerSize || !stored.startsWith(kMagic))
        return false;
    QDataStream header(stored.mid(kMagic.size(), sizeof(kVersion)));
    quint16 version = 0;
    header >> version;
    if (version != kVersion)
        return false;
    PayloadReader payload(QByteArrayView(stored).sliced(headerSize));
    // The HTML's byte count comes first; a text beyond the bound is not read at all.
    const std::optional<QString> html = payload.string(kMaxHtmlBytes);
    if (!html)
        return false;

    // The text is built and bounded before anything lays it out: layout is what deep tables
    // and broken pictures take down.
    const bool undoable = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    // Content past the bounds is never built as paragraphs or cells: only its text is kept.
    const BoundedHtml bounded = boundHtml(*html);
    document.setHtml(bounded.within);
    const bool modified = document.isModified();
    appendOverflow(document, bounded.overflow);
    addBreakOpportunities(document);
    flattenDeepTables(document);
    if (!addPictures(document, payload)) {
        document.clear();
        document.setUndoRedoEnabled(undoable);
        return false;
    }
    document.setModified(modified);
    document.setUndoRedoEnabled(undoable);
    return true;
}

bool saveDocumentFile(const QTextDocument &document, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(saveDocument(document));
    return file.commit();
}

bool loadDocumentFile(const QString &path, QTextDocument &document)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        document.clear();
        return false;
    }
    return loadDocument(file.readAll(), document);
}

QString storedDocumentText(const QTextDocument &document)
{
    const std::unique_ptr<QTextDocument> cleaned = withoutAddedBreakOpportunities(document);
    return (cleaned ? *cleaned : document).toPlainText();
}

QString storedDocumentText(const QByteArray &stored)
{
    if (stored.size() <= kNoBodyLimit)
        return {};
    QTextDocument document;
    loadDocument(stored, document);
    return storedDocumentText(document);
}

namespace {
// Any program that stores bodies links this file, and its index must read their text.
const bool bodyTextReaderSet = (searchindex::setBodyTextReader(
                                    [](const QByteArray &stored) { return storedDocumentText(stored); }),
                                true);

// What toHtml() writes for a document of plain text in the default font, cut where the
// paragraphs go. It is taken from Qt's own output once, so it stays what Qt writes, and is
// used only if putting the pieces together gives that output back.
struct PlainTextHtml {
    QString head;
    QString paragraphStart;
    QString emptyParagraph;
    QString tail;
    bool usable = false;

    QString html(const QString &plain) const
    {
        QString result = head;
        result.reserve(head.size() + tail.size() + plain.size() * 2);
        qsizetype start = 0;
        while (true) {
            const qsizetype end = plain.indexOf(QLatin1Char('\n'), start);
            const QStringView line = QStringView(plain).sliced(start, (end < 0 ? plain.size() : end) - start);
            if (line.isEmpty())
                result += emptyParagraph;
            else
                result += paragraphStart + line.toString().toHtmlEscaped() + QStringLiteral("</p>");
            if (end < 0)
                break;
            result += QLatin1Char('\n');
            start = end + 1;
        }
        return result + tail;
    }
};

std::unique_ptr<QTextDocument> plainDocument(const QString &plain)
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(defaultDocumentFont());
    document->setPlainText(plain);
    return document;
}

QString plainDocumentHtml(const QString &plain)
{
    return plainDocument(plain)->toHtml();
}

PlainTextHtml harvestPlainTextHtml()
{
    const QString sample = plainDocumentHtml(QStringLiteral("A\n\nB"));
    PlainTextHtml pieces;
    const qsizetype first = sample.indexOf(QLatin1String("<p "));
    const qsizetype firstEnd = sample.indexOf(QLatin1Char('>'), first) + 1;
    const qsizetype empty = sample.indexOf(QLatin1String("<p "), firstEnd);
    const qsizetype emptyEnd = sample.indexOf(QLatin1String("</p>"), empty) + 4;
    const qsizetype last = sample.indexOf(QLatin1String("</p>"), emptyEnd) + 4;
    if (first < 0 || firstEnd <= 0 || empty < 0 || emptyEnd < 4 || last < 4)
        return pieces;
    pieces.head = sample.left(first);
    pieces.paragraphStart = sample.mid(first, firstEnd - first);
    pieces.emptyParagraph = sample.mid(empty, emptyEnd - empty);
    pieces.tail = sample.mid(last);
    pieces.usable = pieces.html(QStringLiteral("A\n\nB")) == sample && pieces.html(QString()) == plainDocumentHtml(QString());
    return pieces;
}

// Text Qt's plain-text reading changes or cuts in ways of its own: other line and paragraph
// marks, frame and object marks, control characters, a no-break space that toPlainText()
// gives back as a space, and characters beyond the basic plane.
bool needsTextDocument(const QString &plain)
{
    for (const QChar c : plain) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\n' && u != u'\t') || u == 0x7f || u == QChar::Nbsp || u == QChar::LineSeparator
            || u == QChar::ParagraphSeparator || u == 0xfdd0 || u == 0xfdd1 || u == QChar::ObjectReplacementCharacter
            || c.isSurrogate())
            return true;
    }
    return false;
}

} // namespace

// Imports and the sync store thousands of plain bodies; building a rich-text document for each
// only to write it out again cost them most of their time.
QByteArray bodyOfPlainText(const QString &plain)
{
    static const PlainTextHtml pieces = harvestPlainTextHtml();
    if (!pieces.usable || needsTextDocument(plain))
        return saveDocument(*plainDocument(plain));
    return storedPlainDocument(pieces.html(plain), plain);
}
