#include "widgets/ByteLimitedTextEdit.h"

#include "util/Gbk.h"

#include <QTextCursor>

ByteLimitedTextEdit::ByteLimitedTextEdit(int maxBytes, QWidget *parent)
    : QPlainTextEdit(parent)
    , m_maxBytes(maxBytes)
{
}

template<typename Change>
void ByteLimitedTextEdit::limited(Change change)
{
    const QString before = toPlainText();
    change();
    const QString after = toPlainText();
    const int bytes = gbkByteLength(after);
    if (bytes <= m_maxBytes || bytes <= gbkByteLength(before))
        return;

    // The inserted text is what lies between the parts the change left alone.
    qsizetype prefix = 0;
    const qsizetype shorter = std::min(before.size(), after.size());
    while (prefix < shorter && before.at(prefix) == after.at(prefix))
        ++prefix;
    if (prefix > 0 && after.at(prefix - 1).isHighSurrogate())
        --prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    if (suffix > 0 && after.at(after.size() - suffix).isLowSurrogate())
        --suffix;

    const QString inserted = after.mid(prefix, after.size() - prefix - suffix);
    const int kept = gbkByteLength(after.left(prefix)) + gbkByteLength(after.right(suffix));
    const QString fitting = gbkTruncate(inserted, std::max(0, m_maxBytes - kept));
    QTextCursor cursor(document());
    cursor.setPosition(int(prefix + fitting.size()));
    cursor.setPosition(int(prefix + inserted.size()), QTextCursor::KeepAnchor);
    cursor.joinPreviousEditBlock(); // the cut belongs to the user's change: one undo step
    cursor.removeSelectedText();
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void ByteLimitedTextEdit::keyPressEvent(QKeyEvent *event)
{
    limited([&] { QPlainTextEdit::keyPressEvent(event); });
}

void ByteLimitedTextEdit::inputMethodEvent(QInputMethodEvent *event)
{
    limited([&] { QPlainTextEdit::inputMethodEvent(event); });
}

void ByteLimitedTextEdit::insertFromMimeData(const QMimeData *source)
{
    limited([&] { QPlainTextEdit::insertFromMimeData(source); });
}
