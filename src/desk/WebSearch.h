#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The keywords of the search box: split at every single space, so two spaces in a row give an
// empty keyword and a leading space an empty first one; a trailing space adds nothing.
QStringList splitKeywords(const QString &text);

// The search site's address with the keywords appended, joined by "+". Each keyword is
// percent-encoded, so "C++" or "a&b" are searched for as typed instead of changing the query.
// No keywords give the site's address unchanged.
QUrl searchAddress(const QString &siteAddress, const QString &keywordText);
