#include "document/rtf/RtfEncoding.h"

#include <unicode/ucnv.h>

#include <initializer_list>

namespace {

constexpr int kFallbackCodePage = 1252;

UConverter *openConverter(const QByteArray &name)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open(name.constData(), &status);
    if (U_FAILURE(status)) {
        ucnv_close(converter);
        return nullptr;
    }
    return converter;
}

// ICU knows the Windows code pages as "windows-N", the DOS ones as "ibm-N".
UConverter *openCodePage(int codePage)
{
    if (codePage == 10000)
        return openConverter("macintosh");
    const QByteArray number = QByteArray::number(codePage);
    for (const char *prefix : {"windows-", "ibm-", "cp"}) {
        if (UConverter *converter = openConverter(prefix + number))
            return converter;
    }
    return nullptr;
}

} // namespace

int codePageOfCharset(int charset)
{
    static const std::map<int, int> codePages = {
        {0, 1252},   {2, 1252},   {77, 10000}, {128, 932},  {129, 949},  {130, 1361},
        {134, 936},  {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255},
        {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {254, 437},
        {255, 850},
    };
    const auto found = codePages.find(charset);
    return found == codePages.end() ? 0 : found->second;
}

CodePageDecoder::CodePageDecoder() = default;
CodePageDecoder::~CodePageDecoder() = default;

void CodePageDecoder::Closer::operator()(UConverter *converter) const
{
    ucnv_close(converter);
}

UConverter *CodePageDecoder::converter(int codePage)
{
    auto found = m_converters.find(codePage);
    if (found == m_converters.end()) {
        UConverter *opened = openCodePage(codePage);
        if (!opened)
            opened = openCodePage(kFallbackCodePage);
        found = m_converters.emplace(codePage, opened).first;
    }
    return found->second.get();
}

QString CodePageDecoder::decode(const QByteArray &bytes, int codePage)
{
    UConverter *decoder = converter(codePage);
    if (!decoder)
        return QString::fromLatin1(bytes);
    // A byte never gives more than two UTF-16 units.
    QString text(bytes.size() * 2, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(decoder, reinterpret_cast<UChar *>(text.data()),
                                         int32_t(text.size()), bytes.constData(),
                                         int32_t(bytes.size()), &status);
    if (U_FAILURE(status))
        return QString::fromLatin1(bytes);
    text.truncate(length);
    return text;
}

std::optional<QByteArray> encodeGbkExactly(const QString &text)
{
    UConverter *encoder = openConverter("GBK");
    if (!encoder)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(encoder, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    QByteArray bytes(text.size() * 2 + 1, Qt::Uninitialized);
    const int32_t length = ucnv_fromUChars(encoder, bytes.data(), int32_t(bytes.size()),
                                           reinterpret_cast<const UChar *>(text.constData()),
                                           int32_t(text.size()), &status);
    ucnv_close(encoder);
    if (U_FAILURE(status))
        return std::nullopt;
    bytes.truncate(length);
    return bytes;
}
