#include "interchange/VCardReader.h"

#include <QIODevice>
#include <QStringDecoder>
#include <QUtf8StringView>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Read in blocks of this size: a line costs no call and no allocation of its own.
constexpr qsizetype kChunkBytes = qsizetype(1) << 16;

bool same(QByteArrayView text, QByteArrayView name)
{
    return text.size() == name.size() && std::memcmp(text.data(), name.data(), size_t(name.size())) == 0;
}

// The group's dot of a property's name; names are short.
qsizetype lastDot(QByteArrayView name)
{
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        if (name[i] == '.')
            return i;
    }
    return -1;
}

bool isContinuationStart(char c)
{
    return c == ' ' || c == '\t';
}

// The names a contact card is made of, kept once: a property's name costs no allocation.
const QByteArray &knownName(QByteArrayView upper)
{
    static const QByteArray names[] = {
        QByteArrayLiteral("FN"), QByteArrayLiteral("N"), QByteArrayLiteral("TEL"), QByteArrayLiteral("EMAIL"),
        QByteArrayLiteral("IMPP"), QByteArrayLiteral("ORG"), QByteArrayLiteral("TITLE"), QByteArrayLiteral("ADR"),
        QByteArrayLiteral("BDAY"), QByteArrayLiteral("NOTE"), QByteArrayLiteral("URL"), QByteArrayLiteral("HOBBY"),
        QByteArrayLiteral("X-HOBBY"), QByteArrayLiteral("GENDER"), QByteArrayLiteral("X-GENDER"), QByteArrayLiteral("X-QQ"),
        QByteArrayLiteral("X-WECHAT"), QByteArrayLiteral("X-WEIXIN"), QByteArrayLiteral("X-MAIN-CONTACT"),
        QByteArrayLiteral("VERSION"), QByteArrayLiteral("BEGIN"), QByteArrayLiteral("END"), QByteArrayLiteral("PHOTO"),
        QByteArrayLiteral("LOGO"), QByteArrayLiteral("SOUND"), QByteArrayLiteral("KEY"), QByteArrayLiteral("UID"),
        QByteArrayLiteral("REV"), QByteArrayLiteral("PRODID"), QByteArrayLiteral("CATEGORIES"),
        // parameters
        QByteArrayLiteral("TYPE"), QByteArrayLiteral("ENCODING"), QByteArrayLiteral("CHARSET"), QByteArrayLiteral("VALUE"),
        QByteArrayLiteral("PREF"), QByteArrayLiteral("LABEL"), QByteArrayLiteral("LANGUAGE"),
        QByteArrayLiteral("X-SERVICE-TYPE")};
    static const QByteArray none;
    // The names by their length: a lookup compares a few of them.
    constexpr qsizetype kLongest = 16;
    static const std::array<QList<const QByteArray *>, kLongest + 1> byLength = [] {
        std::array<QList<const QByteArray *>, kLongest + 1> lists;
        for (const QByteArray &name : names)
            lists[size_t(name.size())].append(&name);
        return lists;
    }();
    if (upper.isEmpty() || upper.size() > kLongest)
        return none;
    for (const QByteArray *name : byLength[size_t(upper.size())]) {
        if (name->at(0) == upper[0] && std::memcmp(name->constData(), upper.data(), size_t(upper.size())) == 0)
            return *name;
    }
    return none;
}

// `text` trimmed and in upper case, shared with knownName() where it is one.
QByteArray upperName(QByteArrayView text)
{
    text = text.trimmed();
    char upper[32];
    if (text.size() <= qsizetype(sizeof upper)) {
        for (qsizetype i = 0; i < text.size(); ++i)
            upper[i] = (text[i] >= 'a' && text[i] <= 'z') ? char(text[i] - 'a' + 'A') : text[i];
        const QByteArray &known = knownName(QByteArrayView(upper, text.size()));
        if (!known.isNull())
            return known;
    }
    return text.toByteArray().toUpper();
}

