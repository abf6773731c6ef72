#include "interchange/VCardWriter.h"

#include <QIODevice>

namespace {

constexpr qsizetype kFoldOctets = 75;

bool isContinuationByte(char c)
{
    return (uchar(c) & 0xC0) == 0x80;
}

} // namespace

QString escapeVCardText(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')) {
            escaped += QLatin1Char('\\');
            escaped += c;
        } else if (c == QLatin1Char('\r')) {
            escaped += QLatin1String("\\n");
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i; // CRLF is one line break
        } else if (c == QLatin1Char('\n')) {
            escaped += QLatin1String("\\n");
        } else {
            escaped += c;
        }
    }
    return escaped;
}

VCardWriter::VCardWriter(QIODevice &device, VCardVersion version)
    : m_device(device)
    , m_version(version)
{
}

void VCardWriter::beginCard()
{
    writeLine("BEGIN:VCARD");
    writeLine(m_version == VCardVersion::V4 ? QByteArray("VERSION:4.0") : QByteArray("VERSION:3.0"));
}

void VCardWriter::addProperty(const QByteArray &head, const QString &value)
{
    writeLine(head + ':' + value.toUtf8());
}

void VCardWriter::endCard()
{
    writeLine("END:VCARD");
}

void VCardWriter::writeLine(const QByteArray &line)
{
    QByteArray folded;
    folded.reserve(line.size() + line.size() / kFoldOctets * 3 + 2);
    qsizetype start = 0;
    qsizetype room = kFoldOctets;
    while (line.size() - start > room) {
        qsizetype end = start + room;
        while (end > start && isContinuationByte(line.at(end)))
            --end; // never between the bytes of one character
        folded += QByteArrayView(line).sliced(start, end - start);
        folded += "\r\n ";
        start = end;
        room = kFoldOctets - 1; // the leading space counts
    }
    folded += QByteArrayView(line).sliced(start);
    folded += "\r\n";
    if (m_device.write(folded) != folded.size())
        m_ok = false;
}
