#pragma once

#include <QByteArray>
#include <QString>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// Field widths of the database and of the printed forms are counted in GBK bytes: one byte
// for ASCII, two for a Chinese character. A character GBK cannot encode (an emoji, a rare
// character outside GBK, a lone surrogate) is written as the two-byte ideographic space
// A1A1, so it counts two bytes and never shrinks a limit.
QByteArray gbkEncode(const QString &text);
int gbkByteLength(const QString &text);

// The longest start of `text` that fits in `maxBytes` GBK bytes; never ends inside a
// character or between the halves of a surrogate pair.
QString gbkTruncate(const QString &text, int maxBytes);

// Limits what the user can put into `edit` to `maxBytes` GBK bytes: a key that would go
// beyond the limit is refused, and a paste or a drop is cut to what still fits, on a
// character boundary. The cut text is one undo step. Replaces the edit's validator. Text
// set by the program (setText) is not checked.
void setGbkByteLimit(QLineEdit *edit, int maxBytes);
// The same for the line edit of an editable combo box; a non-editable one has nothing to limit.
void setGbkByteLimit(QComboBox *combo, int maxBytes);
// The same for a multi-line box: typing or pasting beyond the limit is cut back to what fits,
// on a character boundary, with the cursor at the end of what is kept.
void setGbkByteLimit(QPlainTextEdit *textBox, int maxBytes);
