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
    const auto special = [](QChar c) {
        return c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';') || c == QLatin1Char('\r')
               || c == QLatin1Char('\n');
    };
    if (std::none_of(text.cbegin(), text.cend(), special))
        return text;
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
    addLine("BEGIN:VCARD");
    addLine(m_version == VCardVersion::V4 ? QByteArray("VERSION:4.0") : QByteArray("VERSION:3.0"));
}

void VCardWriter::addProperty(const QByteArray &head, const QString &value)
{
    // Encoded straight into the card's buffer: a card is written with one call and no line
    // of it is allocated on its own.
    const qsizetype start = m_card.size();
    m_card.append(head);
    m_card.append(':');
    const qsizetype at = m_card.size();
    m_card.resize(at + m_encoder.requiredSpace(value.size()));
    char *end = m_encoder.appendToBuffer(m_card.data() + at, value);
    m_card.truncate(end - m_card.constData());
    endLine(start);
}

void VCardWriter::endCard()
{
    addLine("END:VCARD");
    if (m_device.write(m_card) != m_card.size())
        m_ok = false;
    m_card.truncate(0);
}

void VCardWriter::addLine(const QByteArray &line)
{
    const qsizetype start = m_card.size();
    m_card.append(line);
    endLine(start);
}

void VCardWriter::endLine(qsizetype start)
{
    if (m_card.size() - start > kFoldOctets) {
        const QByteArray line = m_card.sliced(start);
        m_card.truncate(start);
        qsizetype from = 0;
        qsizetype room = kFoldOctets;
        while (line.size() - from > room) {
            qsizetype end = from + room;
            while (end > from && isContinuationByte(line.at(end)))
                --end; // never between the bytes of one character
            m_card.append(QByteArrayView(line).sliced(from, end - from));
            m_card.append("\r\n ");
            from = end;
            room = kFoldOctets - 1; // the leading space counts
        }
        m_card.append(QByteArrayView(line).sliced(from));
    }
    m_card.append("\r\n");
}
