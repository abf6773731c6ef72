#include "interchange/VCardReader.h"

#include <QIODevice>
#include <QStringDecoder>
#include <QUtf8StringView>

namespace {

bool startsWithFold(const QByteArray &line)
{
    return !line.isEmpty() && (line.at(0) == ' ' || line.at(0) == '\t');
}

// The name of the property a line starts, without its group, upper case.
QByteArray propertyName(const QByteArray &line)
{
    qsizetype end = 0;
    while (end < line.size() && line.at(end) != ';' && line.at(end) != ':')
        ++end;
    QByteArray name = line.left(end).trimmed().toUpper();
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.mid(dot + 1);
}

// Splits at `separator` outside double quotes.
QList<QByteArrayView> splitOutsideQuotes(QByteArrayView text, char separator)
{
    QList<QByteArrayView> parts;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '"') {
            quoted = !quoted;
        } else if (c == separator && !quoted) {
            parts.append(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    parts.append(text.sliced(start));
    return parts;
}

bool isBlank(const QByteArray &line)
{
    return std::all_of(line.cbegin(), line.cend(), [](char c) { return c == ' ' || c == '\t'; });
}

qsizetype valueStart(const QByteArray &line)
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

QByteArray decodeQuotedPrintable(const QByteArray &encoded)
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

// Files of Chinese phones name the code page in several ways; GB18030 reads all of them.
QString decodeText(const QByteArray &bytes, const QString &charset)
{
    const QString name = charset.toLower();
    if (name == QLatin1String("gb2312") || name == QLatin1String("gbk") || name == QLatin1String("gb18030")
        || name == QLatin1String("cp936") || name == QLatin1String("x-gbk") || name == QLatin1String("euc-cn"))
        return QStringDecoder("GB18030").decode(bytes);
    if (name == QLatin1String("big5") || name == QLatin1String("big5-hkscs") || name == QLatin1String("cp950"))
        return QStringDecoder("Big5").decode(bytes);
    if (!name.isEmpty() && name != QLatin1String("utf-8") && name != QLatin1String("utf8")) {
        QStringDecoder named(name.toLatin1().constData());
        if (named.isValid())
            return named.decode(bytes);
    }
    // Without a usable CHARSET: UTF-8 as the later versions say, and the Chinese code page
    // that older phones wrote without naming it when the bytes are not UTF-8.
    if (QUtf8StringView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    return QStringDecoder("GB18030").decode(bytes);
}

QString unquoted(QByteArrayView text)
{
    QByteArrayView value = text.trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        value = value.sliced(1, value.size() - 2);
    return QString::fromUtf8(value);
}

// Control characters other than tab and the line breaks do not occur in text files.
bool looksBinary(const QByteArray &line)
{
    return std::any_of(line.cbegin(), line.cend(), [](char c) { return (uchar(c) < 0x20 && c != '\t' && c != '\r') || c == 0x7F; });
}

bool isMediaProperty(const QByteArray &name)
{
    return name == "PHOTO" || name == "LOGO" || name == "SOUND" || name == "KEY";
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

QString unescapeVCardText(QStringView value)
{
    if (!value.contains(QLatin1Char('\\')))
        return value.toString();
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            text += c;
            continue;
        }
        const QChar escaped = value.at(++i);
        text += escaped == QLatin1Char('n') || escaped == QLatin1Char('N') ? QChar(QLatin1Char('\n')) : escaped;
    }
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

bool VCardReader::readPhysicalLine(QByteArray &line)
{
    if (m_error != Error::None)
        return false;
    if (m_havePeeked) {
        m_havePeeked = false;
        if (m_peekedEnd)
            return false;
        line = std::move(m_peeked);
        return true;
    }
    // Room for one more byte than a card may hold and the line break: a longer line is a card
    // too large. The buffer is kept, since QIODevice would allocate that room for every line.
    if (m_buffer.isEmpty())
        m_buffer.resize(m_limits.cardBytes + 3);
    const qint64 length = m_device.readLine(m_buffer.data(), m_buffer.size());
    if (length <= 0)
        return false;
    line = QByteArray(m_buffer.constData(), length);
    ++m_line;
    m_fileBytes += line.size();
    if (m_fileBytes > m_limits.fileBytes)
        return fail(Error::FileTooLarge);
    if (!line.endsWith('\n') && !m_device.atEnd())
        return fail(Error::CardTooLarge);
    if (line.contains('\0'))
        return fail(Error::Binary);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return true;
}

bool VCardReader::peekPhysicalLine(QByteArray *&line)
{
    if (!m_havePeeked) {
        m_peekedEnd = !readPhysicalLine(m_peeked);
        if (m_error != Error::None)
            return false;
        m_havePeeked = true;
    }
    line = m_peekedEnd ? nullptr : &m_peeked;
    return line != nullptr;
}

bool VCardReader::readLogicalLine(QByteArray &line)
{
    QByteArray *following = nullptr;
    while (peekPhysicalLine(following) && startsWithFold(*following)) {
        line += QByteArrayView(*following).sliced(1);
        m_havePeeked = false;
        if (m_cardBytes + line.size() > m_limits.cardBytes)
            return fail(Error::CardTooLarge);
    }
    m_cardBytes += line.size();
    if (m_cardBytes > m_limits.cardBytes)
        return fail(Error::CardTooLarge);
    return m_error == Error::None;
}

bool VCardReader::skipContinuation()
{
    QByteArray *following = nullptr;
    while (peekPhysicalLine(following) && startsWithFold(*following))
        m_havePeeked = false;
    return m_error == Error::None;
}

bool VCardReader::next(VCard &card)
{
    card = VCard();
    QByteArray line;
    for (;;) {
        if (!readPhysicalLine(line)) {
            if (m_cards == 0)
                fail(Error::NotVCard);
            return false;
        }
        if (!m_started && line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3);
        if (line.trimmed().compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0)
            break;
        // Blank lines and leftovers between cards are passed over; before the first card
        // anything else means this is no card file.
        if (!m_started && !line.trimmed().isEmpty())
            return fail(looksBinary(line) || m_device.peek(4096).contains('\0') ? Error::Binary : Error::NotVCard);
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
        const QByteArray name = propertyName(line);
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
        const QByteArrayView valueView = QByteArrayView(line).sliced(colon + 1);
        if (name == "BEGIN" || name == "END") {
            const bool ofCard = valueView.trimmed().compare("VCARD", Qt::CaseInsensitive) == 0;
            if (name == "BEGIN" && ofCard)
                ++nested; // a card inside the card (AGENT of 2.1): not ours to read
            else if (name == "END" && ofCard && nested-- == 0)
                return true;
            continue;
        }
        if (nested > 0)
            continue;

        VCardProperty property;
        const QByteArrayView headView = QByteArrayView(line).first(colon);
        const qsizetype firstSemicolon = headView.indexOf(';');
        const QByteArrayView fullName = (firstSemicolon < 0 ? headView : headView.first(firstSemicolon)).trimmed();
        const qsizetype dot = fullName.lastIndexOf('.');
        if (dot >= 0)
            property.group = fullName.first(dot).toByteArray();
        property.name = name;
        QString encoding;
        QString charset;
        const QList<QByteArrayView> head =
            firstSemicolon < 0 ? QList<QByteArrayView>() : splitOutsideQuotes(headView.sliced(firstSemicolon + 1), ';');
        for (const QByteArrayView parameter : head) {
            const qsizetype equals = parameter.indexOf('=');
            QByteArray key;
            QString value;
            if (equals < 0) {
                value = QString::fromUtf8(parameter.trimmed());
                const QString lower = value.toLower();
                key = lower == QLatin1String("quoted-printable") || lower == QLatin1String("base64")
                              || lower == QLatin1String("8bit") || lower == QLatin1String("7bit")
                          ? QByteArray("ENCODING")
                          : QByteArray("TYPE");
            } else {
                key = parameter.first(equals).trimmed().toByteArray().toUpper();
                value = unquoted(parameter.sliced(equals + 1));
            }
            if (key == "ENCODING")
                encoding = value.toLower();
            else if (key == "CHARSET")
                charset = value;
            property.parameters.append({key, value});
        }
        // The line's own bytes become the value: most properties need no copy of it.
        QByteArray rawValue = std::move(line);
        rawValue.remove(0, colon + 1);
        QByteArray bytes;
        if (encoding == QLatin1String("quoted-printable")) {
            // A soft line break: the value goes on in the next line, folded or not.
            while (rawValue.endsWith('=')) {
                rawValue.chop(1);
                QByteArray more;
                if (!readPhysicalLine(more))
                    return fail(Error::Truncated);
                m_cardBytes += more.size();
                if (m_cardBytes > m_limits.cardBytes)
                    return fail(Error::CardTooLarge);
                rawValue += more.trimmed();
            }
            bytes = decodeQuotedPrintable(rawValue);
        } else if (encoding == QLatin1String("base64") || encoding == QLatin1String("b")) {
            bytes = QByteArray::fromBase64(rawValue.trimmed());
        } else {
            bytes = std::move(rawValue);
        }
        property.value = decodeText(bytes, charset);
        if (name == "VERSION")
            card.version = property.value.trimmed().toLatin1();
        else
            card.properties.append(std::move(property));
    }
}
