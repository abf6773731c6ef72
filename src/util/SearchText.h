#pragma once

#include <QList>
#include <QString>

// How text is cut into searchable pieces, shared by the full-text index, the query it is asked
// and the highlighting of what was found, so that the three always agree.
//
// Text is folded character by character (full-width letters, digits and signs to their ASCII
// forms, the ideographic space to a space, letters to lower case) and cut into runs:
//   - ideographs and other letters without case (Chinese, Japanese, Korean) and digits are
//     searched as substrings, since Chinese has no spaces between its words and a phone
//     number is found by any part of it;
//   - words of cased letters (Latin, Greek, Cyrillic) are found by their beginning;
//   - everything else (spaces, punctuation, %, _, quotes, backslashes) separates runs.
namespace searchtext {

enum class RunKind { Substring, WordStart };

struct Run
{
    QString text; // folded
    RunKind kind = RunKind::Substring;
    bool operator==(const Run &other) const = default;
};

// One UTF-16 unit folded as above. Folding never changes the length, so a position in the
// folded text is a position in the original.
char16_t fold(char16_t unit);
QString fold(const QString &text);

// The runs of a query, each once, in the order typed. Every run must match for a result.
QList<Run> queryRuns(const QString &query);

// The position in `folded` (a text folded by fold()) where `run` matches first at or after
// `from`, or -1: a substring run anywhere inside a run of the same kind of characters, a word
// run at the start of a word. The caller folds once for all the runs it looks for.
qsizetype findRun(const QString &folded, const Run &run, qsizetype from = 0);

// The full-text expression that finds the rows matching every run, for the index's own
// tokenizer; empty when the query has no run.
QString matchExpression(const QList<Run> &runs);

// The character the query gives after the last character of a substring run, so that the
// tokenizer reads it as open-ended (the text may go on) rather than as the end of a run. A
// noncharacter, which no text a user stores may hold.
inline constexpr char16_t kOpenEnd = 0xFDD0;

// The kind of run a folded character belongs to.
enum class CharClass { Separator, Ideograph, Digit, Cased };
CharClass classOf(char32_t folded);

} // namespace searchtext
