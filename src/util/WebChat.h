#pragma once

#include <QString>
#include <QUrl>

// The QQ web-chat page for a number and the name shown to the other side. The values are
// percent-encoded and the separators are single "&", so a name with "&" or "#" stays whole.
// An empty number gives an empty address: there is nobody to chat with.
QUrl webChatAddress(const QString &qqNumber, const QString &name);
