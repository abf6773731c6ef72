#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

class QIODevice;

enum class VCardVersion { V3, V4 };

// Writes cards in UTF-8, each line ended by CRLF and folded at 75 octets without splitting
// a UTF-8 character. Text is escaped, encoded and folded in one pass straight into a buffer
// that goes to the device in large blocks.
class VCardWriter
{
public:
    VCardWriter(QIODevice &device, VCardVersion version);
    // Writes what is still buffered; call finish() to learn whether that worked.
    ~VCardWriter();

    VCardVersion version() const { return m_version; }
    void beginCard();
    void endCard();

    // A property of one text value, escaped the vCard way (, ; \ and line breaks).
    void addText(QByteArrayView head, QStringView text);
    // A property built of pieces: `head` is the name with its parameters ("TEL;TYPE=cell").
    void beginProperty(QByteArrayView head);
    // Text of the value, escaped.
    void appendText(QStringView text);
    // ASCII that goes into the value as it stands: the separators of components, a scheme.
    void appendRaw(QByteArrayView ascii);
    void endProperty();

    // Writes what is buffered; false once a write failed (a full disk).
    bool finish();
    bool ok() const { return m_ok; }

private:
    // Where `bytes` more can be written, at the end of what is buffered.
    char *room(qsizetype bytes);
    void flush();

    QIODevice &m_device;
    VCardVersion m_version;
    QByteArray m_buffer;  // its size is its room; m_used says how much holds cards
    qsizetype m_used = 0;
    qsizetype m_lineOctets = 0; // octets of the current physical line
    bool m_ok = true;
};
