#include "util/AmountCapitals.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {

const QString kZero = QStringLiteral("零");
const QString kYuan = QStringLiteral("圆");
// 万亿, the largest unit: ten trillion yuan and more cannot be written with these units.
constexpr int kLastUnitPosition = 16;

QString digitWord(QChar digit)
{
    static const QString words = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    return words.at(digit.digitValue());
}

// The amount without sign as "<integer digits>.<two digits>", rounded half up at the third
// decimal. Done on the digits themselves: going through a double would turn 0.125 into
// 0.12 and lose the last fen of large amounts.
QString formatFen(const QString &integerDigits, QString fractionDigits)
{
    fractionDigits = fractionDigits.leftJustified(3, QLatin1Char('0'));
    QString digits = integerDigits + fractionDigits.left(2);
    if (fractionDigits.at(2) >= QLatin1Char('5')) {
        qsizetype i = digits.size() - 1;
        for (; i >= 0 && digits.at(i) == QLatin1Char('9'); --i)
            digits[i] = QLatin1Char('0');
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
        else
            digits[i] = QChar(digits.at(i).unicode() + 1);
    }
    QString integer = digits.chopped(2);
    while (integer.size() > 1 && integer.startsWith(QLatin1Char('0')))
        integer.remove(0, 1);
    if (integer.isEmpty())
        integer = QStringLiteral("0");
    return integer + QLatin1Char('.') + digits.right(2);
}

bool isSilent(const std::vector<QString> &texts, int from, int to)
{
    for (int p = from; p <= to; ++p) {
        if (!texts[p].isEmpty() && texts[p] != kZero)
            return false;
    }
    return true;
}

// The unit of a non-zero digit at position p (counted from the right of "…0.00", the point
// being 3). A digit above the group's first position names the group (万, 亿) itself when
// the positions below it in the group produced nothing, so each group is named once.
QString unitAt(int p, const std::vector<QString> &texts)
{
    switch (p) {
    case 5: return QStringLiteral("拾");
    case 6: return QStringLiteral("佰");
    case 7: return QStringLiteral("仟");
    case 8: return QStringLiteral("万");
    case 9: return isSilent(texts, 8, 8) ? QStringLiteral("拾万") : QStringLiteral("拾");
    case 10: return isSilent(texts, 8, 9) ? QStringLiteral("佰万") : QStringLiteral("佰");
    case 11: return isSilent(texts, 8, 10) ? QStringLiteral("仟万") : QStringLiteral("仟");
    case 12: return QStringLiteral("亿");
    case 13: return isSilent(texts, 12, 12) ? QStringLiteral("拾亿") : QStringLiteral("拾");
    case 14: return isSilent(texts, 12, 13) ? QStringLiteral("佰亿") : QStringLiteral("佰");
    case 15: return isSilent(texts, 12, 14) ? QStringLiteral("仟亿") : QStringLiteral("仟");
    case 16: return isSilent(texts, 13, 15) ? QStringLiteral("万亿") : QStringLiteral("万");
    default: return {};
    }
}

QString textAt(int p, QChar c, const std::vector<QString> &texts)
{
    if (p == 3)
        return kYuan;
    const QString word = digitWord(c);
    const bool zero = word == kZero;
    switch (p) {
    case 1: return zero ? QString() : word + QStringLiteral("分");
    case 2: return zero ? (texts[1].isEmpty() ? QString() : kZero) : word + QStringLiteral("角");
    case 4: return zero ? QString() : word;
    default:
        if (zero)
            return isSilent(texts, p - 1, p - 1) ? QString() : kZero;
        return word + unitAt(p, texts);
    }
}

