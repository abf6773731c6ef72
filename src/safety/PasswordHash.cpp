#include "safety/PasswordHash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <QByteArray>
#include <QStringList>

namespace {

const QString kScheme = QStringLiteral("pbkdf2-sha256");
constexpr int kIterations = 120000;
constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;

QByteArray derive(const QString &password, const QByteArray &salt, int iterations)
{
    const QByteArray utf8 = password.toUtf8();
    QByteArray hash(kHashBytes, Qt::Uninitialized);
    if (PKCS5_PBKDF2_HMAC(utf8.constData(), int(utf8.size()), reinterpret_cast<const unsigned char *>(salt.constData()),
                          int(salt.size()), iterations, EVP_sha256(), kHashBytes,
                          reinterpret_cast<unsigned char *>(hash.data()))
        != 1)
        return {};
    return hash;
}

} // namespace

QString hashPassword(const QString &password)
{
    if (password.isEmpty())
        return {};
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    RAND_bytes(reinterpret_cast<unsigned char *>(salt.data()), kSaltBytes);
    return QStringList{kScheme, QString::number(kIterations), QString::fromLatin1(salt.toBase64()),
                       QString::fromLatin1(derive(password, salt, kIterations).toBase64())}
        .join('$');
}

bool passwordMatches(const QString &stored, const QString &answer)
{
    const QStringList parts = stored.split('$');
    if (parts.size() != 4 || parts.at(0) != kScheme)
        return stored == answer;
    bool ok = false;
    const int iterations = parts.at(1).toInt(&ok);
    if (!ok || iterations <= 0)
        return false;
    const QByteArray expected = QByteArray::fromBase64(parts.at(3).toLatin1());
    const QByteArray actual = derive(answer, QByteArray::fromBase64(parts.at(2).toLatin1()), iterations);
    return actual.size() == expected.size() && !expected.isEmpty()
           && CRYPTO_memcmp(actual.constData(), expected.constData(), size_t(actual.size())) == 0;
}
