#include "desk/WebSearch.h"

QStringList splitKeywords(const QString &text)
{
    QStringList keywords = text.split(QLatin1Char(' '));
    if (keywords.constLast().isEmpty())
        keywords.removeLast();
    return keywords;
}

QUrl searchAddress(const QString &siteAddress, const QString &keywordText)
{
    QStringList encoded;
    for (const QString &keyword : splitKeywords(keywordText))
        encoded.append(QString::fromLatin1(QUrl::toPercentEncoding(keyword)));
    return QUrl::fromUserInput(siteAddress.trimmed() + encoded.join(QLatin1Char('+')));
}