// The name of the property a line starts, without its group, upper case.
QByteArray propertyName(QByteArrayView line)
{
    qsizetype end = 0;
    while (end < line.size() && line.at(end) != ';' && line.at(end) != ':')
        ++end;
    QByteArrayView name = line.first(end).trimmed();
    const qsizetype dot = lastDot(name);
    return upperName(dot < 0 ? name : name.sliced(dot + 1));
}

// The parameter values phones write, kept once.
QString parameterText(QByteArrayView text)
{
    static const QByteArray bytes[] = {"work,voice", "cell", "home", "work", "voice", "fax", "internet", "pref",
                                       "CELL", "HOME", "WORK", "VOICE", "FAX", "INTERNET", "PREF", "UTF-8",
                                       "QUOTED-PRINTABLE", "BASE64", "b", "uri"};
    static const QStringList texts = [] {
        QStringList list;
        for (const QByteArray &text : bytes)
            list.append(QString::fromLatin1(text));
        return list;
    }();
    if (text.size() <= 16) {
        for (qsizetype i = 0; i < texts.size(); ++i) {
            if (bytes[i].size() == text.size() && bytes[i] == text)
                return texts.at(i);
        }
    }
    return QString::fromUtf8(text);
}

bool isBlank(QByteArrayView line)
{
    return std::all_of(line.cbegin(), line.cend(), [](char c) { return c == ' ' || c == '\t'; });
}

qsizetype valueStart(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == '"')
            quoted = !quoted;
        else if (line.at(i) == ':' && !quoted)
            return i;
    }
    return -1;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray decodeQuotedPrintable(QByteArrayView encoded)
{
    QByteArray bytes;
    bytes.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const char c = encoded.at(i);
        if (c == '=' && i + 2 < encoded.size() && hexDigit(encoded.at(i + 1)) >= 0 && hexDigit(encoded.at(i + 2)) >= 0) {
            bytes += char(hexDigit(encoded.at(i + 1)) * 16 + hexDigit(encoded.at(i + 2)));
            i += 2;
        } else {
            bytes += c; // a stray '=' stays as it was written
        }
    }
    return bytes;
}

// Without a usable CHARSET: UTF-8 as the later versions say, and the Chinese code page that
// older phones wrote without naming it when the bytes are not UTF-8.
QString decodeUnnamed(QByteArrayView bytes)
{
    // Numbers and addresses are mostly ASCII, which needs no check of the sequences.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    // Bytes that are not UTF-8 come out with replacement characters; only then is the check needed.
    QString text = QString::fromUtf8(bytes);
    if (!text.contains(QChar::ReplacementCharacter) || QUtf8StringView(bytes).isValidUtf8())
        return text;
    return QStringDecoder("GB18030").decode(bytes);
}

// Files of Chinese phones name the code page in several ways; GB18030 reads all of them.
QString decodeText(QByteArrayView bytes, QByteArrayView charset)
{
    if (charset.isEmpty())
        return decodeUnnamed(bytes);
    const auto is = [charset](std::initializer_list<const char *> names) {
        return std::any_of(names.begin(), names.end(),
                           [charset](const char *name) { return charset.compare(name, Qt::CaseInsensitive) == 0; });
    };
    if (is({"gb2312", "gbk", "gb18030", "cp936", "x-gbk", "euc-cn"}))
        return QStringDecoder("GB18030").decode(bytes);
    if (is({"big5", "big5-hkscs", "cp950"}))
        return QStringDecoder("Big5").decode(bytes);
    if (!charset.isEmpty() && !is({"utf-8", "utf8"})) {
        QStringDecoder named(charset.toByteArray().toLower().constData());
        if (named.isValid())
            return named.decode(bytes);
    }
    return decodeUnnamed(bytes);
}

QByteArrayView unquoted(QByteArrayView text)
{
    QByteArrayView value = text.trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        value = value.sliced(1, value.size() - 2);
    return value;
}

