#include "document/DocumentStore.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QSaveFile>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>

namespace {

const QByteArray kMagic = QByteArrayLiteral("PDOC");
constexpr quint16 kVersion = 1;
// Bigger decompressed sizes are a damaged or hostile body, not a document of ours.
constexpr qsizetype kMaxDecompressed = 256 * 1024 * 1024;

QStringList imageNames(const QTextDocument &document)
{
    QSet<QString> names;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                names.insert(format.toImageFormat().name());
        }
    }
    // Tables keep their text in blocks of their own, which the loop above walks too.
    return QStringList(names.begin(), names.end());
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
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
    out << document.toHtml();
    const QStringList names = imageNames(document);
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
    // qCompress puts the expected size in front; refuse absurd sizes before allocating.
    const QByteArray compressed = stored.mid(headerSize);
    if (compressed.size() < 4)
        return false;
    const quint32 expected = (quint32(uchar(compressed[0])) << 24) | (quint32(uchar(compressed[1])) << 16)
                             | (quint32(uchar(compressed[2])) << 8) | quint32(uchar(compressed[3]));
    if (expected > kMaxDecompressed)
        return false;
    const QByteArray payload = qUncompress(compressed);
    if (payload.isEmpty())
        return false;

    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_6_4);
    QString html;
    quint32 count = 0;
    in >> html >> count;
    if (in.status() != QDataStream::Ok)
        return false;
    QList<QPair<QString, QImage>> images;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString name;
        QByteArray bytes;
        in >> name >> bytes;
        images.append({name, QImage::fromData(bytes, "PNG")});
    }
    if (in.status() != QDataStream::Ok)
        return false;
    // Pictures first, so the HTML finds them instead of looking for files.
    for (const auto &[name, image] : images)
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    document.setHtml(html);
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
