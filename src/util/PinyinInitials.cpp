#include "util/PinyinInitials.h"

#include "util/Gbk.h"

#include <algorithm>
#include <iterator>

namespace {

struct InitialRange
{
    quint16 first;
    char initial;
};

// Level 1 of GB2312 is ordered by pinyin, so each letter owns one run of codes; a run ends
// where the next begins. No reading starts with I, U or V.
constexpr InitialRange kRanges[] = {
    {0xB0A1, 'A'}, {0xB0C5, 'B'}, {0xB2C1, 'C'}, {0xB4EE, 'D'}, {0xB6EA, 'E'}, {0xB7A2, 'F'},
    {0xB8C1, 'G'}, {0xB9FE, 'H'}, {0xBBF7, 'J'}, {0xBFA6, 'K'}, {0xC0AC, 'L'}, {0xC2E8, 'M'},
    {0xC4C3, 'N'}, {0xC5B6, 'O'}, {0xC5BE, 'P'}, {0xC6DA, 'Q'}, {0xC8BB, 'R'}, {0xC8F6, 'S'},
    {0xCBFA, 'T'}, {0xCDDA, 'W'}, {0xCEF4, 'X'}, {0xD1B9, 'Y'}, {0xD4D1, 'Z'},
};
constexpr quint16 kLastLevelOneCode = 0xD7F9;

} // namespace

QChar pinyinInitial(quint16 code)
{
    if (code < kRanges[0].first || code > kLastLevelOneCode)
        return QLatin1Char(' ');
    const auto next = std::upper_bound(std::begin(kRanges), std::end(kRanges), code,
                                       [](quint16 c, const InitialRange &r) { return c < r.first; });
    return QLatin1Char(std::prev(next)->initial);
}

QString pinyinInitials(const QString &text)
{
    const QByteArray bytes = gbkEncode(text);
    QString initials;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto lead = quint8(bytes.at(i));
        if (lead < 0x80) {
            initials += QLatin1Char(char(lead));
            continue;
        }
        const quint8 trail = i + 1 < bytes.size() ? quint8(bytes.at(++i)) : 0;
        initials += pinyinInitial(quint16(lead << 8 | trail));
    }
    return initials;
}
