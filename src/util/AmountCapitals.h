#pragma once

#include <QString>

// Cleans the text of the masked amount box: blanks removed, a bare point read as zero, a
// trailing point dropped. "            .  " gives "0.0", "1 2 3.  " gives "123".
QString normaliseAmountText(const QString &text);

// The amount in Chinese capital numerals as written on cheques and invoices, rounded half up
// to fen: 20304.07 gives 贰万零叁佰零肆圆零柒分, -25.3 gives 欠贰拾伍圆叁角. Amounts below one
// yuan start with their first non-zero unit (0.05 gives 伍分, 0 gives 零圆). `amount` is a
// decimal number with "." as the point and an optional sign. Any other text, and amounts of
// ten trillion (10^13) yuan and more, which the units end before, give an empty result.
QString amountInCapitals(const QString &amount);

// The exact product of two unsigned decimal numbers with "." as the point, the point then
// moved `shift` places further left (2 takes a percentage): "1.5" and "0.99" give "1.485".
// Money is worked out on the digits, as binary doubles would round a half fen either way.
// Text that is no such number gives an empty result.
QString decimalProduct(const QString &left, const QString &right, int shift = 0);

// An unsigned decimal number rounded half up (四舍五入) to fen, as "<integer>.<two digits>":
// "2.295" gives "2.30", ".5" gives "0.50". Text that is no such number gives an empty result.
QString roundedToFen(const QString &decimal);
