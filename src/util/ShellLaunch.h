#pragma once

#include <QString>
#include <QUrl>

// Opens a document, folder or program with the desktop's default action. Whether it opened
// is not reported: callers have nothing to do about a failure.
void openWithDesktop(const QString &path);

// Opens a web address in the default browser. Values inside the address must already be
// percent-encoded (QUrl::toPercentEncoding) so that "&" or "#" in a keyword stays part of it.
void openInBrowser(const QUrl &address);
// For an address written as text: read tolerantly, so Chinese keywords and spaces are
// encoded and a missing "http://" is supplied. An empty or unreadable address opens nothing.
void openInBrowser(const QString &address);
