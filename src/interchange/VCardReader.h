#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

class QIODevice;

// One property of a card as it stood in the file, its value decoded to text (quoted-printable
// and the CHARSET undone) but still escaped the vCard way.
struct VCardProperty {
    QByteArray group;  // "item1" of "item1.TEL"; empty for most
    QByteArray name;   // upper case
    // Parameter names upper case; the bare parameters of version 2.1 ("HOME", "QUOTED-PRINTABLE")
    // are filed under TYPE or ENCODING as later versions write them.
    QList<std::pair<QByteArray, QString>> parameters;
    QString value;

    // Every value given to the parameter, split at commas, lower case.
    QStringList parameterValues(const QByteArray &name) const;
    // Whether `value` is among them, ignoring case.
    bool hasParameterValue(QByteArrayView name, QLatin1StringView value) const;
    // The value with the escapes undone.
    QString text() const;
    // The value split at unescaped semicolons, each part with the escapes undone (N, ADR, ORG).
    QStringList components() const;
};

struct VCard {
    QByteArray version;
    QList<VCardProperty> properties;
};

// Undoes \n \, \; \\ of a vCard value.
QString unescapeVCardText(QStringView value);

// Reads the cards of a .vcf file one at a time, as phones and mail programs write them:
// versions 2.1, 3.0 and 4.0, folded lines, quoted-printable values with soft line breaks,
// CHARSET parameters, grouped properties. Pictures and sounds are passed over as they are
// read, so a card costs what its text costs; a card's text and the whole file have caps.
class VCardReader
{
public:
    enum class Error { None, Unreadable, NotVCard, Binary, Truncated, CardTooLarge, FileTooLarge, TooManyCards };

    struct Limits {
        qint64 cardBytes = 1 << 20;
        qint64 fileBytes = qint64(256) << 20;
        int cards = 100000;
    };

    explicit VCardReader(QIODevice &device);
    VCardReader(QIODevice &device, const Limits &limits);

    // The next card; false at the end of the file or at the first error.
    bool next(VCard &card);
    Error error() const { return m_error; }
    // Where the error was met, counted in lines from 1.
    qint64 errorLine() const { return m_errorLine; }

private:
    // Lines are views into the chunk read from the device and stay valid until the next read.
    bool refill();
    bool readPhysicalLine(QByteArrayView &line);
    // Whether the next physical line goes on with the one before (starts with a space or tab).
    bool nextIsContinuation();
    bool readLogicalLine(QByteArrayView &line);
    bool skipContinuation();
    bool fail(Error error);

    QIODevice &m_device;
    Limits m_limits;
    Error m_error = Error::None;
    qint64 m_line = 0;
    qint64 m_errorLine = 0;
    qint64 m_fileBytes = 0;
    qint64 m_cardBytes = 0;
    int m_cards = 0;
    bool m_started = false;
    bool m_deviceEnd = false;
    QByteArray m_chunk;
    qsizetype m_pos = 0; // the first byte of m_chunk not read yet
    qsizetype m_end = 0; // the end of what m_chunk holds
    QByteArray m_logical; // a folded line put together
    QByteArray m_encoded; // a quoted-printable value put together over its soft line breaks
};
