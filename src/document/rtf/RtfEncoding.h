#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>
#include <optional>

struct UConverter;

// The Windows code page behind an RTF \fcharsetN; 0 when the charset names none, so that the
// document's \ansicpg applies.
int codePageOfCharset(int charset);

// Decodes the byte text of RTF, which is in Windows code pages (936 is GBK). Keeps one
// converter per code page for the life of a read; an unknown code page reads as 1252.
class CodePageDecoder
{
public:
    CodePageDecoder();
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder &) = delete;
    CodePageDecoder &operator=(const CodePageDecoder &) = delete;

    QString decode(const QByteArray &bytes, int codePage);

private:
    struct Closer
    {
        void operator()(UConverter *converter) const;
    };
    UConverter *converter(int codePage);

    std::map<int, std::unique_ptr<UConverter, Closer>> m_converters;
};

// The GBK bytes of `text`, or nothing when one of its characters has no GBK form.
std::optional<QByteArray> encodeGbkExactly(const QString &text);
