#include "document/DocumentStore.h"

#include "document/DocumentBounds.h"

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

// qCompress's form: the inflated size as four big-endian bytes, then a zlib stream. Ours always
// states the true size, so a stream that gives more or less is damaged; inflating stops at the
// stated size instead of growing with the stream. The buffer is only touched as it fills.
std::optional<QByteArray> uncompressBounded(QByteArrayView compressed)
{
    if (compressed.size() < 4 || compressed.size() > std::numeric_limits<uInt>::max())
        return std::nullopt;
    const auto header = reinterpret_cast<const uchar *>(compressed.data());
    const qsizetype expected = qsizetype(header[0]) << 24 | header[1] << 16 | header[2] << 8 | header[3];
    if (expected == 0 || expected > kMaxInflated)
        return std::nullopt;
    QByteArray inflated(expected, Qt::Uninitialized);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = const_cast<Bytef *>(header + 4);
    stream.avail_in = uInt(compressed.size() - 4);
    stream.next_out = reinterpret_cast<Bytef *>(inflated.data());
    stream.avail_out = uInt(expected);
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = result == Z_STREAM_END && stream.total_out == uLong(expected);
    inflateEnd(&stream);
    return whole ? std::optional(inflated) : std::nullopt;
}

struct Payload
{
    QString html;
    QHash<QString, QByteArray> pictures; // name, PNG bytes
};

std::optional<Payload> readPayload(const QByteArray &bytes)
{
    // The HTML's byte count comes first; a text beyond the bound is not read at all.
    if (bytes.size() < 4)
        return std::nullopt;
    const quint32 htmlBytes = qFromBigEndian<quint32>(bytes.constData());
    if (htmlBytes != 0xFFFFFFFF && htmlBytes > kMaxHtmlBytes)
        return std::nullopt;
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_4);
    Payload payload;
    quint32 count = 0;
    in >> payload.html >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString name;
        QByteArray png;
        in >> name >> png;
        payload.pictures.insert(name, png);
    }
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    return payload;
}

// Only the pictures the text shows are decoded, within the budget; a picture that does not
// decode leaves the text.
void addPictures(QTextDocument &document, const QHash<QString, QByteArray> &pictures)
{
    PictureBudget budget;
    QSet<QString> decoded;
    for (const QString &name : usedPictureNames(document)) {
        if (!pictures.contains(name))
            continue;
        const QImage image = budget.decode(pictures.value(name), "png");
        if (image.isNull())
            continue;
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
        decoded.insert(name);
    }
    removePicturesExcept(document, decoded);
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
    out.setVersion(QDataStream::Qt_6_4);
    if (hasAddedBreakOpportunities(document)) {
        const std::unique_ptr<QTextDocument> copy(document.clone());
        removeAddedBreakOpportunities(*copy);
        out << copy->toHtml();
    } else {
        out << document.toHtml();
    }
    const QSet<QString> names = usedPictureNames(document);
    out << quint32(names.size());
    for (const QString &name : names) {
        const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
        QImage image = resource.value<QImage>();
        if (image.isNull())
            image = resource.value<QPixmap>().toImage();
        out << name << png(image);
    }
    QByteArray stored = kMagic;
    QDataStream header(&stored, QIODevice::Append);
    header << kVersion;
    stored += qCompress(payload, 6);
    return stored;
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
    const std::optional<QByteArray> inflated = uncompressBounded(QByteArrayView(stored).sliced(headerSize));
    const std::optional<Payload> payload = inflated ? readPayload(*inflated) : std::nullopt;
    if (!payload)
        return false;

    // The text is built and bounded before anything lays it out: layout is what deep tables
    // and broken pictures take down.
    const bool undoable = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    // Content past the bounds is never built as paragraphs or cells: only its text is kept.
    const BoundedHtml bounded = boundHtml(payload->html);
    document.setHtml(bounded.within);
    appendOverflow(document, bounded.overflow);
    addBreakOpportunities(document);
    const bool modified = document.isModified();
    flattenDeepTables(document);
    addPictures(document, payload->pictures);
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
