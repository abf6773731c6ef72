#include "util/Gbk.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <algorithm>
#include <memory>

namespace {

struct ConverterCloser
{
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};

// ICU's own substitution skips the characters Unicode calls default-ignorable (zero-width
// space and joiner, soft hyphen, variation selectors, the byte-order mark): they would
// count nothing, and pass a limit unseen. Every character GBK lacks takes the substitute.
void substituteEveryUnmapped(const void *, UConverterFromUnicodeArgs *args, const UChar *, int32_t, UChar32,
                             UConverterCallbackReason reason, UErrorCode *status)
{
    if (reason > UCNV_IRREGULAR)
        return;
    *status = U_ZERO_ERROR;
    ucnv_cbFromUWriteSub(args, 0, status);
}

UConverter *gbkConverter()
{
    thread_local const std::unique_ptr<UConverter, ConverterCloser> converter = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<UConverter, ConverterCloser> opened(ucnv_open("GBK", &status));
        if (U_SUCCESS(status))
            ucnv_setSubstChars(opened.get(), "\xA1\xA1", 2, &status);
        if (U_SUCCESS(status))
            ucnv_setFromUCallBack(opened.get(), substituteEveryUnmapped, nullptr, nullptr, nullptr, &status);
        if (U_FAILURE(status))
            opened.reset();
        return opened;
    }();
    return converter.get();
}

qsizetype codePointLength(const QString &text, qsizetype at)
{
    const bool pair = text.at(at).isHighSurrogate() && at + 1 < text.size()
                      && text.at(at + 1).isLowSurrogate();
    return pair ? 2 : 1;
}

// Puts back what fits of an edit the validator refused. By the time this runs the edit has
// restored the text as it was before the change (`rejected` is the text the change would
// have given, `cursorAfter` the cursor behind the inserted text). Going through insert()
// keeps the undo history, which setting the text from inside the validator would clear.
void insertWhatFits(QLineEdit *edit, const QString &rejected, int cursorAfter, int maxBytes)
{
    const QString current = edit->text();
    const qsizetype tailLength = rejected.size() - cursorAfter;
    if (current == rejected || tailLength < 0 || tailLength > current.size()
        || !current.endsWith(QStringView(rejected).last(tailLength)))
        return; // not a refused change: the text was set over the limit by the program

    const qsizetype limit = std::min<qsizetype>(cursorAfter, current.size() - tailLength);
    qsizetype start = 0;
    while (start < limit && current.at(start) == rejected.at(start))
        ++start;
    if (start > 0 && current.at(start - 1).isHighSurrogate())
        --start;
    const qsizetype replacedLength = current.size() - tailLength - start;
    const int room = maxBytes - gbkByteLength(current)
                     + gbkByteLength(current.mid(start, replacedLength));
    const QString fitting = gbkTruncate(rejected.mid(start, cursorAfter - start), room);
    if (fitting.isEmpty())
        return;
    if (replacedLength > 0)
        edit->setSelection(int(start), int(replacedLength));
    else
        edit->setCursorPosition(int(start));
    edit->insert(fitting);
}

class GbkByteLimitValidator final : public QValidator
{
public:
    GbkByteLimitValidator(QLineEdit *edit, int maxBytes)
        : QValidator(edit), m_edit(edit), m_maxBytes(maxBytes)
    {
    }

    State validate(QString &input, int &pos) const override
    {
        if (gbkByteLength(input) <= m_maxBytes)
            return Acceptable;
        QMetaObject::invokeMethod(
            m_edit,
            [edit = m_edit, rejected = input, pos, maxBytes = m_maxBytes] {
                insertWhatFits(edit, rejected, pos, maxBytes);
            },
            Qt::QueuedConnection);
        return Invalid;
    }

private:
    QLineEdit *const m_edit;
    const int m_maxBytes;
};

} // namespace

QByteArray gbkEncode(const QString &text)
{
    UConverter *converter = gbkConverter();
    if (!converter || text.isEmpty())
        return {};
    // Two bytes per UTF-16 unit is the most GBK (with its two-byte substitute) ever needs.
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_fromUChars(converter, bytes.data(), int32_t(bytes.size()),
                        reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()), &status);
    if (U_FAILURE(status))
        return {};
    bytes.truncate(length);
    return bytes;
}

int gbkByteLength(const QString &text)
{
    return int(gbkEncode(text).size());
}

QString gbkTruncate(const QString &text, int maxBytes)
{
    int bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype length = codePointLength(text, end);
        bytes += gbkByteLength(text.mid(end, length));
        if (bytes > maxBytes)
            break;
        end += length;
    }
    return text.left(end);
}

void setGbkByteLimit(QLineEdit *edit, int maxBytes)
{
    edit->setValidator(new GbkByteLimitValidator(edit, maxBytes));
}

void setGbkByteLimit(QComboBox *combo, int maxBytes)
{
    if (QLineEdit *edit = combo->lineEdit())
        setGbkByteLimit(edit, maxBytes);
}

void setGbkByteLimit(QPlainTextEdit *textBox, int maxBytes)
{
    // Where the last change put its text: what goes beyond the limit is cut from there, so
    // text already in the box is never lost.
    auto inserted = std::make_shared<std::pair<int, int>>(0, 0);
    QObject::connect(textBox->document(), &QTextDocument::contentsChange, textBox,
                     [inserted](int from, int, int added) { *inserted = {from, added}; });
    QObject::connect(textBox, &QPlainTextEdit::textChanged, textBox, [textBox, maxBytes, inserted] {
        const QString text = textBox->toPlainText();
        if (gbkByteLength(text) <= maxBytes)
            return;
        const int from = std::clamp(inserted->first, 0, int(text.size()));
        const int end = std::clamp(from + inserted->second, from, int(text.size()));
        const int room = maxBytes - gbkByteLength(text.left(from)) - gbkByteLength(text.mid(end));
        const int keep = int(gbkTruncate(text.mid(from, end - from), std::max(room, 0)).size());
        QTextCursor cursor(textBox->document());
        cursor.setPosition(from + keep);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        textBox->setTextCursor(cursor);
    });
}
