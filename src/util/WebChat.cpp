#include "util/WebChat.h"

QUrl webChatAddress(const QString &qqNumber, const QString &name)
{
    const QString number = qqNumber.trimmed();
    if (number.isEmpty())
        return {};
    QUrl address(QStringLiteral("http://wpa.qq.com/msgrd"));
    // Encoded by hand: QUrlQuery would leave a "+" or "&" in a name open to misreading.
    const auto encode = [](const QString &value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); };
    address.setQuery(QStringLiteral("V=1&Uin=%1&Site=%2&Menu=yes").arg(encode(number), encode(name)),
                     QUrl::StrictMode);
    return address;
}