// The digits and the count of decimals of an unsigned decimal number; false for other text.
bool splitDecimal(const QString &text, QString *digits, int *decimals)
{
    static const QRegularExpression number(QStringLiteral("^([0-9]*)(?:\\.([0-9]*))?$"));
    const QRegularExpressionMatch match = number.match(text.trimmed());
    if (!match.hasMatch() || match.captured(1).size() + match.captured(2).size() == 0)
        return false;
    *digits = match.captured(1) + match.captured(2);
    *decimals = int(match.captured(2).size());
    return true;
}

} // namespace

QString decimalProduct(const QString &left, const QString &right, int shift)
{
    QString a, b;
    int aDecimals = 0, bDecimals = 0;
    if (!splitDecimal(left, &a, &aDecimals) || !splitDecimal(right, &b, &bDecimals))
        return {};
    std::vector<int> product(a.size() + b.size(), 0);
    for (qsizetype i = a.size() - 1; i >= 0; --i) {
        for (qsizetype j = b.size() - 1; j >= 0; --j)
            product[i + j + 1] += a.at(i).digitValue() * b.at(j).digitValue();
    }
    for (qsizetype k = qsizetype(product.size()) - 1; k > 0; --k) {
        product[k - 1] += product[k] / 10;
        product[k] %= 10;
    }
    QString digits;
    for (const int d : product)
        digits += QChar(u'0' + d);
    const int decimals = aDecimals + bDecimals + shift;
    if (digits.size() <= decimals)
        digits = digits.rightJustified(decimals + 1, QLatin1Char('0'));
    QString integer = digits.left(digits.size() - decimals);
    while (integer.size() > 1 && integer.startsWith(QLatin1Char('0')))
        integer.remove(0, 1);
    return decimals > 0 ? integer + QLatin1Char('.') + digits.right(decimals) : integer;
}

QString roundedToFen(const QString &decimal)
{
    QString digits;
    int decimals = 0;
    if (!splitDecimal(decimal, &digits, &decimals))
        return {};
    return formatFen(digits.chopped(decimals), digits.right(decimals));
}

QString normaliseAmountText(const QString &text)
{
    QString cleaned;
    for (const QChar c : text) {
        if (!c.isSpace())
            cleaned += c;
    }
    if (cleaned == QLatin1String(".") || cleaned == QLatin1String(".0"))
        return QStringLiteral("0.0");
    if (cleaned.endsWith(QLatin1Char('.')))
        cleaned.chop(1);
    return cleaned.isEmpty() ? QStringLiteral("0") : cleaned;
}

QString amountInCapitals(const QString &amount)
{
    static const QRegularExpression number(
        QStringLiteral("^([+-]?)(?:([0-9]+)(?:\\.([0-9]*))?|\\.([0-9]+))$"));
    const QRegularExpressionMatch match = number.match(amount.trimmed());
    if (!match.hasMatch())
        return {};
    const QString integerDigits = match.captured(2);
    const QString fractionDigits = integerDigits.isEmpty() ? match.captured(4) : match.captured(3);
    const auto nonZero = [](QChar c) { return c != QLatin1Char('0'); };
    const bool negative = match.captured(1) == QLatin1String("-")
                          && (std::any_of(integerDigits.begin(), integerDigits.end(), nonZero)
                              || std::any_of(fractionDigits.begin(), fractionDigits.end(), nonZero));

    const QString formatted = formatFen(integerDigits, fractionDigits);
    const int length = int(formatted.size());
    if (length > kLastUnitPosition)
        return {};
    std::vector<QString> texts(length + 1);
    QString capitals;
    for (int p = 1; p <= length; ++p) {
        texts[p] = textAt(p, formatted.at(length - p), texts);
        capitals.prepend(texts[p]);
    }
    // Below one yuan nothing stands before the point's 圆; start at the first amount instead.
    if (capitals.startsWith(kYuan)) {
        capitals.remove(0, kYuan.size());
        if (capitals.startsWith(kZero))
            capitals.remove(0, kZero.size());
        if (capitals.isEmpty())
            capitals = kZero + kYuan;
    }
    return negative ? QStringLiteral("欠") + capitals : capitals;
}
