#pragma once

#include <QString>
#include <QUrl>

// Opens a document, folder or program with the desktop's default action. When the desktop
// has nothing to open it with, the user is told so; the result says whether it opened.
bool openWithDesktop(const QString &path);

// Opens a web address in the default browser. Values inside the address must already be
// percent-encoded (QUrl::toPercentEncoding) so that "&" or "#" in a keyword stays part of it.
// When no browser starts, the user is told so; the result says whether one did.
bool openInBrowser(const QUrl &address);
// For an address written as text: read tolerantly, so Chinese keywords and spaces are
// encoded and a missing "http://" is supplied. An empty or unreadable address opens nothing.
bool openInBrowser(const QString &address);
