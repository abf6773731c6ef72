#include "util/SearchText.h"

#include <QChar>

namespace searchtext {

char16_t fold(char16_t unit)
{
    if (unit >= 0xFF01 && unit <= 0xFF5E)
        unit = char16_t(unit - 0xFEE0);
    else if (unit == 0x3000)
        unit = u' ';
    if (QChar::isSurrogate(unit))
        return unit;
    return char16_t(QChar::toCaseFolded(char32_t(unit)));
}

QString fold(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded)
        c = QChar(fold(c.unicode()));
    return folded;
}

CharClass classOf(char32_t folded)
{
    switch (QChar::category(folded)) {
    case QChar::Letter_Other:
        return CharClass::Ideograph;
    case QChar::Number_DecimalDigit:
        return CharClass::Digit;
    case QChar::Letter_Lowercase:
    case QChar::Letter_Uppercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
        return CharClass::Cased;
    default:
        return CharClass::Separator;
    }
}

namespace {

// The class of the character starting at `i`, and how many UTF-16 units it takes.
CharClass classAt(const QString &folded, qsizetype i, qsizetype *width)
{
    char32_t c = folded.at(i).unicode();
    *width = 1;
    if (QChar::isHighSurrogate(c) && i + 1 < folded.size() && folded.at(i + 1).isLowSurrogate()) {
        c = QChar::surrogateToUcs4(folded.at(i), folded.at(i + 1));
        *width = 2;
    }
    return classOf(c);
}

} // namespace

QList<Run> queryRuns(const QString &query)
{
    const QString folded = fold(query);
    QList<Run> runs;
    qsizetype i = 0;
    while (i < folded.size()) {
        qsizetype width;
        const CharClass cls = classAt(folded, i, &width);
        if (cls == CharClass::Separator) {
            i += width;
            continue;
        }
        const qsizetype start = i;
        i += width;
        while (i < folded.size() && classAt(folded, i, &width) == cls)
            i += width;
        const Run run{folded.mid(start, i - start), cls == CharClass::Cased ? RunKind::WordStart : RunKind::Substring};
        if (!runs.contains(run))
            runs.append(run);
    }
    return runs;
}

qsizetype findRun(const QString &folded, const Run &run, qsizetype from)
{
    if (run.text.isEmpty())
        return -1;
    for (qsizetype at = folded.indexOf(run.text, from); at >= 0; at = folded.indexOf(run.text, at + 1)) {
        if (run.kind == RunKind::Substring)
            return at;
        // A word run starts a word: the character before it is not a cased letter.
        if (at == 0)
            return at;
        qsizetype width;
        const qsizetype before = at >= 2 && folded.at(at - 1).isLowSurrogate() ? at - 2 : at - 1;
        if (classAt(folded, before, &width) != CharClass::Cased)
            return at;
    }
    return -1;
}

QString matchExpression(const QList<Run> &runs)
{
    QStringList terms;
    for (const Run &run : runs) {
        if (run.kind == RunKind::WordStart)
            terms.append(QStringLiteral("\"%1*\"").arg(run.text));
        else if (run.text.size() == 1 || (run.text.size() == 2 && run.text.at(0).isHighSurrogate()))
            terms.append(QStringLiteral("\"%1%2*\"").arg(run.text, QChar(kOpenEnd)));
        else
            terms.append(QStringLiteral("\"%1%2\"").arg(run.text, QChar(kOpenEnd)));
    }
    return terms.join(QLatin1Char(' '));
}

} // namespace searchtext
