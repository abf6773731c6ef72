#pragma once

#include <QByteArray>
#include <QString>
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
    void writeLine(const QByteArray &line);

    QIODevice &m_device;
    VCardVersion m_version;
    bool m_ok = true;
};