// Control characters other than tab and the line breaks do not occur in text files.
bool looksBinary(QByteArrayView line)
{
    return std::any_of(line.cbegin(), line.cend(), [](char c) { return (uchar(c) < 0x20 && c != '\t' && c != '\r') || c == 0x7F; });
}

bool isMediaProperty(QByteArrayView name)
{
    return same(name, "PHOTO") || same(name, "LOGO") || same(name, "SOUND")
           || same(name, "KEY");
}

} // namespace

QStringList VCardProperty::parameterValues(const QByteArray &wanted) const
{
    QStringList values;
    for (const auto &[name, value] : parameters) {
        if (name != wanted)
            continue;
        for (const QString &part : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
            values.append(part.trimmed().toLower());
    }
    return values;
}

bool VCardProperty::hasParameterValue(QByteArrayView wanted, QLatin1StringView text) const
{
    for (const auto &[name, value] : parameters) {
        if (name != wanted)
            continue;
        for (const QStringView part : QStringView(value).tokenize(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (part.trimmed().compare(text, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

QString unescapeVCardText(QStringView value)
{
    const qsizetype first = value.indexOf(QLatin1Char('\\'));
    if (first < 0)
        return value.toString();
    // Written through a pointer: no character grows the string on its own.
    QString text(value.size(), Qt::Uninitialized);
    QChar *out = text.data();
    const QChar *in = value.data();
    const QChar *const end = in + value.size();
    out = std::copy(in, in + first, out);
    for (in += first; in < end; ++in) {
        if (*in != QLatin1Char('\\') || in + 1 == end) {
            *out++ = *in;
            continue;
        }
        const QChar escaped = *++in;
        *out++ = escaped == QLatin1Char('n') || escaped == QLatin1Char('N') ? QChar(QLatin1Char('\n')) : escaped;
    }
    text.truncate(out - text.constData());
    return text;
}

QString VCardProperty::text() const
{
    return value.contains(QLatin1Char('\\')) ? unescapeVCardText(value) : value;
}

QStringList VCardProperty::components() const
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == QLatin1Char('\\')) {
            ++i;
        } else if (value.at(i) == QLatin1Char(';')) {
            parts.append(unescapeVCardText(QStringView(value).mid(start, i - start)));
            start = i + 1;
        }
    }
    parts.append(unescapeVCardText(QStringView(value).mid(start)));
    return parts;
}

VCardReader::VCardReader(QIODevice &device)
    : VCardReader(device, Limits())
{
}

VCardReader::VCardReader(QIODevice &device, const Limits &limits)
    : m_device(device)
    , m_limits(limits)
{
    if (!device.isReadable())
        fail(Error::Unreadable);
    // A file known to be too big is refused before a byte of it is read.
    else if (!device.isSequential() && device.size() > limits.fileBytes)
        fail(Error::FileTooLarge);
}

bool VCardReader::fail(Error error)
{
    if (m_error == Error::None) {
        m_error = error;
        m_errorLine = m_line;
    }
    return false;
}

bool VCardReader::refill()
{
    if (m_deviceEnd)
        return false;
    if (m_pos > 0) {
        std::memmove(m_chunk.data(), m_chunk.constData() + m_pos, size_t(m_end - m_pos));
        m_end -= m_pos;
        m_pos = 0;
    }
    // The chunk grows only for a line longer than a block, and no further than a card may hold.
    if (m_chunk.size() - m_end < kChunkBytes)
        m_chunk.resize(m_end + kChunkBytes);
    const qint64 read = m_device.read(m_chunk.data() + m_end, m_chunk.size() - m_end);
    if (read <= 0) {
        m_deviceEnd = true;
        return false;
    }
    m_end += read;
    return true;
}

bool VCardReader::readPhysicalLine(QByteArrayView &line)
{
    if (m_error != Error::None)
        return false;
    // A line longer than a card may be, with its line break, is a card too large.
    const qint64 longest = m_limits.cardBytes + 2;
    const char *newline = nullptr;
    qsizetype searched = 0; // bytes after m_pos known to hold no line break
    for (;;) {
        const char *start = m_chunk.constData() + m_pos;
        newline = static_cast<const char *>(std::memchr(start + searched, '\n', size_t(m_end - m_pos - searched)));
        if (newline)
            break;
        searched = m_end - m_pos;
        if (searched > longest)
            break;
        if (!refill())
            break;
    }
    const char *start = m_chunk.constData() + m_pos;
    const qsizetype length = newline ? newline - start + 1 : m_end - m_pos;
    if (length == 0)
        return false;
    m_pos += length;
    ++m_line;
    m_fileBytes += length;
    if (m_fileBytes > m_limits.fileBytes)
        return fail(Error::FileTooLarge);
    if (length > longest || (!newline && !m_deviceEnd))
        return fail(Error::CardTooLarge);
    line = QByteArrayView(start, length);
    if (line.contains('\0'))
        return fail(Error::Binary);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return true;
}

bool VCardReader::nextIsContinuation()
{
    if (m_pos == m_end && !refill())
        return false;
    return isContinuationStart(m_chunk.at(m_pos));
}

bool VCardReader::readLogicalLine(QByteArrayView &line)
{
    bool joined = false; // whether `line` is already in m_logical
    const auto keep = [&] {
        if (!joined) {
            m_logical.truncate(0);
            m_logical.append(line.data(), line.size());
            line = m_logical;
            joined = true;
        }
    };
    for (;;) {
        // Reading on would overwrite the bytes `line` looks at.
        if (m_pos == m_end && !m_deviceEnd)
            keep();
        if (!nextIsContinuation())
            break;
        keep();
        QByteArrayView following;
        if (!readPhysicalLine(following))
            return false;
        m_logical.append(following.sliced(1));
        line = m_logical;
        if (m_cardBytes + line.size() > m_limits.cardBytes)
            return fail(Error::CardTooLarge);
    }
    if (m_error != Error::None)
        return false;
    m_cardBytes += line.size();
    if (m_cardBytes > m_limits.cardBytes)
        return fail(Error::CardTooLarge);
    return true;
}

bool VCardReader::skipContinuation()
{
    QByteArrayView following;
    while (nextIsContinuation()) {
        if (!readPhysicalLine(following))
            return false;
    }
    return m_error == Error::None;
}

bool VCardReader::next(VCard &card)
{
    // The card's list keeps its room from one card to the next.
    card.version.clear();
    card.properties.clear();
    QByteArrayView line;
    for (;;) {
        if (!readPhysicalLine(line)) {
            if (m_cards == 0)
                fail(Error::NotVCard);
            return false;
        }
        if (!m_started && line.startsWith("\xEF\xBB\xBF"))
            line = line.sliced(3);
        if (line.trimmed().compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0)
            break;
        // Blank lines and leftovers between cards are passed over; before the first card
        // anything else means this is no card file.
        if (!m_started && !line.trimmed().isEmpty()) {
            const QByteArrayView ahead = QByteArrayView(m_chunk).sliced(m_pos, std::min<qsizetype>(m_end - m_pos, 4096));
            const bool binary = looksBinary(line) || ahead.contains('\0')
                                || (ahead.size() < 4096 && m_device.peek(4096 - ahead.size()).contains('\0'));
            return fail(binary ? Error::Binary : Error::NotVCard);
        }
    }
    m_started = true;
    m_cardBytes = 0;
    if (++m_cards > m_limits.cards)
        return fail(Error::TooManyCards);

    int nested = 0;
    for (;;) {
        if (!readPhysicalLine(line))
            return fail(Error::Truncated);
        if (isBlank(line))
            continue;
        const QByteArray nameBytes = propertyName(line);
        const QByteArrayView name = nameBytes;
        if (isMediaProperty(name)) {
            if (!skipContinuation())
                return false;
            continue;
        }
        if (!readLogicalLine(line))
            return false;
        const qsizetype colon = valueStart(line);
        if (colon < 0)
            continue; // not a property: a stray line of a careless writer
        const QByteArrayView rawValue = line.sliced(colon + 1);
        if (same(name, "BEGIN") || same(name, "END")) {
            const bool ofCard = rawValue.trimmed().compare("VCARD", Qt::CaseInsensitive) == 0;
            if (same(name, "BEGIN") && ofCard)
                ++nested; // a card inside the card (AGENT of 2.1): not ours to read
            else if (same(name, "END") && ofCard && nested-- == 0)
                return true;
            continue;
        }
        if (nested > 0)
            continue;

        VCardProperty property;
        const QByteArrayView headView = line.first(colon);
        const char *semicolon = static_cast<const char *>(std::memchr(headView.data(), ';', size_t(headView.size())));
        const qsizetype firstSemicolon = semicolon ? semicolon - headView.data() : -1;
        const QByteArrayView fullName = (firstSemicolon < 0 ? headView : headView.first(firstSemicolon)).trimmed();
        const qsizetype dot = lastDot(fullName);
        if (dot >= 0)
            property.group = fullName.first(dot).toByteArray();
        property.name = nameBytes;
        QByteArrayView encoding;
        QByteArrayView charset;
        // The parameters, split at semicolons outside double quotes.
        if (firstSemicolon >= 0) {
            const QByteArrayView head = headView.sliced(firstSemicolon + 1);
            qsizetype start = 0;
            bool quoted = false;
            for (qsizetype i = 0; i <= head.size(); ++i) {
                if (i < head.size() && head.at(i) == '"')
                    quoted = !quoted;
                if (i < head.size() && (head.at(i) != ';' || quoted))
                    continue;
                const QByteArrayView parameter = head.sliced(start, i - start);
                start = i + 1;
                const qsizetype equals = parameter.indexOf('=');
                QByteArray key;
                QByteArrayView value;
                if (equals < 0) {
                    value = parameter.trimmed();
                    const bool isEncoding = value.compare("quoted-printable", Qt::CaseInsensitive) == 0
                                            || value.compare("base64", Qt::CaseInsensitive) == 0
                                            || value.compare("8bit", Qt::CaseInsensitive) == 0
                                            || value.compare("7bit", Qt::CaseInsensitive) == 0;
                    key = upperName(isEncoding ? "ENCODING" : "TYPE");
                } else {
                    key = upperName(parameter.first(equals));
                    value = unquoted(parameter.sliced(equals + 1));
                }
                if (same(key, "ENCODING"))
                    encoding = value;
                else if (same(key, "CHARSET"))
                    charset = value;
                property.parameters.append({std::move(key), parameterText(value)});
            }
        }
        if (encoding.isEmpty()) {
            property.value = decodeText(rawValue, charset);
        } else if (encoding.compare("quoted-printable", Qt::CaseInsensitive) == 0) {
            // Reading the lines of a soft line break may move the bytes the views look at.
            const QByteArray charsetName = charset.toByteArray();
            m_encoded.truncate(0);
            m_encoded.append(rawValue.data(), rawValue.size());
            // A soft line break: the value goes on in the next line, folded or not.
            while (m_encoded.endsWith('=')) {
                m_encoded.chop(1);
                QByteArrayView more;
                if (!readPhysicalLine(more))
                    return fail(Error::Truncated);
                m_cardBytes += more.size();
                if (m_cardBytes > m_limits.cardBytes)
                    return fail(Error::CardTooLarge);
                m_encoded.append(more.trimmed());
            }
            property.value = decodeText(decodeQuotedPrintable(m_encoded), charsetName);
        } else if (encoding.compare("base64", Qt::CaseInsensitive) == 0 || encoding.compare("b", Qt::CaseInsensitive) == 0) {
            property.value = decodeText(QByteArray::fromBase64(rawValue.trimmed().toByteArray()), charset);
        } else {
            property.value = decodeText(rawValue, charset);
        }
        if (same(name, "VERSION"))
            card.version = property.value.trimmed().toLatin1();
        else
            card.properties.append(std::move(property));
    }
}
