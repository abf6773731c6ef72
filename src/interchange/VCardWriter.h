#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QStringList>

class QIODevice;

enum class VCardVersion { V3, V4 };

// Escapes , ; \ and line breaks the vCard way.
QString escapeVCardText(const QString &text);

// Writes cards in UTF-8, each line ended by CRLF and folded at 75 octets without splitting
// a UTF-8 character.
class VCardWriter
{
public:
    VCardWriter(QIODevice &device, VCardVersion version);

    VCardVersion version() const { return m_version; }
    void beginCard();
    // `head` is the name with its parameters ("TEL;TYPE=cell"); `value` is written as given,
    // so escaping is the caller's (escapeVCardText, or joined components).
    void addProperty(const QByteArray &head, const QString &value);
    void endCard();
    // False once a write failed (a full disk).
    bool ok() const { return m_ok; }

private:
    void addLine(const QByteArray &line);
    // Ends the line that starts at `start` of the card, folding it where it is too long.
    void endLine(qsizetype start);

    QIODevice &m_device;
    VCardVersion m_version;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
    QByteArray m_card;
    bool m_ok = true;
};
