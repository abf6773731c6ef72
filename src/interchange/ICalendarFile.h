#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a calendar file, checked before anything is parsed: a damaged file must be
// refused as a whole rather than half imported.
namespace icalendarfile {

// Files beyond this are refused unread: no calendar a person keeps comes near it, and a
// parser holds several copies of what it reads.
inline constexpr qint64 kMaxBytes = 64LL * 1024 * 1024;

enum class Problem {
    None,
    Unreadable,   // cannot be opened or read
    TooLarge,     // beyond kMaxBytes
    NotCalendar,  // binary, empty, or text that is not iCalendar
    Damaged,      // iCalendar that is cut short or whose BEGIN and END lines do not pair up
};

struct Text {
    QByteArray utf8;          // the file as UTF-8, ready for the parser
    Problem problem = Problem::None;
    bool readAsGb18030 = false; // the file was not UTF-8
};

// UTF-8 as it stands, UTF-16 by its byte order mark; anything else that is not valid UTF-8
// is read as GB18030, as older Chinese programs write. Then the structure is checked.
Text fromBytes(const QByteArray &bytes);
Text read(const QString &path, qint64 maxBytes = kMaxBytes);

} // namespace icalendarfile
