#include "interchange/ICalendarFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringList>

namespace icalendarfile {

namespace {

bool looksBinary(const QByteArray &bytes)
{
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') || byte == 0x7f)
            return true;
    }
    return false;
}

QByteArray toUtf8(const QByteArray &bytes, bool *wasGb18030)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8(bytes);
    if (!utf8.hasError()) {
        *wasGb18030 = false;
        return bytes;
    }
    QStringDecoder gb18030("GB18030");
    *wasGb18030 = true;
    return QString(gb18030(bytes)).toUtf8();
}

// Lines as the parser will see them: folded continuations joined, line ends of either kind.
QList<QByteArrayView> unfoldedNames(const QByteArray &text, bool *everyLineHasAColon)
{
    QList<QByteArrayView> names;
    *everyLineHasAColon = true;
    bool pendingHasColon = true;
    bool pending = false;
    qsizetype lineStart = 0;
    auto finish = [&] {
        if (pending && !pendingHasColon)
            *everyLineHasAColon = false;
    };
    while (lineStart < text.size()) {
        qsizetype lineEnd = text.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        QByteArrayView line(text.constData() + lineStart, lineEnd - lineStart);
        if (line.endsWith('\r'))
            line.chop(1);
        lineStart = lineEnd + 1;
        if (line.isEmpty())
            continue;
        if (line.front() == ' ' || line.front() == '\t') {
            // A continuation may carry the colon of a name folded across lines.
            pendingHasColon = pendingHasColon || line.contains(':');
            continue;
        }
        finish();
        pending = true;
        pendingHasColon = line.contains(':');
        names.append(line);
    }
    finish();
    return names;
}

// BEGIN and END lines must nest, the outermost being VCALENDAR, and every one must close:
// a file cut short loses its last END lines.
Problem checkStructure(const QByteArray &text)
{
    bool everyLineHasAColon = true;
    const QList<QByteArrayView> lines = unfoldedNames(text, &everyLineHasAColon);
    if (lines.isEmpty() || !lines.front().trimmed().toByteArray().toUpper().startsWith("BEGIN:VCALENDAR"))
        return Problem::NotCalendar;
    QList<QByteArray> open;
    for (const QByteArrayView line : lines) {
        const QByteArray upper = line.toByteArray().trimmed().toUpper();
        if (upper.startsWith("BEGIN:")) {
            if (open.isEmpty() && upper != "BEGIN:VCALENDAR")
                return Problem::Damaged;
            open.append(upper.mid(6));
        } else if (upper.startsWith("END:")) {
            if (open.isEmpty() || open.takeLast() != upper.mid(4))
                return Problem::Damaged;
        } else if (open.isEmpty()) {
            return Problem::Damaged; // content outside any calendar
        }
    }
    if (!open.isEmpty() || !everyLineHasAColon)
        return Problem::Damaged;
    return Problem::None;
}

} // namespace

Text fromBytes(const QByteArray &bytes)
{
    Text result;
    QByteArray content = bytes;
    if (content.startsWith("\xEF\xBB\xBF")) {
        content.remove(0, 3);
    } else if (content.startsWith("\xFF\xFE") || content.startsWith("\xFE\xFF")) {
        // Some Windows programs save UTF-16 with its byte order mark.
        QStringDecoder utf16(content.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        content = QString(utf16(QByteArrayView(content).sliced(2))).toUtf8();
    }
    if (content.trimmed().isEmpty() || looksBinary(content)) {
        result.problem = Problem::NotCalendar;
        return result;
    }
    result.utf8 = toUtf8(content, &result.readAsGb18030);
    result.problem = checkStructure(result.utf8);
    if (result.problem != Problem::None)
        result.utf8.clear();
    return result;
}

Text read(const QString &path, qint64 maxBytes)
{
    Text result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = Problem::Unreadable;
        return result;
    }
    // The size on disk first, then a read capped one byte beyond it: a device or a file that
    // grows meanwhile is still caught.
    if (file.size() > maxBytes) {
        result.problem = Problem::TooLarge;
        return result;
    }
    const QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes) {
        result.problem = Problem::TooLarge;
        return result;
    }
    if (file.error() != QFileDevice::NoError) {
        result.problem = Problem::Unreadable;
        return result;
    }
    return fromBytes(bytes);
}

} // namespace icalendarfile
