#include "interchange/VCardWriter.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype kFoldOctets = 75;
// The buffer goes to the device once it holds this much: few calls, and memory that does
// not grow with the number of cards.
constexpr qsizetype kFlushBytes = qsizetype(1) << 18;

} // namespace

VCardWriter::VCardWriter(QIODevice &device, VCardVersion version)
    : m_device(device)
    , m_version(version)
{
    m_buffer.resize(kFlushBytes + 4096);
}

VCardWriter::~VCardWriter()
{
    flush();
}

void VCardWriter::beginCard()
{
    addText("BEGIN", u"VCARD");
    beginProperty("VERSION");
    appendRaw(m_version == VCardVersion::V4 ? QByteArrayView("4.0") : QByteArrayView("3.0"));
    endProperty();
}

void VCardWriter::endCard()
{
    addText("END", u"VCARD");
    if (m_used >= kFlushBytes)
        flush();
}

void VCardWriter::addText(QByteArrayView head, QStringView text)
{
    beginProperty(head);
    appendText(text);
    endProperty();
}

void VCardWriter::beginProperty(QByteArrayView head)
{
    m_lineOctets = 0;
    appendRaw(head);
    appendRaw(":");
}

char *VCardWriter::room(qsizetype bytes)
{
    if (m_used + bytes > m_buffer.size())
        m_buffer.resize(std::max(m_buffer.size() * 2, m_used + bytes));
    return m_buffer.data() + m_used;
}

void VCardWriter::appendRaw(QByteArrayView ascii)
{
    if (m_lineOctets + ascii.size() <= kFoldOctets) {
        std::memcpy(room(ascii.size()), ascii.data(), size_t(ascii.size()));
        m_used += ascii.size();
        m_lineOctets += ascii.size();
        return;
    }
    for (const char c : ascii) {
        char *out = room(4);
        if (m_lineOctets == kFoldOctets) {
            std::memcpy(out, "\r\n ", 3);
            out += 3;
            m_used += 3;
            m_lineOctets = 1;
        }
        *out = c;
        ++m_used;
        ++m_lineOctets;
    }
}

void VCardWriter::appendText(QStringView text)
{
    // Room for the worst case: three octets a unit, and a fold for every 74 of them.
    char *const start = room(text.size() * 3 + (text.size() * 3 / (kFoldOctets - 1) + 2) * 3);
    char *out = start;
    qsizetype line = m_lineOctets;
    // One character's octets, never split by a fold.
    const auto put = [&out, &line](const char *octets, qsizetype count) {
        if (line + count > kFoldOctets) {
            *out++ = '\r';
            *out++ = '\n';
            *out++ = ' ';
            line = 1;
        }
        for (qsizetype i = 0; i < count; ++i)
            *out++ = octets[i];
        line += count;
    };
    const char16_t *unit = text.utf16();
    const char16_t *const end = unit + text.size();
    for (; unit < end; ++unit) {
        const char16_t c = *unit;
        char octets[4];
        if (c < 0x80) {
            if (c == '\\' || c == ',' || c == ';') {
                put("\\", 1);
                octets[0] = char(c);
                put(octets, 1);
            } else if (c == '\r' || c == '\n') {
                if (c == '\r' && unit + 1 < end && unit[1] == '\n')
                    ++unit; // CRLF is one line break
                put("\\", 1);
                put("n", 1);
            } else {
                octets[0] = char(c);
                put(octets, 1);
            }
        } else if (c < 0x800) {
            octets[0] = char(0xC0 | (c >> 6));
            octets[1] = char(0x80 | (c & 0x3F));
            put(octets, 2);
        } else if (QChar::isHighSurrogate(c) && unit + 1 < end && QChar::isLowSurrogate(unit[1])) {
            const char32_t code = QChar::surrogateToUcs4(c, unit[1]);
            ++unit;
            octets[0] = char(0xF0 | (code >> 18));
            octets[1] = char(0x80 | ((code >> 12) & 0x3F));
            octets[2] = char(0x80 | ((code >> 6) & 0x3F));
            octets[3] = char(0x80 | (code & 0x3F));
            put(octets, 4);
        } else {
            const char16_t code = QChar::isSurrogate(c) ? char16_t(0xFFFD) : c; // half a pair is no character
            octets[0] = char(0xE0 | (code >> 12));
            octets[1] = char(0x80 | ((code >> 6) & 0x3F));
            octets[2] = char(0x80 | (code & 0x3F));
            put(octets, 3);
        }
    }
    m_used += out - start;
    m_lineOctets = line;
}

void VCardWriter::endProperty()
{
    std::memcpy(room(2), "\r\n", 2);
    m_used += 2;
    m_lineOctets = 0;
}

void VCardWriter::flush()
{
    if (m_used == 0)
        return;
    if (m_ok && m_device.write(m_buffer.constData(), m_used) != m_used)
        m_ok = false;
    m_used = 0;
}

bool VCardWriter::finish()
{
    flush();
    return m_ok;
}
